// The spreadsheet link driven like the menu drives it: the workbooks it writes (read by
// python3-openpyxl), the spreadsheet program started through the launcher's hook, the save
// request and the save before an export, the report through the tab-separated destination, the
// file overview, and a workbook read back as the spring.
#include "commands/spreadsheetlink.h"

#include <filesystem>

#include "commands/fileoverview.h"
#include "commands/menucommands.h"
#include "commands/menumodel.h"
#include "commands/springfile.h"
#include "data/inputfile.h"
#include "report/reportfiles.h"
#include "support/fixture.h"
#include "support/run_process.h"

namespace velk::test {
namespace {

const std::string kExamples = std::string(VELK_SOURCE_DATA_DIR) + "/examples/";

// Compares a report workbook with the tab-separated text it came from, row by row: texts equal,
// empty fields empty, numbers numeric with the value and the decimals of the text. Prints the
// number of rows and of number cells, or the first difference (exit code 1).
const char* kCompareReport = R"(
import sys, openpyxl
book, text, comma = sys.argv[1], sys.argv[2], sys.argv[3] == '1'
ws = openpyxl.load_workbook(book).worksheets[0]
lines = open(text, encoding='cp1252', newline='').read().split('\r\n')
if lines and lines[-1] == '': lines.pop()
rows = list(ws.iter_rows())
numbers = 0
def fail(msg):
    print(msg); sys.exit(1)
if ws.max_row != len(lines): fail('rows %d != lines %d' % (ws.max_row, len(lines)))
for i, line in enumerate(lines):
    fields = line.split('\t')
    cells = [c for c in rows[i]] if i < len(rows) else []
    for j, f in enumerate(fields):
        v = cells[j].value if j < len(cells) else None
        if f.strip() == '':
            if v is not None: fail('row %d col %d: %r not empty' % (i + 1, j + 1, v))
            continue
        if isinstance(v, (int, float)):
            numbers += 1
            t = f.strip().replace(',', '.') if comma else f.strip()
            if abs(float(t) - v) > 1e-9 * max(1.0, abs(v)): fail('row %d: %r != %r' % (i + 1, f, v))
            mant = t.split('E')[0].split('e')[0]
            decimals = len(mant.split('.')[1]) if '.' in mant else 0
            fmt = cells[j].number_format
            if decimals != (len(fmt.split('.')[1].split('E')[0]) if '.' in fmt else 0): fail('format %r for %r' % (fmt, f))
        elif v != f:
            fail('row %d col %d: %r != %r' % (i + 1, j + 1, v, f))
    for j in range(len(fields), len(cells)):
        if cells[j].value is not None: fail('row %d: extra cell %d' % (i + 1, j + 1))
print(len(lines), numbers)
)";

// Every cell as row|column|type|value.
const char* kDump = R"(
import sys, openpyxl
sys.stdout.reconfigure(encoding='utf-8')
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
for row in ws.iter_rows():
    for c in row:
        if c.value is not None: print(c.row, c.column, c.data_type, c.value, sep='|')
)";

class SpreadsheetLink : public SessionTest {
 protected:
  SpreadsheetLink() {
    // A program that exists everywhere; the hook records the start instead.
    ws.spreadsheetProgram = "/bin/sh";
    ws.programs.hook = [this](const std::vector<std::string>& argv) {
      started.push_back(argv);
      return startResult;
    };
    python = pythonWithModules({"openpyxl"});
  }
  std::string load(const std::string& example) {
    const std::string path = dir.file(example + ".vlk");
    std::filesystem::copy_file(kExamples + example + ".vlk", path, std::filesystem::copy_options::overwrite_existing);
    ws.spring.fileName = example;
    ws.spring.dataDir = dir.path();
    readInputFile(ws, path);
    EXPECT_FALSE(ws.abort);
    ws.spring.modified = false;
    return path;
  }
  // The workbook the last start opened.
  std::string lastWorkbook() const { return started.empty() ? std::string() : started.back().back(); }
  std::string run(const char* script, const std::vector<std::string>& args) {
    EXPECT_FALSE(python.empty()) << "python3 with openpyxl is required (scripts/setup.sh)";
    std::vector<std::string> argv = {python, "-c", script};
    argv.insert(argv.end(), args.begin(), args.end());
    std::string out;
    EXPECT_EQ(runProcess(argv, &out), 0) << out;
    return out;
  }

  std::vector<std::vector<std::string>> started;
  int startResult = 0;
  std::string python;
};

TEST_F(SpreadsheetLink, StartBeforeTheSpringWasSavedAsksForTheSave) {
  ws.spring.fileName.clear();
  OleStartExcel(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_FALSE(ws.spreadsheetStarted);
  EXPECT_TRUE(started.empty());
  ASSERT_EQ(ui.messages(MessageKind::Info).size(), 1u);
  EXPECT_EQ(u8(ui.messages(MessageKind::Info)[0]),
            "Zuerst müssen Sie Ihre Eingabedaten speichern (Menü \"Datei->Speichern\")");
  EXPECT_FALSE(CurrentMenu(ws).item(MenuId::OleExportExcel).enabled);
  EXPECT_FALSE(CurrentMenu(ws).item(MenuId::OleImportExcel).enabled);
  // Export and import do nothing before a start.
  OleExportExcel(ws);
  OleImportExcel(ws);
  EXPECT_TRUE(started.empty());
}

TEST_F(SpreadsheetLink, StartOpensTheInputFileInColumnA) {
  const std::string path = load("uhrfeder");
  OleStartExcel(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_TRUE(ws.spreadsheetStarted);
  EXPECT_TRUE(CurrentMenu(ws).item(MenuId::OleExportExcel).enabled);
  EXPECT_TRUE(CurrentMenu(ws).item(MenuId::OleImportExcel).enabled);
  ASSERT_EQ(started.size(), 1u);
  ASSERT_EQ(started[0].size(), 2u);
  EXPECT_EQ(started[0][0], "/bin/sh");
  const std::string book = started[0][1];
  EXPECT_EQ(directoryOf(book), withSeparator(ws.tempRoot));
  EXPECT_EQ(lastComponent(book).substr(lastComponent(book).size() - 5), ".xlsx");

  std::string expected;
  const std::vector<std::string> lines = splitLines(readFile(path));
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (!lines[i].empty()) expected += std::to_string(i + 1) + "|1|s|" + cp850ToUtf8(lines[i]) + "\n";
  EXPECT_EQ(run(kDump, {book}), expected);

  // A second start writes a new workbook.
  OleStartExcel(ws);
  ASSERT_EQ(started.size(), 2u);
  EXPECT_NE(started[1][1], book);
}

TEST_F(SpreadsheetLink, NoSpreadsheetProgramSaysSo) {
  load("uhrfeder");
  ws.spreadsheetProgram = "/nonexistent/opener";
  OleStartExcel(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_FALSE(ws.spreadsheetStarted);
  OlePrintoutExcel(ws);
  EXPECT_FALSE(ws.abort);  // the printout leaves the flag alone
  OleExportOverview(ws, {{{}, OverviewHeader()}});
  EXPECT_EQ(ui.messages(MessageKind::Error),
            (std::vector<std::string>{"Excel kann nicht gestartet werden", "Excel kann nicht gestartet werden",
                                      "Could not start Excel"}));
  EXPECT_TRUE(started.empty());
  // A program that is there but does not start.
  ws.spreadsheetProgram = "/bin/sh";
  startResult = ENOEXEC;
  OleStartExcel(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_FALSE(ws.spreadsheetStarted);
  EXPECT_EQ(ui.messages(MessageKind::Error).back(), "Excel kann nicht gestartet werden");
}

TEST_F(SpreadsheetLink, ExportSavesAChangedSpringFirst) {
  const std::string path = load("uhrfeder");
  OleStartExcel(ws);
  ASSERT_TRUE(ws.spreadsheetStarted);
  ws.spring.zeichnr = "4711-neu";
  ws.spring.modified = true;

  // Declining the overwrite question cancels the export.
  ui.script({Answer::No()});
  OleExportExcel(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_TRUE(ws.spring.modified);
  EXPECT_EQ(started.size(), 1u);
  EXPECT_EQ(readFile(path).find("4711-neu"), std::string::npos);

  ui.script({Answer::Yes()});
  OleExportExcel(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_FALSE(ws.spring.modified);
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(readFile(path), inputFileBytes(ws.spring, ws.num()));
  EXPECT_NE(run(kDump, {lastWorkbook()}).find("4711-neu"), std::string::npos);
}

TEST_F(SpreadsheetLink, PrintoutIsTheTabReportWithNumberCells) {
  load("drahtfeder_dynamisch");
  const std::string temp = withSeparator(ws.config.tempDir.empty() ? ws.tempRoot : ws.config.tempDir);
  ws.config.textDevice = ReportDeviceCode(ReportDevice::Screen);
  for (int decimal : {2, 1}) {
    ws.config.num.spreadsheetDecimal = decimal;
    OlePrintoutExcel(ws);
    EXPECT_FALSE(ws.abort);
    EXPECT_EQ(ws.config.textDevice, ReportDeviceCode(ReportDevice::Screen));  // the destination settings are back
    const std::string tab = temp + "$$" + std::to_string(3 - decimal) + ".txt";
    ASSERT_TRUE(fileExists(tab)) << tab;
    ASSERT_EQ(started.size(), static_cast<std::size_t>(3 - decimal));
    EXPECT_EQ(lastComponent(lastWorkbook()), "$$" + std::to_string(3 - decimal) + ".xlsx");
    const std::string counts = run(kCompareReport, {lastWorkbook(), tab, decimal == 2 ? "1" : "0"});
    long long rows = 0, numbers = 0;
    ASSERT_EQ(std::sscanf(counts.c_str(), "%lld %lld", &rows, &numbers), 2) << counts;
    EXPECT_GT(rows, 40) << counts;
    EXPECT_GT(numbers, 30) << counts;
    // The second row names the spring, not the text file in the temporary folder.
    const std::string cells = run(kDump, {lastWorkbook()});
    EXPECT_NE(cells.find("\n2|1|s|drahtfeder_dynamisch.vlk\n"), std::string::npos) << cells.substr(0, 200);
    EXPECT_EQ(cells.find("$$"), std::string::npos) << cells.substr(0, 200);
  }
  // The spring was not touched.
  EXPECT_FALSE(ws.spreadsheetStarted);
  EXPECT_FALSE(ws.spring.modified);
}

TEST_F(SpreadsheetLink, PrintoutOfAFatalCalculationShowsTheMessages) {
  load("uhrfeder");
  ws.messages.fatal = true;
  ui.script({Answer::Cancel()});  // the message window instead of the report
  OlePrintoutExcel(ws);
  EXPECT_TRUE(started.empty());
  ASSERT_FALSE(ui.requests().empty());
  EXPECT_NE(u8(ui.requests().back().caption + ui.requests().back().prompt).find("Berechnungsmodul meldet"),
            std::string::npos);
  EXPECT_EQ(ws.report.tabCounter, 0);
}

TEST_F(SpreadsheetLink, ExportThenImportGivesTheSameInputFile) {
  for (const char* example : {"uhrfeder", "drahtfeder_kugelgestrahlt", "rueckstellfeder"}) {
    const std::string path = load(example);
    const std::string original = inputFileBytes(ws.spring, ws.num());
    OleStartExcel(ws);
    ASSERT_FALSE(ws.abort);
    const std::string book = dir.file(std::string(example) + "-kopie.xlsx");
    std::filesystem::copy_file(lastWorkbook(), book);
    load("grenzfall");  // another spring in between
    ui.script({Answer::Text(book)});
    OleImportExcel(ws);
    EXPECT_FALSE(ws.abort) << example;
    EXPECT_EQ(inputFileBytes(ws.spring, ws.num()), original) << example;
    EXPECT_TRUE(ws.spring.modified);
    EXPECT_EQ(ws.spring.fileName, std::string(example) + "-kopie");
    EXPECT_EQ(ws.spring.dataDir, dir.path());
    (void)path;
  }
}

// A change description on several lines (each line break a "|" before a line feed in the file)
// survives the way through the workbook's cells.
TEST_F(SpreadsheetLink, ExportThenImportKeepsMultiLineDescriptions) {
  const std::string path = load("uhrfeder");
  Documentation& d = ws.spring.doc;
  d.changeCount = 2;
  d.changes[0] = {"A", "01.02.2026", "mk", "erste Zeile\r\nzweite Zeile\r\n"};
  d.changes[1] = {"B", "03.04.2026", "jw", "nur eine"};
  ws.overwritePrompt = false;
  writeInputFile(ws, path);
  ASSERT_FALSE(ws.abort);
  const std::string original = inputFileBytes(ws.spring, ws.num());
  OleStartExcel(ws);
  ASSERT_FALSE(ws.abort);
  const std::string book = dir.file("mehrzeilig.xlsx");
  std::filesystem::copy_file(lastWorkbook(), book);
  load("grenzfall");
  ui.script({Answer::Text(book)});
  OleImportExcel(ws);
  ASSERT_FALSE(ws.abort);
  EXPECT_EQ(ws.spring.doc.changes[0].description, "erste Zeile\r\nzweite Zeile\r\n");
  EXPECT_EQ(inputFileBytes(ws.spring, ws.num()), original);
}

TEST_F(SpreadsheetLink, ImportAsksToSaveFirstAndRefusesABadWorkbook) {
  load("uhrfeder");
  OleStartExcel(ws);
  ws.spring.modified = true;
  const std::string before = inputFileBytes(ws.spring, ws.num());
  // The save prompt, cancelled: nothing is chosen.
  ui.script({Answer::Cancel()});
  OleImportExcel(ws);
  EXPECT_TRUE(ws.abort);
  ASSERT_FALSE(ui.requests().empty());
  EXPECT_EQ(ui.requests().back().kind, Request::Kind::Question);

  const std::string bad = dir.file("kaputt.xlsx");
  writeFile(bad, "PK\3\4 this is no zip");
  ui.script({Answer::No(), Answer::Text(bad)});
  ws.spring.modified = true;
  OleImportExcel(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(u8(ui.messages(MessageKind::Error).back()), bad + " ist keine Arbeitsmappe (.xlsx)");
  EXPECT_EQ(inputFileBytes(ws.spring, ws.num()), before);
}

TEST_F(SpreadsheetLink, AnOpenpyxlWorkbookLoadsTheSameSpring) {
  ASSERT_FALSE(python.empty());
  const std::string path = load("drahtfeder_dynamisch");
  const std::string original = inputFileBytes(ws.spring, ws.num());
  // The input file's lines as strings in column A (openpyxl writes shared strings); empty lines
  // are empty rows, and another column is there too.
  const char* script = R"(
import sys, openpyxl
lines = open(sys.argv[1], encoding='cp850', newline='').read().split('\r\n')
wb = openpyxl.Workbook()
ws = wb.active
for i, line in enumerate(lines):
    if line: ws.cell(row=i + 1, column=1, value=line)
ws.cell(row=1, column=3, value='andere Spalte')
wb.save(sys.argv[2])
)";
  const std::string book = dir.file("openpyxl.xlsx");
  run(script, {path, book});
  load("grenzfall");
  readInputFile(ws, book);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(inputFileBytes(ws.spring, ws.num()), original);
}

TEST_F(SpreadsheetLink, OverviewExportHasEveryCellAndNumbersAsNumbers) {
  load("uhrfeder");
  ws.config.num.decimalComma = 2;
  std::vector<OverviewTableRow> rows = {{{}, OverviewHeader()}};
  rows.push_back({"uhrfeder.vlk",
                  OverviewRow(ws.config.num, "uhrfeder.vlk", 1700000000, ws.spring, {"Federstahl 1.1231", "", true})});
  OleExportOverview(ws, rows);
  ASSERT_EQ(started.size(), 1u);
  const std::string out = run(kDump, {lastWorkbook()});
  // The header row as it is, all text.
  EXPECT_NE(out.find("1|1|s|File\n1|2|s|Date  y/m/d\n1|3|s|No.\n1|4|s|t (d)\n"), std::string::npos) << out;
  EXPECT_NE(out.find("1|30|s|alpha h\n"), std::string::npos) << out;
  EXPECT_NE(out.find("2|1|s|uhrfeder.vlk\n"), std::string::npos) << out;
  EXPECT_NE(out.find("2|18|s|Federstahl 1.1231\n"), std::string::npos) << out;
  // Every filled cell of the number columns is a number.
  for (int column : {4, 6, 7, 8, 9, 15, 19, 21, 27}) {
    const std::string cell = cp850ToUtf8(rows[1].cells[static_cast<std::size_t>(column - 1)]);
    if (trim(cell).empty()) continue;
    const std::string key = "\n2|" + std::to_string(column) + "|n|";
    EXPECT_NE(out.find(key), std::string::npos) << column << " " << cell << "\n" << out;
  }
}

TEST_F(SpreadsheetLink, TheOverviewWindowsExportWritesItsRowsAndShowsItAgain) {
  for (const char* name : {"uhrfeder", "drahtfeder_dynamisch"})
    std::filesystem::copy_file(kExamples + name + ".vlk", dir.file(std::string(name) + ".vlk"));
  ws.spring.dataDir = dir.path();
  ws.spring.modified = false;
  FileOverviewResult exportExcel;
  exportExcel.action = FileOverviewResult::Action::ExportExcel;
  ui.script({Answer::Acting<FileOverviewRequest>([&](const FileOverviewRequest& q) {
               exportExcel.rows = q.rows;
               return exportExcel;
             }),
             Answer::Cancel()});
  FileOpenTable(ws);
  EXPECT_EQ(ui.shown<FileOverviewRequest>().size(), 2u);
  ASSERT_EQ(started.size(), 1u);
  const std::string out = run(kDump, {lastWorkbook()});
  EXPECT_NE(out.find("2|1|s|drahtfeder_dynamisch.vlk\n"), std::string::npos) << out;
  EXPECT_NE(out.find("3|1|s|uhrfeder.vlk\n"), std::string::npos) << out;
  EXPECT_NE(out.find("3|4|n|"), std::string::npos) << out;
}

}  // namespace
}  // namespace velk::test
