#pragma once
// A page printer on a memory device, with its internal members readable.
#include <gtest/gtest.h>

#include <variant>
#include <vector>

#include "print/memory_device.h"
#include "print/page_printer.h"

namespace velmont::print::testing {

class OpenPrinter : public lmcPrn3 {
 public:
  using lmcPrn3::aFills;
  using lmcPrn3::cBold;
  using lmcPrn3::cItal;
  using lmcPrn3::cUnder;
  using lmcPrn3::lDoc;
  using lmcPrn3::nLpt;
  using lmcPrn3::nPgHt;
  using lmcPrn3::nPgWd;
  using lmcPrn3::nPtPos;
  using lmcPrn3::nQpt;
  using lmcPrn3::nRowHt;
  using lmcPrn3::qRow;
};

// Items of one kind on the page being drawn, in drawing order.
template <typename Item>
std::vector<Item> itemsOf(const PageList& page) {
  std::vector<Item> found;
  for (const DrawItem& item : page.items())
    if (auto* wanted = std::get_if<Item>(&item)) found.push_back(*wanted);
  return found;
}

class PrinterTest : public ::testing::Test {
 protected:
  PrinterTest() {
    auto memory = std::make_unique<MemoryDevice>();
    device = memory.get();
    printer.Init(std::move(memory));
    printer.create();
  }
  std::vector<TextItem> texts() const { return itemsOf<TextItem>(printer.currentPage()); }
  std::vector<BoxItem> boxes() const { return itemsOf<BoxItem>(printer.currentPage()); }
  std::vector<LineItem> lines() const { return itemsOf<LineItem>(printer.currentPage()); }
  const PrintFont& fontOf(const TextItem& text) const {
    return printer.currentPage().fonts().at(text.font);
  }

  OpenPrinter printer;
  MemoryDevice* device = nullptr;
};

}  // namespace velmont::print::testing
