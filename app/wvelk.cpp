// wvelk: program entry. Runs the start-up and command line; the batch jobs and the
// window are added here as they become available.
#include <iostream>
#include <string>
#include <vector>

#include "session/session.h"
#include "dialogs/headless.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
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
    case velk::StartOutcome::Kind::OpenWindow:
      std::cerr << "wvelk: the program window is not available in this version; use " << "wvelk /? for the command line\n";
      return 2;
  }
  return 2;
}
