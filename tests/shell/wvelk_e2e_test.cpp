// wvelk as a whole process: help text, refusals, exit codes, locale independence.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include "data/inputfile.h"
#include "support/fixture.h"
#include "support/run_process.h"

extern char** environ;

namespace velk::test {
namespace {

struct ProcessResult {
  int exitCode = -1;
  std::string out, err;
};

// Runs wvelk in folder cwd with its output captured in files there.
ProcessResult runWvelk(const std::vector<std::string>& args, const std::string& cwd,
             std::vector<std::string> env = {}) {
  std::vector<std::string> argv = {WVELK_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> cargv;
  for (auto& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  // No display: these runs are the command line's, whatever the machine running the tests has.
  for (char** e = environ; *e; ++e) {
    const std::string_view v(*e);
    if (v.starts_with("DISPLAY=") || v.starts_with("WAYLAND_DISPLAY=") || v.starts_with("QT_QPA_PLATFORM=")) continue;
    env.emplace_back(*e);
  }
  std::vector<char*> cenv;
  for (auto& e : env) cenv.push_back(e.data());
  cenv.push_back(nullptr);

  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addchdir_np(&fa, cwd.c_str());
  posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 1, (cwd + ".stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&fa, 2, (cwd + ".stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  ProcessResult r;
  if (posix_spawn(&pid, argv[0].c_str(), &fa, nullptr, cargv.data(), cenv.data()) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&fa);
  r.out = readFile(cwd + ".stdout");
  r.err = readFile(cwd + ".stderr");
  std::remove((cwd + ".stdout").c_str());
  std::remove((cwd + ".stderr").c_str());
  return r;
}

TEST(Wvelk, HelpTextOnStdout) {
  TempDir dir;
  for (const char* arg : {"?", "/?"}) {
    ProcessResult r = runWvelk({arg}, dir.path());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 23) << r.out;
    EXPECT_EQ(r.out.substr(0, 23), "VELK Command Line Mode\n");
  }
}

TEST(Wvelk, WindowedStartWithoutExtensionIsRefusedOnStderr) {
  TempDir dir;
  ProcessResult r = runWvelk({"test"}, dir.path());
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.err.find("Erweiterung .vlk muß mit angegeben werden"), std::string::npos) << r.err;
}

// Without a display and without a batch job the program says so at once instead of waiting.
const std::string kExamples = std::string(VELK_SOURCE_DATA_DIR) + "/examples/";

TEST(Wvelk, WindowedStartWithoutDisplayEndsWithTwo) {
  TempDir dir;
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("uhr.vlk"));
  for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"uhr.vlk"}, {"uhr.vlk", "/E"}}) {
    ProcessResult r = runWvelk(args, dir.path());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("no display"), std::string::npos) << r.err;
  }
}

// /PDF:j: the page as printed, one page, without a display.
TEST(Wvelk, PdfJobWritesOnePage) {
  TempDir dir;
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("uhr.vlk"));
  for (const char* job : {"/PDF:7", "/PDF:2"}) {
    ProcessResult r = runWvelk({"uhr.vlk", job}, dir.path());
    ASSERT_EQ(r.exitCode, 0) << job << r.err;
    const std::string pdf = readFile(dir.file("uhr.pdf"));
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-") << job;
    std::size_t pages = 0;
    for (std::size_t at = pdf.find("/Type /Page\n"); at != std::string::npos; at = pdf.find("/Type /Page\n", at + 1)) ++pages;
    EXPECT_EQ(pages, 1u) << job;
  }
  EXPECT_EQ(runWvelk({"uhr.vlk", "/PDF:9"}, dir.path()).exitCode, 0);  // nothing to draw, said on stderr
}

TEST(Wvelk, BatchJobs) {
  TempDir dir;
  ProcessResult missing = runWvelk({"fehlt.vlk", "/I", "/NOGUI"}, dir.path());
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("fehlt.vlk nicht gefunden"), std::string::npos) << missing.err;

  // The name without extension is completed in the current folder.
  std::filesystem::copy_file(std::string(VELK_SOURCE_DATA_DIR) + "/null.vlk", dir.file("test.vlk"));
  ProcessResult report = runWvelk({"test", "/I"}, dir.path());
  EXPECT_EQ(report.exitCode, 0) << report.err;
  EXPECT_NE(readFile(dir.file("test.txt")).find("HAUPTABMESSUNGEN"), std::string::npos);

  // CAD: DXF of view 3 and the front view; a device without a writer and a view that does not exist.
  EXPECT_EQ(runWvelk({"test.vlk", "/cad1:3"}, dir.path()).exitCode, 0);
  EXPECT_NE(readFile(dir.file("test.dxf")).find("EOF"), std::string::npos);
  EXPECT_EQ(runWvelk({"test.vlk", "/CAD1:7"}, dir.path()).exitCode, 0);
  EXPECT_NE(readFile(dir.file("test.dxf")).find("LINE"), std::string::npos);
  ProcessResult iges = runWvelk({"test.vlk", "/CAD2:1"}, dir.path());
  EXPECT_EQ(iges.exitCode, 0) << iges.err;
  EXPECT_NE(readFile(dir.file("test.igs")).find("T0000001"), std::string::npos);
  ProcessResult none = runWvelk({"test.vlk", "/CAD1:9"}, dir.path());
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_NE(none.err.find("nothing was drawn"), std::string::npos) << none.err;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) {
    std::string name = e.path().filename().string();
    EXPECT_TRUE(name == "test.vlk" || name == "test.dxf" || name == "test.txt" || name == "test.igs") << name;
  }
}

// /SVG:j replays the screen drawing into an SVG picture; /CAD5:j and /SVG:j never write over
// their input file.
TEST(Wvelk, SvgPicturesAndOutputNamesEqualToTheInput) {
  TempDir dir;
  const std::string examples = std::string(VELK_SOURCE_DATA_DIR) + "/examples/";
  std::filesystem::copy_file(examples + "uhrfeder.vlk", dir.file("uhr.vlk"));
  std::filesystem::copy_file(examples + "drahtfeder_dynamisch.vlk", dir.file("draht.vlk"));
  std::vector<std::string> pictures;
  for (const char* spring : {"uhr", "draht"})
    for (int j = 1; j <= 8; ++j) {
      ProcessResult r = runWvelk({std::string(spring) + ".vlk", "/SVG:" + std::to_string(j), "/NOGUI"}, dir.path());
      ASSERT_EQ(r.exitCode, 0) << spring << " " << j << ": " << r.err;
      const std::string name = dir.file(std::string(spring) + std::to_string(j) + ".svg");
      std::filesystem::rename(dir.file(std::string(spring) + ".svg"), name);
      pictures.push_back(name);
    }
  // Every picture parses as XML, is an SVG of the window's size and holds a drawing.
  const std::string python = pythonWithModules({});
  constexpr const char* kCheck = R"(
import sys, xml.etree.ElementTree as ET
for name in sys.argv[1:]:
    root = ET.parse(name).getroot()
    n = sum(1 for e in root.iter() if e.tag.split('}')[1] in ('line', 'path', 'ellipse', 'polygon'))
    t = sum(1 for e in root.iter() if e.tag.endswith('text'))
    print(root.tag.endswith('svg'), int(root.get('width')) > 100, n >= 4, t > 0)
)";
  std::vector<std::string> argv = {python, "-c", kCheck};
  argv.insert(argv.end(), pictures.begin(), pictures.end());
  std::string out;
  ASSERT_EQ(velk::test::runProcess(argv, &out), 0);
  std::string want;
  for (std::size_t i = 0; i < pictures.size(); ++i) want += "True True True True\n";
  EXPECT_EQ(out, want);

  ProcessResult none = runWvelk({"uhr.vlk", "/SVG:0"}, dir.path());
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_NE(none.err.find("nothing was drawn"), std::string::npos);

  std::filesystem::copy_file(dir.file("uhr.vlk"), dir.file("x.txt"));
  std::filesystem::copy_file(dir.file("uhr.vlk"), dir.file("y.svg"));
  const std::string before = readFile(dir.file("x.txt"));
  for (const auto& args : std::vector<std::vector<std::string>>{{"x.txt", "/CAD5:1"}, {"x.txt", "/I"}, {"y.svg", "/SVG:1"}}) {
    ProcessResult r = runWvelk(args, dir.path());
    EXPECT_EQ(r.exitCode, 2) << args[1];
    EXPECT_NE(r.err.find("overwrite the input"), std::string::npos) << r.err;
  }
  EXPECT_EQ(readFile(dir.file("x.txt")), before);
  EXPECT_EQ(readFile(dir.file("y.svg")), before);
  // The tab drawing file of another input is written.
  EXPECT_EQ(runWvelk({"uhr.vlk", "/CAD5:7"}, dir.path()).exitCode, 0);
  EXPECT_TRUE(fileExists(dir.file("uhr.txt")));
}

TEST(Wvelk, ConfigurationFolderIsTheWorkingFolder) {
  TempDir dir;
  TempDir home;
  ProcessResult r = runWvelk({"?"}, dir.path(), {"XDG_CONFIG_HOME=" + home.path()});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_FALSE(fileExists(dir.file("velk.cfg"))) << "a start never writes the configuration";
}

TEST(Wvelk, OutputDoesNotDependOnTheLocale) {
  TempDir dir;
  ProcessResult c = runWvelk({"?"}, dir.path(), {"LC_ALL=C"});
  ProcessResult de = runWvelk({"?"}, dir.path(), {"LC_ALL=de_DE.UTF-8"});
  EXPECT_EQ(c.out, de.out);
  EXPECT_EQ(c.exitCode, de.exitCode);
}

}  // namespace
}  // namespace velk::test
