// Fuzz target: the dBASE table parser on arbitrary bytes, then every reader of what it parsed
// (all fields, search, delimited text and HTML export, listing) and an index built on it.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "dbf/dbf.h"
#include "dbf/dbfexport.h"
#include "dbf/ndx.h"

namespace {

struct NullSink : velk::TableListingSink {
  std::size_t cells = 0;
  void heading(const std::vector<velk::TableListingColumn>& c) override { cells += c.size(); }
  void row(const std::vector<std::string>& r) override {
    for (const std::string& s : r)
      if (s.size() > 65) __builtin_trap();
    cells += r.size();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  velk::DbfTable t;
  if (!t.openBytes(bytes, "fuzz.dbf")) return 0;
  // Never more records than the bytes hold.
  if (static_cast<std::uint64_t>(t.recordCount()) * static_cast<std::uint64_t>(t.recordLength()) +
          static_cast<std::uint64_t>(t.headerLength()) >
      size)
    __builtin_trap();

  std::size_t total = 0;
  std::uint32_t live = 0;
  // Delimited lines start with a quote when the first exported field is text, so none is blank.
  char firstExported = 0;
  for (int i = 0; i < t.fieldCount() && !firstExported; ++i)
    if (t.field(i).type != 'M') firstExported = t.field(i).type;
  for (std::uint32_t n = 1; n <= t.recordCount(); ++n) {
    live += t.isDeleted(n) ? 0 : 1;
    for (int i = 0; i < t.fieldCount(); ++i) {
      total += t.fieldText(n, i).size() + (t.fieldBool(n, i) ? 1 : 0);
      if (t.fieldRaw(n, i).size() != static_cast<std::size_t>(t.field(i).length)) __builtin_trap();
    }
  }

  // A record's own text is found in it.
  if (t.recordCount() > 0 && !t.isDeleted(1)) {
    const std::string first = t.fieldText(1, 0);
    if (!first.empty() && velk::searchTable(t, first, 1) != 1) __builtin_trap();
  }
  velk::searchTable(t, "a", 0);

  // Delimited text reads back to as many records as it was written from.
  std::ostringstream delimited;
  velk::writeDelimited(t, delimited);
  if (firstExported == 'C' && velk::parseDelimited(t, delimited.str()).size() != live) __builtin_trap();

  std::ostringstream html;
  velk::HtmlExportInfo info;
  info.filePath = "fuzz.htm";
  velk::writeHtml(t, html, info);

  NullSink sink;
  velk::writeTableListing(t, sink);

  // An index built on the table reads back in the in-memory order.
  for (int i = 0; i < t.fieldCount() && i < 3; ++i) {
    std::string image;
    if (!velk::buildNdxImage(t, i, image)) continue;
    velk::NdxIndex ndx;
    std::vector<velk::NdxEntry> entries;
    if (!ndx.openBytes(image, "fuzz.ndx") || !ndx.entries(entries)) __builtin_trap();
    const std::vector<std::uint32_t> order = velk::indexOrder(t, i);
    if (entries.size() != order.size()) __builtin_trap();
    for (std::size_t k = 0; k < order.size(); ++k)
      if (entries[k].record != order[k]) __builtin_trap();
  }
  return total == static_cast<std::size_t>(-1) ? 1 : 0;
}
