// The spreadsheet link: the menu "OLE" and the file overview's "Export Excel". Each writes a
// workbook into the private temporary folder and opens it with the spreadsheet program; the
// import reads column A of a workbook as the lines of an input file and loads it like File->Open.
#include "commands/spreadsheetlink.h"

#include <cstdio>

#include "base/codepage.h"
#include "commands/menucommands.h"
#include "commands/springfile.h"
#include "data/inputfile.h"
#include "dialogs/dialogs.h"
#include "report/reportfiles.h"
#include "reportui/explanations.h"
#include "reportui/reportservice.h"

namespace velk {

namespace {

// Widths of the report's columns: label, symbol, unit, values.
const std::vector<double> kReportColumnWidths = {42, 10, 10, 14, 14};

// The overview's columns that hold texts even when they look like numbers: file name, date,
// drawing number, material.
bool overviewTextColumn(std::size_t column) { return column <= 2 || column == 17; }

std::vector<std::string> splitTabs(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t from = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', from);
    fields.emplace_back(line.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from));
    if (tab == std::string_view::npos) return fields;
    from = tab + 1;
  }
}

// A new workbook's path in the private temporary folder.
std::string privateWorkbookPath(Session& ws, const std::string& bare) {
  return withSeparator(ws.tempRoot) + bare + ".xlsx";
}

// The lines of the spring's input file for copyFileToSheet; false (message, abort) when the
// spring has no file or it cannot be read.
bool inputFileLines(Session& ws, std::vector<std::string>& lines) {
  const std::string& name = ws.spring.fileName;
  if (name.empty()) {
    ShowError(ws, "File not found. Use \"File->Save\"");
    ws.abort = true;
    return false;
  }
  const std::string path = resolveInputName(ws.spring, name);
  const auto bytes = readWholeFile(path, kMaxInputFileBytes);
  if (!bytes) {
    ShowError(ws, "Datei " + oem(trim(path)) + " " + "nicht gefunden oder kein Zugriffsrecht" + " !");
    ws.abort = true;
    return false;
  }
  lines = splitLines(*bytes);
  return true;
}

// copyFileToSheet: the input file into a new workbook, opened with the spreadsheet program.
void copyFileToSheet(Session& ws) {
  std::vector<std::string> lines;
  if (!inputFileLines(ws, lines)) return;
  ++ws.spreadsheetWorkbooks;
  const std::string path = privateWorkbookPath(
      ws, stripExtension(lastComponent(ws.spring.fileName)) + "-" + fmtInt(ws.spreadsheetWorkbooks));
  BusyCursor(ws);
  const int err = writeWorkbook(path, inputFileSheet(ws.num(), lines), ws.io, false);
  NormalCursor(ws);
  if (err != 0) {
    ReportIoError(ws, IoStage::Create, path, err);
    ws.abort = true;
    return;
  }
  if (!OpenWorkbook(ws, path)) {
    ShowError(ws, "Excel kann nicht gestartet werden");
    ws.abort = true;
  }
}

}  // namespace

SheetData tabReportSheet(std::string_view windowsText, bool decimalComma) {
  SheetData data;
  data.columnWidths = kReportColumnWidths;
  for (const std::string& line : splitLines(windowsText)) {
    SheetRow row;
    const std::vector<std::string> fields = splitTabs(line);
    for (std::size_t c = 0; c < fields.size(); ++c) {
      const std::string text = win1252ToUtf8(fields[c]);
      if (trim(text).empty())
        row.emplace_back();
      else if (c >= 3)
        row.push_back(cellFromText(text, decimalComma));
      else
        row.push_back(SheetCell::textCell(text));
    }
    data.rows.push_back(std::move(row));
  }
  return data;
}

SheetData overviewSheet(const std::vector<OverviewTableRow>& rows, bool decimalComma) {
  SheetData data;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    SheetRow row;
    for (std::size_t c = 0; c < rows[r].cells.size(); ++c) {
      const std::string text = cp850ToUtf8(rows[r].cells[c]);
      if (trim(text).empty())
        row.emplace_back();
      else if (r == 0 || overviewTextColumn(c))
        row.push_back(SheetCell::textCell(text));
      else
        row.push_back(cellFromText(text, decimalComma));
    }
    data.rows.push_back(std::move(row));
  }
  return data;
}

SheetData inputFileSheet(const NumberSettings& num, const std::vector<std::string>& lines) {
  SheetData data;
  data.rows.reserve(lines.size());
  for (const std::string& line : lines) {
    // The display conversion, without its limit of 255 characters: no line is dropped.
    data.rows.push_back({SheetCell::textCell(win1252ToUtf8(windowsText(num, line)))});
  }
  return data;
}

int WriteReportWorkbook(Session& ws, std::string& path, std::string* tabFile) {
  const int device = ws.config.textDevice;
  const bool ask = ws.config.textDeviceAsk;
  ws.config.textDevice = ReportDeviceCode(ReportDevice::Tab);
  ws.config.textDeviceAsk = false;
  ws.abort = false;
  ws.report.copyPath.clear();
  // The sheet names the workbook it becomes, or, when that lies in the private temporary folder,
  // the spring's file: never the temporary text it passes through.
  ws.report.tabShownName = path.empty() ? trim(ws.spring.fileName) + "." + ws.spring.fileExt : path;
  WriteStandardReport(ws);
  ws.report.tabShownName.clear();
  ws.config.textDevice = device;
  ws.config.textDeviceAsk = ask;
  if (ws.abort) return EIO;
  const std::string tab = ws.report.copyPath;
  if (tabFile) *tabFile = tab;
  const bool privateFile = path.empty();
  if (privateFile) path = privateWorkbookPath(ws, stripExtension(lastComponent(tab)));
  int err = 0;
  const auto text = tab.empty() ? std::nullopt : readWholeFile(tab, kMaxWorkbookFileBytes, &err);
  if (!text) {
    if (err == 0) err = ENOENT;
    ReportIoError(ws, IoStage::Create, tab, err);
    ws.abort = true;
    return err;
  }
  err = writeWorkbook(path, tabReportSheet(*text, ws.num().spreadsheetDecimal == 2), ws.io, !privateFile);
  if (err != 0) {
    ReportIoError(ws, IoStage::Create, path, err);
    ws.abort = true;
  }
  return err;
}

bool SpreadsheetAvailable(const Session& ws) {
  return commandForFile(ws.spreadsheetProgram, "-").status == ProgramCommand::Status::Ready;
}

bool OpenWorkbook(Session& ws, const std::string& path) {
  const ProgramCommand cmd = commandForFile(ws.spreadsheetProgram, path);
  if (cmd.status != ProgramCommand::Status::Ready) return false;
  return StartProgram(ws.programs, cmd.argv) == 0;
}

// ---- The menu "OLE" ----

void OleStartExcel(Session& ws) {
  ws.abort = false;
  if (ws.spring.fileName.empty()) {
    ShowInfo(ws, oem("Zuerst müssen Sie Ihre Eingabedaten speichern (Menü \"Datei->Speichern\")"));
    ws.abort = true;
    return;
  }
  if (!SpreadsheetAvailable(ws)) {
    ShowError(ws, "Excel kann nicht gestartet werden");
    ws.abort = true;
    return;
  }
  copyFileToSheet(ws);
  if (ws.abort) return;
  ws.spreadsheetStarted = true;
}

void OleExportExcel(Session& ws) {
  ws.abort = false;
  if (!ws.spreadsheetStarted) return;
  if (ws.spring.modified) {
    writeInputFile(ws, ws.spring.fileName);
    if (ws.abort) return;
    ws.spring.modified = false;
    SetCaption(ws);
  }
  copyFileToSheet(ws);
}

void OleImportExcel(Session& ws) {
  ws.abort = false;
  if (!ws.spreadsheetStarted) return;
  SavePrompt(ws);
  if (ws.abort) return;
  OpenFileRequest q;
  q.caption = "Import Excel -> VELK";
  q.folder = ws.spring.dataDir;
  q.filter = "*.xlsx|*.xlsx";
  const std::optional<FileResult> chosen = ws.ui.show(q);
  if (!chosen) {
    ws.abort = true;
    return;
  }
  readInputFile(ws, chosen->path);
  if (ws.abort) return;
  // The spring did not come from its file: it is saved as the workbook's name with the
  // extension of input files, beside the workbook, and is unsaved until then.
  ws.spring.dataDir = directoryOf(chosen->path);
  ws.spring.fileName = stripExtension(lastComponent(chosen->path));
  ws.spring.modified = true;
  Refresh(ws);
  SetCaption(ws);
}

void OlePrintoutExcel(Session& ws) {
  ws.abort = false;
  if (ws.messages.fatal) {
    ShowMessageWindow(ws);
    return;
  }
  if (!SpreadsheetAvailable(ws)) {
    ShowError(ws, "Excel kann nicht gestartet werden");
    return;
  }
  std::string path;  // beside nothing: named after the text file, in the private folder
  BusyCursor(ws);
  const int err = WriteReportWorkbook(ws, path);
  NormalCursor(ws);
  if (err != 0) return;
  if (!OpenWorkbook(ws, path)) ShowError(ws, "Excel kann nicht gestartet werden");
}

void OleExportOverview(Session& ws, const std::vector<OverviewTableRow>& rows) {
  if (!SpreadsheetAvailable(ws)) {
    ShowError(ws, "Could not start Excel");
    return;
  }
  ++ws.spreadsheetWorkbooks;
  const std::string path = privateWorkbookPath(ws, "overview-" + fmtInt(ws.spreadsheetWorkbooks));
  BusyCursor(ws);
  const int err = writeWorkbook(path, overviewSheet(rows, ws.num().decimalComma == 2), ws.io, false);
  NormalCursor(ws);
  if (err != 0) {
    ReportIoError(ws, IoStage::Create, path, err);
    return;
  }
  if (!OpenWorkbook(ws, path)) ShowError(ws, "Could not start Excel");
}

}  // namespace velk
