#pragma once
// FIND_WIN_PRN: the system's print dialog, and the printer settings it answers.
#include <QString>
#include <array>
#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace velmont::printer {

// aPrtSettings: copies, orientation, paper bin, resolution, collation, colour
// mode, duplex, font mode, form size, print file, device name. Callers read
// only the device name; empty or one blank means "keep the printer".
using PrtSettings = std::array<QString, 11>;
inline constexpr size_t kPrtDeviceName = 10;  // element 11

// The settings of a printer as its print dialog left them: a tray chosen among
// the printer's own options by its name, the paper by its standard key or its
// dimensions (see print::paperSizeSetting).
PrtSettings settingsOf(const QPrinter& printer);

// The chosen printer's settings, or nothing when the user cancelled.
using SystemPrintDialog = std::function<std::optional<PrtSettings>(QWidget* owner)>;

// Shows the system print dialog (QPrintDialog) over `owner`. A choice of the
// dialog's own PDF file output is answered as the device "PDF".
std::optional<PrtSettings> showSystemPrintDialog(QWidget* owner);

// Replaces the system print dialog (tests answer it this way); an empty
// function puts the real one back.
void setSystemPrintDialog(SystemPrintDialog dialog);

// Shows the print dialog; when the user chose a printer its settings replace
// aPrtSettings, when the user cancelled aPrtSettings is left as it was.
// Always true.
bool FIND_WIN_PRN(PrtSettings& aPrtSettings, QWidget* owner = nullptr);

}  // namespace velmont::printer
