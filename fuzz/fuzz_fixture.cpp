#include "fuzz_fixture.h"

#include "data/table.h"

namespace velmont::fuzz {

using namespace data;

const MemEnv& fixture() {
  static const MemEnv env = [] {
    MemEnv e;
    ScopedEnv scope(&e);
    DbfFile::create(kTable, {{"ST_NUMBER", 'N', 6, 0}, {"ST_SURNAME", 'C', 12, 0}, {"ST_DOB", 'D', 8, 0},
                             {"ST_NOTE", 'M', 10, 0}, {"ST_OK", 'L', 1, 0}, {"ST_FEE", 'N', 7, 2}});
    auto t = Table::open(kTable, "ST", OpenMode::kReadWrite);
    const char* names[] = {"Nguyen", "Abbot", "Okafor", "Smith", "Lund", "Berg"};
    for (int i = 0; i < 120; ++i) {
      t->appendBlank();
      t->replace("ST_NUMBER", (i * 37) % 500 - 100);
      t->replace("ST_SURNAME", std::string(names[i % 6]) + std::to_string(i % 7));
      t->replace("ST_DOB", Date::fromYmd(2008 + i % 6, 1 + i % 12, 1 + i % 27));
      if (i % 5 == 0) t->replaceMemo(t->requireField("ST_NOTE"), std::string(20 + i * 9, char('a' + i % 26)));
      t->replace("ST_OK", i % 3 == 0);
      t->replace("ST_FEE", i * 1.5 - 30);
    }
    t->commit();
    t->createIndex(kIndex, "UPPER(ST_SURNAME)+STR(ST_NUMBER,6)");
    t->createIndex(kNumberIndex, "ST_NUMBER");
    return e;
  }();
  return env;
}

void readEverything(MemEnv& env, bool withIndex) {
  ScopedEnv scope(&env);
  auto t = Table::open(kTable, "ST");
  size_t bytes = 0;
  auto readRecord = [&] {
    for (int f = 0; f < t->fieldCount(); ++f)
      bytes += t->field(f).type == 'M' ? t->memoText(f).size() : t->fieldBytes(f).size();
    bytes += size_t(t->num(0) != 0);
  };
  for (t->goTop(); !t->eof(); t->skip()) readRecord();
  for (t->goBottom(); !t->bof(); t->skip(-1)) readRecord();
  if (!withIndex) return;
  t->addIndex(kIndex);
  t->addIndex(kNumberIndex);
  for (t->goTop(); !t->eof(); t->skip()) readRecord();
  for (t->goBottom(); !t->bof(); t->skip(-1)) readRecord();
  for (const char* key : {"A", "LUND3", "OKAFOR9", "ZZZ", ""}) {
    t->seek(std::string(key));
    readRecord();
  }
  t->setOrder(2);
  for (double n : {-100.0, 0.0, 7.0, 399.0, 1e6}) {
    t->seek(n);
    if (!t->eof()) t->skip(3);
  }
}

}  // namespace velmont::fuzz
