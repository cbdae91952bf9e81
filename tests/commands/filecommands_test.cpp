// The File menu's commands and the procedures every command shares (save prompt, recent files,
// file overview, language, refresh, closing), driven through the scripted UI.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "commands/menucommands.h"
#include "commands/springfile.h"
#include "data/inputfile.h"
#include "dialogs/configio.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

const std::string kExamples = std::string(VELK_SOURCE_DATA_DIR) + "/examples/";

class FileCommands : public SessionTest {
 protected:
  // Copies a shipped example into the test folder and loads it from there.
  std::string load(const std::string& example) {
    const std::string path = dir.file(example + ".vlk");
    std::filesystem::copy_file(kExamples + example + ".vlk", path);
    ws.spring.fileName = example;
    ws.spring.dataDir = dir.path();
    readInputFile(ws, path);
    EXPECT_FALSE(ws.abort);
    return path;
  }
  std::vector<Request::Kind> kinds() const {
    std::vector<Request::Kind> out;
    for (const Request& r : ui.requests()) out.push_back(r.kind);
    return out;
  }
};

TEST_F(FileCommands, SavePromptFollowsTheAnswer) {
  struct Case {
    const char* name;
    bool withFile;
    Answer answer;
    bool abort, modified, saved;
  } cases[] = {
      {"file, yes: saved", true, Answer::Yes(), false, false, true},
      {"file, no: discarded", true, Answer::No(), false, false, false},
      {"file, cancel: the command stops", true, Answer::Cancel(), true, true, false},
      {"no file, yes: discarded", false, Answer::Yes(), false, false, false},
      {"no file, no: the command stops", false, Answer::No(), true, true, false},
  };
  for (const Case& c : cases) {
    TempDir folder;
    ws.spring.dataDir = folder.path();
    ws.spring.fileName = c.withFile ? "feder" : "";
    ws.spring.modified = true;
    ws.abort = false;
    ui.clearRequests();
    ui.script({c.answer});
    SavePrompt(ws);
    EXPECT_EQ(ws.abort, c.abort) << c.name;
    EXPECT_EQ(ws.spring.modified, c.modified) << c.name;
    EXPECT_EQ(fileExists(folder.file("feder.vlk")), c.saved) << c.name;
    ASSERT_FALSE(ui.requests().empty()) << c.name;
    EXPECT_EQ(u8(ui.requests()[0].prompt),
              c.withFile ? "Datei speichern (" + folder.file("feder.vlk") + ") ?" : "Bisherige Eingaben verwerfen ?")
        << c.name;
  }
  // Nothing changed: nothing to ask.
  ws.spring.modified = false;
  ui.clearRequests();
  SavePrompt(ws);
  EXPECT_TRUE(ui.requests().empty());
}

TEST_F(FileCommands, AFailedSaveInThePromptKeepsTheInputsMarkedAndStops) {
  ws.spring.dataDir = dir.path();
  ws.spring.fileName = "feder";
  ws.spring.modified = true;
  ws.io.writeFault = [](std::string_view) { return ENOSPC; };
  ui.script({Answer::Yes()});
  SavePrompt(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_TRUE(ws.spring.modified);
  EXPECT_FALSE(ui.messages(MessageKind::Error).empty());
}

TEST_F(FileCommands, SaveWithoutANameAsksLikeSaveAs) {
  ws.spring.dataDir = dir.path();
  ws.spring.fileName.clear();
  ws.spring.modified = true;
  ui.script({Answer::Text(dir.file("neu.vlk"))});
  FileSave(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(kinds().front(), Request::Kind::SaveFile);
  EXPECT_TRUE(fileExists(dir.file("neu.vlk")));
  EXPECT_FALSE(ws.spring.modified);
  EXPECT_EQ(ws.spring.fileName, "neu");
  EXPECT_EQ(u8(ui.windowTitle), "VELK - Spiralfedern  -  neu.vlk");
}

TEST_F(FileCommands, SaveOverwritesItsOwnFileWithoutAsking) {
  const std::string path = load("uhrfeder");
  ws.spring.b = 7;
  ws.spring.modified = true;
  FileSave(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_FALSE(ws.spring.modified);
  EXPECT_EQ(readFile(path), inputFileBytes(ws.spring, ws.num()));
  EXPECT_TRUE(ws.overwritePrompt) << "the prompt setting comes back after the save";
}

TEST_F(FileCommands, OpenLoadsCalculatesAndRemembersTheFile) {
  std::filesystem::copy_file(kExamples + "rueckstellfeder.vlk", dir.file("rueckstellfeder.vlk"));
  ws.spring.modified = false;
  ui.script({Answer::Text(dir.file("rueckstellfeder.vlk"))});
  FileOpen(ws);
  ASSERT_FALSE(ws.abort);
  EXPECT_EQ(ws.spring.fileName, "rueckstellfeder");
  EXPECT_GT(ws.spring.cT, 0);
  EXPECT_EQ(ws.start.recentFiles[0], dir.file("rueckstellfeder.vlk"));
  EXPECT_FALSE(ws.display.records.empty()) << "the configured result view is drawn";
  EXPECT_EQ(u8(ui.windowTitle), "VELK - Spiralfedern  -  rueckstellfeder.vlk");
}

// A file that is refused (cut short, empty, not there, no regular file) changes nothing: the
// spring, its name, folder, caption and modified flag stay, and a save goes to the old file.
TEST_F(FileCommands, ARefusedFileChangesNothingAndSaveKeepsItsName) {
  const std::string own = load("uhrfeder");
  const std::string whole = readFile(own);
  std::filesystem::create_directory(dir.file("other"));
  struct Case {
    const char* name;
    std::function<std::string()> make;  // the refused file's path
  };
  const Case cases[] = {
      {"cut short",
       [&] { return writeFile(dir.file("other/kurz.vlk"), whole.substr(0, 40)), dir.file("other/kurz.vlk"); }},
      {"empty", [&] { return writeFile(dir.file("other/leer.vlk"), ""), dir.file("other/leer.vlk"); }},
      {"missing", [&] { return dir.file("other/fehlt.vlk"); }},
      {"a FIFO", [&] { return ::mkfifo(dir.file("other/fifo.vlk").c_str(), 0600), dir.file("other/fifo.vlk"); }},
  };
  for (const bool modified : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (modified ? ", modified" : ""));
      ws.spring.b = modified ? 7.5L : 2;
      ws.spring.modified = modified;
      SetCaption(ws);
      const Spring before = ws.spring;
      const std::string caption = ui.windowTitle;
      const std::string refused = c.make();
      ui.clearRequests();
      // A modified spring: "No" (go on without saving), then the refused file.
      if (modified) ui.push(Answer::No());
      ui.push(Answer::Text(refused));
      FileOpen(ws);
      EXPECT_TRUE(ws.abort);
      EXPECT_EQ(ui.messages(MessageKind::Error).size(), 1u);
      EXPECT_EQ(ws.spring.fileName, "uhrfeder");
      EXPECT_EQ(ws.spring.dataDir, before.dataDir);
      EXPECT_EQ(ws.spring.b, before.b);
      EXPECT_EQ(ws.spring.modified, modified) << "inputs not saved stay marked: nothing replaced them";
      EXPECT_EQ(ui.windowTitle, caption);
      EXPECT_EQ(ws.start.recentFiles[0], "") << "a refused file is not remembered";

      // Ctrl+S writes the spring to its own file; the refused one stays as it was.
      const bool existed = fileExists(refused);
      const std::string refusedBytes = existed && c.name != std::string("a FIFO") ? readFile(refused) : "";
      ws.spring.modified = true;
      ui.clearRequests();
      RunMenuCommand(ws, MenuId::FileSave);
      EXPECT_FALSE(ws.abort);
      EXPECT_TRUE(ui.requests().empty()) << "no question: the old name is known";
      EXPECT_EQ(readFile(own), inputFileBytes(ws.spring, ws.num()));
      if (existed && c.name != std::string("a FIFO")) EXPECT_EQ(readFile(refused), refusedBytes);
    }
  }

  // The same through the recent-files list.
  writeFile(dir.file("other/recent.vlk"), whole.substr(0, 40));
  ws.start.recentFiles = {dir.file("other/recent.vlk"), own, "", ""};
  ws.spring.modified = false;
  const std::string caption = ui.windowTitle;
  FileRecent(ws, 1);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ws.spring.fileName, "uhrfeder");
  EXPECT_EQ(ws.spring.dataDir, dir.path());
  EXPECT_EQ(ui.windowTitle, caption);
  ui.clearRequests();
}

TEST_F(FileCommands, CancelInTheSavePromptLeavesTheSpringAsItWas) {
  load("uhrfeder");
  ws.spring.b = 11;
  ws.spring.modified = true;
  ui.script({Answer::Cancel()});
  FileOpen(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ws.spring.b, 11);
  EXPECT_EQ(kinds(), std::vector<Request::Kind>{Request::Kind::Question}) << "no open dialog after cancel";
}

TEST_F(FileCommands, RecentFilesMoveUpAndAMissingOneIsDropped) {
  const std::string a = load("uhrfeder");
  AddToRecentFiles(ws);
  const std::string b = load("rueckstellfeder");
  AddToRecentFiles(ws);
  ws.start.recentFiles[2] = dir.file("weg.vlk");
  EXPECT_EQ(ws.start.recentFiles[0], b);
  EXPECT_EQ(ws.start.recentFiles[1], a);

  // Entry 2 opens and becomes entry 1, without a duplicate.
  ws.spring.modified = false;
  FileRecent(ws, 2);
  ASSERT_FALSE(ws.abort);
  EXPECT_EQ(ws.spring.fileName, "uhrfeder");
  EXPECT_EQ(ws.start.recentFiles[0], a);
  EXPECT_EQ(ws.start.recentFiles[1], b);

  // A file that no longer exists: removed from the list, and said so.
  FileRecent(ws, 3);
  EXPECT_EQ(u8(ui.messages(MessageKind::Info).back()), "File " + dir.file("weg.vlk") + " not found !");
  EXPECT_EQ(ws.start.recentFiles[2], "");
  EXPECT_EQ(ws.spring.fileName, "uhrfeder") << "the spring stays";

  const MenuModel menu = CurrentMenu(ws);
  EXPECT_TRUE(menu.item(MenuId::FileRecent1).visible);
  EXPECT_TRUE(menu.item(MenuId::FileRecent2).visible);
  EXPECT_FALSE(menu.item(MenuId::FileRecent3).visible);
}

TEST_F(FileCommands, TheOverviewListsEveryFileAndOpensTheChosenOne) {
  for (const char* name : {"uhrfeder", "drahtfeder_dynamisch"})
    std::filesystem::copy_file(kExamples + name + ".vlk", dir.file(std::string(name) + ".vlk"));
  ws.spring.dataDir = dir.path();
  ws.spring.modified = false;
  ui.script({Answer::Cancel()});
  // The scan with a cancelled window: one row per file plus the header, abort set.
  FileOpenTable(ws);
  EXPECT_TRUE(ws.abort);
  const std::vector<FileOverviewRequest> shown = ui.shown<FileOverviewRequest>();
  ASSERT_EQ(shown.size(), 1u);
  ASSERT_EQ(shown[0].rows.size(), 3u);
  const auto& rows = shown[0].rows;
  const auto wire = std::find_if(rows.begin(), rows.end(),
                                 [](const OverviewTableRow& r) { return r.file == "drahtfeder_dynamisch.vlk"; });
  ASSERT_NE(wire, rows.end());
  EXPECT_EQ(wire->cells[4], "") << "a round wire has no width";
  EXPECT_EQ(ws.spring.fileName, "");

  // Choosing the row opens that file; then the window comes again until it is left.
  FileOverviewResult choose;
  choose.action = FileOverviewResult::Action::Open;
  choose.rows = rows;
  choose.chosenRow = static_cast<std::size_t>(wire - rows.begin());
  ui.script({Answer::With(choose), Answer::Cancel()});
  FileOpenTable(ws);
  EXPECT_EQ(ws.spring.fileName, "drahtfeder_dynamisch.vlk");
  EXPECT_EQ(ws.spring.crossSection, 2);
  EXPECT_FALSE(ws.spring.modified);
  EXPECT_EQ(ui.shown<FileOverviewRequest>().size(), 3u);
}

TEST_F(FileCommands, KoreanAndBackRestoresEveryGermanCaption) {
  const MenuModel german = CurrentMenu(ws);
  SwitchLanguage(ws, 8);
  const MenuModel korean = CurrentMenu(ws);
  EXPECT_NE(korean.item(MenuId::File).caption, german.item(MenuId::File).caption);
  SwitchLanguage(ws, 1);
  const MenuModel back = CurrentMenu(ws);
  for (const MenuItem& item : german.items()) EXPECT_EQ(back.item(item.id).caption, item.caption) << item.name;
  EXPECT_EQ(back.item(MenuId::HelpLanguage).caption, "Menü &Sprache");
}

TEST_F(FileCommands, TheErrorMessageItemCountsTheMessages) {
  load("grenzfall");
  const MenuModel menu = CurrentMenu(ws);
  EXPECT_EQ(menu.item(MenuId::ViewErrorMessages).caption, "&Fehlermeldungen (9)");
  EXPECT_TRUE(menu.item(MenuId::ViewErrorMessages).enabled);
}

TEST_F(FileCommands, RefreshDrawsTheConfiguredViewOrNothing) {
  load("uhrfeder");
  ws.config.defaultResultGraphic = 0;
  ws.config.helpLevel = 0;
  ws.display.records.clear();
  Refresh(ws);
  EXPECT_TRUE(ws.display.records.empty()) << "result view 0 with help level 0 draws nothing";
  for (int view : {1, 2, 3, 4, 5}) {
    ws.config.defaultResultGraphic = view;
    ws.display.records.clear();
    Refresh(ws);
    EXPECT_FALSE(ws.display.records.empty()) << "result view " << view;
  }
}

TEST_F(FileCommands, ClosingAsksFirstAndWritesTheRecentFiles) {
  load("uhrfeder");
  ws.start.configDir = dir.path();
  ws.spring.modified = true;
  ui.script({Answer::Cancel()});
  EXPECT_TRUE(RunMenuCommand(ws, MenuId::FileExit)) << "cancel keeps the window";
  ui.script({Answer::No()});
  EXPECT_FALSE(RunMenuCommand(ws, MenuId::FileExit)) << "the window may close";
  AddToRecentFiles(ws);
  CloseDown(ws);
  EXPECT_NE(readFile(dir.file("velk.cff")).find(dir.file("uhrfeder.vlk")), std::string::npos);
}

TEST_F(FileCommands, NewStopsWhenTheTextDialogIsCancelled) {
  load("uhrfeder");
  ws.spring.modified = false;
  ws.display.records.clear();
  ui.script({Answer::Cancel()});
  FileNew(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ws.spring.fileName, "");
  EXPECT_EQ(ui.shown<SpringTextsRequest>().size(), 1u);
  EXPECT_TRUE(ws.display.records.empty());
}

TEST_F(FileCommands, TheTextDialogStoresTheTexts) {
  ui.script({Answer::With(SpringTextsResult{"Uhrfeder", "Zeile zwei", "Z-100", "B1", "B2"})});
  EditSpringTexts(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ws.spring.zeichnr, "Z-100");
  EXPECT_EQ(ws.spring.titleLine, "Uhrfeder  Zeichn.Nr.: Z-100");
  EXPECT_TRUE(ws.spring.modified);
  const SpringTextsRequest q = ui.shown<SpringTextsRequest>()[0];
  EXPECT_EQ(q.lengths[0], kLenZeichname);
  EXPECT_EQ(q.labels[2], "Zeichnungsnummer");
}

}  // namespace
}  // namespace velk::test
