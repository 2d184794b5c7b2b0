#include "find_win_prn.h"

#include <QPrintDialog>
#include <QPrinter>

#include "print/print_device.h"

namespace velmont::printer {
namespace {

SystemPrintDialog& hook() {
  static SystemPrintDialog dialog;
  return dialog;
}

PrtSettings settingsOf(const QPrinter& p) {
  PrtSettings s;
  s[0] = QString::number(p.copyCount());
  s[1] = QString::number(p.pageLayout().orientation() == QPageLayout::Landscape ? print::kLandscape
                                                                               : print::kPortrait);
  s[2] = QString::number(int(p.paperSource()));
  s[3] = QString::number(p.resolution());
  s[4] = p.collateCopies() ? "1" : "0";
  s[5] = QString::number(int(p.colorMode()));
  s[6] = QString::number(int(p.duplex()));
  s[7] = p.fontEmbeddingEnabled() ? "1" : "0";
  s[8] = p.pageLayout().pageSize().name();
  s[9] = p.outputFileName();
  // Printing to a file through the dialog's own PDF writer has no printer name:
  // our page printer's PDF device is the same thing.
  s[kPrtDeviceName] = p.printerName().isEmpty() && p.outputFormat() == QPrinter::PdfFormat
                          ? print::kPdfDeviceName
                          : p.printerName();
  return s;
}

}  // namespace

std::optional<PrtSettings> showSystemPrintDialog(QWidget* owner) {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, owner);
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
