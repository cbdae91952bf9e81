// The questions before a report and the windows and programs after it.
#include "reportui/reportservice.h"

#include <algorithm>

#include "base/codepage.h"
#include "dialogs/dialogs.h"
#include "report/calcreport.h"
#include "report/columntable.h"
#include "report/printtext.h"
#include "reportui/explanations.h"
#include "tables/tableservice.h"

namespace velk {

namespace {

constexpr const char* kSheetQuestion = "Blatt in Drucker einlegen.  Fortfahren ?";

// Asks for a report file as the save dialog of the file device does: start in the folder
// last chosen for a report (else the data folder), extension ext unless one is typed,
// overwrite question and creation test. The spring's name, extension and folder stay.
std::string chooseReportFile(ReportContext& ws, const std::string& name, const std::string& ext) {
  ReportState& r = ws.report;
  SaveFileRequest q;
  std::string folder = !r.lastFolder.empty()        ? r.lastFolder
                       : !ws.spring.dataDir.empty() ? ws.spring.dataDir
                                                    : ws.config.dataDir;
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  q.folder = folder;
  q.filter = "*." + ext + "|*." + ext;
  if (!name.empty()) q.defaultName = stripExtension(lastComponent(name)) + "." + ext;
  const std::optional<FileResult> chosen = ws.ui.show(q);
  if (!chosen || chosen->path.empty()) {
    ws.abort = true;
    return {};
  }
  std::string path = chosen->path;
  if (!hasExtension(path)) path += "." + ext;
  PrepareOutputFile(ws, path);
  if (ws.abort) return {};
  r.lastFolder = directoryOf(path);
  return path;
}

int linesPerPage(const ReportContext& ws) { return ws.config.linesPerPage < 5 ? 66 : ws.config.linesPerPage; }

// The report window's buttons on the finished report.
class ReportButtons final : public ReportWindowController {
 public:
  ReportButtons(ReportContext& ws, std::string reportFile, std::string windowsFile)
      : ws_(ws), reportFile_(std::move(reportFile)), windowsFile_(std::move(windowsFile)) {}
  void print() override { PrintTextFile(ws_, reportFile_); }
  void exportNotepad() override { ExportNotepad(ws_, windowsFile_); }

 private:
  ReportContext& ws_;
  std::string reportFile_, windowsFile_;
};

void showScreenReport(ReportContext& ws, const ReportDelivery& done) {
  ReportWindowRequest q;
  q.caption = std::string(kAppTitle) + " - " + oem(done.windowsFile);
  for (const std::string& line : splitLines(done.windowsText)) q.lines.push_back(win1252ToCp850(line));
  q.windowsFile = done.windowsFile;
  q.reportFile = done.reportFile;
  q.font = ws.config.printoutFont;
  q.fontSize = ws.config.printoutFontSize;
  q.fontStyle = ws.config.printoutFontStyle;
  const TextWindowRect& saved = ws.config.textWindow;
  q.left = saved.left, q.top = saved.top, q.width = saved.width, q.height = saved.height;
  ReportButtons buttons(ws, q.reportFile, q.windowsFile);
  q.controller = &buttons;
  const std::optional<ReportWindowResult> where = ws.ui.show(q);
  if (where && where->width > 0 && where->height > 0)
    ws.config.textWindow = TextWindowRect{where->left, where->top, where->width, where->height};
}

// Starts the program; nothing waits for it. Start errors show their message.
void launch(ReportContext& ws, const std::vector<std::string>& argv) {
  if (int e = StartProgram(ws.programs, argv)) {
    ws.diag.error(startErrorText(e));
    ws.abort = true;
  }
}

}  // namespace

void FillDeviceChoiceItems(ReportContext& ws) {
  for (int i = 1; i <= 7; ++i) ws.choiceItems[static_cast<std::size_t>(i)] = DeviceChoiceText(ReportDeviceFromCode(i));
}

std::optional<ReportTarget> AskReportTarget(ReportContext& ws, std::optional<ReportDevice> device,
                                            const std::string& name) {
  FillDeviceChoiceItems(ws);

  ReportState& r = ws.report;
  ws.abort = false;
  DiscardReport(r);
  r.copyPath.clear();
  r.pause = false;
  r.sheet = 0;
  r.lines = 0;

  ReportTarget target;
  const ReportDevice configured = ReportDeviceFromCode(ws.config.textDevice);
  r.device = configured != ReportDevice::None ? configured : ReportDevice::Screen;
  SetHelpNumber(ws, 1050);
  if (device) {
    r.device = *device;
  } else if (ws.config.textDeviceAsk) {
    uint16_t choice = static_cast<uint16_t>(ReportDeviceCode(r.device));
    ChooseItem(ws, "Ausgabe auf ..", 7, choice);
    if (ws.abort) return std::nullopt;
    r.device = ReportDeviceFromCode(choice);
  }
  target.device = r.device;

  switch (target.device) {
    case ReportDevice::Port:
      SetHelpNumber(ws, 1060);
      target.pause = AskQuestion(ws, "Pause nach jeder Seite ?");
      break;
    case ReportDevice::File:
      SetHelpNumber(ws, 1070);
      target.file = chooseReportFile(ws, name, "txt");
      break;
    case ReportDevice::Tab:
    case ReportDevice::Batch:
      if (ws.config.textDeviceAsk) target.file = chooseReportFile(ws, name, "txt");
      break;
    case ReportDevice::Html:
      if (!trim(ws.config.htmlBrowser).empty()) {
        target.file = tempFolder(ws) + ws.start.shortName + ".htm";
        PrepareOutputFile(ws, target.file);
      } else {
        target.file = chooseReportFile(ws, name, "htm");
      }
      break;
    case ReportDevice::None:
    case ReportDevice::Screen:
    case ReportDevice::Printer:
    case ReportDevice::TextProgram:
    case ReportDevice::DosFile:
      break;  // nothing to ask
  }
  if (ws.abort) return std::nullopt;
  target.tempFolder = tempFolder(ws);
  target.startDir = ws.start.startDir;
  target.explanationFile = explanationFilePath(ws);
  return target;
}

void OpenReport(ReportContext& ws, std::optional<ReportDevice> device, const std::string& name) {
  const std::optional<ReportTarget> target = AskReportTarget(ws, device, name);
  if (!target) return;
  if (!OpenReport(ws.report, ws, ws, ws.diag, ws.io, *target)) {
    ws.abort = true;
    return;
  }
  if (target->pause) ws.report.confirmSheet = [&ws] { return AskQuestion(ws, kSheetQuestion); };
}

void CloseReport(ReportContext& ws) {
  if (ws.abort) {
    DiscardReport(ws.report);
  } else {
    const ReportDelivery done = CloseReport(ws.report, ws.diag, ws.io);
    if (done.errorMessagesOn) ws.errorMessagesEnabled = true;
    if (done.failed)
      ws.abort = true;
    else
      PresentReport(ws, done);
  }
  NormalCursor(ws);
}

void PresentReport(ReportContext& ws, const ReportDelivery& done) {
  switch (done.show) {
    case ReportDelivery::Show::Window:
      showScreenReport(ws, done);
      return;
    case ReportDelivery::Show::Printer:
      PrintTextFile(ws, done.reportFile);
      return;
    case ReportDelivery::Show::Program:
      launch(ws, done.argv);
      return;
    case ReportDelivery::Show::Nothing:
      return;
  }
}

bool ReportStopped(ReportContext& ws) {
  if (!ws.report.failed) return false;
  ws.abort = true;
  return true;
}

void PrintTextFile(ReportContext& ws, const std::string& path) {
  auto bytes = readWholeFile(path);
  if (!bytes) {
    ws.diag.error(oem(path) + " not found !");
    ws.abort = true;
    return;
  }
  PrintTextRequest q;
  q.documentName = oem(lastComponent(path));
  q.lines = splitLines(*bytes);
  if (ws.num().plainChars == 1)
    for (std::string& l : q.lines) l = plainText(l);
  q.pageCount = std::max(CountPageBreaks(q.lines), 1);
  q.linesPerPage = linesPerPage(ws);
  q.font = ws.config.printoutFont;
  q.fontSize = ws.config.printoutFontSize;
  q.fontStyle = ws.config.printoutFontStyle;
  const std::optional<PrintTextResult> printed = ws.ui.show(q);
  if (printed && printed->noPrinter) {
    ws.diag.error("kein Drucker vorhanden");
    ws.abort = true;
  }
}

void ExportNotepad(ReportContext& ws, const std::string& path) {
  const ProgramCommand cmd = commandForFile("notepad", path);
  if (cmd.status != ProgramCommand::Status::Ready) {
    ws.diag.error(oem(cmd.program.empty() ? std::string("notepad") : cmd.program) + " not found");
    ws.abort = true;
    return;
  }
  launch(ws, cmd.argv);
}

namespace {

// Header, fatal check, questions and opening of a calculation report, its pages, its delivery.
void calcReport(ReportContext& ws, bool (*pages)(ReportState&, const Document&, const Settings&)) {
  SetCalcReportHeader(ws.report, ws.spring);
  if (ws.messages.fatal) {
    ShowMessageWindow(ws);
    return;
  }
  OpenReport(ws, kDeviceAsk, ws.spring.fileName + ".TXT");
  if (ws.abort) return;
  if (!pages(ws.report, ws, ws)) {
    ws.abort = true;
    return;
  }
  CloseReport(ws);
}

}  // namespace

void WriteStandardReport(ReportContext& ws) { calcReport(ws, WriteStandardReportPages); }
void WriteExcerptReport(ReportContext& ws) { calcReport(ws, WriteExcerptReportPages); }

void PrintTableListing(ReportContext& ws, int mode) {
  if (!ws.table.dbf.isOpen()) return;
  const std::vector<std::string> head = BrowserPrintHeader(ws.table, mode);
  auto line = [&](std::size_t i) { return i < head.size() ? head[i] : std::string(); };
  SetReportHeader(ws.report, line(0), line(1), line(2), line(3), line(4), 0);
  OpenReport(ws, kDeviceAsk, ws.table.dbf.path());
  if (ws.abort) return;
  WritePageHeader(ws.report, 0, 0);
  if (ReportStopped(ws)) return;
  ReportTableListing listing(ws.report);
  BrowserPrint(ws.table, listing);
  listing.finish();
  if (ReportStopped(ws)) return;
  EndPage(ws.report);
  CloseReport(ws);
}

}  // namespace velk
