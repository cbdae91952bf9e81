// CAD -> 3D model (STEP): the spring at the installation angle the user chooses, as a STEP file.
#include <optional>
#include <string>

#include "base/codepage.h"
#include "commands/menucommands.h"
#include "data/inputfile.h"
#include "dialogs/dialogs.h"
#include "graphics/springdrawing.h"
#include "graphics/views.h"
#include "platform/files.h"
#include "step/stepmodel.h"

namespace velk {

void CadStepModel(Session& ws) {
  ws.abort = false;
  if (ShowMessagesInstead(ws)) return;
  Spring& s = ws.spring;
  AskInstallationAngle(ws);
  if (ws.abort) return;

  // The spring's own folder and bare name are offered; a name without extension gets ".step".
  const std::string springPath = s.fileName.empty() ? std::string() : resolveInputName(s, s.fileName);
  const std::string bare = s.fileName.empty() ? std::string("VELK") : stripExtension(lastComponent(s.fileName));
  SaveFileRequest q;
  q.caption = "3D-Modell (STEP)";
  q.folder = springPath.empty() ? s.dataDir : directoryOf(springPath);
  q.filter = "*.step|*.step;*.stp|*.*|*.*";
  q.defaultName = bare + ".step";
  const std::optional<FileResult> chosen = ws.ui.show(q);
  if (!chosen || chosen->path.empty()) {
    ws.abort = true;
    return;
  }
  std::string path = chosen->path;
  if (!hasExtension(path)) path += ".step";
  PrepareOutputFile(ws, path);  // asks before replacing a file; refuses a name that cannot be created
  if (ws.abort) return;

  BusyCursor(ws);
  const StepResult r = WriteSpringStep(s, s.delta0 - s.deltaDraw, path, ws.io);
  NormalCursor(ws);
  if (!r.problem.empty()) {
    ShowError(ws, r.problem);
    ws.abort = true;
  } else if (r.ioError != 0) {
    ReportIoError(ws, IoStage::Write, path, r.ioError);
  }
}

}  // namespace velk
