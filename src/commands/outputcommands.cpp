// The output commands of the main window: printing, the print macro, the picture export and the
// configuration dialog (File), the reports, views and drawings (View) and the CAD output (CAD).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "base/identity.h"
#include "cad/plotprogram.h"
#include "commands/menucommands.h"
#include "dialogs/configform.h"
#include "dialogs/configio.h"
#include "dialogs/dialogs.h"
#include "draw/displaylist.h"
#include "draw/drawing.h"
#include "draw/viewmapping.h"
#include "graphics/output.h"
#include "graphics/productiondrawing.h"
#include "graphics/springdrawing.h"
#include "graphics/views.h"
#include "platform/files.h"
#include "report/reportwriter.h"
#include "reportui/explanations.h"
#include "reportui/printconfig.h"
#include "reportui/reportservice.h"
#include "tables/tableservice.h"

namespace velk {

namespace {

// ---- Printing ----

PrinterInfo currentPrinter(Session& ws) { return ws.ui.printerInfo(); }

std::string workingFolder(const Session& ws) {
  return ws.start.startDir.empty() ? currentDirectory() : ws.start.startDir;
}

std::string documentName(const Session& ws, const std::string& what) {
  std::string name = kAppTitle;
  if (!ws.spring.fileName.empty()) name += " - " + oem(ws.spring.fileName);
  if (!what.empty()) name += " - " + what;
  return name;
}

// Prints the graphics window's drawing as a whole (its first, unzoomed view) with the layout:
// the print service asks for the printer and calls the paint back on the page.
void printDrawing(Session& ws, const PrintLayout& layout, const std::string& name) {
  if (!ws.ui.show(MakePrintDrawingRequest(ws, layout, name))) ws.abort = true;
}

// "Datenbank" of the print form: a stored layout picked in the table browser. lastRecord is
// where the browser opens and what it was left on.
bool loadLayout(Session& ws, std::uint32_t& lastRecord, PrintConfigValues& values) {
  const LayoutTableLocation where = FindPrintLayoutTable(workingFolder(ws), dbfFolder(ws));
  if (!where.ok()) {
    ShowError(ws, where.error);
    return false;
  }
  if (!OpenTableFile(ws.table, ws.diag, ws, where.path)) ws.abort = true;
  if (ws.abort || RecCount(ws.table) == 0) {
    CloseTable(ws.table);
    ws.abort = false;
    return false;
  }
  SetBrowseTitles(ws.table, kPrintLayoutBrowseTitle, "");
  if (lastRecord > 0) GoRecord(ws.table, ws.messages, lastRecord);
  SetHelpNumber(ws, kPrintLayoutBrowseHelp);
  BrowseTable(ws, 1);
  const bool chosen = !ws.abort;
  const std::uint32_t record = static_cast<std::uint32_t>(RecNo(ws.table));
  CloseTable(ws.table);
  ws.abort = false;  // the form stays open either way
  if (!chosen) return false;
  lastRecord = record;
  const LayoutTableOutcome out = LoadPrintLayout(where.path, record, values);
  if (!out.calcMessage.empty()) AddCalcMessage(ws.messages, out.calcMessage);
  if (!out.ok()) {
    ShowError(ws, out.error);
    return false;
  }
  return out.record != 0;
}

// "Übernehmen Datenbank": the form's values appended as a layout under a name the user gives.
void storeLayout(Session& ws, const PrintConfigValues& values) {
  const LayoutTableLocation where = FindPrintLayoutTable(workingFolder(ws), dbfFolder(ws));
  if (!where.ok()) {
    ShowError(ws, where.error);
    return;
  }
  std::string name;
  EnterText(ws, "Name", kPrintLayoutNameLength, name);
  if (ws.abort) {
    ws.abort = false;  // nothing stored; the form stays open
    return;
  }
  const LayoutTableOutcome out = StorePrintLayout(where.path, name, values);
  if (!out.ok()) ShowError(ws, out.error);
}

// The print configuration form in either mode, then the steps its "OK" lists.
void runPrintConfig(Session& ws, PrintConfigMode mode) {
  const PrinterInfo printer = currentPrinter(ws);
  // The preset of what the window shows: the view commands set it (2 for the spring drawing).
  PrintConfigRequest q = MakePrintConfigRequest(ws.config, mode, ws.printSetup.preset, printer);
  std::uint32_t& lastRecord = ws.printSetup.lastLayoutRecord;
  q.loadLayout = [&ws, &lastRecord](PrintConfigValues& values) { return loadLayout(ws, lastRecord, values); };
  q.storeLayout = [&ws](const PrintConfigValues& values) { storeLayout(ws, values); };
  q.choosePrinter = [&ws]() -> std::optional<PrinterChoice> {
    ChoosePrinterRequest request;
    request.caption = oem("Drucker");
    const std::optional<ChoosePrinterResult> chosen = ws.ui.show(request);
    if (!chosen) return std::nullopt;
    return PrinterChoice{PrinterLabel(chosen->name), chosen->landscape};
  };
  // Asked again whenever the form is activated: another window may have changed the printer.
  q.currentPrinterLabel = [&ws] { return PrinterLabel(currentPrinter(ws).name); };
  const std::optional<PrintConfigResult> r = ws.ui.show(q);
  if (!r) {
    ws.abort = true;
    return;
  }
  const PrintConfigOutcome outcome = ApplyPrintConfigResult(ws.config, mode, *r);
  bool paint = false;
  for (const PrintStep step : outcome.steps) {
    switch (step) {
      case PrintStep::SetOrientation:  // the print request carries the orientation
        break;
      case PrintStep::ResetGraphicsWindow:  // the print maps the whole, unzoomed drawing anyway
      case PrintStep::PaintScreen:
        if (ws.display.invalidate) ws.display.invalidate();
        break;
      case PrintStep::BeginDocument:
        break;
      case PrintStep::PaintPrinter:
        paint = true;
        break;
      case PrintStep::EndDocument:
        // Setup mode's empty document only makes a Windows driver take its settings; here it
        // would print a blank page, so there is no document without a drawing.
        if (paint) printDrawing(ws, outcome.layout, documentName(ws, ""));
        break;
      case PrintStep::ShowPrinterInfo:
        ws.ui.show(MakePrinterInfoRequest(printer));
        break;
    }
    if (ws.abort) return;
  }
}

// The caption a macro print names its document with.
std::string macroOutputName(MacroOutput output) {
  switch (output) {
    case MacroOutput::StandardOutput:
      return oem("Standardausdruck");
    case MacroOutput::Excerpt:
      return oem("Auszug");
    case MacroOutput::Quick1:
      return "Quick 1";
    case MacroOutput::Quick2:
      return "Quick 2";
    case MacroOutput::ProductionDrawing:
      return oem("Zeichnung");
    case MacroOutput::Characteristic:
      return oem("Federkennlinie");
    case MacroOutput::Goodman:
      return oem("Goodman-Diagramm");
    case MacroOutput::HaighGoodman:
      return oem("Haigh-Goodman-Diagramm");
  }
  return {};
}

// ---- Configuration dialog ----

// The dialog's "...", "Config" and "Edit" buttons through the value requests. A cancel there
// only keeps the field's text: the dialog stays open, so the flag is cleared again.
class SessionConfigChoosers final : public ConfigFormChoosers {
 public:
  explicit SessionConfigChoosers(Session& ws) : ws_(ws) {}

  std::optional<std::string> chooseFolder(const std::string& start) override {
    std::string result;
    ChooseFolder(ws_, start, result);
    ws_.abort = false;
    return result;  // the start folder again when cancelled
  }
  std::optional<std::string> chooseFile(const std::string& current, const std::string& filter) override {
    std::string result;
    ChooseFileFrom(ws_, current, patternOf(filter), result);
    return taken(result);
  }
  std::optional<std::string> configurePlotLine(const std::string& line) override {
    std::string result = line;
    PlotConfigurationForm(ws_, result);
    return taken(result);
  }
  std::optional<std::string> enterText(const std::string& prompt, int maxLength, const std::string& text) override {
    std::string result = text;
    EnterText(ws_, prompt, maxLength, result);
    return taken(result);
  }

 private:
  std::optional<std::string> taken(const std::string& result) {
    if (!ws_.abort) return result;
    ws_.abort = false;
    return std::nullopt;
  }
  // The file services take a bare pattern; the dialog's filters come as "text|pattern".
  static std::string patternOf(const std::string& filter) {
    const std::size_t bar = filter.find('|');
    if (bar == std::string::npos) return filter;
    const std::size_t end = filter.find('|', bar + 1);
    return filter.substr(bar + 1, end == std::string::npos ? std::string::npos : end - bar - 1);
  }

  Session& ws_;
};

ConfigFormContext configContext(Session& ws, ConfigFormChoosers& choosers) {
  ConfigFormContext c;
  c.applicationTitle = kAppTitle;
  c.programTitle = kProgramTitle;
  c.workingDir = withSeparator(workingFolder(ws));
  c.configDir = ws.start.configDir;
  c.defaultTempDir = ws.tempRoot;
  for (int device = 1; device <= 7; ++device) c.deviceNames.push_back(DeviceChoiceText(ReportDeviceFromCode(device)));
  c.fileName = oem(ws.spring.fileName);
  c.dateTime = todayText(ws.config.num) + " " + timeText();
  c.screen = ws.screen;
  HelpProvider* help = ws.help;
  c.helpHint = [help](std::uint16_t number) { return help ? help->hint(number) : std::string(); };
  c.choosers = &choosers;
  return c;
}

// What the running program does about changed settings.
void actOnConfigChanges(Session& ws, const ConfigChanges& changes) {
  if (changes.folders) CheckFolders(ws);
  if (changes.windowSize) SetupWindowSize(ws);
  if (changes.redraw || changes.windowSize || changes.numberFormat) {
    Refresh(ws);
    ws.abort = false;
  }
  // The window takes its background colour from the configuration when it repaints.
  if ((changes.background || changes.windowSize) && ws.display.invalidate) ws.display.invalidate();
}

}  // namespace

// ---- File ----

void FilePrint(Session& ws) {
  ws.abort = false;
  runPrintConfig(ws, PrintConfigMode::Print);
}

void FilePrinterSetup(Session& ws) {
  ws.abort = false;
  runPrintConfig(ws, PrintConfigMode::Setup);
}

void FilePrintMacro(Session& ws) {
  // Cleared like every other command: a flag left from the last command would stop the macro
  // after its first output.
  ws.abort = false;
  if (ShowMessagesInstead(ws)) return;
  const std::optional<PrintMacroResult> r = ws.ui.show(MakePrintMacroRequest(ws.config.printMacroValue, kAppTitle));
  if (!r) {
    ws.abort = true;
    return;
  }
  ws.config.printMacroValue = ApplyPrintMacroResult(ws.config.printMacroValue, *r);
  for (const MacroJob& job : PrintMacroJobs(ws.config.printMacroValue)) {
    switch (job.kind) {
      case MacroJobKind::Report: {
        const MacroReportDevice printer(ws.config);
        if (job.output == MacroOutput::Excerpt)
          WriteExcerptReport(ws);
        else
          WriteStandardReport(ws);
        break;
      }
      case MacroJobKind::View:
        ShowView(ws, ViewKindFromNumber(job.view).value_or(ViewKind::Quick1), DeviceCode::Screen);
        if (!ws.abort)
          printDrawing(ws, ApplyPrintPreset(job.preset, LayoutFromConfig(ws.config)),
                       documentName(ws, macroOutputName(job.output)));
        break;
      case MacroJobKind::Drawing:
        DrawProductionDrawing(ws, DeviceCode::Screen);
        if (!ws.abort)
          printDrawing(ws, ApplyPrintPreset(job.preset, LayoutFromConfig(ws.config)),
                       documentName(ws, macroOutputName(job.output)));
        break;
    }
    if (ws.abort) return;
  }
}

PrintDrawingRequest MakePrintDrawingRequest(Session& ws, const PrintLayout& layout, const std::string& name) {
  PrintDrawingRequest q;
  q.documentName = name;
  q.landscape = layout.landscape;
  q.paint = [&ws, layout](Canvas& canvas, const PageGeometry& page) {
    ViewMapping view;
    view.adopt(ws.display);
    PrintPage p;
    p.pageWidth = page.width;
    p.pageHeight = page.height;
    p.marginX = layout.originX;
    p.marginY = layout.originY;
    p.scaleX = layout.scaleX;
    p.scaleY = layout.scaleY;
    ReplayStyle style = PrinterReplayStyle(ws.config);
    style.monochrome = layout.monochrome;
    style.frame = layout.border;
    if (Replay(ws.display, PrinterMapping(view, p), canvas, style) == ReplayStatus::Done) return true;
    ws.abort = true;
    return false;
  };
  return q;
}

void FileExportPicture(Session& ws) {
  ws.abort = false;
  ExportPictureRequest q;
  q.caption = "Export Picture";
  q.folder = ws.spring.dataDir;
  q.defaultName = ws.spring.fileName.empty() ? std::string(kAppTitle) : stripExtension(ws.spring.fileName);
  // The window's nominal client size: what the screen shows the drawing at.
  q.size.width = ws.display.W + 1;
  q.size.height = ws.display.H + 1;
  q.size.dpiX = ws.screen.dpiX;
  q.size.dpiY = ws.screen.dpiY;
  q.background = ScreenReplayStyle(ws.config).background;
  q.paint = [&ws](Canvas& canvas, const PageGeometry& page) {
    ViewMapping view;
    view.adopt(ws.display);
    view.fitClient(page.width, page.height);
    if (Replay(ws.display, view, canvas, ScreenReplayStyle(ws.config)) == ReplayStatus::Done) return true;
    ws.abort = true;
    return false;
  };
  // A PDF is a printed page: the print layout and the printer's colour rules.
  q.paintPage = MakePrintDrawingRequest(ws, LayoutFromConfig(ws.config), documentName(ws, "")).paint;
  if (!ws.ui.show(q)) ws.abort = true;
}

void FileConfig(Session& ws) {
  ws.abort = false;
  SessionConfigChoosers choosers(ws);
  int page = 0;
  for (;;) {
    const ConfigFormRequest request = MakeConfigFormRequest(ws.config, configContext(ws, choosers), page);
    const std::optional<ConfigFormResult> result = ws.ui.show(request);
    if (!result) {
      ws.abort = true;
      return;
    }
    const ConfigFormOutcome outcome = FinishConfigForm(ws.config, request, result);
    for (const std::string& message : outcome.messages) ShowError(ws, message);
    ConfigChanges changes = outcome.followUp.changes;
    if (outcome.followUp.import) {
      const Configuration before = ws.config;
      ws.start.configDir = outcome.followUp.import->configDir;
      ws.start.shortName = outcome.followUp.import->shortName;
      ReadConfiguration(ws);
      ws.abort = false;
      CheckFolders(ws);
      changes = ConfigChangesBetween(before, ws.config);
    }
    if (outcome.followUp.writeFile) {
      WriteConfiguration(ws);
      ws.abort = false;  // its failure was reported; the dialog opens again
    }
    actOnConfigChanges(ws, changes);
    if (!outcome.followUp.reopen) return;
    page = result->page;
  }
}

// ---- View ----

void ViewStandard(Session& ws) {
  ws.abort = false;
  WriteStandardReport(ws);
}

void ViewExcerpt(Session& ws) {
  ws.abort = false;
  WriteExcerptReport(ws);
}

namespace {

// A view or the spring drawing on the screen; the print form's preset follows what is shown.
void showView(Session& ws, ViewKind kind) {
  ws.abort = false;
  ws.printSetup.preset = 0;
  ShowView(ws, kind, DeviceCode::Screen);
}

void showDrawing(Session& ws, SpringView view, bool askAngle) {
  ws.abort = false;
  ws.printSetup.preset = 2;
  DrawSpring(ws, view, DeviceCode::Screen, askAngle);
}

}  // namespace

void ViewQuick1(Session& ws) { showView(ws, ViewKind::Quick1); }

void ViewQuick2(Session& ws) { showView(ws, ViewKind::Quick2); }

void ViewCharLine(Session& ws) { showView(ws, ViewKind::Characteristic); }

void ViewGoodman(Session& ws) { showView(ws, ViewKind::Goodman); }

void ViewHaighGoodman(Session& ws) { showView(ws, ViewKind::Haigh); }

// These two are cleared like their neighbours: a flag left set by the last command would let
// the view clear the window and then stop, leaving it empty.
void ViewRmT(Session& ws) { showView(ws, ViewKind::Strength); }

void ViewSigmaBT(Session& ws) { showView(ws, ViewKind::BendingStress); }

void ViewProductionDrawing(Session& ws) {
  ws.abort = false;
  ws.printSetup.preset = 0;
  DrawProductionDrawing(ws, DeviceCode::Screen);
}

void ViewDrawingFront(Session& ws) { showDrawing(ws, SpringView::Front, false); }

void ViewDrawingAngle(Session& ws) { showDrawing(ws, SpringView::Front, true); }

void ViewDrawingSide(Session& ws) { showDrawing(ws, SpringView::Side, false); }

void ViewErrorMessages(Session& ws) {
  ws.abort = false;
  PrintMessageList(ws);
}

// ---- CAD ----

void CadFrontView(Session& ws) {
  ws.abort = false;
  DrawSpring(ws, SpringView::Front, DeviceCode::Ask, true);
}

void CadSideView(Session& ws) {
  ws.abort = false;
  DrawSpring(ws, SpringView::Side, DeviceCode::Ask, false);
}

void CadDiagrams(Session& ws) {
  ws.abort = false;
  ChooseDiagram(ws);
}

}  // namespace velk
