// The /STEP batch job, run as wvelk processes: the model beside the caller, read back by
// OpenCASCADE, and the exit codes of the springs and outputs it refuses.
#include <sys/stat.h>

#include <filesystem>

#include "commands/springfile.h"
#include "step_readback.h"
#include "support/fixture.h"
#include "support/run_wvelk.h"

namespace velk::test {
namespace {

TEST(StepJob, WritesTheModelBesideTheCaller) {
  TempDir dir;
  std::filesystem::copy_file(std::string(VELK_SOURCE_DATA_DIR) + "/examples/uhrfeder.vlk", dir.file("uhr.vlk"));
  const ProcessResult r = runWvelk({"uhr.vlk", "/STEP"}, dir.path());
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

  ProcessResult r = runWvelk({"kaputt.vlk", "/STEP"}, dir.path());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("kaputt.step was not written"), std::string::npos) << r.err;
  EXPECT_FALSE(fileExists(dir.file("kaputt.step")));

  EXPECT_EQ(runWvelk({"fehlt.vlk", "/STEP"}, dir.path()).exitCode, 1);
  EXPECT_FALSE(fileExists(dir.file("fehlt.step")));

  // A write-protected output stays as it is.
  writeFile(dir.file("gut.step"), "alt");
  ::chmod(dir.file("gut.step").c_str(), 0444);
  r = runWvelk({"gut.vlk", "/STEP"}, dir.path());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("gut.step"), std::string::npos) << r.err;
  EXPECT_EQ(readFile(dir.file("gut.step")), "alt");
  ::chmod(dir.file("gut.step").c_str(), 0644);
  r = runWvelk({"gut.vlk", "/STEP"}, dir.path());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(readStep(dir.file("gut.step")).valid);

  // An input file that bears the output's name is not replaced by its own model.
  std::filesystem::copy_file(dir.file("gut.vlk"), dir.file("selbst.step"));
  r = runWvelk({"selbst.step", "/STEP"}, dir.path());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("would overwrite the input file"), std::string::npos) << r.err;
  EXPECT_EQ(readFile(dir.file("selbst.step")), readFile(dir.file("gut.vlk")));
}

}  // namespace
}  // namespace velk::test
