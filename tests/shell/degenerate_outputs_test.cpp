// Degenerate springs in batch jobs: the drawings stay bounded and hold finite coordinates, and a
// lifetime that cannot be given is left out rather than written as "inf".
#include <string>

#include "support/fixture.h"
#include "support/run_process.h"

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
    std::vector<std::string> argv = {python, "-c", kRun, WVELK_PATH, kExamples + c.example, dir.path(), c.edits,
                                     "8000000"};
    argv.insert(argv.end(), c.jobs.begin(), c.jobs.end());
    std::string out;
    EXPECT_EQ(runProcess(argv, &out), 0) << c.example << " " << c.edits << "\n" << out;
  }
}

}  // namespace
}  // namespace velk::test
