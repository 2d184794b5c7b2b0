// Writes the seed corpus of the fuzz targets: the fixture's own files and a few
// texts in the expression language. Usage: make_fuzz_seeds CORPUS_DIR
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_fixture.h"

namespace fs = std::filesystem;

static void write(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const fs::path root(argv[1]);
  const auto& env = velmont::fuzz::fixture();
  write(root / "dbf" / "fixture.dbf", env.get(velmont::fuzz::kTable));
  write(root / "dbt" / "fixture.dbt", env.get(velmont::fuzz::kMemo));
  write(root / "ntx" / "ststname.ntx", env.get(velmont::fuzz::kIndex));
  const char* expressions[] = {
      "str(st_number)+upper(st_surname)",
      "ST_NUMBER > 10 .AND. TRIM(ST_SURNAME) = 'Lund3' .OR. .NOT. ST_OK",
      "SUBSTR(ST_SURNAME, -2, 5) $ \"und\" .AND. DTOS(ST_DOB) >= '2010'",
      "IIF(ST_FEE / 0 = 0, STR(ST_FEE, 8, 3), LEFT(ST_SURNAME, 3)) + DTOC(ST_DOB + 30)",
      "M->CLASS == ST_SURNAME .OR. ST_NUMBER % 7 = LEVEL .AND. ST_DOB < ASAT",
      "VAL(RIGHT(STR(RECNO()), 3)) * 2 ** 3 - LEN(ALLTRIM(ST_SURNAME)) + (-ST_NUMBER)",
      "CTOD('31/12/50') - DATE() > 0 .OR. EMPTY(ST_DOB) .OR. DELETED()",
  };
  int i = 0;
  for (const char* e : expressions) write(root / "expr" / ("seed" + std::to_string(++i) + ".txt"), e);
  return 0;
}
