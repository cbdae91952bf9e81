// File overview: row formats in both unit systems, sorting, the window's request and result,
// the folder listing and the scan loop with a fake reader.
#include "commands/fileoverview.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <type_traits>
#include <vector>

#include "base/codepage.h"

namespace velk {
namespace {

// A file time stamp (2023-03-15 12:00 UTC) and its date text in the machine's time zone.
constexpr long long kNoonMarch15 = 1678881600;
const std::string kDate = fileDateText(kNoonMarch15);

// A strip spring with distinct values in every column.
Spring stripSpring() {
  Spring s;
  s.crossSection = 1;
  s.zeichnr = "ZN-4711";
  s.t = 2;
  s.b = 20;
  s.re = 100;
  s.ri = 10;
  s.n0 = 5;
  s.Lw = 1234.56L;
  s.a0 = 2.5L;
  s.delta0 = 1800.4L;
  s.delta1 = 1440;
  s.delta2 = 1080;
  s.deltac = 3600;
  s.T1 = 500;
  s.T2 = 800;
  s.Tc = 1234.4L;
  s.E = 206000;
  s.sigman = 1100;
  s.kb = 1.234L;
  s.sigmaq1 = 600;
  s.sigmaq2 = 950.2L;
  s.sigmac = 1200;
  s.sigmah = 350;
  s.sighz = 420;
  s.alpha1 = 30;
  s.alpha2 = 300;
  s.alphac = 1500;
  s.alphah = 270;
  return s;
}

const OverviewMaterial kMaterial{"Ck 75", oem("Federstahldraht für"), true};

OverviewCells expectedCells(std::vector<std::string> texts) {
  OverviewCells cells;
  EXPECT_EQ(texts.size(), cells.size());
  for (std::size_t i = 0; i < cells.size() && i < texts.size(); ++i) cells[i] = texts[i];
  return cells;
}

void expectCells(const OverviewCells& actual, const OverviewCells& expected) {
  const OverviewCells& header = OverviewHeader();
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_EQ(actual[i], expected[i]) << "column " << i << " \"" << header[i] << "\"";
  }
}

TEST(FileOverviewLayout, HeaderTextsAndColumnWidths) {
  const OverviewCells& h = OverviewHeader();
  const std::vector<std::string> expected = {
      "File",    "Date  y/m/d", "No.",     "t (d)",   "b",      "re",     "ri",      "n0",       "Lw",      "a0",
      "delta 0", "delta 1",     "delta 2", "delta c", "T1",     "T2",     "Tc",      "Material", "E",       "sig.z",
      "kb",      "sig.k1",      "sig.k2",  "sig.c",   "sig.kh", "sig.hz", "alpha 1", "alpha 2",  "alpha c", "alpha h"};
  expectCells(h, expectedCells(expected));

  const auto widths = OverviewColumnWidths();
  for (int i = 0; i < kOverviewColumns; ++i) {
    const int want = i == 2 ? 90 : i == 17 ? 100 : kOverviewDefaultColumnWidth;
    EXPECT_EQ(widths[static_cast<std::size_t>(i)], want) << "column " << i;
  }
}

TEST(FileOverviewRow, StripSpringMetric) {
  const NumberSettings num;
  const OverviewCells row = OverviewRow(num, "spring1.vlk", kNoonMarch15, stripSpring(), kMaterial);
  expectCells(row, expectedCells({"spring1.vlk", kDate,   "ZN-4711", "  2.000", " 20.00", "100.0", " 10.0", "  5.000",
                                  " 1235",       " 2.50", " 1800",   " 1440",   " 1080",  " 3600", "  500", "  800",
                                  " 1234",       "Ck 75", "206000",  "1100",    "1.23",   " 600",  " 950",  "1200",
                                  " 350",        " 420",  "  30",    " 300",    "1500",   " 270"}));
}

TEST(FileOverviewRow, StripSpringImperialWithDecimalComma) {
  NumberSettings num;
  num.units = 1;
  num.decimalComma = 2;
  const OverviewCells row = OverviewRow(num, "spring1.vlk", kNoonMarch15, stripSpring(), kMaterial);
  // Lengths in inches with one more decimal, moments in lbfin with two more, stresses in psi.
  expectCells(row,
              expectedCells({"spring1.vlk", kDate,    "ZN-4711",  " 0,0787", " 0,787", " 3,94",  " 0,39",  "  5,000",
                             "  48,6",      "0,098",  " 1800",    " 1440",   " 1080",  " 3600",  "  4,43", "  7,08",
                             " 10,93",      "Ck 75",  "29877622", "159541",  "1,23",   " 87022", "137814", "174044",
                             " 50763",      " 60916", "  30",     " 300",    "1500",   " 270"}));
}

TEST(FileOverviewRow, RoundWireHasNoWidthAndShowsTheWireMaterial) {
  Spring s = stripSpring();
  s.crossSection = 2;
  s.t = 1.5L;
  for (const int units : {0, 1}) {
    NumberSettings num;
    num.units = units;
    const OverviewCells row = OverviewRow(num, "wire.vlk", kNoonMarch15, s, kMaterial);
    EXPECT_EQ(row[3], units == 0 ? "  1.500" : " 0.0591") << "units " << units;
    EXPECT_EQ(row[4], "") << "units " << units;
    EXPECT_EQ(row[17], oem("Federstahldraht für")) << "units " << units;
    EXPECT_EQ(row[5], units == 0 ? "100.0" : " 3.94") << "units " << units;
  }
}

TEST(FileOverviewRow, FatigueDataDecideTheStrokeStressOnly) {
  OverviewMaterial noFatigue = kMaterial;
  noFatigue.fatigueData = false;
  const OverviewCells with = OverviewRow(NumberSettings{}, "a.vlk", kNoonMarch15, stripSpring(), kMaterial);
  OverviewCells without = OverviewRow(NumberSettings{}, "a.vlk", kNoonMarch15, stripSpring(), noFatigue);
  EXPECT_EQ(without[25], "");
  without[25] = with[25];
  expectCells(without, with);
}

TEST(FileOverviewRow, TextsFollowThePlainCharacterSettingAndStayInCodePage850) {
  Spring s = stripSpring();
  s.zeichnr = oem("Nr. 5°Ü");
  NumberSettings num;
  num.decimalPlaces = 5;  // shifts every fixed format by two decimals
  OverviewCells row = OverviewRow(num, "m\xc3\xbcller.vlk", kNoonMarch15, s, {oem("Stahl ä"), "", true});
  EXPECT_EQ(row[0], oem("müller.vlk"));  // native UTF-8 name shown in 850
  EXPECT_EQ(row[2], oem("Nr. 5°Ü"));
  EXPECT_EQ(row[17], oem("Stahl ä"));
  EXPECT_EQ(row[3], "  2.00000");
  EXPECT_EQ(row[8], " 1234.56");

  num.plainChars = 1;
  row = OverviewRow(num, "a.vlk", kNoonMarch15, s, {oem("Stahl ä"), "", true});
  EXPECT_EQ(row[2], "Nr. 5degUe");
  EXPECT_EQ(row[17], "Stahl ae");
}

TEST(FileOverviewRow, UnreadableFileShowsNameAndDateOnly) {
  const OverviewCells row = OverviewUnreadableRow("broken.vlk", kNoonMarch15);
  EXPECT_EQ(row[0], "broken.vlk");
  EXPECT_EQ(row[1], kDate);
  EXPECT_TRUE(std::regex_match(kDate, std::regex("2023/03/1[456]"))) << kDate;  // yyyy/mm/dd, local day
  for (std::size_t i = 2; i < row.size(); ++i) EXPECT_EQ(row[i], "") << "column " << i;
}

// ---- Sorting ----

std::vector<OverviewTableRow> tableOf(const std::vector<std::pair<std::string, std::string>>& fileAndNo) {
  std::vector<OverviewTableRow> rows{{"", OverviewHeader()}};
  for (const auto& [file, no] : fileAndNo) {
    OverviewTableRow r{file, {}};
    r.cells[0] = file;
    r.cells[2] = no;
    rows.push_back(r);
  }
  return rows;
}

std::vector<std::string> filesOf(const std::vector<OverviewTableRow>& rows) {
  std::vector<std::string> files;
  for (const auto& r : rows) files.push_back(r.file);
  return files;
}

TEST(FileOverviewSort, NumberTextsSortAsTextAndEqualTextsKeepTheirOrder) {
  auto rows = tableOf({{"a.vlk", "9"}, {"b.vlk", "10"}, {"c.vlk", "100"}, {"d.vlk", "10"}, {"e.vlk", "-5"}});
  SortOverviewRows(rows, 2);
  EXPECT_EQ(filesOf(rows), (std::vector<std::string>{"", "e.vlk", "b.vlk", "d.vlk", "c.vlk", "a.vlk"}));
  EXPECT_EQ(rows[0].cells, OverviewHeader());
  EXPECT_EQ(rows[1].cells[2], "-5");  // cells travel with their file
}

TEST(FileOverviewSort, FormattedValuesSortByTheirText) {
  // alpha c: 12345 overflows the 4 positions, a negative value has its sign where others have
  // blanks: text order, not numeric order.
  std::vector<OverviewTableRow> rows{{"", OverviewHeader()}};
  for (const auto& [file, alphac] :
       std::vector<std::pair<std::string, Real>>{{"a.vlk", 2000}, {"b.vlk", 12345}, {"c.vlk", -5}, {"d.vlk", 3}}) {
    Spring s = stripSpring();
    s.alphac = alphac;
    rows.push_back({file, OverviewRow(NumberSettings{}, file, kNoonMarch15, s, kMaterial)});
  }
  SortOverviewRows(rows, 28);
  EXPECT_EQ(filesOf(rows), (std::vector<std::string>{"", "d.vlk", "c.vlk", "b.vlk", "a.vlk"}));
}

TEST(FileOverviewSort, ColumnOutsideTheTableChangesNothing) {
  const auto original = tableOf({{"b.vlk", "2"}, {"a.vlk", "1"}});
  for (const int column : {-1, 30, 1000}) {
    auto rows = original;
    SortOverviewRows(rows, column);
    EXPECT_EQ(filesOf(rows), filesOf(original)) << "column " << column;
  }
  std::vector<OverviewTableRow> headerOnly{{"", OverviewHeader()}};
  SortOverviewRows(headerOnly, 0);
  EXPECT_EQ(headerOnly.size(), 1u);
}

// ---- Request and result ----

TEST(FileOverviewWindow, RequestCarriesCaptionRowsAndWidths) {
  NumberSettings num;
  const auto request =
      MakeFileOverviewRequest(num, "VELK - Spiralfedern", "/home/k\xc3\xa4the/federn/", tableOf({{"a.vlk", "1"}}));
  EXPECT_EQ(request.caption, "VELK - Spiralfedern  -  " + oem("/home/käthe/federn/"));
  ASSERT_EQ(request.rows.size(), 2u);
  EXPECT_EQ(request.rows[0].cells, OverviewHeader());
  EXPECT_EQ(request.columnWidths, OverviewColumnWidths());

  const auto empty = MakeFileOverviewRequest(num, "VELK", "/x", {});
  ASSERT_EQ(empty.rows.size(), 1u);  // an empty folder still shows the header
  EXPECT_EQ(empty.rows[0].cells, OverviewHeader());
  static_assert(std::is_same_v<FileOverviewRequest::Result, FileOverviewResult>);
}

TEST(FileOverviewWindow, ChosenFileComesFromADataRowOfTheSortedRows) {
  FileOverviewResult result;
  result.rows = tableOf({{"b.vlk", "2"}, {"a.vlk", "1"}});
  SortOverviewRows(result.rows, 2);  // the window sorted before the click
  struct Case {
    FileOverviewResult::Action action;
    std::size_t row;
    std::optional<std::string> file;
  };
  const Case cases[] = {
      {FileOverviewResult::Action::Open, 1, "a.vlk"},
      {FileOverviewResult::Action::Open, 2, "b.vlk"},
      {FileOverviewResult::Action::Open, 0, std::nullopt},  // header
      {FileOverviewResult::Action::Open, 3, std::nullopt},  // outside the rows
      {FileOverviewResult::Action::ExportExcel, 1, std::nullopt},
  };
  for (const Case& c : cases) {
    result.action = c.action;
    result.chosenRow = c.row;
    EXPECT_EQ(ChosenOverviewFile(result), c.file) << "row " << c.row;
  }
}

// ---- Listing and scanning ----

class TempFolder {
 public:
  TempFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "velk-overview-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) std::abort();
    path_ = tmpl;
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

TEST(FileOverviewScan, ListsInputFilesByNameWithTheirTimeStamps) {
  TempFolder dir;
  for (const char* name : {"b.vlk", "a.VLK", "c.txt", "vlk", ".vlk", "d.vlk.bak"}) std::ofstream(dir.file(name)) << "x";
  std::filesystem::create_directory(dir.file("e.vlk"));
  const auto stamp = std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(kNoonMarch15)));
  std::filesystem::last_write_time(dir.file("b.vlk"), stamp);

  const auto files = ListOverviewFiles(dir.path(), "vlk");
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].name, "a.VLK");
  EXPECT_EQ(files[1].name, "b.vlk");
  EXPECT_EQ(files[1].modifiedUnix, kNoonMarch15);

  EXPECT_TRUE(ListOverviewFiles(dir.file("missing"), "vlk").empty());
}

// A reader that "reads" each file by setting the spring from a table; unknown files fail.
struct FakeFolder {
  Spring spring;
  bool abort = false;
  std::map<std::string, Spring> contents;
  std::vector<std::string> readPaths, captions;
  std::string abortOn;

  OverviewScan scan() {
    OverviewScan sc;
    sc.folder = "/data/federn";
    sc.ext = "vlk";
    sc.programTitle = "VELK - Spiralfedern";
    sc.listFiles = [](const std::string& folder, const std::string& ext) {
      EXPECT_EQ(folder, "/data/federn");
      EXPECT_EQ(ext, "vlk");
      return std::vector<OverviewFile>{{"a.vlk", kNoonMarch15}, {"bad.vlk", kNoonMarch15}, {"c.vlk", kNoonMarch15}};
    };
    sc.readSpring = [this](const std::string& path) {
      readPaths.push_back(path);
      const std::string name = path.substr(path.rfind('/') + 1);
      if (name == abortOn) abort = true;
      const auto it = contents.find(name);
      if (it == contents.end()) return false;
      spring = it->second;
      return true;
    };
    sc.material = [this] { return OverviewMaterial{"strip " + spring.zeichnr, "wire", true}; };
    sc.progress = [this](const std::string& caption) { captions.push_back(caption); };
    return sc;
  }
};

TEST(FileOverviewScan, OneRowPerFileAndAFailedReadShowsNoStaleValues) {
  FakeFolder folder;
  Spring a = stripSpring();
  a.zeichnr = "A";
  Spring c = stripSpring();
  c.zeichnr = "C";
  c.crossSection = 2;
  folder.contents = {{"a.vlk", a}, {"c.vlk", c}};

  const auto rows = ScanOverviewFiles(folder.scan(), folder.spring, NumberSettings{}, folder.abort);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].cells, OverviewHeader());
  EXPECT_EQ(filesOf(rows), (std::vector<std::string>{"", "a.vlk", "bad.vlk", "c.vlk"}));
  EXPECT_EQ(rows[1].cells, OverviewRow(NumberSettings{}, "a.vlk", kNoonMarch15, a, {"strip A", "wire", true}));
  EXPECT_EQ(rows[2].cells, OverviewUnreadableRow("bad.vlk", kNoonMarch15));  // not a's values
  EXPECT_EQ(rows[3].cells[2], "C");
  EXPECT_EQ(rows[3].cells[17], "wire");
  EXPECT_EQ(rows[3].cells[4], "");
  EXPECT_EQ(folder.readPaths,
            (std::vector<std::string>{"/data/federn/a.vlk", "/data/federn/bad.vlk", "/data/federn/c.vlk"}));
  EXPECT_EQ(folder.captions, (std::vector<std::string>{"VELK - Spiralfedern -> a.vlk", "VELK - Spiralfedern -> bad.vlk",
                                                       "VELK - Spiralfedern -> c.vlk"}));
}

TEST(FileOverviewScan, StopsWhenTheAbortFlagIsSet) {
  FakeFolder folder;
  folder.contents = {{"a.vlk", stripSpring()}, {"bad.vlk", stripSpring()}, {"c.vlk", stripSpring()}};
  folder.abortOn = "bad.vlk";
  auto rows = ScanOverviewFiles(folder.scan(), folder.spring, NumberSettings{}, folder.abort);
  EXPECT_EQ(filesOf(rows), (std::vector<std::string>{"", "a.vlk"}));
  EXPECT_EQ(folder.readPaths.size(), 2u);  // c.vlk never read

  FakeFolder already;
  already.abort = true;
  rows = ScanOverviewFiles(already.scan(), already.spring, NumberSettings{}, already.abort);
  EXPECT_EQ(rows.size(), 1u);
  EXPECT_TRUE(already.readPaths.empty());
  EXPECT_TRUE(already.captions.empty());
}

TEST(FileOverviewScan, ReadsARealFolderThroughTheDefaultListing) {
  TempFolder dir;
  for (const char* name : {"z.vlk", "y.vlk", "notes.txt"}) std::ofstream(dir.file(name)) << "x";
  Spring spring = stripSpring();
  bool abort = false;
  std::vector<std::string> paths;
  OverviewScan scan;
  scan.folder = dir.path();  // no trailing separator
  scan.ext = "vlk";
  scan.programTitle = "VELK";
  scan.readSpring = [&](const std::string& path) {
    paths.push_back(path);
    return true;
  };
  const auto rows = ScanOverviewFiles(scan, spring, NumberSettings{}, abort);
  EXPECT_EQ(filesOf(rows), (std::vector<std::string>{"", "y.vlk", "z.vlk"}));
  EXPECT_EQ(paths, (std::vector<std::string>{dir.file("y.vlk"), dir.file("z.vlk")}));
  EXPECT_EQ(rows[1].cells[17], "");  // no material hook: no name
}

}  // namespace
}  // namespace velk
