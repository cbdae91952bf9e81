// Fuzz target: reading the help image list and editing it on arbitrary bytes. Every edit must
// touch exactly the line it names and keep the line count straight.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "help/imagebrowser.h"

namespace {

void check(bool ok) {
  if (!ok) __builtin_trap();
}

// Lines of bytes counted on their own: CR LF, CR or LF end one; a last line without end counts.
std::size_t countLines(std::string_view b) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n') ++i;
    if (b[i] == '\r' || b[i] == '\n') ++n;
  }
  if (!b.empty() && b.back() != '\r' && b.back() != '\n') ++n;
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const velk::HelpImageList list = velk::readHelpImageList(bytes);
  const std::size_t lines = countLines(bytes);
  check(list.entries.size() == std::min<std::size_t>(lines, velk::kMaxHelpImages));
  for (const velk::HelpImageEntry& e : list.entries) {
    check(e.text.size() <= velk::kHelpImageEntryWidth);
    for (char c : e.text) check(static_cast<unsigned char>(c) >= 0x20);
    for (char c : velk::helpImageName(e)) check(c != ' ' && static_cast<unsigned char>(c) >= 0x20);
  }

  const std::string newLine = velk::helpImageListLine("neu", std::string(bytes.substr(0, 60)));
  check(velk::readHelpImageList(newLine).entries.at(0).name == "neu");
  using Edit = velk::HelpImageListEdit;
  for (int line : {1, 2, static_cast<int>(lines), static_cast<int>(lines) + 1}) {
    const bool exists = line >= 1 && static_cast<std::size_t>(line) <= lines;
    const auto deleted = velk::editHelpImageList(bytes, Edit::Delete, line, newLine);
    const auto replaced = velk::editHelpImageList(bytes, Edit::Replace, line, newLine);
    const auto inserted = velk::editHelpImageList(bytes, Edit::InsertBefore, line, newLine);
    check(deleted.has_value() == exists && replaced.has_value() == exists && inserted.has_value() == exists);
    if (!exists) continue;
    check(countLines(*deleted) == lines - 1);
    check(countLines(*replaced) == lines);
    check(countLines(*inserted) == lines + 1);
    check(inserted->size() == bytes.size() + newLine.size());
    if (line <= velk::kMaxHelpImages) {
      check(velk::readHelpImageList(*replaced).entries.at(static_cast<std::size_t>(line - 1)).name == "neu");
      check(velk::readHelpImageList(*inserted).entries.at(static_cast<std::size_t>(line - 1)).name == "neu");
    }
  }
  const auto appended = velk::editHelpImageList(bytes, Edit::Append, 0, newLine);
  check(appended && countLines(*appended) == lines + 1 && appended->ends_with(newLine));
  return 0;
}
