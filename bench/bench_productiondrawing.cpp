// The production drawing of a 20-turn spring with both ends bent, into a DXF file (target: 50 ms)
// and on the screen device.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "calc/calculate.h"
#include "draw/drawing.h"
#include "graphics/productiondrawing.h"
#include "session/session.h"
#include "ui/headless.h"

namespace {

// A 20-turn strip spring 10 x 0.5, ri 8, re 40, both ends bent; a strip material in memory; two
// change entries for the revision table.
void twentyTurns(velk::Session& ws) {
  velk::bench::springSteelStrip(ws.materials.strip);
  velk::Spring& s = ws.spring;
  s.matName = "Federstahl";
  s.matSource = 0;
  s.crossSection = 1;
  s.statdyn = 2;
  s.b = 10, s.t = 0.5L, s.ri = 8, s.re = 40, s.n0 = 20;
  s.formi = 2, s.li = 12, s.rbi = 2;
  s.forme = 2, s.le = 20, s.rbe = 3;
  s.alpha1 = 360, s.alpha2 = 1080;
  s.E = 206000;
  s.zeichname = "Spiralfeder";
  s.zeichnr = "4711-0815";
  s.doc.changeCount = 2;
  s.doc.changes[0] = {"Erstausgabe", "01.02.2026", "AB", "neu"};
  s.doc.changes[1] = {"Schenkel l\x84nger", "03.04.2026", "CD", "le 20"};
  velk::CalculateSpring(ws);
  if (ws.messages.fatal) std::abort();
}

}  // namespace

static void BM_ProductionDrawing20TurnsDxf(benchmark::State& state) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  twentyTurns(ws);
  ws.start.batchCad = true;
  ws.spring.dataDir = velk::bench::namedTempFolder("velk-bench-production");
  ws.spring.fileName = "production20";
  const std::string path = ws.spring.dataDir + "production20.dxf";
  for (auto _ : state) {
    velk::DrawProductionDrawing(ws, velk::DeviceCode::Dxf);
    if (ws.abort) state.SkipWithError("DXF output failed");
  }
  std::error_code ec;
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path, ec));
  std::filesystem::remove(path, ec);
}
BENCHMARK(BM_ProductionDrawing20TurnsDxf)->Unit(benchmark::kMillisecond);

static void BM_ProductionDrawing20TurnsScreen(benchmark::State& state) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  twentyTurns(ws);
  for (auto _ : state) {
    velk::DrawProductionDrawing(ws, velk::DeviceCode::Screen);
    benchmark::DoNotOptimize(ws.display.records.size());
  }
  state.counters["records"] = static_cast<double>(ws.display.records.size());
}
BENCHMARK(BM_ProductionDrawing20TurnsScreen)->Unit(benchmark::kMillisecond);
