// Speed of the design modes: every confirmation in the online table runs one pass.
// Target: one dimensioning pass (solver + calculation) at least 200,000 times per second on one core.
#include <benchmark/benchmark.h>

#include "calc/calculate.h"
#include "calcservice/designtable.h"
#include "dialogs/onlinetable.h"
#include "session/session.h"
#include "ui/headless.h"

namespace {

// A dynamically loaded strip spring to be dimensioned for 500 / 800 Nmm over 45 degrees.
void stripToDimension(velk::Session& ws) {
  velk::StripRecord& r = ws.materials.strip;
  r.name1 = "Ck 75";
  r.E = 206000, r.rho = 7.85L, r.Rm0 = 1800, r.t0 = 1, r.Rmmax = 2300, r.kRm = 300, r.tG = 1;
  r.plain = {1000, 100, 500, 50, 0.5L};
  r.peened = {1100, 100, 600, 50, 0.5L};
  r.tmin = 0.1L, r.tmax = 3, r.Tmax = 150, r.f = 0.75L;

  velk::Spring& s = ws.spring;
  s.crossSection = 1, s.statdyn = 2, s.kugelstrahlen = 'N', s.matSource = 0;
  s.formi = 1, s.forme = 2, s.rbe = 2, s.le = 12;
  s.b = 10, s.t = 0.6L, s.ri = 8, s.re = 40, s.n0 = 8.25L;
  s.alpha1 = 90, s.alpha2 = 540, s.theta = 40;
  s.E = 206000, s.rho = 7.85L;
  velk::CalculateSpring(ws);  // sigman for the solver
  s.T1 = 500, s.T2 = 800, s.alphah = 45;
}

// The solver and the calculation after it, on the spring's fields.
void BM_DimensionAndCalculate(benchmark::State& state) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  stripToDimension(ws);
  velk::Spring& s = ws.spring;
  for (auto _ : state) {
    s.T1 = 500, s.T2 = 800, s.alphah = 45, s.re = 40;
    velk::ClearCalcMessages(ws.messages);
    velk::Dimension(ws);
    velk::CalculateAfterSolver(ws, ws.num());
    benchmark::DoNotOptimize(s.n0);
  }
  if (ws.messages.fatal) state.SkipWithError("the spring must dimension");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DimensionAndCalculate);

// A whole pass of the dimensioning table: input texts read, solver, calculation, output texts.
void BM_DimensioningPass(benchmark::State& state) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  stripToDimension(ws);
  const velk::DesignMode mode = velk::DesignMode::Dimensioning;
  velk::BeginOnlineTable(ws, velk::DesignTitle(mode), 7, 11);
  velk::FillInputRows(ws, mode, true);
  for (auto _ : state) {
    velk::DesignPass(ws, mode);
    benchmark::DoNotOptimize(ws.online.outValue[1].data());
  }
  if (ws.messages.fatal) state.SkipWithError("the spring must dimension");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DimensioningPass);

}  // namespace
