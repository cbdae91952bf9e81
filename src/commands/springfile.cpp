// Loading and saving the spring file: the name dialogs, the messages, and the load that ends
// with the material records and the calculation, used by every command and batch job.
#include "commands/springfile.h"

#include "base/codepage.h"
#include "calc/calculate.h"
#include "calc/materialselect.h"
#include "data/inputfile.h"
#include "dialogs/dialogs.h"

namespace velk {

void calculateLoadedSpring(CalcContext& ws) {
  MaterialLoadResult loaded = LoadMaterialRecords(ws);
  CalculateSpring(ws);
  for (const std::string& m : loaded.messages) {
    AddCalcMessage(ws.messages, m);
    if (m.rfind("Fatal", 0) == 0) ws.messages.fatal = true;
  }
}

void writeInputFile(CalcContext& ws, const std::string& name) {
  std::string path;
  ChooseOutputFile(ws, name, ws.spring.fileExt, path);
  if (ws.abort) return;
  BusyCursor(ws);
  int err = atomicWriteFile(path, inputFileBytes(ws.spring, ws.num()), ws.io);
  NormalCursor(ws);
  if (err != 0) ReportIoError(ws, IoStage::Write, ioCodeFromErrno(err));
}

void readInputFile(CalcContext& ws, const std::string& name) {
  Spring& s = ws.spring;
  std::string path;
  if (name.empty()) {
    OpenFileRequest q;
    q.folder = s.dataDir;
    q.filter = "*." + s.fileExt + "|*." + s.fileExt;
    const std::optional<FileResult> chosen = ws.ui.show(q);
    if (!chosen) {
      ws.abort = true;
      return;
    }
    path = chosen->path;
    s.dataDir = directoryOf(path);
    s.fileName = stripExtension(lastComponent(path));
  } else {
    path = resolveInputName(s, name);
  }
  int err = 0;
  auto bytes = readWholeFile(path, kMaxInputFileBytes, &err);
  if (!bytes) {
    ShowError(ws, "Datei " + oem(trim(path)) + " " + "nicht gefunden oder kein Zugriffsrecht" + " !");
    ws.abort = true;
    return;
  }
  BusyCursor(ws);
  parseInputFile(ws.spring, ws.num(), *bytes);
  ws.abort = false;
  // Every result belongs to the loaded inputs when the reader returns.
  calculateLoadedSpring(ws);
  ws.abort = false;
  NormalCursor(ws);
}

}  // namespace velk
