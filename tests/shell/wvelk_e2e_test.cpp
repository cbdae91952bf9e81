// wvelk as a whole process: help text, refusals, exit codes, locale independence.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include "data/inputfile.h"
#include "support/fixture.h"

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
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
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
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 22) << r.out;
    EXPECT_EQ(r.out.substr(0, 23), "VELK Command Line Mode\n");
  }
}

TEST(Wvelk, WindowedStartWithoutExtensionIsRefusedOnStderr) {
  TempDir dir;
  ProcessResult r = runWvelk({"test"}, dir.path());
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_NE(r.err.find("Erweiterung .vlk muß mit angegeben werden"), std::string::npos) << r.err;
}

TEST(Wvelk, BatchJobs) {
  TempDir dir;
  ProcessResult missing = runWvelk({"fehlt.vlk", "/I", "/NOGUI"}, dir.path());
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("fehlt.vlk nicht gefunden"), std::string::npos) << missing.err;

  // The name without extension is completed in the current folder.
  std::filesystem::copy_file(std::string(VELK_SOURCE_DATA_DIR) + "/null.vlk", dir.file("test.vlk"));
  ProcessResult report = runWvelk({"test", "/I"}, dir.path());
  EXPECT_EQ(report.exitCode, 2) << "the text report is not built yet, so no success";
  EXPECT_NE(report.err.find("not available"), std::string::npos) << report.err;

  // CAD: DXF of view 3 and the front view; a device without a writer and a view that does not exist.
  EXPECT_EQ(runWvelk({"test.vlk", "/cad1:3"}, dir.path()).exitCode, 0);
  EXPECT_NE(readFile(dir.file("test.dxf")).find("EOF"), std::string::npos);
  EXPECT_EQ(runWvelk({"test.vlk", "/CAD1:7"}, dir.path()).exitCode, 0);
  EXPECT_NE(readFile(dir.file("test.dxf")).find("LINE"), std::string::npos);
  ProcessResult iges = runWvelk({"test.vlk", "/CAD2:1"}, dir.path());
  EXPECT_EQ(iges.exitCode, 2);
  EXPECT_FALSE(fileExists(dir.file("test.igs")));
  ProcessResult none = runWvelk({"test.vlk", "/CAD1:9"}, dir.path());
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_NE(none.err.find("nothing was drawn"), std::string::npos) << none.err;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) {
    std::string name = e.path().filename().string();
    EXPECT_TRUE(name == "test.vlk" || name == "test.dxf") << name;
  }
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
