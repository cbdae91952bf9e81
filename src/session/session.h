// The session: the one owner of all process-wide state, composed of its parts (host services,
// settings, interaction state, document, table, report and output state, help state). Built
// fresh by every test and passed by reference; lower layers take only the part they need.
#pragma once

#include <memory>
#include <string>

#include "help/context.h"
#include "reportui/printconfig.h"

namespace velk {

struct Session : HelpContext {
  // Installs the standard drawing devices, the help provider of the windows and the table
  // listing, and starts the documentation record with today.
  explicit Session(UiServices& ui);
  ~Session();

  // The spreadsheet was started in this run: its export and import items are enabled.
  bool spreadsheetStarted = false;
  // The program that opens workbooks: no setting names one, so the desktop's opener. Tests
  // name one that exists and record its start through the launcher's hook.
  std::string spreadsheetProgram = "xdg-open";
  int spreadsheetWorkbooks = 0;  // workbooks of the spring and the overview written in this run
  // The print form's preset of what the window shows (set by the view commands) and the stored
  // print layout last picked.
  PrintSetupState printSetup;

 private:
  std::unique_ptr<HelpProvider> helpProvider_;
};

}  // namespace velk
