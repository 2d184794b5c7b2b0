#include "preview_help.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "preview_keys.h"
#include "preview_geometry.h"
#include "print/print_font.h"

namespace velmont::preview {

namespace {

constexpr int kLineWidth = 52;
constexpr double kLineRows = 0.8;  // one line of the key text, in rows

struct HelpLine {
  const char* key;
  const char* action;
  int at = 20;  // the action's position, from 1
};

// The page-number prompt is reached with G: the key N answers the window.
constexpr HelpLine kHelpLines[] = {
    {"Up/Down Arrow", "Scroll up/down 10 pixels"},
    {"CTRL+Up/Down", "Scroll up/down 100 pixels"},
    {"PgUp/PgDn", "Scroll up/down in big jumps"},
    {"Left/Right Arrow", "Scroll left/right 10 pixels"},
    {"CTRL+Left/Right", "Scroll left/right 100 pixels"},
    {"", ""},
    {"+ keys", "Increase Zoom one level"},
    {"- keys", "Decrease Zoom one level"},
    {"", ""},
    {"</>keys", "Go to previous/next page"},
    {"CTRL + </>", "Go to first/last page"},
    {"G", "Specify page number, then"},
    {"", "press Enter"},
    {"", ""},
    {"P", "Print specified pages"},
    {"A", "Specify All pages"},
    {"U", "Specify current page"},
    {"E", "Specify Range of pages (use"},
    {"", "TAB or SHIFT-TAB to navigate", 22},
    {"", "out of the Page numbers)", 22},
    {"", ""},
    {"M", "Show/Hide page margin"},
    {"SHIFT+Up/Down", "Move Row marker up/down"},
    {"SHIFT+Left/right", "Move Column marker left/right"},
    {"ALT+Spacebar", "Open system menu to Maximize,"},
    {"", "Minimize, Restore, Close window", 22},
    {"ESC", "Close window"},
    {"", ""},
    {"", ""},
    {"N", "Continue to next page"},
    {"L", "run to Last page"},
    {"F", "Finish at this page"},
    {"Q", "Quit this window"},
    {"", ""},
    {"H", "Help window"},
};

constexpr const char* kCategories[] = {"Page Scrolling", "Zooming",       "Page",          "Navigation",
                                       "Print Options",  "Other Options", "Bottom Buttons"};

QFont shownFont(const QString& descriptor) {
  const print::PrintFont font = print::PrintFont::fromDescriptor(descriptor);
  QFont shown(font.family);
  shown.setPointSizeF(font.pointSize);
  shown.setBold(font.bold);
  return shown;
}

// The key text, one line every 0.8 rows so that it lines up with the category labels.
class KeyText : public QWidget {
 public:
  KeyText(const QString& text, QWidget* parent) : QWidget(parent), lines_(text.split('\n')) {
    setObjectName("helpText");
    setProperty("text", text);
    setFont(shownFont("10.Courier New"));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const int ascent = fontMetrics().ascent();
    for (int i = 0; i < lines_.size(); ++i)
      painter.drawText(QPointF(0, i * kLineRows * kCellHeight + ascent), lines_[i]);
  }

 private:
  QStringList lines_;
};

class HelpDialog : public QDialog {
 public:
  explicit HelpDialog(QWidget* owner) : QDialog(owner) {
    setObjectName("previewHelp");
    setWindowTitle("    Print Preview Help");
    setWindowModality(Qt::ApplicationModal);
    // The key text starts clear of the widest category label, and the window
    // is wide enough (at least 60 columns) to show every line without scrolling.
    const QFontMetrics keys(shownFont("10.Courier New")), categories(shownFont("10.Arial Bold"));
    int widestCategory = 0;
    for (const char* name : kCategories) widestCategory = std::max(widestCategory, categories.horizontalAdvance(name));
    textLeft_ = std::max(cellRect(1, 12, 1, 1).x(), cellRect(1, 1.5, 1, 1).x() + widestCategory + 10);
    const int canvasWidth = textLeft_ + keys.horizontalAdvance(QString(kLineWidth, 'M')) + 8;
    const int scrollBar = QScrollBar(Qt::Vertical).sizeHint().width();
    const double rows = 22.5;
    const double columns = std::max(60.0, std::ceil((canvasWidth + scrollBar + 4) / kCellWidth + 4.6));
    setFixedSize(cellRect(1, 1, rows, columns).size());

    auto* heading = new QLabel("Keystrokes For Preview Window", this);
    heading->setFont(shownFont("12.Times New Roman"));
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    heading->setGeometry(0, cellRect(1.2, 1, 1, 1).y(), width(),
                         std::min(heading->fontMetrics().height(), cellRect(2.5, 1, 1, 1).y() - cellRect(1.2, 1, 1, 1).y()));

    auto* group = new QGroupBox(this);
    group->setGeometry(cellRect(2.5, 3, rows - 3.5, columns - 4));
    auto* titles = new QLabel("Category           Keystroke                       Action", group);
    titles->setFont(shownFont("10.Arial Bold"));
    titles->setGeometry(cellRect(1.7, 2.3, 1, columns - 8));
    auto* rule = new QFrame(group);
    rule->setFrameStyle(QFrame::HLine | QFrame::Raised);
    rule->setGeometry(cellRect(2.8, 1.4, 0.2, columns - 6.6));

    area_ = new QScrollArea(group);
    area_->setObjectName("helpArea");
    area_->setGeometry(cellRect(3, 1.4, rows - 5.7, columns - 4.6));
    area_->setFocusPolicy(Qt::NoFocus);
    area_->verticalScrollBar()->setSingleStep(kScrollStep);
    area_->viewport()->installEventFilter(this);
    auto* canvas = new QWidget;
    canvas->setAutoFillBackground(true);
    QPalette colours = canvas->palette();
    colours.setColor(QPalette::Window, QColor(202, 202, 202));
    canvas->setPalette(colours);
    auto* text = new KeyText(previewHelpText(), canvas);
    const QRect textAt = cellRect(1, 12, 29, columns - 6);
    text->setGeometry(textLeft_, textAt.y(), text->fontMetrics().horizontalAdvance(QString(kLineWidth, 'M')) + 2,
                      textAt.height());
    canvas->resize(std::max(area_->viewport()->width() - area_->verticalScrollBar()->sizeHint().width(),
                            text->geometry().right() + 4),
                   cellRect(1, 1, 30, 1).height());
    auto category = [&](const char* name, double row, double column) {
      auto* shown = new QLabel(name, canvas);
      shown->setFont(shownFont("10.Arial Bold"));
      shown->move(cellRect(row, column, 1, 1).topLeft());
    };
    category(kCategories[0], 1, 1.5);
    category(kCategories[1], 5.8, 1.5);
    category(kCategories[2], 8.3, 1.5);
    category(kCategories[3], 9.3, 1.5);
    category(kCategories[4], 12.1, 1.5);
    category(kCategories[5], 17.7, 1.3);
    category(kCategories[6], 24.1, 1.5);
    area_->setWidget(canvas);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("helpOk");
    const QRect okAt = cellRect(rows - 0.95, 1, 1.3, 6);
    ok->setGeometry((width() - okAt.width()) / 2, group->geometry().bottom() + 4, okAt.width(),
                    std::min(okAt.height(), height() - group->geometry().bottom() - 6));
    ok->installEventFilter(this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override { helpkeys(pkey::keyCodeOf(*event)); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == area_->viewport() && event->type() == QEvent::Wheel) {
      const bool away = static_cast<QWheelEvent*>(event)->angleDelta().y() > 0;
      helpkeys(away ? pkey::kUp : pkey::kDown);
      return true;
    }
    if (event->type() == QEvent::KeyPress) {
      helpkeys(pkey::keyCodeOf(*static_cast<QKeyEvent*>(event)));
      return true;
    }
    return false;
  }

 private:
  // Esc and Enter close the help; the arrows scroll it.
  void helpkeys(int key) {
    if (key == pkey::kEsc || key == pkey::kEnter) {
      accept();
      return;
    }
    if (key == pkey::kUp || key == pkey::kDown) {
      QScrollBar* bar = area_->verticalScrollBar();
      bar->setValue(bar->value() + (key == pkey::kUp ? -kScrollStep : kScrollStep));
    }
  }

  QScrollArea* area_ = nullptr;
  int textLeft_ = 0;
};

}  // namespace

QString previewHelpText() {
  QStringList lines;
  for (const HelpLine& line : kHelpLines) {
    QString text = QString::fromLatin1(line.key);
    if (*line.action) text = text.leftJustified(line.at - 1, ' ') + QString::fromLatin1(line.action);
    lines << text.leftJustified(kLineWidth, ' ', true);
  }
  return lines.join('\n');
}

void showPreviewHelp(QWidget* owner) {
  QPointer<QWidget> before = QApplication::focusWidget();
  auto* help = new HelpDialog(owner);
  QObject::connect(help, &QDialog::finished, help, [help, before] {
    if (before) {
      before->window()->activateWindow();
      before->setFocus(Qt::OtherFocusReason);
    }
    help->deleteLater();
  });
  help->show();
  help->activateWindow();
  help->setFocus(Qt::OtherFocusReason);
}

}  // namespace velmont::preview
