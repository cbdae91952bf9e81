// The main menu as data: caption tables of every language, the run-time captions, the recent-file
// list and its menu items, the window title and the view a refresh draws.
#include "commands/menumodel.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <regex>
#include <set>

#include "dialogs/dialogs.h"

namespace velk::test {
namespace {

bool hasAccelerator(const std::string& s) { return s.find('&') != std::string::npos; }

MenuInput input(int language, std::optional<int> messageCount = std::nullopt, bool spreadsheetStarted = false) {
  MenuInput in;
  in.language = language;
  in.messageCount = messageCount;
  in.spreadsheetStarted = spreadsheetStarted;
  return in;
}

std::map<MenuId, std::string> captionsOf(const MenuModel& menu) {
  std::map<MenuId, std::string> out;
  for (const MenuItem& it : menu.items()) out[it.id] = it.caption;
  return out;
}

// ---- Caption tables ----

TEST(CaptionTables, EveryLanguageColumnIsCompleteWithItsAccelerators) {
  const std::regex korean(R"(.*\(&[A-Z]\)(\.\.\.)?)");
  for (int lang = 1; lang <= kLastLanguage; ++lang) {
    for (int r = 0; r < kCaptionRowsA; ++r) {
      const std::string de = captionA(kLanguageGerman, static_cast<CapA>(r));
      const std::string s = captionA(lang, static_cast<CapA>(r));
      ASSERT_FALSE(s.empty()) << "A row " << r << " language " << lang;
      EXPECT_EQ(hasAccelerator(s), hasAccelerator(de)) << "A row " << r << " language " << lang << ": " << s;
      if (lang == kLanguageKorean && hasAccelerator(s)) {
        EXPECT_TRUE(std::regex_match(s, korean)) << s;
      }
    }
    if (!hasOwnColumnB(lang)) continue;
    for (int r = 0; r < kCaptionRowsB; ++r) {
      const std::string de = captionB(kLanguageGerman, static_cast<CapB>(r));
      const std::string s = captionB(lang, static_cast<CapB>(r));
      ASSERT_FALSE(s.empty()) << "B row " << r << " language " << lang;
      EXPECT_EQ(hasAccelerator(s), hasAccelerator(de)) << "B row " << r << " language " << lang << ": " << s;
      if (lang == kLanguageKorean) {
        EXPECT_TRUE(std::regex_match(s, korean)) << s;
      }
    }
  }
  // Row order of the tables: first and last rows.
  EXPECT_EQ(captionA(1, CapA::Menue), "Menü");
  EXPECT_EQ(captionA(2, CapA::Basisdaten), "&Base Data");
  EXPECT_EQ(captionB(1, CapB::AuslegungWerkstoff), "A&uslegung Werkstoff");
  EXPECT_EQ(captionB(1, CapB::Lastkollektiv), "&Lastkollektiv");
}

TEST(CaptionTables, TellingRowsAndFallbacks) {
  struct Row {
    int lang;
    CapA row;
    const char* text;
  };
  const Row rows[] = {
      {3, CapA::Menue, "Menu"},
      {4, CapA::Menue, "Menu"},
      {6, CapA::Menue, "Menu"},
      {5, CapA::Menue, "Meny"},
      {7, CapA::Menue, "Meniu"},
      {9, CapA::Menue, "Menú"},
      {3, CapA::Datei, "&Fichier"},
      {4, CapA::Datei, "&File"},
      {5, CapA::Datei, "&Arkiv"},
      {6, CapA::Datei, "&Arquivo"},
      {7, CapA::Datei, "&Fisier"},
      {9, CapA::Datei, "&Archivo"},
      {3, CapA::Nachrechnung, "&Vérification"},
      {2, CapA::Vorderansicht, "P&rojection"},
      {1, CapA::AenderungLoeschen, "Letzte Änderung &löschen"},
      {0, CapA::Datei, "&Datei"},
      {42, CapA::Datei, "&Datei"},
      {-1, CapA::Sprache, "&Sprache"},
  };
  for (const Row& r : rows) EXPECT_EQ(captionA(r.lang, r.row), r.text) << "language " << r.lang;

  EXPECT_EQ(captionB(2, CapB::Federkennlinie), "&Load deflection curve of spring");
  EXPECT_EQ(captionB(2, CapB::GoodmanDiagramm), "&Goodman diagram");
  // No Romanian column in table B: German, as for language 0.
  EXPECT_FALSE(hasOwnColumnB(kLanguageRomanian));
  for (int r = 0; r < kCaptionRowsB; ++r) {
    EXPECT_EQ(captionB(kLanguageRomanian, static_cast<CapB>(r)), captionB(1, static_cast<CapB>(r)));
    EXPECT_EQ(captionB(kLanguageNone, static_cast<CapB>(r)), captionB(1, static_cast<CapB>(r)));
  }
  // The columns after the missing one are not shifted.
  EXPECT_EQ(captionB(kLanguageSpanish, CapB::GoodmanDiagramm), "Diagrama de &Goodman");
  EXPECT_EQ(captionB(kLanguageKorean, CapB::GoodmanDiagramm), "Goodman 선도(&G)");
}

// ---- Menu structure and run-time captions ----

TEST(MenuModel, TreeIsConsistent) {
  const MenuModel menu;
  ASSERT_EQ(menu.items().size(), static_cast<std::size_t>(kMenuItemCount));
  std::set<std::string_view> names;
  std::set<MenuId> seen;
  for (const MenuItem& it : menu.items()) {
    EXPECT_TRUE(names.insert(it.name).second) << "duplicate name " << it.name;
    EXPECT_EQ(it.separator, it.caption.empty()) << it.name;
    if (it.parent) {
      EXPECT_TRUE(seen.count(*it.parent)) << it.name << " shown before its menu";
      EXPECT_FALSE(menu.item(*it.parent).separator) << it.name;
    }
    seen.insert(it.id);
  }
  const std::vector<MenuId> bar{MenuId::File,     MenuId::Edit,          MenuId::View, MenuId::Cad,
                                MenuId::Database, MenuId::Documentation, MenuId::Ole,  MenuId::Help};
  EXPECT_EQ(menu.childrenOf(std::nullopt), bar);
  EXPECT_EQ(menu.childrenOf(MenuId::ViewDrawing),
            (std::vector<MenuId>{MenuId::ViewDrawing0, MenuId::ViewDrawingX, MenuId::ViewDrawingSa}));
  EXPECT_EQ(menu.childrenOf(MenuId::HelpLanguage).size(), 5u);
  EXPECT_EQ(menu.item(MenuId::HelpAbout).parent, MenuId::Help);

  const std::map<MenuId, std::string_view> shortcuts{
      {MenuId::FileNew, "Ctrl+N"},       {MenuId::FileOpen, "Ctrl+O"},      {MenuId::FileSave, "Ctrl+S"},
      {MenuId::FilePrint, "Ctrl+P"},     {MenuId::FileRecent1, "Shift+F1"}, {MenuId::FileRecent2, "Shift+F2"},
      {MenuId::FileRecent3, "Shift+F3"}, {MenuId::FileRecent4, "Shift+F4"}};
  for (const MenuItem& it : menu.items()) {
    auto s = shortcuts.find(it.id);
    EXPECT_EQ(it.shortcut, s == shortcuts.end() ? "" : s->second) << it.name;
  }
  EXPECT_EQ(menu.item(MenuId::FileRecent1).name, "N13");
  EXPECT_EQ(menu.item(MenuId::FileRecent4).name, "N41");
}

TEST(MenuModel, GermanRunTimeCaptionsAndFormCaptionsKept) {
  const MenuModel menu = buildMainMenu({});
  const std::map<MenuId, std::string> expected{
      {MenuId::File, "&Datei"},
      {MenuId::FileOpenTable, "Ö&ffnen... (&Tabelle)"},
      {MenuId::FileSaveAs, "Speichern &Unter..."},
      {MenuId::FilePrinterSetup, "Druckereinstellung"},
      {MenuId::FileConfig, "E&instellungen"},
      {MenuId::EditRecalculation, "&Nachrechnung"},
      {MenuId::EditCalculation, "&Berechnungsmethode"},
      {MenuId::ViewQuick2, "&Quick 2"},
      {MenuId::ViewDrawingX, "&Zeichnung delta = ?"},
      {MenuId::ViewDrawingSa, "&Seitenansicht"},
      {MenuId::ViewCharLine, "&Federkennlinie"},
      {MenuId::ViewGoodman, "&Goodman-Diagramm"},
      {MenuId::CadDiagrams, "&Diagramme..."},
      {MenuId::DbfMaterialRound, "&Werkstoff talmwst.dbf"},
      {MenuId::DocModifyChange, "Letzte Änderung &bearbeiten"},
      {MenuId::Document3, "D&okument &3"},
      {MenuId::DocumentSetup, "Dokument &Setup"},
      {MenuId::HelpErrorMessages, "&Fehlermeldungen"},
      {MenuId::HelpLanguage, "Menü &Sprache"},
      // Items without a table caption keep the form's.
      {MenuId::FilePrintMacro, "Print Macro..."},
      {MenuId::ViewHaighGoodman, "&Haigh-Goodman"},
      {MenuId::ViewSigmaBt, "Sigma b = f(t)"},
      {MenuId::Ole, "&OLE"},
      {MenuId::OleExportExcel, "Export VELK -> Excel"},
      {MenuId::HelpHistory, "&History"},
      {MenuId::HelpLanguageKorea, "&Korea"},
      {MenuId::HelpAbout, "VEL&K"},
  };
  for (const auto& [id, caption] : expected) EXPECT_EQ(menu.item(id).caption, caption) << menu.item(id).name;
  EXPECT_EQ(captionsOf(buildMainMenu(input(kLanguageGerman))), captionsOf(menu));
}

TEST(MenuModel, KoreanAndBackToGermanRestoresEveryGermanCaption) {
  Captions captions(kLanguageGerman);
  MenuModel menu;
  applyMenuCaptions(menu, captions);
  const auto german = captionsOf(menu);

  captions.setLanguage(kLanguageKorean);
  applyMenuCaptions(menu, captions);
  EXPECT_EQ(menu.item(MenuId::File).caption, "파일(&F)");
  EXPECT_EQ(menu.item(MenuId::HelpLanguage).caption, "메뉴 언어(&L)");
  for (const MenuItem& it : menu.items()) {
    if (it.fromCaptionTable)
      EXPECT_NE(it.caption, german.at(it.id)) << it.name << " not translated";
    else
      EXPECT_EQ(it.caption, german.at(it.id)) << it.name;
  }

  captions.setLanguage(kLanguageGerman);
  applyMenuCaptions(menu, captions);
  EXPECT_EQ(captionsOf(menu), german);
  EXPECT_EQ(menu.item(MenuId::HelpLanguage).caption, "Menü" + std::string(" ") + "&Sprache");
}

TEST(MenuModel, MessageCountCaption) {
  struct Case {
    int language;
    int count;
    const char* caption;
    bool enabled;
  };
  const Case cases[] = {
      {1, 3, "&Fehlermeldungen (3)", true},
      {1, 0, "&Fehlermeldungen (0)", false},
      {2, 11, "&Error messages (11)", true},
  };
  for (const Case& c : cases) {
    MenuModel menu;
    showMessageCount(menu, Captions(c.language), c.count);
    EXPECT_EQ(menu.item(MenuId::ViewErrorMessages).caption, c.caption);
    EXPECT_EQ(menu.item(MenuId::ViewErrorMessages).enabled, c.enabled);
    EXPECT_EQ(menu.item(MenuId::HelpErrorMessages).caption, "Error Messages") << "help item untouched";
  }
  // Built for another language, the count stays (a language switch does not lose it).
  const MenuModel french = buildMainMenu(input(kLanguageFrench, 2));
  EXPECT_EQ(french.item(MenuId::ViewErrorMessages).caption, "Messages d'&erreur (2)");
  // Before the first calculation: no count, enabled as in the form.
  const MenuModel fresh = buildMainMenu({});
  EXPECT_EQ(fresh.item(MenuId::ViewErrorMessages).caption, "&Fehlermeldungen");
  EXPECT_TRUE(fresh.item(MenuId::ViewErrorMessages).enabled);
}

TEST(MenuModel, SpreadsheetItemsWaitForTheStartAndLanguageIsChecked) {
  for (bool started : {false, true}) {
    const MenuModel menu = buildMainMenu(input(kLanguageKorean, std::nullopt, started));
    EXPECT_EQ(menu.item(MenuId::OleExportExcel).enabled, started);
    EXPECT_EQ(menu.item(MenuId::OleImportExcel).enabled, started);
    EXPECT_TRUE(menu.item(MenuId::OleStartExcel).enabled);
    EXPECT_TRUE(menu.item(MenuId::OlePrintoutExcel).enabled);
    EXPECT_TRUE(menu.item(MenuId::HelpLanguageKorea).checked);
    EXPECT_FALSE(menu.item(MenuId::HelpLanguageDeutsch).checked);
  }
  EXPECT_FALSE(MenuModel().item(MenuId::OleExportExcel).enabled);
  EXPECT_TRUE(buildMainMenu(input(kLanguageNone)).item(MenuId::HelpLanguageDeutsch).checked);
}

// ---- Recent files ----

TEST(RecentFiles, AddAndRemove) {
  struct Case {
    const char* what;
    RecentFiles before;
    std::string add;
    RecentFiles after;
  };
  const Case cases[] = {
      {"into an empty list", {}, "/a/x.vlk", {"/a/x.vlk", "", "", ""}},
      {"entry 3 moves to 1 without duplicates",
       {"/1.vlk", "/2.vlk", "/3.vlk", "/4.vlk"},
       "/3.vlk",
       {"/3.vlk", "/1.vlk", "/2.vlk", "/4.vlk"}},
      {"a fifth path drops the oldest",
       {"/1.vlk", "/2.vlk", "/3.vlk", "/4.vlk"},
       "/5.vlk",
       {"/5.vlk", "/1.vlk", "/2.vlk", "/3.vlk"}},
      {"entry 1 again changes nothing", {"/1.vlk", "/2.vlk", "", ""}, "/1.vlk", {"/1.vlk", "/2.vlk", "", ""}},
      {"every duplicate removed", {"/1.vlk", "/2.vlk", "/1.vlk", ""}, "/1.vlk", {"/1.vlk", "/2.vlk", "", ""}},
      {"case-sensitive names are different files",
       {"/a/X.vlk", "", "", ""},
       "/a/x.vlk",
       {"/a/x.vlk", "/a/X.vlk", "", ""}},
      {"an empty path is not added", {"/1.vlk", "", "", ""}, "", {"/1.vlk", "", "", ""}},
  };
  for (const Case& c : cases) {
    RecentFiles list = c.before;
    addRecentFile(list, c.add);
    EXPECT_EQ(list, c.after) << c.what;
  }

  RecentFiles list{"/1.vlk", "/2.vlk", "/3.vlk", "/4.vlk"};
  removeRecentFile(list, 2);
  EXPECT_EQ(list, (RecentFiles{"/1.vlk", "/3.vlk", "/4.vlk", ""}));
  removeRecentFile(list, 0);
  removeRecentFile(list, 5);
  EXPECT_EQ(list, (RecentFiles{"/1.vlk", "/3.vlk", "/4.vlk", ""}));
  removeRecentFile(list, 4);
  removeRecentFile(list, 1);
  EXPECT_EQ(list, (RecentFiles{"/3.vlk", "/4.vlk", "", ""}));
}

TEST(RecentFiles, ShorteningAtFiftyCharacters) {
  const std::string folder = "/data/springs/";  // three "/"
  struct Case {
    const char* what;
    std::string path;
    std::string shown;
  };
  const Case cases[] = {
      {"50 characters", folder + std::string(32, 'f') + ".vlk", "/.../" + std::string(32, 'f') + ".vlk"},
      {"49 characters", folder + std::string(31, 'f') + ".vlk", folder + std::string(31, 'f') + ".vlk"},
      {"one '/' only", std::string(45, 'f') + "/x.vlk", std::string(45, 'f') + "/x.vlk"},
      {"relative path", "work" + folder + std::string(40, 'f'), "work/.../" + std::string(40, 'f')},
      // Umlauts are one character each although two bytes in UTF-8.
      {"49 characters with umlauts", "/Äbcde/" + std::string(38, 'f') + ".vlk",
       "/Äbcde/" + std::string(38, 'f') + ".vlk"},
      {"nothing to cut between the '/'", "/ab/" + std::string(50, 'f'), "/ab/" + std::string(50, 'f')},
  };
  for (const Case& c : cases) EXPECT_EQ(shortenRecentPath(c.path), c.shown) << c.what;
}

TEST(RecentFiles, MenuDisplay) {
  MenuModel menu;
  const std::string longPath = "/home/engineer/projects/" + std::string(30, 'p') + "/spring.vlk";
  showRecentFiles(menu, {"/a/b.vlk", "", longPath, ""});
  EXPECT_TRUE(menu.item(MenuId::FileSepRecent).visible);
  EXPECT_EQ(menu.item(MenuId::FileRecent1).caption, "&1 /a/b.vlk");
  EXPECT_TRUE(menu.item(MenuId::FileRecent1).visible);
  EXPECT_FALSE(menu.item(MenuId::FileRecent2).visible);
  EXPECT_EQ(menu.item(MenuId::FileRecent3).caption, "&3 /.../spring.vlk");
  EXPECT_TRUE(menu.item(MenuId::FileRecent3).visible);
  EXPECT_FALSE(menu.item(MenuId::FileRecent4).visible);

  showRecentFiles(menu, {"", "/a/b.vlk", "", ""});
  EXPECT_FALSE(menu.item(MenuId::FileSepRecent).visible) << "follows entry 1 only";
  EXPECT_TRUE(menu.item(MenuId::FileRecent2).visible);

  // A "&" in a file name is shown, not taken as the accelerator.
  EXPECT_EQ(recentFileCaption(2, "/a/R&D.vlk"), "&2 /a/R&&D.vlk");
}

// ---- Title, refresh, help texts ----

TEST(WindowTitle, Cases) {
  struct Case {
    const char* name;
    const char* ext;
    const char* title;
  };
  const Case cases[] = {
      {"", "vlk", "VELK - Spiralfedern"},
      {"feder1", "vlk", "VELK - Spiralfedern  -  feder1.vlk"},
      {"feder1.vlk", "vlk", "VELK - Spiralfedern  -  feder1.vlk"},
      {"/home/a/feder1.alt", "vlk", "VELK - Spiralfedern  -  /home/a/feder1.alt"},
      {"/home/a.b/feder1", "vlk", "VELK - Spiralfedern  -  /home/a.b/feder1.vlk"},
      {"../x", "vlk", "VELK - Spiralfedern  -  ../x.vlk"},
      {"feder1", "", "VELK - Spiralfedern  -  feder1"},
  };
  for (const Case& c : cases) EXPECT_EQ(windowTitle("VELK - Spiralfedern", c.name, c.ext), c.title) << c.name;
}

TEST(Refresh, ViewForResultViewAndHelpLevel) {
  struct Case {
    int resultView;
    int helpLevel;
    RefreshView view;
  };
  const Case cases[] = {
      {1, 0, RefreshView::Quick1},       {2, 0, RefreshView::Quick2},         {3, 0, RefreshView::ProductionDrawing},
      {5, 2, RefreshView::FrontDrawing}, {4, 0, RefreshView::Characteristic}, {0, 0, RefreshView::None},
      {0, 1, RefreshView::Quick1},       {0, 2, RefreshView::Quick1},         {6, 0, RefreshView::None},
      {-1, 1, RefreshView::Quick1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(refreshView(c.resultView, c.helpLevel), c.view) << c.resultView << "/" << c.helpLevel;
}

TEST(HelpTexts, AboutAndHistory) {
  const AboutText about = aboutText();
  EXPECT_EQ(about.title, "VELK - Spiralfedern");
  EXPECT_EQ(about.version, "3.4");
  ASSERT_GE(about.lines.size(), 2u);
  EXPECT_EQ(about.lines[1], "Version 3.4");
  const std::vector<std::string> history = historyText();
  ASSERT_FALSE(history.empty());
  // Code page 850: "Ä" is 0x8E.
  EXPECT_NE(history[0].find('\x8E'), std::string::npos);
}

}  // namespace
}  // namespace velk::test
