// Report writer throughput: a typical calculation report (~80 value rows in titled sections
// with the message section) written, delivered and cleaned up, per device group.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/codepage.h"
#include "commands/springfile.h"
#include "data/inputfile.h"
#include "report/calcreport.h"
#include "report/reportwriter.h"
#include "reportui/reportservice.h"
#include "session/session.h"
#include "ui/headless.h"

namespace {

// A private folder for the benchmark's temporary files and results.
std::string benchFolder() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "velk-bench-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) std::abort();
  return tmpl + "/";
}

void typicalReport(velk::Session& ws, velk::ReportDevice device) {
  using namespace velk;
  SetReportHeader(ws.report, std::string(kAppTitle) + " V" + kVersion + "  Spiralfederberechnung",
                  FormatNumberLine("Spirale 12", "4711-A"), "Testfeder", "Bemerkung 1", "Bemerkung 2", 0);
  OpenReport(ws, device, "feder.TXT");
  if (ws.abort) return;
  WritePageHeader(ws.report, 0, 0);
  const NumberSettings& s = ws.num();
  for (int section = 0; section < 8; ++section) {
    KeepTogether(ws.report, 0);
    WriteTextLine(ws.report, "");
    WriteSectionTitle(ws.report, "ABSCHNITT " + fmtInt(section + 1));
    for (int row = 0; row < 10; ++row)
      WriteValueRow(ws.report, oem("Windungsradius außen"), "re" + fmtInt(row), unitLength(s),
                    fmtFixed(s, 6, 2, 100.25L * (row + 1)));
  }
  WriteMessageSection(ws.report, ws.messages);
  EndPage(ws.report);
  CloseReport(ws);
}

void runReports(benchmark::State& state, velk::ReportDevice device) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  const std::string folder = benchFolder();
  ws.config.tempDir = folder;
  ws.config.htmlBrowser.clear();
  ws.spring.fileName = folder + "feder";
  ws.report.fixedDate = "01.02.2024";
  ws.report.fixedTime = "9:05";
  velk::AddCalcMessage(ws.messages, "Warnung: n0 < 2 !");
  for (auto _ : state) {
    typicalReport(ws, device);
    if (ws.abort) state.SkipWithError("report failed");
  }
  state.SetItemsProcessed(state.iterations() * 80);  // value rows
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

}  // namespace

// Tab device 9 (the batch job): temporary "$$$n.txt", copy into name + ".txt", removal.
static void BM_ReportTabBatch(benchmark::State& state) { runReports(state, velk::ReportDevice::Batch); }
BENCHMARK(BM_ReportTabBatch)->Unit(benchmark::kMicrosecond);

// Text device 8: framed, paginated text, "OUTDOS.TXT" and its Windows copy.
static void BM_ReportTextDosFile(benchmark::State& state) { runReports(state, velk::ReportDevice::DosFile); }
BENCHMARK(BM_ReportTextDosFile)->Unit(benchmark::kMicrosecond);

// Formatting alone: a code above 9 formats every line as text and delivers nothing.
static void BM_ReportFormattingOnly(benchmark::State& state) { runReports(state, velk::ReportDeviceFromCode(99)); }
BENCHMARK(BM_ReportFormattingOnly)->Unit(benchmark::kMicrosecond);

// The standard calculation report of a shipped example (dynamic round wire with lifetime rows
// and a message with its explanation) on the tab device 6, delivered and cleaned up.
static void BM_StandardReportTab(benchmark::State& state) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  const std::string folder = benchFolder();
  ws.config.tempDir = folder;
  ws.config.textDevice = velk::ReportDeviceCode(velk::ReportDevice::Tab);
  ws.config.textDeviceAsk = false;
  velk::readInputFile(ws, std::string(VELK_SOURCE_DATA_DIR) + "/examples/drahtfeder_dynamisch.vlk");
  if (ws.abort) state.SkipWithError("example not readable");
  for (auto _ : state) {
    velk::WriteStandardReport(ws);
    if (ws.abort) state.SkipWithError("report failed");
  }
  state.SetItemsProcessed(state.iterations());
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}
BENCHMARK(BM_StandardReportTab)->Unit(benchmark::kMicrosecond);
