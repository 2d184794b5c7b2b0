#include "table.h"

#include <cstring>

#include "error.h"
#include "expr.h"
#include "ntx.h"
#include "numeric.h"
#include "text.h"

namespace velmont::data {

struct Table::Order {
  std::unique_ptr<NtxIndex> ntx;
  std::unique_ptr<Expression> key;
  std::vector<char> keyBuf;
};

struct Table::Relation {
  Table* child;
  std::unique_ptr<Expression> key;
  std::vector<char> keyBuf;
};

Table::Table(std::string alias, std::unique_ptr<DbfFile> dbf) : alias_(std::move(alias)), dbf_(std::move(dbf)) {
  blank_.assign(size_t(dbf_->recordLength()), ' ');
  record_ = blank_;
}

Table::~Table() {
  try {
    flushPending();
    if (lockedRecno_) dbf_->unlockRecord(lockedRecno_);
  } catch (...) {
    // A failure while closing has nowhere to go; the record simply stays unwritten.
  }
}

std::unique_ptr<Table> Table::open(const std::string& path, const std::string& alias, OpenMode mode) {
  auto dbf = DbfFile::open(path, mode);
  std::unique_ptr<Table> t(new Table(alias, std::move(dbf)));
  if (t->dbf_->hasMemo()) {
    const std::string memoPath = t->dbf_->memoPath();
    // Files copied between systems often change the case of the name.
    const std::string found = Env::current()->exists(memoPath) ? memoPath : findFile(memoPath);
    if (found.empty()) throw DataError(memoPath, "the table's memo file is missing");
    t->memo_ = MemoFile::open(found, mode);
  }
  t->goTop();
  return t;
}

// --- Records ----------------------------------------------------------------

void Table::loadPhantom() {
  recno_ = dbf_->recordCount() + 1;
  record_ = blank_;
}

void Table::load(uint32_t recno) {
  flushPending();
  if (!dbf_->readRecord(recno, record_.data())) {
    loadPhantom();
    return;
  }
  recno_ = recno;
}

int Table::requireField(std::string_view name) const {
  const int i = dbf_->fieldIndex(name);
  if (i < 0) throw DataError(path(), "the table has no field " + std::string(name));
  return i;
}

std::string Table::text(int index) const {
  std::string_view s = fieldBytes(index);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

Date Table::date(int index) const { return Date::fromDtos(fieldBytes(index)); }

bool Table::logical(int index) const {
  const char c = fieldBytes(index)[0];
  return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

std::string Table::memoText(int index) const {
  if (!memo_) return {};
  return memo_->read(parseMemoPointer(fieldBytes(index), path()));
}

// --- Orders -----------------------------------------------------------------

void Table::addIndex(const std::string& ntxPath) {
  auto o = std::make_unique<Order>();
  o->ntx = std::make_unique<NtxIndex>(ntxPath, dbf_->writable() ? OpenMode::kReadWrite : OpenMode::kRead);
  o->key = std::make_unique<Expression>(Expression::parse(o->ntx->keyExpression(), *this, nullptr, ntxPath));
  o->keyBuf.resize(size_t(o->ntx->keySize()));
  // Indexes flagged for the extended lock scheme say where the table's writers lock.
  if (o->ntx->extendedLocking()) dbf_->setLockBase(4000000000ull);
  orders_.push_back(std::move(o));
  if (orders_.size() == 1) {
    order_ = 1;
    goTop();
  }
}

void Table::setOrder(int order) {
  if (order < 0 || order > int(orders_.size())) return;
  order_ = order;
  orderSynced_ = false;
}

void Table::currentKey(Order& o, char* out) {
  o.key->evalKey(*this, out, o.ntx->keySize(), o.ntx->keyDecimals());
}

void Table::createIndex(const std::string& ntxPath, const std::string& keyExpression) {
  flushPending();
  Expression key = Expression::parse(keyExpression, *this, nullptr, ntxPath);
  // The key's size is what the expression gives on a blank record.
  const uint32_t saved = recno_;
  loadPhantom();
  const KeyShape shape = key.keyShapeOnBlank(*this, recno_);
  const int keySize = shape.size, keyDecimals = shape.decimals;
  const uint32_t count = dbf_->recordCount();
  const std::string stamp = dbf_->stamp();
  std::vector<char> keys(size_t(count) * size_t(keySize));
  std::vector<uint32_t> recnos(count);
  for (uint32_t r = 1; r <= count; ++r) {
    if (!dbf_->readRecord(r, record_.data())) throw DataError(path(), "record " + std::to_string(r) + " vanished");
    recno_ = r;
    key.evalKey(*this, &keys[size_t(r - 1) * size_t(keySize)], keySize, keyDecimals);
    recnos[r - 1] = r;
  }
  NtxDefinition definition;
  definition.keyExpression = keyExpression;
  definition.keySize = keySize;
  definition.keyDecimals = keyDecimals;
  definition.tableStamp = stamp;
  NtxIndex::build(ntxPath, definition, keys.data(), recnos.data(), count);
  load(saved);
}

uint32_t Table::firstInOrder() {
  orderSynced_ = true;
  return order_ ? checkedEntry(orders_[size_t(order_ - 1)]->ntx->first()) : 1;
}

uint32_t Table::lastInOrder() {
  orderSynced_ = true;
  return order_ ? checkedEntry(orders_[size_t(order_ - 1)]->ntx->last()) : dbf_->recordCount();
}

uint32_t Table::checkedEntry(uint32_t recno) { return checkedEntry(recno, *orders_[size_t(order_ - 1)]->ntx); }

uint32_t Table::checkedEntry(uint32_t recno, const NtxIndex& ntx) {
  if (recno == 0 || recno <= dbf_->knownRecordCount() || recno <= dbf_->recordCount()) return recno;
  // Another program may be appending this record: its index entry can come
  // before the record itself. Judge again once no append is under way.
  const DbfFile::Counts counts = dbf_->settledCounts();
  if (recno <= counts.file) return recno;
  throw DataError(ntx.path(), "an entry names record " + std::to_string(recno) + " but the table " + path() +
                                  " holds only " + std::to_string(counts.file) +
                                  " records: the index does not match its table. Rebuild (reindex) the school's "
                                  "indexes in the administration system, then run this again");
}

void Table::verifyOrder(int order) {
  if (order < 1 || order > int(orders_.size())) return;
  NtxIndex& ntx = *orders_[size_t(order - 1)]->ntx;
  // An index kept for some records only (a FOR condition, unique keys) need not
  // hold every record.
  const bool partial = ntx.unique() || !ntx.forCondition().empty();
  auto damaged = [&](const std::string& what) {
    throw DataError(ntx.path(), what + ": the index does not match its table " + path() +
                                    ". Rebuild (reindex) the school's indexes in the administration system, "
                                    "then run this again");
  };
  for (int look = 1;; ++look) {
    const uint32_t records = dbf_->recordCount();
    size_t entries = 0;
    try {
      entries = ntx.verify(records, true);
    } catch (const DataError& e) {
      if (look == 1) {
        // Another program may be between an append's record and its entry.
        dbf_->settledCounts();
        continue;
      }
      damaged(e.reason());
    }
    if (partial || entries == records) break;
    if (look == 1) {
      dbf_->settledCounts();
      continue;
    }
    damaged("it holds " + std::to_string(entries) + " entries for " + std::to_string(records) + " records");
  }
  if (order == order_) orderSynced_ = false;
}

void Table::syncOrderPosition() {
  if (!order_ || orderSynced_) return;
  Order& o = *orders_[size_t(order_ - 1)];
  currentKey(o, o.keyBuf.data());
  o.ntx->seekPair(std::string_view(o.keyBuf.data(), o.keyBuf.size()), recno_);
  orderSynced_ = true;
}

// The record after (or before) the current one in the controlling order; 0 when none.
uint32_t Table::stepInOrder(bool forward) {
  if (!order_) {
    if (forward) {
      const uint32_t next = recno_ + 1;
      return next <= dbf_->knownRecordCount() || next <= dbf_->recordCount() ? next : 0;
    }
    return recno_ > 1 ? recno_ - 1 : 0;
  }
  syncOrderPosition();
  NtxIndex& ntx = *orders_[size_t(order_ - 1)]->ntx;
  return checkedEntry(forward ? ntx.next() : ntx.prev());
}

void Table::settleForward() {
  for (;;) {
    if (recno_ == 0 || (recno_ > dbf_->knownRecordCount() && recno_ > dbf_->recordCount())) {
      loadPhantom();
      eof_ = true;
      return;
    }
    if (visible()) return;
    const uint32_t next = stepInOrder(true);
    if (next == 0) {
      loadPhantom();
      eof_ = true;
      return;
    }
    load(next);
  }
}

void Table::afterMove() {
  for (auto& rel : relations_) {
    Table& child = *rel->child;
    if (eof_) {
      child.flushPending();
      child.loadPhantom();
      child.eof_ = true;
      child.found_ = false;
      child.afterMove();
      continue;
    }
    if (child.order_ == 0) {
      child.goTo(uint32_t(rel->key->eval(*this).number()));
      continue;
    }
    Order& co = *child.orders_[size_t(child.order_ - 1)];
    if (co.key->type() != rel->key->type())
      throw DataError(path(), "the relation's key and the order of " + child.alias() + " differ in type");
    const int keySize = co.ntx->keySize();
    size_t length = size_t(keySize);
    if (rel->key->type() == ValueType::kCharacter) {
      // A character key seeks its own length, as a typed prefix would.
      length = std::min(length, rel->key->eval(*this).text().size());
    }
    rel->key->evalKey(*this, rel->keyBuf.data(), keySize, co.ntx->keyDecimals());
    // A related record either matches or is the blank record past the end: landing
    // on the next higher key would show another parent's data as this one's.
    if (!child.seek(std::string_view(rel->keyBuf.data(), length)) && !child.eof_) {
      child.loadPhantom();
      child.eof_ = true;
      child.afterMove();
    }
  }
}

// --- Navigation ---------------------------------------------------------------

void Table::goTop() {
  flushPending();
  bof_ = eof_ = false;
  const uint32_t first = firstInOrder();
  if (first == 0) {
    loadPhantom();
    bof_ = eof_ = true;
  } else {
    load(first);
    settleForward();
    if (eof_) bof_ = true;
  }
  afterMove();
}

void Table::goBottom() {
  flushPending();
  bof_ = eof_ = false;
  uint32_t r = lastInOrder();
  while (r != 0) {
    load(r);
    if (visible()) break;
    r = stepInOrder(false);
  }
  if (r == 0) {
    loadPhantom();
    bof_ = eof_ = true;
  }
  afterMove();
}

void Table::goTo(uint32_t recno) {
  flushPending();
  bof_ = eof_ = false;
  load(recno);
  // One past the last record is the blank record at the end of the file.
  if (recno_ != recno || recno > dbf_->knownRecordCount()) eof_ = true;
  orderSynced_ = false;
  afterMove();
}

void Table::skip(long count) {
  if (count == 1 && order_ == 0 && !pendingAppend_ && !eof_ && relations_.empty()) {
    // The usual scan, kept short: the next visible record in natural order.
    bof_ = false;
    for (uint32_t r = recno_ + 1;; ++r) {
      if (!dbf_->readRecord(r, record_.data())) {
        loadPhantom();
        eof_ = true;
        return;
      }
      recno_ = r;
      if (visible()) return;
    }
  }
  flushPending();
  if (count == 0) {
    load(recno_);
    afterMove();
    return;
  }
  const bool forward = count > 0;
  long left = forward ? count : -count;
  bof_ = false;
  if (eof_) {
    if (forward) {
      afterMove();
      return;
    }
    goBottom();
    if (!eof_) --left;
    if (left == 0 || eof_) return;
  }
  while (left > 0) {
    uint32_t r = stepInOrder(forward);
    while (r != 0) {
      load(r);
      if (visible()) break;
      r = stepInOrder(forward);
    }
    if (r == 0) {
      if (forward) {
        loadPhantom();
        eof_ = true;
      } else {
        goTop();
        bof_ = true;
        return;
      }
      break;
    }
    --left;
  }
  afterMove();
}

bool Table::seek(std::string_view keyBytes) {
  flushPending();
  if (!order_) throw DataError(path(), "a seek needs an index order");
  bof_ = eof_ = false;
  NtxIndex& ntx = *orders_[size_t(order_ - 1)]->ntx;
  const uint32_t r = checkedEntry(ntx.seek(keyBytes.substr(0, std::min<size_t>(keyBytes.size(), size_t(ntx.keySize())))));
  orderSynced_ = true;
  if (r == 0) {
    loadPhantom();
    eof_ = true;
    found_ = false;
  } else {
    load(r);
    if (!visible()) settleForward();
    found_ = false;
    if (!eof_) {
      // The landed record's key decides whether the search hit.
      Order& o = *orders_[size_t(order_ - 1)];
      currentKey(o, o.keyBuf.data());
      const size_t n = std::min(keyBytes.size(), o.keyBuf.size());
      found_ = std::memcmp(o.keyBuf.data(), keyBytes.data(), n) == 0;
    }
  }
  afterMove();
  return found_;
}

bool Table::seek(double number) {
  if (!order_) throw DataError(path(), "a seek needs an index order");
  const Order& o = *orders_[size_t(order_ - 1)];
  const NtxIndex& ntx = *o.ntx;
  if (o.key->type() == ValueType::kCharacter) return seek(formatStr(number, ntx.keySize(), ntx.keyDecimals()));
  return seek(encodeNumericKey(number, ntx.keySize(), ntx.keyDecimals()));
}

bool Table::seekWhole(std::string_view text) {
  if (!order_) throw DataError(path(), "a seek needs an index order");
  const size_t size = size_t(orders_[size_t(order_ - 1)]->ntx->keySize());
  const std::string wanted = rtrim(text);
  seek(padTo(wanted, size));
  if (wanted.size() > size) found_ = false;
  return found_;
}

int Table::orderKeySize() const { return order_ ? orders_[size_t(order_ - 1)]->ntx->keySize() : 0; }

std::string Table::orderFile() const { return order_ ? orders_[size_t(order_ - 1)]->ntx->path() : std::string(); }

bool Table::seek(const Date& date) { return seek(date.dtos()); }

bool Table::locate(const std::function<bool(const Table&)>& predicate) {
  for (goTop(); !eof_; skip(1))
    if (predicate(*this)) return found_ = true;
  return found_ = false;
}

bool Table::locate(const std::string& condition, const Bindings* vars) {
  Expression e = Expression::parse(condition, *this, vars, path());
  return locate([&e](const Table& t) { return e.evalBool(t); });
}

void Table::setFilter(std::function<bool(const Table&)> predicate) {
  filterExpr_.reset();
  filter_ = std::move(predicate);
}

void Table::setFilter(const std::string& condition, const Bindings* vars) {
  auto e = std::make_unique<Expression>(Expression::parse(condition, *this, vars, path()));
  Expression* raw = e.get();
  filter_ = [raw](const Table& t) { return raw->evalBool(t); };
  filterExpr_ = std::move(e);
}

void Table::clearFilter() {
  filter_ = nullptr;
  filterExpr_.reset();
}

void Table::setRelation(Table* child, const std::string& keyExpression) {
  auto rel = std::make_unique<Relation>();
  rel->child = child;
  rel->key = std::make_unique<Expression>(Expression::parse(keyExpression, *this, nullptr, path()));
  rel->keyBuf.resize(256);
  relations_.push_back(std::move(rel));
  afterMove();
}

void Table::clearRelations() { relations_.clear(); }

void Table::clearRelationsTo(const Table* child) {
  std::erase_if(relations_, [child](const auto& rel) { return rel->child == child; });
}

// --- Writing ------------------------------------------------------------------

void Table::requireWritable(int index) {
  if (!dbf_->writable()) throw DataError(path(), "the table is open for reading only");
  if (index < 0 || index >= fieldCount()) throw DataError(path(), "field number " + std::to_string(index + 1) + " does not exist");
  if (!pendingAppend_ && !recordLocked())
    throw DataError(path(), "record " + std::to_string(recno_) + " must be locked before it is changed");
}

void Table::writeCurrent() {
  if (pendingAppend_) return;  // written whole at flush
  // Open indexes would go stale if a key moved; this program never changes indexed
  // keys, so such a change is refused and the record keeps its stored values.
  if (!orders_.empty()) {
    std::vector<char> stored(record_.size());
    if (dbf_->readRecord(recno_, stored.data(), true)) {
      for (auto& o : orders_) {
        std::vector<char> changed(o->keyBuf.size()), before(o->keyBuf.size());
        currentKey(*o, changed.data());
        record_.swap(stored);
        currentKey(*o, before.data());
        record_.swap(stored);
        if (changed != before) {
          record_ = stored;
          throw DataError(path(), "changing a key of the open index " + o->ntx->path() + " is not supported");
        }
      }
    }
  }
  dbf_->writeRecord(recno_, record_.data());
}

void Table::replace(int index, std::string_view text) {
  requireWritable(index);
  const FieldDesc& f = field(index);
  char* p = record_.data() + f.offset;
  switch (f.type) {
    case 'C': {
      const size_t n = std::min(text.size(), size_t(f.width));
      std::memcpy(p, text.data(), n);
      std::memset(p + n, ' ', size_t(f.width) - n);
      break;
    }
    case 'M': replaceMemo(index, text); return;
    case 'N': replace(index, parseNumeric(text)); return;
    case 'D': replace(index, Date::fromDtos(text)); return;
    case 'L': replace(index, !text.empty() && (text[0] == 'T' || text[0] == 't' || text[0] == 'Y' || text[0] == 'y')); return;
  }
  writeCurrent();
}

void Table::replace(int index, double number) {
  requireWritable(index);
  const FieldDesc& f = field(index);
  if (f.type != 'N') throw DataError(path(), "field " + f.name + " is not numeric");
  if (!fitsWidth(number, f.width, f.decimals))
    throw DataError(path(), "the value " + formatStr(number, 20, f.decimals) + " does not fit field " + f.name);
  formatStrInto(record_.data() + f.offset, number, f.width, f.decimals);
  writeCurrent();
}

void Table::replace(int index, const Date& date) {
  requireWritable(index);
  const FieldDesc& f = field(index);
  if (f.type != 'D') throw DataError(path(), "field " + f.name + " is not a date");
  date.dtosInto(record_.data() + f.offset);
  writeCurrent();
}

void Table::replace(int index, bool value) {
  requireWritable(index);
  const FieldDesc& f = field(index);
  if (f.type != 'L') throw DataError(path(), "field " + f.name + " is not logical");
  record_[size_t(f.offset)] = value ? 'T' : 'F';
  writeCurrent();
}

void Table::replaceMemo(int index, std::string_view text) {
  requireWritable(index);
  const FieldDesc& f = field(index);
  if (f.type != 'M' || !memo_) throw DataError(path(), "field " + f.name + " is not a memo");
  // The text goes to new blocks first; only then does the record point at it.
  const uint32_t block = memo_->append(text);
  char* p = record_.data() + f.offset;
  if (block == 0)
    std::memset(p, ' ', size_t(f.width));
  else
    formatStrInto(p, double(block), f.width, 0);
  writeCurrent();
}

void Table::appendBlank() {
  flushPending();
  if (!dbf_->writable()) throw DataError(path(), "the table is open for reading only");
  record_ = blank_;
  recno_ = dbf_->recordCount() + 1;
  pendingAppend_ = true;
  bof_ = eof_ = false;
}

void Table::flushPending() {
  if (!pendingAppend_) return;
  pendingAppend_ = false;
  recno_ = dbf_->appendRecord(record_.data());
  for (auto& o : orders_) {
    currentKey(*o, o->keyBuf.data());
    o->ntx->insert(std::string_view(o->keyBuf.data(), o->keyBuf.size()), recno_);
  }
  orderSynced_ = false;
}

bool Table::lockRecord(int timeoutMs) {
  flushPending();
  if (eof_ || recno_ == 0) return false;
  if (lockedRecno_ == recno_) return true;
  unlockRecord();
  if (!dbf_->lockRecord(recno_, timeoutMs)) return false;
  lockedRecno_ = recno_;
  // Re-read under the lock: another program may have changed the record.
  dbf_->readRecord(recno_, record_.data(), true);
  return true;
}

void Table::unlockRecord() {
  flushPending();
  if (lockedRecno_) dbf_->unlockRecord(lockedRecno_);
  lockedRecno_ = 0;
}

bool Table::lockAppend(int timeoutMs) {
  flushPending();
  if (!dbf_->lockHeader(timeoutMs)) return false;
  dbf_->dropReadAhead();
  dbf_->recordCount();
  return true;
}

void Table::unlockAppend() {
  flushPending();
  dbf_->unlockHeader();
}

void Table::commit() {
  flushPending();
  dbf_->sync();
}

}  // namespace velmont::data
