// Table engine speed on a 200,000-record student-subject table, beside its peers:
// a full scan against SQLite's full scan of the same rows, against dbfread (a
// reader written in Python) and against one plain pass over every byte of the
// file in memory; the subject index build and random soft seeks against SQLite.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
  velmont::school::new_subyr(path);
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

// Adds every byte of a text into a checksum, so a reader has to look at all of it.
uint64_t foldBytes(std::string_view bytes) {
  uint64_t sum = 0;
  for (const char c : bytes) sum += uint8_t(c);
  return sum;
}

// Reads every field of every record, every byte of each character field and
// every memo's text; returns a checksum so nothing is optimised away.
double scanOurs(const std::string& path) {
  auto t = Table::open(path, "STSUB");
  const int n = t->fieldCount();
  std::vector<char> types;
  for (int f = 0; f < n; ++f) types.push_back(t->field(f).type);
  double sum = 0;
  uint64_t bytes = 0;
  for (t->goTop(); !t->eof(); t->skip()) {
    for (int f = 0; f < n; ++f) {
      switch (types[size_t(f)]) {
        case 'N': sum += t->num(f); break;
        case 'D': sum += t->date(f).dayNumber(); break;
        case 'L': sum += t->logical(f); break;
        case 'M': {
          const std::string_view p = t->fieldBytes(f);
          if (p.find_first_not_of(' ') != std::string_view::npos) bytes += foldBytes(t->memoText(f));
          break;
        }
        default: bytes += foldBytes(t->str(f)); break;
      }
    }
  }
  return sum + double(bytes);
}

// The table file mapped into memory and read in once, for the bandwidth floor.
class MappedFile {
 public:
  explicit MappedFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
      std::fprintf(stderr, "cannot open %s\n", path.c_str());
      std::exit(1);
    }
    size_ = size_t(st.st_size);
    data_ = ::mmap(nullptr, size_, PROT_READ, MAP_SHARED | MAP_POPULATE, fd, 0);
    ::close(fd);
    if (data_ == MAP_FAILED) {
      std::fprintf(stderr, "cannot map %s\n", path.c_str());
      std::exit(1);
    }
  }
  ~MappedFile() { ::munmap(data_, size_); }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // One plain pass over every byte, eight at a time: what memory bandwidth
  // allows a reader that looks at all of the file and does nothing else (where
  // the processor's cache holds the whole file, this is the cache's bandwidth).
  uint64_t sumOfWords() const {
    const auto* p = static_cast<const unsigned char*>(data_);
    uint64_t sum = 0;
    size_t at = 0;
    for (; at + 8 <= size_; at += 8) {
      uint64_t word;
      std::memcpy(&word, p + at, 8);
      sum += word;
    }
    for (; at < size_; ++at) sum += p[at];
    return sum;
  }
  size_t size() const { return size_; }

 private:
  void* data_ = nullptr;
  size_t size_ = 0;
};

void sqliteExec(sqlite3* db, const char* sql) {
  char* err = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
    std::fprintf(stderr, "sqlite: %s\n", err);
    std::exit(1);
  }
}

// The same rows in SQLite, copied field by field from the table: numbers as
// numbers, character fields as their text without the padding, memos as text
// (NULL when a record has none). Columns are the field names without "STSUB_".
sqlite3* sqliteWithRows(const std::string& path, const std::string& tablePath) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqliteExec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
  auto t = Table::open(tablePath, "STSUB");
  const int n = t->fieldCount();
  std::string columns, marks;
  for (int f = 0; f < n; ++f) {
    const FieldDesc& d = t->field(f);
    std::string name = d.name.substr(d.name.find('_') + 1);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    columns += (f ? ", " : "") + name + (d.type == 'N' ? (d.decimals ? " REAL" : " INTEGER") : " TEXT");
    marks += f ? ",?" : "?";
  }
  sqliteExec(db, ("CREATE TABLE s(" + columns + ")").c_str());
  sqliteExec(db, "BEGIN");
  sqlite3_stmt* ins = nullptr;
  sqlite3_prepare_v2(db, ("INSERT INTO s VALUES(" + marks + ")").c_str(), -1, &ins, nullptr);
  for (t->goTop(); !t->eof(); t->skip()) {
    for (int f = 0; f < n; ++f) {
      const FieldDesc& d = t->field(f);
      if (d.type == 'N' && d.decimals == 0) {
        sqlite3_bind_int64(ins, f + 1, int64_t(t->num(f)));
      } else if (d.type == 'N') {
        sqlite3_bind_double(ins, f + 1, t->num(f));
      } else {
        const std::string text = d.type == 'M' ? t->memoText(f) : t->text(f);
        if (d.type == 'M' && text.empty())
          sqlite3_bind_null(ins, f + 1);
        else
          sqlite3_bind_text(ins, f + 1, text.data(), int(text.size()), SQLITE_TRANSIENT);
      }
    }
    sqlite3_step(ins);
    sqlite3_reset(ins);
  }
  sqlite3_finalize(ins);
  sqliteExec(db, "COMMIT");
  return db;
}

// SQLite's full scan of the same rows, reading every column of every row and
// every byte of each text, as scanOurs does.
double scanSqlite(sqlite3* db) {
  sqlite3_stmt* q = nullptr;
  sqlite3_prepare_v2(db, "SELECT * FROM s", -1, &q, nullptr);
  const int n = sqlite3_column_count(q);
  double sum = 0;
  uint64_t bytes = 0;
  while (sqlite3_step(q) == SQLITE_ROW) {
    for (int c = 0; c < n; ++c) {
      switch (sqlite3_column_type(q, c)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT: sum += sqlite3_column_double(q, c); break;
        case SQLITE_TEXT: {
          const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(q, c));
          bytes += foldBytes(std::string_view(text, size_t(sqlite3_column_bytes(q, c))));
          break;
        }
        default: break;
      }
    }
  }
  sqlite3_finalize(q);
  return sum + double(bytes);
}

// Figures are printed with a checksum sink so the compiler keeps the work.
volatile double sink;

void benchScan(const std::string& table, sqlite3* db, double records) {
  double checksum = 0;
  const double ours = records / bestSeconds(3, [&] { checksum += scanOurs(table); });
  const double sqlite = records / bestSeconds(3, [&] { checksum += scanSqlite(db); });
  const MappedFile mapped(table);
  uint64_t words = 0;
  const double passSeconds = bestSeconds(5, [&] { words += mapped.sumOfWords(); });
  sink = checksum + double(words);
  const double dbfread = numberFromCommand("/usr/bin/python3 " + std::string(VELMONT_BENCH_DIR) +
                                           "/dbfread_scan.py " + table + " 2>/dev/null");
  figure("engine.scan.records_per_second", ours, "records/s");
  figure("engine.scan.sqlite_records_per_second", sqlite, "records/s");
  figure("engine.scan.vs_sqlite", ours / sqlite, "x");
  if (dbfread > 0) {
    figure("engine.scan.python_dbfread_records_per_second", dbfread, "records/s");
    figure("engine.scan.vs_python_dbfread", ours / dbfread, "x");
  }
  // The limit: one plain pass over every byte of the file already in memory.
  figure("engine.scan.limit_bytes_per_second", double(mapped.size()) / passSeconds, "bytes/s");
  figure("engine.scan.limit_records_per_second", records / passSeconds, "records/s");
  figure("engine.scan.vs_limit", ours / (records / passSeconds), "x");
}

void benchBuild(Table& t, const std::string& index, sqlite3* db, double records) {
  const double build = records / bestSeconds(3, [&] { t.createIndex(index, velmont::school::kSubjectKeyExpression); });
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
  const velmont::school::SubjectKey subjectSeekKey(t);
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

  sqlite3* db = sqliteWithRows((dir / "peer.sqlite").string(), table);
  if (wanted("scan")) benchScan(table, db, records);
  if (wanted("build") || wanted("seek")) {
    auto t = Table::open(table, "STSUB");
    if (wanted("build")) benchBuild(*t, index, db, records);
    if (!wanted("build")) t->createIndex(index, velmont::school::kSubjectKeyExpression);
    if (wanted("seek")) benchSeek(*t, index, db, rows);
  }
  sqlite3_close(db);
  std::filesystem::remove_all(dir);
  return 0;
}
