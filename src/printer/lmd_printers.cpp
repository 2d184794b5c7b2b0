#include "lmd_printers.h"

#include <QPrinterInfo>

#include "print/print_device.h"

namespace velmont::widgets {

InstalledPrinters lmdGetPrn() {
  InstalledPrinters p;
  p.names = print::printDeviceNames();
  p.defaultName = QPrinterInfo::defaultPrinterName();
  if (p.defaultName.isEmpty() || !p.names.contains(p.defaultName)) p.defaultName = print::kPdfDeviceName;
  return p;
}

}  // namespace velmont::widgets
