#include "find_win_prn.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QTimer>
#include <QPrinter>

#include "print/painter_device.h"
#include "print/print_device.h"

namespace velmont::printer {
namespace {

SystemPrintDialog& hook() {
  static SystemPrintDialog dialog;
  return dialog;
}

}  // namespace

PrtSettings settingsOf(const QPrinter& p) {
  PrtSettings s;
  s[0] = QString::number(p.copyCount());
  s[1] = QString::number(p.pageLayout().orientation() == QPageLayout::Landscape ? print::kLandscape
                                                                               : print::kPortrait);
  // The tray and resolution chosen among the printer's own options are the
  // spooler's: its tray name ("Tray2") and its resolution ("600dpi").
  const QString tray = print::spoolerOption(p, QStringLiteral("InputSlot"));
  s[2] = tray.isEmpty() ? QString::number(int(p.paperSource())) : tray;
  const QString dpi = print::spoolerOption(p, QStringLiteral("Resolution"));
  s[3] = dpi.isEmpty() ? QString::number(p.resolution()) : QString(dpi).remove(QStringLiteral("dpi"));
  s[4] = p.collateCopies() ? "1" : "0";
  s[5] = QString::number(int(p.colorMode()));
  s[6] = QString::number(int(p.duplex()));
  s[7] = p.fontEmbeddingEnabled() ? "1" : "0";
  s[8] = print::paperSizeSetting(p.pageLayout().pageSize());
  s[9] = p.outputFileName();
  // Printing to a file through the dialog's own PDF writer has no printer name:
  // our page printer's PDF device is the same thing.
  s[kPrtDeviceName] = p.printerName().isEmpty() && p.outputFormat() == QPrinter::PdfFormat
                          ? print::kPdfDeviceName
                          : p.printerName();
  return s;
}

std::optional<PrtSettings> showSystemPrintDialog(QWidget* owner) {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, owner);
  // Here the dialog chooses a printer and its settings; nothing prints yet.
  // Its own file output would be a second, unused way to a file (the report's
  // PDF is saved where the report asks), so it is not offered.
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  dialog.setWindowTitle(QStringLiteral("Select Printer"));
  // The button that confirms says what it does: the printer is selected.
  auto relabel = [&dialog] {
    for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>())
      if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("&Select"));
  };
  relabel();
  QTimer::singleShot(0, &dialog, relabel);  // again once shown: the dialog names its button on showing
  // The printer is chosen here for whole reports: which pages to print is the
  // preview's choice (its page list and range), so the dialog offers none.
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return settingsOf(printer);
}

void setSystemPrintDialog(SystemPrintDialog dialog) { hook() = std::move(dialog); }

bool FIND_WIN_PRN(PrtSettings& aPrtSettings, QWidget* owner) {
  const SystemPrintDialog& dialog = hook();
  if (std::optional<PrtSettings> chosen = dialog ? dialog(owner) : showSystemPrintDialog(owner))
    aPrtSettings = *chosen;
  return true;
}

}  // namespace velmont::printer
