// The table service: opening by name, the temp-folder copy of unwritable tables, positioning,
// fields by position and name, code pages, and the browser's logic with a scripted browser.
#include "tables/tableservice.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "dbf/dbf.h"
#include "dialogs/captions.h"
#include "dialogs/dialogs.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

using Kind = Request::Kind;

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class TableServiceTest : public SessionTest {
 protected:
  TableServiceTest() {
    ws.config.dbfDir = tables.path();
    ws.config.tempDir = temp.path();
  }

  // A layout-like table: NAME C20, WERT N8.2, ANZAHL N5.0, BORDERLINE L; records name/value.
  std::string makeTable(const std::string& file, const std::vector<std::pair<std::string, double>>& rows,
                        std::uint8_t driver = kDbfDriverCp850) {
    const std::string path = tables.file(file);
    EXPECT_TRUE(DbfTable::create(
        path, {{"NAME", 'C', 20, 0, 0}, {"WERT", 'N', 8, 2, 0}, {"ANZAHL", 'N', 5, 0, 0}, {"BORDERLINE", 'L', 1, 0, 0}},
        driver));
    DbfTable t;
    EXPECT_TRUE(t.open(path));
    for (const auto& [name, value] : rows) {
      std::string r = t.blankRecord();
      t.setFieldText(r, 0, name);
      t.setFieldNumber(r, 1, value);
      t.setFieldBool(r, 3, value > 2);
      EXPECT_TRUE(t.append(r));
    }
    return path;
  }

  std::string sample() { return makeTable("muster.dbf", {{"Federstahl", 3.5}, {"Bronze", 1.25}, {"Anker", 2.0}}); }

  // The table commands' pattern: a failure raises the abort flag.
  void open(const std::string& name) {
    if (!OpenTable(ws.table, ws.diag, ws, ws, name)) ws.abort = true;
  }
  void append() {
    if (!AppendRecord(ws.table, ws.diag, ws)) ws.abort = true;
  }

  TempDir tables;
  TempDir temp;
};

TEST_F(TableServiceTest, OpensByNameWithAndWithoutExtension) {
  sample();
  makeTable("lay.out", {{"x", 1}});
  struct Case {
    std::string name, expectedPath;
    bool opens;
  } cases[] = {
      {"muster", tables.file("muster.dbf"), true},
      {"muster.dbf", tables.file("muster.dbf"), true},
      {"lay.out", tables.file("lay.out"), true},  // a name with a dot is used unchanged
      {"fehlt", tables.file("fehlt.dbf"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ws.abort = false;
    ui.clearRequests();
    open(c.name);
    EXPECT_EQ(ws.abort, !c.opens);
    if (c.opens) {
      EXPECT_EQ(ws.table.dbf.path(), c.expectedPath);
      EXPECT_FALSE(ws.table.inTempCopy);
      EXPECT_EQ(RecNo(ws.table), 1);
    } else {
      EXPECT_FALSE(ws.table.dbf.isOpen());
      EXPECT_EQ(ui.messages(MessageKind::Error),
                std::vector<std::string>{"Datei " + c.expectedPath + " nicht gefunden oder kein Zugriffsrecht !"});
    }
  }
  // The write probe leaves nothing behind in the table folder.
  EXPECT_EQ(filesIn(tables.path()), (std::vector<std::string>{"lay.out", "muster.dbf"}));
}

TEST_F(TableServiceTest, ProbeNeverTouchesAUsersFileNamedLikeTheProbe) {
  sample();
  writeFile(tables.file("TEST.$$$"), "mine");
  open("muster");
  ASSERT_FALSE(ws.abort);
  EXPECT_EQ(readFile(tables.file("TEST.$$$")), "mine");
  EXPECT_EQ(filesIn(tables.path()), (std::vector<std::string>{"TEST.$$$", "muster.dbf"}));
}

TEST_F(TableServiceTest, UnwritableFolderOrFileIsEditedInAWritableTempCopy) {
  struct Case {
    const char* what;
    bool folderFault;
  } cases[] = {{"folder not writable", true}, {"table file read-only", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string original = sample();
    ::chmod(original.c_str(), 0444);
    const std::string before = readFile(original);
    ws.io.writeFault = [&](std::string_view path) {
      if (c.folderFault) return path.substr(0, tables.path().size()) == tables.path() ? EACCES : 0;
      return path == original ? EACCES : 0;
    };
    open("muster");
    ASSERT_FALSE(ws.abort);
    const std::string copy = temp.file("muster.dbf");
    EXPECT_EQ(ws.table.dbf.path(), copy);
    EXPECT_TRUE(ws.table.inTempCopy);
    EXPECT_EQ(RecCount(ws.table), 3);
    struct stat st {};
    ASSERT_EQ(::stat(copy.c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR) << "the copy is writable";

    SetFieldText(ws.table, 1, "Neu");
    append();
    EXPECT_FALSE(ws.abort);
    EXPECT_EQ(RecCount(ws.table), 4);
    CloseTable(ws.table);
    EXPECT_EQ(readFile(original), before) << "the original stays untouched";
    DbfTable check;
    ASSERT_TRUE(check.open(copy, true));
    EXPECT_EQ(check.recordCount(), 4u);
    EXPECT_EQ(check.fieldText(4, 0), "Neu");
    // Only the copy is left in the temporary folder (no half-written temp files).
    EXPECT_EQ(filesIn(temp.path()), std::vector<std::string>{"muster.dbf"});
    std::filesystem::remove(copy);
    std::filesystem::remove(original);
  }
}

TEST_F(TableServiceTest, WithoutAnyWritableFolderTheTableIsReadWhereItIs) {
  const std::string original = sample();
  const std::string before = readFile(original);
  ws.io.writeFault = [](std::string_view) { return EACCES; };
  open("muster");
  ASSERT_FALSE(ws.abort);
  EXPECT_EQ(ws.table.dbf.path(), original);
  EXPECT_EQ(FieldText(ws.table, 1), "Federstahl");
  SetFieldText(ws.table, 1, "Neu");
  append();
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ui.messages(MessageKind::Error).size(), 1u);
  EXPECT_EQ(readFile(original), before);
}

TEST_F(TableServiceTest, ReadOnlyOpenNeitherProbesNorCopies) {
  const std::string original = sample();
  int probes = 0;
  ws.io.writeFault = [&](std::string_view) {
    ++probes;
    return EACCES;
  };
  EXPECT_TRUE(OpenTableReadOnly(ws.table, ws.diag, ws, ws, "muster"));
  EXPECT_EQ(ws.table.dbf.path(), original);
  EXPECT_TRUE(ws.table.dbf.isReadOnly());
  EXPECT_EQ(probes, 0);
  EXPECT_TRUE(filesIn(temp.path()).empty());
  // Quiet failure: no message at all.
  EXPECT_FALSE(OpenTableReadOnly(ws.table, ws.diag, ws, ws, "fehlt", false));
  EXPECT_TRUE(ws.diag.messages().empty());
  EXPECT_TRUE(ui.requests().empty());
}

TEST_F(TableServiceTest, GoRecordClampsAndReportsANumberBeyondTheTable) {
  sample();
  open("muster");
  GoRecord(ws.table, ws.messages, 7);
  EXPECT_EQ(RecNo(ws.table), 3);
  EXPECT_EQ(FieldText(ws.table, 1), "Anker");
  ASSERT_EQ(ws.messages.count, 1);
  EXPECT_EQ(ws.messages.entries[0], "DBF #7 not found.");
  for (long long n : {0LL, -5LL}) {
    GoRecord(ws.table, ws.messages, n);
    EXPECT_EQ(RecNo(ws.table), 1) << n;
  }
  GoRecord(ws.table, ws.messages, 2);
  EXPECT_EQ(RecNo(ws.table), 2);
  EXPECT_EQ(ws.messages.count, 1) << "only the number beyond the table is reported";
}

TEST_F(TableServiceTest, FieldsByPositionAndByNameCutToTenCharacters) {
  sample();
  open("muster");
  GoRecord(ws.table, ws.messages, 2);
  EXPECT_EQ(FieldName(ws.table, 1), "NAME");
  EXPECT_EQ(FieldName(ws.table, 4), "BORDERLINE");
  EXPECT_EQ(FieldName(ws.table, 5), "");
  EXPECT_EQ(FieldName(ws.table, 0), "");
  EXPECT_EQ(FieldText(ws.table, 1), "Bronze");
  EXPECT_EQ(FieldText(ws.table, 2), "1.25");
  EXPECT_EQ(FieldText(ws.table, 9), "");
  EXPECT_FALSE(FieldBool(ws.table, "BORDERLINE"));
  GoRecord(ws.table, ws.messages, 1);
  EXPECT_TRUE(FieldBool(ws.table, "borderlineXYZ")) << "11+ characters address the field of the first 10";

  const std::string blank = ws.table.buffer;
  SetFieldText(ws.table, 5, "nichts");
  SetFieldInt(ws.table, 0, 3);
  EXPECT_EQ(ws.table.buffer, blank) << "positions the table does not have change nothing";
  SetFieldTextByName(ws.table, "NAMEXXXXXXXXX", "nie");  // cut to "NAMEXXXXXX": no such field
  EXPECT_EQ(ws.table.buffer, blank);

  SetFieldTextByName(ws.table, "name", "Messing");
  SetFieldFloatByName(ws.table, "WERT", 12.345L);
  SetFieldInt(ws.table, 3, 42);
  SetFieldBoolByName(ws.table, "BORDERLINEEXTRA", true);
  append();
  ASSERT_FALSE(ws.abort);
  EXPECT_EQ(RecNo(ws.table), 4);
  EXPECT_EQ(ws.table.buffer, blank) << "the buffer is blank after an append";
  EXPECT_EQ(FieldText(ws.table, 1), "Messing");
  EXPECT_EQ(FieldText(ws.table, 2), "12.35");
  EXPECT_EQ(FieldText(ws.table, 3), "42");
  EXPECT_TRUE(FieldBool(ws.table, "BORDERLINE"));
}

TEST_F(TableServiceTest, TextsAreCodePage850WhateverTheTableHolds) {
  struct Case {
    const char* what;
    std::uint8_t driver;
    std::string stored;  // bytes in the file for "Öl" + "ü"
  } cases[] = {
      {"850", kDbfDriverCp850, "\x99l\x81"},
      {"1252", kDbfDriverWin1252, "\xD6l\xFC"},
      {"unknown driver taken as 850", 0x00, "\x99l\x81"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = makeTable("cp.dbf", {}, c.driver);
    open("cp");
    SetFieldText(ws.table, 1, oem("Ölü"));
    append();
    EXPECT_EQ(FieldText(ws.table, 1), oem("Ölü"));
    CloseTable(ws.table);
    DbfTable raw;
    ASSERT_TRUE(raw.open(path, true));
    EXPECT_EQ(raw.fieldText(1, 0), c.stored);
    raw.close();
    std::filesystem::remove(path);
  }
}

TEST_F(TableServiceTest, BuildIndexOrdersTheBrowserAndWritesTheIndexFile) {
  sample();
  open("muster");
  BuildIndex(ws.table, ws, ws, "NAME", "muster");
  EXPECT_TRUE(fileExists(temp.file("muster.ndx")));
  EXPECT_EQ(BrowseRows(ws.table, 1), (std::vector<std::uint32_t>{3, 2, 1}));
  // A logical field cannot be a key: the order stays.
  BuildIndex(ws.table, ws, ws, "BORDERLINE", "x");
  EXPECT_EQ(BrowseRows(ws.table, 1), (std::vector<std::uint32_t>{3, 2, 1}));
  EXPECT_FALSE(fileExists(temp.file("x.ndx")));
}

TEST_F(TableServiceTest, BrowserOkSelectsCancelAborts) {
  sample();
  open("muster");
  SetBrowseTitles(ws.table, "", "Material");
  BrowserSetDeleted(ws.table, ws.diag, 2, true);
  GoRecord(ws.table, ws.messages, 3);
  SetHelpNumber(ws, 9590);

  ui.script({Answer::Choice(1)});
  BrowseTable(ws, 1);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(RecNo(ws.table), 1);
  const Request& r = ui.requests().back();
  EXPECT_EQ(r.kind, Kind::Browse);
  EXPECT_EQ(r.caption, "Material   ");
  EXPECT_EQ(r.mode, 1);
  EXPECT_EQ(r.index, 3);
  EXPECT_EQ(r.helpNumber, 9590);
  EXPECT_EQ(r.records, (std::vector<std::uint32_t>{1, 3})) << "selection mode hides deleted records";

  ui.script({Answer::Cancel()});
  BrowseTable(ws, 1);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(RecNo(ws.table), 1);

  ws.abort = false;
  ui.script({Answer::Choice(2)});
  BrowseTable(ws, 2);
  EXPECT_EQ(RecNo(ws.table), 2);
  EXPECT_EQ(ui.requests().back().caption, "Material    (" + tables.file("muster.dbf") + ")");
  EXPECT_EQ(ui.requests().back().records, (std::vector<std::uint32_t>{1, 2, 3}));
  EXPECT_TRUE(ui.messages(MessageKind::Info).empty());
}

TEST_F(TableServiceTest, TheBrowserMenusFollowTheLanguage) {
  sample();
  open("muster");
  std::vector<BrowseMenuCaptions> seen;
  ui.onBrowse = [&](const BrowseRequest& q) { seen.push_back(q.menu); };
  for (int language : {kLanguageNone, kLanguageEnglish, kLanguageKorean}) {
    ws.config.language = language;
    ui.script({Answer::Choice(1)});
    BrowseTable(ws, 2);
  }
  ASSERT_EQ(seen.size(), 3u);
  const auto captions = [](const BrowseMenuCaptions& m) {
    return std::vector<std::string>{m.file, m.print, m.exit, m.edit, m.view, m.help, m.common};
  };
  EXPECT_EQ(captions(seen[0]), (std::vector<std::string>{"&Datei", "&Drucken...", "&Beenden", "&Bearbeiten", "&Ansicht",
                                                         "&Hilfe", "&Sonstige"}));
  EXPECT_EQ(captions(seen[1]),
            (std::vector<std::string>{"&File", "&Print...", "E&xit", "&Edit", "&View", "&Help", "&Others"}));
  EXPECT_EQ(seen[2].file, captionA(kLanguageKorean, CapA::Datei));
  // The browser's own texts are the same in every language.
  for (const BrowseMenuCaptions& m : seen)
    EXPECT_EQ((std::vector<std::string>{m.exportHtml, m.pack, m.search, m.helpImage, m.showFile}),
              (std::vector<std::string>{"Export HTML", "Pack", "&Suchen", "Hilfe&bild", "Datei"}));
}

TEST_F(TableServiceTest, TheUserCanPickARecordAppendedInsideTheWindow) {
  sample();
  open("muster");
  ui.onBrowse = [&](const BrowseRequest& q) {
    ASSERT_NE(q.controller, nullptr);
    q.controller->appendRecord();
    q.controller->setCell(4, 1, "Neu");
  };
  ui.script({Answer::Choice(4)});
  BrowseTable(ws, 2);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(RecNo(ws.table), 4);
  EXPECT_EQ(FieldText(ws.table, 1), "Neu");
}

TEST_F(TableServiceTest, TheWindowReadsTheTableAndMovesItsCurrentRecordThroughTheController) {
  makeTable("muster.dbf", {{"Federstahl", 1}, {"\xC4tzstahl", 2}, {"Bronze", 3}, {"Stahldraht", 4}}, kDbfDriverWin1252);
  open("muster");
  BrowserSetDeleted(ws.table, ws.diag, 3, true);
  GoRecord(ws.table, ws.messages, 2);
  ui.onBrowse = [&](const BrowseRequest& q) {
    ASSERT_NE(q.controller, nullptr);
    BrowseController& c = *q.controller;
    EXPECT_EQ(c.fieldCount(), 4);
    EXPECT_EQ(c.fieldName(2), "WERT");
    EXPECT_EQ(std::string({c.fieldType(1), c.fieldType(2), c.fieldType(4)}), "CNL");
    EXPECT_EQ(c.cellText(2, 1), oem("Ätzstahl")) << "Windows-1252 table text comes as code page 850";
    EXPECT_EQ(c.cellText(1, 2), "1.00");
    EXPECT_EQ(c.cellText(3, 4), "T");
    EXPECT_EQ(c.cellText(9, 1), "");
    EXPECT_EQ(c.fieldName(5), "");
    EXPECT_TRUE(c.isDeleted(3));
    EXPECT_FALSE(c.isDeleted(1));
    EXPECT_EQ(c.recordCount(), 4u);
    EXPECT_EQ(c.currentRecord(), 2u);

    // The grid's row becomes the current record; search moves it, search-next continues after it.
    c.setCurrentRecord(3);
    EXPECT_EQ(RecNo(ws.table), 3);
    c.setCurrentRecord(0);
    c.setCurrentRecord(5);
    EXPECT_EQ(c.currentRecord(), 3u) << "records the table does not have are ignored";
    c.search();
    EXPECT_EQ(c.currentRecord(), 1u) << "search starts from the top";
    c.setCurrentRecord(2);
    c.searchNext();
    EXPECT_EQ(c.currentRecord(), 4u) << "continues after the row the user moved to";
    c.appendRecord();
    EXPECT_EQ(c.currentRecord(), 5u);
    EXPECT_EQ(c.recordCount(), 5u);
  };
  ui.script({Answer::Text("stahl"), Answer::Choice(5)});
  BrowseTable(ws, 2);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ws.messages.count, 0);
  EXPECT_EQ(RecNo(ws.table), 5);
}

TEST_F(TableServiceTest, EditingATempCopyIsAnnounced) {
  sample();
  ws.io.writeFault = [&](std::string_view path) {
    return path.substr(0, tables.path().size()) == tables.path() ? EACCES : 0;
  };
  open("muster");
  ui.script({Answer::Choice(1)});
  BrowseTable(ws, 2);
  EXPECT_EQ(ui.messages(MessageKind::Info),
            std::vector<std::string>{oem("Kein Schreibrecht für dbf-Ordner !  Bearbeitung im Temporär-Ordner.")});
  ui.clearRequests();
  ui.script({Answer::Choice(1)});
  BrowseTable(ws, 1);
  EXPECT_TRUE(ui.messages(MessageKind::Info).empty()) << "selection mode edits nothing";
}

TEST_F(TableServiceTest, SearchFindsFromTheTopAndSearchNextContinues) {
  makeTable("muster.dbf", {{"Federstahl", 1}, {"Bronze", 2}, {"Stahlband", 3}, {"Messing", 4}});
  open("muster");
  GoRecord(ws.table, ws.messages, 4);
  SetHelpNumber(ws, 1234);

  ui.script({Answer::Text("STAHL")});
  BrowserSearch(ws);
  EXPECT_EQ(RecNo(ws.table), 1);
  EXPECT_EQ(ui.requests()[0].prompt, "Suchbegriff eingeben");
  EXPECT_EQ(ui.requests()[0].maxLength, 50);
  EXPECT_EQ(ui.requests()[0].helpNumber, 2450);
  EXPECT_EQ(ws.helpNumber, 1234) << "the previous help number is restored";

  BrowserSearchNext(ws);
  EXPECT_EQ(RecNo(ws.table), 3);
  BrowserSearchNext(ws);
  EXPECT_EQ(RecNo(ws.table), 3) << "nothing further: position kept";
  EXPECT_EQ(ui.messages(MessageKind::Info), std::vector<std::string>{"STAHL nicht gefunden"});

  // The dialog offers the last text; cancel only clears the abort flag.
  ui.script({Answer::Cancel()});
  BrowserSearch(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ui.requests().back().offered, "STAHL");
  EXPECT_EQ(RecNo(ws.table), 3);
}

TEST_F(TableServiceTest, SortingByAColumnKeepsTheCurrentRecord) {
  makeTable("muster.dbf", {{"Cx", 3}, {"Ax", 1}, {"B", 2}});
  open("muster");
  GoRecord(ws.table, ws.messages, 3);
  BrowserSortByColumn(ws.table, ws, ws, 2);
  EXPECT_EQ(BrowseRows(ws.table, 2), (std::vector<std::uint32_t>{2, 3, 1}));
  EXPECT_EQ(RecNo(ws.table), 3);
  EXPECT_TRUE(fileExists(temp.file("$orvtemp.ndx")));
  // Search follows the order shown: the first "x" in display order is record 2, not record 1.
  ui.script({Answer::Text("x")});
  BrowserSearch(ws);
  EXPECT_EQ(RecNo(ws.table), 2);
  BrowserSearchNext(ws);
  EXPECT_EQ(RecNo(ws.table), 1);
  // Appending keeps the order current.
  SetFieldText(ws.table, 2, "0.5");
  append();
  EXPECT_EQ(BrowseRows(ws.table, 2), (std::vector<std::uint32_t>{4, 2, 3, 1}));
}

TEST_F(TableServiceTest, EditMenuAppendsAndPacks) {
  sample();
  open("muster");
  BrowserAppendRecord(ws.table, ws.diag, ws);
  EXPECT_EQ(RecCount(ws.table), 4);
  EXPECT_EQ(RecNo(ws.table), 4);
  BrowserSetCell(ws.table, ws.diag, ws, 4, 1, "Zink");
  EXPECT_EQ(FieldText(ws.table, 1), "Zink");
  BrowserSetDeleted(ws.table, ws.diag, 1, true);
  BrowserSetDeleted(ws.table, ws.diag, 2, true);
  EXPECT_TRUE(BrowserPack(ws.table, ws.diag, ws));
  EXPECT_EQ(RecCount(ws.table), 2);
  EXPECT_EQ(RecNo(ws.table), 2);
  EXPECT_EQ(FieldText(ws.table, 1), "Zink");
  EXPECT_EQ(RecnoLabel(ws.table), "2/2");
}

TEST_F(TableServiceTest, FileMenuDelimitedRoundTripAndAppendFromAnotherCodePage) {
  sample();
  const std::string ansi = makeTable("ansi.dbf", {{"\xD6l", 9}}, kDbfDriverWin1252);  // "Öl" in 1252
  open("muster");
  const std::string txt = dir.file("muster.txt");
  ui.script({Answer::Text(txt), Answer::Text(txt), Answer::Cancel(), Answer::Text(ansi)});
  BrowserSaveDelimited(ws);
  BrowserAppendDelimited(ws);
  EXPECT_EQ(RecCount(ws.table), 6);
  BrowserAppendDbf(ws);  // cancelled: nothing happens
  EXPECT_EQ(RecCount(ws.table), 6);
  EXPECT_FALSE(ws.abort);
  BrowserAppendDbf(ws);
  ASSERT_EQ(RecCount(ws.table), 7);
  GoRecord(ws.table, ws.messages, 7);
  EXPECT_EQ(FieldText(ws.table, 1), oem("Öl"));
  GoRecord(ws.table, ws.messages, 5);
  EXPECT_EQ(FieldText(ws.table, 1), "Bronze");
  EXPECT_EQ(ui.requests()[0].kind, Kind::SaveFile);
  EXPECT_EQ(ui.requests()[0].prompt, "txt|*.txt|All files|*.*");
  EXPECT_EQ(ui.requests()[1].prompt, "*.txt|*.txt");
  EXPECT_EQ(ui.requests()[3].prompt, "*.dbf|*.dbf");
}

TEST_F(TableServiceTest, ExportHtmlWritesWindowsTextAndStartsTheViewer) {
  makeTable("muster.dbf", {{oem("Bänder"), 1}});
  open("muster");
  std::string shown;
  ws.table.showHtml = [&](TableContext&, const std::string& file) { shown = file; };
  const std::string html = dir.file("liste.htm");
  ui.script({Answer::Text(html)});
  BrowserExportHtml(ws);
  EXPECT_EQ(shown, html);
  const std::string page = readFile(html);
  EXPECT_NE(page.find("<head><title>liste</title></head>"), std::string::npos);
  EXPECT_NE(page.find("<TD>B\xE4nder</TD>"), std::string::npos) << "table text in Windows-1252";
  EXPECT_EQ(ui.requests()[0].prompt, "HTML files|*.HTM;*.HTML|All files|*.*");

  // Without a front end of its own the configured viewer gets the file as one argument.
  ws.table.showHtml = nullptr;
  ws.config.htmlBrowser = "sh -c";
  std::vector<std::vector<std::string>> started;
  ws.programs.hook = [&](const std::vector<std::string>& argv) {
    started.push_back(argv);
    return 0;
  };
  ui.script({Answer::Text(html)});
  BrowserExportHtml(ws);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], (std::vector<std::string>{"sh", "-c", html}));
  ws.table.showHtml = [&](TableContext&, const std::string& file) { shown = file; };

  // A file that cannot be written: message, abort, no viewer.
  shown.clear();
  ws.io.writeFault = [](std::string_view) { return ENOSPC; };
  ui.script({Answer::Text(dir.file("voll.htm"))});
  BrowserExportHtml(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(ui.messages(MessageKind::Error).size(), 1u);
}

// The work behind the browser's questions runs on the parts alone: no window is asked, and every
// failure is a message in the sink, in order, with a false result.
TEST_F(TableServiceTest, WorkOnThePartsAsksNothingAndReportsInTheSink) {
  sample();
  TableService table;
  Diagnostics diag;
  Host host(ui);
  Settings settings;
  settings.config.dbfDir = tables.path();
  settings.config.tempDir = temp.path();
  ASSERT_TRUE(OpenTable(table, diag, settings, host, "muster"));
  const std::string txt = dir.file("teile.txt");
  EXPECT_TRUE(SaveDelimitedFile(table, diag, host, txt));
  EXPECT_TRUE(AppendDelimitedFile(table, diag, host, txt));
  EXPECT_EQ(RecCount(table), 6);
  EXPECT_TRUE(SearchRows(table, diag, "anker", 0));
  EXPECT_EQ(RecNo(table), 3);
  EXPECT_FALSE(SearchRows(table, diag, "Zinn", 0));
  EXPECT_EQ(RecNo(table), 3);
  EXPECT_FALSE(AppendDbfFile(table, diag, host, dir.file("fehlt.dbf")));
  host.io.writeFault = [](std::string_view) { return ENOSPC; };
  EXPECT_FALSE(ExportHtmlFile(table, diag, settings, host, dir.file("voll.htm")));
  EXPECT_FALSE(OpenTable(table, diag, settings, host, "fehlt"));
  EXPECT_FALSE(table.dbf.isOpen());
  EXPECT_TRUE(ui.requests().empty());
  ASSERT_EQ(diag.messages().size(), 4u);
  EXPECT_EQ(diag.messages()[0].severity, Severity::Info);
  EXPECT_EQ(diag.messages()[0].text, "Zinn nicht gefunden");
  EXPECT_EQ(diag.messages()[1].severity, Severity::Error);
  EXPECT_EQ(diag.messages()[1].text, "Datei " + dir.file("fehlt.dbf") + " nicht gefunden oder kein Zugriffsrecht !");
  EXPECT_EQ(diag.messages()[2].text, "Datei " + dir.file("voll.htm") + " kann nicht geschrieben werden.");
  EXPECT_EQ(diag.messages()[3].text, "Datei " + tables.file("fehlt.dbf") + " nicht gefunden oder kein Zugriffsrecht !");
  EXPECT_EQ(diag.errorCount(), 3u);
}

struct CollectingSink : TableListingSink {
  std::vector<TableListingColumn> columns;
  std::vector<std::vector<std::string>> rows;
  void heading(const std::vector<TableListingColumn>& c) override { columns = c; }
  void row(const std::vector<std::string>& cells) override { rows.push_back(cells); }
};

TEST_F(TableServiceTest, PrintListingAndHeaderInCodePage850) {
  makeTable("ansi.dbf", {{"\xD6l", 9}}, kDbfDriverWin1252);
  open("ansi");
  SetBrowseTitles(ws.table, "T1", "Material");
  CollectingSink sink;
  BrowserPrint(ws.table, sink);
  ASSERT_EQ(sink.columns.size(), 4u);
  EXPECT_EQ(sink.columns[0].title, "NAME");
  EXPECT_EQ(sink.columns[0].width, 21);
  ASSERT_EQ(sink.rows.size(), 1u);
  EXPECT_EQ(sink.rows[0][0], oem("Öl"));
  const auto header = BrowserPrintHeader(ws.table, 1);
  ASSERT_EQ(header.size(), 4u);
  EXPECT_EQ(header[1], tables.file("ansi.dbf"));
  EXPECT_EQ(header[2], "Material   T1");
  EXPECT_EQ(header[3], "T1");
}

}  // namespace
}  // namespace velk::test
