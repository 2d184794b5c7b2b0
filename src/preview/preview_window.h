#pragma once
// The preview window on a recorded preview document: the scroll area with the page
// image on its canvas, the control panel on the right, and the hidden key receiver.
// Every button posts its key code to the key receiver and every key reaches the key
// handler (pWinKeys), which pages, zooms, marks and prints through the document.
//
// It lives on the GUI thread. A report's thread asks it one call at a time (beginCall)
// and waits for the answer; while a call waits, the window takes keys and clicks and
// the document holds still, so the window reads and moves its pages freely.
#include <QEvent>
#include <QImage>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <utility>

#include "preview_geometry.h"

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;

namespace velmont::print {
class PreviewDocument;
}  // namespace velmont::print

namespace velmont::preview {

class PreviewAnswer;

// A button label in the "~" form of the program's texts ("~Next Page"): the marked letter
// is shown underlined; the key itself is served by the key handler, not by the button.
void setButtonLabel(QAbstractButton* button, const QString& label);

// How one call shows the window.
struct PreviewCall {
  bool stepping = false;    // a stepping call: Next Page, Last Page and Finish
  bool maximize = true;     // maximized when first shown
  int zoomLevel = 0;        // zoom-in steps when first shown
  bool showMargin = false;  // the printable area's outline when first shown
  bool showFirst = false;   // page 1 rather than the page last recorded
  double columnWidth = 0;   // pitch of the reference column marker, 0.1 mm
};

class PreviewWindow : public QWidget {
  Q_OBJECT
 public:
  // Builds the window and its controls on `document`, which outlives it.
  PreviewWindow(print::PreviewDocument& document, bool stayOnTop);
  // A call still waiting is answered 0.
  ~PreviewWindow() override;

  // Shows the document's pages and takes input until the user answers the call;
  // `answer` then gets 0 stop or finished, 1 go on and ask again before the next
  // page, or 2 run on to the end.
  void beginCall(const PreviewCall& call, std::shared_ptr<PreviewAnswer> answer);
  // While a call waits, the window takes keys and clicks; between calls it only shows
  // the last page.
  bool waiting() const { return answer_ != nullptr; }

  // Posts a key code to the key receiver, as the buttons do.
  void postKey(int code);
  // Posts the event that ends the current call.
  void postClose();
  void setStayOnTop(bool onTop);
  // Shows "page/pages" with the document's page count `pages`.
  void showPageCount(int pages);

  // The window's key handler: every key and button of the window acts through it.
  void pWinKeys(int key);
  // Draws the page on display into the page image: blank paper, the margin outline when
  // shown, the page, and the reference markers.
  void drawseg();
  // One zoom step: 1 in, -1 out. Stores the level reached in c_Level, even at a bound.
  void zoom(int direction);
  // The rectangle of the page image onto which the printable area is mapped, pixels with
  // y upwards from the image's bottom edge.
  void calcVP(double& x1, double& y1, double& x2, double& y2) const;
  // Shows or hides the printable area's outline.
  void togmar();
  // Shows page n (1 to the number of pages), or the "next" or "prev" page.
  void gotoPage(int page);
  void gotoPage(const QString& which);
  // Asks for a page number and shows that page (the go-to-page prompt).
  void askPage();
  // Scrolls the page area by steps of kScrollStep pixels: down and right are positive.
  void scrollSteps(int vertical, int horizontal);

  // What the window shows.
  int level() const { return level_; }              // zoom level, 0 to 8
  int currentPage() const { return currentPage_; }  // the page on display, from 1
  bool marginShown() const { return showMargin_; }
  int refRow() const { return refRow_; }            // reference row marker, 0 for none
  int refColumn() const { return refColumn_; }      // reference column marker, 0 for none
  double columnPitch() const { return columnPitch_; }
  const QString& printWhat() const { return printWhat_; }  // "all", "curr" or "range"
  const QImage& pageImage() const { return pageImage_; }
  const PreviewGeometry& pageGeometry() const { return geometry_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void customEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildPanel();
  void buildZoomGroup(QWidget* panel);
  void buildPageGroup(QWidget* panel);
  void buildPrintGroup(QWidget* panel);
  void buildMarkerGroup(QWidget* panel);
  void buildBottomButtons(QWidget* panel);
  QAbstractButton* keyButton(QWidget* parent, const QString& label, int key, const QString& font,
                             const QRect& at);
  void watch(QWidget* control);
  void chooseRange(bool range);
  // Gives the focus back to the key receiver.
  void focusKeys();
  // Answers the waiting call; the caller goes on from there.
  void finishCall(int answer);
  // Ends the call with `answer` once the key handler has returned.
  void answerWith(int answer);
  void applyGeometry();
  void resizeArea(QSize oldSize, QSize newSize);
  void printRange();
  void print(const QString& what, int first = 0, int last = 0);
  void printList(const QString& list);
  // Draw the reference row and column markers; drawing one again removes it.
  void drawRefLine();
  void drawRefCol();
  void drawMarker(bool row, int marker);
  void redrawMarker(bool row, int wanted, int& drawn);
  void rowMarkerSet();
  void columnMarkerSet();
  // The last row and column a reference marker can take.
  std::pair<int, int> markerRanges() const;
  // Key handler of the reference spin buttons.
  void spinkeys(int key, QSpinBox* spin);

  print::PreviewDocument& document_;
  std::shared_ptr<PreviewAnswer> answer_;  // the call being waited for
  int closingAnswer_ = 0;                  // the answer of a close on its way
  bool stepping_ = false;                  // the current call is a stepping call
  bool opened_ = false;                    // shown and zoomed to its opening level
  int level_ = 0;
  int currentPage_ = 0;
  bool showMargin_ = false;
  QString printWhat_ = QStringLiteral("all");
  int refRow_ = 0, drawnRefRow_ = 0;        // reference row: current, last drawn
  int refColumn_ = 0, drawnRefColumn_ = 0;  // reference column: current, last drawn
  double columnPitch_ = 0;
  PreviewGeometry geometry_;
  std::array<double, 4> viewport_{};  // applied calcVP result
  QImage pageImage_;

  QWidget* keys_ = nullptr;  // the hidden key receiver
  QScrollArea* area_ = nullptr;
  QWidget* canvas_ = nullptr;
  QWidget* page_ = nullptr;  // the page image on the canvas
  QWidget* panel_ = nullptr;
  QLabel* levelSay_ = nullptr;
  QLabel* pageSay_ = nullptr;  // "page/pages"
  QRadioButton* allPages_ = nullptr;
  QRadioButton* currentPageButton_ = nullptr;
  QRadioButton* rangeButton_ = nullptr;
  QLineEdit* firstPageField_ = nullptr;
  QLineEdit* lastPageField_ = nullptr;
  QSpinBox* rowSpin_ = nullptr;
  QSpinBox* columnSpin_ = nullptr;
  QCheckBox* stayOnTop_ = nullptr;
  QPushButton* marginButton_ = nullptr;
  QPushButton* nextButton_ = nullptr;    // "~Quit", or "~Next Page" while stepping
  QPushButton* lastButton_ = nullptr;    // "~Last Page"
  QPushButton* finishButton_ = nullptr;  // "~Finish", shown while stepping
};

// The event a button posts to the key receiver.
class PostedKeyEvent : public QEvent {
 public:
  static QEvent::Type eventType();
  explicit PostedKeyEvent(int code) : QEvent(eventType()), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

}  // namespace velmont::preview
