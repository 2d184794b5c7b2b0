#pragma once
// The preview printer: a preview document (print/preview_document.h) with its window. It
// shows the recorded pages in the preview window and puts the print questions to the
// user; recording and printing are the document's.
//
// A run uses it like a page printer:
//   auto printer = lmNewPreview(deviceName);       // then test lInitErr
//   ... as a preview document: openPwin shows the window and waits for its answer.
//
// Threads: a report draws on its worker thread; the window and its widgets live on the
// GUI thread. openPwin, called by the worker, shows the window on the GUI thread and
// blocks the worker until the window answers; the window's handlers touch this object
// only while the worker waits there. openPwin, destroyPwin and destroy wait for the GUI
// thread, which therefore must not be waiting for the run meanwhile.
#include <QImage>
#include <QSize>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "preview_geometry.h"
#include "print/preview_document.h"

class QCheckBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QWidget;

namespace velmont::print {

class PreviewWindow;
class PreviewAnswer;

// The window's other working values: its controls by role and the current call's mode.
struct PreviewLocals {
  QGroupBox* zoomGroup = nullptr;
  QGroupBox* pageGroup = nullptr;
  QGroupBox* printGroup = nullptr;
  QGroupBox* markerGroup = nullptr;
  QPushButton* nextButton = nullptr;  // "~Quit", or "~Next Page" while stepping
  QPushButton* lastButton = nullptr;  // "~Last Page"
  QPushButton* helpButton = nullptr;
  QCheckBox* stayOnTop = nullptr;
  QRadioButton* allPages = nullptr;
  QRadioButton* currentPage = nullptr;
  QRadioButton* range = nullptr;
  bool stepping = false;              // the current call is a stepping call
  std::function<void()> spinEnd;      // end callback of the row marker's spin button
  std::function<void()> spinEndCol;   // and of the column marker's
};

class lmcPrv3 : public PreviewDocument {
 public:
  lmcPrv3();
  ~lmcPrv3() override;

  PreviewWindow* oPwin = nullptr;  // the preview window
  QScrollArea* oArea = nullptr;    // its scroll area
  QWidget* oCV = nullptr;          // the canvas in the scroll area
  QWidget* oPage = nullptr;        // the page image on the canvas
  bool lShowMargin = false;
  QWidget* oPanel = nullptr;       // the control panel
  QWidget* oKeySay = nullptr;      // the hidden key receiver
  QString cPrintWhat;              // "all", "curr" or "range"
  QLabel* oLevelSay = nullptr;
  int nLevel = 0;                  // zoom level, 0 to 8
  QLabel* oPageSay = nullptr;      // "page/pages"
  int nCurPage = 0;                // the page on display
  QLineEdit* oPget = nullptr;      // first page of a range
  QLineEdit* oTget = nullptr;      // last page of a range
  QPushButton* oQuit = nullptr;    // "~Finish", shown while stepping
  int nRetval = 0;                 // the window's answer
  PreviewLocals aLocals;
  std::function<void()> bFocus;    // gives the focus back to the key receiver
  int nRefLine = 0, nOldRefL = 0;  // reference row: current, last drawn
  QSpinBox* oSpinL = nullptr;
  int nRefCol = 0, nOldRefC = 0;   // reference column: current, last drawn
  QSpinBox* oSpinC = nullptr;
  double nColWid = 0;              // pitch of the reference column, 0.1 mm
  bool lShowFirst = false;
  QPushButton* oMargBtn = nullptr;
  bool lIsOpen = false;            // the window has been built and opened

  // Runs the document's create and sets up the window's members.
  lmcPrv3& create() override;
  // Destroys the window (when alive), then the document.
  lmcPrv3& destroy() override;
  // Follows a resize of the window: the scroll area grows and the panel moves with it.
  void resizeArea(QSize oldSize, QSize newSize);
  // Draws the page nSeg into the page image: blank paper, the margin outline when
  // shown, the page, and the reference markers.
  void drawseg();
  // One zoom step: 1 in, -1 out. Stores the level reached in c_Level, even at a bound.
  void zoom(int direction);
  // The rectangle of the page image onto which the printable area is mapped, pixels with
  // y upwards from the image's bottom edge.
  void calcVP(double& x1, double& y1, double& x2, double& y2);
  // Shows the window on the recorded pages and waits for the user's answer: 0 stop or
  // finished, 1 go on and ask again before the next page, 2 run on to the end.
  int openPwin(const PwinOptions& options = {}) override;
  // Prints as the document does, then brings the page image's viewport back.
  void printSeg(const QString& what, int first = 0, int last = 0) override;
  void printList(const QString& list) override;
  // The window's key handler: every key and button of the window acts through it.
  void pWinKeys(int key);
  // Shows or hides the printable area's outline.
  void togmar();
  // Shows page n (1 to the number of pages), or the "next" or "prev" page.
  void gotoPage(int page);
  void gotoPage(const QString& which);
  // Draw the reference row and column markers; drawing one again removes it.
  void drawRefLine();
  void drawRefCol();
  // Key handler of the reference spin buttons.
  void spinkeys(int key, const std::function<void()>& endCallback, QSpinBox* spin);
  // The modal help window of all keys.
  void showhelp(QWidget* owner);
  // Key handler of the help window.
  void helpkeys(int key, QDialog* help, QScrollArea* area);

  // Not part of the report interface.
  // Destroys the window, from any thread; the run does so after the final call.
  void destroyPwin() override;
  // The page image that drawseg draws, and the geometry of the canvas and page image.
  const QImage& pageImage() const { return pageImage_; }
  const PreviewGeometry& geometry() const { return geometry_; }
  // Asks for a page number and shows that page (the go-to-page prompt).
  void askPage();

 protected:
  bool confirmPrint(const QString& question) override;
  std::optional<QString> chooseOutputFile(const QString& suggested) override;
  void tell(const QStringList& lines) override;
  void pageAdded() override;

 private:
  friend class PreviewWindow;

  void showPageCount();
  void applyGeometry();
  void scrollSteps(int vertical, int horizontal);
  void beginCall(bool stepping, bool maximize, bool stayOnTop, int zoomLevel,
                 const std::shared_ptr<PreviewAnswer>& answer);
  void finishCall();
  void forgetWindow();
  void drawMarker(bool row, int marker);
  // The last row and column a reference marker can take.
  std::pair<int, int> markerRanges() const;
  void printRange();
  QWidget* owner() const;

  PreviewGeometry geometry_;
  std::array<double, 4> viewport_{};  // applied calcVP result
  QImage pageImage_;
  std::shared_ptr<PreviewAnswer> answer_;  // the call being waited for
};

// A preview printer for the device name, not yet created; test lInitErr before using it.
std::unique_ptr<lmcPrv3> lmNewPreview(const QString& deviceName);

}  // namespace velmont::print
