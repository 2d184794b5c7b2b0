// The demo school's tables read by an independent dBASE reader (Perl's XBase
// module, where installed) give the same values as our engine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "batch_test_helpers.h"
#include "data/numeric.h"

using namespace velmont;
using namespace velmont::testing;

namespace {

bool perlXBaseInstalled() { return std::system("perl -MXBase -e 1 >/dev/null 2>&1") == 0; }

// Every record that is not deleted, as the field texts the other reader gives.
std::vector<std::vector<std::string>> readWithPerl(const std::string& table, const std::string& scratch) {
  const std::string script = scratch + ".pl";
  {
    std::ofstream(script) << "use XBase; my $t = XBase->new($ARGV[0]) or die XBase->errstr; binmode STDOUT;\n"
                             "for my $i (0 .. $t->last_record) { my @r = $t->get_record($i); next if $r[0]; shift @r;\n"
                             "print join(\"\\x1f\", map { defined $_ ? $_ : '' } @r), \"\\x1e\"; }\n";
  }
  const std::string cmd = "perl '" + script + "' '" + table + "' > '" + scratch + "'";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
  std::vector<std::vector<std::string>> rows;
  const std::string all = readFile(scratch);
  size_t start = 0;
  for (size_t end; (end = all.find('\x1e', start)) != std::string::npos; start = end + 1) {
    std::vector<std::string> row;
    const std::string rec = all.substr(start, end - start);
    size_t s = 0;
    for (size_t e; (e = rec.find('\x1f', s)) != std::string::npos; s = e + 1) row.push_back(rec.substr(s, e - s));
    row.push_back(rec.substr(s));
    rows.push_back(row);
  }
  return rows;
}

std::string rtrim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace

TEST(IndependentReaderTest, SameValuesAsOurEngine) {
  if (!perlXBaseInstalled()) GTEST_SKIP() << "Perl XBase is not installed";
  TempDir scratch;
  for (const char* file : {"ststuden.dbf", "paparent.dbf", "sccontro.dbf", "STSUB24.dbf", "rvhplogo.dbf"}) {
    const auto theirs = readWithPerl(sharedDemoDir() + "/" + file, scratch.file("out"));
    auto ours = openTable(sharedDemoDir(), file);
    ASSERT_EQ(theirs.size(), ours->reccount()) << file;
    uint32_t recno = 0;
    for (const auto& row : theirs) {
      ours->goTo(++recno);
      ASSERT_EQ(int(row.size()), ours->fieldCount()) << file;
      for (int f = 0; f < ours->fieldCount(); ++f) {
        const std::string& their = row[size_t(f)];
        const std::string where = std::string(file) + " record " + std::to_string(recno) + " " + ours->field(f).name;
        switch (ours->field(f).type) {
          case 'N': EXPECT_DOUBLE_EQ(data::parseNumeric(their), ours->num(f)) << where; break;
          case 'D': EXPECT_EQ(their, ours->date(f).empty() ? "" : ours->date(f).dtos()) << where; break;
          case 'L': EXPECT_EQ(their == "1", ours->logical(f)) << where; break;
          case 'M': EXPECT_EQ(their, ours->memoText(f)) << where; break;
          default: EXPECT_EQ(rtrim(their), ours->text(f)) << where; break;
        }
      }
    }
  }
}
