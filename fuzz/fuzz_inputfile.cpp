// Fuzz target: the input file reader on arbitrary bytes, then a write of what it read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "data/inputfile.h"
#include "session/session.h"
#include "ui/headless.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static velk::HeadlessUi ui(velk::HeadlessUi::Mode::Scripted);
  velk::Session ws(ui);
  velk::parseInputFile(ws.spring, ws.num(), std::string_view(reinterpret_cast<const char*>(data), size));
  std::string again = velk::inputFileBytes(ws.spring, ws.num());
  // What we wrote must read back to the same bytes.
  velk::parseInputFile(ws.spring, ws.num(), again);
  if (velk::inputFileBytes(ws.spring, ws.num()) != again) __builtin_trap();
  return 0;
}
