// Fuzz target: the .ndx index reader and its tree walk on arbitrary bytes.
// Every block is visited at most once, so the walk ends and its output is bounded by the input.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "dbf/ndx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velk::NdxIndex ndx;
  if (!ndx.openBytes(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.ndx")) return 0;
  std::vector<velk::NdxEntry> entries;
  ndx.entries(entries);
  const std::size_t group = static_cast<std::size_t>(ndx.header().groupLength);
  if (entries.size() > size / group) __builtin_trap();
  double sum = 0;
  for (const velk::NdxEntry& e : entries) {
    if (e.key.size() != static_cast<std::size_t>(ndx.header().keyLength)) __builtin_trap();
    if (ndx.isNumeric()) sum += velk::NdxIndex::numericKey(e.key);
  }
  return sum != sum ? 0 : 0;
}
