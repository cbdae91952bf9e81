// The report devices: where each one's text goes, its code page, the numbered temporary files,
// the external programs, and what a failing disk or folder leaves (a message, the abort flag,
// and no half-written report presented as finished).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "dialogs/dialogs.h"
#include "report/report_fixture.h"
#include "support/run_process.h"

namespace velk::test {
namespace {

using Kind = Request::Kind;

void someRows(Session& ws) {
  WriteTextLine(ws.report, "");
  WriteSectionTitle(ws.report, "HAUPTABMESSUNGEN");
  WriteValueRow(ws.report, oem("Windungsradius außen"), "re", "mm", "  100.25");
  WriteValueRow(ws.report, oem("Länge"), "L", oem("mm²"), "12.50");
  WriteValueRow(ws.report, "Dichte", "rho", "kg/dm^3", "7,85");
}

TEST_F(ReportTest, ListOnlyFillsTheDeviceNamesAndOpensNothing) {
  ws.report.device = ReportDevice::Tab;
  FillDeviceChoiceItems(ws);
  EXPECT_EQ(ws.choiceItems[1], "Bildschirm");
  EXPECT_EQ(ws.choiceItems[4], "Windows-Drucker");
  EXPECT_EQ(ws.choiceItems[7], "HTML File (Netscape, Internet Explorer ...)");
  EXPECT_EQ(ws.report.device, ReportDevice::Tab);
  EXPECT_FALSE(ws.report.open);
  EXPECT_TRUE(tempFiles().empty());
}

TEST_F(ReportTest, DeviceQuestionOffersSevenDevicesAndCancelAborts) {
  ws.config.textDeviceAsk = true;
  ws.config.textDevice = 3;
  ui.script({Answer::Cancel()});
  OpenReport(ws, kDeviceAsk);
  EXPECT_TRUE(ws.abort);
  EXPECT_FALSE(ws.report.open);
  ASSERT_EQ(ui.requests().size(), 1u);
  EXPECT_EQ(ui.requests()[0].kind, Kind::Radio);
  EXPECT_EQ(ui.requests()[0].prompt, "Ausgabe auf ..");
  EXPECT_EQ(ui.requests()[0].items.size(), 7u);
  EXPECT_EQ(ui.requests()[0].index, 3);
  EXPECT_EQ(ui.requests()[0].helpNumber, 1050);

  // A device given by the caller is not asked for.
  ui.clearRequests();
  OpenReport(ws, ReportDevice::DosFile);
  EXPECT_TRUE(ui.requests().empty());
  CloseReport(ws);
}

TEST_F(ReportTest, ScreenShowsTheWindowsCopyAndRemovesItsTemporaryFile) {
  report(ReportDevice::Screen, [&] { someRows(ws); });
  EXPECT_FALSE(ws.abort);
  ASSERT_EQ(ui.shown<ReportWindowRequest>().size(), 1u);
  const ReportWindowRequest w = ui.shown<ReportWindowRequest>()[0];
  EXPECT_EQ(w.caption, "VELK - " + tmp + "outwin.txt");
  EXPECT_EQ(w.reportFile, tmp + "$OUT1.TMP");
  EXPECT_EQ(w.windowsFile, tmp + "outwin.txt");
  EXPECT_EQ(w.font, "Courier New");
  // outwin.txt is Windows-1252: umlauts converted, the frame in plain characters.
  const std::string outwin = readFile(tmp + "outwin.txt");
  EXPECT_NE(outwin.find("Windungsradius au\xDF"
                        "en"),
            std::string::npos);
  EXPECT_NE(outwin.find("+" + std::string(68, '-') + "+"), std::string::npos);
  std::vector<std::string> shown;
  for (const std::string& l : linesOf(outwin)) shown.push_back(win1252ToCp850(l));
  EXPECT_EQ(w.lines, shown);
  for (const std::string& l : w.lines) EXPECT_LE(l.size(), 79u) << l;
  EXPECT_EQ(tempFiles(), std::vector<std::string>{"outwin.txt"});
}

TEST_F(ReportTest, TemporaryNumbersInUseAreSkippedAndLeftoversTakenOver) {
  // Another report (another process) holds $OUT1.TMP; a dead one left $OUT2.TMP behind.
  int err = 0;
  ReservedFile held = reserveNumberedFile(tmp, "$OUT", ".TMP", 1, 1, {}, err);
  ASSERT_TRUE(held.held());
  writeFile(tmp + "$OUT2.TMP", "left behind");
  report(ReportDevice::Screen, [&] { someRows(ws); });
  ASSERT_EQ(ui.shown<ReportWindowRequest>().size(), 1u);
  EXPECT_EQ(ui.shown<ReportWindowRequest>()[0].reportFile, tmp + "$OUT2.TMP");
  EXPECT_FALSE(fileExists(tmp + "$OUT2.TMP"));  // removed once shown
  EXPECT_TRUE(fileExists(tmp + "$OUT1.TMP"));   // the other report's file is untouched

  // Eleven numbers in use: the report cannot start.
  std::vector<ReservedFile> all;
  for (int n = 2; n <= kTempFileTries; ++n) all.push_back(reserveNumberedFile(tmp, "$OUT", ".TMP", n, 1, {}, err));
  OpenReport(ws, ReportDevice::Screen);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ui.messages(MessageKind::Error), std::vector<std::string>{writeFailure("file write error", tmp, EEXIST)});
  held.discard();
  all.clear();
  EXPECT_TRUE(tempFiles().size() == 1u);  // only outwin.txt: every reservation removed its file
}

// Several batch jobs at once in one temporary folder: each holds its own numbered file while
// all are open at the same time, and each result holds only its own rows.
TEST_F(ReportTest, ConcurrentBatchJobsNeverShareATemporaryFile) {
  constexpr int kJobs = 4;
  int ready[2], go[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(go), 0);
  std::vector<pid_t> kids;
  for (int k = 0; k < kJobs; ++k) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(ready[0]);
      ::close(go[1]);
      HeadlessUi batch(HeadlessUi::Mode::Batch);
      Session w(batch);
      w.config.tempDir = tmp;
      w.spring.fileName = dir.file("job" + std::to_string(k));
      SetReportHeader(w.report, "", "", "", "", "", 0);
      OpenReport(w, ReportDevice::Batch);
      const char number = static_cast<char>(w.report.temp.number());
      if (w.abort || ::write(ready[1], &number, 1) != 1) ::_exit(2);
      char c;
      while (::read(go[0], &c, 1) > 0) {
      }
      WritePageHeader(w.report, 0, 0);
      for (int i = 0; i < 300; ++i)
        WriteValueRow(w.report, "job " + std::to_string(k), "row", std::to_string(i), "1.5");
      CloseReport(w);
      ::_exit(w.abort ? 1 : 0);
    }
    kids.push_back(pid);
  }
  ::close(ready[1]);
  ::close(go[0]);
  std::vector<int> numbers;
  char n;
  while (static_cast<int>(numbers.size()) < kJobs && ::read(ready[0], &n, 1) == 1) numbers.push_back(n);
  ::close(go[1]);  // all are open now: let them write
  ::close(ready[0]);
  for (pid_t pid : kids) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  ASSERT_EQ(numbers.size(), static_cast<std::size_t>(kJobs));
  std::sort(numbers.begin(), numbers.end());
  EXPECT_EQ(std::unique(numbers.begin(), numbers.end()), numbers.end()) << "two jobs held one number";
  for (int k = 0; k < kJobs; ++k) {
    const auto lines = linesOf(readFile(dir.file("job" + std::to_string(k) + ".txt")));
    const auto rows =
        std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("job ", 0) == 0; });
    EXPECT_EQ(rows, 300);
    for (const std::string& l : lines)
      if (l.rfind("job ", 0) == 0) {
        EXPECT_EQ(l.substr(0, 5), "job " + std::to_string(k));
      }
  }
  EXPECT_TRUE(tempFiles().empty()) << "temporary files left behind";
}

TEST_F(ReportTest, PrinterPortGetsControlBytesFirstAndAsksBeforeEachPage) {
  const std::string port = dir.file("lp0");
  writeFile(port, "");
  ws.report.portDevice = [&](int n) { return dir.file("lp" + std::to_string(n - 1)); };
  ws.start.startDir = dir.path();
  writeFile(dir.file("TEXT.HXP"), "\x1B(s12H");
  ws.config.linesPerPage = 20;
  ui.script({Answer::Yes(), Answer::Yes(), Answer::Yes()});
  report(ReportDevice::Port, [&] {
    for (int i = 0; i < 15; ++i) WriteTextLine(ws.report, "Zeile " + std::to_string(i));
  });
  EXPECT_FALSE(ws.abort);
  const auto& r = ui.requests();
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].prompt, "Pause nach jeder Seite ?");
  EXPECT_EQ(r[1].prompt, "Blatt in Drucker einlegen.  Fortfahren ?");
  EXPECT_EQ(r[2].prompt, "Blatt in Drucker einlegen.  Fortfahren ?");
  const std::string printed = readFile(port);
  EXPECT_EQ(printed.rfind("\x1B(s12H", 0), 0u);
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\f'), 2);
  EXPECT_EQ(printed.back(), '\f');  // the port gets a bare form feed

  // "No" at a page: the report stops; what is on paper stays, nothing more is written.
  ui.script({Answer::Yes(), Answer::No()});
  report(ReportDevice::Port, [&] {
    for (int i = 0; i < 15; ++i) WriteTextLine(ws.report, "Zeile " + std::to_string(i));
  });
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(readFile(port), "\x1B(s12H");
}

TEST_F(ReportTest, PrinterPortFailuresAreReportedNotCrashed) {
  struct Case {
    std::string device;
    std::string message;
  };
  const Case cases[] = {{"/dev/full", writeFailure("Diskette/Platte voll", "/dev/full", ENOSPC)},
                        {dir.file("no-such-port"), writeFailure("file write error", dir.file("no-such-port"), ENOENT)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.device);
    ui.clearRequests();
    ws.report.portDevice = [&](int) { return c.device; };
    ui.script({Answer::No()});
    report(ReportDevice::Port, [&] {
      for (int i = 0; i < 200; ++i) WriteTextLine(ws.report, "Zeile");
    });
    EXPECT_TRUE(ws.abort);
    EXPECT_EQ(ui.messages(MessageKind::Error), std::vector<std::string>{c.message});
  }
  EXPECT_FALSE(fileExists(dir.file("no-such-port")));
}

TEST_F(ReportTest, FileDeviceWritesTheNamedFileAndItsWindowsCopy) {
  const std::string name = dir.file("bericht");
  const std::string before = ws.spring.dataDir;
  ui.script({Answer::Text(name)});
  report(ReportDevice::File, [&] { someRows(ws); });
  EXPECT_FALSE(ws.abort);
  ASSERT_GE(ui.requests().size(), 2u);
  EXPECT_EQ(ui.requests()[0].kind, Kind::SaveFile);
  EXPECT_EQ(ui.requests()[0].prompt, "*.txt|*.txt");
  EXPECT_EQ(ui.messages(MessageKind::Info),
            std::vector<std::string>{name + ".txt und Windows-Datei outwin.txt wurden angelegt.."});
  const std::string text = readFile(name + ".txt");
  EXPECT_NE(text.find(oem("Windungsradius außen")), std::string::npos);  // code page 850 as written
  EXPECT_NE(readFile(tmp + "outwin.txt")
                .find("Windungsradius au\xDF"
                      "en"),
            std::string::npos);
  for (const std::string& l : linesOf(text)) EXPECT_LE(l.size(), 79u);
  EXPECT_EQ(ws.spring.dataDir, before);
  EXPECT_EQ(ws.spring.fileName, "feder");
  EXPECT_EQ(ws.spring.fileExt, "vlk");

  // The file exists now: "no" keeps it as it was.
  ui.clearRequests();
  ui.script({Answer::Text(name + ".txt"), Answer::No()});
  report(ReportDevice::File, [&] { WriteTextLine(ws.report, "anders"); });
  EXPECT_TRUE(ws.abort);
  ASSERT_EQ(ui.requests().size(), 2u);
  EXPECT_EQ(ui.requests()[1].prompt, name + ".txt existiert bereits.   " + oem("überschreiben") + " ?");
  EXPECT_EQ(readFile(name + ".txt"), text);

  // A full disk when the file is written: message, abort, the previous file untouched, no
  // announcement of a file that was not made.
  ui.clearRequests();
  ws.io.writeFault = [&](std::string_view p) { return p == name + "-aktuell.txt" ? ENOSPC : 0; };
  ui.script({Answer::Text(name + "-aktuell.txt")});
  report(ReportDevice::File, [&] { someRows(ws); });
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ui.messages(MessageKind::Error),
            std::vector<std::string>{writeFailure("Diskette/Platte voll", name + "-aktuell.txt", ENOSPC)});
  EXPECT_TRUE(ui.messages(MessageKind::Info).empty());
  EXPECT_FALSE(fileExists(name + "-aktuell.txt"));
}

TEST_F(ReportTest, DosFileDeviceWritesOutdosAndTurnsErrorMessagesBackOn) {
  ws.errorMessagesEnabled = false;
  const std::string text = dosReport([&] { someRows(ws); });
  EXPECT_TRUE(ws.errorMessagesEnabled);
  EXPECT_NE(text.find(oem("Länge")), std::string::npos);
  EXPECT_NE(readFile(tmp + "outwin.txt").find("L\xE4nge"), std::string::npos);
  EXPECT_EQ(tempFiles(), (std::vector<std::string>{"OUTDOS.TXT", "outwin.txt"}));
}

TEST_F(ReportTest, WindowsPrinterWithoutPrinterSaysSoAndAborts) {
  report(ReportDevice::Printer, [&] { someRows(ws); });
  EXPECT_TRUE(ws.abort);
  const auto& r = ui.requests();
  auto print = std::find_if(r.begin(), r.end(), [](const Request& q) { return q.kind == Kind::Print; });
  ASSERT_NE(print, r.end());
  EXPECT_EQ(print->caption, "$OUT1.TMP");
  EXPECT_EQ(print->index, 1);  // one page
  EXPECT_EQ(ui.messages(MessageKind::Error), std::vector<std::string>{"kein Drucker vorhanden"});
  EXPECT_TRUE(tempFiles().empty());

  ui.clearRequests();
  PrintTextFile(ws, dir.file("fehlt.txt"));
  EXPECT_EQ(ui.messages(MessageKind::Error), std::vector<std::string>{dir.file("fehlt.txt") + " not found !"});
}

TEST_F(ReportTest, TextProgramOpensItsOwnCopyAndMissingProgramsAreNamed) {
  struct Case {
    std::string program;
    std::vector<std::string> argv;  // empty: not started
    std::string error;
  };
  const std::string outwin = tmp + "outwin.txt";
  const Case cases[] = {
      {"true", {"true", outwin}, ""},
      {"'true' --new-window", {"true", "--new-window", outwin}, ""},
      {"C:\\WINDOWS\\WRITE.EXE", {"xdg-open", outwin}, ""},
      {"NOTEPAD.EXE", {"xdg-open", outwin}, ""},
      {"kein-editor-da", {}, "kein-editor-da not found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    launches.clear();
    ui.clearRequests();
    ws.config.textProgram = c.program;
    report(ReportDevice::TextProgram, [&] { someRows(ws); });
    if (c.argv.empty()) {
      EXPECT_TRUE(launches.empty());
      EXPECT_EQ(ui.messages(MessageKind::Error), std::vector<std::string>{c.error});
    } else {
      EXPECT_EQ(launches, std::vector<std::vector<std::string>>{c.argv});
      EXPECT_NE(readFile(outwin).find("L\xE4nge"), std::string::npos);
    }
    EXPECT_FALSE(fileExists(tmp + "$OUT1.TMP"));
  }
}

TEST_F(ReportTest, TabFileIsCopiedToANumberedWindowsFile) {
  for (int run = 1; run <= 2; ++run) {
    report(ReportDevice::Tab, [&] { someRows(ws); });
    EXPECT_FALSE(ws.abort);
    EXPECT_EQ(ws.report.tabCounter, run);
    EXPECT_EQ(ws.report.copyPath, tmp + "$$" + std::to_string(run) + ".txt");
  }
  EXPECT_EQ(tempFiles(), (std::vector<std::string>{"$$1.txt", "$$2.txt"}));
  const auto lines = linesOf(readFile(tmp + "$$2.txt"));
  ASSERT_GE(lines.size(), 9u);
  EXPECT_EQ(lines[0], "VELK - Spiralfedern V3.4\t01.02.2024\t9:05");
  EXPECT_EQ(lines[1], tmp + "$$$2.txt");
  EXPECT_EQ(lines[5], " ");
  // Rules are dropped; the value takes the German decimal comma, the label keeps its point.
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7], "HAUPTABMESSUNGEN");
  EXPECT_EQ(lines[8],
            "Windungsradius au\xDF"
            "en\tre\tmm\t  100,25");
  EXPECT_EQ(lines[9], "L\xE4nge\tL\tmm\xB2\t12,50");
}

// Batch jobs each hold a "$$$" number until their copy is written: more jobs at once than the
// eleven numbers of the report window must still find one.
TEST_F(ReportTest, TabReportFindsANumberWhileManyOthersAreHeld) {
  ws.spring.fileName = dir.file("feder");
  std::vector<ReservedFile> held;
  int err = 0;
  for (int n = 1; n <= 3 * kTempFileTries; ++n) held.push_back(reserveNumberedFile(tmp, "$$$", ".txt", n, 1, {}, err));
  ASSERT_TRUE(held.back().held());
  report(ReportDevice::Batch, [&] { someRows(ws); });
  EXPECT_FALSE(ws.abort);
  EXPECT_NE(readFile(dir.file("feder.txt")).find("HAUPTABMESSUNGEN"), std::string::npos);
  EXPECT_TRUE(ui.messages(MessageKind::Error).empty());
}

TEST_F(ReportTest, BatchDeviceConvertsIntoTheInputFileNameAndReadsAsTabSeparated) {
  ws.spring.fileName = dir.file("feder");
  ws.config.num.spreadsheetDecimal = 1;
  report(ReportDevice::Batch, [&] {
    someRows(ws);
    WriteValueRow(ws.report, "Zitat \"hart\"", "q", "", "1,5");
    WriteTableRow(ws.report, "Tabelle", "T", "Nmm", "1.5", "2,5");
  });
  EXPECT_FALSE(ws.abort);
  EXPECT_TRUE(tempFiles().empty());
  const std::string copy = readFile(dir.file("feder.txt"));
  EXPECT_NE(copy.find("Dichte\trho\tkg/dm^3\t7.85\r\n"), std::string::npos);  // English: "," -> "."
  EXPECT_NE(copy.find("Tabelle\tT\tNmm\t1.5\t2.5\r\n"), std::string::npos);

  const std::string python = pythonWithModules({"csv"});
  if (python.empty()) GTEST_SKIP() << "no python3";
  std::string out;
  ASSERT_EQ(runProcess({python, "-c",
                        "import csv,sys\n"
                        "sys.stdout.reconfigure(encoding='utf-8')\n"
                        "rows=list(csv.reader(open(sys.argv[1],encoding='cp1252',newline=''),delimiter='\\t'))\n"
                        "for r in rows:\n"
                        "  if len(r)>1: print(len(r),'|'.join(r))\n",
                        dir.file("feder.txt")},
                       &out),
            0);
  const auto rows = linesOf(out);
  // The header's first line has three fields; every value row four; the table row five.
  ASSERT_EQ(rows.size(), 6u) << out;
  EXPECT_EQ(rows[0].substr(0, 2), "3 ");
  for (std::size_t i = 1; i <= 4; ++i) EXPECT_EQ(rows[i].substr(0, 2), "4 ") << rows[i];
  EXPECT_EQ(rows[1],
            "4 Windungsradius au\xC3\x9F"
            "en|re|mm|  100.25");
  EXPECT_EQ(rows[4], "4 Zitat \"hart\"|q||1.5");
  EXPECT_EQ(rows[5].substr(0, 2), "5 ");
}

TEST_F(ReportTest, BatchDeviceTransliteratesWithPlainCharacters) {
  ws.spring.fileName = dir.file("plain");
  ws.config.num.plainChars = 1;
  report(ReportDevice::Batch, [&] { someRows(ws); });
  const std::string copy = readFile(dir.file("plain.txt"));
  EXPECT_NE(copy.find("Laenge\tL\tmm2\t12,50"), std::string::npos);
  EXPECT_NE(copy.find("Windungsradius aussen"), std::string::npos);
}

TEST_F(ReportTest, HtmlEscapesEveryTextAndParsesCleanly) {
  ws.config.htmlBrowser = "true";
  AddCalcMessage(ws.messages, "Fehler : rbe<d !");
  AddCalcMessage(ws.messages, "Warnung: a & b");
  writeFile(dir.file("velk.err"), "Fehler : rbe<d !\r\nrb > d <b>fett</b>\r\nd < rb w\xE4hlen\r\n");
  SetReportHeader(ws.report, "Kopf <1>", "Zeile \"2\"", oem("Größe"), "", "", 0);
  OpenReport(ws, ReportDevice::Html, "feder.TXT");
  ASSERT_FALSE(ws.abort);
  WritePageHeader(ws.report, 0, 0);
  WriteSectionTitle(ws.report, "A<B");
  WriteValueRow(ws.report, "Fehler : rbe<d !", "<", "&", "1<2");
  WriteTableRow(ws.report, "x", "y", "z", "1", "2");
  WriteTextLine(ws.report, std::string(300, 'L'));
  WriteRawLine(ws.report, "<script>");
  WriteMessageSection(ws.report, ws.messages);
  WriteMessageList(ws.report, ws.messages);
  EndPage(ws.report);
  CloseReport(ws);
  ASSERT_FALSE(ws.abort);
  const std::string page = tmp + "velk.htm";
  EXPECT_EQ(launches, (std::vector<std::vector<std::string>>{{"true", page}}));
  const std::string html = readFile(page);
  EXPECT_EQ(html.rfind("<!-- " + page + " -->\r\n<HTML>\r\n", 0), 0u);
  EXPECT_NE(html.find("<TR><TD>Fehler : rbe&lt;d !</TD><TD>&lt;</TD><TD>&amp;</TD>"
                      "<TD><DIV ALIGN=RIGHT>1&lt;2</DIV></TD></TR>"),
            std::string::npos);
  EXPECT_NE(html.find("<h5>Gr\xF6\xDF"
                      "e</h5>"),
            std::string::npos);
  // A text of 255 characters or more shows empty on HTML, as the display conversion has it.
  EXPECT_EQ(html.find(std::string(255, 'L')), std::string::npos);
  EXPECT_EQ(html.find("<script>"), std::string::npos);

  const std::string python = pythonWithModules({"html.parser"});
  if (python.empty()) GTEST_SKIP() << "no python3";
  std::string out;
  ASSERT_EQ(
      runProcess({python, "-c",
                  "import sys\n"
                  "sys.stdout.reconfigure(encoding='utf-8')\n"
                  "from html.parser import HTMLParser\n"
                  "VOID={'br','hr','meta'}\n"
                  "class P(HTMLParser):\n"
                  "  def __init__(s):\n"
                  "    super().__init__(); s.stack=[]; s.errors=[]; s.text=[]\n"
                  "  def handle_starttag(s,t,a):\n"
                  "    if t not in VOID: s.stack.append(t)\n"
                  "  def handle_endtag(s,t):\n"
                  "    if not s.stack or s.stack[-1]!=t: s.errors.append('unexpected </'+t+'> in '+repr(s.stack))\n"
                  "    else: s.stack.pop()\n"
                  "  def handle_data(s,d): s.text.append(d)\n"
                  "p=P(); p.feed(open(sys.argv[1],encoding='cp1252').read()); p.close()\n"
                  "if p.stack: p.errors.append('unclosed '+repr(p.stack))\n"
                  "print('ERRORS:'+';'.join(p.errors))\n"
                  "print('TEXT:'+''.join(p.text).replace('\\r','').replace('\\n','|'))\n",
                  page},
                 &out),
      0);
  const auto lines = linesOf(out);
  ASSERT_EQ(lines.size(), 2u) << out;
  EXPECT_EQ(lines[0], "ERRORS:");
  const std::string text = lines[1];
  for (const char* shown : {"Fehler : rbe<d !", "rb > d <b>fett</b>", "Warnung: a & b", "Kopf <1>", "Zeile \"2\"",
                            "A<B", "1<2", "<script>"})
    EXPECT_NE(text.find(shown), std::string::npos) << shown;
}

TEST_F(ReportTest, HtmlInTheTemporaryFolderIsConfirmedBeforeItIsReplaced) {
  ws.config.htmlBrowser = "true";
  report(ReportDevice::Html, [&] { WriteTextLine(ws.report, "erster"); });
  EXPECT_TRUE(ui.requests().empty());
  ui.script({Answer::Yes()});
  report(ReportDevice::Html, [&] { WriteTextLine(ws.report, "zweiter"); });
  ASSERT_EQ(ui.requests().size(), 1u);
  EXPECT_EQ(ui.requests()[0].kind, Kind::Question);
  const std::string html = readFile(tmp + "velk.htm");
  EXPECT_EQ(html.find("erster"), std::string::npos);
  EXPECT_NE(html.find("zweiter"), std::string::npos);

  // No browser: the user names the file; nothing is started.
  launches.clear();
  ws.config.htmlBrowser.clear();
  ui.script({Answer::Text(dir.file("seite"))});
  report(ReportDevice::Html, [&] { WriteTextLine(ws.report, "dritter"); });
  EXPECT_NE(readFile(dir.file("seite.htm")).find("dritter"), std::string::npos);
  EXPECT_TRUE(launches.empty());
}

TEST_F(ReportTest, UnwritableOrFullTemporaryFolderGivesTheMessageAndNoReport) {
  struct Case {
    ReportDevice device;
    int err;
    std::string message;
  };
  const Case cases[] = {
      {ReportDevice::Screen, EACCES, "file write error"},
      {ReportDevice::Screen, ENOSPC, "Diskette/Platte voll"},
      {ReportDevice::Tab, EROFS, "file write error"},
      {ReportDevice::DosFile, ENOSPC, "Diskette/Platte voll"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ReportDeviceCode(c.device));
    ui.clearRequests();
    ws.io.writeFault = [&](std::string_view p) { return p.substr(0, tmp.size()) == tmp ? c.err : 0; };
    report(c.device, [&] { someRows(ws); });
    EXPECT_TRUE(ws.abort);
    // The message's own text, then the file in the temporary folder and the reason.
    const std::vector<std::string> shown = ui.messages(MessageKind::Error);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].substr(0, c.message.size() + 2 + tmp.size()), c.message + ": " + tmp) << shown[0];
    EXPECT_EQ(shown[0].substr(shown[0].rfind(" (")), std::string(" (") + std::strerror(c.err) + ")") << shown[0];
    EXPECT_TRUE(ui.shown<ReportWindowRequest>().empty());
    EXPECT_TRUE(tempFiles().empty());
  }
}

TEST_F(ReportTest, FailedCopyShowsNothingAndAbandonedReportsLeaveNoFiles) {
  // The report is written, but its Windows copy cannot be: no window with an old copy.
  ws.io.writeFault = [&](std::string_view p) { return p == tmp + "outwin.txt" ? ENOSPC : 0; };
  report(ReportDevice::Screen, [&] { someRows(ws); });
  EXPECT_TRUE(ws.abort);
  EXPECT_TRUE(ui.shown<ReportWindowRequest>().empty());
  EXPECT_TRUE(tempFiles().empty());
  ws.io.writeFault = nullptr;

  // A producer that stops on abort does not close; the next report releases the file.
  OpenReport(ws, ReportDevice::Screen);
  WriteTextLine(ws.report, "halb");
  EXPECT_EQ(tempFiles(), std::vector<std::string>{"$OUT1.TMP"});
  ws.abort = true;
  CloseReport(ws);  // closing an aborted report discards it
  EXPECT_TRUE(ui.shown<ReportWindowRequest>().empty());
  EXPECT_TRUE(tempFiles().empty());
}

TEST_F(ReportTest, CodesAboveNineOpenNothing) {
  report(ReportDeviceFromCode(12), [&] { someRows(ws); });
  EXPECT_FALSE(ws.abort);
  EXPECT_TRUE(tempFiles().empty());
  EXPECT_TRUE(ui.requests().empty());
}

}  // namespace
}  // namespace velk::test
