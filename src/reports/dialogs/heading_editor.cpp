#include "heading_editor.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>

#include "data/error.h"
#include "reports/eot/eot_headings.h"
#include "widgets/cells.h"
#include "widgets/lmd_browse.h"
#include "widgets/lmd_dialog.h"
#include "widgets/lmd_messages.h"

namespace velmont::eot {
namespace {

constexpr const char* kEditorName = "headingEditor";
// The editor's place in the end-of-term dialog, in its cells.
constexpr double kTopRow = 7.8, kBottomRow = 16.35, kLeftColumn = 27.5, kRightColumn = 59.5;

// ESC closes the browse and gives the focus back to the dialog, so that the
// key never reaches the dialog (where it would close the dialog itself).
class EditorKeys : public QObject {
 public:
  EditorKeys(widgets::BrowseView* view, QWidget* dialog) : QObject(view), view_(view), dialog_(dialog) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) return false;
    view_->hide();
    view_->deleteLater();
    auto* lmd = qobject_cast<widgets::LmdDialog*>(dialog_);
    if (lmd && !lmd->fields().empty()) lmd->fields().front()->setFocus(Qt::OtherFocusReason);
    else dialog_->setFocus(Qt::OtherFocusReason);
    return true;
  }

 private:
  widgets::BrowseView* view_;
  QWidget* dialog_;
};

// A heading being changed shows in a framed field with the cursor after its
// text, so that Enter visibly starts the change; the rows are tall enough for
// the frame not to hide the text.
class FramedEdit : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
      line->setObjectName("headingEdit");
      line->setFrame(true);
      // The view selects the whole text once the field is made; the cursor goes after it instead.
      QTimer::singleShot(0, line, [line] {
        line->deselect();
        line->setCursorPosition(int(line->text().size()));
      });
    }
    return editor;
  }
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override {
    QRect at = option.rect;
    const int height = std::max(at.height(), editor->sizeHint().height());
    at.setTop(at.center().y() - height / 2);
    at.setHeight(height);
    editor->setGeometry(at);
  }
};

// The height of a row that holds a framed field whole.
int rowHeightFor(QTableWidget* grid) {
  QLineEdit probe;
  probe.setFont(grid->font());
  probe.setFrame(true);
  return std::max(grid->fontMetrics().height() + 4, probe.sizeHint().height());
}

// The editor shows its six rows, both headings and its footer whole. It sits
// over the dialog's explanatory texts, right-aligned, its bottom just above the
// dialog's buttons, so that it covers neither them nor the help line.
void fitEditor(widgets::BrowseView* view, QWidget* dialog) {
  view->setAutoFillBackground(true);  // the texts it lies over do not show through its footer
  QTableWidget* grid = view->grid();
  const int rowHeight = rowHeightFor(grid);
  grid->verticalHeader()->setDefaultSectionSize(rowHeight);
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->resizeColumnToContents(0);
  const int header = grid->horizontalHeader()->sizeHint().height();
  const int gridHeight = header + grid->rowCount() * rowHeight + 2 * grid->frameWidth();
  grid->setMinimumHeight(gridHeight);
  const QRect cells = widgets::cellRect(kTopRow, kLeftColumn, kBottomRow - kTopRow, kRightColumn - kLeftColumn);
  const int spacing = view->layout() ? view->layout()->spacing() : 0;
  const int height = gridHeight + spacing + view->footer()->sizeHint().height();
  const int width = std::max(cells.width(), grid->verticalHeader()->width() + grid->columnWidth(0) +
                                                grid->horizontalHeader()->sectionSizeHint(1) + 2 * grid->frameWidth() + 4);
  const int right = std::min(cells.right(), dialog->width() - 4);
  view->setGeometry(right + 1 - width, cells.bottom() + 1 - height, width, height);
}

}  // namespace

widgets::BrowseView* editHeadings(QWidget* dialog, const school::SchoolFolder& folder) {
  if (auto* open = dialog->findChild<widgets::BrowseView*>(kEditorName, Qt::FindDirectChildrenOnly)) {
    open->grid()->setFocus(Qt::OtherFocusReason);
    return open;
  }
  if (!folder.has(eot::kHeadingsFile)) {
    widgets::lmdMsg({QStringLiteral("Please run Report first"), QStringLiteral("then Change Headings")}, 0, dialog);
    return nullptr;
  }
  widgets::BrowseView* view = nullptr;
  try {
    view = widgets::lmdGenBrow(dialog, 13.5, 32, 8, 27, folder.path(eot::kHeadingsFile),
                               QStringLiteral("ENTER = Edit,   ESC = Close"),
                               {{"H4", QStringLiteral("4 Char Heading"), true},
                                {"H20", QStringLiteral("20 Char Heading"), true}});
  } catch (const data::DataError& e) {
    widgets::lmdMsg({QObject::tr("The headings cannot be edited."), QString::fromStdString(e.what())}, 0, dialog);
    return nullptr;
  }
  view->setObjectName(kEditorName);
  QTableWidget* grid = view->grid();
  grid->setItemDelegate(new FramedEdit(grid));
  fitEditor(view, dialog);
  grid->installEventFilter(new EditorKeys(view, dialog));
  // Enter edits the cell it is on (item views only report it as activated).
  QObject::connect(grid, &QTableWidget::activated, grid, [grid](const QModelIndex& index) { grid->edit(index); });
  view->raise();
  grid->setCurrentCell(0, 0);
  grid->setFocus(Qt::OtherFocusReason);
  return view;
}

}  // namespace velmont::eot
