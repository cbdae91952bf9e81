// Speed of the calculation core: every menu command, design step and online-table edit runs it.
// Target: CalculateSpring on a typical strip spring at least 1,000,000 times per second on one core.
#include <benchmark/benchmark.h>

#include "calc/calculate.h"
#include "session/session.h"
#include "ui/headless.h"

namespace {

// A dynamically loaded strip spring with a bent outer end, its material filled in memory.
void typicalStripSpring(velk::Session& ws) {
  velk::StripRecord& r = ws.materials.strip;
  r.name1 = "Ck 75";
  r.E = 206000, r.rho = 7.85L, r.Rm0 = 1800, r.t0 = 1, r.Rmmax = 2300, r.kRm = 300, r.tG = 1;
  r.plain = {1000, 100, 500, 50, 0.5L};
  r.peened = {1100, 100, 600, 50, 0.5L};
  r.tmin = 0.1L, r.tmax = 3, r.Tmax = 150, r.f = 0.75L;

  velk::Spring& s = ws.spring;
  s.zeichname = "Uhrfeder";
  s.zeichnr = "4711-0815";
  s.crossSection = 1, s.statdyn = 2, s.kugelstrahlen = 'N', s.matSource = 0;
  s.formi = 1, s.forme = 2, s.rbe = 2, s.le = 12;
  s.b = 10, s.t = 0.6L, s.ri = 8, s.re = 40, s.n0 = 8.25L;
  s.alpha1 = 90, s.alpha2 = 540, s.theta = 40;
  s.E = 206000, s.rho = 7.85L;
}

void BM_CalculateSpring(benchmark::State& state) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  typicalStripSpring(ws);
  for (auto _ : state) {
    velk::CalculateSpring(ws);
    benchmark::DoNotOptimize(ws.spring.cyclesN);
  }
  if (ws.messages.fatal) state.SkipWithError("the typical spring must calculate");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CalculateSpring);

}  // namespace
