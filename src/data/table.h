#pragma once
// An open table in a work area: the current record, navigation in natural or
// index order, seeks, filters, relations, field access and locked writes.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "date.h"
#include "dbf_file.h"
#include "field.h"
#include "memo_file.h"
#include "numeric.h"

namespace velmont::data {

class Bindings;
class Expression;
class NtxIndex;

class Table final : public RecordContext {
 public:
  // Opens a table shared; read-only unless `mode` asks for writing.
  static std::unique_ptr<Table> open(const std::string& path, const std::string& alias,
                                     OpenMode mode = OpenMode::kRead);
  ~Table() override;
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  const std::string& alias() const { return alias_; }
  const std::string& path() const { return dbf_->path(); }
  const std::vector<FieldDesc>& fields() const { return dbf_->fields(); }
  int fieldCount() const { return int(dbf_->fields().size()); }
  // The header's language-driver byte (0 when the table records no code page).
  uint8_t languageDriver() const { return dbf_->languageDriver(); }

  // --- Orders -----------------------------------------------------------
  // Adds an index file; orders are numbered from 1 in the order added and the
  // first added controls until setOrder chooses another (0 = natural order).
  void addIndex(const std::string& ntxPath);
  void setOrder(int order);
  int order() const { return order_; }
  int orderCount() const { return int(orders_.size()); }
  // Walks an order's index and throws DataError naming the index, the table and
  // the remedy unless it holds each of the table's records exactly once, in key
  // order: an entry missing or past the table's end, a record filed twice, or a
  // tree that cannot be walked would leave records out of a report or print
  // them twice. An index kept for some records only (a FOR condition, unique
  // keys) is not held to the count. Looks twice when another program may be
  // appending.
  void verifyOrder(int order);
  // Builds an index file over this table from a key expression (bulk build),
  // replacing any file of that name; it is not added as an order.
  void createIndex(const std::string& ntxPath, const std::string& keyExpression);

  // --- Navigation (deleted and filtered-out records are hidden) ----------
  void goTop();
  void goBottom();
  void goTo(uint32_t recno);  // positions on any record, hidden or not
  void skip(long count = 1);
  bool bof() const { return bof_; }
  bool eof() const { return eof_; }
  bool found() const { return found_; }
  uint32_t recno() const override { return recno_; }
  uint32_t reccount() { return dbf_->recordCount(); }
  bool deleted() const override { return record_[0] == '*'; }

  // Soft seek in the controlling order: on a miss the next higher key, past the
  // last key end of file. found() tells an exact hit of the searched prefix.
  bool seek(std::string_view keyBytes);
  // A number encoded as the index holds it: in the order's key length, as a
  // numeric key or (for a key such as STR(field)) as right-aligned text.
  bool seek(double number);
  // A whole character key: `text` padded with blanks to the order's key length.
  // A text longer than the key (ignoring trailing blanks) cannot be in the index:
  // not found, though the table is positioned as by the key's prefix.
  bool seekWhole(std::string_view text);
  // Key length of the controlling order's index; 0 in natural order.
  int orderKeySize() const;
  // The controlling order's index file; "" in natural order.
  std::string orderFile() const;
  bool seek(const Date& date);
  // Locates the first visible record from the top that satisfies the predicate.
  bool locate(const std::function<bool(const Table&)>& predicate);
  bool locate(const std::string& condition, const Bindings* vars = nullptr);

  // A predicate that hides records from navigation; cleared with clearFilter.
  void setFilter(std::function<bool(const Table&)> predicate);
  void setFilter(const std::string& condition, const Bindings* vars = nullptr);
  void clearFilter();

  // Moving in this table positions `child` by seeking the key expression
  // (evaluated on this table) in the child's controlling order.
  void setRelation(Table* child, const std::string& keyExpression);
  void clearRelations();
  void clearRelationsTo(const Table* child);

  // --- Fields -------------------------------------------------------------
  int fieldIndex(std::string_view name) const override { return dbf_->fieldIndex(name); }
  const FieldDesc& field(int index) const override { return dbf_->fields()[size_t(index)]; }
  std::string_view fieldBytes(int index) const override {
    const FieldDesc& f = dbf_->fields()[size_t(index)];
    return std::string_view(record_.data() + f.offset, size_t(f.width));
  }
  std::string memoText(int index) const override;
  // Field number by name; throws DataError naming the table when it is missing.
  int requireField(std::string_view name) const;

  std::string_view str(int index) const { return fieldBytes(index); }  // padded
  std::string text(int index) const;                                    // right-trimmed
  double num(int index) const { return parseNumeric(fieldBytes(index)); }
  Date date(int index) const;
  bool logical(int index) const;
  // By name, for code that reads a field once.
  std::string_view str(std::string_view name) const { return str(requireField(name)); }
  std::string text(std::string_view name) const { return text(requireField(name)); }
  double num(std::string_view name) const { return num(requireField(name)); }
  Date date(std::string_view name) const { return date(requireField(name)); }
  bool logical(std::string_view name) const { return logical(requireField(name)); }
  std::string memo(std::string_view name) const { return memoText(requireField(name)); }

  // --- Writing (the table must be open for writing) -----------------------
  // Appends a blank record and makes it current; its values reach the file in
  // one write at commit, unlock or when the table moves, under the append lock.
  void appendBlank();
  // Locks the current record for writing; false when another holder keeps it.
  bool lockRecord(int timeoutMs = 3000);
  void unlockRecord();
  bool recordLocked() const { return lockedRecno_ != 0 && lockedRecno_ == recno_; }
  // Replacing needs the record lock (or a record appended by appendBlank).
  void replace(int index, std::string_view text);
  void replace(int index, double number);
  void replace(int index, const Date& date);
  void replace(int index, bool value);
  void replaceMemo(int index, std::string_view text);
  void replace(std::string_view name, std::string_view text) { replace(requireField(name), text); }
  void replace(std::string_view name, const char* text) { replace(requireField(name), std::string_view(text)); }
  void replace(std::string_view name, double number) { replace(requireField(name), number); }
  void replace(std::string_view name, int number) { replace(requireField(name), double(number)); }
  void replace(std::string_view name, const Date& date) { replace(requireField(name), date); }
  void replace(std::string_view name, bool value) { replace(requireField(name), value); }
  // Holds the table's append lock until unlockAppend, so that a search for a
  // record and the append that follows when it is missing happen as one step
  // for every writer; records read afterwards are read afresh.
  bool lockAppend(int timeoutMs = 5000);
  void unlockAppend();
  // Writes a pending appended record and flushes the files.
  void commit();

 private:
  struct Order;
  struct Relation;
  Table(std::string alias, std::unique_ptr<DbfFile> dbf);

  void load(uint32_t recno);  // reads a record (or the blank phantom past the end)
  void loadPhantom();
  bool visible() const { return !deleted() && (!filter_ || filter_(*this)); }
  uint32_t firstInOrder();
  uint32_t lastInOrder();
  uint32_t stepInOrder(bool forward);
  // An index entry's record number, once it is known to lie in the table;
  // throws DataError naming the index and the table when it lies past the end.
  uint32_t checkedEntry(uint32_t recno);
  uint32_t checkedEntry(uint32_t recno, const NtxIndex& ntx);
  void syncOrderPosition();
  void settleForward();  // skips hidden records after a move, landing at eof if none
  void afterMove();
  void flushPending();
  void requireWritable(int index);
  void writeCurrent();
  void currentKey(Order& o, char* out);

  std::string alias_;
  std::unique_ptr<DbfFile> dbf_;
  std::unique_ptr<MemoFile> memo_;
  std::vector<char> record_;
  std::vector<char> blank_;
  uint32_t recno_ = 0;
  bool bof_ = false, eof_ = true, found_ = false;
  std::vector<std::unique_ptr<Order>> orders_;
  int order_ = 0;
  bool orderSynced_ = false;  // the controlling order's position is on recno_
  std::function<bool(const Table&)> filter_;
  std::unique_ptr<Expression> filterExpr_;
  std::vector<std::unique_ptr<Relation>> relations_;
  uint32_t lockedRecno_ = 0;
  bool pendingAppend_ = false;
};

}  // namespace velmont::data
