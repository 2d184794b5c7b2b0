#include "record_image.h"

#include <cstring>
#include <stdexcept>

#include "data/numeric.h"

namespace velmont::batch {

using data::DbfFile;
using data::FieldDesc;

TableWriter::TableWriter(const std::string& path, const std::vector<data::FieldSpec>& fields) {
  DbfFile::create(path, fields);
  dbf_ = DbfFile::open(path, data::OpenMode::kReadWrite);
  if (dbf_->hasMemo()) memo_ = data::MemoFile::open(dbf_->memoPath(), data::OpenMode::kReadWrite);
  image_.assign(size_t(dbf_->recordLength()), ' ');
}

int TableWriter::field(std::string_view name) const {
  const int i = dbf_->fieldIndex(name);
  if (i < 0) throw std::logic_error(dbf_->path() + " has no field " + std::string(name));
  return i;
}

char* TableWriter::bytes(int field, size_t* width) {
  const FieldDesc& f = dbf_->fields().at(size_t(field));
  *width = size_t(f.width);
  return image_.data() + f.offset;
}

void TableWriter::set(int field, std::string_view text) {
  size_t width;
  char* out = bytes(field, &width);
  if (text.size() > width)
    throw std::logic_error(dbf_->path() + ": \"" + std::string(text) + "\" is too long for " +
                           dbf_->fields()[size_t(field)].name);
  std::memcpy(out, text.data(), text.size());
  std::memset(out + text.size(), ' ', width - text.size());
}

void TableWriter::set(int field, double number) {
  size_t width;
  char* out = bytes(field, &width);
  const int decimals = dbf_->fields()[size_t(field)].decimals;
  if (!data::fitsWidth(number, int(width), decimals))
    throw std::logic_error(dbf_->path() + ": " + std::to_string(number) + " does not fit " +
                           dbf_->fields()[size_t(field)].name);
  data::formatStrInto(out, number, int(width), decimals);
}

void TableWriter::set(int field, const data::Date& date) {
  size_t width;
  char* out = bytes(field, &width);
  date.dtosInto(out);
}

void TableWriter::setLogical(int field, bool value) {
  size_t width;
  *bytes(field, &width) = value ? 'T' : 'F';
}

void TableWriter::setMemo(int field, std::string_view text) {
  if (!memo_) throw std::logic_error(dbf_->path() + " has no memo file");
  const uint32_t block = memo_->append(text);
  size_t width;
  char* out = bytes(field, &width);
  if (block == 0) {
    std::memset(out, ' ', width);
  } else {
    data::formatStrInto(out, double(block), int(width), 0);
  }
}

uint32_t TableWriter::append() {
  const uint32_t recno = dbf_->appendRecord(image_.data());
  std::memset(image_.data(), ' ', image_.size());
  count_ = recno;
  return recno;
}

}  // namespace velmont::batch
