#include "lmd_browse.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "cells.h"
#include "data/error.h"
#include "data/numeric.h"
#include "data/table.h"
#include "data/table_locks.h"
#include "lmd_messages.h"
#include "qtcore/school_text.h"

namespace velmont::widgets {

BrowseView::BrowseView(QWidget* parent, const std::string& path, std::vector<BrowseColumn> columns,
                       const QString& footer)
    : QWidget(parent), columns_(std::move(columns)) {
  table_ = data::Table::open(path, "browse", data::OpenMode::kReadWrite);
  for (const BrowseColumn& c : columns_) fieldIndex_.push_back(table_->requireField(c.field));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  grid_ = new QTableWidget(this);
  grid_->setColumnCount(int(columns_.size()));
  QStringList headings;
  for (const BrowseColumn& c : columns_) headings << c.heading;
  grid_->setHorizontalHeaderLabels(headings);
  grid_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(grid_);
  footer_ = new QLabel(footer, this);
  layout->addWidget(footer_);
  reload();
  connect(grid_, &QTableWidget::itemChanged, this, &BrowseView::cellEdited);
}

BrowseView::~BrowseView() = default;

void BrowseView::reload() {
  loading_ = true;
  recnos_.clear();
  grid_->setRowCount(0);
  const qtcore::SchoolText& codePage = qtcore::SchoolText::of(*table_);
  for (table_->goTop(); !table_->eof(); table_->skip()) {
    const int row = grid_->rowCount();
    grid_->insertRow(row);
    recnos_.push_back(table_->recno());
    for (size_t c = 0; c < columns_.size(); ++c) {
      auto* item = new QTableWidgetItem(codePage.decode(table_->text(fieldIndex_[c])));
      if (!columns_[c].editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
      grid_->setItem(row, int(c), item);
    }
  }
  loading_ = false;
}

void BrowseView::cellEdited(QTableWidgetItem* item) {
  if (loading_) return;
  const size_t row = size_t(item->row()), col = size_t(item->column());
  if (row >= recnos_.size() || col >= columns_.size()) return;
  const int field = fieldIndex_[col];
  QString failure;
  // The typed text goes into the table in its code page; a character the code
  // page cannot hold is refused rather than stored as something else.
  const qtcore::SchoolText& codePage = qtcore::SchoolText::of(*table_);
  std::string bytes;
  try {
    table_->goTo(recnos_[row]);
    if (!codePage.encode(item->text(), bytes)) {
      failure = codePage.refusalMessage(codePage.refusedCharacter(item->text()));
    } else if (data::RecordLock lock(*table_, 1000); !lock.held()) {
      failure = tr("The record is in use by another user; try again in a moment.");
    } else {
      const data::FieldDesc& f = table_->field(field);
      if (f.type == 'N') table_->replace(field, data::parseNumeric(bytes));
      else table_->replace(field, bytes);
    }
  } catch (const data::DataError& e) {
    failure = QString::fromStdString(e.what());
  }
  // Show what the file holds now: the stored value, or the old one after a failure.
  loading_ = true;
  table_->goTo(recnos_[row]);
  item->setText(codePage.decode(table_->text(field)));
  loading_ = false;
  if (!failure.isEmpty()) emit writeFailed(failure);
}

BrowseView* lmdGenBrow(QWidget* parent, double row, double column, double rows, double columns,
                       const std::string& path, const QString& footer, std::vector<BrowseColumn> fields) {
  auto* view = new BrowseView(parent, path, std::move(fields), footer);
  view->setGeometry(cellRect(row, column, rows, columns));
  QObject::connect(view, &BrowseView::writeFailed, view,
                   [view](const QString& reason) { lmdMsg({QObject::tr("The change was not saved."), reason}, 0, view); });
  view->show();
  return view;
}

}  // namespace velmont::widgets
