#include "report_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "batch_reports/eot/eot_command.h"
#include "batch_reports/list/list_command.h"
#include "data/expr.h"
#include "data/ntx.h"

namespace velmont::testing {

CommandResult runReportCommand(const std::vector<std::string>& args) {
  static const bool registered = [] {
    batch::registerEotCommand();
    batch::registerListCommand();
    return true;
  }();
  (void)registered;
  return runCommand(args);
}

void rebuildIndex(const std::string& tablePath, const std::string& ntxPath,
                  const std::function<void(IndexEntries&)>& edit) {
  auto table = data::Table::open(tablePath, "T");
  data::NtxDefinition definition;
  {
    data::NtxIndex old(ntxPath);
    definition.keyExpression = old.keyExpression();
    definition.keySize = old.keySize();
    definition.keyDecimals = old.keyDecimals();
  }
  data::Expression key = data::Expression::parse(definition.keyExpression, *table, nullptr, ntxPath);
  IndexEntries entries;
  for (table->goTo(1); !table->eof(); table->goTo(table->recno() + 1)) {
    std::string k(size_t(definition.keySize), ' ');
    key.evalKey(*table, k.data(), definition.keySize, definition.keyDecimals);
    entries.emplace_back(k, table->recno());
  }
  std::sort(entries.begin(), entries.end());
  edit(entries);
  std::string keys;
  std::vector<uint32_t> recnos;
  for (const auto& [k, r] : entries) {
    keys += k;
    recnos.push_back(r);
  }
  data::NtxIndex::build(ntxPath, definition, keys.data(), recnos.data(), recnos.size());
}

void rebuildIndexPointing(const std::string& tablePath, const std::string& ntxPath, size_t rank, uint32_t recno) {
  rebuildIndex(tablePath, ntxPath, [&](IndexEntries& entries) {
    ASSERT_LT(rank, entries.size());
    entries[rank].second = recno;
  });
}

}  // namespace velmont::testing
