// Spring drawing and result views in process: the front view of a 50-turn spring on the screen
// device and into a DXF file (target: 20 ms to DXF), and the Goodman sheet on the screen.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "calc/calculate.h"
#include "draw/drawing.h"
#include "graphics/springdrawing.h"
#include "graphics/views.h"
#include "session/session.h"
#include "ui/headless.h"

namespace {

// A 50-turn clock spring: strip 10 x 0.3, ri 8, re 40; a strip material in memory.
void fiftyTurns(velk::Session& ws) {
  velk::bench::springSteelStrip(ws.materials.strip);
  velk::Spring& s = ws.spring;
  s.matName = "Federstahl";
  s.matSource = 0;
  s.crossSection = 1;
  s.statdyn = 2;
  s.b = 10, s.t = 0.3L, s.ri = 8, s.re = 40, s.n0 = 50;
  s.alpha1 = 360, s.alpha2 = 1080;
  s.E = 206000;
  velk::CalculateSpring(ws);
  if (ws.messages.fatal) std::abort();
}

}  // namespace

static void BM_FrontView50TurnsScreen(benchmark::State& state) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  fiftyTurns(ws);
  for (auto _ : state) {
    velk::DrawSpring(ws, velk::SpringView::Front, velk::DeviceCode::Screen, false);
    benchmark::DoNotOptimize(ws.display.records.size());
  }
  state.counters["records"] = static_cast<double>(ws.display.records.size());
}
BENCHMARK(BM_FrontView50TurnsScreen)->Unit(benchmark::kMillisecond);

static void BM_FrontView50TurnsDxf(benchmark::State& state) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  fiftyTurns(ws);
  // Batch naming: the file is the input file's name with ".dxf", no save dialog.
  ws.start.batchCad = true;
  ws.spring.dataDir = velk::bench::namedTempFolder("velk-bench-views");
  ws.spring.fileName = "front50";
  const std::string path = ws.spring.dataDir + "front50.dxf";
  for (auto _ : state) {
    velk::DrawSpring(ws, velk::SpringView::Front, velk::DeviceCode::Dxf, false);
    if (ws.abort) state.SkipWithError("DXF output failed");
  }
  std::error_code ec;
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path, ec));
  std::filesystem::remove(path, ec);
}
BENCHMARK(BM_FrontView50TurnsDxf)->Unit(benchmark::kMillisecond);

static void BM_GoodmanSheetScreen(benchmark::State& state) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  fiftyTurns(ws);
  for (auto _ : state) {
    velk::ShowView(ws, velk::ViewKind::Goodman, velk::DeviceCode::Screen);
    benchmark::DoNotOptimize(ws.display.records.size());
  }
}
BENCHMARK(BM_GoodmanSheetScreen)->Unit(benchmark::kMillisecond);
