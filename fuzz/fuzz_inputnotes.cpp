// Fuzz target: the checks around reading an input file (is it a spring file at all, the notes on
// lines that are no numbers) and a /SET value applied to what was read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/inputfile.h"
#include "shell/springsettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)velk::notSpringFileReason(bytes);
  velk::Spring s;
  std::vector<std::string> notes;
  velk::parseInputFile(s, velk::NumberSettings{}, bytes, &notes);
  // Every note is bounded: the line text is cut.
  for (const std::string& n : notes)
    if (n.size() > 80) __builtin_trap();
  // The first line as a /SET value for a number, a text and a selector.
  const std::string first(bytes.substr(0, bytes.find('\n')));
  for (const char* name : {"t", "zeichname", "crossSection", "kugelstrahlen"})
    (void)velk::applySpringSetting(s, name, first);
  return 0;
}
