// Table-wide operations: delimited text both ways, append from another table, the HTML page,
// search and the print listing.
#include <gtest/gtest.h>

#include <sstream>

#include "base/codepage.h"
#include "dbf/dbf.h"
#include "dbf/dbf_test_util.h"
#include "dbf/dbfexport.h"
#include "support/fixture.h"

namespace velk {
namespace {

// NAME C12, E N8.1, OK L1, DATUM D8, NOTIZ M10; record 3 is deleted.
DbfTable exportTable(std::uint8_t languageDriver = 0x02) {
  using test::padL;
  using test::padR;
  DbfTable t;
  std::string b =
      test::dbfImage({{"NAME", 'C', 12}, {"E", 'N', 8, 1}, {"OK", 'L', 1}, {"DATUM", 'D', 8}, {"NOTIZ", 'M', 10}},
                     {padR("Feder \"X\"", 12) + "206000.0" + "T" + "20240131" + padL("1", 10),
                      oem("Öl, gehärtet") + padL("-12.5", 8) + " " + padR("", 8) + padR("", 10),
                      "*" + padR("Geloescht", 12) + padL("1.0", 8) + "T" + "20240101" + padR("", 10),
                      padR("", 12) + padR("", 8) + "?" + padR("", 8) + padR("", 10)},
                     0x03, languageDriver);
  EXPECT_TRUE(t.openBytes(b, "export.dbf"));
  return t;
}

TEST(DbfDelimited, WritesDBaseDelimitedLines) {
  DbfTable t = exportTable();
  std::ostringstream out;
  writeDelimited(t, out);
  EXPECT_EQ(out.str(),
            "\"Feder \"\"X\"\"\",206000.0,T,20240131\r\n\"" + oem("Öl, gehärtet") + "\",-12.5,,\r\n\"\",,,\r\n");
}

TEST(DbfDelimited, RoundTripsThroughAFileIntoAnEmptyTable) {
  test::TempDir dir;
  DbfTable source = exportTable();
  ASSERT_TRUE(saveDelimited(source, dir.file("liste.txt")));
  const std::string target = dir.file("ziel.dbf");
  ASSERT_TRUE(DbfTable::create(
      target, {{"NAME", 'C', 12, 0, 0}, {"E", 'N', 8, 1, 0}, {"OK", 'L', 1, 0, 0}, {"DATUM", 'D', 8, 0, 0}}));
  DbfTable t;
  ASSERT_TRUE(t.open(target));
  std::uint32_t appended = 0;
  ASSERT_TRUE(appendDelimited(t, dir.file("liste.txt"), &appended));
  EXPECT_EQ(appended, 3u);
  ASSERT_EQ(t.recordCount(), 3u);
  const std::vector<std::uint32_t> live = {1, 2, 4};
  for (std::uint32_t n = 1; n <= 3; ++n)
    for (int i = 0; i < 4; ++i)
      if (n != 3 || i != 2) {
        EXPECT_EQ(t.fieldRaw(n, i), source.fieldRaw(live[n - 1], i)) << n << "/" << i;
      }
  EXPECT_EQ(t.fieldRaw(3, 2), " ") << "an unset logical stays unset";
  EXPECT_FALSE(appendDelimited(t, dir.file("fehlt.txt")).ok());
  EXPECT_EQ(t.recordCount(), 3u);
}

TEST(DbfDelimited, ParsesForeignLinesToDefinedRecords) {
  DbfTable t;
  ASSERT_TRUE(t.openBytes(test::dbfImage({{"NAME", 'C', 5}, {"N", 'N', 4}, {"OK", 'L', 1}}, {}), "x.dbf"));
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::vector<std::string>> records;  // NAME (C5), N (N4), OK (L1) as stored, unpadded
  };
  const std::vector<Case> cases = {
      {"LF lines, blanks around numbers", "\"ab\", 12 ,T\n\"cd\",3,F\n", {{"ab", "12", "T"}, {"cd", "3", "F"}}},
      {"CR lines and empty lines", "\r\n\"ab\",1,T\r\r\n", {{"ab", "1", "T"}}},
      {"missing values stay blank", "\"ab\"\n", {{"ab", "", ""}}},
      {"surplus values are ignored", "\"ab\",1,T,\"x\",9\n", {{"ab", "1", "T"}}},
      {"comma inside quotes", "\"a,b\",1,T", {{"a,b", "1", "T"}}},
      {"doubled quote", "\"a\"\"b\",,", {{"a\"b", "", ""}}},
      {"unquoted text, long text cut, bad number", "abcdefgh,x,?", {{"abcde", "0", "?"}}},
      {"unterminated quote takes the rest", "\"ab,1,T", {{"ab,1,", "", ""}}},
      {"number too wide", "\"\",12345,j", {{"", "****", "T"}}},
      {"stops at 0x1A", "\"ab\",1,T\r\n\x1A\"cd\",2,F\r\n", {{"ab", "1", "T"}}},
      {"line break inside quotes", "\"a\r\nb\",1,T\n\"\",2", {{"a\r\nb", "1", "T"}, {"", "2", ""}}},
      {"blank line of spaces", "  \n\"x\"", {{"x", "", ""}}},
      {"nothing", "", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> recs = parseDelimited(t, c.text);
    ASSERT_EQ(recs.size(), c.records.size()) << c.name;
    for (std::size_t k = 0; k < recs.size(); ++k) {
      const auto& v = c.records[k];
      EXPECT_EQ(recs[k], " " + test::padR(v[0], 5) + test::padL(v[1], 4) + test::padR(v[2], 1)) << c.name;
    }
  }
}

TEST(DbfAppendFromDbf, MatchesFieldsByNameAndSkipsDeletedRecords) {
  test::TempDir dir;
  const std::string source = dir.file("quelle.dbf");
  using test::padL;
  using test::padR;
  test::writeFile(
      source, test::dbfImage({{"E", 'N', 6}, {"name", 'C', 20}, {"REST", 'C', 3}},
                             {padL("206", 6) + padR("Stahl", 20) + "abc", "*" + padL("1", 6) + padR("Weg", 20) + "abc",
                              padL("-3.5", 6) + padR(oem("Öl"), 20) + "xyz"},
                             0x03, 0x57));
  const std::string target = dir.file("ziel.dbf");
  ASSERT_TRUE(DbfTable::create(target, {{"NAME", 'C', 4, 0, 0}, {"E", 'N', 8, 2, 0}, {"OK", 'L', 1, 0, 0}}));
  DbfTable t;
  ASSERT_TRUE(t.open(target));
  std::uint32_t appended = 0;
  ASSERT_TRUE(appendFromDbf(t, source, &appended, [](std::string_view s) { return "<" + std::string(s) + ">"; }));
  EXPECT_EQ(appended, 2u);
  ASSERT_EQ(t.recordCount(), 2u);
  EXPECT_EQ(t.record(1), " <Sta  206.00 ");
  EXPECT_EQ(t.record(2), " <" + oem("Öl") + ">   -3.50 ");
  DbfStatus st = appendFromDbf(t, dir.file("fehlt.dbf"));
  EXPECT_FALSE(st.ok());
  EXPECT_EQ(t.recordCount(), 2u);
}

TEST(DbfHtml, WritesThePageLineByLineAndEscapesEveryText) {
  DbfTable t;
  using test::padL;
  using test::padR;
  ASSERT_TRUE(t.openBytes(
      test::dbfImage({{"A<B", 'C', 12}, {"E", 'N', 4}}, {padR("<b>\"x\" & y", 12) + padL("12", 4),
                                                         "*" + padR("weg", 12) + padL("1", 4), padR("ende", 16)}),
      "x.dbf"));
  HtmlExportInfo info;
  info.filePath = "/daten/Liste & Co.htm";
  info.date = "31.01.2024";
  info.time = "9:05";
  std::ostringstream out;
  writeHtml(t, out, info);
  EXPECT_EQ(out.str(),
            "<HTML>\r\n"
            "<head><title>Liste &amp; Co</title></head>\r\n"
            "<BODY BGCOLOR=\"C0C0C0\">\r\n"
            "<P>VELK - Spiralfedern  V3.4</P>\r\n"
            "<P>/DATEN/LISTE &amp; CO.HTM</P>\r\n"
            "<P>31.01.2024 - 9:05</P>\r\n"
            "<HR>\r\n"
            "<TABLE BORDER = \"1\" WIDTH= \"100%\">\r\n"
            "<TR><TD><CENTER>A&lt;B</CENTER></TD><TD><CENTER>E</CENTER></TD></TR>\r\n"
            "<TR><TD>&lt;b&gt;&quot;x&quot; &amp; y</TD><TD>12</TD></TR>\r\n"
            "<TR><TD>ende</TD><TD></TD></TR>\r\n"
            "</TABLE>\r\n"
            "</BODY>\r\n"
            "</HTML>\r\n");

  // The converter sees table texts only; the file is written whole.
  test::TempDir dir;
  info.filePath = dir.file("seite.htm");
  info.convert = [](std::string_view s) { return std::string(s) + "!"; };
  ASSERT_TRUE(exportHtml(t, info));
  const std::string page = test::readFile(info.filePath);
  EXPECT_NE(page.find("<title>seite</title>"), std::string::npos);
  EXPECT_NE(page.find("<TD><CENTER>A&lt;B!</CENTER></TD>"), std::string::npos);
  EXPECT_NE(page.find("<TR><TD>ende!</TD><TD>!</TD></TR>"), std::string::npos);
}

TEST(DbfSearch, FindsTextFromARecordOnwardIgnoringCase) {
  DbfTable t;
  using test::padL;
  using test::padR;
  ASSERT_TRUE(
      t.openBytes(test::dbfImage({{"NAME", 'C', 10}, {"E", 'N', 6}},
                                 {padR("Federstahl", 10) + padL("206", 6), "*" + padR("Stahl weg", 10) + padL("1", 6),
                                  padR(oem("ÖL"), 10) + padL("2", 6), padR("STAHL X", 10) + padL("999", 6),
                                  padR(oem("Bänder"), 10) + padL("42", 6)}),
                  "x.dbf"));
  struct Case {
    std::string text;
    std::uint32_t from;
    std::uint32_t found;
  };
  const std::vector<Case> cases = {
      {"stahl", 1, 1},
      {"stahl", 2, 4} /* 2 is deleted */,
      {"stahl", 5, 0},
      {"STAHL", 0, 1},
      {oem("öl"), 1, 3},
      {oem("BÄNDER"), 1, 5},
      {"999", 1, 4},
      {"42", 1, 5},
      {"4 2", 1, 0},
      {"", 1, 0},
      {"fehlt", 1, 0},
      {"stahl", 99, 0},
      {" 206", 1, 0} /* numbers are searched trimmed */,
  };
  for (const Case& c : cases) EXPECT_EQ(searchTable(t, c.text, c.from), c.found) << c.text << " from " << c.from;

  // A Windows-1252 table folds its own letters.
  DbfTable w;
  ASSERT_TRUE(w.openBytes(test::dbfImage({{"NAME", 'C', 6}}, {test::padR("\xC4RGER", 6)}, 0x03, 0x03), "w.dbf"));
  EXPECT_EQ(searchTable(w, "\xE4rger", 1), 1u);
  EXPECT_EQ(searchTable(w, oem("ä") + "rger", 1), 0u) << "850 bytes are not 1252 letters";
}

struct RecordingSink : TableListingSink {
  std::vector<TableListingColumn> columns;
  std::vector<std::vector<std::string>> rows;
  void heading(const std::vector<TableListingColumn>& c) override { columns = c; }
  void row(const std::vector<std::string>& cells) override { rows.push_back(cells); }
};

TEST(DbfListing, FirstSevenFieldsWithWidthAndCutCells) {
  std::vector<test::RawField> fields = {{"LANG", 'C', 100}};
  for (int i = 1; i < 9; ++i) fields.push_back({"F" + std::to_string(i), 'N', i});
  std::string rec = std::string(70, 'x') + "  ende" + std::string(24, ' ');
  for (int i = 1; i < 9; ++i) rec += std::string(static_cast<std::size_t>(i - 1), ' ') + std::to_string(i % 10);
  DbfTable t;
  ASSERT_TRUE(t.openBytes(test::dbfImage(fields, {rec, "*" + rec.substr(1) + "0"}), "x.dbf"));
  RecordingSink sink;
  writeTableListing(t, sink);
  ASSERT_EQ(sink.columns.size(), 7u);
  EXPECT_EQ(sink.columns[0].title, "LANG");
  EXPECT_EQ(sink.columns[0].width, 101);
  EXPECT_EQ(sink.columns[6].title, "F6");
  EXPECT_EQ(sink.columns[6].width, 7);
  ASSERT_EQ(sink.rows.size(), 1u) << "deleted records are not listed";
  ASSERT_EQ(sink.rows[0].size(), 7u);
  EXPECT_EQ(sink.rows[0][0], std::string(65, 'x'));
  EXPECT_EQ(sink.rows[0][3], "3");
}

}  // namespace
}  // namespace velk
