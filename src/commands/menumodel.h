// The main window's menu as data: every item with its caption, shortcut and state, the captions of
// the current language, the recent-file list, the window title and the view a refresh draws.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/captions.h"

namespace velk {

// Every item of the main menu, in display order: a menu is followed by its items, a submenu by
// its items. The window renders the items and reports the chosen MenuId; command dispatch is a
// switch over this enum (no catch-all members, so -Werror=switch finds a forgotten item).
enum class MenuId {
  File,
  FileNew,
  FileOpen,
  FileOpenTable,
  FileSave,
  FileSaveAs,
  FileSep1,
  FilePrint,
  FilePrintMacro,
  FilePrinterSetup,
  FileExportPicture,
  FileSep2,
  FileConfig,
  FileSep3,
  FileRecent1,
  FileRecent2,
  FileRecent3,
  FileRecent4,
  FileSepRecent,
  FileExit,

  Edit,
  EditQuick,
  EditText,
  EditHerstellung,
  EditMaterial,
  EditApplication,
  EditSep1,
  EditDimensioning,
  EditSep2,
  EditRecalculation,
  EditSep3,
  EditPreDimensioning,
  EditSep4,
  EditCalculation,

  View,
  ViewStandard,
  ViewExcerpt,
  ViewQuick1,
  ViewQuick2,
  ViewProductionDrawing,
  ViewDrawing,
  ViewDrawing0,
  ViewDrawingX,
  ViewDrawingSa,
  ViewCharLine,
  ViewGoodman,
  ViewHaighGoodman,
  ViewRmt,
  ViewSigmaBt,
  ViewSep1,
  ViewErrorMessages,

  Cad,
  CadFrontView,
  CadSideView,
  CadStepModel,
  CadSep1,
  CadDiagrams,

  Database,
  DbfMaterial,
  DbfMaterialRound,

  Documentation,
  DocDrawingInfo,
  DocSep1,
  DocShowChanges,
  DocPrintChanges,
  DocNewChange,
  DocModifyChange,
  DocDeleteChange,
  DocSep2,
  Document1,
  Document2,
  Document3,
  Document4,
  Document5,
  DocSep3,
  DocumentSetup,

  Ole,
  OleStartExcel,
  OleExportExcel,
  OleImportExcel,
  OleSep1,
  OlePrintoutExcel,

  Help,
  HelpImages,
  HelpErrorMessages,
  HelpHistory,
  HelpLanguage,
  HelpLanguageDeutsch,
  HelpLanguageEnglish,
  HelpLanguageFrancais,
  HelpLanguageItaliano,
  HelpLanguageKorea,
  HelpSep1,
  HelpAbout,
};
inline constexpr int kMenuItemCount = static_cast<int>(MenuId::HelpAbout) + 1;

struct MenuItem {
  MenuId id;
  std::string_view name;         // "mi_fileNew", "N13"; separators "sep_..."
  std::optional<MenuId> parent;  // empty for the menus on the menu bar
  std::string caption;           // UTF-8, "&" marks the accelerator ("&&" a plain "&")
  std::string_view shortcut;     // "Ctrl+N", "Shift+F1"; empty when none
  bool enabled = true;
  bool visible = true;
  bool separator = false;
  bool checked = false;           // the language items: the language in use
  bool fromCaptionTable = false;  // the caption follows the language (applyMenuCaptions)
};

// The menu with the captions of the form: every item enabled and visible, nothing checked, except
// the spreadsheet export and import items, which wait for the spreadsheet to be started.
class MenuModel {
 public:
  MenuModel();

  const std::vector<MenuItem>& items() const { return items_; }
  const MenuItem& item(MenuId id) const { return items_[static_cast<std::size_t>(id)]; }
  MenuItem& item(MenuId id) { return items_[static_cast<std::size_t>(id)]; }
  // The items directly below parent (empty: the menu bar), in display order.
  std::vector<MenuId> childrenOf(std::optional<MenuId> parent) const;

 private:
  std::vector<MenuItem> items_;
};

// ---- Recent files ----

inline constexpr int kRecentFiles = 4;
// Full paths, most recent first; an empty entry is unused.
using RecentFiles = std::array<std::string, kRecentFiles>;
// Paths of this many characters or more are shortened in the menu.
inline constexpr int kRecentShortenLength = 50;

// Puts path first: equal entries are removed first (the later ones moving up), then the list moves
// down by one, dropping the fourth. Names are compared exactly (Linux names are case-sensitive).
// An empty path changes nothing.
void addRecentFile(RecentFiles& list, const std::string& path);
// Removes entry i (1..4), the later ones moving up and the last becoming empty; other i: nothing.
void removeRecentFile(RecentFiles& list, int i);
// A path of 50 characters (UTF-8 characters, not bytes) or more: the part up to and including its
// first "/", "...", and the part from its last "/" on. Shorter paths, paths with fewer than two
// "/" and paths that would not get shorter stay whole.
std::string shortenRecentPath(std::string_view path);
// The menu caption of entry i (1..4): "&" + i + " " + the shortened path, its own "&" doubled so
// that the accelerator stays the number.
std::string recentFileCaption(int i, std::string_view path);

// ---- Menu procedures ----

// Every item marked fromCaptionTable takes its text from the caption tables of the current
// language; the others keep their form captions.
void applyMenuCaptions(MenuModel& menu, const Captions& captions);
// After a calculation: View -> error messages shows the message count and is enabled only when
// there are messages.
void showMessageCount(MenuModel& menu, const Captions& captions, int count);
// The four recent-file items and the separator above File -> Exit.
void showRecentFiles(MenuModel& menu, const RecentFiles& list);
// The spreadsheet export and import items are enabled once the spreadsheet was started.
void showSpreadsheetStarted(MenuModel& menu, bool started);
// Checks the language item of the language in use (Deutsch for 0 and 1; none for languages the
// menu does not offer).
void showLanguage(MenuModel& menu, int language);

// Everything the menu shows, for building it in one go.
struct MenuInput {
  int language = kLanguageNone;
  RecentFiles recentFiles{};
  std::optional<int> messageCount;  // empty before the first calculation
  bool spreadsheetStarted = false;
};
// The form menu with all of the procedures above applied. A language switch keeps the message
// count, so the count does not vanish until the next calculation.
MenuModel buildMainMenu(const MenuInput& input);

// ---- Refresh, help texts ----

// (The window title is dialogs/dialogs.h: windowTitle, used by SetWindowTitle.)

// The result view that a refresh draws.
enum class RefreshView { None, Quick1, Quick2, ProductionDrawing, FrontDrawing, Characteristic };
// resultView 1 quick view 1, 2 quick view 2, 3 the production drawing, 5 the front view of the drawing, 4 the
// characteristic; any other value quick view 1 when helpLevel is not 0, nothing otherwise.
RefreshView refreshView(int resultView, int helpLevel);

// Help -> History: the program's change history, code page 850 lines.
std::vector<std::string> historyText();

// Help -> About, code page 850.
struct AboutText {
  std::string title;               // "VELK - Spiralfedern"
  std::string version;             // "3.4"
  std::vector<std::string> lines;  // the box's text, title and version line first
};
AboutText aboutText();

}  // namespace velk
