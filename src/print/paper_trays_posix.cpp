#include "paper_trays.h"

namespace velmont::print {

// CUPS takes a tray by its name, as the job's input slot.
std::optional<int> driverTrayBin(const QString&, const QString&) { return std::nullopt; }

}  // namespace velmont::print
