#include "painter_device.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrintEngine>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <algorithm>
#include <QSaveFile>
#include <cmath>
#include <optional>

#include "paper_trays.h"
#include "pdf_metadata.h"
#include "spooler.h"

namespace velmont::print {

namespace {
const QString kCreator = QStringLiteral("Velmont Reports");
}  // namespace

bool PainterDevice::beginPainting(QPagedPaintDevice* device) {
  device_ = device;
  pagesPrinted_ = 0;
  return painter_.begin(device);
}

bool PainterDevice::endPainting() {
  const bool ok = painter_.isActive() && painter_.end();
  device_ = nullptr;
  return ok;
}

bool PainterDevice::printPage(const PageList& page) {
  if (!painter_.isActive()) return false;
  if (pagesPrinted_ > 0 && !device_->newPage()) return false;
  ++pagesPrinted_;
  // The painter starts at the paper's top-left corner in device pixels.
  const PaperSize size = paperSize();
  const double pixelsPerUnit = device_->logicalDpiX() / 254.0;
  painter_.save();
  painter_.translate(size[2] * pixelsPerUnit, (size[1] - size[5]) * pixelsPerUnit);
  replay(page, painter_, pixelsPerUnit);
  painter_.restore();
  return true;
}

PdfFileDevice::PdfFileDevice() = default;
PdfFileDevice::~PdfFileDevice() { abandonDoc(); }

void PdfFileDevice::setOrientation(int orientation) {
  orientation_ = orientation == kLandscape ? kLandscape : kPortrait;
}

void PdfFileDevice::setOutputFile(const QString& path) {
  // A file newly chosen is written as chosen; the same one again gets "-2", "-3", ...
  // so that no earlier document of this device is overwritten.
  if (path != outputFile_) documents_ = 0;
  outputFile_ = path;
}

void PdfFileDevice::setArchival(const QString& author) {
  archival_ = true;
  author_ = author;
}

bool PdfFileDevice::startDoc(const QString& name) {
  if (painting()) return true;
  // Each further document of the same device goes to a file of its own ("-2", "-3", ...),
  // so that a restarted document never overwrites the pages already written.
  QString file = outputFile_;
  if (file.isEmpty()) {
    QString stem = name.trimmed();
    stem.replace(QRegularExpression(R"([^\w\- ]+)"), "_");
    file = QDir::current().filePath((stem.isEmpty() ? QStringLiteral("velmont") : stem) + ".pdf");
  }
  if (++documents_ > 1) {
    const QFileInfo info(file);
    file = info.dir().filePath(info.completeBaseName() + "-" + QString::number(documents_) +
                               "." + (info.suffix().isEmpty() ? "pdf" : info.suffix()));
  }
  currentFile_ = file;
  // An archival document's metadata must state the creation time that the
  // writer puts in its document information as it begins. A document begun
  // across the turn of a second is begun once more (nothing is drawn yet).
  for (int attempt = 0; attempt < 3; ++attempt) {
    const QDateTime now = QDateTime::currentDateTime();
    if (!beginDocument(file, name, now)) return false;
    if (!archival_ || QDateTime::currentDateTime().toSecsSinceEpoch() == now.toSecsSinceEpoch()) break;
    abandonDoc();
  }
  return painting();
}

bool PdfFileDevice::beginDocument(const QString& file, const QString& name, const QDateTime& now) {
  file_ = std::make_unique<QSaveFile>(file);
  if (!file_->open(QIODevice::WriteOnly)) {
    file_.reset();
    return false;
  }
  writer_ = std::make_unique<QPdfWriter>(file_.get());
  writer_->setResolution(1200);
  writer_->setTitle(name);
  writer_->setCreator(kCreator);
  if (archival_) {
    // PDF/A-1b: the writer embeds every font and adds the colour profile.
    writer_->setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    writer_->setDocumentXmpMetadata(archivalXmp({name, author_, kCreator, now}));
  }
  writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                     orientation_ == kLandscape ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
  return beginPainting(writer_.get());
}

bool PdfFileDevice::endDoc() {
  bool ok = endPainting();
  writer_.reset();
  if (file_) ok = file_->commit() && ok;
  file_.reset();
  return ok;
}

void PdfFileDevice::abandonDoc() {
  endPainting();
  writer_.reset();
  if (file_) file_->cancelWriting();
  file_.reset();  // the temporary file goes; the file of that name stays as it was
}

PaperSize laserA4(int orientation) {
  constexpr double kMargin = 42;
  const double width = orientation == kLandscape ? 2970 : 2100;
  const double height = orientation == kLandscape ? 2100 : 2970;
  return {width, height, kMargin, kMargin, width - kMargin, height - kMargin};
}

SystemPrinterDevice::SystemPrinterDevice(const QString& name)
    : printer_(std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name),
                                          QPrinter::HighResolution)) {
  printer_->setFullPage(true);
}

SystemPrinterDevice::~SystemPrinterDevice() { endPainting(); }

PaperSize SystemPrinterDevice::paperSize() const {
  QPageLayout layout = printer_->pageLayout();
  layout.setUnits(QPageLayout::Millimeter);
  const QRectF paper = layout.fullRect(QPageLayout::Millimeter);
  QMarginsF margins = layout.minimumMargins();
  if (layout.orientation() == QPageLayout::Landscape)  // the device reports portrait edges
    margins = QMarginsF(margins.top(), margins.right(), margins.bottom(), margins.left());
  const double width = std::round(paper.width() * 10), height = std::round(paper.height() * 10);
  return {width,
          height,
          std::round(margins.left() * 10),
          std::round(margins.bottom() * 10),
          width - std::round(margins.right() * 10),
          height - std::round(margins.top() * 10)};
}

int SystemPrinterDevice::orientation() const {
  return printer_->pageLayout().orientation() == QPageLayout::Landscape ? kLandscape
                                                                         : kPortrait;
}

void SystemPrinterDevice::setOrientation(int orientation) {
  printer_->setPageOrientation(orientation == kLandscape ? QPageLayout::Landscape
                                                         : QPageLayout::Portrait);
}

bool SystemPrinterDevice::spooled() const { return printer_->outputFileName().isEmpty(); }

bool SystemPrinterDevice::startDoc(const QString& name) {
  if (painting()) return true;
  // A queue that refuses jobs is found out before the first page is drawn.
  failure_ = spooled() ? queueRefusal(printer_->printerName()) : QString();
  if (!failure_.isEmpty()) return false;
  printer_->setDocName(name.isEmpty() ? QStringLiteral("Velmont Reports") : name);
  if (beginPainting(printer_.get())) return true;
  failure_ = QStringLiteral("the printer could not start the job");
  return false;
}

bool SystemPrinterDevice::endDoc() {
  if (!painting()) return false;
  // The job reaches the spooler as the painting ends; its answer says whether it
  // took the job (a queue that stopped accepting jobs or went away meanwhile).
  const bool ended = endPainting();
  failure_ = !ended ? QStringLiteral("the printer did not take the job") : spooled() ? jobRefusal() : QString();
  return failure_.isEmpty();
}

namespace {

// A paper size by its number, its dimensions ("215.9x279.4mm"), its name or key
// ("A4", "Letter", in any case), or the name the printer gives it ("US Letter").
std::optional<QPageSize> paperNamed(const QString& size, const QPrinterInfo& printer) {
  bool isNumber = false;
  const int id = size.toInt(&isNumber);
  if (isNumber) {
    if (id < 0 || id > int(QPageSize::LastPageSize) || id == int(QPageSize::Custom)) return std::nullopt;
    return QPageSize(QPageSize::PageSizeId(id));
  }
  const QRegularExpressionMatch mm =
      QRegularExpression(R"(^\s*(\d+(?:\.\d+)?)\s*x\s*(\d+(?:\.\d+)?)\s*mm\s*$)").match(size);
  if (mm.hasMatch()) {
    const QSizeF dimensions(mm.captured(1).toDouble(), mm.captured(2).toDouble());
    if (dimensions.isEmpty()) return std::nullopt;
    return QPageSize(dimensions, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
  }
  for (int i = 0; i <= int(QPageSize::LastPageSize); ++i) {
    if (i == int(QPageSize::Custom)) continue;
    const auto sizeId = QPageSize::PageSizeId(i);
    if (QPageSize::name(sizeId).compare(size, Qt::CaseInsensitive) == 0 ||
        QPageSize::key(sizeId).compare(size, Qt::CaseInsensitive) == 0)
      return QPageSize(sizeId);
  }
  for (const QPageSize& own : printer.supportedPageSizes())
    if (own.name().compare(size, Qt::CaseInsensitive) == 0 || own.key().compare(size, Qt::CaseInsensitive) == 0)
      return own;
  return std::nullopt;
}

// Options the spooler takes with the job beside those QPrinter passes itself
// (the key is the one Qt's spooler engine reads its extra job options from), as
// name, value, name, value, ...
constexpr auto kSpoolerOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

void setSpoolerOption(QPrinter& printer, const QString& name, const QString& value) {
  QStringList options = printer.printEngine()->property(kSpoolerOptions).toStringList();
  for (qsizetype at = 0; at + 1 < options.size(); at += 2)
    if (options[at] == name) {
      options.remove(at, 2);
      break;
    }
  options << name << value;
  printer.printEngine()->setProperty(kSpoolerOptions, options);
}

}  // namespace

QString spoolerOption(const QPrinter& printer, const QString& name) {
  const QStringList options = printer.printEngine()->property(kSpoolerOptions).toStringList();
  for (qsizetype at = 0; at + 1 < options.size(); at += 2)
    if (options[at] == name) return options[at + 1];
  return {};
}

QString paperSizeSetting(const QPageSize& size) {
  // A standard size by its key, whatever the printer calls it ("US Letter" is
  // "Letter"); any other by its dimensions.
  if (size.id() != QPageSize::Custom) return size.key();
  const QSizeF mm = size.size(QPageSize::Millimeter);
  return QString::number(mm.width(), 'f', 1) + 'x' + QString::number(mm.height(), 'f', 1) + "mm";
}

void SystemPrinterDevice::setJobSettings(const JobSettings& s) {
  if (painting()) return;  // a job under way keeps what it started with
  const QPrinterInfo info(*printer_);
  printer_->setCopyCount(std::max(1, s.copies));
  if (s.collation) printer_->setCollateCopies(*s.collation != 0);
  if (s.duplex && *s.duplex >= 0 && *s.duplex <= 3) printer_->setDuplex(QPrinter::DuplexMode(*s.duplex));
  if (s.resolution && *s.resolution > 0) {
    printer_->setResolution(*s.resolution);
    // The spooler is told too, in its own words, when the printer offers it.
    if (info.supportedResolutions().contains(*s.resolution))
      setSpoolerOption(*printer_, QStringLiteral("Resolution"), QString::number(*s.resolution) + "dpi");
  }
  // A bin is one of Qt's paper sources or a printer driver's own bin number (256
  // and up): Windows' print window answers a printer's own trays with those.
  constexpr int kDriverBins = 256;
  if (s.paperBin && ((*s.paperBin >= 0 && *s.paperBin <= int(QPrinter::LastPaperSource)) || *s.paperBin >= kDriverBins))
    printer_->setPaperSource(QPrinter::PaperSource(*s.paperBin));
  // A tray by the printer's own name: the driver's bin of that name where the system
  // numbers trays, otherwise the spooler's input slot.
  if (!s.paperTray.isEmpty()) {
    if (const std::optional<int> bin = driverTrayBin(printer_->printerName(), s.paperTray))
      printer_->setPaperSource(QPrinter::PaperSource(*bin));
    else
      setSpoolerOption(*printer_, QStringLiteral("InputSlot"), s.paperTray);
  }
  if (!s.formSize.isEmpty())
    if (const std::optional<QPageSize> paper = paperNamed(s.formSize, info)) printer_->setPageSize(*paper);
  if (s.colour) {
    printer_->setColorMode(*s.colour == int(QPrinter::Color) ? QPrinter::Color : QPrinter::GrayScale);
    // The spooler is told the colour mode in its own words too: the job
    // attribute is what a colour printer acts on.
    setSpoolerOption(*printer_, QStringLiteral("print-color-mode"),
                     *s.colour == int(QPrinter::Color) ? QStringLiteral("color") : QStringLiteral("monochrome"));
  }
  if (!s.printFile.isEmpty()) printer_->setOutputFileName(s.printFile);
}

void SystemPrinterDevice::abandonDoc() {
  if (painting()) printer_->abort();
  endPainting();
}

QString SystemPrinterDevice::destination() const { return printer_->printerName(); }

QString notSentMessage(const PrintDevice& device) {
  const QString reason = device.failureReason();
  if (device.writesFiles())
    return QStringLiteral("The report could not be written to ") + device.destination() +
           (reason.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + reason + '.');
  const QString printer = device.destination().isEmpty() ? QStringLiteral("the printer") : device.destination();
  return QStringLiteral("The report could not be printed on ") + printer + QStringLiteral(": ") +
         (reason.isEmpty() ? QStringLiteral("the printer did not take the job") : reason) + '.';
}

QStringList printDeviceNames() {
  QStringList names = QPrinterInfo::availablePrinterNames();
  names.removeAll(kPdfDeviceName);
  names.append(kPdfDeviceName);
  return names;
}

QString queueNameFor(const QString& deviceName) {
  QString queue = deviceName.trimmed();
  for (QChar& ch : queue)
    if (ch == ' ' || ch == '/' || ch == '#') ch = '_';
  return queue;
}

std::unique_ptr<PrintDevice> openPrintDevice(const QString& name) {
  if (name == kPdfDeviceName) return std::make_unique<PdfFileDevice>();
  if (name.trimmed().isEmpty()) return nullptr;
  const QStringList queues = QPrinterInfo::availablePrinterNames();
  if (queues.contains(name)) return std::make_unique<SystemPrinterDevice>(name);
  if (queues.contains(queueNameFor(name)))
    return std::make_unique<SystemPrinterDevice>(queueNameFor(name));
  return nullptr;
}

}  // namespace velmont::print
