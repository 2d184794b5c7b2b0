#pragma once
// RVPrnDlg: the printer choice and settings dialog. "Select Printer" chooses
// the device through the system print dialog (FIND_WIN_PRN); the dialog edits
// the extra top margin, the logo height and the watermark that every report
// shares (saved to the school's tables when confirmed), and the plain-text
// output file and its headings option (the session values C_Pr_Ascii and
// C_Hd_Ascii).
#include <QString>

#include "find_win_prn.h"
#include "widgets/look.h"

class QWidget;

namespace velmont::school {
class Session;
}
namespace velmont::widgets {
class LmdDialog;
}

namespace velmont::printer {

// The dialog's arguments; empty texts take the defaults shown.
struct PrnDlgOptions {
  QString prompt;              // shown in the band at the top; "Choose Printer:"
  int focus = 0;               // 0: the focus starts on "OK", else on the first field
  QString currentPrinter;      // shown beside "Select Printer" until one is chosen
  QString title;               // "  Printers"
  widgets::ColourPair colours; // text and background of the dialog and its band
  QString font;                // "10.MS Sans Serif"
  QString style;               // "raised"; "recessed" gives the dialog a sunken border
  QWidget* owner = nullptr;    // the window the dialog is modal over (focus returns to it)
};

// Runs the dialog (GUI thread) and answers aPrtSettings: all empty unless
// "Select Printer" chose a printer, whose device name is then element 11
// (PrtSettings[kPrtDeviceName]). "Cancel" answers element 11 as " "; ESC
// answers what was chosen. Only "OK" and Enter on the last field save: the
// margin and logo height to control record 3, the watermark to letterhead
// record 6 (tables that exist, under record locks), and C_Pr_Ascii and
// C_Hd_Ascii. A save that fails is told and the dialog stays open.
PrtSettings RVPrnDlg(school::Session& session, const PrnDlgOptions& options = {});

// G2KEYS: the dialog's key handler. `field` is the position (1 to 5) of the
// field with the focus, 0 for none. ESC sets lExit; Enter or Page Down moves
// from field n to n + 1 and on field 5 sets lOk and lExit; Down and Up move to
// the next or previous field, wrapping between 5 and 1. True when the key was
// dealt with; other keys are left to the field.
bool G2KEYS(int key, int field, widgets::LmdDialog* dialog, bool& lExit, bool& lOk);

}  // namespace velmont::printer
