// Fuzz target: the input is an expression, parsed against the fixture's table
// and evaluated on its records as a value, a key and (when logical) a filter.
#include <cstddef>
#include <cstdint>

#include "data/error.h"
#include "data/expr.h"
#include "data/table.h"
#include "fuzz_fixture.h"

using namespace velmont;
using namespace velmont::data;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemEnv env = fuzz::fixture();
  ScopedEnv scope(&env);
  auto t = Table::open(fuzz::kTable, "ST");
  Bindings vars;
  vars.setText("CLASS", "7A");
  vars.setNumber("LEVEL", 9);
  vars.setDate("ASAT", Date::fromYmd(2026, 2, 1));
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (bool exact : {true, false}) {
    try {
      ParseOptions options;
      options.exact = exact;
      Expression e = Expression::parse(text, *t, &vars, "fuzz", options);
      char key[256];
      for (t->goTop(); !t->eof(); t->skip()) {
        e.eval(*t);
        e.evalKey(*t, key, 20, 2);
      }
      const KeyShape shape = e.keyShapeOnBlank(*t, t->reccount() + 1);
      (void)shape;
      if (e.type() == ValueType::kLogical) {
        t->setFilter(text, &vars);
        for (t->goTop(); !t->eof(); t->skip()) {
        }
        t->clearFilter();
      }
    } catch (const DataError&) {
    }
  }
  return 0;
}
