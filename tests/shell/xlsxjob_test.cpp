// The /XLSX batch job and workbooks as the input file of any batch job, run as wvelk processes.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>

#include "commands/springfile.h"
#include "support/fixture.h"
#include "support/run_process.h"

namespace velk::test {
namespace {

struct Result {
  int exitCode = -1;
  std::string err;
};

// Runs wvelk in folder cwd (no display), standard error collected.
Result wvelk(const std::vector<std::string>& args, const std::string& cwd) {
  std::vector<std::string> argv = {WVELK_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> cargv;
  for (auto& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string_view v(*e);
    if (v.starts_with("DISPLAY=") || v.starts_with("WAYLAND_DISPLAY=") || v.starts_with("QT_QPA_PLATFORM=")) continue;
    env.emplace_back(*e);
  }
  std::vector<char*> cenv;
  for (auto& e : env) cenv.push_back(e.data());
  cenv.push_back(nullptr);
  const std::string errFile = cwd + ".stderr";
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addchdir_np(&fa, cwd.c_str());
  posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  Result r;
  if (posix_spawn(&pid, argv[0].c_str(), &fa, nullptr, cargv.data(), cenv.data()) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&fa);
  r.err = readFile(errFile);
  std::remove(errFile.c_str());
  return r;
}

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
  Result r = wvelk({"uhr.vlk", "/XLSX"}, dir.path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_TRUE(fileExists(dir.file("uhr.xlsx")));
  ASSERT_EQ(wvelk({"uhr.vlk", "/I"}, dir.path()).exitCode, 0);
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
  ASSERT_EQ(wvelk({"feder.vlk", "/I"}, dir.path()).exitCode, 0);
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
  r = wvelk({"feder.xlsx", "/I"}, dir.path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(readFile(dir.file("feder.txt")), report);

  // The output would be the input; an unreadable workbook; a fatal spring.
  r = wvelk({"feder.xlsx", "/XLSX"}, dir.path());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("overwrite the input"), std::string::npos) << r.err;
  writeFile(dir.file("kaputt.xlsx"), "PK\3\4 kaputt");
  r = wvelk({"kaputt.xlsx", "/XLSX"}, dir.path());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("kaputt.xlsx ist keine Arbeitsmappe (.xlsx)"), std::string::npos) << r.err;
  EXPECT_EQ(wvelk({"fehlt.vlk", "/XLSX"}, dir.path()).exitCode, 1);
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
  const Result r = wvelk({"kaputt.vlk", "/XLSX"}, dir.path());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("Fatal  : n = 0 !"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("kaputt.xlsx was not written"), std::string::npos) << r.err;
  EXPECT_FALSE(fileExists(dir.file("kaputt.xlsx")));
}

}  // namespace
}  // namespace velk::test
