#include "paper_trays.h"

#include <windows.h>

#include <vector>

namespace velmont::print {
namespace {

QString comparable(QString name) { return name.remove(QLatin1Char(' ')).toCaseFolded(); }

}  // namespace

std::optional<int> driverTrayBin(const QString& printer, const QString& tray) {
  const std::wstring device = printer.toStdWString();
  const int count = DeviceCapabilitiesW(device.c_str(), nullptr, DC_BINS, nullptr, nullptr);
  if (count <= 0) return std::nullopt;
  std::vector<WORD> bins(count);
  // Each name is 24 characters, ended by a null only when shorter.
  std::vector<wchar_t> names(size_t(count) * 24 + 1, L'\0');
  if (DeviceCapabilitiesW(device.c_str(), nullptr, DC_BINS, reinterpret_cast<LPWSTR>(bins.data()), nullptr) != count ||
      DeviceCapabilitiesW(device.c_str(), nullptr, DC_BINNAMES, names.data(), nullptr) != count)
    return std::nullopt;
  const QString wanted = comparable(tray);
  for (int i = 0; i < count; ++i) {
    const wchar_t* name = names.data() + size_t(i) * 24;
    if (comparable(QString::fromWCharArray(name, int(wcsnlen(name, 24)))) == wanted) return int(bins[i]);
  }
  return std::nullopt;
}

}  // namespace velmont::print
