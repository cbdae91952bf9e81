// Fuzz target: the help text lookup on arbitrary bytes. The first two bytes choose one help
// number asked for besides a few fixed ones; the whole input is the help text file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "help/helptext.h"

namespace {

void check(bool ok) {
  if (!ok) __builtin_trap();
}

void exercise(std::string_view file, uint16_t number) {
  const velk::HelpEntry e = velk::findHelpEntry(file, number);
  check(!e.fileFound);
  for (const std::string& line : e.lines) check(line.size() <= velk::kHelpLineKept);
  check(e.image.size() <= velk::kHelpLineKept);
  if (!e.found) {
    // Nothing found leaves the lookup's start values.
    check(e.image == "null");
    for (const std::string& line : e.lines) check(line.empty());
  } else {
    check(e.image != "null" || file.find(":") != std::string_view::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const uint16_t chosen = size >= 2 ? static_cast<uint16_t>(data[0] << 8 | data[1]) : 0;
  for (uint16_t number : {chosen, uint16_t(0), uint16_t(1000), uint16_t(1050), uint16_t(1051), uint16_t(2300),
                          uint16_t(4000), uint16_t(9999), uint16_t(65535)})
    exercise(bytes, number);
  // Each line examined on its own: a number line has a number of at most four digits.
  std::size_t pos = 0;
  for (int n = 0; n < 64 && pos < bytes.size(); ++n) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    const velk::HelpNumberLine l = velk::examineHelpLine(bytes.substr(pos, end - pos));
    check(l.number >= -1 && l.number <= 9999);
    check(l.number >= 0 || l.image.empty());
    pos = end + 1;
  }
  return 0;
}
