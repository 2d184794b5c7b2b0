// Table engine speed on a 200,000-record student-subject table, beside its peers:
// a full scan against dbfread and a bare loop over the mapped file, the subject
// index build and random soft seeks against SQLite.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_util.h"
#include "school/subject_table.h"
#include "data/table.h"

using namespace velmont::data;
using namespace velmont::bench;

namespace {

constexpr int kStudents = 5000;
constexpr int kTerms = 4;
constexpr int kLines = 10;  // 5000 x 4 x 10 = 200,000 records

struct Triple {
  int number, term, line;
};

std::vector<Triple> shuffledTriples(uint32_t seed) {
  std::vector<Triple> all;
  all.reserve(kStudents * kTerms * kLines);
  for (int n = 1; n <= kStudents; ++n)
    for (int t = 1; t <= kTerms; ++t)
      for (int l = 1; l <= kLines; ++l) all.push_back({1000 + n * 3, t, l});
  std::mt19937 rng(seed);
  std::shuffle(all.begin(), all.end(), rng);
  return all;
}

void writeSubjects(const std::string& path, const std::vector<Triple>& rows) {
  new_subyr(path);
  auto t = Table::open(path, "STSUB", OpenMode::kReadWrite);
  const int numb = t->requireField("STSUB_NUMB"), term = t->requireField("STSUB_TERM"),
            line = t->requireField("STSUB_LINE"), code = t->requireField("STSUB_CODE"),
            emrk = t->requireField("STSUB_EMRK"), emen = t->requireField("STSUB_EMEN"),
            amrk = t->requireField("STSUB_AMRK"), amen = t->requireField("STSUB_AMEN"),
            effort = t->requireField("STSUB_EFFT"), comm = t->requireField("STSUB_COMM"),
            note = t->requireField("STSUB_NOTE"), teacher = t->requireField("STSUB_TCHR");
  size_t i = 0;
  for (const Triple& r : rows) {
    t->appendBlank();
    t->replace(numb, double(r.number));
    t->replace(term, double(r.term));
    t->replace(line, double(r.line));
    t->replace(code, "SUB" + std::to_string(r.line));
    t->replace(emrk, double(40 + (r.number * 7 + r.line) % 60));
    t->replace(emen, 62.5);
    t->replace(amrk, double(35 + (r.number * 3 + r.line) % 65));
    t->replace(amen, 64.2);
    t->replace(effort, std::string(1, char('A' + r.line % 6)));
    t->replace(comm, double(r.line * 10));
    if (++i % 50 == 0) t->replaceMemo(note, "Works steadily and shows real care in written work.");
    t->replace(teacher, "T" + std::to_string(r.line));
  }
  t->commit();
}

// Reads every field of every record; returns a checksum so nothing is optimised away.
double scanOurs(const std::string& path) {
  auto t = Table::open(path, "STSUB");
  const int n = t->fieldCount();
  std::vector<char> types;
  for (int f = 0; f < n; ++f) types.push_back(t->field(f).type);
  double sum = 0;
  for (t->goTop(); !t->eof(); t->skip()) {
    for (int f = 0; f < n; ++f) {
      switch (types[size_t(f)]) {
        case 'N': sum += t->num(f); break;
        case 'D': sum += t->date(f).dayNumber(); break;
        case 'L': sum += t->logical(f); break;
        case 'M': {
          const std::string_view p = t->fieldBytes(f);
          if (p.find_first_not_of(' ') != std::string_view::npos) sum += double(t->memoText(f).size());
          break;
        }
        default: sum += double(t->str(f)[0]); break;
      }
    }
  }
  return sum;
}

// The floor: walk the mapped file record by record and fold every byte of each
// record into a checksum (FNV-1a), as the cheapest reader that looks at all data.
uint64_t scanMapped(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  struct stat st;
  ::fstat(fd, &st);
  const size_t size = size_t(st.st_size);
  auto* p = static_cast<const unsigned char*>(::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0));
  const size_t headerLength = p[8] | p[9] << 8, recordLength = p[10] | p[11] << 8;
  uint64_t sum = 0;
  for (size_t at = headerLength; at + recordLength <= size; at += recordLength) {
    uint64_t h = 1469598103934665603ull;
    for (size_t i = 0; i < recordLength; ++i) h = (h ^ p[at + i]) * 1099511628211ull;
    sum += h;
  }
  ::munmap(const_cast<unsigned char*>(p), size);
  ::close(fd);
  return sum;
}

void sqliteExec(sqlite3* db, const char* sql) {
  char* err = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
    std::fprintf(stderr, "sqlite: %s\n", err);
    std::exit(1);
  }
}

sqlite3* sqliteWithRows(const std::string& path, const std::vector<Triple>& rows) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqliteExec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
  sqliteExec(db, "CREATE TABLE s(numb INTEGER, term INTEGER, line INTEGER, code TEXT, emrk INTEGER)");
  sqliteExec(db, "BEGIN");
  sqlite3_stmt* ins = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO s VALUES(?,?,?,?,?)", -1, &ins, nullptr);
  for (const Triple& r : rows) {
    sqlite3_bind_int(ins, 1, r.number);
    sqlite3_bind_int(ins, 2, r.term);
    sqlite3_bind_int(ins, 3, r.line);
    const std::string code = "SUB" + std::to_string(r.line);
    sqlite3_bind_text(ins, 4, code.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(ins, 5, 40 + r.line);
    sqlite3_step(ins);
    sqlite3_reset(ins);
  }
  sqlite3_finalize(ins);
  sqliteExec(db, "COMMIT");
  return db;
}

// Figures are printed with a checksum sink so the compiler keeps the work.
volatile double sink;

void benchScan(const std::string& table, double records) {
  double checksum = 0;
  const double ours = records / bestSeconds(3, [&] { checksum += scanOurs(table); });
  uint64_t bytes = 0;
  const double limit = records / bestSeconds(3, [&] { bytes += scanMapped(table); });
  sink = checksum + double(bytes);
  const double dbfread = numberFromCommand("/usr/bin/python3 " + std::string(VELMONT_BENCH_DIR) +
                                           "/dbfread_scan.py " + table + " 2>/dev/null");
  figure("engine.scan.records_per_second", ours, "records/s");
  figure("engine.scan.limit_records_per_second", limit, "records/s");
  if (dbfread > 0) {
    figure("engine.scan.dbfread_records_per_second", dbfread, "records/s");
    figure("engine.scan.vs_dbfread", ours / dbfread, "x");
  }
  figure("engine.scan.vs_limit", ours / limit, "x");
}

void benchBuild(Table& t, const std::string& index, sqlite3* db, double records) {
  const double build = records / bestSeconds(3, [&] { t.createIndex(index, kSubjectKeyExpression); });
  const double sqliteBuild = records / bestSeconds(3, [&] {
    sqliteExec(db, "DROP INDEX IF EXISTS i");
    sqliteExec(db, "CREATE INDEX i ON s(numb, term, line)");
  });
  figure("engine.index_build.keys_per_second", build, "keys/s");
  figure("engine.index_build.sqlite_keys_per_second", sqliteBuild, "keys/s");
  figure("engine.index_build.vs_sqlite", build / sqliteBuild, "x");
}

// Random soft seeks, each reading a field of the record it lands on.
void benchSeek(Table& t, const std::string& index, sqlite3* db, std::vector<Triple> probes) {
  std::shuffle(probes.begin(), probes.end(), std::mt19937(11));
  const double n = double(probes.size());
  t.addIndex(index);
  double found = 0;
  const SubjectKey subjectSeekKey(t);
  const double seeks = n / bestSeconds(3, [&] {
    for (const Triple& p : probes) {
      t.seek(subjectSeekKey(p.number, p.term, p.line));
      found += t.str(3)[0] == 'S';
    }
  });
  sqliteExec(db, "CREATE INDEX IF NOT EXISTS i ON s(numb, term, line)");
  sqlite3_stmt* q = nullptr;
  sqlite3_prepare_v2(db, "SELECT code, emrk FROM s WHERE numb=? AND term=? AND line=?", -1, &q, nullptr);
  const double sqliteSeeks = n / bestSeconds(3, [&] {
    for (const Triple& p : probes) {
      sqlite3_bind_int(q, 1, p.number);
      sqlite3_bind_int(q, 2, p.term);
      sqlite3_bind_int(q, 3, p.line);
      if (sqlite3_step(q) == SQLITE_ROW) found += sqlite3_column_text(q, 0)[0] == 'S';
      sqlite3_reset(q);
    }
  });
  sqlite3_finalize(q);
  sink = found;
  figure("engine.seek.seeks_per_second", seeks, "seeks/s");
  figure("engine.seek.sqlite_seeks_per_second", sqliteSeeks, "seeks/s");
  figure("engine.seek.vs_sqlite", seeks / sqliteSeeks, "x");
}

}  // namespace

int main(int argc, char** argv) {
  // "--only scan|build|seek" runs one part, for profiling.
  const std::string only = argc > 2 && std::string(argv[1]) == "--only" ? argv[2] : "";
  auto wanted = [&](const char* part) { return only.empty() || only == part; };

  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("velmont-engine-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string table = (dir / "STSUB26.dbf").string();
  const std::string index = (dir / "STSUB26.ntx").string();
  const auto rows = shuffledTriples(7);
  writeSubjects(table, rows);
  const double records = double(rows.size());

  if (wanted("scan")) benchScan(table, records);
  if (wanted("build") || wanted("seek")) {
    auto t = Table::open(table, "STSUB");
    sqlite3* db = sqliteWithRows((dir / "peer.sqlite").string(), rows);
    if (wanted("build")) benchBuild(*t, index, db, records);
    if (!wanted("build")) t->createIndex(index, kSubjectKeyExpression);
    if (wanted("seek")) benchSeek(*t, index, db, rows);
    sqlite3_close(db);
  }
  std::filesystem::remove_all(dir);
  return 0;
}
