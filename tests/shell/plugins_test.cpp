// The window (Qt), the STEP writer (OpenCASCADE) and the workbooks (libxlsxwriter, libzip) are
// plug-ins: the batch jobs that need none load none, and a job whose plug-in is missing or broken
// ends with 2 and says why.
#include <filesystem>
#include <string>
#include <vector>

#include "support/fixture.h"
#include "support/run_wvelk.h"

namespace velk::test {
namespace {

const std::string kExamples = std::string(VELK_SOURCE_DATA_DIR) + "/examples/";

// The shared objects the dynamic loader opened, as LD_DEBUG=files reports them on stderr.
// The loader names a library by its soname ("file=libc.so.6") or by the path it was opened with.
bool opened(const std::string& ldDebug, const std::string& library) {
  for (std::size_t at = ldDebug.find("file="); at != std::string::npos; at = ldDebug.find("file=", at + 1)) {
    const std::string name = ldDebug.substr(at + 5, ldDebug.find_first_of(" \n", at) - at - 5);
    if (name.starts_with(library) || name.find("/" + library) != std::string::npos) return true;
  }
  return false;
}

TEST(WvelkPlugins, BatchJobsLoadNeitherQtNorOpenCascade) {
  TempDir dir;
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("uhr.vlk"));
  const std::vector<std::vector<std::string>> jobs = {{"uhr.vlk", "/I"},      {"uhr.vlk", "/JSON"},
                                                      {"uhr.vlk", "/CAD1:7"}, {"uhr.vlk", "/SVG:1"},
                                                      {"uhr.vlk", "/XLSX"},   {"?", "/NOGUI"}};
  for (const auto& args : jobs) {
    const ProcessResult r = runWvelk(args, dir.path(), {"LD_DEBUG=files"});
    const std::string job = args[0] + " " + args[1];
    EXPECT_EQ(r.exitCode, 0) << job << r.err;
    ASSERT_TRUE(opened(r.err, "libc.so")) << job << ": LD_DEBUG reports nothing";
    for (const char* library : {"libQt6", "libTK", "window.so", "step.so"})
      EXPECT_FALSE(r.err.find(library) != std::string::npos) << job << " loads " << library;
    if (args[1] != "/XLSX")
      for (const char* library : {"sheet.so", "libxlsxwriter", "libzip", "libcrypto"})
        EXPECT_FALSE(r.err.find(library) != std::string::npos) << job << " loads " << library;
  }
  // The jobs that need them do load them.
  struct Needs {
    const char* job;
    std::vector<std::string> libraries;
  };
  for (const Needs& c : {Needs{"/PDF:1", {"window.so", "libQt6Gui"}}, Needs{"/STEP", {"step.so", "libTKernel"}},
                         Needs{"/XLSX", {"sheet.so", "libxlsxwriter"}}}) {
    const ProcessResult r = runWvelk({"uhr.vlk", c.job}, dir.path(), {"LD_DEBUG=files"});
    EXPECT_EQ(r.exitCode, 0) << c.job;
    for (const std::string& library : c.libraries) EXPECT_TRUE(opened(r.err, library)) << c.job << " " << library;
  }
}

// A copy of wvelk in <root>/bin finds its plug-ins in <root>/lib/velk/plugins: none there, an empty file,
// a file that is no shared object. Each job that needs a plug-in ends with 2 and names it; the
// others run; nothing is written in the failed job's name.
TEST(WvelkPlugins, MissingOrBrokenPluginEndsItsJobWithTwo) {
  for (const char* content : {static_cast<const char*>(nullptr), "", "#!/bin/sh\nexit 0\n"}) {
    TempDir root;
    std::filesystem::create_directories(root.file("bin"));
    std::filesystem::create_directories(root.file("work"));
    std::filesystem::copy_file(WVELK_PATH, root.file("bin/wvelk"));
    if (content) {
      std::filesystem::create_directories(root.file("lib/velk/plugins"));
      writeFile(root.file("lib/velk/plugins/step.so"), content);
      writeFile(root.file("lib/velk/plugins/window.so"), content);
      writeFile(root.file("lib/velk/plugins/sheet.so"), content);
    }
    const std::string program = root.file("bin/wvelk");
    // The program names its plug-in folder as the kernel names the program: without links.
    const std::string plugins = std::filesystem::canonical(root.path()).string() + "/lib/velk/plugins/";
    const std::string work = root.file("work") + "/";
    std::filesystem::copy_file(kExamples + "uhrfeder.vlk", work + "uhr.vlk");
    const std::string what = content ? "plug-in file \"" + std::string(content) + "\"" : "no plug-in folder";

    ProcessResult r = runWvelkAt(program, {"uhr.vlk", "/STEP"}, work);
    EXPECT_EQ(r.exitCode, 2) << what << r.err;
    EXPECT_NE(r.err.find("wvelk: the STEP writer cannot be loaded: " + plugins + "step.so"), std::string::npos)
        << what << r.err;
    EXPECT_FALSE(std::filesystem::exists(work + "uhr.step")) << what;

    r = runWvelkAt(program, {"uhr.vlk", "/XLSX"}, work);
    EXPECT_EQ(r.exitCode, 2) << what << r.err;
    EXPECT_NE(r.err.find("wvelk: the workbook writer cannot be loaded: " + plugins + "sheet.so"), std::string::npos)
        << what << r.err;
    EXPECT_FALSE(std::filesystem::exists(work + "uhr.xlsx")) << what;

    r = runWvelkAt(program, {"uhr.vlk", "/PDF:1"}, work);
    EXPECT_EQ(r.exitCode, 2) << what << r.err;
    EXPECT_NE(r.err.find("wvelk: /PDF needs the window's library, which cannot be loaded: " + plugins + "window.so"),
              std::string::npos)
        << what << r.err;
    EXPECT_FALSE(std::filesystem::exists(work + "uhr.pdf")) << what;

    r = runWvelkAt(program, {"uhr.vlk"}, work, {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(r.exitCode, 2) << what << r.err;
    EXPECT_NE(r.err.find("wvelk: the window needs the window's library"), std::string::npos) << what << r.err;

    r = runWvelkAt(program, {"uhr.vlk", "/I"}, work);
    EXPECT_EQ(r.exitCode, 0) << what << r.err;
    EXPECT_TRUE(std::filesystem::exists(work + "uhr.txt")) << what;
  }
}

}  // namespace
}  // namespace velk::test
