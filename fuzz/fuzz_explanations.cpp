// Fuzz target: the explanation-file lookup and the replacement of an entry on arbitrary bytes.
// The first line of the input is the message looked up, the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "report/explanationfile.h"

namespace {

void check(bool ok) {
  if (!ok) __builtin_trap();
}

void exercise(std::string_view file, std::string_view message) {
  for (std::size_t prefix : {velk::kReportMatchLength, velk::kWindowMatchLength}) {
    const velk::ExplanationEntry e = velk::findExplanation(file, message, prefix);
    check(e.cause.size() <= velk::kExplanationLineLength && e.remedy.size() <= velk::kExplanationLineLength);
    check(e.found || (e.cause.empty() && e.remedy.empty()));
  }
  const std::string cause = "neue Ursache\r\nmit Umbruch";
  const auto out = velk::replaceExplanation(file, message, cause, std::string_view("A\0b", 3));
  const velk::ExplanationEntry shown = velk::findExplanation(file, message, velk::kWindowMatchLength);
  const velk::ExplanationEntry report = velk::findExplanation(file, message, velk::kReportMatchLength);
  // An entry is replaced exactly when the window or the report texts find one ...
  check(out.has_value() == (shown.found || report.found));
  if (!out) return;
  // A message that the new lines would match themselves may find them instead: nothing to compare.
  const std::string_view newLines = "neue Ursache mit Umbruch\r\nA b\r\n\r\n";
  if (velk::findExplanation(newLines, message, velk::kReportMatchLength).found ||
      velk::findExplanation(newLines, message, velk::kWindowMatchLength).found)
    return;
  // ... and afterwards that entry holds the new texts as single lines.
  const velk::ExplanationEntry again = velk::findExplanation(*out, message, velk::kWindowMatchLength);
  const velk::ExplanationEntry after =
      shown.found ? again : velk::findExplanation(*out, message, velk::kReportMatchLength);
  check(after.found && after.cause == "neue Ursache mit Umbruch" && after.remedy == "A b");
  check(after.line == (shown.found ? shown.line : report.line));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t eol = bytes.find('\n');
  const std::string_view message = eol == std::string_view::npos ? bytes : bytes.substr(0, eol);
  const std::string_view file = eol == std::string_view::npos ? std::string_view() : bytes.substr(eol + 1);
  exercise(file, message.substr(0, 36));
  // The messages the program forms, against the same bytes taken whole as a file.
  for (std::string_view m : {"Fehler : sigmak2=0 !", "Warnung: d<dmin (0.1)", "DBF #12 not found.", "GetT0 (pow)"})
    exercise(bytes, m);
  return 0;
}
