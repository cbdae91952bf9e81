// wvelk: program entry. Runs the start-up and command line; the batch jobs and the
// window are added here as they become available.
#include <iostream>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "dialogs/headless.h"
#include "graphics/springdrawing.h"
#include "graphics/views.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Workspace ws(ui);
  velk::StartOutcome out = velk::runStartup(ws, args);
  switch (out.kind) {
    case velk::StartOutcome::Kind::Exit:
      return out.exitCode;
    case velk::StartOutcome::Kind::JsonOutput:
      return velk::runJsonJob(ws, args.at(0), std::cerr);
    case velk::StartOutcome::Kind::TextReport:
      std::cerr << "wvelk: the text report (/I) is not available in this version; nothing was written\n";
      return 2;
    case velk::StartOutcome::Kind::CadOutput: {
      if (ws.messages.fatal) {
        velk::printCalcMessages(ws, std::cerr);
        return 2;
      }
      const int j = out.cadView;
      if (j < 1 || j > 8) {
        std::cerr << "wvelk: view " << j << " does not exist (1..8); nothing was drawn\n";
        return 0;
      }
      ws.start.batchCad = true;
      ws.abort = false;
      if (j <= 6)
        velk::ShowView(ws, j, out.cadDevice);
      else
        velk::DrawSpring(ws, j == 7 ? velk::kFrontView : velk::kSideView, out.cadDevice, false);
      ws.start.batchCad = false;
      return ws.abort ? 2 : 0;
    }
    case velk::StartOutcome::Kind::OpenWindow:
      std::cerr << "wvelk: the program window is not available in this version; use " << "wvelk /? for the command line\n";
      return 2;
  }
  return 2;
}
