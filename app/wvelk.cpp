// wvelk: program entry. Batch jobs run headless; any other start opens the window.
#include <iostream>
#include <string>
#include <vector>

#include "base/numfmt.h"
#include "platform/process.h"
#include "dialogs/headless.h"
#include "gui/windowedapp.h"
#include "session/session.h"
#include "shell/startup.h"
#include "shell/xlsxjob.h"

namespace {

// A command line that names a batch job (or /NOGUI) runs without windows.
bool isBatch(const std::vector<std::string>& args) {
  for (const std::string& a : args)
    if (velk::upper(a) == "/NOGUI") return true;
  if (args.size() < 2) return false;
  const std::string second = velk::upper(args[1]);
  return second == "/I" || second.rfind("/CAD", 0) == 0 || second == "/JSON" || second.rfind("/SVG", 0) == 0 ||
         second.rfind("/PDF", 0) == 0 || second == "/XLSX";
}

// noDisplay: a start that would open the window ends with 2 instead.
int runHeadless(const std::vector<std::string>& args, bool noDisplay = false) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  velk::StartOutcome out = velk::runStartup(ws, args);
  switch (out.kind) {
    case velk::StartOutcome::Kind::Exit:
      return out.exitCode;
    case velk::StartOutcome::Kind::JsonOutput:
      return velk::runJsonJob(ws, args.at(0), std::cerr);
    case velk::StartOutcome::Kind::TextReport:
      return velk::runTextReportJob(ws, args.at(0), std::cerr);
    case velk::StartOutcome::Kind::CadOutput:
      return velk::runCadJob(ws, args.at(0), out.cadDevice, out.cadView, std::cerr);
    case velk::StartOutcome::Kind::SvgOutput:
      return velk::runSvgJob(ws, args.at(0), out.cadView, std::cerr);
    case velk::StartOutcome::Kind::XlsxOutput:
      return velk::runXlsxJob(ws, args.at(0), std::cerr);
    case velk::StartOutcome::Kind::PdfOutput:
      return velk::gui::runPdfJob(ws, args.at(0), out.cadView);
    case velk::StartOutcome::Kind::OpenWindow:
      if (noDisplay)
        std::cerr << "wvelk: no display (DISPLAY or WAYLAND_DISPLAY is not set); the window cannot open.\n"
                  << "wvelk: batch jobs run without one: wvelk /? lists them\n";
      else
        std::cerr << "wvelk: /NOGUI: nothing to do without a batch job; use wvelk /? for the command line\n";
      return 2;
  }
  return 2;
}

}  // namespace

// Under LeakSanitizer: what Qt, fontconfig and GLib keep until the process ends is theirs, not ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libQt6\nleak:libfontconfig\nleak:libglib\nleak:libdbus\nleak:libxcb\nleak:libX11\n";
}

int main(int argc, char** argv) {
  velk::keepFreedHeapForReuse();
  std::vector<std::string> args(argv + 1, argv + argc);
  if (isBatch(args)) return runHeadless(args);
  // Without a display the start-up runs without windows: the command-line help and the start's
  // own refusals still reach the terminal; a start that would open the window ends with 2.
  if (!velk::gui::displayAvailable()) return runHeadless(args, true);
  return velk::gui::runWindowed(argc, argv, args);
}
