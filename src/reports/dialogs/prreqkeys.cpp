#include "prreqkeys.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>

#include "school/session.h"
#include "data/file.h"
#include "data/workspace.h"
#include "printer/rv_prn_dlg.h"
#include "widgets/lmd_dialog.h"

namespace velmont::reports {
namespace {

using widgets::LmdDialog;

// The position in the field list of the field holding `w`, -1 for none.
int fieldPosition(const LmdDialog* dialog, const QWidget* w) {
  const auto& fields = dialog->fields();
  for (size_t i = 0; i < fields.size(); ++i)
    if (w && (fields[i] == w || fields[i]->isAncestorOf(w))) return int(i);
  return -1;
}

bool acceptsFocus(const QWidget* w) {
  return w->isEnabled() && w->isVisible() && (w->focusPolicy() & Qt::TabFocus);
}

// Gives the focus to the next (step 1) or previous (step -1) field after
// `from` that accepts it, wrapping around; false when there is none.
void moveFocus(const LmdDialog* dialog, int from, int step) {
  const auto& fields = dialog->fields();
  const int n = int(fields.size());
  for (int k = 1; k < n; ++k) {
    QWidget* w = fields[size_t(((from + step * k) % n + n) % n)];
    if (acceptsFocus(w)) {
      w->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

// Moves forward only, stopping at the end of the list.
void focusNextField(const LmdDialog* dialog, int from) {
  const auto& fields = dialog->fields();
  for (size_t i = size_t(from) + 1; i < fields.size(); ++i)
    if (acceptsFocus(fields[i])) {
      fields[i]->setFocus(Qt::TabFocusReason);
      return;
    }
}

bool dropDownOpen(const LmdDialog* dialog) {
  for (const QComboBox* combo : dialog->findChildren<QComboBox*>())
    if (combo->view() && combo->view()->isVisible()) return true;
  return false;
}

QString asciiFile(const ReportKeys& keys) {
  return keys.session ? QString::fromStdString(keys.session->get(&school::SessionValues::prAscii)) : QString();
}

void changePrinter(ReportKeys& keys) {
  if (keys.messageDisplay) keys.messageDisplay->setText(QStringLiteral("Loading..."));
  QString current = keys.printerName ? *keys.printerName : QString();
  if (keys.session) {
    printer::PrnDlgOptions options;
    options.prompt = QStringLiteral("Choose Printer for Report:");
    options.focus = 1;
    options.currentPrinter = current;
    options.owner = keys.dialog;
    const printer::PrtSettings answer = printer::RVPrnDlg(*keys.session, options);
    // An empty or blank answer ("Cancel", or no printer chosen) keeps the printer.
    const QString chosen = answer[printer::kPrtDeviceName].trimmed();
    if (!chosen.isEmpty()) {
      current = chosen;
      // The copies, duplex, paper and colour chosen go with the printer to the run.
      if (keys.printerSettings) keys.printerSettings->assign(answer.begin(), answer.begin() + printer::kPrtDeviceName);
    }
  }
  if (keys.printerName) *keys.printerName = current;
  if (keys.messageDisplay) keys.messageDisplay->setText(QStringLiteral(" "));
  if (keys.printerList && !current.isEmpty()) {
    int index = keys.printerList->findText(current);
    if (index < 0) {
      keys.printerList->addItem(current);
      index = keys.printerList->count() - 1;
    }
    keys.printerList->setCurrentIndex(index);
  }
  // The display always tells where the next run goes, also when only the
  // plain-text file was set or cleared.
  if (keys.printerDisplay && !current.isEmpty())
    keys.printerDisplay->setText(printerDisplayText(current, asciiFile(keys)));
}

void closeDialog(ReportKeys& keys) {
  if (dropDownOpen(keys.dialog)) return;
  if (keys.mayClose && !keys.mayClose()) {
    if (keys.stopRun) keys.stopRun();
    return;
  }
  if (keys.closed) keys.closed();
  keys.dialog->reject();
  data::Workspace& ws = data::Workspace::forThisThread();
  ws.closeAll();
  ws.select(1);
}

}  // namespace

QString printerDisplayText(const QString& printerName, const QString& prAscii) {
  const QString file = prAscii.trimmed();
  if (file.isEmpty()) return printerName;
  return file.contains('.') ? file : file + QStringLiteral(".PRN");
}

std::string textFilePath(const std::string& prAscii, const std::string& dataDir) {
  const QString shown = printerDisplayText(QString(), QString::fromStdString(prAscii));
  if (shown.isEmpty()) return std::string();
  const std::string file = shown.toStdString();
  if (data::fsPath(file).has_parent_path()) return file;
  return data::pathIn(dataDir, file);
}

bool PRREQKEYS(int key, QWidget* field, ReportKeys& keys) {
  if (!keys.dialog) return false;
  const int position = fieldPosition(keys.dialog, field);
  switch (key) {
    case Qt::Key_F4:
      keys.lPreview = false;
      if (keys.print) keys.print();
      return true;
    case Qt::Key_F5:
      keys.lPreview = true;
      if (keys.preview) keys.preview();
      return true;
    case Qt::Key_F6:
      changePrinter(keys);
      return true;
    case Qt::Key_Escape:
      closeDialog(keys);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (position < 0) return false;
      if (position == int(keys.dialog->fields().size()) - 1)
        QCoreApplication::postEvent(keys.dialog, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
      else
        focusNextField(keys.dialog, position);
      return true;
    case Qt::Key_Down:
    case Qt::Key_Up:
      if (position < 0) return false;
      moveFocus(keys.dialog, position, key == Qt::Key_Down ? 1 : -1);
      return true;
    default:
      return false;
  }
}

}  // namespace velmont::reports
