// The window's figures: an edit in the online form to the recalculated and repainted view, a
// repaint from the cache, and a replay of a million records onto a 1024 x 768 image.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>

#include "calc/calculate.h"
#include "commands/commandhelpers.h"
#include "commands/menucommands.h"
#include "commands/springfile.h"
#include "discard_canvas.h"
#include "draw/displaylist.h"
#include "graphics/output.h"
#include "gui/graphicsview.h"
#include "gui/mainwindow.h"
#include "gui/paintercanvas.h"
#include "gui/qtui.h"
#include "session/session.h"

namespace {

struct Window {
  velk::gui::QtUi ui;
  velk::Session ws{ui};
  std::unique_ptr<velk::gui::MainWindow> w;
  Window() {
    ws.config.helpLevel = 1;
    velk::SetupWindowSize(ws);
    velk::readInputFile(ws, std::string(VELK_SOURCE_DATA_DIR) + "/examples/drahtfeder_dynamisch.vlk");
    velk::calculateLoadedSpring(ws);
    ws.abort = false;
    w = std::make_unique<velk::gui::MainWindow>(ws, ui);
    w->resize(1024, 768);
    w->show();
    QApplication::processEvents();
  }
};

// What one pass of a design mode does after Enter in the online form: the new value, the
// calculation, the quick view, and the window painting it.
void BM_OnlineEditToRepaint(benchmark::State& state) {
  Window win;
  velk::Real t = win.ws.spring.t;
  int k = 0;
  for (auto _ : state) {
    win.ws.spring.t = t * (1 + 0.001 * (++k % 7));
    velk::CalculateSpring(win.ws);
    velk::QuickViewOfPass(win.ws);
    win.w->view().repaint();
  }
}
BENCHMARK(BM_OnlineEditToRepaint)->Unit(benchmark::kMillisecond);

void BM_RepaintFromCache(benchmark::State& state) {
  Window win;
  velk::ShowView(win.ws, velk::ViewKind::Quick1, velk::DeviceCode::Screen);
  win.w->view().repaint();
  const int replays = win.w->view().replays();
  for (auto _ : state) win.w->view().repaint();
  if (win.w->view().replays() != replays) state.SkipWithError("the repaint replayed");
}
BENCHMARK(BM_RepaintFromCache)->Unit(benchmark::kMillisecond);

// A million records as a dense drawing has them: a spiral of short segments in changing colours,
// with a text now and then.
velk::DisplayList& millionRecords(velk::Session& ws) {
  velk::ClearDisplay(ws.display);
  velk::Header(ws.display, -1000, -1000, 1000, 1000);
  double x0 = 0, y0 = 0;
  for (int i = 0; ws.display.records.size() < 1000000; ++i) {
    if (i % 5000 == 0) velk::SetColor(ws.display, 1 + i / 5000 % 15);
    const double a = i * 0.01, r = 1000.0 * (i % 200000) / 200000.0;
    const double x = r * std::cos(a), y = r * std::sin(a);
    if (i % 1000 == 0)
      velk::OutTextXY(ws.display, "T = 12.5 Nmm", x, y);
    else
      velk::DisplayLine(ws.display, x0, y0, x, y);
    x0 = x, y0 = y;
  }
  return ws.display;
}

void replayMillion(benchmark::State& state, bool antialias) {
  velk::gui::QtUi ui;
  velk::Session ws(ui);
  const velk::DisplayList& list = millionRecords(ws);
  QImage image(1024, 768, QImage::Format_RGB32);
  velk::ViewMapping view;
  view.adopt(list);
  view.fitClient(1024, 768);
  const velk::ReplayStyle style = velk::ScreenReplayStyle(ws.config);
  for (auto _ : state) {
    image.fill(Qt::black);
    QPainter p(&image);
    velk::gui::PainterCanvas canvas(p, antialias);
    velk::Replay(list, view, canvas, style);
  }
  state.counters["records"] = static_cast<double>(list.records.size());
}
void BM_ReplayMillionRecords(benchmark::State& state) { replayMillion(state, true); }
BENCHMARK(BM_ReplayMillionRecords)->Unit(benchmark::kMillisecond)->Iterations(3);
void BM_ReplayMillionRecordsAliased(benchmark::State& state) { replayMillion(state, false); }
BENCHMARK(BM_ReplayMillionRecordsAliased)->Unit(benchmark::kMillisecond)->Iterations(3);

// The replay's own share: the same list onto a canvas that draws nothing.
void BM_ReplayMillionRecordsParseOnly(benchmark::State& state) {
  velk::gui::QtUi ui;
  velk::Session ws(ui);
  const velk::DisplayList& list = millionRecords(ws);
  velk::ViewMapping view;
  view.adopt(list);
  view.fitClient(1024, 768);
  velk::bench::DiscardCanvas canvas;
  for (auto _ : state) velk::Replay(list, view, canvas);
}
BENCHMARK(BM_ReplayMillionRecordsParseOnly)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
