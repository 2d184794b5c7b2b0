#include "page_printer.h"

#include "message_hook.h"

namespace velmont::print {

namespace {
constexpr double kPitch10 = 25.41;  // 10 characters per inch
constexpr double kPitch12 = 21.18;
constexpr double kPitch17 = 15.25;
constexpr double kDefaultPt = 20.32;
constexpr double kDefaultRowHt = 43;
const QString kDefaultFont = QStringLiteral("12.Courier New");

QString onOff(bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); }
}  // namespace

lmcPrn3::lmcPrn3() {
  aSize = laserA4(kPortrait);
  makeSurface();
}

lmcPrn3::~lmcPrn3() = default;

lmcPrn3& lmcPrn3::Init(const QString& deviceName, bool showError, const QVariant& owner) {
  device_ = openPrintDevice(deviceName);
  lInitErr = !device_;
  if (lInitErr && showError)
    showMessage({{"Printer Not Initialized", "Notify System Administrator"}, 14, owner});
  return *this;
}

lmcPrn3& lmcPrn3::Init(std::unique_ptr<PrintDevice> device) {
  device_ = std::move(device);
  lInitErr = !device_;
  return *this;
}

lmcPrn3& lmcPrn3::create() {
  aSize = device_ ? device_->paperSize() : laserA4(kPortrait);
  oFont = PrintFont::fromDescriptor(kDefaultFont);
  makeSurface();
  lDoc = false;
  nTopMar = nLeftMar = 0;
  nRowHt = kDefaultRowHt;
  nPage = 1;
  lAscii = false;
  cBold = cItal = cUnder = onOff(false);
  qRow = 0;
  nPtPos = 0;
  nPt = lAutoPt ? kPitch10 : kDefaultPt;
  nQpt = nLpt = kPitch10;
  aFills = buildFillTable();
  return *this;
}

lmcPrn3& lmcPrn3::destroy() {
  device_.reset();
  oPs = std::make_unique<PageSurface>(0, 0);  // released, yet safe to call
  oImg.reset();
  chars_.close();
  aFills.clear();
  oFont = PrintFont{};
  aSize = {};
  nPage = 0;
  lDoc = false;
  lInitErr = true;
  nPgWd = nPgHt = qRow = nPtPos = nTopMar = nLeftMar = 0;
  return *this;
}

void lmcPrn3::makeSurface() {
  nPgWd = aSize[4] - aSize[2];
  nPgHt = aSize[5] - aSize[3];
  oPs = std::make_unique<PageSurface>(nPgWd, nPgHt);
  oPs->setFont(oFont);
}

bool lmcPrn3::startDoc(const QString& name) {
  lDoc = true;
  pagesPrinted_ = 0;
  pushJob();
  return device_ && device_->startDoc(name);
}

bool lmcPrn3::endDoc() {
  if (!lDoc) return false;
  // The last page goes out unless it is empty; an empty document still has one page.
  if (oPs && (!oPs->page().empty() || pagesPrinted_ == 0)) printCurrentPage();
  lDoc = false;
  return device_ && device_->endDoc();
}

void lmcPrn3::abandonDoc() {
  if (!lDoc) return;
  if (oPs) oPs->takePage();
  lDoc = false;
  if (device_) device_->abandonDoc();
}

bool lmcPrn3::printCurrentPage() {
  if (!oPs) return false;
  const PageList page = oPs->takePage();
  ++pagesPrinted_;
  return device_ && device_->printPage(page);
}

void lmcPrn3::newPage() {
  if (lAscii) {
    chars_.formFeed();
    ++nPage;
    chars_.setPos(0, 0);
    return;
  }
  if (lDoc)
    printCurrentPage();
  else if (oPs)
    oPs->takePage();  // nothing is printed outside a document
  ++nPage;
  setQprc(0, 0);
}

void lmcPrn3::orient(const QString& orientation) {
  if (!device_ || !oPs) return;
  const QString wanted = orientation.trimmed().toUpper();
  const int current = device_->orientation();
  const int turned = wanted == "LAND" && current == kPortrait  ? kLandscape
                     : wanted == "PORT" && current == kLandscape ? kPortrait
                                                                 : 0;
  if (!turned) return;
  const bool restart = lDoc;
  if (restart) endDoc();
  device_->setOrientation(turned);
  aSize = device_->paperSize();
  makeSurface();  // the font carries over; colours and pattern start afresh
  qRow = 0;
  nPtPos = 0;
  if (restart) startDoc();
}

int lmcPrn3::orientation() const { return device_ ? device_->orientation() : kPortrait; }

void lmcPrn3::setOrientation(int orientation) {
  if (device_ && (orientation == kPortrait || orientation == kLandscape))
    device_->setOrientation(orientation);
}

void lmcPrn3::setNumCopies(int copies) {
  if (copies >= 1) job_.copies = copies;
  pushJob();
}

void lmcPrn3::setResolution(int dpi) {
  if (dpi > 0) job_.resolution = dpi;
  pushJob();
}

void lmcPrn3::setDuplexMode(int mode) {
  if (mode >= 0 && mode <= 3) job_.duplex = mode;
  pushJob();
}

void lmcPrn3::setFormSize(const QString& size) {
  job_.formSize = size.trimmed();
  pushJob();  // create then lays the page out on the new paper
}

void lmcPrn3::pushJob() {
  if (device_) device_->setJobSettings(job_);
}

void lmcPrn3::setPrintFile(const QString& path) {
  job_.printFile = path.trimmed();
  if (!job_.printFile.isEmpty()) setOutputFile(job_.printFile);
}

void lmcPrn3::setOutputFile(const QString& path) {
  if (device_) device_->setOutputFile(path);
}

QString lmcPrn3::destination() const { return device_ ? device_->destination() : QString(); }

int lmcPrn3::filesWritten() const { return device_ ? device_->filesWritten() : 0; }

void lmcPrn3::setStopCheck(std::function<bool()> stopAsked) {
  if (device_) device_->setStopCheck(std::move(stopAsked));
}

bool lmcPrn3::documentDropped() const { return device_ && device_->documentDropped(); }

QString lmcPrn3::notSentMessage() const {
  return device_ ? print::notSentMessage(*device_) : QStringLiteral("The report could not be printed: there is no printer.");
}

// ---- text ---------------------------------------------------------------------------

void lmcPrn3::placeText(double x, double row, const QString& text) {
  oPs->drawText({x, rowY(row)}, text);
  qRow = row;
}

void lmcPrn3::PrLn(double row, double column, const QString& text) {
  if (lAscii) {
    chars_.setPos(row, column);
    chars_.write(text);
    qRow = row;
    return;
  }
  const double x = columnX(column, nLpt);
  placeText(x, row, text);
  nPtPos = x + text.size() * nQpt;
}

void lmcPrn3::PrPt(double row, double column, const QString& text) {
  if (lAscii) return PrLn(row, column, text);
  const double x = columnX(column, nPt);
  placeText(x, row, text);
  nPtPos = x + text.size() * nQpt;
}

void lmcPrn3::PrCenter(double row, const QString& text) {
  if (lAscii) {
    const qsizetype pad = std::max<qsizetype>(0, (80 - text.size()) / 2);
    chars_.setPos(row, 0);
    chars_.write((QString(pad, ' ') + text).leftJustified(80, ' '));
    qRow = row;
    return;
  }
  const double x = (nPgWd + nLeftMar - oPs->textWidth(text)) / 2;
  placeText(x, row, text);
  nPtPos = x + text.size() * nQpt;
}

void lmcPrn3::PrPtNum(double row, double column, const QString& text) {
  if (lAscii) return PrLn(row, column, text);
  const qsizetype length = text.size();
  const QString figures = text.trimmed();
  const double shift = oPs->textWidth(QString(length, '0')) - oPs->textWidth(figures);
  const double x = columnX(column, nPt);
  placeText(x + shift, row, figures);
  nPtPos = x + length * nQpt;
}

void lmcPrn3::PrPtRjust(double row, double column, const QString& text) {
  if (lAscii) return;
  const double x = columnX(column, nPt);
  placeText(x - oPs->textWidth(text), row, text);
  nPtPos = x;
}

void lmcPrn3::PrPtColCtr(double row, double firstColumn, double secondColumn,
                         const QString& text) {
  if (lAscii) return;
  const double x1 = columnX(firstColumn, nPt), x2 = columnX(secondColumn, nPt);
  const double width = oPs->textWidth(text);
  const double x = x1 + ((x2 - x1) - width) / 2;
  placeText(x, row, text);
  nPtPos = x + width;  // where the centred text ends
}

double lmcPrn3::textWidth(const QString& text) const {
  if (lAscii || !oPs) return text.size() * nPt;
  return oPs->textWidth(text);
}

namespace {

// The longest beginning of `text` no wider than `width` by `measure`, trailing
// blanks dropped.
template <class Measure>
QString fitting(const QString& text, double width, const Measure& measure) {
  if (measure(text) <= width) return text;
  // The widths grow with the length: find the longest fitting beginning by halving.
  qsizetype lo = 0, hi = text.size();
  while (lo < hi) {
    const qsizetype mid = (lo + hi + 1) / 2;
    if (measure(text.left(mid)) <= width)
      lo = mid;
    else
      hi = mid - 1;
  }
  QString fits = text.left(lo);
  while (fits.endsWith(' ')) fits.chop(1);
  return fits;
}

template <class Measure>
QStringList wrapping(const QString& text, double width, qsizetype maxChars, const Measure& measure) {
  auto fits = [&](const QString& line) { return (maxChars <= 0 || line.size() <= maxChars) && measure(line) <= width; };
  QStringList lines;
  QString line;
  const QStringList words = text.split(' ');
  for (qsizetype i = 0; i < words.size(); ++i) {
    QString word = words[i];
    const QString joined = line.isEmpty() ? word : line + ' ' + word;
    if (fits(joined)) {
      line = joined;
      continue;
    }
    if (!line.isEmpty()) lines << line;
    // A word wider than the line is cut into pieces that fit.
    while (!fits(word)) {
      QString piece = fitting(maxChars > 0 ? word.left(maxChars) : word, width, measure);
      if (piece.isEmpty()) piece = word.left(1);
      lines << piece;
      word = word.mid(piece.size());
    }
    line = word;
  }
  if (!line.isEmpty() || lines.isEmpty()) lines << line;
  return lines;
}

// Measures texts in one font as the paper shows them.
struct PaperMeasure {
  explicit PaperMeasure(const QString& descriptor) : surface(1, 1) { surface.setFont(PrintFont::fromDescriptor(descriptor)); }
  double operator()(const QString& text) const { return surface.textWidth(text); }
  PageSurface surface;
};

}  // namespace

QString lmcPrn3::textThatFits(const QString& text, double width) const {
  return fitting(text, width, [this](const QString& t) { return textWidth(t); });
}

QString lmcPrn3::elidedToWidth(const QString& text, double width) const {
  if (textWidth(text) <= width) return text;
  const QString ellipsis(QChar(0x2026));
  return textThatFits(text, width - textWidth(ellipsis)) + ellipsis;
}

QStringList lmcPrn3::wrapToWidth(const QString& text, double width, qsizetype maxChars) const {
  return wrapping(text, width, maxChars, [this](const QString& t) { return textWidth(t); });
}

QString lmcPrn3::paperTextThatFits(const QString& text, double width, const QString& descriptor) const {
  return fitting(text, width, PaperMeasure(descriptor));
}

QStringList lmcPrn3::paperWrapToWidth(const QString& text, double width, qsizetype maxChars,
                                      const QString& descriptor) const {
  return wrapping(text, width, maxChars, PaperMeasure(descriptor));
}

// ---- query output -------------------------------------------------------------------

QString lmcPrn3::queryLine(std::initializer_list<QueryValue> values) const {
  QStringList parts;
  for (const QueryValue& value : values) parts << value.text();
  return parts.join(' ');
}

void lmcPrn3::Q(std::initializer_list<QueryValue> values) {
  const QString line = queryLine(values);
  if (lAscii) {
    chars_.newLine();
    chars_.write(line);
    return;
  }
  qRow += 1;
  nPtPos = 0;
  if (!line.isEmpty()) {
    PrQ(line);
    nPtPos += line.size() * nQpt;
  }
}

void lmcPrn3::QQ(std::initializer_list<QueryValue> values) {
  if (values.size() == 0) return;
  const QString line = queryLine(values);
  if (lAscii) {
    chars_.write(line.isEmpty() ? QStringLiteral(" ") : line);
    return;
  }
  if (qRow == 0) qRow = 1;
  if (!line.isEmpty()) {
    PrQ(line);
    nPtPos += line.size() * nQpt;
  }
}

void lmcPrn3::PrQ(const QString& text) { oPs->drawText({nPtPos + nLeftMar, rowY(qRow)}, text); }

void lmcPrn3::setQprc(std::optional<double> row, std::optional<double> column) {
  if (lAscii) {
    chars_.setPos(row.value_or(chars_.row()), column.value_or(chars_.column()));
    return;
  }
  if (row) qRow = *row;
  if (column) nPtPos = *column == 0 ? 0 : (*column - 1) * nQpt;
}

double lmcPrn3::QRow() const { return lAscii ? chars_.row() : qRow; }

double lmcPrn3::QCol() const {
  if (lAscii) return chars_.column();
  if (nPtPos == 0 || nQpt == 0) return 1;  // a division by zero counts as 0
  return nPtPos / nQpt + 1;
}

// ---- settings -----------------------------------------------------------------------

double lmcPrn3::setRowHt(std::optional<double> height) {
  const double previous = nRowHt;
  if (!lAscii) nRowHt = height.value_or(kDefaultRowHt);
  return previous;
}

double lmcPrn3::setTopMar(std::optional<double> margin) {
  const double previous = nTopMar;
  if (!lAscii && margin) nTopMar = *margin;
  return previous;
}

double lmcPrn3::setLeftMar(std::optional<double> margin) {
  const double previous = nLeftMar;
  if (!lAscii && margin) nLeftMar = *margin;
  return previous;
}

double lmcPrn3::setPt(std::optional<double> pitch) {
  const double previous = nPt;
  nPt = pitch.value_or(kDefaultPt);
  return previous;
}

// ---- fonts --------------------------------------------------------------------------

void lmcPrn3::applyFont(PrintFont font) {
  oFont = font;
  if (oPs) oPs->setFont(font);
  cBold = onOff(font.bold);
  cItal = onOff(font.italic);
  cUnder = onOff(font.underscore);
}

void lmcPrn3::setCourierPitch(double pitch) {
  nQpt = nLpt = pitch;
  if (lAutoPt) nPt = pitch;
}

QString lmcPrn3::newFont(const QString& descriptor) {
  const QString previous = oFont.descriptor();
  if (lAscii) return previous;
  const PrintFont font =
      PrintFont::fromDescriptor(descriptor.trimmed().isEmpty() ? kDefaultFont : descriptor);
  applyFont(font);
  if (font.family.contains("Courier New")) {
    if (font.pointSize == 7) setCourierPitch(kPitch17);
    if (font.pointSize == 10) setCourierPitch(kPitch12);
    if (font.pointSize == 12) setCourierPitch(kPitch10);
  }
  return previous;
}

void lmcPrn3::setCond(const Switch& state) {
  if (lAscii || !state.state()) return;
  PrintFont font = oFont;
  font.family = "Courier New";
  font.pointSize = *state.state() ? 7 : 12;
  applyFont(font);
  setCourierPitch(*state.state() ? kPitch17 : kPitch10);
}

void lmcPrn3::setElite(const Switch& state) {
  if (lAscii || !state.state()) return;
  PrintFont font = oFont;
  font.family = "Courier New";
  font.pointSize = *state.state() ? 10 : 12;
  applyFont(font);
  setCourierPitch(*state.state() ? kPitch12 : kPitch10);
}

void lmcPrn3::setBold(const Switch& state) {
  if (lAscii || !state.state()) return;
  PrintFont font = oFont;
  font.bold = *state.state();
  applyFont(font);
}

void lmcPrn3::setItal(const Switch& state) {
  if (lAscii || !state.state()) return;
  PrintFont font = oFont;
  font.italic = *state.state();
  applyFont(font);
}

void lmcPrn3::setUnder(const Switch& state) {
  if (lAscii || !state.state()) return;
  PrintFont font = oFont;
  font.underscore = *state.state();
  applyFont(font);
}

void applyPrinterSettings(lmcPrn3& p, const std::vector<QString>& s, bool withOrientation) {
  using Setter = void (lmcPrn3::*)(int);
  static const Setter setters[8] = {&lmcPrn3::setNumCopies,     &lmcPrn3::setOrientation, &lmcPrn3::setPaperBin,
                                    &lmcPrn3::setResolution,    &lmcPrn3::setCollationMode, &lmcPrn3::setColorMode,
                                    &lmcPrn3::setDuplexMode,    &lmcPrn3::setFontMode};
  for (size_t i = 0; i < 8 && i < s.size(); ++i) {
    if (i == 1 && !withOrientation) continue;
    bool ok = false;
    const int n = s[i].trimmed().toInt(&ok);
    if (!ok && i == 2 && !s[i].trimmed().isEmpty()) p.setPaperTray(s[i]);
    if (!ok) continue;
    const Setter set = setters[i];  // a local: GCC 12 with -fsanitize=undefined miscompiles the indexed call
    (p.*set)(n);
  }
  if (s.size() >= 9 && !s[8].trimmed().isEmpty()) p.setFormSize(s[8]);  // a name ("A4") or a number
  if (s.size() >= 10) p.setPrintFile(s[9]);
}

std::unique_ptr<lmcPrn3> lmNewPrinter(const QString& deviceName) {
  auto printer = std::make_unique<lmcPrn3>();
  printer->Init(deviceName);
  return printer;
}

}  // namespace velmont::print
