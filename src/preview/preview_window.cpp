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

#include "qtcore/gui_thread.h"
#include "preview_keys.h"
#include "preview_printer.h"
#include "print/print_font.h"

namespace velmont::print {

namespace {

const QEvent::Type kCloseCall = QEvent::Type(QEvent::registerEventType());

// A widget font from a descriptor such as "10.MS Sans Serif Bold", in points.
QFont widgetFont(const QString& descriptor) {
  static const bool substituted = [] {
    // Faces of the original desktop that this platform may lack, mapped to metric twins.
    if (QFont::substitute("MS Sans Serif") == "MS Sans Serif")
      QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    return true;
  }();
  (void)substituted;
  const PrintFont font = PrintFont::fromDescriptor(descriptor);
  QFont shown(font.family);
  shown.setPointSizeF(font.pointSize);
  shown.setBold(font.bold);
  shown.setItalic(font.italic);
  return shown;
}

// The hidden control that receives every key of the window.
class KeyReceiver : public QWidget {
 public:
  KeyReceiver(PreviewWindow& window, lmcPrv3& preview)
      : QWidget(&window), window_(window), preview_(preview) {
    setFocusPolicy(Qt::StrongFocus);
    setObjectName("keyReceiver");
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const int code = pkey::keyCodeOf(*event);
    if (code && window_.waiting()) preview_.pWinKeys(code);
  }
  void customEvent(QEvent* event) override {
    if (event->type() == PostedKeyEvent::eventType() && window_.waiting())
      preview_.pWinKeys(static_cast<PostedKeyEvent*>(event)->code());
  }
  void wheelEvent(QWheelEvent* event) override {
    if (preview_.oArea) {
      QScrollBar* bar = preview_.oArea->verticalScrollBar();
      bar->setValue(bar->value() + (event->angleDelta().y() > 0 ? -kScrollStep : kScrollStep));
    }
  }

 private:
  PreviewWindow& window_;
  lmcPrv3& preview_;
};

// The page image on the canvas; drawseg draws it, painting only shows it.
class PageArea : public QWidget {
 public:
  PageArea(lmcPrv3& preview, QWidget* parent) : QWidget(parent), preview_(preview) {
    setObjectName("pageArea");
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    const QImage& image = preview_.pageImage();
    if (image.isNull()) {
      painter.fillRect(event->rect(), Qt::white);
      return;
    }
    painter.drawImage(event->rect(), image, event->rect());
  }

 private:
  lmcPrv3& preview_;
};

// The page display "page/pages"; a click on it asks for a page to show.
class PageDisplay : public QLabel {
 public:
  PageDisplay(PreviewWindow& window, lmcPrv3& preview, QWidget* parent)
      : QLabel(parent), window_(window), preview_(preview) {
    setObjectName("pageSay");
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    setToolTip("Go to page...");
  }

 protected:
  void mouseReleaseEvent(QMouseEvent*) override {
    if (window_.waiting()) preview_.askPage();
  }

 private:
  PreviewWindow& window_;
  lmcPrv3& preview_;
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

PreviewWindow::PreviewWindow(lmcPrv3& preview, const QString& deviceName, bool stayOnTop)
    : QWidget(nullptr, Qt::Window), preview_(preview) {
  setObjectName("previewWindow");
  setWindowFlag(Qt::WindowStaysOnTopHint, stayOnTop);
  setWindowTitle("  Preview for " + deviceName);
  // The report's options dialog is modal while a run previews: this window must still
  // take input, and it owns its own questions.
  setWindowModality(Qt::ApplicationModal);
  resize(cellRect(1, 1, 26, 70).size());
  preview_.oPwin = this;

  auto* keys = new KeyReceiver(*this, preview_);
  keys->setGeometry(cellRect(1, 1, 0, 0).topLeft().x(), 0, 1, 1);
  preview_.oKeySay = keys;
  preview_.bFocus = [keys] { keys->setFocus(Qt::OtherFocusReason); };

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
  canvas->resize(preview_.geometry_.canvas);
  auto* page = new PageArea(preview_, canvas);
  page->setGeometry(preview_.geometry_.page);
  area->setWidget(canvas);
  area->viewport()->installEventFilter(this);
  preview_.oArea = area;
  preview_.oCV = canvas;
  preview_.oPage = page;

  buildPanel();
}

PreviewWindow::~PreviewWindow() {
  if (preview_.oPwin == this) preview_.forgetWindow();
}

void PreviewWindow::buildPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName("previewPanel");
  panel->setGeometry(cellRect(1, 59, 26, 12));
  panel->setFont(widgetFont("8.Arial"));  // controls without a font of their own
  preview_.oPanel = panel;
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
  preview_.aLocals.zoomGroup = group;
  label(group, "Level", "10.Arial", QRect(8, 18, 38, 18));
  auto* level = new QLabel(QString::number(preview_.nLevel), group);
  level->setObjectName("levelSay");
  level->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  level->setAlignment(Qt::AlignCenter);
  level->setGeometry(50, 17, 36, 20);
  preview_.oLevelSay = level;
  // As high as the 16-point "-" needs, inside the group's frame.
  keyButton(group, "-", '-', "16.MS Sans Serif Bold", QRect(6, 38, 40, 27))->setObjectName("zoomOut");
  keyButton(group, "+", '+', "12.MS Sans Serif Bold", QRect(48, 38, 40, 27))->setObjectName("zoomIn");
}

void PreviewWindow::buildPageGroup(QWidget* panel) {
  auto* group = new QGroupBox("Page", panel);
  group->setGeometry(cellRect(5.2, 1.7, 4.7, 10.5));
  preview_.aLocals.pageGroup = group;
  auto* display = new PageDisplay(*this, preview_, group);
  display->setGeometry(6, 17, 82, 20);
  preview_.oPageSay = display;
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
  preview_.aLocals.printGroup = group;
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
  preview_.cPrintWhat = "all";
  preview_.aLocals.allPages = all;
  preview_.aLocals.currentPage = current;
  preview_.aLocals.range = range;
  connect(all, &QRadioButton::clicked, this, [this] {
    preview_.cPrintWhat = "all";
    chooseRange(false);
  });
  connect(current, &QRadioButton::clicked, this, [this] {
    preview_.cPrintWhat = "curr";
    chooseRange(false);
  });
  connect(range, &QRadioButton::clicked, this, [this] {
    preview_.cPrintWhat = "range";
    chooseRange(true);
  });

  label(group, "Pg", "8.Arial", QRect(6, 73, 16, 18));
  label(group, "to", "8.Arial", QRect(52, 73, 12, 18));
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
  preview_.oPget = field("firstPageField", 22);
  preview_.oTget = field("lastPageField", 64);
  keyButton(group, "~Print", 'p', "", QRect(6, 93, 82, 20))->setObjectName("print");
}

void PreviewWindow::chooseRange(bool range) {
  preview_.oPget->setEnabled(range);
  preview_.oTget->setEnabled(range);
  if (range)
    preview_.oPget->setFocus(Qt::OtherFocusReason);
  else if (preview_.bFocus)
    preview_.bFocus();
}

void PreviewWindow::buildMarkerGroup(QWidget* panel) {
  auto* group = new QGroupBox(panel);
  group->setGeometry(cellRect(16.75, 1.7, 4.95, 10.5));
  preview_.aLocals.markerGroup = group;
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
  const auto [rows, columns] = preview_.markerRanges();
  preview_.oSpinL = spin("refRow", 6, rows, preview_.nRefLine);
  preview_.oSpinC = spin("refCol", 26, columns, preview_.nRefCol);
  preview_.aLocals.spinEnd = [this] {
    preview_.nRefLine = preview_.oSpinL->value();
    preview_.drawRefLine();
  };
  preview_.aLocals.spinEndCol = [this] {
    preview_.nRefCol = preview_.oSpinC->value();
    preview_.drawRefCol();
  };

  auto* onTop = new QCheckBox(group);
  setButtonLabel(onTop, "~StayOnTop");
  onTop->setObjectName("stayOnTop");
  onTop->setGeometry(6, 46, 88, 18);
  onTop->setChecked(windowFlags() & Qt::WindowStaysOnTopHint);
  watch(onTop);
  connect(onTop, &QCheckBox::clicked, this, [this](bool checked) {
    setStayOnTop(checked);
    if (preview_.bFocus) preview_.bFocus();
  });
  preview_.aLocals.stayOnTop = onTop;

  auto* margin = keyButton(group, preview_.lShowMargin ? "Hide ~Margin" : "Show ~Margin", 'M', "",
                           QRect(6, 66, 82, 20));
  margin->setObjectName("margin");
  preview_.oMargBtn = static_cast<QPushButton*>(margin);
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
  preview_.aLocals.nextButton = static_cast<QPushButton*>(next);
  preview_.aLocals.lastButton = static_cast<QPushButton*>(last);
  preview_.aLocals.helpButton = static_cast<QPushButton*>(help);
  preview_.oQuit = static_cast<QPushButton*>(finish);
}

void PreviewWindow::postKey(int code) {
  if (preview_.oKeySay) QCoreApplication::postEvent(preview_.oKeySay, new PostedKeyEvent(code));
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
  if (QCheckBox* box = preview_.aLocals.stayOnTop; box && box->isChecked() != onTop) {
    const QSignalBlocker quiet(box);
    box->setChecked(onTop);
  }
}

void PreviewWindow::resizeEvent(QResizeEvent* event) {
  if (event->oldSize().isValid()) preview_.resizeArea(event->oldSize(), event->size());
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
  // The window stays; closing it from its system menu answers 0.
  event->ignore();
  if (waiting_) {
    preview_.nRetval = 0;
    preview_.finishCall();
  }
}

void PreviewWindow::customEvent(QEvent* event) {
  if (event->type() == kCloseCall && waiting_) preview_.finishCall();
}

void PreviewWindow::focusInEvent(QFocusEvent*) {
  if (preview_.bFocus) preview_.bFocus();
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (preview_.oArea && watched == preview_.oArea->viewport()) {
    if (type != QEvent::Wheel) return false;
    const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
    QScrollBar* bar = preview_.oArea->verticalScrollBar();
    bar->setValue(bar->value() + (delta > 0 ? -kScrollStep : kScrollStep));
    return true;
  }
  const bool input = type == QEvent::KeyPress || type == QEvent::MouseButtonPress ||
                     type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
  if (input && !waiting_) return true;  // between calls the report is drawing
  auto* spin = qobject_cast<QSpinBox*>(watched);
  const std::function<void()>* end = nullptr;
  if (spin) end = spin == preview_.oSpinL ? &preview_.aLocals.spinEnd : &preview_.aLocals.spinEndCol;
  if (spin && type == QEvent::MouseButtonRelease) {
    gui::later(this, [this, end] { if (waiting_ && *end) (*end)(); });
    return false;
  }
  if (type != QEvent::KeyPress) return false;
  const int code = pkey::keyCodeOf(*static_cast<QKeyEvent*>(event));
  if (spin) {
    if (code == pkey::kEsc || code == pkey::kEnter || code == pkey::kTab) {
      preview_.spinkeys(code, *end, spin);
      return true;
    }
    // The spin button takes the key first; then its value becomes the marker.
    gui::later(this, [this, code, end, spin] { if (waiting_) preview_.spinkeys(code, *end, spin); });
    return false;
  }
  if (auto* button = qobject_cast<QAbstractButton*>(watched)) {
    if (button->objectName() == "print" && code == pkey::kEnter) {
      postKey('p');
      return true;
    }
    if (code) preview_.pWinKeys(code);
    return true;
  }
  return false;
}

}  // namespace velmont::print
