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

namespace {

// noDisplay: a start that would open the window ends with 2 instead.
int runHeadless(const std::vector<std::string>& args, bool noDisplay = false) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  velk::StartOutcome out = velk::runStartup(ws, args);
  for (const std::string& n : out.notes) std::cerr << "wvelk: " << n << "\n";
  switch (out.kind) {
    case velk::StartOutcome::Kind::Exit:
      return out.exitCode;
    case velk::StartOutcome::Kind::BatchJobs: {
      velk::BatchServices services;
      services.pdfJob = [](velk::Session& s, const std::string& input, int view, std::ostream&) {
        return velk::gui::runPdfJob(s, input, view);
      };
      return velk::runBatchJobs(ws, args.at(0), out, services, std::cerr);
    }
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
  if (velk::isBatchCommandLine(velk::parseCommandLine(args))) return runHeadless(args);
  // Without a display the start-up runs without windows: the command-line help and the start's
  // own refusals still reach the terminal; a start that would open the window ends with 2.
  if (!velk::gui::displayAvailable()) return runHeadless(args, true);
  return velk::gui::runWindowed(argc, argv, args);
}
