// The calculation report: standard output and excerpt of the shipped examples on the text, tab
// and HTML devices against reviewed expected files, the rows' conditions, independent readers
// of the tab and HTML forms, and the /I batch job as a process.
#include "report/calcreport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "base/codepage.h"
#include "commands/springfile.h"
#include "data/inputfile.h"
#include "report/report_fixture.h"
#include "reportui/reportservice.h"
#include "support/run_process.h"

namespace velk::test {
namespace {

const std::string kExamples = std::string(VELK_SOURCE_DATA_DIR) + "/examples/";
const std::string kGolden = std::string(VELK_TEST_DATA_DIR) + "/../report/golden/";
const char* const kExampleNames[] = {"uhrfeder", "rueckstellfeder", "drahtfeder_dynamisch", "drahtfeder_kugelgestrahlt",
                                     "grenzfall"};

std::string replaceAll(std::string s, const std::string& from, const std::string& to) {
  if (from.empty()) return s;
  for (std::size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size()))
    s.replace(p, from.size(), to);
  return s;
}

// Compares with the expected file; VELK_BLESS=1 rewrites it (review the change in git diff).
void expectGolden(const std::string& name, const std::string& text) {
  const std::string path = kGolden + name;
  if (const char* bless = std::getenv("VELK_BLESS"); bless && std::string(bless) == "1") {
    std::ofstream(path, std::ios::binary) << text;
    return;
  }
  EXPECT_EQ(readFile(path), text) << "run with VELK_BLESS=1 to regenerate " << path;
}

class CalcReportTest : public ReportTest {
 protected:
  // A browser that exists everywhere; the launcher hook starts nothing.
  // The shipped explanation file gives the messages their causes and remedies.
  CalcReportTest() {
    ws.config.htmlBrowser = "true";
    ws.config.pltDir = std::string(VELK_SOURCE_DATA_DIR) + "/";
  }

  void load(const std::string& example) {
    readInputFile(ws, kExamples + example + ".vlk");
    ASSERT_FALSE(ws.abort) << example;
    ws.spring.fileName = example;
    // The page header names the input file's folder; a fixed one keeps the framed line's padding.
    ws.spring.dataDir = "/daten/federn/";
  }

  // Runs a layout on a device and returns what the user receives, as UTF-8 with the temporary
  // folder masked: the DOS file (8), the Windows copy of the tab file (6), the HTML page (7).
  std::string produce(ReportDevice device, bool excerpt) {
    ws.config.textDevice = ReportDeviceCode(device);
    ws.config.textDeviceAsk = false;
    ws.abort = false;
    // The page of the previous report would be confirmed before it is replaced.
    std::filesystem::remove(tmp + ws.start.shortName + ".htm");
    excerpt ? WriteExcerptReport(ws) : WriteStandardReport(ws);
    EXPECT_FALSE(ws.abort);
    std::string text;
    if (device == ReportDevice::DosFile)
      text = cp850ToUtf8(readFile(tmp + "OUTDOS.TXT"));
    else if (device == ReportDevice::Tab)
      text = win1252ToUtf8(readFile(ws.report.copyPath));
    else if (device == ReportDevice::Html)
      text = win1252ToUtf8(readFile(tmp + ws.start.shortName + ".htm"));
    return replaceAll(replaceAll(text, tmp, "<TMP>/"), dir.path(), "<DIR>/");
  }

  std::vector<std::string> dosLines(bool excerpt = false) { return linesOf(produce(ReportDevice::DosFile, excerpt)); }
  bool hasLine(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& l : lines)
      if (body(l).rfind(start, 0) == 0) return true;
    return false;
  }
};

TEST_F(CalcReportTest, ShippedExamplesMatchTheReviewedReports) {
  const struct {
    ReportDevice device;
    const char* ext;
  } devices[] = {{ReportDevice::DosFile, "txt"}, {ReportDevice::Tab, "tab"}, {ReportDevice::Html, "htm"}};
  for (const char* example : kExampleNames) {
    load(example);
    for (const auto& d : devices)
      for (bool excerpt : {false, true})
        expectGolden(std::string(example) + (excerpt ? ".excerpt." : ".standard.") + d.ext, produce(d.device, excerpt));
  }
  // Imperial units: lengths in inches with 4 decimals, stresses in psi, moments still in Nmm.
  ws.config.num.units = 1;
  load("drahtfeder_dynamisch");
  expectGolden("drahtfeder_dynamisch.imperial.txt", produce(ReportDevice::DosFile, false));
  expectGolden("drahtfeder_dynamisch.imperial-excerpt.txt", produce(ReportDevice::DosFile, true));
}

TEST_F(CalcReportTest, RowsFollowTheSpring) {
  load("uhrfeder");  // flat strip
  auto lines = dosLines();
  EXPECT_TRUE(hasLine(lines, "Band Breite"));
  EXPECT_FALSE(hasLine(lines, "Drahtdurchmesser"));
  EXPECT_TRUE(hasLine(dosLines(true), "t = "));

  load("drahtfeder_dynamisch");  // round wire, both ends clamped
  lines = dosLines();
  EXPECT_TRUE(hasLine(lines, "Drahtdurchmesser"));
  EXPECT_FALSE(hasLine(lines, "Band Breite"));
  EXPECT_FALSE(hasLine(lines, u8("Band H\x94he")));
  EXPECT_FALSE(hasLine(lines, u8("L\x84nge Federende")));
  EXPECT_TRUE(hasLine(dosLines(true), "d = "));

  // The two masses on either side of 100 g; no permissible stroke row when sighz is 0.
  ws.spring.m = 12.3L;
  ws.spring.sighz = 0;
  lines = dosLines();
  EXPECT_FALSE(hasLine(lines, "Zul. Hubspannung"));
  bool found = false;
  for (const std::string& l : lines)
    if (body(l).rfind(u8("Gewicht/100 St\x81") + "ck", 0) == 0) {
      found = true;
      EXPECT_NE(l.find("g/100"), std::string::npos);
      EXPECT_EQ(trim(l.substr(7 + 55)), "1230") << l;
    }
  EXPECT_TRUE(found);
  ws.spring.m = 150;
  EXPECT_TRUE(hasLine(dosLines(), "Gewicht der Feder"));
}

TEST_F(CalcReportTest, LifetimeSection) {
  load("drahtfeder_dynamisch");  // dynamic, not fatigue-proof
  auto lines = dosLines();
  EXPECT_TRUE(hasLine(lines, "Lebensdauer (f=5Hz)"));
  EXPECT_TRUE(hasLine(lines, "Lebensdauer min/max"));
  EXPECT_TRUE(hasLine(lines, "Toleranz Dauerfestigkeit"));

  // No frequency: the cycles stay, the hours go (no division by zero, no "inf").
  for (Real f : {0.0L, -1.0L}) {
    ws.spring.freq = f;
    lines = dosLines();
    EXPECT_TRUE(hasLine(lines, "Lastspiele bis Bruch"));
    EXPECT_FALSE(hasLine(lines, "Lebensdauer"));
    for (const std::string& l : lines) EXPECT_EQ(l.find("inf"), std::string::npos) << l;
  }

  // Fatigue-proof: " > 10 Mio." and "dauerfest"; with cyclesMin below 10 million the ranges.
  ws.spring.freq = 5;
  ws.spring.fatigueRatio = 1;
  ws.spring.cyclesN = 1e7L;
  ws.spring.cyclesMin = 8e6L;
  ws.spring.cyclesMax = 1.2e7L;
  lines = dosLines();
  bool n = false, t = false;
  for (const std::string& l : lines) {
    if (body(l).rfind("Lastspiele bis Bruch  ", 0) == 0) n = l.find("> 10 Mio.") != std::string::npos;
    if (body(l).rfind("Lebensdauer  ", 0) == 0) t = l.find("dauerfest") != std::string::npos;
  }
  EXPECT_TRUE(n);
  EXPECT_TRUE(t);
  EXPECT_TRUE(hasLine(lines, "Lebensdauer min/max"));

  // Static loading and a material without fatigue values: no lifetime rows at all.
  ws.spring.statdyn = 1;
  EXPECT_FALSE(hasLine(dosLines(), "Lastspiele"));
  ws.spring.statdyn = 2;
  ws.spring.strokePerm = 0;
  EXPECT_FALSE(hasLine(dosLines(), "Lastspiele"));
}

TEST_F(CalcReportTest, FatalCalculationWritesNoReportAndShowsTheMessages) {
  load("uhrfeder");
  ws.messages.fatal = true;
  ws.config.textDevice = ReportDeviceCode(ReportDevice::DosFile);
  ws.config.helpLevel = 0;
  ui.script({Answer::Cancel()});  // the message window's choice
  WriteStandardReport(ws);
  EXPECT_FALSE(std::filesystem::exists(tmp + "OUTDOS.TXT"));
  ASSERT_FALSE(ui.requests().empty());
  EXPECT_EQ(ui.requests().back().prompt.rfind("Berechnungsmodul meldet", 0), 0u);
}

TEST_F(CalcReportTest, HtmlShowsEveryTextAsItReads) {
  load("grenzfall");
  AddCalcMessage(ws.messages, "Fehler : rbe<d !");
  ws.spring.zeichname = "A&B <Feder>";
  for (bool excerpt : {false, true}) {
    const std::string page = produce(ReportDevice::Html, excerpt);
    EXPECT_NE(page.find("rbe&lt;d"), std::string::npos);
    EXPECT_EQ(page.find("rbe<d"), std::string::npos);
    EXPECT_NE(page.find("A&amp;B &lt;Feder&gt;"), std::string::npos);
  }
}

// Reads the reports of all examples with Python's own parsers: HTML well-formed with the value
// table's rows; tab-separated value rows of exactly four fields.
TEST_F(CalcReportTest, IndependentReadersAcceptTheReports) {
  const std::string python = pythonWithModules({});
  ASSERT_FALSE(python.empty());
  std::vector<std::string> htmlFiles, tabFiles;
  for (const char* example : kExampleNames) {
    load(example);
    for (bool excerpt : {false, true}) {
      const std::string h = dir.file(std::string(example) + (excerpt ? "-e" : "") + ".htm");
      const std::string t = dir.file(std::string(example) + (excerpt ? "-e" : "") + ".tab");
      std::ofstream(h, std::ios::binary) << produce(ReportDevice::Html, excerpt);
      std::ofstream(t, std::ios::binary) << produce(ReportDevice::Tab, excerpt);
      if (!excerpt) {
        htmlFiles.push_back(h);
        tabFiles.push_back(t);
      }
    }
  }
  constexpr const char* kCheck = R"(
import csv, sys
from html.parser import HTMLParser
class P(HTMLParser):
    def __init__(self):
        super().__init__(); self.stack = []; self.rows = []; self.cells = None; self.errors = 0
    def handle_starttag(self, tag, attrs):
        if tag in ('table', 'tr', 'td'): self.stack.append(tag)
        if tag == 'tr': self.cells = []
        if tag == 'td': self.cells.append('')
    def handle_endtag(self, tag):
        if tag in ('table', 'tr', 'td'):
            if not self.stack or self.stack[-1] != tag: self.errors += 1
            else: self.stack.pop()
        if tag == 'tr' and self.cells is not None: self.rows.append(self.cells); self.cells = None
    def handle_data(self, data):
        if self.cells: self.cells[-1] += data
n = int(sys.argv[1])
for name in sys.argv[2:2 + n]:
    p = P(); p.feed(open(name, encoding='utf-8').read()); p.close()
    four = [r for r in p.rows if len(r) == 4]
    labels = [r[0].strip() for r in four]
    print('html', p.errors, len(p.stack), 'ri' in [r[1].strip() for r in four], 'Hubspannung' in labels)
for name in sys.argv[2 + n:]:
    rows = list(csv.reader(open(name, encoding='utf-8', newline=''), delimiter='\t'))
    value = [r for r in rows if len(r) >= 2 and r[1] in ('ri', 're', 'n0', 'sigma1', 'sigmah', 'kb', 'Lw')]
    print('tab', len(value), all(len(r) == 4 for r in value))
)";
  std::vector<std::string> argv = {python, "-c", kCheck, std::to_string(htmlFiles.size())};
  argv.insert(argv.end(), htmlFiles.begin(), htmlFiles.end());
  argv.insert(argv.end(), tabFiles.begin(), tabFiles.end());
  std::string out;
  ASSERT_EQ(runProcess(argv, &out), 0);
  std::string want;
  for (std::size_t i = 0; i < htmlFiles.size(); ++i) want += "html 0 0 True True\n";
  for (std::size_t i = 0; i < tabFiles.size(); ++i) want += "tab 7 True\n";
  EXPECT_EQ(out, want);
}

TEST_F(CalcReportTest, FramedLinesFitSeventyNineColumnsOnEveryTextDevice) {
  ws.config.textDeviceAsk = false;
  for (const char* example : kExampleNames) {
    load(example);
    ws.spring.zeichname = std::string(40, 'Z');
    ws.spring.zeichnr = std::string(30, 'N');
    ws.materials.wire.name1 = std::string(60, 'W');
    ws.materials.wire.name2 = std::string(60, 'X');
    ws.materials.strip.name1 = std::string(60, 'S');
    for (bool excerpt : {false, true}) {
      for (ReportDevice device : {ReportDevice::Screen, ReportDevice::File, ReportDevice::DosFile}) {
        ws.config.textDevice = ReportDeviceCode(device);
        if (device == ReportDevice::File) {
          std::filesystem::remove(dir.file("bericht.txt"));
          ui.script({Answer::Text(dir.file("bericht.txt"))});
        }
        ws.abort = false;
        ui.clearShown();
        excerpt ? WriteExcerptReport(ws) : WriteStandardReport(ws);
        ASSERT_FALSE(ws.abort) << example << " device " << ReportDeviceCode(device);
        std::vector<std::string> lines;
        if (device == ReportDevice::Screen) {
          ASSERT_EQ(ui.shown<ReportWindowRequest>().size(), 1u);
          lines = ui.shown<ReportWindowRequest>()[0].lines;
        } else {
          lines = linesOf(readFile(device == ReportDevice::File ? dir.file("bericht.txt") : tmp + "OUTDOS.TXT"));
        }
        EXPECT_GT(lines.size(), 20u);
        for (const std::string& l : lines)
          EXPECT_LE(l.size(), 79u) << example << " device " << ReportDeviceCode(device) << ": " << l;
      }
    }
  }
}

// ---- the /I batch job as a process ----

// Runs wvelk with the arguments in a folder through Python (which sets the working folder);
// several jobs at once when jobs > 1. Prints each job's exit code; stderr goes to err<k>.txt.
constexpr const char* kRunJobs = R"(
import subprocess, sys
wvelk, cwd, jobs = sys.argv[1], sys.argv[2], sys.argv[3:]
procs = []
for k, job in enumerate(jobs):
    err = open('%s/err%d.txt' % (cwd, k), 'w')
    procs.append(subprocess.Popen([wvelk] + job.split('|'), cwd=cwd, stderr=err))
for p in procs: print(p.wait())
)";

std::string runJobs(const std::string& folder, const std::vector<std::string>& jobs) {
  const std::string python = pythonWithModules({});
  std::vector<std::string> argv = {python, "-c", kRunJobs, WVELK_PATH, folder};
  argv.insert(argv.end(), jobs.begin(), jobs.end());
  std::string out;
  EXPECT_EQ(runProcess(argv, &out), 0);
  return out;
}

TEST(TextReportJob, WritesTheTabReportIntoTheWorkingFolder) {
  TempDir dir;
  const std::string input = dir.file("feder.vlk");
  std::filesystem::copy_file(kExamples + "drahtfeder_dynamisch.vlk", input);
  EXPECT_EQ(runJobs(dir.path(), {input + "|/I|/NOGUI"}), "0\n") << readFile(dir.file("err0.txt"));
  const std::string text = readFile(dir.file("feder.txt"));
  EXPECT_NE(text.find("Windungsradius innen\tri\tmm\t10\r\n"), std::string::npos);
  EXPECT_NE(text.find("Windungsradius au\xDF"
                      "en\tre\tmm\t60\r\n"),
            std::string::npos)
      << "Windows code page";
  EXPECT_EQ(readFile(input), readFile(kExamples + "drahtfeder_dynamisch.vlk"));

  // Unreadable input: 1, nothing written.
  EXPECT_EQ(runJobs(dir.path(), {"fehlt.vlk|/I|/NOGUI"}), "1\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("fehlt.txt")));

  // A fatal calculation: no file, the messages on stderr, 2 (with and without /NOGUI).
  {
    ScriptedUi ui;
    Session ws(ui);
    ws.spring.n0 = 0;
    ws.overwritePrompt = false;
    writeInputFile(ws, dir.file("kaputt.vlk"));
  }
  EXPECT_EQ(runJobs(dir.path(), {"kaputt.vlk|/I|/NOGUI", "kaputt.vlk|/i"}), "2\n2\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("kaputt.txt")));
  EXPECT_NE(readFile(dir.file("err0.txt")).find("Fatal  : n = 0 !"), std::string::npos);

  // The output would be the input itself: refused, the input untouched.
  std::filesystem::copy_file(input, dir.file("spring.txt"));
  EXPECT_EQ(runJobs(dir.path(), {"spring.txt|/I|/NOGUI"}), "2\n");
  EXPECT_EQ(readFile(dir.file("spring.txt")), readFile(input));
  EXPECT_NE(readFile(dir.file("err0.txt")).find("overwrite the input"), std::string::npos);
}

// Jobs running at once share the temporary folder: each reserves its own numbered file, so
// every report holds its own spring.
TEST(TextReportJob, JobsRunningAtOnceNeverShareATemporaryFile) {
  TempDir dir;
  std::vector<std::string> jobs;
  for (int copy = 0; copy < 3; ++copy)
    for (const char* example : kExampleNames) {
      const std::string name = std::string(example) + std::to_string(copy);
      std::filesystem::copy_file(kExamples + example + ".vlk", dir.file(name + ".vlk"));
      jobs.push_back(name + ".vlk|/I|/NOGUI");
    }
  std::string want;
  for (std::size_t i = 0; i < jobs.size(); ++i) want += "0\n";
  if (runJobs(dir.path(), jobs) != want) {
    for (std::size_t k = 0; k < jobs.size(); ++k)
      ADD_FAILURE() << jobs[k] << ": " << readFile(dir.file("err" + std::to_string(k) + ".txt"));
  }
  for (int copy = 0; copy < 3; ++copy)
    for (const char* example : kExampleNames) {
      const std::string name = std::string(example) + std::to_string(copy);
      ScriptedUi ui;
      Session ws(ui);
      readInputFile(ws, dir.file(name + ".vlk"));
      const std::string text = readFile(dir.file(name + ".txt"));
      EXPECT_NE(text.find(cp850ToWin1252(ws.spring.zeichname)), std::string::npos) << name;
      EXPECT_NE(text.find("KENNWERTE UND HERSTELLDATEN"), std::string::npos) << name;
      EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 0);
      EXPECT_EQ(text.find("HAUPTABMESSUNGEN"), text.rfind("HAUPTABMESSUNGEN")) << name << ": one report only";
    }
}

}  // namespace
}  // namespace velk::test
