// The /STEP batch job, run as wvelk processes: the model beside the caller, read back by
// OpenCASCADE, and the exit codes of the springs and outputs it refuses.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>

#include "commands/springfile.h"
#include "step_readback.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

struct Result {
  int exitCode = -1;
  std::string err;
};

// Runs wvelk in folder cwd without a display, standard error collected.
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

TEST(StepJob, WritesTheModelBesideTheCaller) {
  TempDir dir;
  std::filesystem::copy_file(std::string(VELK_SOURCE_DATA_DIR) + "/examples/uhrfeder.vlk", dir.file("uhr.vlk"));
  const Result r = wvelk({"uhr.vlk", "/STEP"}, dir.path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const ReadBack back = readStep(dir.file("uhr.step"));
  EXPECT_TRUE(back.read);
  EXPECT_EQ(back.solids, 1);
  EXPECT_TRUE(back.valid);
  EXPECT_GT(back.volume, 0);
}

TEST(StepJob, RefusedSpringsAndOutputsWriteNothing) {
  TempDir dir;
  ScriptedUi ui;
  Session ws(ui);
  ws.overwritePrompt = false;
  writeInputFile(ws, dir.file("gut.vlk"));
  ws.spring.n0 = 0;  // no turns: fatal
  writeInputFile(ws, dir.file("kaputt.vlk"));
  ASSERT_FALSE(ws.abort);

  Result r = wvelk({"kaputt.vlk", "/STEP"}, dir.path());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("kaputt.step was not written"), std::string::npos) << r.err;
  EXPECT_FALSE(fileExists(dir.file("kaputt.step")));

  EXPECT_EQ(wvelk({"fehlt.vlk", "/STEP"}, dir.path()).exitCode, 1);
  EXPECT_FALSE(fileExists(dir.file("fehlt.step")));

  // A write-protected output stays as it is.
  writeFile(dir.file("gut.step"), "alt");
  ::chmod(dir.file("gut.step").c_str(), 0444);
  r = wvelk({"gut.vlk", "/STEP"}, dir.path());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("gut.step"), std::string::npos) << r.err;
  EXPECT_EQ(readFile(dir.file("gut.step")), "alt");
  ::chmod(dir.file("gut.step").c_str(), 0644);
  r = wvelk({"gut.vlk", "/STEP"}, dir.path());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(readStep(dir.file("gut.step")).valid);

  // An input file that bears the output's name is not replaced by its own model.
  std::filesystem::copy_file(dir.file("gut.vlk"), dir.file("selbst.step"));
  r = wvelk({"selbst.step", "/STEP"}, dir.path());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("would overwrite the input file"), std::string::npos) << r.err;
  EXPECT_EQ(readFile(dir.file("selbst.step")), readFile(dir.file("gut.vlk")));
}

}  // namespace
}  // namespace velk::test
