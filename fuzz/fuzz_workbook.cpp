// Fuzz target: arbitrary bytes read as a workbook (zip package, XML parts), column A of the
// first sheet. The limits are smaller than the program's so each run stays quick; the checks
// against them are the same code.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sheet/xlsx/xlsx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velk::WorkbookLimits limits;
  limits.maxEntryBytes = 4u << 20;
  limits.maxTotalBytes = 8u << 20;
  limits.maxRows = 100000;
  limits.maxCellChars = 4096;
  limits.maxColumnBytes = 1u << 20;
  limits.maxElements = 1u << 20;  // the depth keeps its own limit of 256
  const velk::WorkbookColumn column =
      velk::readWorkbookColumnXlsx(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.xlsx", limits);
  if (column.ok != column.error.empty()) __builtin_trap();
  if (!column.ok && !column.lines.empty()) __builtin_trap();
  if (column.lines.size() > limits.maxRows) __builtin_trap();
  std::size_t bytes = 0;
  for (const auto& line : column.lines) bytes += line.size();
  if (bytes > limits.maxColumnBytes) __builtin_trap();
  return 0;
}
