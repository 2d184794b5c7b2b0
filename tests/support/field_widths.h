#pragma once
// Rewrites a table of a test school with other field widths, as another
// school's administration system may have chosen them: the same records through
// the engine's own table writer, and the named index files built again over the
// new table (with their own key expression, or the one given).
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "data/dbf_file.h"
#include "data/ntx.h"
#include "data/table.h"
#include "data/text.h"

namespace velmont::testing {

struct Width {
  int width = 0;
  int decimals = 0;
  char type = 0;  // 0 keeps the field's type
};

// `widths` by field name; `indexes` maps index files beside the table to a new
// key expression, "" keeping the one the file holds.
inline void rewriteWithWidths(const std::string& tablePath, const std::map<std::string, Width>& widths,
                              const std::map<std::string, std::string>& indexes = {}) {
  namespace fs = std::filesystem;
  const std::string scratch = tablePath + ".new.dbf";
  std::vector<data::FieldSpec> specs;
  {
    auto old = data::Table::open(tablePath, "old");
    for (const data::FieldDesc& f : old->fields()) {
      data::FieldSpec spec{f.name, f.type, f.width, f.decimals};
      if (auto w = widths.find(f.name); w != widths.end()) {
        spec.width = w->second.width;
        spec.decimals = w->second.decimals;
        if (w->second.type) spec.type = w->second.type;
      }
      specs.push_back(spec);
    }
    data::DbfFile::create(scratch, specs);
    auto copy = data::Table::open(scratch, "copy", data::OpenMode::kReadWrite);
    for (uint32_t r = 1; r <= old->reccount(); ++r) {
      old->goTo(r);
      copy->appendBlank();
      for (int i = 0; i < old->fieldCount(); ++i) {
        if (specs[size_t(i)].type == 'C' && old->field(i).type != 'C') {
          copy->replace(i, data::trim(old->str(i)));
          continue;
        }
        switch (old->field(i).type) {
          case 'N': case 'F': copy->replace(i, old->num(i)); break;
          case 'D': copy->replace(i, old->date(i)); break;
          case 'L': copy->replace(i, old->logical(i)); break;
          case 'M': copy->replaceMemo(i, old->memoText(i)); break;
          default: copy->replace(i, old->str(i)); break;
        }
      }
    }
    copy->commit();
  }
  const std::string memo = data::DbfFile::memoPathFor(tablePath), scratchMemo = data::DbfFile::memoPathFor(scratch);
  fs::rename(scratch, tablePath);
  if (fs::exists(scratchMemo)) fs::rename(scratchMemo, memo);
  const fs::path dir = fs::path(tablePath).parent_path();
  auto table = data::Table::open(tablePath, "new");
  for (const auto& [file, expression] : indexes) {
    const std::string ntx = (dir / file).string();
    std::string key = expression;
    if (key.empty()) key = data::NtxIndex(ntx).keyExpression();
    fs::remove(ntx);
    table->createIndex(ntx, key);
  }
}

}  // namespace velmont::testing
