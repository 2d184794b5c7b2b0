#include "rv_prn_dlg.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "school/session.h"
#include "data/error.h"
#include "widgets/cells.h"
#include "widgets/lmd_controls.h"
#include "widgets/lmd_dialog.h"
#include "widgets/lmd_messages.h"
#include "widgets/number_check.h"
#include "widgets/picture_edit.h"
#include "print_settings.h"

namespace velmont::printer {
namespace {

using widgets::LmdDialog;
using widgets::PictureEdit;
using widgets::SayOptions;

constexpr int kFieldCount = 5;

// The longest path the system takes for a file; the text file's field scrolls up to it.
#ifdef _WIN32
constexpr int kPathLimit = 259;
#else
constexpr int kPathLimit = 4095;
#endif

widgets::NumberRule ruleFor(const QString& name, const NumberCapacity& field) {
  return {name, field.minimum, field.maximum, field.decimals};
}

// The position (1 to kFieldCount) of the field that holds `w`, 0 for none.
int fieldPosition(const LmdDialog* dialog, const QWidget* w) {
  const auto& fields = dialog->fields();
  for (size_t i = 0; i < fields.size(); ++i)
    if (w && (fields[i] == w || fields[i]->isAncestorOf(w))) return int(i) + 1;
  return 0;
}

void focusField(LmdDialog* dialog, int position) {
  const auto& fields = dialog->fields();
  if (position >= 1 && position <= int(fields.size())) fields[size_t(position - 1)]->setFocus(Qt::TabFocusReason);
}

// The watermark choice keeps its arrow, Enter and Page Down keys for the
// dialog (they move between fields) while its list is closed.
class FieldKeys : public QObject {
 public:
  FieldKeys(QComboBox* combo, LmdDialog* dialog) : QObject(combo), combo_(combo), dialog_(dialog) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || combo_->view()->isVisible()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) return false;
    switch (key->key()) {
      case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_PageDown:
        QCoreApplication::sendEvent(dialog_, event);
        return true;
      default:
        return false;
    }
  }

 private:
  QComboBox* combo_;
  LmdDialog* dialog_;
};

class PrinterDialog {
 public:
  PrinterDialog(school::Session& session, const PrnDlgOptions& options) : session_(session), options_(options) {}

  PrtSettings run() {
    const school::SchoolFolder folder = session_.get(&school::SessionValues::folder);
    const std::vector<std::string> choices = watermarkChoices(folder.dir());
    const std::vector<std::string> errors = readPrintSettings(folder, stored_);
    QPointer<QWidget> hadFocus = QApplication::focusWidget();
    LmdDialog dialog(options_.owner, 12, 40, options_.title.isEmpty() ? QStringLiteral("  Printers") : options_.title,
                     options_.font.isEmpty() ? QStringLiteral("10.MS Sans Serif") : options_.font);
    dialog_ = &dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setObjectName("RVPrnDlg");
    build(choices);
    dialog.setKeyHandler([this](int key, QWidget* focus) { return handleKey(key, focus); });
    for (const std::string& e : errors)
      widgets::lmdMsg({QObject::tr("The print settings of this file cannot be read and will not be saved:"),
                       QString::fromStdString(e)},
                      0, options_.owner);
    dialog.show();
    if (options_.focus == 0) ok_->setFocus(Qt::OtherFocusReason);
    else focusField(&dialog, 1);
    dialog.exec();
    dialog_ = nullptr;
    if (hadFocus) hadFocus->setFocus(Qt::OtherFocusReason);
    return settings_;
  }

 private:
  void build(const std::vector<std::string>& choices) {
    LmdDialog* d = dialog_;
    if (options_.style == "recessed") {
      d->setStyleSheet(QStringLiteral("#RVPrnDlg { border: 2px inset gray; }"));
    }
    widgets::lmdSetColor(d, {widgets::kNoColour, options_.colours.background});
    SayOptions band{34, 1, Qt::AlignLeft, QStringLiteral("11.Arial Bold"), options_.colours};
    lmdSay(d, 1, 3, options_.prompt.isEmpty() ? QStringLiteral("Choose Printer:") : options_.prompt, band);
    const SayOptions small{0, 1, Qt::AlignLeft, QStringLiteral("9.Arial"), {}};
    auto sized = [&](double columns) {
      SayOptions o = small;
      o.columns = columns;
      return o;
    };
    // Rows are spaced for the entry fields, which stand higher than a row;
    // each label sits on its own row above its field, inside its group.
    widgets::lmdPshBtn(d, 2.3, 3, 12, QStringLiteral("Select Printer"), [this] { selectPrinter(); });
    printerName_ = lmdSay(d, 2.3, 16, options_.currentPrinter, sized(35));
    printerName_->setObjectName("printerName");
    widgets::lmdGBox(d, 3.8, 2, 6.1, 32.5, QStringLiteral("Fixed printer settings"));
    ok_ = widgets::lmdPshBtn(d, 4.1, 35.2, 6, QStringLiteral("OK"), [this] { finish(true); });
    lmdSay(d, 4.9, 3, QStringLiteral("Extra Top margin (mm) "), sized(16));
    marginRule_ = ruleFor(QStringLiteral("Extra Top margin (mm)"), stored_.marginField);
    widgets::lmdXGet(d, 5.9, 3, 4, widgets::numberShown(stored_.topMargin, stored_.marginField.decimals),
                     QStringLiteral("####"), {.check = widgets::numberCheck(marginRule_, d)});
    lmdSay(d, 5.9, 19, QStringLiteral("Letterhead"), sized(12));
    lmdSay(d, 7.2, 3, QStringLiteral("Watermark"), sized(7));
    lmdSay(d, 6.9, 19, QStringLiteral("Logo height (mm)"), sized(12));
    watermark_ = new QComboBox(d);
    for (const std::string& c : choices) watermark_->addItem(QString::fromStdString(c));
    // A stored picture that the list does not offer stays the choice.
    const QString current = stored_.watermark.empty() ? QStringLiteral("none") : QString::fromStdString(stored_.watermark);
    if (watermark_->findText(current) < 0) watermark_->addItem(current);
    watermark_->setCurrentIndex(watermark_->findText(current));
    widgets::placeInCells(watermark_, 8.2, 3, 1, 15);
    watermark_->installEventFilter(new FieldKeys(watermark_, d));
    d->addField(watermark_);
    watermark_->show();
    logoRule_ = ruleFor(QStringLiteral("Logo height (mm)"), stored_.logoField);
    logoRule_.minimum = std::max(logoRule_.minimum, -1.0);  // -1: no logo; below that means nothing
    PictureEdit* logo = widgets::lmdXGet(d, 8.2, 19, 4, widgets::numberShown(stored_.logoHeight, stored_.logoField.decimals),
                                         QStringLiteral("####"), {.check = widgets::numberCheck(logoRule_, d)});
    QLabel* suppress = lmdSay(d, 8.2, 23.2, QStringLiteral("(-1 to suppress)"), {8, 1, Qt::AlignLeft, QStringLiteral("7.Arial"), {}});
    suppress->move(logo->geometry().right() + 4, logo->y() + (logo->height() - suppress->height()) / 2);
    widgets::lmdPshBtn(d, 8.2, 35.2, 6, QStringLiteral("Cancel"), [this] {
      settings_[kPrtDeviceName] = QStringLiteral(" ");
      finish(false);
    });
    widgets::lmdGBox(d, 10.3, 2, 3.9, 39.2, QStringLiteral("ASCII file output"));
    lmdSay(d, 11.4, 3, QStringLiteral("Text file name"), sized(16));
    QLabel* headings = lmdSay(d, 11.4, 23, QStringLiteral("include Report Headings?"), sized(15));
    PictureEdit* file = widgets::lmdXGet(d, 12.4, 3, 30, QString(30, ' '), QString());
    file->setMaxLength(kPathLimit);  // a path is kept as typed; the field scrolls
    PictureEdit* withHeadings = widgets::lmdXGet(d, 12.4, 32, 1, QStringLiteral("Y"), QStringLiteral("Y"));
    // The "Y" stands under the end of its label, clear of the file name.
    withHeadings->move(std::max(file->geometry().right() + 8, headings->geometry().right() - withHeadings->rect().width()),
                       withHeadings->y());
  }

  QString fieldText(int position) const {
    QWidget* w = dialog_->fields()[size_t(position - 1)];
    if (auto* edit = qobject_cast<PictureEdit*>(w)) return edit->value();
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
    return {};
  }

  void selectPrinter() {
    FIND_WIN_PRN(settings_, dialog_);
    printerName_->setText(settings_[kPrtDeviceName]);
  }

  bool handleKey(int key, QWidget* focus) {
    bool exit = false, ok = false;
    if (!G2KEYS(key, fieldPosition(dialog_, focus), dialog_, exit, ok)) return false;
    if (exit) finish(ok);
    return true;
  }

  // Leaves the dialog; a confirmation saves first and stays when that fails.
  void finish(bool confirmed) {
    if (confirmed && !save()) return;
    if (confirmed) dialog_->accept();
    else dialog_->reject();
  }

  bool save() {
    // A number the field cannot hold is refused, never saved changed; the
    // refused field gets the focus back.
    for (int position : {1, 3}) {
      auto* edit = qobject_cast<PictureEdit*>(dialog_->fields()[size_t(position - 1)]);
      if (edit && !edit->checkNow()) {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
        return false;
      }
    }
    PrintSettings s = stored_;
    s.topMargin = widgets::typedNumber(fieldText(1), marginRule_).value_or(stored_.topMargin);
    s.logoHeight = widgets::typedNumber(fieldText(3), logoRule_).value_or(stored_.logoHeight);
    s.watermark = fieldText(2).trimmed().toStdString();
    const school::SchoolFolder folder = session_.get(&school::SessionValues::folder);
    try {
      writePrintSettings(folder, s);
    } catch (const data::DataError& e) {
      widgets::lmdMsg({QObject::tr("The print settings were not saved."), QString::fromStdString(e.what())}, 0,
                      dialog_);
      return false;
    }
    const std::string prAscii = fieldText(4).trimmed().toStdString();
    const std::string hdAscii = fieldText(5).trimmed().toStdString();
    session_.update([&](school::SessionValues& v) {
      v.prAscii = prAscii;
      v.hdAscii = hdAscii;
    });
    return true;
  }

  school::Session& session_;
  PrnDlgOptions options_;
  PrintSettings stored_;
  PrtSettings settings_;
  LmdDialog* dialog_ = nullptr;
  QLabel* printerName_ = nullptr;
  QPushButton* ok_ = nullptr;
  QComboBox* watermark_ = nullptr;
  widgets::NumberRule marginRule_, logoRule_;
};

}  // namespace

bool G2KEYS(int key, int field, widgets::LmdDialog* dialog, bool& lExit, bool& lOk) {
  switch (key) {
    case Qt::Key_Escape:
      lExit = true;
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_PageDown:
      if (field == 0) return false;
      if (field == kFieldCount) {
        lOk = true;
        lExit = true;
      } else {
        focusField(dialog, field + 1);
      }
      return true;
    case Qt::Key_Down:
      if (field == 0) return false;
      focusField(dialog, field == kFieldCount ? 1 : field + 1);
      return true;
    case Qt::Key_Up:
      if (field == 0) return false;
      focusField(dialog, field == 1 ? kFieldCount : field - 1);
      return true;
    default:
      return false;
  }
}

PrtSettings RVPrnDlg(school::Session& session, const PrnDlgOptions& options) {
  return PrinterDialog(session, options).run();
}

}  // namespace velmont::printer
