// Every batch job's output under the same rules: a device node, FIFO or socket under the output's
// name (or behind the user's own link to it) is never replaced, a full disk leaves the old file
// and says why, planted links are refused, parallel runs leave one whole file.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/fixture.h"
#include "support/run_wvelk.h"
#include "support/socket_node.h"

namespace velk::test {
namespace {

const std::string kExamples = std::string(VELK_SOURCE_DATA_DIR) + "/examples/";

struct Job {
  const char* job;
  const char* output;
};
// Every job that writes a file, with the file it writes.
const Job kJobs[] = {{"/I", "s.txt"},      {"/JSON", "s.json"},  {"/SVG:7", "s.svg"},
                     {"/CAD1:7", "s.dxf"}, {"/CAD2:7", "s.igs"}, {"/CAD5:7", "s.txt"},
                     {"/XLSX", "s.xlsx"},  {"/STEP", "s.step"},  {"/PDF:7", "s.pdf"}};

mode_t typeOf(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

// A FIFO without a reader and a socket under the output's name: refused (exit 2) with the file
// and the reason, and left as they are.
TEST(BatchOutputs, FifoAndSocketAreNeverReplaced) {
  for (const Job& j : kJobs) {
    for (const bool fifo : {true, false}) {
      TempDir dir;
      std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("s.vlk"));
      if (fifo)
        ASSERT_EQ(::mkfifo(dir.file(j.output).c_str(), 0600), 0);
      else
        ASSERT_TRUE(bindSocket(dir.path(), j.output));
      const ProcessResult r = runWvelk({"s.vlk", j.job}, dir.path(), {"LC_ALL=C"});
      EXPECT_EQ(r.exitCode, 2) << j.job << r.err;
      EXPECT_NE(r.err.find(j.output), std::string::npos) << j.job << r.err;
      EXPECT_NE(r.err.find(fifo ? "FIFO without a reader" : "socket"), std::string::npos) << j.job << r.err;
      EXPECT_EQ(typeOf(dir.file(j.output)), fifo ? S_IFIFO : S_IFSOCK) << j.job;
    }
  }
}

// The user's own link to a character device (nodes the test makes, as root): a copy of the null
// device discards the output (exit 0); a copy of the full device is a full disk (exit 2, the file
// and the reason named). The device and the link stay.
TEST(BatchOutputs, LinkToADeviceWritesIntoTheDevice) {
  for (const Job& j : kJobs) {
    for (const auto& [minor, code] : std::vector<std::pair<unsigned, int>>{{3, 0}, {7, 2}}) {
      TempDir dir;
      std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("s.vlk"));
      if (::mknod(dir.file("dev").c_str(), S_IFCHR | 0666, ::makedev(1, minor)) != 0)
        GTEST_SKIP() << "making device nodes needs root";
      std::filesystem::create_symlink(dir.file("dev"), dir.file(j.output));
      const ProcessResult r = runWvelk({"s.vlk", j.job}, dir.path(), {"LC_ALL=C"});
      EXPECT_EQ(r.exitCode, code) << j.job << " minor " << minor << r.err;
      if (code != 0) {
        EXPECT_NE(r.err.find(j.output), std::string::npos) << j.job << r.err;
        EXPECT_NE(r.err.find(std::strerror(ENOSPC)), std::string::npos) << j.job << r.err;
      }
      EXPECT_EQ(typeOf(dir.file("dev")), S_IFCHR) << j.job;
      EXPECT_EQ(typeOf(dir.file(j.output)), S_IFLNK) << j.job;
    }
  }
}

// A link planted under the output's name, or under the name a writer once used beside it
// ("s.pdf.part"), never redirects the output to the file it points to.
TEST(BatchOutputs, PlantedLinksNeverRedirectAnOutput) {
  for (const Job& j : kJobs) {
    for (const std::string& planted : {std::string(j.output), std::string(j.output) + ".part"}) {
      TempDir dir;
      TempDir other;
      std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("s.vlk"));
      writeFile(other.file("victim"), "victim");
      ::chmod(other.file("victim").c_str(), 0600);
      std::filesystem::create_symlink(other.file("victim"), dir.file(planted));
      ::chmod(dir.path().c_str(), 0777);  // a folder others can write
      const ProcessResult r = runWvelk({"s.vlk", j.job}, dir.path());
      if (planted == j.output) {
        EXPECT_EQ(r.exitCode, 2) << j.job << r.err;
        EXPECT_NE(r.err.find("symbolic link"), std::string::npos) << j.job << r.err;
      } else {
        EXPECT_EQ(r.exitCode, 0) << j.job << r.err;
      }
      EXPECT_EQ(readFile(other.file("victim")), "victim") << j.job << " " << planted;
      EXPECT_EQ(typeOf(dir.file(planted)), S_IFLNK) << j.job;
    }
  }
}

// Ten runs at once over one existing output: one complete file, every run says it wrote, no
// temporary file stays.
TEST(BatchOutputs, ParallelRunsLeaveOneCompleteFile) {
  for (const Job& j : {Job{"/PDF:1", "s.pdf"}, Job{"/JSON", "s.json"}}) {
    TempDir dir;
    std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("s.vlk"));
    writeFile(dir.file(j.output), "old");
    constexpr int kRuns = 10;
    std::vector<ProcessResult> results(kRuns);
    std::vector<std::thread> runs;
    for (int i = 0; i < kRuns; ++i) {
      // Each run collects its output in a folder of its own; all work in dir.
      const std::string own = dir.file("run" + std::to_string(i));
      std::filesystem::create_directory(own);
      runs.emplace_back([&results, i, own, &j] { results[i] = runWvelk({"s.vlk", j.job}, own + "/.."); });
    }
    for (std::thread& t : runs) t.join();
    for (const ProcessResult& r : results) EXPECT_EQ(r.exitCode, 0) << j.job << r.err;
    const std::string out = readFile(dir.file(j.output));
    if (std::string(j.job) == "/JSON") {
      EXPECT_EQ(out.front(), '{');
      ASSERT_GT(out.size(), 2u);
      EXPECT_EQ(out.substr(out.size() - 2), "}\n");
    } else {
      EXPECT_EQ(out.substr(0, 5), "%PDF-");
      EXPECT_NE(out.find("%%EOF", out.size() - 8), std::string::npos);
    }
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 2u) << j.job << ": the spring and its output only";
  }
}

// A relative TMPDIR is not used: one line names it, and the jobs that need the temporary folder
// work in /tmp.
TEST(BatchOutputs, UnusableTmpdirIsNamedOnce) {
  TempDir dir;
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("s.vlk"));
  const ProcessResult r = runWvelk({"s.vlk", "/XLSX", "/I"}, dir.path(), {"TMPDIR=relative/tmp"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("TMPDIR=relative/tmp"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("TMPDIR", r.err.find("TMPDIR") + 1), std::string::npos) << "said once\n" << r.err;
  EXPECT_TRUE(std::filesystem::exists(dir.file("s.xlsx")));
}

// A PDF job says nothing on stderr but its own messages, also where XDG_RUNTIME_DIR is unset (cron,
// su -), and leaves nothing in the temporary folder but the private folder.
TEST(BatchOutputs, PdfJobHasNoQtNoise) {
  TempDir dir;
  TempDir tmp;
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("s.vlk"));
  const std::string saved = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
  ::unsetenv("XDG_RUNTIME_DIR");
  const ProcessResult r = runWvelk({"s.vlk", "/PDF:7"}, dir.path(), {"TMPDIR=" + tmp.path()});
  if (!saved.empty()) ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::vector<std::string> left;
  for (const auto& e : std::filesystem::directory_iterator(tmp.path())) left.push_back(e.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"velk-" + std::to_string(::getuid())});
}

}  // namespace
}  // namespace velk::test
