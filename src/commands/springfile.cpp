// Loading and saving the spring file: the name dialogs, the messages, and the load that ends
// with the material records and the calculation, used by every command and batch job. A
// workbook (.xlsx) is read as the input file its column A holds.
#include "commands/springfile.h"

#include "base/codepage.h"
#include "calc/calculate.h"
#include "calc/materialselect.h"
#include "data/inputfile.h"
#include "dialogs/dialogs.h"
#include "sheet/workbook.h"

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

namespace {

// The input-file bytes a workbook holds: column A of its first sheet, one line per row, in code
// page 850. nullopt (the reason shown) when it cannot be read.
std::optional<std::string> workbookInputBytes(CalcContext& ws, const std::string& path, std::string_view bytes) {
  const WorkbookColumn column = readWorkbookColumn(bytes, oem(trim(path)));
  if (!column.ok) {
    ShowError(ws, column.error);
    return std::nullopt;
  }
  std::string text;
  for (const std::string& line : column.lines) {
    text += utf8ToCp850(line);
    text += "\r\n";
  }
  return text;
}

}  // namespace

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
  auto bytes = readWholeFile(path, isWorkbookFile(path, {}) ? kMaxWorkbookFileBytes : kMaxInputFileBytes, &err);
  if (!bytes) {
    ShowError(ws, "Datei " + oem(trim(path)) + " " + "nicht gefunden oder kein Zugriffsrecht" + " !");
    ws.abort = true;
    return;
  }
  BusyCursor(ws);
  if (isWorkbookFile(path, *bytes)) {
    // A workbook holds the input file's lines in column A of its first sheet.
    std::optional<std::string> lines = workbookInputBytes(ws, path, *bytes);
    if (!lines) {
      NormalCursor(ws);
      ws.abort = true;
      return;
    }
    bytes = std::move(lines);
  }
  parseInputFile(ws.spring, ws.num(), *bytes);
  ws.abort = false;
  // Every result belongs to the loaded inputs when the reader returns.
  calculateLoadedSpring(ws);
  ws.abort = false;
  NormalCursor(ws);
}

}  // namespace velk
