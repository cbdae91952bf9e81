// Fuzz target: the input file reader on arbitrary bytes, then a write of what it read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/workspace.h"
#include "data/inputfile.h"
#include "dialogs/headless.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static velk::HeadlessUi ui(velk::HeadlessUi::Mode::Scripted);
  velk::Workspace ws(ui);
  velk::parseInputFile(ws, std::string_view(reinterpret_cast<const char*>(data), size));
  std::string again = velk::inputFileBytes(ws);
  // What we wrote must read back to the same bytes.
  velk::parseInputFile(ws, again);
  if (velk::inputFileBytes(ws) != again) __builtin_trap();
  return 0;
}
