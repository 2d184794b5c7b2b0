#pragma once
// A printer's own paper trays by name, where the platform numbers them.
#include <QString>
#include <optional>

namespace velmont::print {

// The driver's bin number of the tray of `printer` named `tray` (matched whatever the
// case and the spaces: a tray saved as "Tray2" is the driver's "Tray 2"), where the
// system chooses trays by number (Windows); nullopt where the printer has no such
// tray, or where the spooler takes the tray's name itself (CUPS).
std::optional<int> driverTrayBin(const QString& printer, const QString& tray);

}  // namespace velmont::print
