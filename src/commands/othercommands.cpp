// The remaining menus of the main window: the material tables (Database), the drawing
// documentation (Documentation) and Help; the spreadsheet link is in spreadsheetlink.cpp.
#include <string>
#include <vector>

#include "base/codepage.h"
#include "base/identity.h"
#include "calcservice/materialselect.h"
#include "commands/menucommands.h"
#include "dialogs/dialogs.h"
#include "docs/docmenu.h"
#include "draw/displaylist.h"
#include "help/imagebrowser.h"
#include "reportui/explanations.h"

namespace velk {

namespace {

// The change-menu actions behind the Documentation items.
constexpr int kChangeNew = 1;
constexpr int kChangeModify = 2;
constexpr int kChangeDelete = 3;
constexpr int kChangeShow = 4;
constexpr int kChangePrint = 5;

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += '\n';
    text += line;
  }
  return text;
}

}  // namespace

// ---- Database ----

void DatabaseStrip(Session& ws) {
  ws.abort = false;
  EditStripTable(ws);
}

void DatabaseWire(Session& ws) {
  ws.abort = false;
  EditWireTable(ws);
}

// ---- Documentation ----

void DocDrawingInfo(Session& ws) {
  ws.abort = false;
  EditDrawingInfo(ws);
}

void DocShowChanges(Session& ws) {
  ws.abort = false;
  ChangeMenu(ws, kChangeShow);
}

void DocPrintChanges(Session& ws) {
  ws.abort = false;
  ChangeMenu(ws, kChangePrint);
}

void DocNewChange(Session& ws) {
  ws.abort = false;
  ChangeMenu(ws, kChangeNew);
}

void DocModifyChange(Session& ws) {
  ws.abort = false;
  ChangeMenu(ws, kChangeModify);
}

void DocDeleteChange(Session& ws) {
  ws.abort = false;
  ChangeMenu(ws, kChangeDelete);
}

void DocOpen(Session& ws, int number) {
  ws.abort = false;
  OpenDocument(ws, number);
}

void DocSetup(Session& ws) {
  ws.abort = false;
  EditDocuments(ws);  // marks the spring modified when confirmed
}

// ---- Spreadsheet ---- (spreadsheetlink.cpp)

// ---- Help ----

void HelpImages(Session& ws) {
  ShowHelpImages(ws);
  // The browser ends with the flag set when left with "OK"; that is no failure of a command.
  ws.abort = false;
}

void HelpErrorMessages(Session& ws) {
  ws.abort = false;
  ShowMessageWindow(ws);
}

void HelpHistory(Session& ws) {
  const std::vector<std::string> lines = historyText();
  ShowTitled(ws, lines.empty() ? std::string(kAppTitle) : lines.front(), joinLines(lines));
}

void HelpLanguage(Session& ws, int language) { SwitchLanguage(ws, language); }

void HelpAbout(Session& ws) {
  // The box stands over the logo in the graphics window.
  ClearDisplay(ws.display);
  DrawOrvanLogo(ws.display);
  const AboutText about = aboutText();
  ShowTitled(ws, about.title, joinLines(about.lines));
}

}  // namespace velk
