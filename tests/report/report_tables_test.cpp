// Column tables on the three device groups, the table browser's print listing, and the page
// layout of a text file on the printer.
#include <gtest/gtest.h>

#include <algorithm>

#include "dbf/dbf.h"
#include "report/columntable.h"
#include "report/printtext.h"
#include "report/report_fixture.h"
#include "reportui/reportservice.h"
#include "tables/tableservice.h"

namespace velk::test {
namespace {

ColumnTable loadStates() {
  return ColumnTable{{{"Einbauwinkel", 20}, {"Federwinkel", 16}, {"Drehmoment Nmm", 21}, {"Sigma", 12}}, true};
}

TEST_F(ReportTest, ColumnTableOnTextDevicesPadsCutsAndRules) {
  ColumnTable t = loadStates();
  t.ruleAfterRow = false;
  const auto lines = linesOf(dosReport([&] {
    BeginColumnTable(ws.report, t);
    WriteColumnRow(ws.report, t, {"delta1=  45.0", std::string(30, 'f'), "T1=  500.00"});
    EndColumnTable(ws.report, t);
  }));
  ASSERT_GE(lines.size(), 14u);
  EXPECT_EQ(body(lines[9]), DoubleRule(2));
  EXPECT_EQ(lines[10], "       " + padRight("Einbauwinkel", 20) + padRight("Federwinkel", 16) +
                           padRight("Drehmoment Nmm", 21) + padRight("Sigma", 12) + " ");
  EXPECT_EQ(body(lines[11]), DoubleRule(2));
  EXPECT_EQ(lines[12], "       " + padRight("delta1=  45.0", 20) + std::string(16, 'f') + padRight("T1=  500.00", 21) +
                           std::string(12, ' ') + " ");
  EXPECT_EQ(body(lines[13]), ThinRule(2));  // the table end, since rows had no rule
  EXPECT_LE(lines[12].size(), 79u);
}

TEST_F(ReportTest, ColumnTableOnTabAndHtml) {
  const ColumnTable t = loadStates();
  ws.spring.fileName = dir.file("tab");
  report(ReportDevice::Batch, [&] {
    BeginColumnTable(ws.report, t);
    WriteColumnRow(ws.report, t, {"a", "b", "c", "d", "zu viel"});
    EndColumnTable(ws.report, t);
  });
  const std::string tab = readFile(dir.file("tab.txt"));
  EXPECT_NE(tab.find("Einbauwinkel\tFederwinkel\tDrehmoment Nmm\tSigma\r\na\tb\tc\td\r\n"), std::string::npos);

  ws.config.htmlBrowser = "true";
  report(ReportDevice::Html, [&] {
    BeginColumnTable(ws.report, t);
    WriteColumnRow(ws.report, t, {"<1>", "2"});
    WriteTextLine(ws.report, "danach");
  });
  const std::string html = readFile(tmp + "velk.htm");
  EXPECT_NE(html.find("<TABLE BORDER = \"1\" WIDTH= \"100%\">\r\n<TR><TD><CENTER>Einbauwinkel</CENTER></TD>"),
            std::string::npos);
  EXPECT_NE(html.find("<TR><TD>&lt;1&gt;</TD><TD><DIV ALIGN=RIGHT>2</DIV></TD><TD><DIV ALIGN=RIGHT></DIV></TD>"),
            std::string::npos);
  // A plain line after the rows closes the table.
  EXPECT_NE(html.find("</TR>\r\n</TABLE>\r\n<br>danach"), std::string::npos);
}

TEST_F(ReportTest, TableBrowserPrintsItsTableAsAColumnTable) {
  TempDir tables;
  ws.config.dbfDir = tables.path();
  ASSERT_TRUE(
      DbfTable::create(tables.file("muster.dbf"), {{"NAME", 'C', 12, 0, 0}, {"WERT", 'N', 8, 2, 0}}, kDbfDriverCp850));
  {
    DbfTable t;
    ASSERT_TRUE(t.open(tables.file("muster.dbf")));
    for (const std::string& name : {std::string("Federstahl"), oem("Bronze ä")}) {
      std::string r = t.blankRecord();
      t.setFieldText(r, 0, name);
      t.setFieldNumber(r, 1, 3.5);
      ASSERT_TRUE(t.append(r));
    }
  }
  ASSERT_TRUE(OpenTable(ws.table, ws.diag, ws, ws, "muster"));
  SetBrowseTitles(ws.table, "T1", "Material");
  ws.config.textDevice = ReportDeviceCode(ReportDevice::DosFile);
  PrintTableListing(ws, 1);
  EXPECT_FALSE(ws.abort);
  const std::string text = readFile(tmp + "OUTDOS.TXT");
  // Header line 2 names the table: as much of its path as fits inside the frame.
  const auto lines = linesOf(text);
  ASSERT_GE(lines.size(), 6u);
  const std::string path = oem(tables.file("muster.dbf"));
  EXPECT_EQ(body(lines[5]).substr(5, std::min<std::size_t>(path.size(), 64)), path.substr(0, 64));
  EXPECT_EQ(body(lines[5]).substr(69, 1), "\xBA");
  EXPECT_NE(text.find("Material   T1"), std::string::npos);
  EXPECT_NE(text.find("       " + padRight("NAME", 13) + padRight("WERT", 9) + " \r\n"), std::string::npos);
  EXPECT_NE(text.find("       " + padRight("Federstahl", 13) + padRight("3.50", 9) + " \r\n"), std::string::npos);
  EXPECT_NE(text.find(oem("Bronze ä")), std::string::npos);
}

TEST(PrintLayout, PagesOfTheChosenRange) {
  const std::vector<std::string> lines = {"a1", "a2", "\f", "b1", "\f", "c1", "c2", "c3", "\f"};
  EXPECT_EQ(CountPageBreaks(lines), 3);
  struct Case {
    int first, last;
    std::vector<std::vector<std::string>> pages;
  };
  const Case cases[] = {
      {1, 3, {{"a1", "a2"}, {"b1"}, {"c1", "c2", "c3"}}},
      {2, 3, {{"b1"}, {"c1", "c2", "c3"}}},
      {3, 3, {{"c1", "c2", "c3"}}},
      {1, 1, {{"a1", "a2"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last));
    const auto pages = LayoutTextPages(lines, c.first, c.last);
    ASSERT_EQ(pages.size(), c.pages.size());
    for (std::size_t p = 0; p < pages.size(); ++p) {
      std::vector<std::string> texts;
      for (std::size_t i = 0; i < pages[p].lines.size(); ++i) {
        EXPECT_EQ(pages[p].lines[i].row, static_cast<int>(i));  // every page starts at the top
        texts.push_back(pages[p].lines[i].text);
      }
      EXPECT_EQ(texts, c.pages[p]);
    }
  }
  // Pages above 255 are never printed.
  std::vector<std::string> many;
  for (int p = 1; p <= 300; ++p) {
    many.push_back("page " + std::to_string(p));
    many.push_back("\f");
  }
  const auto pages = LayoutTextPages(many, 250, 300);
  ASSERT_EQ(pages.size(), 6u);
  EXPECT_EQ(pages.back().number, 255);
  EXPECT_EQ(pages.back().lines.at(0).text, "page 255");
}

}  // namespace
}  // namespace velk::test
