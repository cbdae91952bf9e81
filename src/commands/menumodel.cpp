// The main window's menu as data: every item with its caption, shortcut and state, the captions of
// the current language, the recent-file list, the window title and the view a refresh draws.
#include "commands/menumodel.h"

#include <iterator>

#include "base/codepage.h"
#include "base/identity.h"
#include "base/numfmt.h"

namespace velk {
namespace {

using M = MenuId;

struct ItemDef {
  MenuId id;
  const char* name;
  std::optional<MenuId> parent;
  const char* formCaption;  // empty for separators
  const char* shortcut;
};

constexpr std::nullopt_t kBar = std::nullopt;

// The menu in display order; the order of the rows is the order of MenuId.
constexpr ItemDef kItems[] = {
    {M::File, "mi_file", kBar, "&File", ""},
    {M::FileNew, "mi_fileNew", M::File, "&New", "Ctrl+N"},
    {M::FileOpen, "mi_fileOpen", M::File, "&Open...", "Ctrl+O"},
    {M::FileOpenTable, "mi_fileOpenTable", M::File, "OpenTable", ""},
    {M::FileSave, "mi_FileSave", M::File, "&Save", "Ctrl+S"},
    {M::FileSaveAs, "mi_FileSaveAs", M::File, "Save &As...", ""},
    {M::FileSep1, "sep_file1", M::File, "", ""},
    {M::FilePrint, "mi_fileprint", M::File, "&Print", "Ctrl+P"},
    {M::FilePrintMacro, "mi_filePrintMacro", M::File, "Print Macro...", ""},
    {M::FilePrinterSetup, "mi_filePrinterSetup", M::File, "Printer Setup", ""},
    // The current view as a PNG, SVG or PDF picture (for documents and web pages).
    {M::FileExportPicture, "mi_fileExportPicture", M::File, "Export Picture...", ""},
    {M::FileSep2, "sep_file2", M::File, "", ""},
    {M::FileConfig, "mi_fileConfig", M::File, "Config", ""},
    {M::FileSep3, "sep_file3", M::File, "", ""},
    {M::FileRecent1, "N13", M::File, "1", "Shift+F1"},
    {M::FileRecent2, "N12", M::File, "2", "Shift+F2"},
    {M::FileRecent3, "N31", M::File, "3", "Shift+F3"},
    {M::FileRecent4, "N41", M::File, "4", "Shift+F4"},
    {M::FileSepRecent, "sep_fileRecent", M::File, "", ""},
    {M::FileExit, "mi_fileexit", M::File, "E&xit", ""},

    {M::Edit, "mi_Edit", kBar, "&Edit", ""},
    {M::EditQuick, "mi_EditQuick", M::Edit, "Quick", ""},
    {M::EditText, "mi_EditText", M::Edit, "Text", ""},
    {M::EditHerstellung, "mi_editherstellung", M::Edit, "Herstellung", ""},
    {M::EditMaterial, "mi_EditMaterial", M::Edit, "Material", ""},
    {M::EditApplication, "mi_EditApplication", M::Edit, "Application", ""},
    {M::EditSep1, "sep_edit1", M::Edit, "", ""},
    {M::EditDimensioning, "mi_EditDimensioning", M::Edit, "Dimensioning", ""},
    {M::EditSep2, "sep_edit2", M::Edit, "", ""},
    {M::EditRecalculation, "mi_EditRecalculation", M::Edit, "Recalculation", ""},
    {M::EditSep3, "sep_edit3", M::Edit, "", ""},
    {M::EditPreDimensioning, "mi_EditPreDimensioning", M::Edit, "Pre-Dimensioning", ""},
    {M::EditSep4, "sep_edit4", M::Edit, "", ""},
    {M::EditCalculation, "mi_editCalculation", M::Edit, "Berechnung", ""},

    {M::View, "mi_View", kBar, "&View", ""},
    {M::ViewStandard, "mi_ViewStandard", M::View, "Standard", ""},
    {M::ViewExcerpt, "mi_ViewExcerpt", M::View, "Excerpt", ""},
    {M::ViewQuick1, "mi_ViewQuick1", M::View, "Quick 1", ""},
    {M::ViewQuick2, "mi_viewquick2", M::View, "Quick 2", ""},
    {M::ViewProductionDrawing, "mi_viewProductionDrawing", M::View, "Production Drawing", ""},
    {M::ViewDrawing, "mi_ViewDrawing", M::View, "Drawing", ""},
    {M::ViewDrawing0, "mi_viewdrawing0", M::ViewDrawing, "drawing0", ""},
    {M::ViewDrawingX, "mi_viewdrawingx", M::ViewDrawing, "drawingx", ""},
    {M::ViewDrawingSa, "mi_viewdrawingsa", M::ViewDrawing, "sa", ""},
    {M::ViewCharLine, "mi_ViewCharLine", M::View, "Char.Line", ""},
    {M::ViewGoodman, "mi_ViewGoodman", M::View, "Goodman", ""},
    {M::ViewHaighGoodman, "mi_viewHaighGoodman", M::View, "&Haigh-Goodman", ""},
    {M::ViewRmt, "mi_viewrmt", M::View, "Rm = f(t)", ""},
    {M::ViewSigmaBt, "mi_viewsigmabt", M::View, "Sigma b = f(t)", ""},
    {M::ViewSep1, "sep_view1", M::View, "", ""},
    {M::ViewErrorMessages, "mi_viewErrorMessages", M::View, "Error Messages", ""},

    {M::Cad, "mi_CAD", kBar, "&CAD", ""},
    {M::CadFrontView, "mi_cadvorderansicht", M::Cad, "Vorderansicht", ""},
    {M::CadSideView, "mi_cadseitenansicht", M::Cad, "Seitenansicht", ""},
    {M::CadStepModel, "mi_cadstep", M::Cad, "3D-Modell (STEP)...", ""},
    {M::CadSep1, "sep_cad1", M::Cad, "", ""},
    {M::CadDiagrams, "mi_caddiagrams", M::Cad, "Diagrams...", ""},

    {M::Database, "mi_database", kBar, "&Database", ""},
    {M::DbfMaterial, "mi_dbfmaterial", M::Database, "Material flach", ""},
    {M::DbfMaterialRound, "mi_dbfmaterialrund", M::Database, "Material rund", ""},

    {M::Documentation, "mi_documentation", kBar, "&Documentation", ""},
    {M::DocDrawingInfo, "mi_docdrawinginfo", M::Documentation, "Drawing Information", ""},
    {M::DocSep1, "sep_doc1", M::Documentation, "", ""},
    {M::DocShowChanges, "mi_docuShowChanges1", M::Documentation, "Show Changes", ""},
    {M::DocPrintChanges, "mi_docuPrintChanges", M::Documentation, "Print Changes", ""},
    {M::DocNewChange, "mi_docuNewChange", M::Documentation, "New Change", ""},
    {M::DocModifyChange, "mi_docuModifyChanges", M::Documentation, "Modify Changes", ""},
    {M::DocDeleteChange, "mi_docudeleteChange", M::Documentation, "Delete Change", ""},
    {M::DocSep2, "sep_doc2", M::Documentation, "", ""},
    {M::Document1, "mi_Document1", M::Documentation, "Document 1", ""},
    {M::Document2, "mi_Document2", M::Documentation, "Document 2", ""},
    {M::Document3, "mi_Document3", M::Documentation, "Document 3", ""},
    {M::Document4, "mi_Document4", M::Documentation, "Document 4", ""},
    {M::Document5, "mi_Document5", M::Documentation, "Document &5", ""},
    {M::DocSep3, "sep_doc3", M::Documentation, "", ""},
    {M::DocumentSetup, "mi_DocumentSetup", M::Documentation, "Document Setup", ""},

    {M::Ole, "mi_OLE", kBar, "&OLE", ""},
    {M::OleStartExcel, "mi_OleStartExcel", M::Ole, "Start Excel", ""},
    {M::OleExportExcel, "mi_OleExportExcel", M::Ole, "Export VELK -> Excel", ""},
    {M::OleImportExcel, "mi_OleImportExcel", M::Ole, "Import Excel -> VELK", ""},
    {M::OleSep1, "sep_ole1", M::Ole, "", ""},
    {M::OlePrintoutExcel, "mi_OlePrintoutExcel", M::Ole, "Printout -> Excel", ""},

    {M::Help, "mi_Help", kBar, "&Help", ""},
    {M::HelpImages, "mi_HelpHilfebild", M::Help, "&Hilfebild", ""},
    {M::HelpErrorMessages, "mi_helpErrorMessages", M::Help, "Error Messages", ""},
    {M::HelpHistory, "mi_helphistory", M::Help, "&History", ""},
    {M::HelpLanguage, "mi_helplanguage", M::Help, "menu sprache", ""},
    {M::HelpLanguageDeutsch, "mi_helplanguageDeutsch", M::HelpLanguage, "&Deutsch", ""},
    {M::HelpLanguageEnglish, "mi_helplanguageEnglish", M::HelpLanguage, "&English", ""},
    {M::HelpLanguageFrancais, "mi_helplanguageFrancais", M::HelpLanguage, "&Francais", ""},
    {M::HelpLanguageItaliano, "mi_helplanguageItaliano", M::HelpLanguage, "&Italiano", ""},
    {M::HelpLanguageKorea, "mi_helplanguageKorea", M::HelpLanguage, "&Korea", ""},
    {M::HelpSep1, "sep_help1", M::Help, "", ""},
    {M::HelpAbout, "mi_HelpAbout", M::Help, "VEL&K", ""},
};
static_assert(std::size(kItems) == kMenuItemCount, "one row per MenuId");

// item(id) indexes by the enum, so the table must follow its order.
constexpr bool inMenuIdOrder() {
  for (std::size_t k = 0; k < std::size(kItems); ++k)
    if (static_cast<std::size_t>(kItems[k].id) != k) return false;
  return true;
}
static_assert(inMenuIdOrder(), "menu rows in MenuId order");

// The caption an item takes from the caption tables, or nothing for an item that keeps its form
// caption. Every item is listed so that a new one must decide.
std::optional<std::string> tableCaption(MenuId id, const Captions& c) {
  using A = CapA;
  switch (id) {
    case M::File:
      return c.a(A::Datei);
    case M::FileNew:
      return c.a(A::Neu);
    case M::FileOpen:
      return c.a(A::Oeffnen);
    case M::FileOpenTable:
      return c.a(A::Oeffnen) + " (" + c.a(A::Tabelle) + ")";
    case M::FileSave:
      return c.a(A::Speichern);
    case M::FileSaveAs:
      return c.a(A::SpeichernUnter);
    case M::FilePrint:
      return c.a(A::Drucken);
    case M::FilePrinterSetup:
      return c.a(A::Druckereinstellung);
    case M::FileConfig:
      return c.a(A::Einstellungen);
    case M::FileExit:
      return c.a(A::Beenden);

    case M::Edit:
      return c.a(A::Bearbeiten);
    case M::EditQuick:
      return c.a(A::Quick);
    case M::EditText:
      return c.a(A::Text);
    case M::EditHerstellung:
      return c.a(A::Herstellung);
    case M::EditMaterial:
      return c.a(A::Werkstoff);
    case M::EditApplication:
      return c.a(A::Anwendung);
    case M::EditDimensioning:
      return c.a(A::Auslegung);
    case M::EditRecalculation:
      return c.a(A::Nachrechnung);
    case M::EditPreDimensioning:
      return c.a(A::Vorauslegung);
    case M::EditCalculation:
      return c.a(A::Berechnungsmethode);

    case M::View:
      return c.a(A::Ansicht);
    case M::ViewStandard:
      return c.a(A::Standardausdruck);
    case M::ViewExcerpt:
      return c.a(A::Auszug);
    case M::ViewQuick1:
      return c.a(A::Quick) + " 1";
    case M::ViewQuick2:
      return c.a(A::Quick) + " 2";
    case M::ViewProductionDrawing:
      return c.a(A::Fertigungszeichnung);
    case M::ViewDrawing:
      return c.a(A::Zeichnung);
    case M::ViewDrawing0:
      return c.a(A::Zeichnung);
    case M::ViewDrawingX:
      return c.a(A::Zeichnung) + " delta = ?";
    case M::ViewDrawingSa:
      return c.a(A::Seitenansicht);
    case M::ViewCharLine:
      return c.b(CapB::Federkennlinie);
    case M::ViewGoodman:
      return c.b(CapB::GoodmanDiagramm);
    case M::ViewErrorMessages:
      return c.a(A::Fehlermeldungen);

    case M::Cad:
      return c.a(A::Cad);
    case M::CadFrontView:
      return c.a(A::Vorderansicht);
    case M::CadSideView:
      return c.a(A::Seitenansicht);
    case M::CadStepModel:
      return c.a(A::Modell3d) + "...";
    case M::CadDiagrams:
      return c.a(A::Diagramme) + "...";

    case M::Database:
      return c.a(A::Datenbank);
    case M::DbfMaterial:
      return c.a(A::Werkstoff) + " velkwst.dbf";
    case M::DbfMaterialRound:
      return c.a(A::Werkstoff) + " talmwst.dbf";

    case M::Documentation:
      return c.a(A::Dokument);
    case M::DocDrawingInfo:
      return c.a(A::Zeichnungsdaten);
    case M::DocShowChanges:
      return c.a(A::AenderungenInfo);
    case M::DocPrintChanges:
      return c.a(A::AenderungenAusdruck);
    case M::DocNewChange:
      return c.a(A::NeueAenderung);
    case M::DocModifyChange:
      return c.a(A::AenderungBearbeiten);
    case M::DocDeleteChange:
      return c.a(A::AenderungLoeschen);
    case M::Document1:
      return c.a(A::Dokument) + " &1";
    case M::Document2:
      return c.a(A::Dokument) + " &2";
    case M::Document3:
      return c.a(A::Dokument) + " &3";
    case M::Document4:
      return c.a(A::Dokument) + " &4";
    case M::Document5:
      return c.a(A::Dokument) + " &5";
    case M::DocumentSetup:
      return c.a(A::DokumentSetup);

    case M::Help:
      return c.a(A::Hilfe);
    case M::HelpImages:
      return c.a(A::Hilfebild);
    case M::HelpErrorMessages:
      return c.a(A::Fehlermeldungen);
    case M::HelpLanguage:
      return c.a(A::Menue) + " " + c.a(A::Sprache);

    case M::FileSep1:
    case M::FileSep2:
    case M::FileSep3:
    case M::FileSepRecent:
    case M::FilePrintMacro:
    case M::FileExportPicture:
    case M::FileRecent1:
    case M::FileRecent2:
    case M::FileRecent3:
    case M::FileRecent4:
    case M::EditSep1:
    case M::EditSep2:
    case M::EditSep3:
    case M::EditSep4:
    case M::ViewHaighGoodman:
    case M::ViewRmt:
    case M::ViewSigmaBt:
    case M::ViewSep1:
    case M::CadSep1:
    case M::DocSep1:
    case M::DocSep2:
    case M::DocSep3:
    case M::Ole:
    case M::OleStartExcel:
    case M::OleExportExcel:
    case M::OleImportExcel:
    case M::OleSep1:
    case M::OlePrintoutExcel:
    case M::HelpHistory:
    case M::HelpLanguageDeutsch:
    case M::HelpLanguageEnglish:
    case M::HelpLanguageFrancais:
    case M::HelpLanguageItaliano:
    case M::HelpLanguageKorea:
    case M::HelpSep1:
    case M::HelpAbout:
      return std::nullopt;
  }
  return std::nullopt;
}

constexpr MenuId kRecentItems[kRecentFiles] = {M::FileRecent1, M::FileRecent2, M::FileRecent3, M::FileRecent4};

// Number of UTF-8 characters (bytes that do not continue a character).
std::size_t characterCount(std::string_view s) {
  std::size_t n = 0;
  for (unsigned char ch : s) n += (ch & 0xC0) != 0x80;
  return n;
}

}  // namespace

MenuModel::MenuModel() {
  items_.reserve(kMenuItemCount);
  const Captions german;
  for (const ItemDef& d : kItems) {
    MenuItem it{d.id, d.name, d.parent, d.formCaption, d.shortcut};
    it.separator = *d.formCaption == '\0';
    it.fromCaptionTable = tableCaption(d.id, german).has_value();
    items_.push_back(std::move(it));
  }
  showSpreadsheetStarted(*this, false);
}

std::vector<MenuId> MenuModel::childrenOf(std::optional<MenuId> parent) const {
  std::vector<MenuId> out;
  for (const MenuItem& it : items_)
    if (it.parent == parent) out.push_back(it.id);
  return out;
}

// ---- Recent files ----

void addRecentFile(RecentFiles& list, const std::string& path) {
  if (path.empty()) return;
  RecentFiles kept{};
  int n = 0;
  for (const std::string& entry : list)
    if (entry != path) kept[n++] = entry;
  list[0] = path;
  for (int i = 1; i < kRecentFiles; ++i) list[i] = kept[i - 1];
}

void removeRecentFile(RecentFiles& list, int i) {
  if (i < 1 || i > kRecentFiles) return;
  for (int k = i - 1; k + 1 < kRecentFiles; ++k) list[k] = list[k + 1];
  list[kRecentFiles - 1].clear();
}

std::string shortenRecentPath(std::string_view path) {
  if (characterCount(path) < static_cast<std::size_t>(kRecentShortenLength)) return std::string(path);
  const std::size_t first = path.find('/');
  const std::size_t last = path.rfind('/');
  if (first == std::string_view::npos || first == last) return std::string(path);
  // The middle that "..." replaces must be longer than "..." itself.
  if (last - first - 1 <= 3) return std::string(path);
  return std::string(path.substr(0, first + 1)) + "..." + std::string(path.substr(last));
}

std::string recentFileCaption(int i, std::string_view path) {
  std::string shown;
  for (char ch : shortenRecentPath(path)) {
    if (ch == '&') shown += '&';
    shown += ch;
  }
  return "&" + fmtInt(i) + " " + shown;
}

// ---- Menu procedures ----

void applyMenuCaptions(MenuModel& menu, const Captions& captions) {
  for (int k = 0; k < kMenuItemCount; ++k) {
    MenuItem& it = menu.item(static_cast<MenuId>(k));
    if (std::optional<std::string> caption = tableCaption(it.id, captions)) it.caption = std::move(*caption);
  }
}

void showMessageCount(MenuModel& menu, const Captions& captions, int count) {
  MenuItem& it = menu.item(M::ViewErrorMessages);
  it.caption = captions.a(CapA::Fehlermeldungen) + " (" + fmtInt(count) + ")";
  it.enabled = count != 0;
}

void showRecentFiles(MenuModel& menu, const RecentFiles& list) {
  menu.item(M::FileSepRecent).visible = !list[0].empty();
  for (int i = 0; i < kRecentFiles; ++i) {
    MenuItem& it = menu.item(kRecentItems[i]);
    it.visible = !list[i].empty();
    it.caption = it.visible ? recentFileCaption(i + 1, list[i]) : fmtInt(i + 1);
  }
}

void showSpreadsheetStarted(MenuModel& menu, bool started) {
  menu.item(M::OleExportExcel).enabled = started;
  menu.item(M::OleImportExcel).enabled = started;
}

void showLanguage(MenuModel& menu, int language) {
  const bool german = language == kLanguageNone || language == kLanguageGerman;
  menu.item(M::HelpLanguageDeutsch).checked = german;
  menu.item(M::HelpLanguageEnglish).checked = language == kLanguageEnglish;
  menu.item(M::HelpLanguageFrancais).checked = language == kLanguageFrench;
  menu.item(M::HelpLanguageItaliano).checked = language == kLanguageItalian;
  menu.item(M::HelpLanguageKorea).checked = language == kLanguageKorean;
}

MenuModel buildMainMenu(const MenuInput& input) {
  MenuModel menu;
  const Captions captions(input.language);
  applyMenuCaptions(menu, captions);
  if (input.messageCount) showMessageCount(menu, captions, *input.messageCount);
  showRecentFiles(menu, input.recentFiles);
  showSpreadsheetStarted(menu, input.spreadsheetStarted);
  showLanguage(menu, input.language);
  return menu;
}

// ---- Refresh, help texts ----

RefreshView refreshView(int resultView, int helpLevel) {
  switch (resultView) {
    case 1:
      return RefreshView::Quick1;
    case 2:
      return RefreshView::Quick2;
    case 3:
      return RefreshView::ProductionDrawing;
    case 5:
      return RefreshView::FrontDrawing;
    case 4:
      return RefreshView::Characteristic;
    default:
      return helpLevel != 0 ? RefreshView::Quick1 : RefreshView::None;
  }
}

std::vector<std::string> historyText() {
  const char* const lines[] = {
      "VELK - Spiralfedern: Änderungen",
      "",
      "Version 3.4",
      "  - Fassung für Linux mit Qt-Oberfläche",
      "  - Menütexte in Deutsch, Englisch, Französisch, Italienisch und Koreanisch",
      "  - Pfade mit \"/\"; die Liste der letzten Dateien unterscheidet",
      "    Groß- und Kleinschreibung der Dateinamen",
      "  - Einstellungen im Benutzerordner (~/.config/velk)",
      "  - Stapelbetrieb: Bericht (/I), CAD-Dateien (/CADi:j), ohne Fenster (/NOGUI)",
  };
  std::vector<std::string> out;
  for (const char* line : lines) out.push_back(oem(line));
  return out;
}

AboutText aboutText() {
  AboutText about;
  about.title = oem(kProgramTitle);
  about.version = kVersion;
  about.lines = {about.title, "Version " + about.version, oem("Berechnung und Auslegung von Spiralfedern")};
  return about;
}

}  // namespace velk
