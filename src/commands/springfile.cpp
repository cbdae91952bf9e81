// Loading and saving the spring file: the name dialogs, the messages, and the load that ends
// with the material records and the calculation, used by every command and batch job. A
// workbook (.xlsx) is read as the input file its column A holds.
#include "commands/springfile.h"

#include "base/codepage.h"
#include "calc/calculate.h"
#include "calcservice/materialselect.h"
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
  if (err != 0) ReportIoError(ws, IoStage::Write, path, err);
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

std::vector<std::string> readInputFile(CalcContext& ws, const std::string& name,
                                       const std::function<void(CalcContext&)>& beforeCalculation,
                                       bool notesToMessages) {
  Spring& s = ws.spring;
  std::string path;
  if (name.empty()) {
    OpenFileRequest q;
    q.folder = s.dataDir;
    q.filter = "*." + s.fileExt + "|*." + s.fileExt;
    const std::optional<FileResult> chosen = ws.ui.show(q);
    if (!chosen) {
      ws.abort = true;
      return {};
    }
    path = chosen->path;
  } else {
    path = resolveInputName(s, name);
  }
  const std::string shown = oem(trim(path));
  auto refuse = [&ws](const std::string& text) {
    ShowError(ws, text);
    ws.abort = true;
    return std::vector<std::string>{};
  };
  // A FIFO or a device would block the open or never end; only a regular file is read.
  const FileKind kind = fileKind(path);
  if (kind == FileKind::Other) return refuse("Datei " + shown + oem(" ist keine gewöhnliche Datei !"));
  const bool workbook = isWorkbookFile(path, {});
  const std::size_t limit = workbook ? kMaxWorkbookFileBytes : kMaxInputFileBytes;
  const bool cut = kind == FileKind::Regular && fileSize(path) > limit;
  int err = 0;
  auto bytes = readWholeFile(path, limit, &err);
  if (!bytes) return refuse("Datei " + shown + " " + "nicht gefunden oder kein Zugriffsrecht" + " !");
  const bool fromWorkbook = isWorkbookFile(path, *bytes);
  if (fromWorkbook) {
    // A workbook holds the input file's lines in column A of its first sheet.
    if (cut) return refuse("Datei " + shown + oem(" ist zu groß für eine Arbeitsmappe !"));
    std::optional<std::string> lines = workbookInputBytes(ws, path, *bytes);
    if (!lines) {
      ws.abort = true;
      return {};
    }
    bytes = std::move(lines);
  }
  // A workbook may hold any table: its column A must look like a spring file line by line.
  if (const std::string why = fromWorkbook ? notSpringWorkbookReason(*bytes) : notSpringFileReason(*bytes);
      !why.empty())
    return refuse("Datei " + shown + " ist keine Federdatei (" + why + ") !");
  // Only a file that is read names the spring: a refused one leaves name, caption, spring and
  // modified flag as they were, so that a save still goes to the spring's own file.
  if (name.empty()) {
    s.dataDir = directoryOf(path);
    s.fileName = stripExtension(lastComponent(path));
  }
  BusyCursor(ws);
  std::vector<std::string> notes;
  if (cut) notes.push_back("Datei " + shown + oem(" ist größer als 16 MiB: nur die ersten 16 MiB gelesen"));
  parseInputFile(ws.spring, ws.num(), *bytes, &notes);
  ws.abort = false;
  if (beforeCalculation) {
    beforeCalculation(ws);
    if (ws.abort) {
      NormalCursor(ws);
      return notes;
    }
  }
  // Every result belongs to the loaded inputs when the reader returns.
  calculateLoadedSpring(ws);
  if (notesToMessages)
    for (const std::string& n : notes) AddCalcMessage(ws.messages, n);
  ws.abort = false;
  NormalCursor(ws);
  return notes;
}

}  // namespace velk
