// The configuration dialog ("Tconfig") and its colour list ("Select Color") as the window sees
// them: the pages' values, the buttons' codes, the captions and the request and result. What the
// buttons do and how the result is applied is in dialogs/configform.h.
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
  int colorGraphics = 0;         // 0 "color", 1 "monochrom"
  std::string windowX, windowY;  // client width and height (the resolution + 1)
  std::string graphicsFont;      // "Font..." (font dialog)
  int graphicsFontStyle = 0;     // bit 0 bold, 1 italic, 2 underline, 3 strike-out
  std::string graphicsTextWidth, graphicsTextHeight;
  int backgroundColor = 0;  // "Hintergrundfarbe..." (colour dialog), 0xRRGGBB
  std::string zoomFactor, panFactor;
  bool printBorder = false;  // "Umrandung"
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
  int printMode = 0;         // 0 "monochrom", 1 "color"
  int printOrientation = 0;  // 0 portrait, 1 landscape
  bool graphicsPrintDialog = false;
  int printerPort = 0;  // 0..3: LPT1..LPT4

  // "Ausdruck"
  int ruleMode = 1;  // 0..3: rule modes 1..4
  std::string linesPerPage, headerSpaceLines;
  int dateFormat = 0;      // 0..3: date codes 1..4
  std::string textDevice;  // a device name of ConfigFormRequest::deviceNames ("" none)
  bool textDeviceAsk = false;
  std::array<std::string, 4> textWindow{};  // left, top, width, height
  int headerMode = 0;                       // 0 "mit Kopf", 1 "Kopf nur 1.Seite"
  std::string printoutFont;                 // font dialog: name, size, style
  int printoutFontSize = 10;
  int printoutFontStyle = 0;
  int angleDisplay = 1;  // 0 decimal degrees, 1 degrees-minutes-seconds
  int units = 0;         // 0 "Metrisch", 1 "Englisch"

  // "Einstellungen"
  int helpLevel = 1;           // 0..2
  bool askUserDir = false;     // "Usereingabe" / "bei Programmstart"
  int decimalComma = 0;        // 0 "x.xx", 1 "x,xx"
  int spreadsheetDecimal = 1;  // 0 "English x.xx", 1 "German x,xx"
  std::string decimalPlaces;
  bool archiveMode = false;
  int plainChars = 0;     // 0 "²  µ  °", 1 "2  u  deg"
  int resultGraphic = 0;  // 0..5

  // "Extern"
  std::string textProgram, htmlBrowser;
  std::array<std::string, kPlotCommandLines> plotLines{};

  // "Zeichnung"
  int changeIndexStyle = 0;  // 0..3
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
  LayerPreset1,
  LayerPreset2,
  LayerPreset3,
  LayerPreset4,
  LayerPreset5,  // buttons "1".."5"
  CadTextWidth,  // 1
  CadTextAngle,  // 0
  DecimalsDxf,   // 6
  PenThickness1,
  PenThickness2,
  PenThickness3,  // every line thickness of layers 16..31
  PrintOriginX,
  PrintOriginY,      // 0
  PrintScaleX,       // "1.0"
  PrintScaleYFromX,  // "Maßstab y" takes the text of "Maßstab x"
  TextWindow,        // "Textfenster" left, top, width, height
  ReleaseFieldText,  // "Frei"
  DimensionFactor,   // "1.0"
};

// The "..." buttons and the buttons that run another dialog for one field.
enum class ConfigChooser {
  DbfDir,
  ProgramDir,
  PltDir,
  TempDir,
  EdiDir,
  DataDir,
  CadDir,  // folder chooser
  TextProgram,
  HtmlBrowser,     // program file chooser
  PlotLineConfig,  // "Config" of a plot command line: the plot configuration form
  PlotLineEdit,    // "Edit" of a plot command line: the text entry "PLOTRIX Command Line"
};

// ---- Captions, items and tool tips ----

enum class ConfigControl {
  // "Directories"
  DbfDir,
  ProgramDir,
  PltDir,
  TempDir,
  EdiDir,
  DataDir,
  CadDir,
  WorkingDir,
  // "Grafik"
  ColorGraphics,
  WindowSize,
  GraphicsFont,
  GraphicsTextWidth,
  GraphicsTextHeight,
  Background,
  ZoomFactor,
  PanFactor,
  PrintBorder,
  DialogScale,
  ElementsScale,
  Edit3d,
  // "CAD"
  LayerTable,
  LayerColor,
  LayerMonochrome,
  CadTextFont,
  CadTextWidth,
  CadTextAngle,
  AskDiagramLimits,
  DecimalsDxf,
  CadTextMode,
  // "Layerfarben"
  PenTable,
  PenThickness,
  // "Drucker"
  PrintOrigin,
  PrintScaleX,
  PrintScaleY,
  PrintMode,
  PrintOrientation,
  GraphicsPrintDialog,
  PrinterPort,
  // "Ausdruck"
  RuleMode,
  LinesPerPage,
  HeaderSpaceLines,
  DateFormat,
  TextDevice,
  TextDeviceAsk,
  TextWindow,
  HeaderMode,
  PrintoutFont,
  AngleDisplay,
  Units,
  // "Einstellungen"
  HelpLevel,
  AskUserDir,
  DecimalComma,
  SpreadsheetDecimal,
  DecimalPlaces,
  ArchiveMode,
  PlainChars,
  ResultGraphic,
  // "Extern"
  TextProgram,
  HtmlBrowser,
  PlotLines,
  PlotLineConfig,
  PlotLineEdit,
  // "Zeichnung"
  ChangeIndexStyle,
  ReleaseFieldText,
  DimensionFactor,
  DrawingShown,
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
  bool toolTips = false;                     // help level > 0
  std::string workingDir;                    // "Arbeitsverzeichnis", shown only (native)
  std::vector<std::string> deviceNames;      // report devices 1..7, the items of "Ausgabeformat"
  std::array<std::string, 5> layerTitles{};  // row titles of layers 1..5
  ColorSelectRequest colorList;              // "Farbe": the window sets `selected` from the cell

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

}  // namespace velk
