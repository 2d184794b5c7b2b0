#include "run_outcome_box.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/desktop_files.h"
#include "widgets/lmd_messages.h"
#include "reports/common/run_report.h"

namespace velmont::reports {
namespace {

const char* const kBoxName = "runOutcome";

QString count(int n, const char* word) { return QString::number(n) + ' ' + word + (n == 1 ? "" : "s"); }

QDialog* boxOf(QWidget* owner) {
  if (!owner) return nullptr;
  for (QDialog* d : owner->findChildren<QDialog*>(kBoxName, Qt::FindDirectChildrenOnly))
    if (d->isVisible()) return d;
  return nullptr;
}

// A button that opens `path` with the desktop's program; a failure is told.
void addOpener(QDialogButtonBox* buttons, const QString& text, const QString& path, QWidget* box) {
  QPushButton* b = buttons->addButton(text, QDialogButtonBox::ActionRole);
  QObject::connect(b, &QPushButton::clicked, box, [path, box] {
    if (!widgets::desktopOpen(path))
      widgets::lmdMsg({"The desktop did not open " + QDir::toNativeSeparators(path) + "."}, 0, box);
  });
}

// Hands the activation that showing the box took back to the window that had
// it, once: later the box becomes active as any window does. (Its buttons
// take clicks either way.)
class GiveKeysBack : public QObject {
 public:
  GiveKeysBack(QWidget* box, QWidget* back) : QObject(box), back_(back) { box->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::WindowActivate && back_) {
      back_->activateWindow();
      deleteLater();
    }
    return false;
  }

 private:
  QPointer<QWidget> back_;
};

}  // namespace

OutcomeView outcomeView(const QString& text, const RunOutcome& outcome) {
  OutcomeView v;
  v.lines << text;
  const QFileInfo where(outcome.destination);
  if (outcome.destination.isEmpty() || (outcome.pages == 0 && outcome.files == 0)) return v;
  if (where.isDir()) {
    v.folder = where.absoluteFilePath();
    v.lines << count(outcome.files, "file") + " with " + count(outcome.pages, "page") + " in all, and cards.csv, in " +
                   QDir::toNativeSeparators(v.folder) + ".";
  } else if (outcome.files > 0 && where.isFile()) {
    v.file = where.absoluteFilePath();
    v.folder = where.absolutePath();
    v.lines << count(outcome.pages, "page") + " in " + QDir::toNativeSeparators(v.file) + ".";
  } else {
    v.lines << count(outcome.pages, "page") + ".";
  }
  if (!v.folder.isEmpty() && !widgets::desktopOpens())
    v.lines << "This desktop offers no program to open files from here: find " +
                   QString(v.file.isEmpty() ? "the folder" : "the file") + " in your file manager.";
  return v;
}

QWidget* showRunOutcome(QWidget* owner, const OutcomeView& view) {
  QWidget* parent = owner ? owner : QApplication::activeWindow();
  closeRunOutcome(parent);
  auto* box = new QDialog(parent);
  box->setObjectName(kBoxName);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowTitle(QApplication::applicationDisplayName().isEmpty() ? QStringLiteral("Velmont Program")
                                                                       : QApplication::applicationDisplayName());
  auto* layout = new QVBoxLayout(box);
  auto* label = new QLabel(view.lines.join('\n'), box);
  label->setObjectName("outcomeText");
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);  // the path can be copied
  layout->addWidget(label);
  auto* buttons = new QDialogButtonBox(box);
  if (widgets::desktopOpens()) {
    if (!view.file.isEmpty())
      addOpener(buttons, view.file.endsWith(".pdf", Qt::CaseInsensitive) ? "Open PDF" : "Open File", view.file, box);
    if (!view.folder.isEmpty()) addOpener(buttons, "Open Folder", view.folder, box);
  }
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, box, &QDialog::accept);
  layout->addWidget(buttons);
  // The keys stay with the window that had them (the options dialog): the
  // next F4 or F5 goes there, and typing goes on in its field. A platform
  // that activates every new window anyway gets the keys handed back.
  QPointer<QWidget> active = QApplication::activeWindow();
  box->setAttribute(Qt::WA_ShowWithoutActivating);
  new GiveKeysBack(box, active && active != box ? active.data() : parent);
  box->show();
  box->raise();
  return box;
}

void closeRunOutcome(QWidget* owner) {
  QDialog* old = boxOf(owner);
  if (!old) return;
  const bool hadKeys = old->isActiveWindow();
  old->close();
  if (hadKeys && owner) owner->activateWindow();
}

}  // namespace velmont::reports
