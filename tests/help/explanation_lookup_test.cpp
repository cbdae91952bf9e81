// Explanation-file lookup and replacement on bytes: the whole message before its prefix,
// formatted messages by their fixed parts, broken files (missing lines, NUL bytes, huge lines).
#include <gtest/gtest.h>

#include <string>

#include "base/codepage.h"
#include "report/explanationfile.h"

namespace velk::test {
namespace {

using namespace std::string_literals;

// An explanation file from triples, CR LF.
std::string file(std::initializer_list<const char*> lines) {
  std::string out;
  for (const char* l : lines) out += oem(l) + "\r\n";
  return out;
}

const std::string kFile = file({
    "Fehler : sigma2=0 !", "Ursache sigma2", "Abhilfe sigma2",     //
    "Fehler : sigmak2=0 !", "Ursache sigmak2", "Abhilfe sigmak2",  //
    "Warnung: d<dmin (...)", "Ursache dmin", "Abhilfe dmin",       //
    "Warnung: T>Tmax (...°C)", "Ursache Tmax", "Abhilfe Tmax",     //
    "DBF #... not found.", "Ursache DBF", "Abhilfe DBF",           //
    "Fehler : Sig.q1>Sig.zul !", "Ursache q1", "Abhilfe q1",       //
});

TEST(ExplanationLookup, EachMessageFindsItsOwnEntry) {
  struct Row {
    const char* message;
    std::size_t prefix;
    const char* cause;  // nullptr: not found
  };
  const Row rows[] = {
      // Whole message first: messages sharing 14 (and 18) characters stay apart.
      {"Fehler : sigma2=0 !", 14, "Ursache sigma2"},
      {"Fehler : sigmak2=0 !", 14, "Ursache sigmak2"},
      {"Fehler : sigmak2=0 !", 18, "Ursache sigmak2"},
      // Formatted messages by their fixed parts, also for the 18-character window.
      {"Warnung: d<dmin (0.1)", 18, "Ursache dmin"},
      {"Warnung: d<dmin (0.1)", 14, "Ursache dmin"},
      {"Warnung: T>Tmax (120°C)", 18, "Ursache Tmax"},
      {"DBF #12 not found.", 18, "Ursache DBF"},
      {"DBF #12 not found.", 14, "Ursache DBF"},
      // Prefix fallback as older files need it: a message unknown to the file shares 14 characters.
      {"Fehler : sigmakh=0 !", 14, "Ursache sigma2"},
      {"Fehler : sigmakh=0 !", 18, nullptr},
      {"Fehler : Sig.q2>Sig.zul !", 14, "Ursache q1"},
      {"Fehler : Sig.q2>Sig.zul !", 18, nullptr},
      // The fixed parts alone are no formatted message.
      {"Warnung: d<dmin ()", 18, nullptr},
      {"Warnung: T>Tmax (120)", 18, nullptr},
      {"", 14, nullptr},
      {"Fatal  : n = 0 !", 14, nullptr},
  };
  for (const Row& r : rows) {
    const ExplanationEntry e = findExplanation(kFile, oem(r.message), r.prefix);
    if (!r.cause) {
      EXPECT_FALSE(e.found) << r.message << " / " << r.prefix;
      continue;
    }
    ASSERT_TRUE(e.found) << r.message << " / " << r.prefix;
    EXPECT_EQ(e.cause, oem(r.cause)) << r.message << " / " << r.prefix;
  }
  EXPECT_EQ(findExplanation(kFile, "Fehler : sigmak2=0 !", 14).line, 3u);
  EXPECT_EQ(findExplanation(kFile, "Fehler : sigmak2=0 !", 14).remedy, "Abhilfe sigmak2");
}

TEST(ExplanationLookup, BrokenFilesGiveDefinedResults) {
  // A message on the last line has nothing after it: not found, with or without line end.
  EXPECT_FALSE(findExplanation("Fehler : t > b !\r\n", "Fehler : t > b !", 14).found);
  EXPECT_FALSE(findExplanation("a\r\nb\r\nc\r\nFehler : t > b !", "Fehler : t > b !", 14).found);
  // A file that ends after the cause: the remedy is empty.
  ExplanationEntry e = findExplanation("Fehler : t > b !\r\nzu dick", "Fehler : t > b !", 18);
  ASSERT_TRUE(e.found);
  EXPECT_EQ(e.cause, "zu dick");
  EXPECT_EQ(e.remedy, "");
  // LF-only and CR-only line ends, trailing blanks after the message.
  for (const char* bytes : {"x\ny\nz\nFehler : t > b !  \nU\nA\n", "Fehler : t > b !\rU\rA"}) {
    e = findExplanation(bytes, "Fehler : t > b !", 18);
    EXPECT_TRUE(e.found && e.cause == "U" && e.remedy == "A") << bytes;
  }
  // NUL and other control bytes are shown as blanks; a NUL in a message line just fails to match.
  const std::string nul = "Fehler : t > b !\r\nU\0sache\tx\r\nAb\0\r\n"s;
  e = findExplanation(nul, "Fehler : t > b !", 14);
  EXPECT_EQ(e.cause, "U sache x");
  EXPECT_EQ(e.remedy, "Ab ");
  EXPECT_FALSE(findExplanation("Fehler :\0t > b !\r\nU\r\nA\r\n"s, "Fehler : t > b !", 18).found);
  // Empty lines never match an (empty) message; an empty file has no entries.
  EXPECT_FALSE(findExplanation("\r\n\r\n\r\n", "", 14).found);
  EXPECT_FALSE(findExplanation("", "Fehler : t > b !", 14).found);
  // A 10 MB cause line is cut to a single line of 255 characters.
  const std::string huge = "Fehler : t > b !\r\n" + std::string(10u << 20, 'x') + "\r\nAbhilfe\r\n";
  e = findExplanation(huge, "Fehler : t > b !", 14);
  EXPECT_EQ(e.cause, std::string(kExplanationLineLength, 'x'));
  EXPECT_EQ(e.remedy, "Abhilfe");
}

TEST(ExplanationReplace, ReplacesTheEntryTheWindowShows) {
  // The second entry shares 14 characters with the first; its own entry is replaced.
  std::optional<std::string> out = replaceExplanation(kFile, "Fehler : sigmak2=0 !", "neu U", "neu A");
  ASSERT_TRUE(out);
  std::string expected = kFile;
  expected.replace(expected.find("Ursache sigmak2\r\nAbhilfe sigmak2"), 32, "neu U\r\nneu A");
  EXPECT_EQ(*out, expected);
  // A formatted message replaces its pattern entry.
  out = replaceExplanation(kFile, "DBF #3 not found.", "U", "A");
  ASSERT_TRUE(out);
  EXPECT_NE(out->find("DBF #... not found.\r\nU\r\nA\r\nFehler : Sig.q1"), std::string::npos);
  // Unknown to the window's 18 characters: the report's 14 still find the shared entry.
  out = replaceExplanation(kFile, "Fehler : sigmakh=0 !", "U", "A");
  ASSERT_TRUE(out);
  EXPECT_EQ(findExplanation(*out, "Fehler : sigma2=0 !", 14).cause, "U");
  EXPECT_FALSE(replaceExplanation(kFile, "Fatal  : n = 0 !", "U", "A"));
  EXPECT_FALSE(replaceExplanation("Fatal  : n = 0 !\r\n", "Fatal  : n = 0 !", "U", "A"));
}

TEST(ExplanationReplace, NewTextsStaySingleLinesAndTheRestIsKept) {
  // Line breaks typed into the memo would shift every later entry: they become blanks.
  const std::string before = "Kopf\r\nvorher\r\n" + std::string(3u << 20, 'L') + "\r\n";
  const std::string bytes = before + "Fehler : t > b !\r\nalt\r\nalt\r\nEnde\nx\ry";
  std::optional<std::string> out = replaceExplanation(bytes, "Fehler : t > b !", "erste\r\nzweite\nZeile", "mit\0NUL"s);
  ASSERT_TRUE(out);
  EXPECT_EQ(*out, before + "Fehler : t > b !\r\nerste zweite Zeile\r\nmit NUL\r\nEnde\nx\ry");
  ExplanationEntry e = findExplanation(*out, "Fehler : t > b !", 18);
  EXPECT_EQ(e.cause, "erste zweite Zeile");
  // A text longer than a line is cut as the reader would cut it.
  out = replaceExplanation(bytes, "Fehler : t > b !", std::string(300, 'u'), "a");
  EXPECT_EQ(findExplanation(*out, "Fehler : t > b !", 18).cause, std::string(kExplanationLineLength, 'u'));
  // A file ending after the message's cause gets its remedy line.
  out = replaceExplanation("Fehler : t > b !\r\nalt", "Fehler : t > b !", "U", "A");
  EXPECT_EQ(*out, "Fehler : t > b !\r\nU\r\nA\r\n");
}

}  // namespace
}  // namespace velk::test
