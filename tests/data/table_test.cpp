// Tables on disk: fields of every type, navigation with hidden records, locked
// writes, memos, orders, seeks, filters and relations.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <fstream>

#include "data/error.h"
#include "data/expr.h"
#include "data/file.h"
#include "school/subject_table.h"
#include "data/table.h"
#include "data/table_locks.h"
#include "data/workspace.h"
#include "temp_dir.h"

using namespace velmont::data;
using velmont::testing::TempDir;

namespace {

std::vector<FieldSpec> studentFields() {
  return {{"ST_NUMBER", 'N', 6, 0}, {"ST_SURNAME", 'C', 20, 0}, {"ST_YEAR", 'N', 2, 0},
          {"ST_DOB", 'D', 8, 0},    {"ST_ACTIVE", 'L', 1, 0},   {"ST_NOTE", 'M', 10, 0},
          {"ST_LONG", 'C', 300, 0}, {"ST_FEE", 'N', 8, 2}};
}

struct Student {
  int number;
  const char* surname;
  int year;
};

// Writes students through the engine itself; every third one with a memo.
void writeStudents(const std::string& path, const std::vector<Student>& rows) {
  DbfFile::create(path, studentFields());
  auto t = Table::open(path, "ST", OpenMode::kReadWrite);
  for (const Student& s : rows) {
    t->appendBlank();
    t->replace("ST_NUMBER", s.number);
    t->replace("ST_SURNAME", s.surname);
    t->replace("ST_YEAR", s.year);
    t->replace("ST_DOB", Date::fromYmd(2000 + s.year, 1 + s.number % 12, 1 + s.number % 28));
    t->replace("ST_ACTIVE", s.number % 2 == 0);
    if (s.number % 3 == 0) t->replaceMemo(t->requireField("ST_NOTE"), std::string("Note for ") + s.surname);
    t->replace("ST_LONG", std::string(290, 'x') + "END");
    t->replace("ST_FEE", s.number * 1.25);
    t->commit();
  }
}

const std::vector<Student> kStudents = {
    {5, "Marsh", 7}, {3, "Abbot", 8}, {9, "Zeller", 7}, {1, "Kwan", 9}, {7, "Abbot", 10}, {2, "Olsen", 7}};

// Marks a record deleted by writing its flag byte, as the administration system would.
void markDeleted(const std::string& path, uint32_t recno) {
  auto dbf = DbfFile::open(path, OpenMode::kReadWrite);
  std::vector<char> rec(size_t(dbf->recordLength()));
  ASSERT_TRUE(dbf->readRecord(recno, rec.data()));
  rec[0] = '*';
  dbf->writeRecord(recno, rec.data());
}

std::vector<int> numbersInOrder(Table& t) {
  std::vector<int> out;
  for (t.goTop(); !t.eof(); t.skip()) out.push_back(int(t.num("ST_NUMBER")));
  return out;
}

}  // namespace

TEST(TableTest, ReadsBackEveryFieldType) {
  TempDir dir;
  const std::string path = dir.file("students.dbf");
  writeStudents(path, kStudents);
  auto t = Table::open(path, "ST");
  EXPECT_EQ(t->reccount(), 6u);
  t->goTo(6);
  EXPECT_EQ(t->num("ST_NUMBER"), 2);
  EXPECT_EQ(t->text("ST_SURNAME"), "Olsen");
  EXPECT_EQ(t->str("ST_SURNAME").size(), 20u);
  EXPECT_EQ(t->date("ST_DOB"), Date::fromYmd(2007, 3, 3));
  EXPECT_TRUE(t->logical("ST_ACTIVE"));
  EXPECT_EQ(t->memo("ST_NOTE"), "");
  EXPECT_EQ(t->field(t->requireField("ST_LONG")).width, 300);
  EXPECT_EQ(t->text("ST_LONG").substr(287), "xxxEND");
  EXPECT_DOUBLE_EQ(t->num("ST_FEE"), 2.5);
  EXPECT_EQ(std::string(t->str("ST_FEE")), "    2.50");
  t->goTo(2);
  EXPECT_EQ(t->memo("st_note"), "Note for Abbot");
  EXPECT_THROW(t->num("NO_SUCH"), DataError);
}

TEST(TableTest, NavigationHidesDeletedRecordsAndKeepsBofEof) {
  TempDir dir;
  const std::string path = dir.file("students.dbf");
  writeStudents(path, kStudents);
  markDeleted(path, 1);
  markDeleted(path, 4);
  auto t = Table::open(path, "ST");
  EXPECT_EQ(numbersInOrder(*t), (std::vector<int>{3, 9, 7, 2}));
  t->goBottom();
  EXPECT_EQ(t->recno(), 6u);
  t->skip(-1);
  EXPECT_EQ(t->recno(), 5u);
  t->skip(-1);  // over the deleted record 4
  EXPECT_EQ(t->recno(), 3u);
  t->skip(-5);
  EXPECT_TRUE(t->bof());
  EXPECT_EQ(t->recno(), 2u);  // back on the first visible record
  t->goBottom();
  t->skip();
  EXPECT_TRUE(t->eof());
  EXPECT_EQ(t->recno(), 7u);  // the blank record past the end
  EXPECT_EQ(t->text("ST_SURNAME"), "");
  t->skip(-1);
  EXPECT_FALSE(t->eof());
  EXPECT_EQ(t->recno(), 6u);
  t->goTo(4);  // a go-to lands even on a deleted record
  EXPECT_TRUE(t->deleted());
  EXPECT_FALSE(t->eof());
  t->goTo(99);
  EXPECT_TRUE(t->eof());
  t->goTo(t->reccount() + 1);  // the blank record just past the last is the end too
  EXPECT_TRUE(t->eof());
}

TEST(TableTest, EmptyTableIsBothBofAndEof) {
  TempDir dir;
  const std::string path = dir.file("empty.dbf");
  DbfFile::create(path, {{"A", 'C', 3, 0}});
  auto t = Table::open(path, "E");
  EXPECT_TRUE(t->bof());
  EXPECT_TRUE(t->eof());
  EXPECT_EQ(t->recno(), 1u);
  t->skip();
  EXPECT_TRUE(t->eof());
}

TEST(TableTest, WritesNeedTheRecordLockAndReachOtherReaders) {
  TempDir dir;
  const std::string path = dir.file("students.dbf");
  writeStudents(path, kStudents);
  auto writer = Table::open(path, "W", OpenMode::kReadWrite);
  auto other = Table::open(path, "O", OpenMode::kReadWrite);
  writer->goTo(3);
  EXPECT_THROW(writer->replace("ST_SURNAME", "Nope"), DataError);
  ASSERT_TRUE(writer->lockRecord());
  other->goTo(3);
  EXPECT_FALSE(other->lockRecord(0)) << "a second open file must not take a held lock";
  writer->replace("ST_SURNAME", "Zimmer");
  EXPECT_THROW(writer->replace("ST_YEAR", 123), DataError) << "123 does not fit N 2";
  writer->unlockRecord();
  EXPECT_TRUE(other->lockRecord(0));
  other->unlockRecord();
  // The scoped locks are given back when a write inside them throws.
  EXPECT_THROW(
      {
        RecordLock lock(*writer);
        ASSERT_TRUE(lock.held());
        EXPECT_FALSE(RecordLock(*other, 0).held());
        writer->replace("ST_YEAR", 123);
      },
      DataError);
  EXPECT_TRUE(RecordLock(*other, 0).held()) << "the record lock outlived its scope";
  EXPECT_THROW(
      {
        AppendLock lock(*writer);
        ASSERT_TRUE(lock.held());
        EXPECT_FALSE(AppendLock(*other, 0).held());
        writer->replace("ST_YEAR", 123);
      },
      DataError);
  EXPECT_TRUE(AppendLock(*other, 0).held()) << "the append lock outlived its scope";
  auto reader = Table::open(path, "R");
  reader->goTo(3);
  EXPECT_EQ(reader->text("ST_SURNAME"), "Zimmer");
  EXPECT_EQ(reader->num("ST_YEAR"), 7);
  EXPECT_THROW(reader->appendBlank(), DataError) << "read-only tables refuse writes";
}

#ifndef _WIN32  // Windows locks belong to the handle: see file_test_win.cpp
TEST(TableTest, RecordLockSurvivesAnotherOpenAndCloseOfTheSameFile) {
  TempDir dir;
  const std::string path = dir.file("students.dbf");
  writeStudents(path, kStudents);
  auto holder = Table::open(path, "H", OpenMode::kReadWrite);
  holder->goTo(2);
  ASSERT_TRUE(holder->lockRecord());
  { auto passer = Table::open(path, "P"); }  // opened and closed again in this process

  // Another process must still find record 2 locked.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto f = Env::current()->open(path, OpenMode::kReadWrite);
    _exit(f->tryLock(1000000000ull + 2, 1, LockKind::kExclusive) ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the lock was lost when another descriptor closed";
}
#endif

TEST(TableTest, AppendedRecordIsWrittenWholeAndCounted) {
  TempDir dir;
  const std::string path = dir.file("students.dbf");
  writeStudents(path, kStudents);
  auto t = Table::open(path, "T", OpenMode::kReadWrite);
  auto watcher = Table::open(path, "W");
  t->appendBlank();
  t->replace("ST_NUMBER", 42);
  EXPECT_EQ(watcher->reccount(), 6u) << "nothing reaches the file before the record is complete";
  t->replace("ST_SURNAME", "Newman");
  t->commit();
  EXPECT_EQ(watcher->reccount(), 7u);
  watcher->goTo(7);
  EXPECT_EQ(watcher->text("ST_SURNAME"), "Newman");
  EXPECT_EQ(watcher->num("ST_NUMBER"), 42);
  // The header's count agrees with the file, and the file ends with the EOF mark.
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 7);
  EXPECT_EQ(bytes.back(), '\x1A');
}

TEST(TableTest, IndexOrderSeekFilterAndLocate) {
  TempDir dir;
  const std::string path = dir.file("students.dbf");
  writeStudents(path, kStudents);
  markDeleted(path, 4);  // Kwan
  auto t = Table::open(path, "ST");
  t->createIndex(dir.file("stname.ntx"), "UPPER(ST_SURNAME)+STR(ST_NUMBER,6)");
  t->createIndex(dir.file("stnum.ntx"), "ST_NUMBER");
  t->addIndex(dir.file("stname.ntx"));
  t->addIndex(dir.file("stnum.ntx"));
  EXPECT_EQ(t->order(), 1);
  EXPECT_EQ(numbersInOrder(*t), (std::vector<int>{3, 7, 5, 2, 9}));

  EXPECT_TRUE(t->seek("ABBOT"));
  EXPECT_EQ(t->num("ST_NUMBER"), 3);
  EXPECT_FALSE(t->seek("KWAN"));  // deleted: lands on the next visible record
  EXPECT_EQ(t->text("ST_SURNAME"), "Marsh");
  EXPECT_FALSE(t->seek("N"));  // soft seek: next higher key
  EXPECT_EQ(t->text("ST_SURNAME"), "Olsen");
  EXPECT_FALSE(t->seek("ZZ"));
  EXPECT_TRUE(t->eof());

  t->setOrder(2);
  EXPECT_TRUE(t->seek(7.0));
  EXPECT_EQ(t->text("ST_SURNAME"), "Abbot");
  EXPECT_FALSE(t->seek(6.0));
  EXPECT_EQ(t->num("ST_NUMBER"), 7);
  t->skip(-1);
  EXPECT_EQ(t->num("ST_NUMBER"), 5);
  t->goTo(1);  // Marsh, 5: stepping goes on from it in number order
  t->skip();
  EXPECT_EQ(t->num("ST_NUMBER"), 7);

  Bindings vars;
  vars.setText("WANTED", "Abbot");
  t->setFilter("TRIM(ST_SURNAME) = WANTED .OR. ST_YEAR = 9", &vars);
  EXPECT_EQ(numbersInOrder(*t), (std::vector<int>{3, 7}));
  vars.setText("WANTED", "Abbot\" .OR. .T. .OR. \"");  // a typed value is data, not code
  EXPECT_EQ(numbersInOrder(*t), std::vector<int>{});
  t->clearFilter();
  EXPECT_TRUE(t->locate("ST_YEAR = 10"));
  EXPECT_EQ(t->num("ST_NUMBER"), 7);
  EXPECT_FALSE(t->locate("ST_YEAR = 12"));
  EXPECT_TRUE(t->eof());
}

TEST(TableTest, RelationPositionsTheChild) {
  TempDir dir;
  const std::string studentsPath = dir.file("students.dbf");
  writeStudents(studentsPath, kStudents);
  const std::string yearsPath = dir.file("years.dbf");
  DbfFile::create(yearsPath, {{"YR", 'N', 2, 0}, {"YR_NAME", 'C', 10, 0}});
  {
    auto y = Table::open(yearsPath, "Y", OpenMode::kReadWrite);
    for (int yr : {7, 8, 10}) {
      y->appendBlank();
      y->replace("YR", yr);
      y->replace("YR_NAME", "Year " + std::to_string(yr));
    }
    y->commit();
    y->createIndex(dir.file("years.ntx"), "YR");
  }
  Workspace ws;
  Table& years = ws.open(yearsPath, "YEARS");
  years.addIndex(dir.file("years.ntx"));
  Table& students = ws.open(studentsPath, "STUDENTS");
  students.setRelation(&years, "ST_YEAR");
  std::vector<std::string> names;
  for (students.goTop(); !students.eof(); students.skip())
    names.push_back(years.found() ? years.text("YR_NAME") : "-");
  EXPECT_EQ(names, (std::vector<std::string>{"Year 7", "Year 8", "Year 7", "-", "Year 10", "Year 7"}));
  students.goTo(4);  // year 9, which the years table lacks: the blank record, not year 10
  EXPECT_TRUE(years.eof());
  EXPECT_EQ(years.text("YR_NAME"), "");
  EXPECT_EQ(ws.currentArea(), 2);
  EXPECT_TRUE(ws.select("years"));
  EXPECT_EQ(ws.current(), &years);
  ws.closeCurrent();  // the relation into it goes with it
  EXPECT_FALSE(ws.isOpen("YEARS"));
  students.goTop();
  EXPECT_EQ(&ws.open(studentsPath, "students"), &students) << "an open alias is selected, not reopened";
}

TEST(TableTest, SubjectTableIsCreatedAndIndexedByNumberTermLine) {
  TempDir dir;
  const std::string path = dir.file(velmont::school::subjectTableName(2004) + ".dbf");
  EXPECT_EQ(velmont::school::subjectTableName(2004), "STSUB04");
  velmont::school::new_subyr(path);
  EXPECT_TRUE(Env::current()->exists(dir.file("STSUB04.dbt")));
  {
    auto t = Table::open(path, "STSUB", OpenMode::kReadWrite);
    for (int line : {3, 1, 25, 2}) {
      for (int number : {120, 15}) {
        t->appendBlank();
        t->replace("STSUB_NUMB", number);
        t->replace("STSUB_TERM", 3);
        t->replace("STSUB_LINE", line);
        t->replace("STSUB_CODE", "S" + std::to_string(line));
      }
    }
    t->commit();
    t->createIndex(dir.file("STSUB04.ntx"), velmont::school::kSubjectKeyExpression);
  }
  auto t = Table::open(path, "STSUB");
  t->addIndex(dir.file("STSUB04.ntx"));
  ASSERT_TRUE(t->seek(velmont::school::SubjectKey(*t)(15, 3)));
  std::vector<int> lines;
  for (; !t->eof() && t->num("STSUB_NUMB") == 15; t->skip()) lines.push_back(int(t->num("STSUB_LINE")));
  EXPECT_EQ(lines, (std::vector<int>{1, 2, 3, 25}));
  EXPECT_TRUE(t->seek(velmont::school::SubjectKey(*t)(120, 3, 25)));
  EXPECT_EQ(t->text("STSUB_CODE"), "S25");
  EXPECT_FALSE(t->seek(velmont::school::SubjectKey(*t)(16, 1)));
  EXPECT_EQ(t->num("STSUB_NUMB"), 120);
}
