// Help image reader throughput: a 1 MB HP-GL/2 file (plain point lists, encoded polylines, arcs,
// circles and labels) read and drawn onto the display list. Target: within 50 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "draw/displaylist.h"
#include "help/hpgl.h"
#include "session/session.h"
#include "ui/headless.h"

namespace {

std::string encodePe(long long n) {
  unsigned long long v = n >= 0 ? 2ULL * n : 2ULL * static_cast<unsigned long long>(-n) + 1;
  std::string out;
  for (;;) {
    const int d = static_cast<int>(v & 63);
    v >>= 6;
    if (v == 0) return out += static_cast<char>(191 + d);
    out += static_cast<char>(63 + d);
  }
}

// About 1 MB of plain point lists, as plotting programs write them (about 10 bytes a point).
std::string makePointLists(size_t bytes) {
  std::string f = "IN;SP1;";
  int round = 0;
  while (f.size() < bytes) {
    f += "PU2000," + std::to_string(2000 + round % 400) + ";PD;PA";
    for (int i = 0; i < 100; ++i) {
      if (i) f += ',';
      f += std::to_string(2000 + 40 * i) + "," +
           std::to_string(2000 + static_cast<int>(1500 * std::sin(i * 0.1 + round)));
    }
    f += ";PU;";
    ++round;
  }
  return f;
}

// About 1 MB in the mix a help image has: a third point lists, a third encoded spirals, the rest
// labels, circles and arcs, in pens 1 to 8. Encoded polylines are dense (2 to 4 bytes a point),
// so this file makes about twice the records of plain point lists.
std::string makeMixed(size_t bytes) {
  std::string f = "IN;SP5;SI0.15,0.25;DI1,0;CS3;";
  int round = 0;
  while (f.size() < bytes) {
    const int pen = 1 + round % 8;
    f += "SP" + std::to_string(pen) + ";PU3200,2400;PD";
    for (int i = 0; i < 60; ++i) {
      const double a = i * 0.2;
      if (i) f += ',';
      f += std::to_string(3200 + static_cast<int>(1500 * std::cos(a) * i / 60)) + "," +
           std::to_string(2400 + static_cast<int>(1500 * std::sin(a) * i / 60));
    }
    f += ";PE<=" + encodePe(3200) + encodePe(2400);
    long long x = 3200, y = 2400;
    for (int i = 1; i < 200; ++i) {
      const double a = i * 5 * 3.14159265358979 / 180;
      const long long nx = 3200 + std::llround((200 + i * 8) * std::cos(a));
      const long long ny = 2400 + std::llround((200 + i * 8) * std::sin(a));
      f += encodePe(nx - x) + encodePe(ny - y);
      x = nx;
      y = ny;
    }
    f += ";PU400,400;CI120;PU1000,4000;LBFederkennlinie: Moment T u}ber alpha\x03";
    f += "PU2000,2000;PD;AA2400,2400,135;PU;";
    ++round;
  }
  return f;
}

void drawFile(benchmark::State& state, const std::string& bytes) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  const std::string path = (std::filesystem::temp_directory_path() / "velk_bench_hpgl.plt").string();
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  size_t records = 0;
  for (auto _ : state) {
    velk::ClearDisplay(ws.display);
    velk::Header(ws.display, 0, 0, 160, 120);
    velk::DrawHpglFile(ws, path);
    records = ws.display.records.size();
    benchmark::DoNotOptimize(records);
  }
  std::remove(path.c_str());
  state.counters["records"] = static_cast<double>(records);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

}  // namespace

static void BM_DrawHpglFile1MBMixed(benchmark::State& state) { drawFile(state, makeMixed(1 << 20)); }
BENCHMARK(BM_DrawHpglFile1MBMixed)->Unit(benchmark::kMillisecond);

static void BM_DrawHpglFile1MBPointLists(benchmark::State& state) { drawFile(state, makePointLists(1 << 20)); }
BENCHMARK(BM_DrawHpglFile1MBPointLists)->Unit(benchmark::kMillisecond);
