// Drawing documentation: the change menu and its forms run through scripted answers, the
// change-history printout on real devices, the store rules, and the argument vector of a document.
#include "docs/docmenu.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "report/report_fixture.h"

namespace velk::test {
namespace {

using Kind = Request::Kind;

class DocsTest : public ReportTest {
 protected:
  DocsTest() { today = todayText(ws.num()); }

  Documentation& doc() { return ws.spring.doc; }
  void addEntry(const std::string& designation, const std::string& date, const std::string& editor,
                const std::string& description) {
    doc().changes[doc().changeCount++] = ChangeEntry{designation, date, editor, description};
  }
  // The body lines of the last screen report (margin removed).
  std::vector<std::string> screenLines() const {
    std::vector<std::string> out;
    if (ui.shown<ReportWindowRequest>().empty()) return out;
    const std::vector<ReportWindowRequest> windows = ui.shown<ReportWindowRequest>();
    for (const std::string& l : windows.back().lines) out.push_back(body(l));
    return out;
  }
  static bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  std::string today;
};

// ---- Change menu ----

TEST_F(DocsTest, MenuOffersSevenActionsWithShowPreselectedAndCancelOrBackDoNothing) {
  addEntry("A", "01.01.2020", "jw", "");
  ui.script({Answer::Cancel(), Answer::Choice(7)});
  ChangeMenu(ws, 0);
  EXPECT_TRUE(ws.abort);
  ChangeMenu(ws, 0);
  ASSERT_EQ(ui.requests().size(), 2u);  // the two choices, nothing else
  const Request& r = ui.requests()[0];
  EXPECT_EQ(r.kind, Kind::Radio);
  EXPECT_EQ(u8(r.prompt), "Änderungen");
  EXPECT_EQ(r.index, 4);
  EXPECT_EQ(r.helpNumber, 2600);
  ASSERT_EQ(r.items.size(), 7u);
  EXPECT_EQ(u8(r.items[1]), "ändern");
  EXPECT_EQ(u8(r.items[6]), "zurück....");
  EXPECT_EQ(doc().changeCount, 1);
  EXPECT_FALSE(ws.spring.modified);
}

TEST_F(DocsTest, NewEntryIsDatedTodayStoredByTheFormAndShown) {
  ui.script({Answer::Choice(1), Answer::Acting<ChangeEntryRequest>([](const ChangeEntryRequest& q) {
               ChangeEntryResult typed{q.designation, q.date, q.editor, q.description};
               typed.designation = oem("Bügel verstärkt, Radius geändert");
               typed.editor = "walker";
               typed.description = "Zeile 1\nZeile 2";
               return typed;
             })});
  ChangeMenu(ws, 0);
  EXPECT_FALSE(ws.abort);
  ASSERT_EQ(ui.shown<ChangeEntryRequest>().size(), 1u);
  const ChangeEntryRequest q = ui.shown<ChangeEntryRequest>()[0];
  EXPECT_EQ(u8(q.caption), "Änderung 1");
  EXPECT_EQ(q.date, today);
  EXPECT_EQ(q.today, today);
  EXPECT_EQ(q.helpNumber, 3000);
  ASSERT_EQ(doc().changeCount, 1);
  const ChangeEntry& e = doc().changes[0];
  EXPECT_EQ(u8(e.designation), "Bügel verstärkt, Rad");  // cut to 20
  EXPECT_EQ(e.editor, "walke");                          // cut to 5
  EXPECT_EQ(e.date, today);
  EXPECT_EQ(e.description, "Zeile 1\r\nZeile 2");
  EXPECT_TRUE(ws.spring.modified);
  // Then the history on the screen, without a page header, one line per description line.
  ASSERT_EQ(ui.shown<ReportWindowRequest>().size(), 1u);
  const std::vector<std::string> lines = screenLines();
  EXPECT_EQ(lines.at(0), "");
  EXPECT_TRUE(contains(lines, "  a     " + padRight(today, 10) + "   walke    " + padRight(e.designation, 20)));
  EXPECT_TRUE(contains(lines, " Zeile 1"));
  EXPECT_TRUE(contains(lines, " Zeile 2"));
}

TEST_F(DocsTest, CancelledNewAddsNothingAndDeletedTextsComeBackWithTodaysDate) {
  addEntry("Erste", "01.01.2020", "jw", "eins");
  addEntry("Zweite", "02.02.2020", "ab", "zwei");
  ui.script({Answer::Cancel()});
  ChangeMenu(ws, 1);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(doc().changeCount, 2);
  EXPECT_TRUE(ui.shown<ReportWindowRequest>().empty());

  ChangeMenu(ws, 3);  // "löschen" removes the last entry and shows the rest
  EXPECT_EQ(doc().changeCount, 1);
  EXPECT_TRUE(ws.spring.modified);
  ASSERT_EQ(ui.shown<ReportWindowRequest>().size(), 1u);

  ui.script({Answer::Yes()});  // "neu", form confirmed unchanged
  ChangeMenu(ws, 1);
  ASSERT_EQ(ui.shown<ChangeEntryRequest>().size(), 2u);
  EXPECT_EQ(ui.shown<ChangeEntryRequest>()[1].designation, "Zweite");
  EXPECT_EQ(ui.shown<ChangeEntryRequest>()[1].date, today);
  EXPECT_EQ(doc().changeCount, 2);
  EXPECT_EQ(doc().changes[1].editor, "ab");
  EXPECT_EQ(doc().changes[1].date, today);
}

TEST_F(DocsTest, TwentySixthEntryIsRefused) {
  for (int i = 0; i < kMaxChangeEntries; ++i) addEntry("x", "", "", "");
  ChangeMenu(ws, 1);
  EXPECT_EQ(doc().changeCount, 25);
  ASSERT_EQ(ui.messages(MessageKind::Error).size(), 1u);
  EXPECT_EQ(u8(ui.messages(MessageKind::Error)[0]), "Max. Änderungen = 25 !");
  EXPECT_TRUE(ui.shown<ChangeEntryRequest>().empty());
}

TEST_F(DocsTest, ModifyAndDeleteOnAnEmptyHistory) {
  ChangeMenu(ws, 2);  // nothing to modify: no form, no window
  EXPECT_TRUE(ui.requests().empty());
  ChangeMenu(ws, 3);  // nothing to delete, but the (empty) history is still shown
  EXPECT_EQ(doc().changeCount, 0);
  ASSERT_EQ(ui.shown<ReportWindowRequest>().size(), 1u);
  EXPECT_FALSE(ws.spring.modified);
}

TEST_F(DocsTest, ModifyOpensTheLastEntryAndTheDateButtonPutsToday) {
  addEntry("Erste", "01.01.2020", "jw", "");
  addEntry("Zweite", "02.02.2020", "ab", "alt\r\nalt 2");
  // A date typed, then the "<" + today button.
  ui.script({Answer::Acting<ChangeEntryRequest>([](const ChangeEntryRequest& q) {
    ChangeEntryResult typed{q.designation, "99.99.9999", q.editor, q.description};
    typed.date = q.today;
    return typed;
  })});
  ChangeMenu(ws, 2);
  ASSERT_EQ(ui.shown<ChangeEntryRequest>().size(), 1u);
  EXPECT_EQ(u8(ui.shown<ChangeEntryRequest>()[0].caption), "Änderung 2");
  EXPECT_EQ(ui.shown<ChangeEntryRequest>()[0].description, "alt\r\nalt 2");
  EXPECT_EQ(doc().changes[1].date, today);
  EXPECT_EQ(doc().changes[0].date, "01.01.2020");
  EXPECT_EQ(ui.shown<ReportWindowRequest>().size(), 1u);

  ui.script({Answer::Cancel()});
  ws.spring.modified = false;
  ChangeMenu(ws, 2);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(doc().changes[1].date, today);
  EXPECT_FALSE(ws.spring.modified);
  EXPECT_EQ(ui.shown<ReportWindowRequest>().size(), 1u);  // a cancelled form shows nothing
}

// ---- Printout ----

TEST_F(DocsTest, PrintoutOnTheDosFileHasHeaderBlockReplaceLinesAndEntries) {
  ws.spring.titleLine = "Titel";
  DrawingInfo& info = doc().info;
  info.creationDate = "05.06.2023";
  info.author = "Meier";
  info.replaces = "Z-100";
  info.replacedBy = "";
  addEntry(oem("Radius geändert"), "07.06.2023", "jw", "");
  PrintChangeHistory(ws, ReportDevice::DosFile);
  ASSERT_FALSE(ws.abort);
  std::vector<std::string> lines;
  for (const std::string& l : linesOf(readFile(tmp + "OUTDOS.TXT"))) lines.push_back(body(l));
  // The framed page header (device 8 is not the screen) with the header block.
  auto at = [&](const std::string& text) {
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].find(text) != std::string::npos) return static_cast<int>(i);
    return -1;
  };
  EXPECT_GE(at("VELK - Spiralfedern V3.4"), 0);
  EXPECT_GE(at(oem("Änderungsprotokoll")), 0);
  EXPECT_GE(at("Titel"), 0);
  const int created = at("Erstellungsdatum");
  ASSERT_GT(created, 0);
  EXPECT_EQ(lines[created - 1], "");
  EXPECT_EQ(lines[created], "Erstellungsdatum: 05.06.2023     Erstellt von: Meier");
  EXPECT_EQ(lines[created + 1], "");
  EXPECT_EQ(lines[created + 2], oem("Ersatz für: ") + "Z-100          ");
  EXPECT_EQ(at("Ersetzt durch"), -1);  // empty: no line
  EXPECT_EQ(lines[created + 3], "");
  EXPECT_EQ(lines[created + 4], "Index   Datum        Bearb.   " + oem("Änderung") + "            ");
  EXPECT_EQ(lines[created + 5], std::string(70, '\xCD'));
  EXPECT_EQ(lines[created + 6], "  a     07.06.2023   jw       " + padRight(oem("Radius geändert"), 20));
  EXPECT_EQ(lines[created + 7], " ");
  EXPECT_EQ(lines[created + 8], std::string(70, '\xC4'));
  EXPECT_EQ(static_cast<int>(lines.size()), created + 9);  // no page end before the close
}

TEST_F(DocsTest, IndexStyleOneNumbersEveryOtherStyleLetters) {
  struct Row {
    int style;
    int number;
    const char* text;
  };
  for (const Row& r : {Row{1, 3, "3"}, Row{0, 3, "c"}, Row{2, 3, "c"}, Row{3, 3, "c"}, Row{1, 25, "25"},
                       Row{0, 25, "y"}, Row{0, 1, "a"}})
    EXPECT_EQ(ChangeIndexText(r.style, r.number), r.text) << "style " << r.style << " entry " << r.number;

  // And in a printout: entry 3 on the tab device.
  ws.config.changeIndexStyle = 1;
  for (int i = 0; i < 3; ++i) addEntry("E" + fmtInt(i + 1), "", "", "d");
  PrintChangeHistory(ws, ReportDevice::Tab);
  ASSERT_FALSE(ws.abort);
  const std::vector<std::string> lines = linesOf(readFile(ws.report.copyPath));
  const auto heading =
      std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("Index", 0) == 0; });
  ASSERT_NE(heading, lines.end());
  // The tab device drops the rules: the first entry follows the heading, the next the description.
  const std::string blank10(10, ' '), blank6(6, ' ');
  EXPECT_EQ(heading[1], "  1     " + blank10 + "   " + blank6 + "   " + padRight("E1", 20));
  EXPECT_EQ(heading[2], " d");
  EXPECT_EQ(heading[3], "  2     " + blank10 + "   " + blank6 + "   " + padRight("E2", 20));
  EXPECT_EQ(heading[5], "  3     " + blank10 + "   " + blank6 + "   " + padRight("E3", 20));
}

TEST_F(DocsTest, CancelledDeviceChoiceWritesNothing) {
  ws.config.textDeviceAsk = true;
  ui.script({Answer::Choice(5), Answer::Cancel()});
  ChangeMenu(ws, 0);  // 5 "Ausdruck" asks for the device
  EXPECT_TRUE(ws.abort);
  EXPECT_TRUE(tempFiles().empty());
  EXPECT_TRUE(ui.shown<ReportWindowRequest>().empty());
}

// ---- Drawing information ----

TEST_F(DocsTest, DrawingInfoFormShowsTheRecordAndStoresTheGrids) {
  ws.config.releaseFieldText = "Freigabe";
  DrawingInfo& info = doc().info;
  info.checker = oem("Prüfer");
  info.freeTextCount = 1;
  info.freeTexts[0] = FreeText{12.5L, 0, 3.5L, 90, "Text A"};
  info.freeTexts[1].text = "alter Rest";  // beyond the count: not shown
  ui.script({Answer::Choice(6), Answer::Acting<DrawingInfoRequest>([](const DrawingInfoRequest& q) {
               DrawingInfoResult typed{q.replaces, q.replacedBy, q.people, q.freeTexts};
               typed.replaces = "Z-1";
               typed.people[3][1] = "Schulze-Lindemann";  // row 4, "Name"
               typed.freeTexts[1][0] = "1,5";             // row 2: x, y, "Text"
               typed.freeTexts[1][1] = "abc";
               typed.freeTexts[1][4] = "Text B";
               typed.people[1][0] = q.today;  // the date button of row 2
               return typed;
             })});
  ChangeMenu(ws, 0);
  ASSERT_EQ(ui.shown<DrawingInfoRequest>().size(), 1u);
  const DrawingInfoRequest q = ui.shown<DrawingInfoRequest>()[0];
  EXPECT_EQ(q.caption, "Zeichnungsinfo");
  EXPECT_EQ(q.helpNumber, 3010);
  EXPECT_EQ(q.rowTitles[0], "Bearb.");
  EXPECT_EQ(q.rowTitles[3], "Freigabe");
  EXPECT_EQ(q.people[1][1], oem("Prüfer"));
  EXPECT_EQ(q.freeTexts[0][0], fmtSig(ws.num(), 12.5L));
  EXPECT_EQ(q.freeTexts[0][4], "Text A");
  EXPECT_EQ(q.freeTexts[1][4], "");

  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(info.replaces, "Z-1");
  EXPECT_EQ(info.releaser, "Schulze-Li");  // cut to 10
  EXPECT_EQ(info.checkDate, today);        // the date button of row 2
  ASSERT_EQ(info.freeTextCount, 2);
  EXPECT_EQ(info.freeTexts[1].x, 1.5L);
  EXPECT_EQ(info.freeTexts[1].y, 0);  // unreadable number
  EXPECT_EQ(info.freeTexts[1].text, "Text B");
  EXPECT_TRUE(ws.spring.modified);

  const DrawingInfo before = info;
  ui.script({Answer::Cancel()});
  EditDrawingInfo(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(info.replaces, before.replaces);
  EXPECT_EQ(info.freeTextCount, 2);
}

TEST(DrawingInfoStore, FreeTextRowsAndWidths) {
  using Grid = std::array<std::array<std::string, 5>, 8>;
  auto row = [](std::string x, std::string text) { return std::array<std::string, 5>{x, "", "", "", text}; };
  struct Case {
    const char* name;
    Grid grid;
    int count;
  };
  Grid full;
  for (int i = 0; i < 8; ++i) full[i] = row(fmtInt(i), "t" + fmtInt(i));
  Grid gap{row("1", "a"), row("2", "   "), row("3", "c")};
  Grid emptyFirst{row("7", ""), row("2", "b")};
  const Case cases[] = {
      {"empty grid: one empty text at 0, 0", Grid{}, 1},
      {"a blank text ends the list", gap, 1},
      {"row 1 is stored even without text", emptyFirst, 2},
      {"all eight rows", full, 8},
  };
  for (const Case& c : cases) {
    DrawingInfo info;
    DrawingInfoResult typed;
    typed.freeTexts = c.grid;
    StoreDrawingInfo(info, typed);
    EXPECT_EQ(info.freeTextCount, c.count) << c.name;
    EXPECT_EQ(info.freeTexts[0].x, parseReal(c.grid[0][0])) << c.name;
    EXPECT_EQ(info.freeTexts[0].y, 0) << c.name;
  }

  // Widths: names and dates 10, replace fields 15, free text 80; numbers with "," and blanks.
  DrawingInfo info;
  DrawingInfoResult typed;
  typed.replaces = std::string(20, 'r');
  typed.replacedBy = std::string(16, 'b');
  typed.people[0] = {"2024-01-01-x", std::string(11, 'n')};
  typed.freeTexts[0] = {" -2,25 ", " 3 ", "1,2,3", "", std::string(90, 't')};
  StoreDrawingInfo(info, typed);
  EXPECT_EQ(info.replaces.size(), 15u);
  EXPECT_EQ(info.replacedBy.size(), 15u);
  EXPECT_EQ(info.creationDate, "2024-01-01");
  EXPECT_EQ(info.author.size(), 10u);
  EXPECT_EQ(info.freeTexts[0].x, -2.25L);
  EXPECT_EQ(info.freeTexts[0].y, 3);
  EXPECT_EQ(info.freeTexts[0].h, 0);  // only the first comma is a decimal point
  EXPECT_EQ(info.freeTexts[0].text.size(), 80u);
}

TEST(ChangeEntryStore, WidthsAndLineBreaks) {
  struct Case {
    const char* description;
    const char* stored;
  };
  for (const Case& c : {Case{"a\nb", "a\r\nb"}, Case{"a\rb", "a\r\nb"}, Case{"a\r\nb\r\n", "a\r\nb\r\n"}, Case{"", ""},
                        Case{"\n\n", "\r\n\r\n"}}) {
    ChangeEntry e;
    StoreChangeEntry(e, ChangeEntryResult{std::string(21, 'd'), "01.01.20245", "abcdef", c.description});
    EXPECT_EQ(e.designation.size(), 20u);
    EXPECT_EQ(e.date, "01.01.2024");
    EXPECT_EQ(e.editor, "abcde");
    EXPECT_EQ(e.description, c.stored) << c.description;
  }
}

// ---- Documents ----

TEST_F(DocsTest, DocumentSetupStoresTenTextsAndTheBrowseButtonAsksForAFile) {
  doc().documents[1].file = "alt.pdf";
  ui.script({Answer::Acting<DocumentSetupRequest>([](const DocumentSetupRequest& q) {
               DocumentSetupResult typed{q.programs, q.files};
               typed.programs[0] = "okular";
               typed.files[0] = std::string(60, 'f');
               q.browse(4, typed.files[1]);  // the "..." of "File 2"
               return typed;
             }),
             Answer::Text("/home/u/Zeichnung ä.pdf")});
  EditDocuments(ws);
  EXPECT_FALSE(ws.abort);
  ASSERT_EQ(ui.shown<DocumentSetupRequest>().size(), 1u);
  const DocumentSetupRequest q = ui.shown<DocumentSetupRequest>()[0];
  EXPECT_EQ(q.caption, "Document Setup");
  EXPECT_EQ(q.helpNumber, 2730);
  EXPECT_EQ(q.programHint, 2710);
  EXPECT_EQ(q.fileHint, 2720);
  EXPECT_EQ(q.programs[0], "NOTEPAD.EXE");
  EXPECT_EQ(ui.requests().back().kind, Kind::OpenFile);
  EXPECT_EQ(doc().documents[0].program, "okular");
  EXPECT_EQ(doc().documents[0].file.size(), 50u);
  EXPECT_EQ(doc().documents[1].file, oem("/home/u/Zeichnung ä.pdf"));  // held in code page 850
  EXPECT_EQ(doc().documents[4].program, "NOTEPAD.EXE");
  EXPECT_TRUE(ws.spring.modified);
  // ... and started with the system's name of the file.
  OpenDocument(ws, 2);
  ASSERT_EQ(launches.size(), 1u);
  EXPECT_EQ(launches[0], (std::vector<std::string>{"xdg-open", "/home/u/Zeichnung ä.pdf"}));

  // A cancelled file choice keeps the field's text and does not cancel the form.
  ui.script({Answer::Acting<DocumentSetupRequest>([](const DocumentSetupRequest& q) {
               DocumentSetupResult typed{q.programs, q.files};
               q.browse(3, typed.programs[1]);  // the "..." of "Program 2"
               return typed;
             }),
             Answer::Cancel()});
  EditDocuments(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(doc().documents[1].program, "NOTEPAD.EXE");
  EXPECT_EQ(doc().documents[1].file, oem("/home/u/Zeichnung ä.pdf"));
}

TEST_F(DocsTest, CancelledDocumentSetupChangesNothing) {
  ui.script({Answer::Cancel()});
  EditDocuments(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(doc().documents[0].program, "NOTEPAD.EXE");
  EXPECT_FALSE(ws.spring.modified);
}

TEST_F(DocsTest, OpenDocumentStartsAnArgumentVectorNeverAShell) {
  struct Case {
    const char* program;  // code page 850 texts as stored
    std::string file;
    std::vector<std::string> argv;
  };
  const Case cases[] = {
      {"cat", "/tmp/a b.pdf", {"cat", "/tmp/a b.pdf"}},
      {"cat -n", "x.txt", {"cat", "-n", "x.txt"}},
      {"cat", "", {"cat"}},
      {"cat", "a;rm -rf $HOME `x`", {"cat", "a;rm -rf $HOME `x`"}},
      {"cat", oem("Zeichnung_ä.pdf"), {"cat", "Zeichnung_ä.pdf"}},
      {"NOTEPAD.EXE", "notiz.txt", {"xdg-open", "notiz.txt"}},
  };
  for (const Case& c : cases) {
    launches.clear();
    doc().documents[2] = LinkedDocument{c.program, c.file};
    if (c.argv[0] != "xdg-open") ui.script({Answer::Yes()});  // the command line shown is confirmed
    OpenDocument(ws, 3);
    EXPECT_FALSE(ws.abort) << c.program;
    ASSERT_EQ(launches.size(), 1u) << c.program;
    EXPECT_EQ(launches[0], c.argv) << c.program << " " << c.file;
  }
  EXPECT_TRUE(ui.messages(MessageKind::Error).empty());
  OpenDocument(ws, 6);  // no such document
  EXPECT_EQ(launches.size(), 1u);
}

// A spring file may come from anyone: the command line of its document program is shown and
// asked for before the first start in a session; only a yes starts it, and only that command
// line is remembered. The desktop's opener needs no question.
TEST_F(DocsTest, DocumentProgramsStartOnlyOnceConfirmed) {
  doc().documents[0] = LinkedDocument{"cat -n", "a b.pdf"};
  doc().documents[1] = LinkedDocument{"NOTEPAD.EXE", "c.pdf"};  // missing here: opened with xdg-open
  doc().documents[2] = LinkedDocument{"cat -n", "it's.pdf"};

  ui.script({Answer::No()});
  OpenDocument(ws, 1);
  EXPECT_TRUE(ws.abort);
  EXPECT_TRUE(launches.empty()) << "no starts nothing";
  ASSERT_EQ(ui.requests().size(), 1u);
  EXPECT_EQ(ui.requests()[0].kind, Request::Kind::YesNo);
  EXPECT_EQ(ui.requests()[0].prompt, "Dieses Programm starten ?  cat -n 'a b.pdf'");
  EXPECT_EQ(ui.requests()[0].offered, "N") << "no is the preset";

  ui.script({Answer::Cancel()});
  ws.abort = false;
  OpenDocument(ws, 1);
  EXPECT_TRUE(ws.abort);
  EXPECT_TRUE(launches.empty()) << "cancel starts nothing";

  ui.script({Answer::Yes()});
  ws.abort = false;
  OpenDocument(ws, 1);
  EXPECT_FALSE(ws.abort);
  OpenDocument(ws, 1);  // confirmed: no second question
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(launches[1], (std::vector<std::string>{"cat", "-n", "a b.pdf"}));

  ui.clearRequests();
  OpenDocument(ws, 2);
  EXPECT_TRUE(ui.requests().empty()) << "xdg-open is not asked for";
  EXPECT_EQ(launches.size(), 3u);

  // Another file for the same program is another command line: asked again.
  ui.script({Answer::No()});
  OpenDocument(ws, 3);
  ASSERT_EQ(ui.requests().size(), 1u);
  EXPECT_EQ(ui.requests()[0].prompt, "Dieses Programm starten ?  cat -n 'it'\\''s.pdf'");
  EXPECT_EQ(launches.size(), 3u);

  // A program named xdg-open shipped beside a spring is not the desktop's opener: asked.
  TempDir shipped;
  writeFile(shipped.file("xdg-open"), "#!/bin/sh\n");
  ASSERT_EQ(::chmod(shipped.file("xdg-open").c_str(), 0755), 0);
  doc().documents[3] = LinkedDocument{shipped.file("xdg-open"), "d.pdf"};
  ui.clearRequests();
  ui.script({Answer::No()});
  OpenDocument(ws, 4);
  ASSERT_EQ(ui.requests().size(), 1u);
  EXPECT_EQ(ui.requests()[0].prompt,
            "Dieses Programm starten ?  " + readableCommandLine({shipped.file("xdg-open"), "d.pdf"}));
  EXPECT_EQ(launches.size(), 3u);
}

TEST(ReadableCommandLine, QuotesWhatAShellWouldSplit) {
  EXPECT_EQ(readableCommandLine({"gimp", "-n", "/home/u/a.png"}), "gimp -n /home/u/a.png");
  EXPECT_EQ(readableCommandLine({"viewer", "a b", "", "$HOME;x", "it's"}), "viewer 'a b' '' '$HOME;x' 'it'\\''s'");
}

TEST_F(DocsTest, OpenDocumentReportsStartErrors) {
  struct Case {
    const char* program;
    int startError;
    const char* message;
  };
  const Case cases[] = {
      {"no-such-viewer-here", 0, "file not found"},
      {"", 0, "file not found"},
      {"cat", ENOMEM, "out of memory !"},
      {"cat", EACCES, "Exec error 5"},
      {"cat", ENOENT, "file not found"},
  };
  for (const Case& c : cases) {
    ui.clearRequests();
    launches.clear();
    ws.abort = false;
    ws.programs.hook = [&](const std::vector<std::string>& argv) {
      launches.push_back(argv);
      return c.startError;
    };
    doc().documents[0] = LinkedDocument{c.program, "f.pdf"};
    ws.confirmedCommands.insert({"cat", "f.pdf"});
    OpenDocument(ws, 1);
    EXPECT_TRUE(ws.abort) << c.program;
    ASSERT_EQ(ui.messages(MessageKind::Error).size(), 1u) << c.program;
    EXPECT_EQ(ui.messages(MessageKind::Error)[0], c.message) << c.program;
  }
}

// ---- Reset ----

TEST_F(DocsTest, ResetForNewClearsEverythingButTheCreationDate) {
  addEntry("A", "01.01.2020", "jw", "x");
  DrawingInfo& info = doc().info;
  info = DrawingInfo{"01.01.2000", "a", "02.01.2000", "b", "03.01.2000", "c", "04.01.2000", "d", "Z-1", "Z-2", 1, {}};
  doc().documents[0] = LinkedDocument{"okular", "a.pdf"};
  ResetDocumentation(ws);
  EXPECT_EQ(doc().changeCount, 0);
  EXPECT_EQ(doc().changes[0].designation, "");  // "neu" after New starts from an empty entry
  EXPECT_EQ(info.creationDate, today);
  for (const std::string* s :
       {&info.author, &info.checkDate, &info.checker, &info.standardsDate, &info.standardsChecker, &info.releaseDate,
        &info.releaser, &info.replaces, &info.replacedBy})
    EXPECT_EQ(*s, "");
  EXPECT_EQ(info.freeTextCount, 0);
  EXPECT_EQ(doc().documents[0].program, "NOTEPAD.EXE");
  EXPECT_EQ(doc().documents[0].file, "");
}

}  // namespace
}  // namespace velk::test
