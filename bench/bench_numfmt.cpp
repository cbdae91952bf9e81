// Speed of the number formatters: fmtSig is the standard format of every report, view and file.
// Target: fmtSig at least 5,000,000 calls per second on a spread of everyday values.
#include <benchmark/benchmark.h>

#include <array>

#include "base/numfmt.h"

namespace {

constexpr std::array<velk::Real, 16> kTypical = {
    12.3456L, 0.012345L, 1234.4L, 210000.0L, -5.0L,   0.5L,  7.85L,    206000.0L,
    0.25L,    1.5e-3L,   98.765L, -0.375L,   3600.0L, 42.0L, 0.00002L, 999.95L,
};

void BM_fmtSig(benchmark::State& state) {
  const velk::NumberSettings s;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(velk::fmtSig(s, kTypical[i]));
    i = (i + 1) % kTypical.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_fmtSig);

void BM_fmtFixed(benchmark::State& state) {
  const velk::NumberSettings s;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(velk::fmtFixed(s, 8, 3, kTypical[i]));
    i = (i + 1) % kTypical.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_fmtFixed);

void BM_parseReal(benchmark::State& state) {
  constexpr std::array<const char*, 6> kTexts = {"12.3456", "0,012345", "1234.4", "-5", "2.1e5", " 7.85 "};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(velk::parseReal(kTexts[i]));
    i = (i + 1) % kTexts.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_parseReal);

}  // namespace
