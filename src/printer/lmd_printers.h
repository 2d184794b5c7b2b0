#pragma once
// The printers a report may be sent to.
#include <QString>
#include <QStringList>

namespace velmont::widgets {

struct InstalledPrinters {
  QStringList names;   // every device the page printer accepts, "PDF" always among them
  QString defaultName; // the system's default printer, else "PDF"
};

// lmdGetPrn: the installed printers and the default one.
InstalledPrinters lmdGetPrn();

}  // namespace velmont::widgets
