// The /XLSX batch job and workbooks as the input file of any batch job, run as wvelk processes.

#include <filesystem>

#include "commands/springfile.h"
#include "support/fixture.h"
#include "support/run_process.h"
#include "support/run_wvelk.h"

namespace velk::test {
namespace {

// Rows of the workbook, the number cells among them, and the rows of the text report.
const char* kCount = R"(
import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
numbers = sum(1 for row in ws.iter_rows() for c in row if c.data_type == 'n' and c.value is not None)
texts = [c.value for row in ws.iter_rows() for c in row if c.data_type == 's']
lines = open(sys.argv[2], encoding='cp1252', newline='').read().split('\r\n')
if lines and lines[-1] == '': lines.pop()
print(ws.max_row, numbers, len(lines), 'HAUPTABMESSUNGEN' in texts)
)";

TEST(XlsxJob, WritesTheReportWorkbookBesideTheCaller) {
  const std::string python = pythonWithModules({"openpyxl"});
  ASSERT_FALSE(python.empty()) << "python3 with openpyxl is required (scripts/setup.sh)";
  TempDir dir;
  std::filesystem::copy_file(std::string(VELK_SOURCE_DATA_DIR) + "/examples/uhrfeder.vlk", dir.file("uhr.vlk"));
  ProcessResult r = runWvelk({"uhr.vlk", "/XLSX"}, dir.path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_TRUE(fileExists(dir.file("uhr.xlsx")));
  ASSERT_EQ(runWvelk({"uhr.vlk", "/I"}, dir.path()).exitCode, 0);
  std::string out;
  ASSERT_EQ(runProcess({python, "-c", kCount, dir.file("uhr.xlsx"), dir.file("uhr.txt")}, &out), 0) << out;
  long long rows = 0, numbers = 0, lines = 0;
  char found[8] = {};
  ASSERT_EQ(std::sscanf(out.c_str(), "%lld %lld %lld %7s", &rows, &numbers, &lines, found), 4) << out;
  EXPECT_EQ(rows, lines);
  EXPECT_GT(numbers, 30);
  EXPECT_STREQ(found, "True");

  // A workbook is an input file for every job: the report from it is the same report (the
  // header names the output file, so the reference is written under the same name).
  std::filesystem::rename(dir.file("uhr.xlsx"), dir.file("kopie.xlsx"));
  std::filesystem::copy_file(dir.file("uhr.vlk"), dir.file("feder.vlk"));
  ASSERT_EQ(runWvelk({"feder.vlk", "/I"}, dir.path()).exitCode, 0);
  const std::string report = readFile(dir.file("feder.txt"));
  std::filesystem::remove(dir.file("feder.txt"));
  std::filesystem::remove(dir.file("feder.vlk"));
  // The spring's lines in column A, as the spreadsheet link writes them.
  ASSERT_EQ(runProcess({python, "-c",
                        "import sys, openpyxl\n"
                        "lines = open(sys.argv[1], encoding='cp850', newline='').read().split('\\r\\n')\n"
                        "wb = openpyxl.Workbook()\n"
                        "for i, l in enumerate(lines):\n"
                        "    if l: wb.active.cell(row=i + 1, column=1, value=l)\n"
                        "wb.save(sys.argv[2])\n",
                        dir.file("uhr.vlk"), dir.file("feder.xlsx")}),
            0);
  r = runWvelk({"feder.xlsx", "/I"}, dir.path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(readFile(dir.file("feder.txt")), report);

  // The output would be the input; an unreadable workbook; a fatal spring.
  r = runWvelk({"feder.xlsx", "/XLSX"}, dir.path());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("overwrite the input"), std::string::npos) << r.err;
  writeFile(dir.file("kaputt.xlsx"), "PK\3\4 kaputt");
  r = runWvelk({"kaputt.xlsx", "/XLSX"}, dir.path());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("kaputt.xlsx ist keine Arbeitsmappe (.xlsx)"), std::string::npos) << r.err;
  EXPECT_EQ(runWvelk({"fehlt.vlk", "/XLSX"}, dir.path()).exitCode, 1);
  EXPECT_FALSE(fileExists(dir.file("kaputt.xlsx.xlsx")));
}

TEST(XlsxJob, AFatalSpringWritesNoWorkbook) {
  TempDir dir;
  ScriptedUi ui;
  Session ws(ui);
  ws.spring.n0 = 0;  // no turns: fatal
  ws.overwritePrompt = false;
  writeInputFile(ws, dir.file("kaputt.vlk"));
  ASSERT_FALSE(ws.abort);
  const ProcessResult r = runWvelk({"kaputt.vlk", "/XLSX"}, dir.path());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("Fatal  : n = 0 !"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("kaputt.xlsx was not written"), std::string::npos) << r.err;
  EXPECT_FALSE(fileExists(dir.file("kaputt.xlsx")));
}

// The report workbook names itself in its second row, the same in every run; given back as an
// input file it is refused as no spring file, and nothing is calculated or written.
TEST(XlsxJob, TheReportNamesTheWorkbookAndIsNoInputFile) {
  const std::string python = pythonWithModules({"openpyxl"});
  ASSERT_FALSE(python.empty()) << "python3 with openpyxl is required (scripts/setup.sh)";
  TempDir dir;
  std::filesystem::copy_file(std::string(VELK_SOURCE_DATA_DIR) + "/examples/uhrfeder.vlk", dir.file("uhr.vlk"));
  const char* secondRow = R"(
import sys, openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
print(ws.cell(row=2, column=1).value)
)";
  for (int run = 0; run < 2; ++run) {
    const ProcessResult r = runWvelk({"uhr.vlk", "/XLSX"}, dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string out;
    ASSERT_EQ(runProcess({python, "-c", secondRow, dir.file("uhr.xlsx")}, &out), 0) << out;
    EXPECT_EQ(out, "uhr.xlsx\n");
  }
  std::filesystem::rename(dir.file("uhr.xlsx"), dir.file("bericht.xlsx"));
  for (const char* job : {"/I", "/JSON", "/XLSX"}) {
    const ProcessResult r = runWvelk({"bericht.xlsx", job}, dir.path());
    EXPECT_EQ(r.exitCode, 1) << job;
    EXPECT_NE(r.err.find("bericht.xlsx ist keine Federdatei (Zeile 12 keine Zahl) !"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("keine Zahl:"), std::string::npos) << "nothing read line by line\n" << r.err;
  }
  for (const char* name : {"bericht.txt", "bericht.json", "bericht.xlsx.xlsx"})
    EXPECT_FALSE(fileExists(dir.file(name))) << name;
}

}  // namespace
}  // namespace velk::test
