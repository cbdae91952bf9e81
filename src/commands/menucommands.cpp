// The main window's shared procedures, the File menu's file commands and the dispatcher from a
// menu item to its command. The other menus' commands are in editcommands.cpp,
// outputcommands.cpp and othercommands.cpp.
#include "commands/menucommands.h"

#include "base/codepage.h"
#include "base/identity.h"
#include "calc/calculate.h"
#include "calcservice/designtable.h"
#include "calcservice/materialselect.h"
#include "commands/commandhelpers.h"
#include "commands/fileoverview.h"
#include "commands/springfile.h"
#include "data/inputfile.h"
#include "dialogs/configio.h"
#include "dialogs/dialogs.h"
#include "docs/docmenu.h"
#include "draw/displaylist.h"
#include "graphics/productiondrawing.h"
#include "graphics/springdrawing.h"
#include "graphics/views.h"
#include "reportui/explanations.h"

namespace velk {

namespace {

// The full path of the spring's file as the recent-file list keeps it.
std::string springFilePath(const Spring& s) { return resolveInputName(s, s.fileName); }

// The material table of the spring's cross-section has the fatigue values sighz needs.
bool hasFatigueData(const Session& ws) {
  const auto present = [](const FatigueValues& v) { return v.upper > 0 || v.stroke > 0; };
  if (ws.spring.crossSection == 2) return present(ws.materials.wire.plain) || present(ws.materials.wire.peened);
  return present(ws.materials.strip.plain) || present(ws.materials.strip.peened);
}

}  // namespace

// ---- Shared procedures ----

namespace {

// SavePrompt; true when it let unsaved inputs go without saving them. The command that asked
// replaces them; when it does not (a refused or cancelled file), they are unsaved still.
bool savePromptDropped(Session& ws) {
  Spring& s = ws.spring;
  const bool modified = s.modified;
  if (ws.start.startedWithFile && ws.config.archiveMode) {
    s.modified = false;
    return modified;
  }
  if (!s.fileName.empty() && s.modified) {
    const std::string name =
        ws.start.startedWithFile ? s.fileName : withSeparator(s.dataDir) + s.fileName + "." + s.fileExt;
    const bool yes = AskQuestion(ws, "Datei speichern (" + oem(name) + ") ?");
    if (ws.abort) return false;
    if (yes) {
      const bool prompt = ws.overwritePrompt;
      ws.overwritePrompt = false;
      writeInputFile(ws, s.fileName);
      ws.overwritePrompt = prompt;
      // A save that failed keeps the inputs marked as unsaved, and the command that asked stops:
      // nothing may replace inputs that are on no disk.
      if (ws.abort) return false;
    }
    s.modified = false;
    return !yes;
  }
  if (s.modified) {
    const bool yes = AskQuestion(ws, "Bisherige Eingaben verwerfen ?");
    if (ws.abort) return false;
    if (yes) {
      s.modified = false;
      return true;
    }
    ws.abort = true;
  }
  return false;
}

}  // namespace

void SavePrompt(Session& ws) { savePromptDropped(ws); }

void EditSpringTexts(Session& ws) {
  const Spring& s = ws.spring;
  SpringTextsRequest q;
  q.caption = "Eingabe";
  q.labels = {"Zeichnungsname", "Zeichnungsname 2", "Zeichnungsnummer", "Zeile 1", "Zeile 2"};
  q.values = {s.zeichname, s.zeichname2, s.zeichnr, s.bemerk1, s.bemerk2};
  q.lengths = {kLenZeichname, kLenZeichname2, kLenZeichnr, kLenBemerk, kLenBemerk};
  q.helpNumber = ws.helpNumber;
  q.help = ws.help;
  const std::optional<SpringTextsResult> r = ws.ui.show(q);
  if (!r) {
    ws.abort = true;
    return;
  }
  storeSpringTexts(ws.spring, SpringTexts{r->zeichname, r->zeichname2, r->zeichnr, r->bemerk1, r->bemerk2});
}

void InputSequence(Session& ws) {
  Spring& s = ws.spring;
  EditSpringTexts(ws);
  if (ws.abort) return;

  const std::optional<CalcSettingsResult> settings =
      ws.ui.show(buildCalcSettingsRequest(s, ws.config.num, FormContext(ws)));
  if (!settings) {
    ws.abort = true;
    return;
  }
  applyCalcSettings(s, ws.config.num, *settings);

  SelectMaterial(ws);
  if (ws.abort) return;

  const std::optional<SpringEndsResult> ends = ws.ui.show(buildSpringEndsRequest(s, ws.config.num, FormContext(ws)));
  if (!ends) {
    ws.abort = true;
    return;
  }
  applySpringEnds(s, ws.config.num, *ends);

  const std::optional<ApplicationResult> application =
      ws.ui.show(buildApplicationRequest(s, ws.config.num, FormContext(ws)));
  if (!application) {
    CalculateSpring(ws);
    ws.abort = false;
    return;
  }
  applyApplication(s, ws.config.num, *application);

  RecalculationTable(ws, [&ws](CalcContext&) { QuickViewOfPass(ws); });
  const bool aborted = ws.abort;
  CalculateSpring(ws);
  s.modified = true;
  ShowMessageWindow(ws);
  ws.abort = aborted;
}

void Refresh(Session& ws) {
  const RefreshView view = refreshView(ws.config.defaultResultGraphic, ws.config.helpLevel);
  if (view != RefreshView::None) ws.printSetup.preset = view == RefreshView::FrontDrawing ? 2 : 0;
  switch (view) {
    case RefreshView::None:
      return;
    case RefreshView::Quick1:
      ShowView(ws, ViewKind::Quick1, DeviceCode::Screen);
      return;
    case RefreshView::Quick2:
      ShowView(ws, ViewKind::Quick2, DeviceCode::Screen);
      return;
    case RefreshView::ProductionDrawing:
      DrawProductionDrawing(ws, DeviceCode::Screen);
      return;
    case RefreshView::FrontDrawing:
      DrawSpring(ws, SpringView::Front, DeviceCode::Screen, false);
      return;
    case RefreshView::Characteristic:
      ShowView(ws, ViewKind::Characteristic, DeviceCode::Screen);
      return;
  }
}

void SetCaption(Session& ws) {
  SetWindowTitle(ws);
  NormalCursor(ws);
}

void SwitchLanguage(Session& ws, int language) {
  ws.config.language = language >= 0 && language <= 9 ? language : 0;
  SetCaption(ws);
  KeepConfiguration(ws);
}

MenuModel CurrentMenu(const Session& ws) {
  MenuInput in;
  in.language = ws.config.language;
  in.recentFiles = ws.start.recentFiles;
  in.messageCount = ws.messages.count;
  in.spreadsheetStarted = ws.spreadsheetStarted;
  return buildMainMenu(in);
}

void AddToRecentFiles(Session& ws) {
  if (ws.spring.fileName.empty()) return;
  addRecentFile(ws.start.recentFiles, springFilePath(ws.spring));
}

bool CloseQuery(Session& ws) {
  ws.abort = false;
  SavePrompt(ws);
  if (ws.abort) return false;
  DeleteBlockFiles(tempFolder(ws));
  return true;
}

void CloseDown(Session& ws) {
  WriteRecentFiles(ws);
  // The window and text window sizes and whatever else changed since the last save.
  KeepConfiguration(ws);
}

// ---- File ----

void FileNew(Session& ws) {
  Spring& s = ws.spring;
  ws.abort = false;
  SavePrompt(ws);
  if (ws.abort) return;
  // The user's own template in the data folder wins over the one shipped with the program.
  const std::string own = withSeparator(s.dataDir) + "null." + s.fileExt;
  const std::string shipped = ws.programData + "null." + s.fileExt;
  if (fileExists(own) || fileExists(shipped)) {
    readInputFile(ws, fileExists(own) ? own : shipped);
    ws.abort = false;
  }
  s.fileName.clear();
  SetCaption(ws);
  ResetDocumentation(ws);
  s.titleLine.clear();
  s.bemerk1.clear();
  s.bemerk2.clear();
  ClearDisplay(ws.display);
  InputSequence(ws);
  if (ws.abort) return;
  Refresh(ws);
  s.modified = true;
}

void FileOpen(Session& ws) {
  ws.abort = false;
  const bool dropped = savePromptDropped(ws);
  if (ws.abort) return;
  readInputFile(ws, "");
  if (!ws.abort) {
    ws.spring.modified = false;
    AddToRecentFiles(ws);
    Refresh(ws);
  } else if (dropped) {
    ws.spring.modified = true;  // nothing replaced the unsaved inputs
  }
  SetCaption(ws);
}

void FileOpenTable(Session& ws) {
  Spring& s = ws.spring;
  ws.abort = false;
  SavePrompt(ws);
  if (ws.abort) return;
  s.fileName.clear();
  ClearDisplay(ws.display);
  const std::string folder = withSeparator(s.dataDir);

  OverviewScan scan;
  scan.folder = folder;
  scan.ext = s.fileExt;
  scan.programTitle = kProgramTitle;
  scan.readSpring = [&ws](const std::string& path) {
    readInputFile(ws, path);
    const bool read = !ws.abort;
    ws.abort = false;  // one unreadable file must not end the scan
    return read;
  };
  scan.material = [&ws] {
    return OverviewMaterial{ws.materials.strip.name1, ws.materials.wire.name1, hasFatigueData(ws)};
  };
  scan.progress = [&ws](const std::string& caption) { ws.ui.setWindowTitle(caption); };
  std::vector<OverviewTableRow> rows = ScanOverviewFiles(scan, s, ws.config.num, ws.abort);

  while (!ws.abort) {
    const std::optional<FileOverviewResult> r =
        ws.ui.show(MakeFileOverviewRequest(ws.config.num, kProgramTitle, folder, rows));
    if (!r) {
      ws.abort = true;
      break;
    }
    rows = r->rows;
    if (r->action == FileOverviewResult::Action::ExportExcel) {
      OleExportOverview(ws, rows);
      ws.abort = false;
      continue;
    }
    const std::optional<std::string> name = ChosenOverviewFile(*r);
    if (!name) continue;
    readInputFile(ws, folder + *name, [&name](CalcContext& c) { c.spring.fileName = *name; });
    if (ws.abort) break;
    s.modified = false;
    Refresh(ws);
    SetCaption(ws);
  }
  SetCaption(ws);
}

void FileSave(Session& ws) {
  ws.abort = false;
  const bool prompt = ws.overwritePrompt;
  ws.overwritePrompt = false;
  writeInputFile(ws, ws.spring.fileName);
  ws.overwritePrompt = prompt;
  if (!ws.abort) ws.spring.modified = false;
  SetCaption(ws);
}

void FileSaveAs(Session& ws) {
  ws.abort = false;
  writeInputFile(ws, "");
  if (!ws.abort) {
    ws.spring.modified = false;
    AddToRecentFiles(ws);
  }
  SetCaption(ws);
}

void FileRecent(Session& ws, int entry) {
  ws.abort = false;
  if (entry < 1 || entry > 4) return;
  const bool dropped = savePromptDropped(ws);
  if (ws.abort) return;
  const std::string path = ws.start.recentFiles[static_cast<std::size_t>(entry - 1)];
  if (path.empty()) return;
  if (!fileExists(path)) {
    removeRecentFile(ws.start.recentFiles, entry);
    ShowInfo(ws, "File " + oem(path) + " not found !");
    return;
  }
  Spring& s = ws.spring;
  // The spring takes the file's name only once the file is read.
  readInputFile(ws, path, [&path](CalcContext& c) {
    c.spring.fileName = stripExtension(lastComponent(path));
    c.spring.dataDir = directoryOf(path);
  });
  if (!ws.abort) {
    AddToRecentFiles(ws);
    s.modified = false;
    Refresh(ws);
  } else if (dropped) {
    s.modified = true;  // nothing replaced the unsaved inputs
  }
  SetCaption(ws);
}

bool FileExit(Session& ws) { return CloseQuery(ws); }

// ---- Dispatch ----

bool RunMenuCommand(Session& ws, MenuId item) {
  using M = MenuId;
  switch (item) {
    case M::FileNew:
      FileNew(ws);
      break;
    case M::FileOpen:
      FileOpen(ws);
      break;
    case M::FileOpenTable:
      FileOpenTable(ws);
      break;
    case M::FileSave:
      FileSave(ws);
      break;
    case M::FileSaveAs:
      FileSaveAs(ws);
      break;
    case M::FilePrint:
      FilePrint(ws);
      break;
    case M::FilePrintMacro:
      FilePrintMacro(ws);
      break;
    case M::FilePrinterSetup:
      FilePrinterSetup(ws);
      break;
    case M::FileExportPicture:
      FileExportPicture(ws);
      break;
    case M::FileConfig:
      FileConfig(ws);
      break;
    case M::FileRecent1:
      FileRecent(ws, 1);
      break;
    case M::FileRecent2:
      FileRecent(ws, 2);
      break;
    case M::FileRecent3:
      FileRecent(ws, 3);
      break;
    case M::FileRecent4:
      FileRecent(ws, 4);
      break;
    case M::FileExit:
      return !FileExit(ws);

    case M::EditQuick:
      EditQuick(ws);
      break;
    case M::EditText:
      EditText(ws);
      break;
    case M::EditHerstellung:
      EditSpringEnds(ws);
      break;
    case M::EditMaterial:
      EditMaterial(ws);
      break;
    case M::EditApplication:
      EditApplication(ws);
      break;
    case M::EditDimensioning:
      EditDimensioning(ws);
      break;
    case M::EditRecalculation:
      EditRecalculation(ws);
      break;
    case M::EditPreDimensioning:
      EditPreDimensioning(ws);
      break;
    case M::EditCalculation:
      EditCalculation(ws);
      break;

    case M::ViewStandard:
      ViewStandard(ws);
      break;
    case M::ViewExcerpt:
      ViewExcerpt(ws);
      break;
    case M::ViewQuick1:
      ViewQuick1(ws);
      break;
    case M::ViewQuick2:
      ViewQuick2(ws);
      break;
    case M::ViewProductionDrawing:
      ViewProductionDrawing(ws);
      break;
    case M::ViewDrawing0:
      ViewDrawingFront(ws);
      break;
    case M::ViewDrawingX:
      ViewDrawingAngle(ws);
      break;
    case M::ViewDrawingSa:
      ViewDrawingSide(ws);
      break;
    case M::ViewCharLine:
      ViewCharLine(ws);
      break;
    case M::ViewGoodman:
      ViewGoodman(ws);
      break;
    case M::ViewHaighGoodman:
      ViewHaighGoodman(ws);
      break;
    case M::ViewRmt:
      ViewRmT(ws);
      break;
    case M::ViewSigmaBt:
      ViewSigmaBT(ws);
      break;
    case M::ViewErrorMessages:
      ViewErrorMessages(ws);
      break;

    case M::CadFrontView:
      CadFrontView(ws);
      break;
    case M::CadSideView:
      CadSideView(ws);
      break;
    case M::CadStepModel:
      CadStepModel(ws);
      break;
    case M::CadDiagrams:
      CadDiagrams(ws);
      break;

    case M::DbfMaterial:
      DatabaseStrip(ws);
      break;
    case M::DbfMaterialRound:
      DatabaseWire(ws);
      break;

    case M::DocDrawingInfo:
      DocDrawingInfo(ws);
      break;
    case M::DocShowChanges:
      DocShowChanges(ws);
      break;
    case M::DocPrintChanges:
      DocPrintChanges(ws);
      break;
    case M::DocNewChange:
      DocNewChange(ws);
      break;
    case M::DocModifyChange:
      DocModifyChange(ws);
      break;
    case M::DocDeleteChange:
      DocDeleteChange(ws);
      break;
    case M::Document1:
      DocOpen(ws, 1);
      break;
    case M::Document2:
      DocOpen(ws, 2);
      break;
    case M::Document3:
      DocOpen(ws, 3);
      break;
    case M::Document4:
      DocOpen(ws, 4);
      break;
    case M::Document5:
      DocOpen(ws, 5);
      break;
    case M::DocumentSetup:
      DocSetup(ws);
      break;

    case M::OleStartExcel:
      OleStartExcel(ws);
      break;
    case M::OleExportExcel:
      OleExportExcel(ws);
      break;
    case M::OleImportExcel:
      OleImportExcel(ws);
      break;
    case M::OlePrintoutExcel:
      OlePrintoutExcel(ws);
      break;

    case M::HelpImages:
      HelpImages(ws);
      break;
    case M::HelpErrorMessages:
      HelpErrorMessages(ws);
      break;
    case M::HelpHistory:
      HelpHistory(ws);
      break;
    case M::HelpLanguageDeutsch:
      HelpLanguage(ws, 1);
      break;
    case M::HelpLanguageEnglish:
      HelpLanguage(ws, 2);
      break;
    case M::HelpLanguageFrancais:
      HelpLanguage(ws, 3);
      break;
    case M::HelpLanguageItaliano:
      HelpLanguage(ws, 4);
      break;
    case M::HelpLanguageKorea:
      HelpLanguage(ws, 8);
      break;
    case M::HelpAbout:
      HelpAbout(ws);
      break;

    // Menus, submenus and separators carry no command.
    case M::File:
    case M::FileSep1:
    case M::FileSep2:
    case M::FileSep3:
    case M::FileSepRecent:
    case M::Edit:
    case M::EditSep1:
    case M::EditSep2:
    case M::EditSep3:
    case M::EditSep4:
    case M::View:
    case M::ViewDrawing:
    case M::ViewSep1:
    case M::Cad:
    case M::CadSep1:
    case M::Database:
    case M::Documentation:
    case M::DocSep1:
    case M::DocSep2:
    case M::DocSep3:
    case M::Ole:
    case M::OleSep1:
    case M::Help:
    case M::HelpLanguage:
    case M::HelpSep1:
      break;
  }
  return true;
}

}  // namespace velk
