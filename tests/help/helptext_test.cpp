// Help texts: the entry format as a table of cases, the file choice at 4000, the help box and
// image of ShowHelp kinds 0/1/2, the tool tip text, missing files and entries, broken input.
#include "help/helptext.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "draw/displaylist.h"
#include "help/hpgl.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

// A help file from lines, CR LF after each.
std::string hlp(const Lines& lines) {
  std::string out;
  for (const std::string& l : lines) out += oem(l) + "\r\n";
  return out;
}

TEST(HelpTextFormat, EntryRules) {
  struct Row {
    const char* what;
    std::string file;
    uint16_t number;
    bool found;
    Lines lines;  // expected text lines 1.. (the rest empty)
    std::string image;
  };
  const std::string example =
      hlp({"1050:spring1", "Line one", "1051", "Line two", "1053", "Line four", "1055", "Next entry", "0000"});
  const Row rows[] = {
      {"numbered lines fill their own slot only", example, 1050, true, {"Line one", "Line two"}, "spring1"},
      {"a number between entries can be asked for", example, 1051, true, {"Line two"}, "NULL"},
      {"1053 asked for directly", example, 1053, true, {"Line four"}, "NULL"},
      {"five unnumbered lines at most",
       hlp({"2300", "A", "B", "C", "D", "E", "F", "0000"}),
       2300,
       true,
       {"A", "B", "C", "D", "E"},
       "NULL"},
      {"line 1 is taken whatever it holds",
       hlp({"1000", "1005:x", "two", "0000"}),
       1000,
       true,
       {"1005:x", "two"},
       "NULL"},
      {"a number line's text is not searched", hlp({"1000", "1050", "1050:b", "t", "0000"}), 1050, true, {"t"}, "b"},
      {"the first entry with the number wins",
       hlp({"1050", "first", "1050", "second", "0000"}),
       1050,
       true,
       {"first"},
       "NULL"},
      {"a text line starting with digits ends the entry",
       hlp({"1000", "one", "2000 Nm", "x", "0000"}),
       1000,
       true,
       {"one"},
       "NULL"},
      {"... and is written numbered",
       hlp({"1000", "one", "1001", "2000 Nm", "0000"}),
       1000,
       true,
       {"one", "2000 Nm"},
       "NULL"},
      {"a numbered line out of place leaves its slot empty",
       hlp({"1000", "a", "1002", "b", "c", "0000"}),
       1000,
       true,
       {"a", "", "c"},
       "NULL"},
      {"empty lines are text lines", hlp({"1000", "", "", "x", "0000"}), 1000, true, {"", "", "x"}, "NULL"},
      {"blank-padded number", hlp({" 995:pic", "t", "0000"}), 995, true, {"t"}, "pic"},
      {"image name trimmed, first colon", hlp({"1050: a:b ", "t", "0000"}), 1050, true, {"t"}, "a:b"},
      {"empty image name", hlp({"1050:", "t", "0000"}), 1050, true, {"t"}, ""},
      {"five digits: the first four count", hlp({"12345", "t", "0000"}), 1234, true, {"t"}, "NULL"},
      {"no five-digit numbers", hlp({"12345", "t", "0000"}), 12345, false, {}, "null"},
      {"short and non-numeric lines are text", hlp({"105", "10a0", "1050", "t", "0000"}), 1050, true, {"t"}, "NULL"},
      {"short line is no number line", hlp({"105", "t", "0000"}), 105, false, {}, "null"},
      {"entry ends at the end of the file", "1000\r\none\r\ntwo"s, 1000, true, {"one", "two"}, "NULL"},
      {"number line as the last line", hlp({"x", "1000:pic"}), 1000, false, {}, "null"},
      {"first text line as the last line", hlp({"1000:pic", "text"}), 1000, false, {}, "null"},
      {"... also without a line end", "1000:pic\r\ntext"s, 1000, false, {}, "null"},
      {"numbered further line without its text", hlp({"1000", "a", "b", "1001"}), 1000, true, {"a", "b"}, "NULL"},
      {"LF and CR line ends", "1000:p\none\r1001\ntwo\r\n0000\n"s, 1000, true, {"one", "two"}, "p"},
      {"empty file", "", 1000, false, {}, "null"},
      {"digits only, one line", std::string(5000, '5'), 5555, false, {}, "null"},
  };
  for (const Row& r : rows) {
    const HelpEntry e = findHelpEntry(r.file, r.number);
    EXPECT_EQ(e.found, r.found) << r.what;
    EXPECT_EQ(e.image, r.image) << r.what;
    for (std::size_t i = 0; i < e.lines.size(); ++i)
      EXPECT_EQ(e.lines[i], i < r.lines.size() ? oem(r.lines[i]) : "") << r.what << ", line " << i + 1;
  }
}

TEST(HelpTextFormat, HostileInputStaysBounded) {
  // Megabyte lines, NUL bytes, digits only, no line ends: defined results, lines kept short.
  const std::string big(1u << 20, 'x');
  const std::string file = "1000:" + big + "\r\n" + big + "\r\n" + "1001\r\n"s + "a\0b"s + "\r\n" + big + "\r\n0000";
  HelpEntry e = findHelpEntry(file, 1000);
  ASSERT_TRUE(e.found);
  for (const std::string& l : e.lines) EXPECT_LE(l.size(), kHelpLineKept);
  EXPECT_EQ(e.lines[1], "a\0b"s);
  EXPECT_LE(e.image.size(), kHelpLineKept);

  std::string digits;
  for (int i = 0; i < 10000; ++i) digits += "1050\r\n";
  e = findHelpEntry(digits, 1050);
  ASSERT_TRUE(e.found);
  EXPECT_EQ(e.lines[0], "1050");  // its text line; the next 1050 ends the entry
  EXPECT_EQ(e.lines[1], "");
  EXPECT_FALSE(findHelpEntry(std::string(1u << 20, '\0'), 0).found);
  EXPECT_FALSE(findHelpEntry(std::string(1u << 20, '\n'), 1000).found);
}

class HelpTest : public SessionTest {
 protected:
  HelpTest() {
    std::filesystem::create_directory(dir.file("plt"));
    ws.config.pltDir = dir.file("plt/");
    writeFile(dir.file("plt/orvan.hlp"),
              hlp({"1050:spring1", "Line one", "1051", "Line two", "1055", "x", "3995", "orvan 3995", "4000",
                   "orvan 4000", "1060", "Grün", "1065:bare", "Ohne Bild", "0000"}));
    writeFile(dir.file("plt/velk.hlp"), hlp({"3995", "velk 3995", "4000", "velk 4000", "0000"}));
    writeFile(dir.file("plt/spring1.plt"), "SP1;PU0,0;PD400,0,400,400;");
  }
  std::string box(uint16_t number, int kind = 1) {
    ui.clearRequests();
    ShowHelp(ws, number, kind);
    const auto shown = ui.messages(MessageKind::Titled);
    EXPECT_EQ(shown.size(), 1u) << number;
    return shown.empty() ? std::string() : shown.front();
  }
  // The display list of an image drawn on a fresh window: what a help image must leave.
  std::vector<std::string> imageRecords(const std::string& plt) {
    ScriptedUi otherUi;
    Session other(otherUi);
    ClearDisplay(other.display);
    Header(other.display, 0, 0, 160, 120);
    if (!plt.empty()) DrawHpgl(other, plt);
    return other.display.records;
  }
};

TEST_F(HelpTest, FileChoiceAtFourThousand) {
  EXPECT_EQ(helpFilePath(ws, 3999), dir.file("plt/orvan.hlp"));
  EXPECT_EQ(helpFilePath(ws, 4000), dir.file("plt/velk.hlp"));
  EXPECT_EQ(box(3995), "orvan 3995     ");
  EXPECT_EQ(box(4000), "velk 4000     ");
  // The short name names the program's file, in lower case.
  ws.start.shortName = "VELK";
  EXPECT_EQ(helpFilePath(ws, 9060), dir.file("plt/velk.hlp"));
  // No PLT folder configured: the program's data directory, like the explanation file.
  ws.config.pltDir.clear();
  EXPECT_EQ(helpFilePath(ws, 1000), withSeparator(ws.programData) + "orvan.hlp");
}

TEST_F(HelpTest, BoxTextAndCaption) {
  ws.helpNumber = 1050;
  ws.abort = true;
  ShowHelp(ws, 0, 1);  // 0: the current number
  EXPECT_FALSE(ws.abort);
  ASSERT_EQ(ui.requests().size(), 1u);
  EXPECT_EQ(ui.requests()[0].caption, "HILFETEXT Nr.1050");
  EXPECT_EQ(ui.requests()[0].prompt, "Line one Line two    ");
  EXPECT_TRUE(ws.display.records.empty()) << "kind 1 leaves the graphics window alone";
}

TEST_F(HelpTest, MissingFileAndEntryTexts) {
  EXPECT_EQ(box(1234), "Hilfetext Nr 1234: keine Hilfe vorhanden.     ");
  EXPECT_EQ(HelpHint(ws, 1234), "Hilfetext Nr 1234: keine Hilfe vorhanden.");
  std::filesystem::remove(dir.file("plt/velk.hlp"));
  const std::string missing = "Datei " + dir.file("plt/velk.hlp") + " nicht gefunden !";
  EXPECT_EQ(box(4000), missing + "     ");
  EXPECT_EQ(HelpHint(ws, 4000), missing);
  // A folder of that name is no help file.
  std::filesystem::create_directory(dir.file("plt/velk.hlp"));
  EXPECT_EQ(HelpHint(ws, 4000), missing);
}

TEST_F(HelpTest, ImageKinds) {
  // Kind 2: no box; the window cleared, declared and the image drawn.
  ws.display.records = {"stale"};
  ShowHelp(ws, 1050, 2);
  EXPECT_TRUE(ui.requests().empty());
  EXPECT_EQ(ws.display.records, imageRecords("SP1;PU0,0;PD400,0,400,400;"));

  // Kind 0: the box first, then the image.
  ws.display.records.clear();
  EXPECT_EQ(box(1050, 0), "Line one Line two    ");
  EXPECT_EQ(ws.display.records, imageRecords("SP1;PU0,0;PD400,0,400,400;"));

  // An entry without image only clears the window.
  ShowHelp(ws, 1060, 2);
  EXPECT_EQ(ws.display.records, imageRecords(""));

  // A missing image file: the reader's message, and the abort flag cleared again.
  ui.clearRequests();
  ShowHelp(ws, 1065, 2);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ui.messages(MessageKind::Titled), std::vector<std::string>{dir.file("plt/bare.plt") + " nicht gefunden !"});

  // A missing entry draws "null", which the data may provide.
  ui.clearRequests();
  ShowHelp(ws, 1234, 2);
  EXPECT_EQ(ui.messages(MessageKind::Titled), std::vector<std::string>{dir.file("plt/null.plt") + " nicht gefunden !"});
  writeFile(dir.file("plt/null.plt"), "SP2;PU0,0;PD40,40;");
  ui.clearRequests();
  ShowHelp(ws, 1234, 2);
  EXPECT_TRUE(ui.requests().empty());
  EXPECT_EQ(ws.display.records, imageRecords("SP2;PU0,0;PD40,40;"));

  // Other kinds show nothing.
  ws.display.records.clear();
  ShowHelp(ws, 1050, 3);
  EXPECT_TRUE(ui.requests().empty());
  EXPECT_TRUE(ws.display.records.empty());
}

TEST_F(HelpTest, ImageNameCase) {
  // Images named in upper case by an old file are found under their lower-case file name.
  writeFile(dir.file("plt/velk.hlp"), hlp({"4000:SPRING1", "t", "0000"}));
  ShowHelp(ws, 4000, 2);
  EXPECT_TRUE(ui.requests().empty());
  EXPECT_EQ(ws.display.records, imageRecords("SP1;PU0,0;PD400,0,400,400;"));
}

TEST_F(HelpTest, HintsAndShownLines) {
  ws.abort = true;
  EXPECT_EQ(HelpHint(ws, 1050), "Line one Line two   ");
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(HelpHint(ws, 1060), oem("Grün") + "    ");
  ws.config.num.plainChars = 1;
  EXPECT_EQ(HelpHint(ws, 1060), "Gruen    ");
  ws.config.num.plainChars = 0;

  // Lines of 255 bytes and more show empty; control characters as blanks; 1000 bytes at most.
  const std::string l254(254, 'a'), l255(255, 'b');
  writeFile(dir.file("plt/velk.hlp"), "4000\r\n" + l254 + "\r\n" + l255 + "\r\nx\0\ty"s + "\r\n0000\r\n");
  EXPECT_EQ(HelpHint(ws, 4000), l254 + "  " + "x  y" + "  ");
  std::string five = "4000\r\n";
  for (int i = 0; i < 5; ++i) five += l254 + "\r\n";
  writeFile(dir.file("plt/velk.hlp"), five + "0000\r\n");
  EXPECT_EQ(HelpHint(ws, 4000).size(), kHelpTextLimit);
  EXPECT_EQ(box(4000), (l254 + " " + l254 + " " + l254 + " " + l254 + " " + l254).substr(0, kHelpTextLimit));
}

}  // namespace
}  // namespace velk::test
