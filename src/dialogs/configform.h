// The configuration dialog ("Tconfig") and its colour list ("Select Color") as plain data: what
// each page shows, what its "<", "..." and preset buttons do, and how the result is applied.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/config.h"

namespace velk {

// ---- Colour list (TForm_selectcolor) ----

// One entry of the list: the DXF colour number 1..16, its name (code page 850), the list text
// number + " (" + name + ")" and the colour the screen shows for it (0xRRGGBB).
struct ColorListEntry {
  int number = 0;
  std::string name;
  std::string text;
  std::uint32_t rgb = 0;
};
// The 16 entries in list order.
const std::vector<ColorListEntry>& ColorList();

// The list opened from a colour cell; "OK" returns the chosen number into that cell,
// "Abbrechen" (nullopt) leaves the cell as it was.
struct ColorSelectResult {
  int number = 1;
};
struct ColorSelectRequest {
  using Result = ColorSelectResult;
  std::string caption = "Select Color";
  std::vector<ColorListEntry> entries;
  int selected = 0;  // 1-based entry selected as the list opens; 0 none
};
// The list for a cell holding cellText: the entry of that number is selected when there is one.
ColorSelectRequest MakeColorSelectRequest(std::string_view cellText);

// ---- Report devices offered by name ----

// deviceNames[i] is the choice text of report device i + 1 (devices 1..7; 8 and 9 are never
// offered). The name of a device that is not offered is empty; an unknown name gives 0.
std::string DeviceNameForCode(const std::vector<std::string>& deviceNames, int code);
int DeviceCodeForName(const std::vector<std::string>& deviceNames, std::string_view name);

// ---- What the window edits ----

// Number fields are the texts in their edit boxes (code page 850, "," or "." accepted), so that
// whatever was typed reaches ApplyConfigForm. Radio groups are 0-based indices into the items
// of their control (ConfigFormRequest::text). Paths and command lines are native; other texts
// code page 850.
struct ConfigLayerRow {  // layers 1..5 on the page "CAD"
  std::string name, color, thickness;
};
struct ConfigPenRow {  // layers 16..31
  std::string color, thickness;
};

struct ConfigFormValues {
  // "Directories"
  std::string dbfDir, programDir, pltDir, tempDir, ediDir, dataDir, cadDir;

  // "Grafik"
  int colorGraphics = 0;             // 0 "color", 1 "monochrom"
  std::string windowX, windowY;      // client width and height (the resolution + 1)
  std::string graphicsFont;          // "Font..." (font dialog)
  int graphicsFontStyle = 0;         // bit 0 bold, 1 italic, 2 underline, 3 strike-out
  std::string graphicsTextWidth, graphicsTextHeight;
  int backgroundColor = 0;           // "Hintergrundfarbe..." (colour dialog), 0xRRGGBB
  std::string zoomFactor, panFactor;
  bool printBorder = false;          // "Umrandung"
  std::string dialogScale, elementsScale;
  bool edit3d = false;
  std::array<std::string, 3> view3d{};  // degrees

  // "CAD"
  std::array<ConfigLayerRow, 5> layers{};  // [k - 1] = layer k
  bool layerMonochrome = false;
  std::string cadTextFont, cadTextWidth, cadTextAngle;
  bool askDiagramLimits = false;
  std::string decimalsDxf;
  int cadTextMode = 0;  // 0 "OEM (ASCII)", 1 "ANSI", 2 transliterated

  // "Layerfarben"
  std::array<ConfigPenRow, 16> pens{};  // [n - 16] = layer n

  // "Drucker"
  std::string printOriginX, printOriginY, printScaleX, printScaleY;
  int printMode = 0;          // 0 "monochrom", 1 "color"
  int printOrientation = 0;   // 0 portrait, 1 landscape
  bool graphicsPrintDialog = false;
  int printerPort = 0;        // 0..3: LPT1..LPT4

  // "Ausdruck"
  int ruleMode = 1;           // 0..3: rule modes 1..4
  std::string linesPerPage, headerSpaceLines;
  int dateFormat = 0;         // 0..3: date codes 1..4
  std::string textDevice;     // a device name of ConfigFormRequest::deviceNames ("" none)
  bool textDeviceAsk = false;
  std::array<std::string, 4> textWindow{};  // left, top, width, height
  int headerMode = 0;         // 0 "mit Kopf", 1 "Kopf nur 1.Seite"
  std::string printoutFont;   // font dialog: name, size, style
  int printoutFontSize = 10;
  int printoutFontStyle = 0;
  int angleDisplay = 1;       // 0 decimal degrees, 1 degrees-minutes-seconds
  int units = 0;              // 0 "Metrisch", 1 "Englisch"

  // "Einstellungen"
  int helpLevel = 1;          // 0..2
  bool askUserDir = false;    // "Usereingabe" / "bei Programmstart"
  int decimalComma = 0;       // 0 "x.xx", 1 "x,xx"
  int spreadsheetDecimal = 1; // 0 "English x.xx", 1 "German x,xx"
  std::string decimalPlaces;
  bool archiveMode = false;
  int plainChars = 0;         // 0 "²  µ  °", 1 "2  u  deg"
  int resultGraphic = 0;      // 0..5

  // "Extern"
  std::string textProgram, htmlBrowser;
  std::array<std::string, kPlotCommandLines> plotLines{};

  // "Zeichnung"
  int changeIndexStyle = 0;   // 0..3
  std::string releaseFieldText, dimensionFactor;
  std::array<bool, 4> drawingShown{};  // title, file name, date, logo (checked = shown)
};

// ---- Buttons of the window ----

// The "<" buttons and the buttons that fill fields with fixed values. Each one changes only the
// fields it names; the window calls ConfigFormRequest::propose and shows the values it returns.
enum class ConfigProposal {
  TempDir,             // the default folder for temporary files
  WindowSize,          // "Fenstergroesse" x and y
  GraphicsTextWidth,   // 0.8
  GraphicsTextHeight,  // 1
  ZoomFactor,          // 1.02
  PanFactor,           // 0.02
  DialogScale,         // the first-start value
  ElementsScale,       // from the dialog scale and the horizontal dots per inch
  LayerPreset1, LayerPreset2, LayerPreset3, LayerPreset4, LayerPreset5,  // buttons "1".."5"
  CadTextWidth,        // 1
  CadTextAngle,        // 0
  DecimalsDxf,         // 6
  PenThickness1, PenThickness2, PenThickness3,  // every line thickness of layers 16..31
  PrintOriginX, PrintOriginY,  // 0
  PrintScaleX,         // "1.0"
  PrintScaleYFromX,    // "Maßstab y" takes the text of "Maßstab x"
  TextWindow,          // "Textfenster" left, top, width, height
  ReleaseFieldText,    // "Frei"
  DimensionFactor,     // "1.0"
};

// The "..." buttons and the buttons that run another dialog for one field.
enum class ConfigChooser {
  DbfDir, ProgramDir, PltDir, TempDir, EdiDir, DataDir, CadDir,  // folder chooser
  TextProgram, HtmlBrowser,                                      // program file chooser
  PlotLineConfig,  // "Config" of a plot command line: the plot configuration form
  PlotLineEdit,    // "Edit" of a plot command line: the text entry "PLOTRIX Command Line"
};

// What the core does for the choosers; the caller implements it with its dialogs. Every method
// answers nullopt when the user cancels, and the field keeps its text.
class ConfigFormChoosers {
 public:
  virtual ~ConfigFormChoosers() = default;
  // Folder selection starting at start (native paths).
  virtual std::optional<std::string> chooseFolder(const std::string& start) = 0;
  // Open-file dialog starting in the folder of current; filter in "text|pattern" form.
  virtual std::optional<std::string> chooseFile(const std::string& current, const std::string& filter) = 0;
  // The plot configuration form for the line (its result is the new line).
  virtual std::optional<std::string> configurePlotLine(const std::string& line) = 0;
  // A text entry with the prompt and maxLength characters for the line.
  virtual std::optional<std::string> enterText(const std::string& prompt, int maxLength, const std::string& text) = 0;
};

// ---- Captions, items and tool tips ----

enum class ConfigControl {
  // "Directories"
  DbfDir, ProgramDir, PltDir, TempDir, EdiDir, DataDir, CadDir, WorkingDir,
  // "Grafik"
  ColorGraphics, WindowSize, GraphicsFont, GraphicsTextWidth, GraphicsTextHeight, Background,
  ZoomFactor, PanFactor, PrintBorder, DialogScale, ElementsScale, Edit3d,
  // "CAD"
  LayerTable, LayerColor, LayerMonochrome, CadTextFont, CadTextWidth, CadTextAngle,
  AskDiagramLimits, DecimalsDxf, CadTextMode,
  // "Layerfarben"
  PenTable, PenThickness,
  // "Drucker"
  PrintOrigin, PrintScaleX, PrintScaleY, PrintMode, PrintOrientation, GraphicsPrintDialog, PrinterPort,
  // "Ausdruck"
  RuleMode, LinesPerPage, HeaderSpaceLines, DateFormat, TextDevice, TextDeviceAsk, TextWindow,
  HeaderMode, PrintoutFont, AngleDisplay, Units,
  // "Einstellungen"
  HelpLevel, AskUserDir, DecimalComma, SpreadsheetDecimal, DecimalPlaces, ArchiveMode, PlainChars,
  ResultGraphic,
  // "Extern"
  TextProgram, HtmlBrowser, PlotLines, PlotLineConfig, PlotLineEdit,
  // "Zeichnung"
  ChangeIndexStyle, ReleaseFieldText, DimensionFactor, DrawingShown,
  Count
};
constexpr std::size_t kConfigControlCount = static_cast<std::size_t>(ConfigControl::Count);

// A control's caption, the items of a radio group, table or check-box group (or sub-labels),
// the page it is on (index into ConfigFormRequest::pages), its help number and, when tool tips
// are on, the tool tip (Windows code page, from the help texts). Texts code page 850.
struct ConfigControlText {
  std::string caption;
  std::vector<std::string> items;
  int page = 0;
  std::uint16_t helpNumber = 0;
  std::string hint;
};

// ---- Request and result ----

enum class ConfigFormExit {
  Ok,      // "OK": apply and close
  Save,    // "&Speichern": apply and write the configuration file
  Import,  // "Import..": read the chosen configuration file instead
};

struct ConfigFormResult {
  ConfigFormExit exit = ConfigFormExit::Ok;
  ConfigFormValues values;  // the controls as the user left them
  std::string importPath;   // Import: the chosen file (native)
  int page = 0;             // the page shown when the window closed
};

struct ConfigFormRequest {
  using Result = ConfigFormResult;

  Configuration config;     // the values the window was filled from
  ConfigFormValues values;  // the controls as the window opens
  int page = 0;             // the page shown first

  std::string caption;  // application title + " " + "Konfiguration"
  std::vector<std::string> pages;
  std::array<ConfigControlText, kConfigControlCount> controls{};
  const ConfigControlText& text(ConfigControl c) const { return controls[static_cast<std::size_t>(c)]; }
  std::string okText = "OK", saveText = "&Speichern", importText = "Import..", cancelText = "Abbrechen";
  bool toolTips = false;                // help level > 0
  std::string workingDir;               // "Arbeitsverzeichnis", shown only (native)
  std::vector<std::string> deviceNames; // report devices 1..7, the items of "Ausgabeformat"
  std::array<std::string, 5> layerTitles{};  // row titles of layers 1..5
  ColorSelectRequest colorList;         // "Farbe": the window sets `selected` from the cell

  // The buttons' work, set by MakeConfigFormRequest (never empty then).
  // "<" and fill buttons: the values with the proposal applied.
  std::function<ConfigFormValues(ConfigProposal, const ConfigFormValues&)> propose;
  // "...", "Config" and "Edit" (line = 0..4 for the plot command lines, else ignored): the
  // values with the chosen text in the field, unchanged on cancel.
  std::function<ConfigFormValues(ConfigChooser, int line, const ConfigFormValues&)> choose;
  // "Import..": the file chosen in the configuration folder (filter "*.cfg|*.cfg"); nullopt on
  // cancel, and the window stays open.
  std::function<std::optional<std::string>()> chooseImport;
};

// What the request is built from besides the configuration.
struct ConfigFormContext {
  std::string applicationTitle = "VELK";
  std::string programTitle = "VELK - Spiralfedern";
  std::string workingDir;     // native, with "/"
  std::string configDir;      // native, with "/": where "Import.." starts
  std::string defaultTempDir; // native: what "<" of "Temporärer Ordner" puts in
  std::vector<std::string> deviceNames;  // DeviceChoiceText(1..7), code page 850
  std::string fileName;       // the input file's name for "file name " + name + " ?"
  std::string dateTime;       // today's date and time for the date check box
  ScreenMetrics screen;
  int mainWindowWidth = 1024;     // outer width of the main window
  int mainClientWidth = 1024 - 8; // its client width
  // The tool tip of a help number (HelpHint); used when the help level is above 0. May be empty.
  std::function<std::string(std::uint16_t)> helpHint;
  // The choosers; null: the "...", "Config" and "Edit" buttons change nothing. Never owned; it
  // must outlive the request.
  ConfigFormChoosers* choosers = nullptr;
};

ConfigFormRequest MakeConfigFormRequest(const Configuration& config, const ConfigFormContext& ctx, int page = 0);

// The controls filled from a configuration (numbers formatted with its own number settings).
ConfigFormValues ConfigFormValuesFrom(const Configuration& c, const std::vector<std::string>& deviceNames);

// What a "<" or fill button puts into the values. base: the configuration the window was filled
// from (for values a proposal derives from when a field cannot be read).
ConfigFormValues ProposeConfigValues(ConfigProposal p, const ConfigFormValues& v, const Configuration& base,
                                     const ConfigFormContext& ctx);
// What a chooser puts into the values (line: 0..4 for the plot command lines).
ConfigFormValues ChooseConfigValue(ConfigChooser which, int line, const ConfigFormValues& v,
                                   ConfigFormChoosers& choosers);

// ---- Applying the result ----

// Copies every control of result.values into c. A field whose text is unchanged from
// request.values keeps its value exactly; a changed number is checked: text that is not a
// number gives "Ungültige Eingabe "<text>" !", a number outside its range "Gültiger
// Wertebereich: <lo> .. <hi> !", and in both cases the field keeps its previous value.
// Returns those messages (code page 850) in page order; empty when everything was taken.
// Call it only for the exits Ok and Save.
std::vector<std::string> ApplyConfigForm(Configuration& c, const ConfigFormRequest& request,
                                         const ConfigFormResult& result);

// Where "Import.." points the program: the chosen file's folder becomes the configuration
// folder, its name without extension (at most 25 characters) the short name.
struct ConfigImportTarget {
  std::string configDir;  // with "/"; empty for a bare file name (the current folder)
  std::string shortName;
};
ConfigImportTarget ImportTargetFor(std::string_view path);

// What changed between two configurations that the running program must act on.
struct ConfigChanges {
  bool windowSize = false;    // resolution: resize the graphics window
  bool background = false;    // background colour of the graphics window
  bool numberFormat = false;  // units, decimals, separators, date, angle, special characters
  bool redraw = false;        // anything the result view shows: redraw it
  bool folders = false;       // a folder: CheckFolders (completes and checks them)
};
ConfigChanges ConfigChangesBetween(const Configuration& before, const Configuration& after);

// What the caller does after the window closed (cancel: nothing at all).
//   Ok:     ApplyConfigForm, WriteConfiguration when writeFile, then act on `changes`.
//   Save:   ApplyConfigForm, WriteConfiguration when writeFile, act on `changes`, show the
//           window again on result.page.
//   Import: set the configuration folder and short name to `import`, ReadConfiguration,
//           CheckFolders, act on ConfigChangesBetween(before, after reading), show the window
//           again on result.page with the values read.
// When ApplyConfigForm returned messages, the caller shows them (ShowError each) and the
// window opens again on result.page, and the file is not written.
struct ConfigFormFollowUp {
  bool writeFile = false;
  bool reopen = false;
  std::optional<ConfigImportTarget> import;
  ConfigChanges changes;
};
// before/after: the configuration before and after ApplyConfigForm (equal for Import).
ConfigFormFollowUp ConfigFormAfter(const Configuration& before, const Configuration& after,
                                   const ConfigFormResult& result, const std::vector<std::string>& messages);

// The whole of the above for what the window returned: cancel (nullopt) and Import leave c
// untouched; Ok and Save apply the controls. messages: those of ApplyConfigForm.
struct ConfigFormOutcome {
  ConfigFormFollowUp followUp;
  std::vector<std::string> messages;
};
ConfigFormOutcome FinishConfigForm(Configuration& c, const ConfigFormRequest& request,
                                   const std::optional<ConfigFormResult>& result);

}  // namespace velk
