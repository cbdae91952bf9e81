// Lines that should hold a number but do not, and bytes that are no spring file at all.
#include <gtest/gtest.h>

#include "base/codepage.h"
#include "data/inputfile.h"

namespace velk::test {
namespace {

// The bytes of a spring file with line `line` (1-based) replaced by text.
std::string withLine(int line, const std::string& text) {
  const std::string bytes = inputFileBytes(Spring{}, NumberSettings{});
  std::size_t begin = 0;
  for (int i = 1; i < line; ++i) begin = bytes.find('\n', begin) + 1;
  const std::size_t end = bytes.find_first_of("\r\n", begin);
  return bytes.substr(0, begin) + text + bytes.substr(end);
}

TEST(InputFileNotes, ANumberLineThatIsNoNumberReadsZeroAndIsNoted) {
  struct Case {
    const char* text;
    bool noted;
  } cases[] = {{"0.3 mm", true}, {"1.000,5", true}, {"abc", true}, {"0.3", false}, {"0,3", false}, {"", false}};
  for (const Case& c : cases) {
    Spring s;
    std::vector<std::string> notes;
    parseInputFile(s, NumberSettings{}, withLine(13, c.text), &notes);  // line 13 holds t
    ASSERT_EQ(notes.size(), c.noted ? 1u : 0u) << c.text;
    if (c.noted) {
      EXPECT_EQ(static_cast<double>(s.t), 0.0) << c.text;
      EXPECT_EQ(cp850ToUtf8(notes[0]), std::string("Zeile 13 keine Zahl: ") + c.text);
    }
  }
  std::vector<std::string> notes;
  Spring s;
  parseInputFile(s, NumberSettings{}, inputFileBytes(Spring{}, NumberSettings{}), &notes);
  EXPECT_TRUE(notes.empty()) << notes.front();
}

TEST(InputFileNotes, BytesThatAreNoSpringFile) {
  const std::string good = inputFileBytes(Spring{}, NumberSettings{});
  EXPECT_EQ(notSpringFileReason(good), "");
  EXPECT_EQ(notSpringFileReason(""), "leer");
  EXPECT_EQ(cp850ToUtf8(notSpringFileReason(good.substr(0, 20) + std::string(1, '\0') + good.substr(20))), "binär");
  std::size_t tenLines = 0;
  for (int i = 0; i < 10; ++i) tenLines = good.find('\n', tenLines) + 1;
  EXPECT_EQ(notSpringFileReason(good.substr(0, tenLines)), "zu kurz");
  EXPECT_EQ(notSpringFileReason("1\n2\n3\n"), "zu kurz");
}

}  // namespace
}  // namespace velk::test
