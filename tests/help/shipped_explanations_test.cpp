// The explanation file that ships with the program: its format, and an explanation of its own
// for every message the program can put into the calculation message list.
#include <filesystem>
#include <set>

#include "calc/material.h"
#include "reportui/explanations.h"
#include "support/fixture.h"
#include "tables/tableservice.h"

namespace velk::test {
namespace {

const std::string kShipped = std::string(VELK_SOURCE_DATA_DIR) + "/velk.err";

std::vector<std::string> fileLines(const std::string& bytes) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t stop = bytes.find("\r\n", pos);
    if (stop == std::string::npos) {
      out.push_back(bytes.substr(pos));
      break;
    }
    out.push_back(bytes.substr(pos, stop - pos));
    pos = stop + 2;
  }
  return out;
}

// The message line of the entry message finds, and whether that entry is message's own: the
// whole message or the fixed parts of a formatted one, not merely a shared prefix.
void expectOwnEntry(const std::string& bytes, const std::string& message, const std::string& where) {
  const std::vector<std::string> lines = fileLines(bytes);
  for (std::size_t prefix : {kReportMatchLength, kWindowMatchLength}) {
    const ExplanationEntry e = findExplanation(bytes, message, prefix);
    ASSERT_TRUE(e.found) << "no explanation for \"" << u8(message) << "\" (" << where
                         << "): add an entry to share/velk.err";
    ASSERT_EQ(e.line % 3, 0u) << u8(message);
    const std::string& own = lines.at(e.line);
    const std::size_t dots = own.find("...");
    const bool formatted = dots != std::string::npos && message.starts_with(own.substr(0, dots)) &&
                           message.ends_with(own.substr(dots + 3));
    EXPECT_TRUE(own == message || formatted)
        << "\"" << u8(message) << "\" (" << where << ") only shares a prefix with \"" << u8(own)
        << "\": add an entry of its own to share/velk.err";
  }
}

TEST(ShippedExplanations, FileFormat) {
  const std::string bytes = readFile(kShipped);
  ASSERT_FALSE(bytes.empty());
  ASSERT_TRUE(bytes.ends_with("\r\n"));
  EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);
  const std::vector<std::string> lines = fileLines(bytes);
  ASSERT_EQ(lines.size() % 3, 0u);
  std::set<std::string> messages, causes;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    EXPECT_FALSE(l.empty()) << "line " << i + 1;
    EXPECT_LE(l.size(), kExplanationLineLength) << "line " << i + 1;
    for (char c : l) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << "line " << i + 1;
    if (i % 3 == 0) {
      EXPECT_LE(l.size(), kCalcMessageLength) << u8(l);
      EXPECT_TRUE(messages.insert(l).second) << "twice: " << u8(l);
    } else {
      // A cause or remedy must never be taken for a message.
      EXPECT_EQ(l.find("..."), std::string::npos) << "line " << i + 1;
      for (const char* level : {"Fatal", "Fehler", "Warnung"}) EXPECT_FALSE(l.starts_with(level)) << "line " << i + 1;
      if (i % 3 == 1) {
        EXPECT_TRUE(causes.insert(l).second) << "cause twice: " << u8(l);
      }
    }
  }
  // Written in code page 850: the umlauts are there as its bytes.
  EXPECT_NE(bytes.find(oem("Windungslänge")), std::string::npos);
}

// Every string literal of the sources that starts with a level word is a message (or, followed
// by "+", the fixed start of a formatted one) and needs an explanation of its own.
TEST(ShippedExplanations, EveryMessageOfTheSourcesIsExplained) {
  const std::string bytes = readFile(kShipped);
  const std::filesystem::path src = std::filesystem::path(VELK_SOURCE_DATA_DIR).parent_path() / "src";
  int found = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(src)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    const std::string code = readFile(entry.path().string());
    for (const char* level : {"\"Fatal  : ", "\"Fehler : ", "\"Warnung: "}) {
      for (std::size_t at = code.find(level); at != std::string::npos; at = code.find(level, at + 1)) {
        std::size_t end = at + 1;
        while (end < code.size() && code[end] != '"' && code[end] != '\n') end += code[end] == '\\' ? 2 : 1;
        const std::string literal = code.substr(at + 1, end - at - 1);
        if (literal.size() <= 9) continue;  // the level word alone, e.g. the caption of error boxes
        std::size_t next = code.find_first_not_of(" \t\r\n", end + 1);
        const std::string where = entry.path().filename().string();
        const std::string message = oem(literal);
        ++found;
        if (next != std::string::npos && code[next] == '+') {
          // Formatted: an entry whose fixed start is this literal.
          bool pattern = false;
          for (const std::string& l : fileLines(bytes))
            pattern = pattern || (l.starts_with(message) && l.find("...", message.size()) == message.size());
          EXPECT_TRUE(pattern) << "no entry \"" << literal << "...\" for the formatted message in " << where;
        } else {
          expectOwnEntry(bytes, message, where);
        }
      }
    }
  }
  EXPECT_GT(found, 40) << "the source scan found too few messages";
}

// Messages as the program really forms them, with and without a level word.
class ProducedMessages : public SessionTest {};

TEST_F(ProducedMessages, HaveTheirOwnExplanation) {
  const std::string bytes = readFile(kShipped);
  Spring& s = ws.spring;
  s.crossSection = 1;
  ws.materials.strip.tmin = 0.1L;
  ws.materials.strip.tmax = 0.125L;
  ws.materials.strip.Tmax = 150;
  s.t = 0.05L;
  s.theta = 200;
  CheckMaterialLimits(ws, ws.num());
  s.t = 2;
  CheckMaterialLimits(ws, ws.num());
  RoundUpDin2076(ws, 25);
  OpenTableReadOnly(ws.table, ws.diag, ws, ws, "velkwst.dbf");
  GoRecord(ws.table, ws.messages, 100000);
  CloseTable(ws.table);
  for (const char* m : {"GetT0 (pow)", "Load cycles (pow)"}) AddCalcMessage(ws.messages, m);
  ASSERT_EQ(ws.messages.count, 7);
  EXPECT_EQ(ws.messages.entries[3], "Drahtdurchmesser nicht nach DIN 2076") << "stored cut to 36 characters";
  for (int i = 0; i < ws.messages.count; ++i) expectOwnEntry(bytes, ws.messages.entries[i], "produced");
}

}  // namespace
}  // namespace velk::test
