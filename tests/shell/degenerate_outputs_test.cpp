// Degenerate springs in batch jobs: the drawings stay bounded and hold finite coordinates, and a
// lifetime that cannot be given is left out rather than written as "inf".
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/fixture.h"
#include "support/run_process.h"
#include "support/run_wvelk.h"

namespace velk::test {
namespace {

const std::string kExamples = std::string(VELK_SOURCE_DATA_DIR) + "/examples/";

// argv: wvelk, example, folder, "line=value;line=value", max bytes, jobs...
// Copies the example with the lines replaced, runs the jobs there and checks every output file.
constexpr const char* kRun = R"(
import os, re, shutil, subprocess, sys
wvelk, example, folder, edits, limit = sys.argv[1:6]
jobs = sys.argv[6:]
lines = open(example, 'rb').read().split(b'\r\n')
for e in edits.split(';'):
    n, v = e.split('=')
    lines[int(n) - 1] = v.encode()
name = os.path.join(folder, 'probe.vlk')
open(name, 'wb').write(b'\r\n'.join(lines))
rc = max(subprocess.run([wvelk, 'probe.vlk', job, '/NOGUI'], cwd=folder, timeout=120,
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode for job in jobs)
outs = [f for f in os.listdir(folder) if f != 'probe.vlk']
assert outs, 'no output'
for f in outs:
    data = open(os.path.join(folder, f), 'rb').read()
    assert len(data) < int(limit), (f, len(data))
    low = data.lower()
    assert b'inf' not in re.sub(rb'[a-z]inf|inf[a-z]', b'', low), (f, 'inf')
    assert b'nan' not in re.sub(rb'[a-z]nan|nan[a-z]', b'', low), (f, 'nan')
    assert not re.search(rb'\d{40}', data), (f, 'long number')
print(rc, sorted(outs))
)";

TEST(DegenerateOutputs, BoundedFilesAndNoInfiniteValues) {
  const std::string python = pythonWithModules({});
  ASSERT_FALSE(python.empty());
  struct Case {
    const char* example;
    const char* edits;
    std::vector<std::string> jobs;
  };
  const Case cases[] = {
      {"uhrfeder.vlk", "14=1e307;15=1e307", {"/CAD1:7", "/CAD2:7", "/CAD1:9", "/JSON"}},
      {"uhrfeder.vlk", "14=1e6", {"/CAD1:7", "/CAD2:7", "/SVG:9"}},
      {"drahtfeder_dynamisch.vlk", "56=1e-4930", {"/I", "/JSON"}},
      {"drahtfeder_dynamisch.vlk", "56=0", {"/I", "/JSON"}},
      {"drahtfeder_dynamisch.vlk", "56=-5", {"/I", "/JSON"}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    std::vector<std::string> argv = {python,     "-c",    kRun,     WVELK_PATH, kExamples + c.example,
                                     dir.path(), c.edits, "8000000"};
    argv.insert(argv.end(), c.jobs.begin(), c.jobs.end());
    std::string out;
    EXPECT_EQ(runProcess(argv, &out), 0) << c.example << " " << c.edits << "\n" << out;
  }
}

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The spring file's lines with line n (1-based) replaced by text.
std::string withLine(std::string bytes, int n, const std::string& text) {
  std::size_t begin = 0;
  for (int i = 1; i < n; ++i) begin = bytes.find('\n', begin) + 1;
  const std::size_t end = bytes.find_first_of("\r\n", begin);
  return bytes.replace(begin, end - begin, text);
}

// Values beyond the sane range stop every batch job: exit 2, the reason on stderr, no report,
// drawing, picture, workbook or solid (the JSON says "fatal" and is the only file).
TEST(DegenerateOutputs, HugeValuesStopEveryJob) {
  const std::string good = readFile(kExamples + "uhrfeder.vlk");
  const std::string invalidInput = "Fatal  : Eingabe ungültig !";
  const std::string invalidResult = "Fatal  : Ergebnis ungültig !";
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> settings;
    std::string message;
  } cases[] = {
      {"alpha2 1e300 in the file", withLine(good, 18, "1e300"), {}, invalidInput},
      {"alpha1 -1e300 in the file", withLine(good, 17, "-1e300"), {}, invalidInput},
      {"/SET:alpha2=1e300", good, {"/SET:alpha2=1e300"}, invalidInput},
      {"a strip 1e6 mm thick", withLine(good, 13, "1000000"), {}, invalidResult},
  };
  const std::vector<std::string> jobs = {"/I", "/CAD1:1", "/SVG:7", "/PDF:1", "/XLSX", "/STEP", "/JSON"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    writeFile(dir.file("h.vlk"), c.bytes);
    for (const std::string& job : jobs) {
      std::vector<std::string> args = {"h.vlk"};
      args.insert(args.end(), c.settings.begin(), c.settings.end());
      args.push_back(job);
      args.push_back("/NOGUI");
      const ProcessResult r = runWvelk(args, dir.path());
      EXPECT_EQ(r.exitCode, 2) << job << "\n" << r.err;
      EXPECT_NE(r.err.find(c.message), std::string::npos) << job << "\n" << r.err;
    }
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"h.json", "h.vlk"}));
    const std::string json = readFile(dir.file("h.json"));
    EXPECT_NE(json.find("\"fatal\": true"), std::string::npos) << json.substr(0, 300);
    EXPECT_EQ(json.find("inf"), std::string::npos);
  }
}

}  // namespace
}  // namespace velk::test
