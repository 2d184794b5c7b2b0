#pragma once
// The preview document: a page printer that records every page as a segment instead of
// printing it, and prints all of them, one of them or a range on the printer it was made
// for. It knows no window: a window (lmcPrv3 in the preview library) shows the recorded
// pages through the public members below and answers openPwin; without one, openPwin
// answers 0 at once, as a run without a screen needs.
//
// A run uses it like a page printer:
//   printer->setOrientation(...); printer->create(); printer->startDoc();
//   ... draw; before each further card, while the choice is 1:
//   choice = printer->openPwin({.stepping = true});  // 0 stop, 1 ask again, 2 run on
//   printer->newPage(); ... printer->endDoc();
//   printer->openPwin();                             // the final window
//   printer->destroyPwin(); printer->destroy();
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "page_printer.h"

namespace velmont::print {

// The arguments of openPwin, in their order; one not given takes its default.
struct PwinOptions {
  std::optional<bool> stepping{};       // a stepping window (false)
  std::optional<bool> maximize{};       // maximize when first shown (true)
  std::optional<bool> stayOnTop{};      // initial stay-on-top state (false)
  std::optional<int> zoomLevel{};       // zoom-in steps when first shown (c_Level)
  std::optional<bool> printPrompt{};    // ask before printing (true)
  std::optional<bool> showMargin{};     // show the printable area's outline (false)
  std::optional<bool> showFirst{};      // show page 1 when the window opens (false)
  std::optional<double> columnWidth{};  // pitch of the reference column marker (nPt)
  std::optional<bool> scrollFlag{};     // passed to the scroll area (false)
  std::optional<int> icon{};            // the window's icon number (10)
};

class PreviewDocument : public lmcPrn3 {
 public:
  PreviewDocument();
  ~PreviewDocument() override;

  // Passes its arguments to the page printer's Init; keeps the device name for the
  // window's title.
  using lmcPrn3::Init;
  PreviewDocument& Init(const QString& deviceName, bool showError = true,
                        const QVariant& owner = {}) override;

  PaperSize aPaperSize{};          // paper width, height, printable left, bottom, right, top
  std::array<double, 2> aPageSize{};  // printable width and height
  std::vector<int> aSegments;      // one segment per page, page n is entry n
  int nSeg = 0;                    // the page being recorded, or the page on display
  std::array<std::optional<int>, 5> aAreaAttr{};  // entry 1: the fill colour
  std::array<std::optional<int>, 4> aLineAttr{};  // colour, mix mode, width, line type
  QString cOrient;                 // "P" or "L"
  bool lPrnPrompt = true;          // ask before printing
  // Refuses a file chosen to print to (one of the school's files, say): the
  // lines that say why, none when it may be written. Unset: every file may be.
  std::function<QStringList(const QString& file)> outputCheck;
  // The name its pages are offered under when saved as a PDF ("" for the
  // report's title), and the report whose last save folder the question starts in.
  QString saveName;
  QString saveReport;

  // Runs the page printer's create and sets up the recording surface.
  PreviewDocument& create() override;
  // Drops the segments, then destroys the page printer.
  PreviewDocument& destroy() override;
  // Shows the recorded pages and waits for the user's answer: 0 stop or finished, 1 go
  // on and ask again before the next page, 2 run on to the end. A document without a
  // window answers 0.
  virtual int openPwin(const PwinOptions& options = {});
  // Closes the window, from any thread; a document without one has nothing to close.
  virtual void destroyPwin() {}
  // Start recording page 1; end the current page and record the next; end the current
  // page. No print job is started or ended.
  void startdoc();
  void newpage();
  void enddoc();
  // A preview keeps the orientation the printer had at create.
  void orient(const QString& orientation) override;
  // Prints "all" pages, the "curr"ent page or a "range" from first to last on the
  // printer, as one print job; asks first when lPrnPrompt is set.
  virtual void printSeg(const QString& what, int first = 0, int last = 0);
  // Prints the pages of a list as a user types it ("1-3,5,8-"): those that
  // exist, in page order, as one print job; then tells which were missing. A
  // wrong list is told why and nothing is printed.
  virtual void printList(const QString& list);

  // The page printer's document cycle records pages instead.
  bool startDoc(const QString& name = {}) override;
  void newPage() override;
  bool endDoc() override;

  // The recorded page of a segment, or null.
  const PageList* segmentPage(int segment) const;
  int pageCount() const { return int(aSegments.size()); }
  // The page number (1 up) of a segment, or 0 when it is none of the document's.
  int positionOf(int segment) const;
  // Makes the page being drawn visible as it stands; the next newpage or enddoc
  // records it with everything drawn meanwhile.
  void publishOpenPage();
  const QString& deviceName() const { return deviceName_; }

 protected:
  // What printing asks and tells; a window puts these before the user. Without one the
  // pages print without a question, a device that writes files writes the file it was
  // given (nothing when it has none), and nothing is told.
  virtual bool confirmPrint(const QString& question) { return true; }
  virtual std::optional<QString> chooseOutputFile(const QString& suggested);
  virtual void tell(const QStringList& lines) {}
  // Called after newpage has opened the next page; a window shows the new page count.
  virtual void pageAdded() {}
  // Asks `question` (when set to) and prints the segments as one job; false when nothing was printed.
  bool printChosen(const QString& question, const std::vector<int>& chosen);

 private:
  void closeSegment();
  void openSegment();

  std::vector<std::shared_ptr<const PageList>> pages_;  // by segment number - 1
  int open_ = 0;                     // the segment being recorded, 0 when none
  QString deviceName_;
  QString docName_;  // the report's title, the name its saved pages are offered under
};

}  // namespace velmont::print
