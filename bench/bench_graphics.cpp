// Graphics throughput: replay of a large display list onto a discarding canvas, and a
// primitive-heavy DXF drawing (a 50-turn spiral) written through the drawing layer.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "discard_canvas.h"
#include "draw/displaylist.h"
#include "draw/drawing.h"
#include "draw/viewmapping.h"
#include "graphics/output.h"
#include "session/session.h"
#include "ui/headless.h"

namespace {

using velk::bench::DiscardCanvas;

// A spring-like drawing: a spiral of short lines and arcs, with colour changes and labels.
void spiral(velk::Session& ws, int turns, int steps) {
  const long double pi = 3.14159265358979323846L;
  for (int i = 0; i < turns * steps; ++i) {
    const long double a0 = 2 * pi * i / steps, a1 = 2 * pi * (i + 1) / steps;
    const long double r0 = 5 + 0.8L * a0 / (2 * pi), r1 = 5 + 0.8L * a1 / (2 * pi);
    velk::SetLayer(ws.drawing, i % 200 == 0 ? 4 : 3);
    velk::Line(ws.drawing, 80 + r0 * std::cos(a0), 60 + r0 * std::sin(a0), 80 + r1 * std::cos(a1),
               60 + r1 * std::sin(a1));
    velk::Arc(ws.drawing, 80, 60, a0 * 180 / pi, a1 * 180 / pi, r0 + 0.4L);
    if (i % 500 == 0) velk::Text(ws.drawing, "Windung", 80 + r0, 60);
  }
}

}  // namespace

static void BM_ReplayDisplayList(benchmark::State& state) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  velk::OpenDrawing(ws, velk::DeviceCode::Screen);
  velk::Window(ws.drawing, 0, 0, 160, 120);
  while (ws.display.records.size() < 1000000) spiral(ws, 50, 72);
  ws.display.records.resize(1000000);
  DiscardCanvas canvas;
  velk::ViewMapping view;
  view.adopt(ws.display);
  for (auto _ : state) benchmark::DoNotOptimize(velk::Replay(ws.display, view, canvas));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 1000000);
}
BENCHMARK(BM_ReplayDisplayList)->Unit(benchmark::kMillisecond);

static void BM_DxfSpiralDrawing(benchmark::State& state) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  std::string dir = (std::filesystem::temp_directory_path() / "velk-bench-XXXXXX").string();
  if (!::mkdtemp(dir.data())) std::abort();
  ws.start.batchCad = true;
  ws.spring.dataDir = dir + "/";
  ws.spring.fileName = "spirale";
  for (auto _ : state) {
    velk::OpenDrawing(ws, velk::DeviceCode::Dxf);
    velk::Window(ws.drawing, 0, 0, 160, 120);
    velk::Tables(ws.drawing, velk::DrawingKind::Drawing);
    velk::BeginEntities(ws.drawing, ws.diag);
    spiral(ws, 50, 72);  // 3600 lines and 3600 arcs
    velk::EndEntities(ws.drawing);
    velk::FinishDrawing(ws);
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(dir + "/spirale.dxf"));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_DxfSpiralDrawing)->Unit(benchmark::kMillisecond);
