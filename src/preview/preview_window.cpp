#include "preview_window.h"

#include <algorithm>
#include <QCheckBox>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <cmath>

#include "preview_answer.h"
#include "preview_keys.h"
#include "print/preview_document.h"
#include "print/print_font.h"
#include "qtcore/gui_thread.h"

namespace velmont::preview {

namespace {

const QEvent::Type kCloseCall = QEvent::Type(QEvent::registerEventType());

// A widget font from a descriptor such as "10.MS Sans Serif Bold", in points.
QFont widgetFont(const QString& descriptor) {
  print::installFontSubstitutions();
  const print::PrintFont font = print::PrintFont::fromDescriptor(descriptor);
  QFont shown(font.family);
  shown.setPointSizeF(font.pointSize);
  shown.setBold(font.bold);
  shown.setItalic(font.italic);
  return shown;
}

// The hidden control that receives every key of the window.
class KeyReceiver : public QWidget {
 public:
  explicit KeyReceiver(PreviewWindow& window) : QWidget(&window), window_(window) {
    setFocusPolicy(Qt::StrongFocus);
    setObjectName("keyReceiver");
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const int code = pkey::keyCodeOf(*event);
    if (code && window_.waiting()) window_.pWinKeys(code);
  }
  void customEvent(QEvent* event) override {
    if (event->type() == PostedKeyEvent::eventType() && window_.waiting())
      window_.pWinKeys(static_cast<PostedKeyEvent*>(event)->code());
  }
  void wheelEvent(QWheelEvent* event) override { window_.scrollSteps(event->angleDelta().y() > 0 ? -1 : 1, 0); }

 private:
  PreviewWindow& window_;
};

// The page image on the canvas; drawseg draws it, painting only shows it.
class PageArea : public QWidget {
 public:
  PageArea(const PreviewWindow& window, QWidget* parent) : QWidget(parent), window_(window) {
    setObjectName("pageArea");
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    const QImage& image = window_.pageImage();
    if (image.isNull()) {
      painter.fillRect(event->rect(), Qt::white);
      return;
    }
    // The image holds device pixels (devicePixelRatio of them to a widget pixel).
    const QRectF target(event->rect());
    const qreal ratio = image.devicePixelRatio();
    painter.drawImage(target, image,
                      QRectF(target.topLeft() * ratio, target.size() * ratio));
  }

 private:
  const PreviewWindow& window_;
};

// The page display "page/pages"; a click on it asks for a page to show.
class PageDisplay : public QLabel {
 public:
  PageDisplay(PreviewWindow& window, QWidget* parent) : QLabel(parent), window_(window) {
    setObjectName("pageSay");
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    setToolTip("Go to page...");
  }

 protected:
  void mouseReleaseEvent(QMouseEvent*) override {
    if (window_.waiting()) window_.askPage();
  }

 private:
  PreviewWindow& window_;
};

QLabel* label(QWidget* parent, const QString& text, const QString& font, const QRect& at) {
  auto* shown = new QLabel(text, parent);
  shown->setFont(widgetFont(font));
  shown->setGeometry(at);
  return shown;
}

}  // namespace

QEvent::Type PostedKeyEvent::eventType() {
  static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
  return type;
}

void setButtonLabel(QAbstractButton* button, const QString& label) {
  QString text = label;
  text.replace("&", "&&").replace("~", "&");
  button->setText(text);
  button->setShortcut(QKeySequence());  // the key handler serves the marked letter
}

PreviewWindow::PreviewWindow(print::PreviewDocument& document, bool stayOnTop)
    : QWidget(nullptr, Qt::Window), document_(document), geometry_(initialGeometry(document.aPaperSize)) {
  setObjectName("previewWindow");
  setWindowFlag(Qt::WindowStaysOnTopHint, stayOnTop);
  setWindowTitle("  Preview for " + document.deviceName());
  // The report's options dialog is modal while a run previews: this window must still
  // take input, and it owns its own questions.
  setWindowModality(Qt::ApplicationModal);
  resize(cellRect(1, 1, 26, 70).size());

  keys_ = new KeyReceiver(*this);
  keys_->setGeometry(cellRect(1, 1, 0, 0).topLeft().x(), 0, 1, 1);

  auto* area = new QScrollArea(this);
  area->setObjectName("previewArea");
  area->setGeometry(cellRect(1, 1, 26, 58));
  area->setWidgetResizable(false);
  area->setFocusPolicy(Qt::NoFocus);
  area->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
  area->horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
  area->verticalScrollBar()->setSingleStep(kScrollStep);
  area->horizontalScrollBar()->setSingleStep(kScrollStep);
  auto* canvas = new QWidget;
  canvas->setObjectName("previewCanvas");
  canvas->setAutoFillBackground(true);
  QPalette colours = canvas->palette();
  colours.setColor(QPalette::Window, QColor(149, 166, 195));
  canvas->setPalette(colours);
  canvas->resize(geometry_.canvas);
  auto* page = new PageArea(*this, canvas);
  page->setGeometry(geometry_.page);
  area->setWidget(canvas);
  area->viewport()->installEventFilter(this);
  area_ = area;
  canvas_ = canvas;
  page_ = page;

  buildPanel();
}

PreviewWindow::~PreviewWindow() { finishCall(0); }

void PreviewWindow::focusKeys() {
  if (keys_) keys_->setFocus(Qt::OtherFocusReason);
}

void PreviewWindow::buildPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName("previewPanel");
  panel->setGeometry(cellRect(1, 59, 26, 12));
  panel->setFont(widgetFont("8.Arial"));  // controls without a font of their own
  panel_ = panel;
  buildZoomGroup(panel);
  buildPageGroup(panel);
  buildPrintGroup(panel);
  buildMarkerGroup(panel);
  buildBottomButtons(panel);
}

QAbstractButton* PreviewWindow::keyButton(QWidget* parent, const QString& text, int key,
                                          const QString& font, const QRect& at) {
  auto* button = new QPushButton(parent);
  setButtonLabel(button, text);
  if (!font.isEmpty()) button->setFont(widgetFont(font));
  button->setGeometry(at);
  connect(button, &QPushButton::clicked, this, [this, key] { postKey(key); });
  watch(button);
  return button;
}

void PreviewWindow::watch(QWidget* control) { control->installEventFilter(this); }

void PreviewWindow::buildZoomGroup(QWidget* panel) {
  auto* group = new QGroupBox("Zoom", panel);
  group->setGeometry(cellRect(1.25, 1.7, 3.7, 10.5));
  label(group, "Level", "10.Arial", QRect(8, 18, 38, 18));
  auto* level = new QLabel(QString::number(level_), group);
  level->setObjectName("levelSay");
  level->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  level->setAlignment(Qt::AlignCenter);
  level->setGeometry(50, 17, 36, 20);
  levelSay_ = level;
  // As high as the 16-point "-" needs, inside the group's frame.
  keyButton(group, "-", '-', "16.MS Sans Serif Bold", QRect(6, 38, 40, 27))->setObjectName("zoomOut");
  keyButton(group, "+", '+', "12.MS Sans Serif Bold", QRect(48, 38, 40, 27))->setObjectName("zoomIn");
}

void PreviewWindow::buildPageGroup(QWidget* panel) {
  auto* group = new QGroupBox("Page", panel);
  group->setGeometry(cellRect(5.2, 1.7, 4.7, 10.5));
  auto* display = new PageDisplay(*this, group);
  display->setGeometry(6, 17, 82, 20);
  pageSay_ = display;
  keyButton(group, "<", ',', "10.MS Sans Serif", QRect(6, 39, 40, 20))->setObjectName("prevPage");
  keyButton(group, ">", '.', "10.MS Sans Serif", QRect(48, 39, 40, 20))->setObjectName("nextPage");
  keyButton(group, "<<", pkey::kCtrlComma, "10.MS Sans Serif", QRect(6, 61, 26, 20))
      ->setObjectName("firstPage");
  // The page-number button asks for a page (the key G): the key N is taken by the answers.
  keyButton(group, "~N#", 'G', "8.MS Sans Serif", QRect(34, 61, 26, 20))->setObjectName("pageNumber");
  keyButton(group, ">>", pkey::kCtrlPeriod, "10.MS Sans Serif", QRect(62, 61, 26, 20))
      ->setObjectName("lastPage");
}

void PreviewWindow::buildPrintGroup(QWidget* panel) {
  auto* group = new QGroupBox("Print", panel);
  // A little wider than the other groups' 10.5 columns: "C~urrent Page" needs it.
  group->setGeometry(cellRect(10.15, 1.3, 6.35, 11));
  auto radio = [&](const QString& text, const char* name, int y) {
    auto* button = new QRadioButton(group);
    setButtonLabel(button, text);
    button->setObjectName(name);
    button->setGeometry(4, y, std::max(88, button->sizeHint().width()), 18);
    watch(button);
    return button;
  };
  auto* all = radio("~All Pages", "allPages", 16);
  auto* current = radio("C~urrent Page", "currentPage", 34);
  auto* range = radio("Rang~e", "range", 52);
  all->setChecked(true);
  allPages_ = all;
  currentPageButton_ = current;
  rangeButton_ = range;
  connect(all, &QRadioButton::clicked, this, [this] {
    printWhat_ = "all";
    chooseRange(false);
  });
  connect(current, &QRadioButton::clicked, this, [this] {
    printWhat_ = "curr";
    chooseRange(false);
  });
  connect(range, &QRadioButton::clicked, this, [this] {
    printWhat_ = "range";
    chooseRange(true);
  });

  label(group, "Pg", "8.Arial", QRect(6, 73, 16, 18));
  QLabel* to = label(group, "to", "8.Arial", QRect(52, 73, 12, 18));
  // The first page field also takes a list of pages ("1-3,5,8-") when "to" is left empty.
  auto field = [&](const char* name, int x) {
    const bool first = x == 22;
    auto* edit = new QLineEdit(group);
    edit->setObjectName(name);
    edit->setFont(widgetFont("8.Arial"));
    edit->setMaxLength(first ? 60 : 3);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(first ? "[0-9, -]{0,60}" : "\\d{0,3}"), edit));
    edit->setGeometry(x, 72, 28, 18);
    edit->setEnabled(false);
    return edit;
  };
  firstPageField_ = field("firstPageField", 22);
  lastPageField_ = field("lastPageField", 64);
  // A list of pages ("1-3,5,57-") is shown whole: the first field takes the
  // room of "to" and the last page, which a list leaves empty.
  connect(firstPageField_, &QLineEdit::textChanged, this, [this, to](const QString& text) {
    const bool list = text.contains(',') || text.contains('-');
    if (list) lastPageField_->clear();
    to->setVisible(!list);
    lastPageField_->setVisible(!list);
    firstPageField_->resize(list ? lastPageField_->geometry().right() + 1 - firstPageField_->x() : 28,
                            firstPageField_->height());
  });
  keyButton(group, "~Print", 'p', "", QRect(6, 93, 82, 20))->setObjectName("print");
}

void PreviewWindow::chooseRange(bool range) {
  firstPageField_->setEnabled(range);
  lastPageField_->setEnabled(range);
  if (range)
    firstPageField_->setFocus(Qt::OtherFocusReason);
  else
    focusKeys();
}

void PreviewWindow::buildMarkerGroup(QWidget* panel) {
  auto* group = new QGroupBox(panel);
  group->setGeometry(cellRect(16.75, 1.7, 4.95, 10.5));
  label(group, "Ref Row", "8.Arial", QRect(6, 6, 44, 18));
  label(group, "Ref Col", "8.Arial", QRect(6, 26, 44, 18));
  auto spin = [&](const char* name, int y, int maximum, int value) {
    auto* box = new QSpinBox(group);
    box->setObjectName(name);
    box->setRange(0, std::max(0, maximum));
    box->setValue(value);
    box->setGeometry(50, y, 40, 18);
    watch(box);
    return box;
  };
  const auto [rows, columns] = markerRanges();
  rowSpin_ = spin("refRow", 6, rows, refRow_);
  columnSpin_ = spin("refCol", 26, columns, refColumn_);

  auto* onTop = new QCheckBox(group);
  setButtonLabel(onTop, "~StayOnTop");
  onTop->setObjectName("stayOnTop");
  onTop->setGeometry(6, 46, 88, 18);
  onTop->setChecked(windowFlags() & Qt::WindowStaysOnTopHint);
  watch(onTop);
  connect(onTop, &QCheckBox::clicked, this, [this](bool checked) {
    setStayOnTop(checked);
    focusKeys();
  });
  stayOnTop_ = onTop;

  auto* margin = keyButton(group, "Show ~Margin", 'M', "", QRect(6, 66, 82, 20));
  margin->setObjectName("margin");
  marginButton_ = static_cast<QPushButton*>(margin);
}

void PreviewWindow::buildBottomButtons(QWidget* panel) {
  auto at = [](double row) { return cellRect(row, 1.7, 1.15, 10.5); };
  auto* next = keyButton(panel, "~Quit", 'N', "10.Arial", at(22));
  next->setObjectName("nextOrQuit");
  auto* last = keyButton(panel, "~Last Page", 'L', "10.Arial", at(23.2));
  last->setObjectName("runToLast");
  auto* finish = keyButton(panel, "~Finish", 'F', "10.Arial", at(24.4));
  finish->setObjectName("finish");
  auto* help = keyButton(panel, "~Help", 'H', "", at(25.8));
  help->setObjectName("help");
  nextButton_ = static_cast<QPushButton*>(next);
  lastButton_ = static_cast<QPushButton*>(last);
  finishButton_ = static_cast<QPushButton*>(finish);
}

void PreviewWindow::postKey(int code) {
  QCoreApplication::postEvent(keys_, new PostedKeyEvent(code));
}

void PreviewWindow::postClose() { QCoreApplication::postEvent(this, new QEvent(kCloseCall)); }

void PreviewWindow::setStayOnTop(bool onTop) {
  if (bool(windowFlags() & Qt::WindowStaysOnTopHint) != onTop) {
    const bool shown = isVisible();
    const Qt::WindowStates state = windowState();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);  // hides the window
    if (shown) {
      setWindowState(state);
      show();
    }
  }
  if (QCheckBox* box = stayOnTop_; box && box->isChecked() != onTop) {
    const QSignalBlocker quiet(box);
    box->setChecked(onTop);
  }
}

void PreviewWindow::resizeEvent(QResizeEvent* event) {
  if (event->oldSize().isValid()) resizeArea(event->oldSize(), event->size());
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
  // The window stays; closing it from its system menu answers 0.
  event->ignore();
  finishCall(0);
}

void PreviewWindow::customEvent(QEvent* event) {
  if (event->type() == kCloseCall) finishCall(closingAnswer_);
}

void PreviewWindow::focusInEvent(QFocusEvent*) { focusKeys(); }

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (area_ && watched == area_->viewport()) {
    if (type != QEvent::Wheel) return false;
    scrollSteps(static_cast<QWheelEvent*>(event)->angleDelta().y() > 0 ? -1 : 1, 0);
    return true;
  }
  const bool input = type == QEvent::KeyPress || type == QEvent::MouseButtonPress ||
                     type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
  if (input && !waiting()) return true;  // between calls the report is drawing
  auto* spin = qobject_cast<QSpinBox*>(watched);
  if (spin && type == QEvent::MouseButtonRelease) {
    qtcore::later(this, [this, spin] {
      if (!waiting()) return;
      if (spin == rowSpin_)
        rowMarkerSet();
      else
        columnMarkerSet();
    });
    return false;
  }
  if (type != QEvent::KeyPress) return false;
  const int code = pkey::keyCodeOf(*static_cast<QKeyEvent*>(event));
  if (spin) {
    if (code == pkey::kEsc || code == pkey::kEnter || code == pkey::kTab) {
      spinkeys(code, spin);
      return true;
    }
    // The spin button takes the key first; then its value becomes the marker.
    qtcore::later(this, [this, code, spin] {
      if (waiting()) spinkeys(code, spin);
    });
    return false;
  }
  if (auto* button = qobject_cast<QAbstractButton*>(watched)) {
    if (button->objectName() == "print" && code == pkey::kEnter) {
      postKey('p');
      return true;
    }
    if (code) pWinKeys(code);
    return true;
  }
  return false;
}

}  // namespace velmont::preview
