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
  EXPECT_EQ(notSpringFileReason(std::string(30, '\r')), "");  // 30 lines, whatever their ends
  EXPECT_EQ(notSpringFileReason(std::string(15, '\n') + std::string(11, '\r')), "");
  EXPECT_EQ(notSpringFileReason(std::string(20, '\n') + "\r\n\r\n"), "zu kurz");
}

// A line shown in a message shows its control characters escaped, so no terminal or log reads
// them as commands or line ends.
TEST(InputFileNotes, ControlCharactersInANotedLineAreEscaped) {
  const struct {
    std::string text, shown;
  } cases[] = {{"0.3\x0B", "0.3\\x0B"},
               {"\x1B[31m1", "\\x1B[31m1"},
               {"1\x7F"
                "2",
                "1\\x7F2"},
               {"a\tb", "a\\x09b"}};
  for (const auto& c : cases) {
    Spring s;
    std::vector<std::string> notes;
    parseInputFile(s, NumberSettings{}, withLine(13, c.text), &notes);
    ASSERT_EQ(notes.size(), 1u) << c.shown;
    EXPECT_EQ(notes[0], "Zeile 13 keine Zahl: " + c.shown);
  }
  EXPECT_EQ(escapeControls(oem("Tür")), oem("Tür"));  // code page 850 letters are text
}

// A workbook's column must look like a spring file: numbers where a spring file has them.
TEST(InputFileNotes, WorkbookColumnsThatAreNoSpringFile) {
  const std::string good = inputFileBytes(Spring{}, NumberSettings{});
  EXPECT_EQ(notSpringWorkbookReason(good), "");
  EXPECT_EQ(notSpringWorkbookReason(withLine(12, "20,5")), "");
  EXPECT_EQ(notSpringWorkbookReason(""), "leer");
  EXPECT_EQ(notSpringWorkbookReason(withLine(12, "HAUPTABMESSUNGEN")), "Zeile 12 keine Zahl");
  EXPECT_EQ(notSpringWorkbookReason(withLine(22, "")), "Zeile 22 keine Zahl");
  EXPECT_EQ(notSpringWorkbookReason(withLine(23, "x")), "");  // from line 23 on, a file may differ
  std::string report;                                         // a report's rows: texts all the way down
  for (int i = 0; i < 40; ++i) report += "Zeile\t" + std::to_string(i) + "\r\n";
  EXPECT_EQ(notSpringWorkbookReason(report), "Zeile 12 keine Zahl");
}

}  // namespace
}  // namespace velk::test
