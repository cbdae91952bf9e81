// Spreadsheet workbooks: the standard report as a workbook in process (report through the
// tab-separated destination, conversion, workbook written), and column A of a workbook of
// 100,000 rows read back. peak_rss_MiB is the process's high-water mark: run this file's
// benchmarks alone (--benchmark_filter=Workbook) for the reader's own figure.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "commands/spreadsheetlink.h"
#include "commands/springfile.h"
#include "platform/process.h"
#include "session/session.h"
#include "sheet/workbook.h"
#include "ui/headless.h"

namespace {

std::string benchFolder() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "velk-bench-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) std::abort();
  return tmpl + "/";
}

void BM_ReportWorkbook(benchmark::State& state) {
  velk::keepFreedHeapForReuse();  // as the program entry does
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  const std::string folder = benchFolder();
  ws.config.tempDir = folder;
  ws.tempRoot = folder;
  ws.spring.dataDir = folder;
  velk::readInputFile(ws, std::string(VELK_SOURCE_DATA_DIR) + "/examples/drahtfeder_dynamisch.vlk");
  ws.spring.fileName = "feder";
  for (auto _ : state) {
    // As the menu's printout: the workbook in the private folder, beside nothing.
    std::string out;
    std::string tab;
    if (velk::WriteReportWorkbook(ws, out, &tab) != 0) state.SkipWithError("workbook not written");
    std::remove(tab.c_str());
    std::remove(out.c_str());
  }
  state.SetItemsProcessed(state.iterations());
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReportWorkbook)->Unit(benchmark::kMicrosecond);

// The 100,000-row workbook is written by a child process, so the writer's memory is not in
// this process's high-water mark.
std::string hundredThousandRows(const std::string& folder) {
  const std::string path = folder + "rows.xlsx";
  const pid_t pid = fork();
  if (pid == 0) {
    velk::SheetData data;
    for (int i = 1; i <= 100000; ++i)
      data.rows.push_back({velk::SheetCell::textCell("Zeile " + std::to_string(i) + " mit etwas Text, 12.345")});
    _exit(velk::writeWorkbook(path, data) == 0 ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::abort();
  return path;
}

void BM_ReadWorkbookHundredThousandRows(benchmark::State& state) {
  const std::string folder = benchFolder();
  const std::string path = hundredThousandRows(folder);
  const auto bytes = velk::readWholeFile(path, velk::kMaxWorkbookFileBytes);
  if (!bytes) std::abort();
  for (auto _ : state) {
    const velk::WorkbookColumn column = velk::readWorkbookColumn(*bytes, "rows.xlsx");
    if (!column.ok || column.lines.size() != 100000) state.SkipWithError("not read");
    benchmark::DoNotOptimize(column.lines.data());
  }
  state.counters["file_KiB"] = static_cast<double>(bytes->size()) / 1024.0;
  state.counters["peak_rss_MiB"] = velk::bench::peakRssMiB();
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReadWorkbookHundredThousandRows)->Unit(benchmark::kMillisecond);

}  // namespace
