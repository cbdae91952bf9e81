// The main window's menu commands, one function per menu item, and the procedures they share
// (save prompt, input sequence, refresh, caption, language). The window renders currentMenu()
// and calls RunMenuCommand; nothing of a command lives in the window.
#pragma once

#include <string>
#include <vector>

#include "commands/menumodel.h"
#include "reportui/printconfig.h"
#include "session/session.h"
#include "ui/overviewform.h"

namespace velk {

// ---- Shared procedures ----

// Asks before inputs would be lost (New, Open, the file overview, a recent file, closing).
// Sets the abort flag when the user cancels; the caller then does nothing.
void SavePrompt(Session& ws);
// The text dialog of the spring; cancel sets the abort flag, OK stores the texts (modified set).
void EditSpringTexts(Session& ws);
// Text dialog, calculation settings, material, spring ends, application, then the
// recalculation table, the calculation and the message window (Edit -> Quick, File -> New).
void InputSequence(Session& ws);
// The message count in the View menu and the configured result view drawn again.
void Refresh(Session& ws);
// The window caption: program title, the file name (with its extension when it has none).
void SetCaption(Session& ws);
// Language n (0..9): captions of both tables, menu, caption; kept in the configuration.
void SwitchLanguage(Session& ws, int language);
// The menu as the window shows it now: captions of the language, recent files, message count,
// the spreadsheet items.
MenuModel CurrentMenu(const Session& ws);
// Adds the spring's file to the recent-file list (dataDir + name + "." + fileExt).
void AddToRecentFiles(Session& ws);

// Closing the main window: the save prompt; false (abort flag set) when the user cancels.
// Otherwise the temporary block files are deleted and true is returned.
bool CloseQuery(Session& ws);
// After the window closed: the recent-files file is written.
void CloseDown(Session& ws);

// ---- File ----
void FileNew(Session& ws);
void FileOpen(Session& ws);
void FileOpenTable(Session& ws);  // the file overview
void FileSave(Session& ws);
void FileSaveAs(Session& ws);
void FilePrint(Session& ws);
void FilePrintMacro(Session& ws);
void FilePrinterSetup(Session& ws);
void FileExportPicture(Session& ws);
// The print request of the graphics window's drawing (whole, unzoomed) with the layout: what
// File -> Print, the print macro, the picture export's PDF and the /PDF batch job paint.
PrintDrawingRequest MakePrintDrawingRequest(Session& ws, const PrintLayout& layout, const std::string& name);
void FileConfig(Session& ws);
void FileRecent(Session& ws, int entry);  // 1..4
// File -> Exit: true when the window may close (CloseQuery).
bool FileExit(Session& ws);

// ---- Edit ----
void EditQuick(Session& ws);
void EditText(Session& ws);
void EditSpringEnds(Session& ws);  // "Herstellung"
void EditMaterial(Session& ws);
void EditApplication(Session& ws);
void EditDimensioning(Session& ws);
void EditRecalculation(Session& ws);
void EditPreDimensioning(Session& ws);
void EditCalculation(Session& ws);

// ---- View ----
void ViewStandard(Session& ws);
void ViewExcerpt(Session& ws);
void ViewQuick1(Session& ws);
void ViewQuick2(Session& ws);
void ViewCharLine(Session& ws);
void ViewGoodman(Session& ws);
void ViewHaighGoodman(Session& ws);
void ViewRmT(Session& ws);
void ViewSigmaBT(Session& ws);
// The production drawing on the screen (a landscape sheet: the print form keeps its own preset).
void ViewProductionDrawing(Session& ws);
void ViewDrawingFront(Session& ws);
void ViewDrawingAngle(Session& ws);
void ViewDrawingSide(Session& ws);
void ViewErrorMessages(Session& ws);

// ---- CAD ----
void CadFrontView(Session& ws);
void CadSideView(Session& ws);
// The 3D model as a STEP file: asks the installation angle (as the front view does), then the file
// (the spring's bare name + ".step" in its folder offered); cancel anywhere writes nothing. A
// spring without a model, or a file that cannot be written, is said in an error message.
void CadStepModel(Session& ws);
void CadDiagrams(Session& ws);

// ---- Database ----
void DatabaseStrip(Session& ws);
void DatabaseWire(Session& ws);

// ---- Documentation ----
void DocDrawingInfo(Session& ws);
void DocShowChanges(Session& ws);
void DocPrintChanges(Session& ws);
void DocNewChange(Session& ws);
void DocModifyChange(Session& ws);
void DocDeleteChange(Session& ws);
void DocOpen(Session& ws, int number);  // 1..5
void DocSetup(Session& ws);

// ---- Spreadsheet ----
void OleStartExcel(Session& ws);
void OleExportExcel(Session& ws);
void OleImportExcel(Session& ws);
void OlePrintoutExcel(Session& ws);
// The file overview's "Export Excel": every cell of the rows into a new workbook.
void OleExportOverview(Session& ws, const std::vector<OverviewTableRow>& rows);

// ---- Help ----
void HelpImages(Session& ws);
void HelpErrorMessages(Session& ws);
void HelpHistory(Session& ws);
void HelpLanguage(Session& ws, int language);
void HelpAbout(Session& ws);

// Runs the command of a menu item; items without a command (menus, separators) do nothing.
// Returns false only for File -> Exit when the window may close (the caller closes it).
bool RunMenuCommand(Session& ws, MenuId item);

}  // namespace velk
