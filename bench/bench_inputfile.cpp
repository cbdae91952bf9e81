// Input file throughput: parse and write of one spring file in memory.
#include <benchmark/benchmark.h>

#include "data/inputfile.h"
#include "session/session.h"
#include "ui/headless.h"

static void BM_InputFileParseAndWrite(benchmark::State& state) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  ws.spring.doc.changeCount = 3;
  for (int i = 0; i < 3; ++i) ws.spring.doc.changes[i] = {"A", "01.01.2026", "ab", "Beschreibung der Aenderung"};
  const std::string bytes = velk::inputFileBytes(ws.spring, ws.num());
  for (auto _ : state) {
    velk::parseInputFile(ws.spring, ws.num(), bytes);
    std::string out = velk::inputFileBytes(ws.spring, ws.num());
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InputFileParseAndWrite);
