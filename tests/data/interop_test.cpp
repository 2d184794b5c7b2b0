// Tables and memos exchanged with two independent implementations: Debian's
// python3-dbf and Perl's XBase. Both must read what we write, and we must read
// what python3-dbf writes, field for field.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "data/dbf_file.h"
#include "data/table.h"
#include "temp_dir.h"

using namespace velmont::data;
using velmont::testing::TempDir;

namespace {

std::string run(const std::string& command) {
  FILE* p = popen(command.c_str(), "r");
  if (!p) return "popen failed";
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int status = pclose(p);
  if (status != 0) out += "\n[exit status " + std::to_string(status) + "]";
  return out;
}

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

const std::string kLongNote = std::string(700, 'x') + "\r\nend";

// Writes the shared sample through our engine: a deleted record, an empty date,
// a negative number, a memo over two blocks, an empty memo.
void writeSample(const std::string& path) {
  DbfFile::create(path, {{"NAME", 'C', 20, 0}, {"AGE", 'N', 3, 0}, {"FEE", 'N', 8, 2}, {"BORN", 'D', 8, 0},
                         {"OK", 'L', 1, 0}, {"NOTE", 'M', 10, 0}});
  auto t = Table::open(path, "P", OpenMode::kReadWrite);
  struct Row {
    const char* name;
    int age;
    double fee;
    Date born;
    bool ok;
    std::string note;
  };
  const Row rows[] = {{"Anna", 12, 3.5, Date::fromYmd(2012, 5, 1), true, "line one\r\nline two"},
                      {"Bo", 7, -2.25, Date(), false, ""},
                      {"Cy", 9, 0, Date::fromYmd(2015, 1, 31), true, kLongNote}};
  for (const Row& r : rows) {
    t->appendBlank();
    t->replace("NAME", r.name);
    t->replace("AGE", r.age);
    t->replace("FEE", r.fee);
    t->replace("BORN", r.born);
    t->replace("OK", r.ok);
    t->replaceMemo(t->requireField("NOTE"), r.note);
  }
  t->commit();
  // Mark Bo deleted by its flag byte, as the administration system does.
  auto dbf = DbfFile::open(path, OpenMode::kReadWrite);
  std::vector<char> rec(size_t(dbf->recordLength()));
  dbf->readRecord(2, rec.data());
  rec[0] = '*';
  dbf->writeRecord(2, rec.data());
}

// What each reader should print for the sample: deleted flag, then the fields.
const char* kExpected =
    "0|Anna|12|3.50|20120501|1|line one\\r\\nline two\n"
    "1|Bo|7|-2.25||0|\n"
    "0|Cy|9|0.00|20150131|1|700x\\r\\nend\n";

std::string memoShown(const std::string& memo) {
  std::string s = memo.size() > 100 ? std::to_string(memo.find_first_not_of('x')) + "x" + memo.substr(700) : memo;
  std::string out;
  for (char c : s) out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return out;
}

}  // namespace

TEST(InteropTest, PythonDbfReadsOurTable) {
  TempDir dir;
  writeSample(dir.file("people.dbf"));
  writeFile(dir.file("read.py"), R"(
import sys, dbf
def memo(m):
    s = (str(m.index('\r')) + 'x' + m[700:]) if len(m) > 100 else m
    return s.replace('\r', '\\r').replace('\n', '\\n')
t = dbf.Table(sys.argv[1]); t.open()
for r in t:
    born = r.born.strftime('%Y%m%d') if r.born else ''
    print('|'.join([str(int(dbf.is_deleted(r))), r.name.rstrip(), str(int(r.age)), '%.2f' % r.fee, born,
                    str(int(bool(r.ok))), memo(r.note)]))
)");
  EXPECT_EQ(run("/usr/bin/python3 " + dir.file("read.py") + " " + dir.file("people.dbf") + " 2>&1"), kExpected);
}

TEST(InteropTest, PerlXBaseReadsOurTable) {
  TempDir dir;
  writeSample(dir.file("people.dbf"));
  writeFile(dir.file("read.pl"), R"(
use XBase;
my $t = XBase->new($ARGV[0]) or die XBase->errstr;
for my $i (0 .. $t->last_record) {
  my ($del, $name, $age, $fee, $born, $ok, $note) = $t->get_record($i);
  $note = length($note) > 100 ? index($note, "\r") . 'x' . substr($note, 700) : $note;
  $note =~ s/\r/\\r/g; $note =~ s/\n/\\n/g;
  printf "%d|%s|%d|%.2f|%s|%d|%s\n", $del ? 1 : 0, $name, $age, $fee, $born // '', $ok ? 1 : 0, $note // '';
}
)");
  EXPECT_EQ(run("/usr/bin/perl " + dir.file("read.pl") + " " + dir.file("people.dbf") + " 2>&1"), kExpected);
}

TEST(InteropTest, WeReadWhatPythonDbfWrites) {
  TempDir dir;
  writeFile(dir.file("write.py"), R"(
import sys, dbf, datetime
t = dbf.Table(sys.argv[1], 'NAME C(20); AGE N(3,0); FEE N(8,2); BORN D; OK L; NOTE M', dbf_type='db3')
t.open(dbf.READ_WRITE)
t.append(('Anna', 12, 3.5, datetime.date(2012, 5, 1), True, 'line one\r\nline two'))
t.append(('Bo', 7, -2.25, None, False, ''))
t.append(('Cy', 9, 0, datetime.date(2015, 1, 31), True, 'x' * 700 + '\r\nend'))
dbf.delete(t[1])
t.close()
)");
  ASSERT_EQ(run("/usr/bin/python3 " + dir.file("write.py") + " " + dir.file("people.dbf") + " 2>&1"), "");
  auto t = Table::open(dir.file("people.dbf"), "P");
  std::ostringstream seen;
  for (uint32_t r = 1; r <= t->reccount(); ++r) {
    t->goTo(r);
    char fee[16];
    std::snprintf(fee, sizeof fee, "%.2f", t->num("FEE"));
    seen << (t->deleted() ? 1 : 0) << '|' << t->text("NAME") << '|' << t->num("AGE") << '|' << fee << '|'
         << t->date("BORN").dtos().substr(0, t->date("BORN").empty() ? 0 : 8) << '|' << t->logical("OK") << '|'
         << memoShown(t->memo("NOTE")) << '\n';
  }
  EXPECT_EQ(seen.str(), kExpected);
  // Navigation hides the deleted record.
  std::vector<std::string> names;
  for (t->goTop(); !t->eof(); t->skip()) names.push_back(t->text("NAME"));
  EXPECT_EQ(names, (std::vector<std::string>{"Anna", "Cy"}));
}
