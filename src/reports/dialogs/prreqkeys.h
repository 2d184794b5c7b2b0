#pragma once
// PRREQKEYS: the key handler that the report options dialogs share.
//
// A report dialog keeps one ReportKeys for its lifetime, fills in what it has,
// and passes every key to PRREQKEYS from its LmdDialog key handler:
//
//   keys.dialog = dlg; keys.session = &session;
//   keys.printerDisplay = printerLabel; keys.messageDisplay = statusLabel;
//   keys.printerName = &cPrinter;
//   keys.print = [&] { startRun(false); };    // F4
//   keys.preview = [&] { startRun(true); };   // F5
//   dlg->setKeyHandler([&](int key, QWidget* field) { return PRREQKEYS(key, field, keys); });
//   // the "ESC=Quit" button: [&] { PRREQKEYS(Qt::Key_Escape, dlg->focusWidget(), keys); }
//
// What each key does (true is returned for every key dealt with here):
// - F4: lPreview := false, then `print` is called. F5: lPreview := true, then
//   `preview` is called. The callback starts the run; the dialog stays open.
// - F6: the message display shows "Loading...", the printer dialog RVPrnDlg
//   opens over the report dialog with the prompt "Choose Printer for Report:"
//   and the current printer; when it answers a device name, *printerName takes
//   it (a blank answer, as after "Cancel", keeps the printer as it was), with
//   its job settings in *printerSettings, and `printerList` selects it when given. The message display is cleared and
//   the printer display shows where the report will go: the plain-text file
//   C_Pr_Ascii when one is set (with ".PRN" added when it has no dot), else
//   the printer's name.
// - ESC: unless a field's drop-down list is open, or `mayClose` says no (a run
//   still working), the dialog is closed (reject) and the GUI thread's tables
//   are closed; `closed` is called first, so the report may release its own.
//   When `mayClose` says no, `stopRun` is called instead (it asks whether to
//   stop the run) and the dialog stays.
// - Enter (Return or keypad Enter) on a field: to the next field that accepts
//   the focus; on the last field a Tab is posted to the dialog instead.
// - Down / Up on a field: next / previous field that accepts the focus,
//   wrapping around from the last to the first and from the first to the last.
// Other keys, and Enter or arrows pressed outside the field list, are left to
// the dialog and the widget (false is returned).
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QWidget;

namespace velmont::school {
class Session;
}
namespace velmont::widgets {
class LmdDialog;
}

namespace velmont::reports {

struct ReportKeys {
  widgets::LmdDialog* dialog = nullptr;  // the report's options dialog
  school::Session* session = nullptr;       // C_Pr_Ascii and the data directory
  QLabel* printerDisplay = nullptr;      // the "Printer:" line's name text (optional)
  QLabel* messageDisplay = nullptr;      // the status box text (optional)
  QComboBox* printerList = nullptr;      // a printer drop-down to keep in step (optional)
  QString* printerName = nullptr;        // cPrinter, updated by F6
  // The job settings of the printer chosen with F6 (copies ... print file, the
  // first ten of the printer dialog's answer), for the run (optional).
  std::vector<QString>* printerSettings = nullptr;
  bool lPreview = false;                 // set by F4 (false) and F5 (true)

  std::function<void()> print;           // F4
  std::function<void()> preview;         // F5
  std::function<bool()> mayClose;        // ESC: false keeps the dialog open (optional)
  std::function<void()> stopRun;         // ESC when mayClose said no: asks whether to stop the run (optional)
  std::function<void()> closed;          // ESC: just before the dialog closes (optional)
};

// Handles one key of a report options dialog; `field` is the widget with the
// focus (null when the key did not come from a field). True when handled.
bool PRREQKEYS(int key, QWidget* field, ReportKeys& keys);

// The text the printer display shows for a printer and a plain-text file name:
// the file (".PRN" added when it holds no dot) when `prAscii` is not blank,
// else the printer name.
QString printerDisplayText(const QString& printerName, const QString& prAscii);

// The plain-text file a run writes for the text file name `prAscii`: the name
// the printer display shows, in `dataDir` when it names no folder; "" when
// `prAscii` is blank (the run prints on the device).
std::string textFilePath(const std::string& prAscii, const std::string& dataDir);

}  // namespace velmont::reports
