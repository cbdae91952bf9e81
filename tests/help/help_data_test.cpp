// The help data that ships with the program (orvan.hlp, velk.hlp, velk.dbh): read by the file
// format with a small reader of its own, complete for every help number used, and reproducible.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>

#include "calcservice/designtable.h"
#include "data/spring.h"
#include "dialogs/onlinetable.h"
#include "help/helptext.h"
#include "support/fixture.h"
#include "support/run_process.h"

namespace velk::test {
namespace {

const std::filesystem::path kShare = VELK_SOURCE_DATA_DIR;
const std::filesystem::path kTools = kShare.parent_path() / "tools";

constexpr std::size_t kMaxLineBytes = 254;   // 255 or more are shown as an empty line
constexpr std::size_t kMaxEntryBytes = 995;  // the box adds a blank per line, cut at 1000

// ---- a reader of the help text format, independent of the program's ----------------------

// Lines of a shipped file; false when a line does not end in CR LF or a CR or LF stands alone.
bool splitCrLf(const std::string& bytes, std::vector<std::string>& lines) {
  lines.clear();
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", pos);
    if (end == std::string::npos) return false;
    lines.push_back(bytes.substr(pos, end - pos));
    if (lines.back().find_first_of("\r\n") != std::string::npos) return false;
    pos = end + 2;
  }
  return true;
}

// The number of a line: its first four characters as an integer (blanks before it and a sign
// accepted, as a lenient reader would), or -1 for a text line.
int numberOf(const std::string& line) {
  if (line.size() < 4) return -1;
  std::size_t i = line.find_first_not_of(' ');
  if (i >= 4) return -1;
  bool negative = false;
  if (line[i] == '+' || line[i] == '-') negative = line[i++] == '-';
  if (i >= 4) return -1;
  int n = 0;
  for (; i < 4; ++i) {
    if (line[i] < '0' || line[i] > '9') return -1;
    n = n * 10 + (line[i] - '0');
  }
  return negative ? -n : n;
}

struct Entry {
  std::array<std::string, 5> lines;
  std::string image;  // "NULL" when the number line names none
  bool operator==(const Entry&) const = default;
};

// The lookup: the first number line with the number, its text line and up to four further lines
// (text lines in order, a number line n + k with its text as line k + 1, other numbers that are
// not multiples of 5 as empty lines, a multiple of 5 ends). Nothing when the number line or
// its text line is the file's last line.
std::optional<Entry> lookup(const std::vector<std::string>& lines, int wanted) {
  std::size_t i = 0;
  const std::size_t n = lines.size();
  while (i < n) {
    const std::string& line = lines[i++];
    if (i >= n) return std::nullopt;
    const int number = numberOf(line);
    if (number < 0) continue;
    const std::string& text = lines[i++];
    if (i >= n) return std::nullopt;
    if (number != wanted) continue;
    Entry e;
    const std::size_t colon = line.find(':');
    e.image = colon == std::string::npos ? "NULL" : line.substr(colon + 1);
    e.lines[0] = text;
    for (int k = 1; k < 5 && i < n; ++k) {
      const std::string& next = lines[i++];
      const int num = numberOf(next);
      if (num < 0) {
        e.lines[k] = next;
      } else if (num % 5 == 0) {
        break;
      } else {
        if (i < n && num == wanted + k) e.lines[k] = lines[i];
        ++i;
      }
    }
    return e;
  }
  return std::nullopt;
}

std::vector<std::string> crlfLines(std::initializer_list<const char*> lines) {
  std::vector<std::string> out(lines.begin(), lines.end());
  return out;
}

TEST(HelpDataReader, FollowsTheFormatsRules) {
  const auto file = crlfLines({"1050:spring1", "Line one", "1051", "Line two", "1053", "Line four", "1055", "Next",
                               "2300", "A", "B", "C", "D", "E", "F", "2400", "Last"});
  EXPECT_EQ(lookup(file, 1050), (Entry{{"Line one", "Line two", "", "", ""}, "spring1"}));
  EXPECT_EQ(lookup(file, 1051), (Entry{{"Line two", "", "", "", ""}, "NULL"}));
  EXPECT_EQ(lookup(file, 2300), (Entry{{"A", "B", "C", "D", "E"}, "NULL"}));
  EXPECT_FALSE(lookup(file, 2400)) << "text line 1 is the file's last line";
  EXPECT_FALSE(lookup(file, 1060));
  EXPECT_EQ(numberOf(" 995 x"), 995);
  EXPECT_EQ(numberOf("12ab"), -1);
  EXPECT_EQ(numberOf("ab"), -1);
}

// ---- the shipped files --------------------------------------------------------------------

struct Listed {
  int number;
  std::string file;
  std::string where;
};

// tools/help/numbers.txt: "number file where" per line, "#" comments.
std::vector<Listed> listedNumbers() {
  std::vector<Listed> out;
  std::istringstream in(readFile((kTools / "help" / "numbers.txt").string()));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Listed l;
    fields >> l.number >> l.file;
    std::getline(fields, l.where);
    out.push_back(l);
  }
  return out;
}

struct ShippedHelp {
  std::string bytes;
  std::vector<std::string> lines;
  bool crlf = false;
};

ShippedHelp shipped(const std::string& name) {
  ShippedHelp s;
  s.bytes = readFile((kShare / name).string());
  s.crlf = splitCrLf(s.bytes, s.lines);
  return s;
}

std::string helpFileOf(int number) { return number < 4000 ? "orvan.hlp" : "velk.hlp"; }

// Bytes a help text may hold: printable ASCII and the code page 850 letters and signs the texts
// use (äöüÄÖÜß°²±µ), which the program shows the same way on every setting.
bool allowedByte(unsigned char c) {
  static const std::set<unsigned char> extra = {0x84, 0x94, 0x81, 0x8E, 0x99, 0x9A, 0xE1, 0xF8, 0xFD, 0xF1, 0xE6};
  return (c >= 0x20 && c < 0x7F) || extra.count(c) > 0;
}

std::set<std::string> listedImages() {
  std::set<std::string> names;
  std::vector<std::string> lines;
  if (!splitCrLf(readFile((kShare / "velk.dbh").string()), lines)) return names;
  static const std::regex line(R"re("([a-z0-9_]{1,8})","([^"]{0,50})")re");
  std::smatch m;
  for (const std::string& l : lines)
    if (std::regex_match(l, m, line)) names.insert(m[1]);
  return names;
}

TEST(ShippedHelpData, FilesAreCodePage850WithCrLf) {
  for (const char* name : {"orvan.hlp", "velk.hlp", "velk.dbh"}) {
    SCOPED_TRACE(name);
    const ShippedHelp s = shipped(name);
    ASSERT_FALSE(s.bytes.empty());
    EXPECT_TRUE(s.crlf) << "every line ends in CR LF, no CR or LF alone";
    for (std::size_t i = 0; i < s.lines.size(); ++i) {
      for (char c : s.lines[i]) EXPECT_TRUE(allowedByte(static_cast<unsigned char>(c))) << "line " << i + 1;
      EXPECT_LE(s.lines[i].size(), kMaxLineBytes) << "line " << i + 1;
    }
    EXPECT_EQ(utf8ToCp850(cp850ToUtf8(s.bytes)), s.bytes);
  }
  // German texts in code page 850: the umlauts are its bytes.
  EXPECT_NE(shipped("velk.hlp").bytes.find(oem("Federenden innen und außen")), std::string::npos);
  EXPECT_NE(shipped("orvan.hlp").bytes.find(oem("Schließen")), std::string::npos);
}

TEST(ShippedHelpData, EveryListedNumberHasAnEntryWithinTheLimits) {
  const std::vector<Listed> listed = listedNumbers();
  ASSERT_GT(listed.size(), 120u);
  const std::set<std::string> images = listedImages();
  std::map<std::string, ShippedHelp> files = {{"orvan.hlp", shipped("orvan.hlp")}, {"velk.hlp", shipped("velk.hlp")}};
  std::set<int> seen;
  for (const Listed& l : listed) {
    SCOPED_TRACE(std::to_string(l.number) + " (" + l.where + ")");
    EXPECT_TRUE(seen.insert(l.number).second) << "listed twice";
    EXPECT_EQ(l.file, helpFileOf(l.number)) << "the program looks for it in the other file";
    const std::optional<Entry> e = lookup(files[helpFileOf(l.number)].lines, l.number);
    ASSERT_TRUE(e) << "no entry: add it to tools/help/ and run tools/make_help.py";
    EXPECT_FALSE(e->lines[0].empty());
    std::size_t total = 0;
    for (const std::string& line : e->lines) total += line.size();
    EXPECT_LE(total, kMaxEntryBytes);
    if (e->image != "NULL") {
      EXPECT_TRUE(images.count(e->image)) << "image " << e->image << " is not in velk.dbh";
    }
  }
  // And nothing beyond them: every number line of the files is a listed number (or the end mark).
  for (auto& [name, file] : files) {
    for (std::size_t i = 0; i + 1 < file.lines.size(); ++i) {
      const int number = numberOf(file.lines[i]);
      if (number < 0) continue;
      if (number > 0) {
        EXPECT_TRUE(seen.count(number)) << name << ": " << number << " is not in numbers.txt";
      }
      ++i;  // its text line
    }
    ASSERT_GE(file.lines.size(), 2u);
    EXPECT_EQ(file.lines[file.lines.size() - 2], "0000") << name << " ends with the end mark";
  }
}

// The program's own reader gives the same entries as the format does.
TEST(ShippedHelpData, TheProgramsReaderAgrees) {
  std::map<std::string, ShippedHelp> files = {{"orvan.hlp", shipped("orvan.hlp")}, {"velk.hlp", shipped("velk.hlp")}};
  for (const Listed& l : listedNumbers()) {
    const ShippedHelp& f = files[helpFileOf(l.number)];
    const std::optional<Entry> mine = lookup(f.lines, l.number);
    const HelpEntry theirs = findHelpEntry(f.bytes, static_cast<uint16_t>(l.number));
    ASSERT_TRUE(mine);
    ASSERT_TRUE(theirs.found) << l.number;
    for (int k = 0; k < 5; ++k) EXPECT_EQ(theirs.lines[k], mine->lines[k]) << l.number << " line " << k + 1;
    EXPECT_EQ(theirs.image, mine->image) << l.number;
  }
}

TEST(ShippedHelpData, ImageListIsWellFormedAndItsImagesExist) {
  const ShippedHelp list = shipped("velk.dbh");
  ASSERT_TRUE(list.crlf);
  ASSERT_FALSE(list.lines.empty());
  EXPECT_LE(list.lines.size(), 130u);
  static const std::regex line(R"re("([a-z0-9_]{1,8})","([^"]{1,50})")re");
  std::set<std::string> names;
  for (const std::string& l : list.lines) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(l, m, line)) << u8(l);
    EXPECT_TRUE(names.insert(m[1]).second) << m[1] << " twice";
    const std::string file = std::string(m[1]) + ".plt";
    EXPECT_TRUE(std::filesystem::exists(kShare / file)) << file << " is not shipped";
  }
}

// Every help number in the sources is listed (and so has an entry).
TEST(ShippedHelpData, EveryHelpNumberOfTheSourcesIsListed) {
  std::set<int> listed;
  for (const Listed& l : listedNumbers()) listed.insert(l.number);
  static const std::regex use(
      R"((?:SetHelpNumber\s*\(\s*\w+\s*,|k\w*Help\w*\s*=|helpNumber\s*=|helpContext\s*=|HelpHint\s*\(\s*\w+\s*,|ShowHelp\s*\(\s*\w+\s*,)\s*(\d{4})\b)");
  int found = 0;
  for (const auto& f : std::filesystem::recursive_directory_iterator(kShare.parent_path() / "src")) {
    const std::string ext = f.path().extension().string();
    if (!f.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    const std::string code = readFile(f.path().string());
    for (auto it = std::sregex_iterator(code.begin(), code.end(), use); it != std::sregex_iterator(); ++it) {
      const int number = std::stoi((*it)[1]);
      // The first number of velk.hlp is a file boundary, not a help topic.
      if ((*it)[0].str().find("FirstProgramHelpNumber") != std::string::npos) continue;
      ++found;
      EXPECT_TRUE(listed.count(number)) << number << " in " << f.path().filename()
                                        << " is not in tools/help/numbers.txt";
    }
  }
  EXPECT_GT(found, 20) << "the source scan found too few help numbers";
}

// The tool tips of the online form: each row's number holds the text of that row.
TEST(ShippedHelpData, OnlineFormRowsHaveTheirOwnTexts) {
  const ShippedHelp f = shipped("velk.hlp");
  for (DesignMode mode : {DesignMode::Recalculation, DesignMode::Dimensioning, DesignMode::PreDimensioning}) {
    const uint16_t topic = DesignHelpNumber(mode);
    for (int cross : {1, 2}) {
      Spring s;
      s.crossSection = static_cast<uint16_t>(cross);
      const auto rows = DesignInputRows(mode, s);
      for (std::size_t i = 0; i < rows.size(); ++i) {
        const int number = OnlineInputHint(topic, static_cast<int>(i + 1));
        const std::optional<Entry> e = lookup(f.lines, number);
        ASSERT_TRUE(e) << number;
        const std::string caption = rows[i].caption;
        if (cross == 1) {
          EXPECT_TRUE(e->lines[0].starts_with(caption + ":") || e->lines[0].starts_with(caption + " "))
              << number << " should explain \"" << caption << "\": " << u8(e->lines[0]);
        }
      }
    }
    const auto out = DesignOutputRows(mode);
    for (std::size_t i = 0; i < out.size(); ++i) {
      const int number = OnlineOutputHint(topic, static_cast<int>(i + 1));
      const std::optional<Entry> e = lookup(f.lines, number);
      ASSERT_TRUE(e) << number;
      EXPECT_TRUE(e->lines[0].starts_with(std::string(out[i].caption) + ":"))
          << number << " should explain \"" << out[i].caption << "\": " << u8(e->lines[0]);
      for (int k = 1; k < 5; ++k) EXPECT_EQ(e->lines[k], "") << number << ": a tool tip of one line";
    }
  }
}

TEST(ShippedHelpData, GeneratorReproducesTheShippedBytes) {
  const std::string python = pythonWithModules({"re"});
  ASSERT_FALSE(python.empty());
  TempDir out;
  ASSERT_EQ(runProcess({python, (kTools / "make_help.py").string(), "--out", out.path()}), 0);
  for (const char* name : {"orvan.hlp", "velk.hlp", "velk.dbh"})
    EXPECT_EQ(readFile(out.file(name)), readFile((kShare / name).string())) << name << ": run tools/make_help.py";
}

}  // namespace
}  // namespace velk::test
