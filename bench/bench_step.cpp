// The 3D model as STEP: a 20-turn strip spring with both ends bent, from the centre line to the
// written file (target: 2 s and 300 MiB). peak_rss_MiB is the process's high-water mark: run
// this file's benchmark alone (--benchmark_filter=Step) for the model's own figure.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "data/spring.h"
#include "step/stepmodel.h"

namespace {

// Strip 20 x 1, ri 10, re 100, 20 turns; inner end bent (li 20, rbi 4), outer end bent (le 30, rbe 6).
velk::Spring twentyTurns() {
  velk::Spring s;
  s.crossSection = 1;
  s.b = 20, s.t = 1, s.ri = 10, s.re = 100, s.n0 = 20;
  s.formi = s.forme = 2;
  s.li = 20, s.rbi = 4, s.le = 30, s.rbe = 6;
  s.zeichname = "Bench";
  s.zeichnr = "B-20";
  return s;
}

// The strip (crossSection 1, the outline raised along z) and, for comparison, the same spring of
// round wire 1 mm (2, the circle swept along the centre line).
void BM_StepTwentyTurns(benchmark::State& state, int crossSection) {
  velk::Spring s = twentyTurns();
  s.crossSection = crossSection;
  const std::string path =
      (std::filesystem::temp_directory_path() / ("velk-bench-step-" + std::to_string(crossSection) + ".step")).string();
  for (auto _ : state) {
    const velk::StepResult r = velk::WriteSpringStep(s, 0, path);
    if (!r.written()) std::abort();
  }
  state.counters["file_KiB"] = static_cast<double>(std::filesystem::file_size(path)) / 1024.0;
  state.counters["peak_rss_MiB"] = velk::bench::peakRssMiB();
  std::filesystem::remove(path);
}
BENCHMARK_CAPTURE(BM_StepTwentyTurns, Strip, 1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_StepTwentyTurns, Wire, 2)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
