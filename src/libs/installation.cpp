#include "installation.h"

#include "data/table.h"

namespace velmont::libs {

std::vector<data::FieldSpec> installationFields() { return {{"C1", 'C', 60}, {"C2", 'C', 20}}; }

std::string dekript(std::string_view c1, double /*key*/) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  size_t begin = 0, end = c1.size();
  while (begin < end && blank(c1[begin])) ++begin;
  while (end > begin && blank(c1[end - 1])) --end;
  return std::string(c1.substr(begin, end - begin));
}

std::string schoolNameFrom(const std::string& path) {
  if (!data::Env::current()->exists(path)) return "";
  auto table = data::Table::open(path, "ccmp");
  table->goTop();
  if (table->eof()) return "";
  return dekript(table->str("C1"), -1.0);
}

}  // namespace velmont::libs
