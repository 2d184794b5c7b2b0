#pragma once
// The page printer through which every report draws: text by row and column, fonts,
// boxes, bars, rules and pictures on a page measured in 0.1 mm with y upwards; or, in
// plain-text mode, text by row and column on a character device.
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

#include "char_device.h"
#include "fill_pattern.h"
#include "page_surface.h"
#include "picture_loader.h"
#include "print_device.h"
#include "printer_args.h"

namespace velmont::print {

class lmcPrn3 {
 public:
  lmcPrn3();
  virtual ~lmcPrn3();
  lmcPrn3(const lmcPrn3&) = delete;
  lmcPrn3& operator=(const lmcPrn3&) = delete;

  // Open to callers.
  int nPage = 0;                       // current page, from 1
  std::unique_ptr<PageSurface> oPs;    // the page being drawn
  PrintFont oFont;                     // the current font of oPs
  bool lAscii = false;                 // plain-text mode
  bool lInitErr = true;                // no device was found for the name
  PaperSize aSize{};                   // paper and printable area, 0.1 mm
  double nPt = 20.32;                  // column pitch of PrPt and the graphics
  bool lAutoPt = false;                // Courier New fonts also set nPt
  double nTopMar = 0;
  double nLeftMar = 0;

  // Opens the device of that name; without one, sets lInitErr and (when showError)
  // shows "Printer Not Initialized" / "Notify System Administrator".
  virtual lmcPrn3& Init(const QString& deviceName, bool showError = true,
                        const QVariant& owner = {});
  // The same on a device made by the caller (a memory device, a test double).
  lmcPrn3& Init(std::unique_ptr<PrintDevice> device);
  // Queries the paper, makes the surface with "12.Courier New" and sets the defaults.
  virtual lmcPrn3& create();
  virtual lmcPrn3& destroy();
  virtual bool endDoc();
  // Ends the document without sending it: nothing of it reaches the printer or
  // a file (a run that failed, was stopped or found nothing to print).
  void abandonDoc();
  virtual bool startDoc(const QString& name = {});
  // Makes the descriptor current; returns the previous font's descriptor.
  QString newFont(const QString& descriptor = {});
  virtual void newPage();
  // "LAND" or "PORT" in any case; ends and restarts an open document when it turns.
  virtual void orient(const QString& orientation);

  void PrBox(double row, double column, double rows, double columns,
             const QString& mode = "OUTLINE", const Density& density = 240,
             const LineStyle& lineType = "solid", double cornerWidth = 0,
             double cornerHeight = 0, double xOffset = 0, double yOffset = 0);
  void PrCenter(double row, const QString& text);
  void PrFrame(double row, double column, double rows, double columns, double thickness = 1,
               const Density& density = 17, const FrameFill& fill = {},
               const FrameShadow& shadow = {}, double xOffset = 0, double yOffset = 0);
  void PrHbar(double row, double column, double columns, double thickness = 1,
              const Density& density = 17, double xOffset = 0, double yOffset = 0);
  void prHline(double row, double column, double columns, const LineStyle& lineType = "solid",
               double xOffset = 0, double yOffset = 0);
  void PrImage(double row, double column, const QString& file, double rows, double columns,
               std::optional<double> columnWidth = {}, double xOffset = 0, double yOffset = 0);
  void PrLn(double row, double column, const QString& text);
  void PrPt(double row, double column, const QString& text);
  void PrPtColCtr(double row, double firstColumn, double secondColumn, const QString& text);
  // Figures padded on the left to a fixed width end at the same x in any face.
  void PrPtNum(double row, double column, const QString& text);
  // Text that ends at the left edge of the column.
  void PrPtRjust(double row, double column, const QString& text);
  void PrVbar(double row, double column, double rows, double thickness = 1,
              const Density& density = 17, double xOffset = 0, double yOffset = 0);
  void PrVline(double row, double column, double rows, const LineStyle& lineType = "solid",
               double xOffset = 0, double yOffset = 0);

  // Query output: Q starts a new line, QQ continues the current one.
  void Q(std::initializer_list<QueryValue> values = {});
  void QQ(std::initializer_list<QueryValue> values = {});
  double QRow() const;
  double QCol() const;

  void setBold(const Switch& state);
  Colour setColor(Colour colour = kBlack);  // returns the previous foreground
  void setCond(const Switch& state);
  void setDens(const Density& density, int defaultGrey = 17);
  void setElite(const Switch& state);
  void setItal(const Switch& state);
  double setLeftMar(std::optional<double> margin);
  double setPt(std::optional<double> pitch = {});
  void setQprc(std::optional<double> row, std::optional<double> column);
  double setRowHt(std::optional<double> height = {});
  double setTopMar(std::optional<double> margin);
  void setUnder(const Switch& state);

  // The platform printer's orientation, 1 portrait or 2 landscape; runs set it before
  // create (orient turns the page of a created printer).
  int orientation() const;
  void setOrientation(int orientation);

  // The print job's settings as the printer dialog answers them, applied by a run
  // before create (a form size turns the paper the page is laid out on). They go to
  // the device at once and again when a document starts, the preview's print
  // included; setPrintFile sends the next document to that file (an empty name
  // keeps the device's own destination).
  using JobSettings = print::JobSettings;
  void setNumCopies(int copies);
  void setPaperBin(int bin) { job_.paperBin = bin; pushJob(); }
  // A paper tray by the printer's own name for it, as its print dialog offers it.
  void setPaperTray(const QString& tray) { job_.paperTray = tray.trimmed(); pushJob(); }
  void setResolution(int dpi);
  void setCollationMode(int mode) { job_.collation = mode; pushJob(); }
  void setColorMode(int mode) { job_.colour = mode; pushJob(); }
  void setDuplexMode(int mode);
  void setFontMode(int mode) { job_.fontMode = mode; pushJob(); }
  void setFormSize(int size) { setFormSize(QString::number(size)); }
  void setFormSize(const QString& size);
  void setPrintFile(const QString& path);
  const JobSettings& jobSettings() const { return job_; }

  // Not part of the report interface: where output goes and what is on the page.
  CharDevice& charDevice() { return chars_; }
  void setOutputFile(const QString& path);
  QString destination() const;
  // Files the last document wrote (one per family in a folder, one PDF); 0 for a printer.
  int filesWritten() const;
  // What the device asks between the files of a long document (PrintDevice::setStopCheck).
  void setStopCheck(std::function<bool()> stopAsked);
  // The last document was left out on purpose, not failed (PrintDevice::documentDropped).
  bool documentDropped() const;
  // What the user is told when the document did not start or did not come out: the
  // file or printer, and why.
  QString notSentMessage() const;
  const PageList& currentPage() const { return oPs->page(); }
  // Where the printable area ends on the right, 0.1 mm from the left edge of the
  // area that the columns count from.
  double printableRight() const { return nPgWd; }
  // The text's measured width in the current font, 0.1 mm (in text mode its length
  // in characters times the column pitch).
  double textWidth(const QString& text) const;
  // The longest beginning of `text` whose measured width in the current font is at
  // most `width` (0.1 mm), trailing blanks dropped.
  QString textThatFits(const QString& text, double width) const;
  // `text` when it fits `width`, else its longest beginning that fits with an
  // ellipsis after it.
  QString elidedToWidth(const QString& text, double width) const;
  // `text` broken into lines at blanks so that each line's measured width is at most
  // `width` (0.1 mm), and its length at most `maxChars` characters when that is
  // above 0; a word longer than that is cut.
  QStringList wrapToWidth(const QString& text, double width, qsizetype maxChars = 0) const;
  // The same, measured as on paper in the font of `descriptor` in either mode: a
  // text file cuts names and breaks lines where the paper does.
  QString paperTextThatFits(const QString& text, double width, const QString& descriptor) const;
  QStringList paperWrapToWidth(const QString& text, double width, qsizetype maxChars, const QString& descriptor) const;

 protected:
  void PrQ(const QString& text);

  double nPgWd = 0;
  double nPgHt = 0;
  double nRowHt = 43;
  double qRow = 0;
  QString cBold = "off", cItal = "off", cUnder = "off";
  bool lDoc = false;
  std::vector<FillEntry> aFills;
  std::shared_ptr<const Picture> oImg;
  double nQpt = 25.41;
  double nLpt = 25.41;
  double nPtPos = 0;

  PrintDevice* device() const { return device_.get(); }
  // Baseline of row r, and left edge of column c at pitch p.
  double rowY(double row) const { return nPgHt - (nTopMar + row * nRowHt); }
  double columnX(double column, double pitch) const { return (column - 1) * pitch + nLeftMar; }
  // Top of row r: the baseline of the row above.
  double rowTop(double row) const { return nPgHt - (nTopMar + (row - 1) * nRowHt); }

 private:
  void makeSurface();
  void applyFont(PrintFont font);
  void setCourierPitch(double pitch);
  void placeText(double x, double row, const QString& text);
  QString queryLine(std::initializer_list<QueryValue> values) const;
  void fillWithDensity(const PageRect& area, const Density& density);
  bool printCurrentPage();
  void pushJob();

  std::unique_ptr<PrintDevice> device_;
  CharDevice chars_;
  PictureCache pictures_;
  int pagesPrinted_ = 0;
  JobSettings job_;
};

// Applies the printer dialog's ten job settings in their order (copies, orientation,
// paper bin, resolution, collation, colour, duplex, font mode, form size, print
// file) to a printer not yet created; entries that say nothing are skipped, and
// the orientation is left to the report when `withOrientation` is false. A paper
// bin given by name rather than number is the printer's own tray of that name.
void applyPrinterSettings(lmcPrn3& printer, const std::vector<QString>& settings, bool withOrientation = true);

// A page printer for the device name, not yet created; test lInitErr before using it.
std::unique_ptr<lmcPrn3> lmNewPrinter(const QString& deviceName);

}  // namespace velmont::print
