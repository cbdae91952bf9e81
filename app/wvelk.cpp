// wvelk: program entry. Batch jobs run headless; any other start opens the window.
#include <algorithm>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "base/numfmt.h"
#include "gui/windowedapp.h"
#include "platform/process.h"
#include "session/session.h"
#include "shell/startup.h"
#include "ui/headless.h"

namespace {

// Prints the lines that were not printed before (a note of the start-up is said once, not once
// per spring file).
void printOnce(const std::string& text, std::set<std::string>& said) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);)
    if (said.insert(line).second) std::cerr << line << "\n";
}

// Every spring file of a batch command line is read into a session of its own (nothing of one
// spring reaches the next) and runs every job; the exit code is the highest. noDisplay: a start
// that would open the window ends with 2 instead.
int runHeadless(const velk::CommandLine& cl, bool noDisplay = false) {
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  std::set<std::string> said;
  int code = 0;
  const std::size_t runs = cl.files.empty() ? 1 : cl.files.size();
  for (std::size_t k = 0; k < runs; ++k) {
    velk::Session ws(ui);
    std::ostringstream startMessages;
    ui.setStreams(&startMessages, &std::cout);
    const velk::StartOutcome out = velk::runStartup(ws, cl.files.empty() ? cl : velk::commandLineForFile(cl, k));
    ui.setStreams(&std::cerr, &std::cout);
    printOnce(startMessages.str(), said);
    for (const std::string& n : out.notes) printOnce("wvelk: " + n + "\n", said);
    switch (out.kind) {
      case velk::StartOutcome::Kind::Exit:
        code = std::max(code, out.exitCode);
        break;
      case velk::StartOutcome::Kind::BatchJobs: {
        velk::BatchServices services;
        services.pdfJob = [](velk::Session& s, const std::string& input, int view, std::ostream&) {
          return velk::gui::runPdfJob(s, input, view);
        };
        code = std::max(code, velk::runBatchJobs(ws, out.input, out, services, std::cerr));
        break;
      }
      case velk::StartOutcome::Kind::OpenWindow:
        if (noDisplay)
          std::cerr << "wvelk: no display (DISPLAY or WAYLAND_DISPLAY is not set); the window cannot open.\n"
                    << "wvelk: batch jobs run without one: wvelk /? lists them\n";
        else
          std::cerr << "wvelk: /NOGUI: nothing to do without a batch job; use wvelk /? for the command line\n";
        return 2;
    }
  }
  return code;
}

}  // namespace

// Under LeakSanitizer: what Qt, fontconfig and GLib keep until the process ends is theirs, not ours.
// NOLINTNEXTLINE(bugprone-reserved-identifier): the sanitizer runtime looks this name up.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libQt6\nleak:libfontconfig\nleak:libglib\nleak:libdbus\nleak:libxcb\nleak:libX11\n";
}

int main(int argc, char** argv) {
  velk::keepFreedHeapForReuse();
  std::vector<std::string> args(argv + 1, argv + argc);
  const velk::CommandLine cl = velk::parseCommandLine(args);
  if (cl.version) {
    std::cout << velk::versionText(VELK_VERSION) << "\n";
    return std::cout.flush() ? 0 : 2;
  }
  // -h and --help always answer on stdout; "?" and "/?" too unless a window can show the text.
  if (cl.help && (cl.helpOnStdout || cl.noGui || !velk::gui::displayAvailable())) {
    for (const std::string& line : velk::commandLineHelpText(velk::Spring{}.fileExt))
      std::cout << velk::cp850ToUtf8(line) << "\n";
    return std::cout.flush() ? 0 : 2;
  }
  // An unknown switch ends the run before anything is read or written.
  if (!cl.errors.empty() && !cl.help) {
    for (const std::string& e : cl.errors) std::cerr << "wvelk: " << e << "\n";
    return 1;
  }
  if (velk::isBatchCommandLine(cl)) return runHeadless(cl);
  // Without a display the start-up runs without windows: the start's own refusals still reach
  // the terminal; a start that would open the window ends with 2.
  if (!velk::gui::displayAvailable()) return runHeadless(cl, true);
  return velk::gui::runWindowed(argc, argv, args);
}
