// The report writer's page model and row layout on the text devices: rules per mode, rows by
// insertion at the fixed columns, page header, sheet marks, header modes, page breaks.
#include <gtest/gtest.h>

#include <algorithm>

#include "report/report_fixture.h"

namespace velk::test {
namespace {

// Header lines of a page with header lines 2..4 set and line 5 empty: frame top, three fixed
// lines, frame middle, three header lines, frame bottom.
constexpr std::size_t kHeaderLines = 9;

std::string placed(std::initializer_list<std::pair<int, std::string>> parts, std::size_t length = 72) {
  std::string line(length, ' ');
  for (const auto& [column, text] : parts) line.replace(static_cast<std::size_t>(column - 1), text.size(), text);
  return line;
}

TEST(ReportRules, EachModeHasItsRulesAndFrameCharacter) {
  struct Row {
    int mode;
    std::string thin, dbl, top, bottom, middle, frame;
  };
  const std::string box68(68, '\xCD');
  const Row rows[] = {
      {1, std::string(70, '-'), std::string(70, '='), std::string(70, '*'), std::string(70, '*'), std::string(70, '*'),
       "*"},
      {2, std::string(70, '\xC4'), std::string(70, '\xCD'), "\xC9" + box68 + "\xBB", "\xC8" + box68 + "\xBC",
       "\xCC" + box68 + "\xB9", "\xBA"},
      {3, std::string(70, ' '), std::string(70, ' '), std::string(70, ' '), std::string(70, ' '), std::string(70, ' '),
       " "},
      {4, "$!$", "$!$", "$!$", "$!$", "$!$", " "},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.mode);
    EXPECT_EQ(ThinRule(r.mode), r.thin);
    EXPECT_EQ(DoubleRule(r.mode), r.dbl);
    EXPECT_EQ(FrameTop(r.mode), r.top);
    EXPECT_EQ(FrameBottom(r.mode), r.bottom);
    EXPECT_EQ(FrameMiddle(r.mode), r.middle);
    EXPECT_EQ(FrameChar(r.mode), r.frame);
  }
}

TEST_F(ReportTest, ValueRowsInsertAtTheFixedColumnsAndAreCutTo72) {
  const std::string label40 = "Abstand zwischen den Windungen aussen 40";
  ASSERT_EQ(label40.size(), 40u);
  const std::string text = dosReport([&] {
    WriteValueRow(ws.report, "Windungsradius innen", "ri", "mm", "    10.5");
    WriteValueRow(ws.report, label40, "a0", "mm", "1.25");
    WriteValueRow(ws.report, std::string(80, 'L'), "s", "u", "v");
  });
  const auto lines = linesOf(text);
  ASSERT_GE(lines.size(), kHeaderLines + 6);
  EXPECT_EQ(lines[kHeaderLines],
            "       " + placed({{1, "Windungsradius innen"}, {35, "ri"}, {44, "mm"}, {56, "    10.5"}}));
  // Each row is followed by a thin rule.
  EXPECT_EQ(lines[kHeaderLines + 1], "       " + ThinRule(2));
  // The symbol goes inside a long label; everything after it moves right.
  EXPECT_EQ(body(lines[kHeaderLines + 2]),
            placed({{1, label40.substr(0, 34) + "a0" + label40.substr(34)}, {44, "mm"}, {56, "1.25"}}));
  EXPECT_EQ(body(lines[kHeaderLines + 4]).size(), 72u);
  for (const std::string& l : lines) EXPECT_LE(l.size(), 79u) << l;
}

TEST_F(ReportTest, TableRowsUseFiveColumnsAndFrameModeOneEndsTheHeaderInTheHeading) {
  SetReportHeader(ws.report, "Titel", "", "", "", "", 0);
  OpenReport(ws, ReportDevice::DosFile);
  WritePageHeader(ws.report, 0, 1);
  WriteTableRow(ws.report, "Drehmoment", "T", "Nmm", "500", "800");
  CloseReport(ws);
  const auto lines = linesOf(readFile(tmp + "OUTDOS.TXT"));
  // frame top, 3 fixed lines, middle, 3 header lines, middle, heading, frame bottom, empty line
  ASSERT_GE(lines.size(), 14u);
  EXPECT_EQ(body(lines[8]), FrameMiddle(2));
  EXPECT_EQ(body(lines[9]),
            placed({{1, "\xBA"}, {35, "Zeichen"}, {44, "Einheit"}, {51, "1"}, {62, "2"}, {70, "\xBA"}}));
  EXPECT_EQ(body(lines[10]), FrameBottom(2));
  EXPECT_EQ(body(lines[11]), "");
  EXPECT_EQ(body(lines[12]), placed({{1, "Drehmoment"}, {35, "T"}, {44, "Nmm"}, {51, "500"}, {62, "800"}}));
}

TEST_F(ReportTest, PageHeaderPlacesTitleDateFileAndSheetMark) {
  struct Case {
    int total, sheet, headerMode;
    std::string mark;
    std::size_t column;
  };
  const Case cases[] = {{3, 2, 1, "Bl. 2/ 3", 60}, {0, 2, 1, "Bl. 2", 64}, {0, 0, 1, "Bl. 1", 64}, {3, 1, 2, "", 0}};
  ws.spring.dataDir = "/daten/federn/";  // the header names the folder; not the test's, of any length
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mark + " mode " + std::to_string(c.headerMode));
    ws.config.headerMode = c.headerMode;
    SetReportHeader(ws.report, "VELK V3.4  Spiralfederberechnung", "Zeile 2", "", "", "", c.total);
    OpenReport(ws, ReportDevice::DosFile);
    WritePageHeader(ws.report, c.sheet, 0);
    CloseReport(ws);
    const auto lines = linesOf(readFile(tmp + "OUTDOS.TXT"));
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(body(lines[0]), FrameTop(2));
    const std::string l1 = body(lines[1]);
    EXPECT_EQ(l1.substr(0, 1), "\xBA");
    EXPECT_EQ(l1.substr(5, 32), "VELK V3.4  Spiralfederberechnung");
    EXPECT_EQ(l1.substr(69, 1), "\xBA");
    if (c.mark.empty()) {
      EXPECT_EQ(l1.find("Bl."), std::string::npos);
    } else {
      EXPECT_EQ(l1.substr(c.column - 1, c.mark.size()), c.mark);
    }
    const std::string l2 = body(lines[2]);
    EXPECT_EQ(l2.substr(52, 10), "01.02.2024");
    EXPECT_EQ(l2.substr(63, 4), "9:05");
    EXPECT_EQ(body(lines[3]).substr(5, 24), "/daten/federn/feder.vlk ");
    EXPECT_EQ(body(lines[4]), FrameMiddle(2));
    // Empty header lines 3 and 4 are framed lines; an empty line 5 is left out.
    EXPECT_EQ(body(lines[8]), FrameBottom(2));
    for (const std::string& l : lines) EXPECT_LE(l.size(), 79u);
  }
}

TEST_F(ReportTest, FileNamedOnTheCommandLineIsShownAsTyped) {
  ws.start.startedWithFile = true;
  ws.spring.fileName = "  ../springs/f1.vlk ";
  const auto lines = linesOf(dosReport([] {}));
  EXPECT_EQ(body(lines[3]).substr(5, 19), "../springs/f1.vlk  ");
}

TEST_F(ReportTest, HeaderLeavesOutAFolderThatMakesTheNameTooLong) {
  // Folder and name "feder" below 70 characters: both, as much as fits inside the frame.
  for (std::size_t folder : {14u, 64u, 65u}) {
    ws.spring.dataDir = "/" + std::string(folder - 2, 'd') + "/";
    const std::string shown = folder < 65 ? ws.spring.dataDir + "feder.vlk" : "feder.vlk";
    const auto lines = linesOf(dosReport([] {}));
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(body(lines[3]).substr(5, std::min<std::size_t>(shown.size(), 64)), shown.substr(0, 64)) << folder;
    EXPECT_EQ(body(lines[3]).substr(69, 1), "\xBA") << folder;
  }
}

TEST_F(ReportTest, EmptyFirstHeaderLineBecomesTheProgramTitleAndLinesAreCutTo65) {
  SetReportHeader(ws.report, "", std::string(70, 'x'), "", "", "", 0);
  EXPECT_EQ(ws.report.header[0], "VELK - Spiralfedern  V3.4");
  EXPECT_EQ(ws.report.header[1], std::string(65, 'x'));
  EXPECT_EQ(FormatNumberLine("Spirale 12", "4711"), placed({{1, "Spirale 12"}, {40, "Nr.: 4711"}}));
}

// Pages of a screen report, split at its form-feed lines.
std::vector<std::vector<std::string>> pagesOf(const std::vector<std::string>& lines) {
  std::vector<std::vector<std::string>> pages(1);
  for (const std::string& l : lines) {
    if (!l.empty() && l[0] == '\f') {
      pages.emplace_back();
      continue;
    }
    pages.back().push_back(l);
  }
  return pages;
}

TEST_F(ReportTest, PagesBreakBeforeTheyOverflowAndEveryPageHasItsHeader) {
  ws.config.linesPerPage = 30;
  report(ReportDevice::Screen, [&] {
    for (int i = 0; i < 100; ++i) WriteValueRow(ws.report, "Zeile " + std::to_string(i), "x", "mm", "1");
  });
  ASSERT_EQ(ui.shown<ReportWindowRequest>().size(), 1u);
  const auto pages = pagesOf(ui.shown<ReportWindowRequest>()[0].lines);
  ASSERT_GT(pages.size(), 8u);
  int sheet = 0;
  for (const auto& page : pages) {
    if (page.empty()) continue;  // after the last form feed
    EXPECT_LE(page.size(), 30u);
    ++sheet;
    // The window shows the Windows copy: the frame is drawn with "+", "-" and "|".
    EXPECT_EQ(body(page[0]), "+" + std::string(68, '-') + "+");
    EXPECT_NE(page[1].find("Bl." + fmtIntRight(sheet, 2)), std::string::npos) << page[1];
  }
  const std::string all = readFile(tmp + "outwin.txt");
  for (int i = 0; i < 100; ++i) EXPECT_NE(all.find("Zeile " + std::to_string(i) + " "), std::string::npos);
}

TEST_F(ReportTest, PageShorterThanItsHeaderStillEnds) {
  ws.config.linesPerPage = 5;
  ws.config.headerSpaceLines = 30;
  const std::string text = dosReport([&] {
    for (int i = 0; i < 5; ++i) WriteTextLine(ws.report, "Text " + std::to_string(i));
  });
  EXPECT_FALSE(ws.abort);
  for (int i = 0; i < 5; ++i) EXPECT_NE(text.find("Text " + std::to_string(i)), std::string::npos);
}

TEST_F(ReportTest, KeepTogetherBreaksOnlyWithinTheLastTenLines) {
  auto framesAfter = [&](int textLines) {
    const std::string text = dosReport([&] {
      for (int i = 0; i < textLines; ++i) WriteTextLine(ws.report, "t");
      KeepTogether(ws.report, 0);
      WriteTextLine(ws.report, "neuer Abschnitt");
    });
    const auto lines = linesOf(text);
    return std::count(lines.begin(), lines.end(), "       " + FrameTop(2));
  };
  // The header counts 9 lines: 47 more make 56 = 66 - 10, which still fits.
  EXPECT_EQ(framesAfter(47), 1);
  EXPECT_EQ(framesAfter(48), 2);
}

TEST_F(ReportTest, HeaderModeTwoFramesOnlyTheFirstPage) {
  ws.config.headerMode = 2;
  ws.config.linesPerPage = 20;
  report(ReportDevice::Screen, [&] {
    for (int i = 0; i < 40; ++i) WriteTextLine(ws.report, "t");
    WritePageHeader(ws.report, 0, 0);  // a later page: a bare line, no header
    WriteTextLine(ws.report, "Ende");
  });
  ASSERT_EQ(ui.shown<ReportWindowRequest>().size(), 1u);
  const auto lines = ui.shown<ReportWindowRequest>()[0].lines;
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.find("Zeile 2") != l.npos; }),
            1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "\f"), 3);  // two overflows of 20 lines, the page end
  EXPECT_EQ(std::count(lines.begin(), lines.end(), " "), 1);
  for (const std::string& l : lines) EXPECT_EQ(l.find("Bl."), std::string::npos);
}

TEST_F(ReportTest, RuleModeFourDropsRulesAndBreaksOnlyAtHalfAPage) {
  ws.config.ruleMode = 4;
  auto screen = [&](int rows) {
    ui.clearShown();
    report(ReportDevice::Screen, [&] {
      for (int i = 0; i < rows; ++i) WriteValueRow(ws.report, "Wert", "w", "mm", "1");
    });
    return ui.shown<ReportWindowRequest>().at(0).lines;
  };
  // Header: an empty line, three fixed lines, three header lines (rules dropped) = 7.
  const auto few = screen(10);
  // 17 lines: EndPage does nothing; only the close ends the started page.
  EXPECT_EQ(std::count(few.begin(), few.end(), "\f"), 1);
  EXPECT_EQ(few.back(), "\f");
  const auto more = screen(30);
  EXPECT_EQ(std::count(more.begin(), more.end(), "\f"), 1);  // 37 >= 33: a page end
  for (const std::string& l : more) {
    EXPECT_EQ(l.find("$!$"), std::string::npos);
    EXPECT_EQ(l.find("------"), std::string::npos);
  }
}

TEST_F(ReportTest, WrappedTextBreaksAfterTheLastBlankAmongTheFirst63) {
  struct Case {
    std::string text;
    std::vector<std::string> pieces;
  };
  std::string words;
  for (int i = 0; i < 20; ++i) words += "aaaa ";
  const Case cases[] = {
      {"", {}},
      {std::string(72, 'x'), {std::string(72, 'x')}},
      {std::string(73, 'x'), {std::string(64, 'x'), std::string(9, 'x')}},
      {words, {words.substr(0, 60), words.substr(60)}},
      {std::string(62, 'y') + " " + std::string(20, 'z'), {std::string(62, 'y') + " ", std::string(20, 'z')}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto lines = linesOf(dosReport([&] { WriteWrappedText(ws.report, c.text); }));
    std::vector<std::string> got;
    for (std::size_t i = kHeaderLines; i < lines.size(); ++i) got.push_back(body(lines[i]));
    EXPECT_EQ(got, c.pieces);
  }
}

TEST_F(ReportTest, MessageSectionPrintsElevenBlocksWithCauseAndRemedy) {
  std::string err;
  for (int i = 1; i <= kMaxCalcMessages; ++i) {
    const std::string m = "Fehler : Meldung " + std::to_string(i) + " !";
    AddCalcMessage(ws.messages, m);
    err += m + "\r\n" + (i == 1 ? std::string(60, 'U') + " " + std::string(40, 'V') : "Ursache " + std::to_string(i)) +
           "\r\nAbhilfe " + std::to_string(i) + "\r\n";
  }
  writeFile(dir.file("velk.err"), err);
  const auto lines = linesOf(dosReport([&] { WriteMessageSection(ws.report, ws.messages); }));
  std::vector<std::string> bodies;
  for (std::size_t i = kHeaderLines; i < lines.size(); ++i) bodies.push_back(body(lines[i]));
  ASSERT_GE(bodies.size(), 4u);
  EXPECT_EQ(lines[kHeaderLines], "");  // the raw empty line: no margin
  EXPECT_EQ(bodies[1], "MELDUNGEN");
  EXPECT_EQ(bodies[2], DoubleRule(2));
  EXPECT_EQ(std::count(bodies.begin(), bodies.end(), ThinRule(2)), 1 + kMaxCalcMessages);
  for (int i = 1; i <= kMaxCalcMessages; ++i) {
    EXPECT_NE(std::find(bodies.begin(), bodies.end(), "Fehler : Meldung " + std::to_string(i) + " !"), bodies.end());
    EXPECT_NE(std::find(bodies.begin(), bodies.end(), "Abhilfe " + std::to_string(i)), bodies.end());
  }
  // The long cause is wrapped into pieces of at most 64 characters.
  EXPECT_NE(std::find(bodies.begin(), bodies.end(), std::string(60, 'U') + " "), bodies.end());
  EXPECT_NE(std::find(bodies.begin(), bodies.end(), std::string(40, 'V')), bodies.end());
}

TEST_F(ReportTest, EmptyMessageListWritesNoSection) {
  const std::string without = dosReport([] {});
  const std::string with = dosReport([&] {
    WriteMessageSection(ws.report, ws.messages);
    WriteMessageList(ws.report, ws.messages);
    PrintMessagesOnly(ws.report, ws.messages);
  });
  EXPECT_EQ(with, without);
}

}  // namespace
}  // namespace velk::test
