#pragma once
// The printers a page printer can be opened on, by device name.
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "display_list.h"

namespace velmont::print {

// Paper width, paper height, then the printable area's left, bottom, right and top
// edges; 0.1 mm, y upwards from the bottom of the paper.
using PaperSize = std::array<double, 6>;
// "P" when the paper is taller than wide, otherwise "L" (square paper included).
inline QString paperOrientation(const PaperSize& paper) {
  return paper[1] > paper[0] ? QStringLiteral("P") : QStringLiteral("L");
}

inline constexpr int kPortrait = 1;
inline constexpr int kLandscape = 2;

// The name of the device that is always present and writes a PDF file.
inline const QString kPdfDeviceName = QStringLiteral("PDF");

// A print job's settings as the printer dialog answers them (the printer's own
// numbering: paper source, colour mode 0 grey / 1 colour, duplex 0 off, 1 auto,
// 2 long edge, 3 short edge). A setting that is not given leaves the device's own.
struct JobSettings {
  int copies = 1;
  std::optional<int> paperBin, resolution, collation, colour, duplex, fontMode;
  QString formSize;   // a paper size's name ("A4", "Letter", a printer's "US Letter"),
                      // its number, or its dimensions ("215.9x279.4mm"); "" keeps
  QString printFile;  // the next document goes to this file; "" keeps the device's own
  QString paperTray;  // the printer's own name of a paper tray ("Tray2"); "" keeps
};

class PrintDevice {
 public:
  virtual ~PrintDevice() = default;

  virtual PaperSize paperSize() const = 0;
  virtual int orientation() const = 0;
  virtual void setOrientation(int orientation) = 0;

  // A document is a print job (or a file); pages arrive one by one, finished.
  virtual bool startDoc(const QString& name) = 0;
  virtual bool printPage(const PageList& page) = 0;
  virtual bool endDoc() = 0;
  // Ends a document that must not come out (a run that failed, was stopped or
  // found nothing): a file device leaves no file and any earlier file of that
  // name as it was; a printer cancels the job. Devices that keep pages in
  // memory simply end it.
  virtual void abandonDoc() { endDoc(); }

  // Where the output goes, for the run's closing message.
  virtual QString destination() const = 0;
  // Why the last document did not start or come out ("it is not accepting jobs"),
  // or "" when the device cannot tell.
  virtual QString failureReason() const { return {}; }
  // For devices that write files: the file of the next document, and whether the
  // device writes files at all (a PDF writer) rather than sheets of paper.
  virtual void setOutputFile(const QString& path) {}
  virtual QString outputFile() const { return {}; }
  virtual bool writesFiles() const { return false; }
  // Files the last document wrote when it ended well (one PDF, or one per family
  // in a folder); 0 for a printer.
  virtual int filesWritten() const { return writesFiles() ? 1 : 0; }
  // The job's settings, given before the document starts; devices that cannot
  // carry a setting (a file has no copies) leave it.
  virtual void setJobSettings(const JobSettings& settings) {}
  // Devices that write PDF files make archival documents (PDF/A-1b) from the
  // next document on, with `author` (the school) in their metadata; others
  // have nothing to archive and leave it.
  virtual void setArchival(const QString& author) {}
  // Devices that take long to end a document (a folder of files) ask this
  // between files and abandon the document when it says stop; the document
  // then fails, as a stopped run's must not come out.
  virtual void setStopCheck(std::function<bool()> stopAsked) {}
  // True when the last document was left out on purpose (none of its pages was
  // wanted), not failed: nothing was written, and the caller says why.
  virtual bool documentDropped() const { return false; }
};

// What the user is told of a document that did not come out: a file that could not
// be written, or a print job the printer did not take, with the reason when known.
QString notSentMessage(const PrintDevice& device);

// Every device name that openPrintDevice accepts: the system's printers and "PDF".
QStringList printDeviceNames();

// The spooler's form of a device name: blanks, '/' and '#' cannot appear in queue names
// and become '_' ("HP LaserJet 4/5 #2" is the queue "HP_LaserJet_4_5__2").
QString queueNameFor(const QString& deviceName);

// The device of that name (or of its queue name), or nothing when no device has it. "PDF" is the built-in PDF
// writer even when a system printer has the same name.
std::unique_ptr<PrintDevice> openPrintDevice(const QString& name);

// A4 with the printable area of a common laser printer (4.2 mm all round).
PaperSize laserA4(int orientation);

}  // namespace velmont::print
