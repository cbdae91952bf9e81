// The configuration dialog's rules: filling the pages from the configuration, the "<", preset and
// "..." buttons, applying the controls back with their checks, and what the caller does afterwards.
#include "dialogs/configform.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <numbers>

#include "base/codepage.h"
#include "base/numfmt.h"

namespace velk {

namespace {

// Widths the configuration file keeps (longer texts would not survive a save and a re-read).
constexpr std::size_t kLayerNameLength = 32;
constexpr std::size_t kCadFontLength = 32;
constexpr std::size_t kFontLength = 60;
constexpr int kPlotLineEditLength = 80;

enum Page { kDirectories, kGraphics, kCad, kPens, kPrinter, kPrintout, kSettings, kExtern, kDrawing };

std::string cut(std::string s, std::size_t max) {
  if (s.size() > max) s.resize(max);
  return s;
}

std::string withSlash(std::string s) {
  if (!s.empty() && s.back() != '/') s += '/';
  return s;
}

// A real as an edit box shows it: up to 7 decimals, no trailing zeros, the user's separator.
std::string fmtField(const NumberSettings& num, Real x) {
  NumberSettings s = num;
  s.decimalPlaces = 3;  // the decimals setting shifts report formats, not what a field holds
  std::string t = trim(fmtFixed(s, 0, 7, x));
  const std::size_t sep = t.find_first_of(".,");
  if (sep != std::string::npos) {
    while (!t.empty() && t.back() == '0') t.pop_back();
    if (t.size() == sep + 1) t.pop_back();
  }
  if (t == "-0") t = "0";
  return t;
}

Real degrees(Real radians) { return radians * 180 / std::numbers::pi_v<Real>; }
Real radians(Real degrees) { return degrees * std::numbers::pi_v<Real> / 180; }

// An index within 0..count-1 for a stored code (code - first); out of range shows the first item.
int indexOf(int code, int first, int count) {
  const int i = code - first;
  return i >= 0 && i < count ? i : 0;
}

// The layer presets of the buttons "1".."5": name, DXF colour, line thickness of layers 1..5.
struct LayerPreset {
  const char* name;
  int color;
  int thickness;
};
constexpr std::array<LayerPreset, 5> kLayerPresets{{{"1", 2, 1}, {"2", 2, 1}, {"3", 2, 1}, {"4", 3, 2}, {"5", 1, 3}}};

// Copies changed controls into the configuration and collects the messages of rejected ones.
class Applier {
 public:
  std::vector<std::string> messages;

  // fix: the corrections of the stored value (0 means ..., offsets); then lo..hi is checked.
  template <class Fix>
  void fixedInteger(const std::string& shown, const std::string& typed, int& target, Fix fix, long long lo = INT_MIN,
                    long long hi = INT_MAX) {
    if (typed == shown) return;
    long long v = 0;
    if (!tryParseInt(typed, v) || v < INT_MIN || v > INT_MAX) {
      invalid(typed);
      return;
    }
    const long long fixed = fix(v);
    if (fixed < lo || fixed > hi) {
      messages.push_back(oem("Gültiger Wertebereich: ") + fmtInt(lo) + " .. " + fmtInt(hi) + " !");
      return;
    }
    target = static_cast<int>(fixed);
  }
  void integer(const std::string& shown, const std::string& typed, int& target, long long lo = INT_MIN,
               long long hi = INT_MAX) {
    fixedInteger(
        shown, typed, target, [](long long v) { return v; }, lo, hi);
  }

  // sixByte: a value held as a 6-byte real (larger magnitudes are not numbers for it).
  template <class Fix>
  void real(const std::string& shown, const std::string& typed, Real& target, Fix fix, bool sixByte = false) {
    if (typed == shown) return;
    Real v = 0;
    if (!tryParseReal(typed, v) || !std::isfinite(v) || (sixByte && std::fabs(v) > 1.7e38L)) {
      invalid(typed);
      return;
    }
    if (sixByte) v = static_cast<Real>(static_cast<double>(v));
    target = fix(v);
  }
  void real(const std::string& shown, const std::string& typed, Real& target) {
    real(shown, typed, target, [](Real v) { return v; });
  }

  static void text(const std::string& shown, const std::string& typed, std::string& target,
                   std::size_t max = std::string::npos) {
    if (typed != shown) target = cut(typed, max);
  }
  // Folders end in "/" so that callers may append a file name; blanks around them are typos.
  static void folder(const std::string& shown, const std::string& typed, std::string& target) {
    if (typed != shown) target = withSlash(trim(typed));
  }
  template <class T>
  static void flag(T shown, T chosen, T& target) {
    if (chosen != shown) target = chosen;
  }
  // A radio group: index i stores first + i; an index outside the items changes nothing.
  static void choice(int shown, int chosen, int count, int first, int& target) {
    if (chosen != shown && chosen >= 0 && chosen < count) target = first + chosen;
  }

 private:
  void invalid(const std::string& typed) { messages.push_back(oem("Ungültige Eingabe \"") + typed + "\" !"); }
};

auto zeroTo(long long d) {
  return [d](long long v) { return v == 0 ? d : v; };
}
auto realZeroTo(Real d) {
  return [d](Real v) { return v == 0 ? d : v; };
}

// The resolution a window-size field stands for: value - 1 within 0..5000 (0: screen size).
long long resolutionFromField(long long v) { return std::clamp<long long>(v - 1, 0, 5000); }

// The client size a field means for the proposals: its resolution, the screen's when that is 0.
int effectiveResolution(const std::string& field, int stored, int screenSize) {
  long long v = 0;
  long long r = tryParseInt(field, v) ? resolutionFromField(v) : stored;
  if (r < 1 || r > 5000) r = screenSize;
  return static_cast<int>(r);
}

int firstStartDialogScale(const ConfigFormContext& ctx) {
  const ScreenMetrics& s = ctx.screen;
  const double client = s.mainClientHeight + 46.0;
  if (client <= 0 || s.dpiY <= 0) return 100;
  const double v = (s.mainWindowHeight / client + 0.009) * (s.dpiY / 96.0) * 100.0;
  if (!std::isfinite(v)) return 100;
  return static_cast<int>(std::lround(std::clamp(v, 10.0, 1000.0)));
}

}  // namespace

// ---- Devices ----

std::string DeviceNameForCode(const std::vector<std::string>& deviceNames, int code) {
  if (code < 1 || code > 7 || static_cast<std::size_t>(code) > deviceNames.size()) return {};
  return deviceNames[static_cast<std::size_t>(code - 1)];
}

int DeviceCodeForName(const std::vector<std::string>& deviceNames, std::string_view name) {
  if (name.empty()) return 0;
  for (std::size_t i = 0; i < deviceNames.size() && i < 7; ++i)
    if (deviceNames[i] == name) return static_cast<int>(i) + 1;
  return 0;
}

// ---- Filling the controls ----

ConfigFormValues ConfigFormValuesFrom(const Configuration& c, const std::vector<std::string>& deviceNames) {
  const NumberSettings& num = c.num;
  auto real = [&num](Real x) { return fmtField(num, x); };
  ConfigFormValues v;

  v.dbfDir = c.dbfDir;
  v.programDir = c.programDir;
  v.pltDir = c.pltDir;
  v.tempDir = c.tempDir;
  v.ediDir = c.ediDir;
  v.dataDir = c.dataDir;
  v.cadDir = c.cadDir;

  v.colorGraphics = c.colorGraphics ? 0 : 1;
  v.windowX = fmtInt(static_cast<long long>(c.resolutionX) + 1);
  v.windowY = fmtInt(static_cast<long long>(c.resolutionY) + 1);
  v.graphicsFont = c.graphicsFont;
  v.graphicsFontStyle = c.graphicsFontStyle;
  v.graphicsTextWidth = real(c.graphicsTextWidth);
  v.graphicsTextHeight = real(c.textHeightFactor);
  v.backgroundColor = c.backgroundColor;
  v.zoomFactor = real(c.zoomFactor);
  v.panFactor = real(c.panFactor);
  v.printBorder = c.printBorder;
  v.dialogScale = fmtInt(c.inputWindowScale);
  v.elementsScale = fmtInt(c.dialogElementsScale);
  v.edit3d = c.edit3d;
  for (std::size_t i = 0; i < 3; ++i) v.view3d[i] = real(degrees(c.view3d[i]));

  for (std::size_t k = 1; k <= 5; ++k)
    v.layers[k - 1] = {c.layerName[k], fmtInt(c.layerColor[k]), fmtInt(c.lineThickness[k])};
  v.layerMonochrome = c.layerMonochrome;
  v.cadTextFont = c.cadTextFont;
  v.cadTextWidth = real(c.cadTextWidth);
  v.cadTextAngle = real(c.cadTextAngle);
  v.askDiagramLimits = c.askDiagramLimits;
  v.decimalsDxf = fmtInt(c.decimalsDxf);
  v.cadTextMode = indexOf(c.num.cadTextMode, 1, 3);

  for (std::size_t n = 16; n <= 31; ++n) v.pens[n - 16] = {fmtInt(c.layerColor[n]), fmtInt(c.lineThickness[n])};

  v.printOriginX = fmtInt(c.printOriginX);
  v.printOriginY = fmtInt(c.printOriginY);
  v.printScaleX = real(c.printScaleX);
  v.printScaleY = real(c.printScaleY);
  v.printMode = indexOf(c.printMode, 1, 2);
  v.printOrientation = indexOf(c.printOrientation, 1, 2);
  v.graphicsPrintDialog = c.graphicsPrintDialog;
  v.printerPort = indexOf(c.printerPort, 1, 4);

  v.ruleMode = indexOf(c.ruleMode, 1, 4);
  v.linesPerPage = fmtInt(c.linesPerPage);
  v.headerSpaceLines = fmtInt(c.headerSpaceLines);
  v.dateFormat = indexOf(c.num.dateFormat, 1, 4);
  v.textDevice = DeviceNameForCode(deviceNames, c.textDevice);
  v.textDeviceAsk = c.textDeviceAsk;
  v.textWindow = {fmtInt(c.textWindow.left), fmtInt(c.textWindow.top), fmtInt(c.textWindow.width),
                  fmtInt(c.textWindow.height)};
  v.headerMode = indexOf(c.headerMode, 1, 2);
  v.printoutFont = c.printoutFont;
  v.printoutFontSize = c.printoutFontSize;
  v.printoutFontStyle = c.printoutFontStyle;
  v.angleDisplay = indexOf(c.angleDisplay, 1, 2);
  v.units = indexOf(c.num.units, 0, 2);

  v.helpLevel = indexOf(c.helpLevel, 0, 3);
  v.askUserDir = c.askUserDir;
  v.decimalComma = indexOf(c.num.decimalComma, 1, 2);
  v.spreadsheetDecimal = indexOf(c.num.spreadsheetDecimal, 1, 2);
  v.decimalPlaces = fmtInt(c.num.decimalPlaces);
  v.archiveMode = c.archiveMode;
  v.plainChars = indexOf(c.num.plainChars, 0, 2);
  v.resultGraphic = indexOf(c.defaultResultGraphic, 0, 6);

  v.textProgram = c.textProgram;
  v.htmlBrowser = c.htmlBrowser;
  v.plotLines = c.plotCommandLines;

  v.changeIndexStyle = indexOf(c.changeIndexStyle, 0, 4);
  v.releaseFieldText = c.releaseFieldText;
  v.dimensionFactor = real(c.dimensionFactor);
  for (std::size_t i = 0; i < 4; ++i) v.drawingShown[i] = !c.drawingOptions[i];
  return v;
}

ConfigFormRequest MakeConfigFormRequest(const Configuration& config, const ConfigFormContext& ctx, int page) {
  ConfigFormRequest r;
  r.config = config;
  r.values = ConfigFormValuesFrom(config, ctx.deviceNames);
  r.caption = ctx.applicationTitle + " " + "Konfiguration";
  r.pages = {"Directories", "Grafik",        "CAD",    "Layerfarben", "Drucker",
             "Ausdruck",    "Einstellungen", "Extern", "Zeichnung"};
  r.page = page >= 0 && page < static_cast<int>(r.pages.size()) ? page : 0;
  r.toolTips = config.helpLevel > 0;
  r.workingDir = ctx.workingDir;
  r.deviceNames = ctx.deviceNames;
  r.layerTitles = {oem("Mittellinie          0.25 mm"), oem("Gestrichelte Linie   0.25 mm"),
                   oem("Ausgezogene  Linie   0.25 mm"), oem("Ausgezogene  Linie   0.35 mm"),
                   oem("Ausgezogene  Linie   0.50 mm")};
  r.colorList = MakeColorSelectRequest("");

  auto set = [&r](ConfigControl c, int pageIndex, std::string_view caption, std::uint16_t help,
                  std::vector<std::string> items = {}) {
    ConfigControlText& t = r.controls[static_cast<std::size_t>(c)];
    t.caption = oem(caption);
    for (std::string& item : items) item = oem(item);
    t.items = std::move(items);
    t.page = pageIndex;
    t.helpNumber = help;
  };
  using C = ConfigControl;
  set(C::DbfDir, kDirectories, "Ordner für Datenbankdateien (dbf)", 2805);
  set(C::ProgramDir, kDirectories, "ORVAN-Programm-Ordner", 2810);
  set(C::PltDir, kDirectories, "Ordner für Hilfebilder und Hilfetexte (plt)", 2815);
  set(C::TempDir, kDirectories, "Temporärer Ordner", 2820);
  set(C::EdiDir, kDirectories, "EDI Ordner", 2835);
  set(C::DataDir, kDirectories, "Datenordner", 2825);
  set(C::CadDir, kDirectories, "CAD Ordner", 2830);
  set(C::WorkingDir, kDirectories, "Arbeitsverzeichnis", 0);

  set(C::ColorGraphics, kGraphics, "Farbgrafik", 2840, {"color", "monochrom"});
  set(C::WindowSize, kGraphics, "Fenstergroesse", 2840, {"x", "y"});
  set(C::GraphicsFont, kGraphics, "Font...", 2845);
  set(C::GraphicsTextWidth, kGraphics, "Textbreitenfaktor", 2845);
  set(C::GraphicsTextHeight, kGraphics, "Texthöhenfaktor", 2845);
  set(C::Background, kGraphics, "Hintergrundfarbe...", 2840);
  set(C::ZoomFactor, kGraphics, "Zoomfaktor", 2850);
  set(C::PanFactor, kGraphics, "Pan-Faktor", 2850);
  set(C::PrintBorder, kGraphics, "Umrandung", 2870);
  set(C::DialogScale, kGraphics, "Dialogfenster Größe", 2855);
  set(C::ElementsScale, kGraphics, "Dialogelemente Größe", 2855);
  set(C::Edit3d, kGraphics, "3D Edit x,y,z", 0, {"x", "y", "z"});

  set(C::LayerTable, kCad, "Layer", 2860, {"Name", "Farbe", "Strichstärke"});
  set(C::LayerColor, kCad, "Farbe", 2860);
  set(C::LayerMonochrome, kCad, "Layer Monochrom ?", 2860);
  set(C::CadTextFont, kCad, "Textstil", 2865);
  set(C::CadTextWidth, kCad, "Textbreitenfaktor", 2865);
  set(C::CadTextAngle, kCad, "Textwinkel", 2865);
  set(C::AskDiagramLimits, kCad, "Diagrammgrenzen abfragen", 0);
  set(C::DecimalsDxf, kCad, "Anzahl der Dezimalstellen", 2865);
  set(C::CadTextMode, kCad, "Text Type", 2865, {"OEM (ASCII)", "ANSI", "Ä->Ae, ß->ss..."});

  set(C::PenTable, kPens, "Layer 16..31", 2860, {"Farbe", "Strichstärke"});
  set(C::PenThickness, kPens, "Strichstärke", 2860, {"1", "2", "3"});

  set(C::PrintOrigin, kPrinter, "Ursprung", 2870, {"x", "y"});
  set(C::PrintScaleX, kPrinter, "Maßstab x", 2870);
  set(C::PrintScaleY, kPrinter, "Maßstab y", 2870);
  set(C::PrintMode, kPrinter, "Schattierung", 2870, {"monochrom", "color"});
  set(C::PrintOrientation, kPrinter, "Ausdruck", 2870, {"portrait", "landscape"});
  set(C::GraphicsPrintDialog, kPrinter, "Ausgabeformat abfragen", 2870);
  set(C::PrinterPort, kPrinter, "Druckerschnittstelle für Textausdruck", 2870, {"LPT1", "LPT2", "LPT3", "LPT4"});

  set(C::RuleMode, kPrintout, "Form der Trennzeilen im Ausdruck", 2875,
      {"Trennlinien  ---- ====  ****", "Trennlinien  ──── ════  ", "Leerzeichen und Leerzeilen",
       "komprimiert, ohne Trennzeilen"});
  set(C::LinesPerPage, kPrintout, "Max. Anzahl Zeilen/Seite auf dem Ausdruck", 2875);
  set(C::HeaderSpaceLines, kPrintout, "Leerzeilen am Seitenanfang", 2875);
  set(C::DateFormat, kPrintout, "Datum", 2910, {"DD.MM.YYYY", "MM/DD/YYYY", "YYYY/MM/DD", "DD/MM/YYY"});
  set(C::TextDevice, kPrintout, "Ausgabeformat", 2880);
  r.controls[static_cast<std::size_t>(C::TextDevice)].items = ctx.deviceNames;
  set(C::TextDeviceAsk, kPrintout, "abfragen", 2880);
  set(C::TextWindow, kPrintout, "Textfenster", 2915, {"links", "oben", "Breite", "Höhe"});
  set(C::HeaderMode, kPrintout, "Textausdruck", 2875, {"mit Kopf", "Kopf nur 1.Seite"});
  set(C::PrintoutFont, kPrintout, "Font...", 2915);
  set(C::AngleDisplay, kPrintout, "Winkel", 2910, {"15.1234°", "15° 7' 26\""});
  set(C::Units, kPrintout, "Einheit", 2800, {"Metrisch", "Englisch"});

  set(C::HelpLevel, kSettings, "Hilfegrad", 2885,
      {"0 : Keine Info nach Eingabe", "1 : Normale Einstellung", "2 : Erweiterte Hilfe, Einzeleingabe"});
  set(C::AskUserDir, kSettings, "Usereingabe", 2895, {"bei Programmstart"});
  set(C::DecimalComma, kSettings, "Dezimalzeichen", 2890, {"x.xx", "x,xx"});
  set(C::SpreadsheetDecimal, kSettings, "Dezimalzeichen Excel", 2890, {"English x.xx", "German x,xx"});
  set(C::DecimalPlaces, kSettings, "Anzahl der Dezimalstellen", 2890);
  set(C::ArchiveMode, kSettings, "Archivierungsmodus ?", 2895);
  set(C::PlainChars, kSettings, "Sonderzeichen", 2890, {"²  µ  °", "2  u  deg"});
  set(C::ResultGraphic, kSettings, "Ergebnisgrafik", 2910,
      {"egal", "Quick 1", "Quick 2", "Fertigungszeichnung", "Diagramm", "Zeichnung"});

  set(C::TextProgram, kExtern, "Textprogramm", 2900);
  set(C::HtmlBrowser, kExtern, "HTML Browser", 2900);
  set(C::PlotLines, kExtern, "PLOTRIX Command Lines", 2900);
  set(C::PlotLineConfig, kExtern, "Config", 2900);
  set(C::PlotLineEdit, kExtern, "Edit", 2900);

  set(C::ChangeIndexStyle, kDrawing, "Index", 2905, {"a,b,c...", "1,2,3...", "A,B,C...", "......"});
  set(C::ReleaseFieldText, kDrawing, "Freigabefeld", 2905);
  set(C::DimensionFactor, kDrawing, "Größenfaktor", 2905, {"Bemaßung"});
  set(C::DrawingShown, kDrawing, "", 0);
  // The file name and the date come from the running program (code page 850 already).
  r.controls[static_cast<std::size_t>(C::DrawingShown)].items = {ctx.programTitle, "file name " + ctx.fileName + " ?",
                                                                 ctx.dateTime + " ?", "$logo_1.dx$ ?"};

  if (r.toolTips && ctx.helpHint) {
    std::map<std::uint16_t, std::string> hints;
    for (ConfigControlText& t : r.controls) {
      if (t.helpNumber == 0) continue;
      auto it = hints.find(t.helpNumber);
      if (it == hints.end()) it = hints.emplace(t.helpNumber, ctx.helpHint(t.helpNumber)).first;
      t.hint = it->second;
    }
  }

  const Configuration base = config;
  const ConfigFormContext context = ctx;
  r.propose = [base, context](ConfigProposal p, const ConfigFormValues& v) {
    return ProposeConfigValues(p, v, base, context);
  };
  ConfigFormChoosers* choosers = ctx.choosers;
  r.choose = [choosers](ConfigChooser which, int line, const ConfigFormValues& v) {
    return choosers ? ChooseConfigValue(which, line, v, *choosers) : v;
  };
  const std::string configDir = ctx.configDir;
  r.chooseImport = [choosers, configDir]() -> std::optional<std::string> {
    if (!choosers) return std::nullopt;
    return choosers->chooseFile(configDir, "*.cfg|*.cfg");
  };
  return r;
}

// ---- Buttons ----

ConfigFormValues ProposeConfigValues(ConfigProposal p, const ConfigFormValues& in, const Configuration& base,
                                     const ConfigFormContext& ctx) {
  ConfigFormValues v = in;
  const NumberSettings& num = base.num;
  const ScreenMetrics& s = ctx.screen;
  auto layerPreset = [&v](int k) {
    const LayerPreset& pr = kLayerPresets[static_cast<std::size_t>(k - 1)];
    v.layers[static_cast<std::size_t>(k - 1)] = {pr.name, fmtInt(pr.color), fmtInt(pr.thickness)};
  };
  auto allPens = [&v](int thickness) {
    for (ConfigPenRow& row : v.pens) row.thickness = fmtInt(thickness);
  };
  switch (p) {
    case ConfigProposal::TempDir:
      v.tempDir = ctx.defaultTempDir;
      break;
    case ConfigProposal::WindowSize:
      v.windowX = fmtInt(static_cast<long long>(s.width) + ctx.mainClientWidth - ctx.mainWindowWidth);
      v.windowY = fmtInt(std::lround(s.height + 1.65 * (s.mainClientHeight - s.mainWindowHeight)));
      break;
    case ConfigProposal::GraphicsTextWidth:
      v.graphicsTextWidth = fmtField(num, 0.8L);
      break;
    case ConfigProposal::GraphicsTextHeight:
      v.graphicsTextHeight = fmtField(num, 1);
      break;
    case ConfigProposal::ZoomFactor:
      v.zoomFactor = fmtField(num, 1.02L);
      break;
    case ConfigProposal::PanFactor:
      v.panFactor = fmtField(num, 0.02L);
      break;
    case ConfigProposal::DialogScale:
      v.dialogScale = fmtInt(firstStartDialogScale(ctx));
      break;
    case ConfigProposal::ElementsScale: {
      // The toolkit already scales the controls' fonts by the screen's dots per inch; what is
      // left of the window scale is what the controls themselves need.
      long long scale = 0;
      if (!tryParseInt(v.dialogScale, scale) || scale == 0) scale = 100;
      double e = static_cast<double>(scale);
      if (s.dpiX > 0) e = e * 96.0 / s.dpiX;
      v.elementsScale = fmtInt(std::lround(std::clamp(e, 10.0, 1000.0)));
      break;
    }
    case ConfigProposal::LayerPreset1:
      layerPreset(1);
      break;
    case ConfigProposal::LayerPreset2:
      layerPreset(2);
      break;
    case ConfigProposal::LayerPreset3:
      layerPreset(3);
      break;
    case ConfigProposal::LayerPreset4:
      layerPreset(4);
      break;
    case ConfigProposal::LayerPreset5:
      layerPreset(5);
      break;
    case ConfigProposal::CadTextWidth:
      v.cadTextWidth = fmtField(num, 1);
      break;
    case ConfigProposal::CadTextAngle:
      v.cadTextAngle = fmtField(num, 0);
      break;
    case ConfigProposal::DecimalsDxf:
      v.decimalsDxf = "6";
      break;
    case ConfigProposal::PenThickness1:
      allPens(1);
      break;
    case ConfigProposal::PenThickness2:
      allPens(2);
      break;
    case ConfigProposal::PenThickness3:
      allPens(3);
      break;
    case ConfigProposal::PrintOriginX:
      v.printOriginX = "0";
      break;
    case ConfigProposal::PrintOriginY:
      v.printOriginY = "0";
      break;
    case ConfigProposal::PrintScaleX:
      v.printScaleX = "1.0";
      break;
    case ConfigProposal::PrintScaleYFromX:
      v.printScaleY = v.printScaleX;
      break;
    case ConfigProposal::TextWindow: {
      const int rx = effectiveResolution(v.windowX, base.resolutionX, s.width - 9);
      const int ry = effectiveResolution(v.windowY, base.resolutionY, s.height - 91);
      long long width = 620;
      if (rx > 640) {
        width = static_cast<long long>(v.printoutFontSize) * 70;
        if (width == 0) width = 700;
      }
      v.textWindow = {"10", "40", fmtInt(width), fmtInt(static_cast<long long>(ry) - 20)};
      break;
    }
    case ConfigProposal::ReleaseFieldText:
      v.releaseFieldText = "Frei";
      break;
    case ConfigProposal::DimensionFactor:
      v.dimensionFactor = "1.0";
      break;
  }
  return v;
}

ConfigFormValues ChooseConfigValue(ConfigChooser which, int line, const ConfigFormValues& in,
                                   ConfigFormChoosers& choosers) {
  ConfigFormValues v = in;
  auto folder = [&choosers](std::string& field) {
    if (std::optional<std::string> f = choosers.chooseFolder(field)) field = withSlash(*f);
  };
  // On this system programs carry no extension, so the chooser offers every file.
  auto program = [&choosers](std::string& field) {
    if (std::optional<std::string> f = choosers.chooseFile(field, "*|*")) field = *f;
  };
  const bool plotLine = line >= 0 && line < kPlotCommandLines;
  switch (which) {
    case ConfigChooser::DbfDir:
      folder(v.dbfDir);
      break;
    case ConfigChooser::ProgramDir:
      folder(v.programDir);
      break;
    case ConfigChooser::PltDir:
      folder(v.pltDir);
      break;
    case ConfigChooser::TempDir:
      folder(v.tempDir);
      break;
    case ConfigChooser::EdiDir:
      folder(v.ediDir);
      break;
    case ConfigChooser::DataDir:
      folder(v.dataDir);
      break;
    case ConfigChooser::CadDir:
      folder(v.cadDir);
      break;
    case ConfigChooser::TextProgram:
      program(v.textProgram);
      break;
    case ConfigChooser::HtmlBrowser:
      program(v.htmlBrowser);
      break;
    case ConfigChooser::PlotLineConfig:
      if (plotLine) {
        std::string& l = v.plotLines[static_cast<std::size_t>(line)];
        if (std::optional<std::string> t = choosers.configurePlotLine(l)) l = *t;
      }
      break;
    case ConfigChooser::PlotLineEdit:
      if (plotLine) {
        std::string& l = v.plotLines[static_cast<std::size_t>(line)];
        // A stored line longer than the entry is offered whole rather than cut.
        const int length = std::max(kPlotLineEditLength, static_cast<int>(l.size()));
        if (std::optional<std::string> t = choosers.enterText("PLOTRIX Command Line", length, l)) l = *t;
      }
      break;
  }
  return v;
}

// ---- Applying ----

std::vector<std::string> ApplyConfigForm(Configuration& c, const ConfigFormRequest& request,
                                         const ConfigFormResult& result) {
  const ConfigFormValues& o = request.values;  // as shown
  const ConfigFormValues& v = result.values;   // as left
  Applier a;

  // "Directories"
  Applier::folder(o.dbfDir, v.dbfDir, c.dbfDir);
  Applier::folder(o.programDir, v.programDir, c.programDir);
  Applier::folder(o.pltDir, v.pltDir, c.pltDir);
  Applier::folder(o.tempDir, v.tempDir, c.tempDir);
  Applier::folder(o.ediDir, v.ediDir, c.ediDir);
  Applier::folder(o.dataDir, v.dataDir, c.dataDir);
  Applier::folder(o.cadDir, v.cadDir, c.cadDir);

  // "Grafik"
  if (v.colorGraphics != o.colorGraphics && (v.colorGraphics == 0 || v.colorGraphics == 1))
    c.colorGraphics = v.colorGraphics == 0;
  a.fixedInteger(o.windowX, v.windowX, c.resolutionX, resolutionFromField);
  a.fixedInteger(o.windowY, v.windowY, c.resolutionY, resolutionFromField);
  if (v.graphicsFont != o.graphicsFont) c.graphicsFont = cut(v.graphicsFont, kFontLength);
  Applier::flag(o.graphicsFontStyle, v.graphicsFontStyle, c.graphicsFontStyle);
  a.real(o.graphicsTextWidth, v.graphicsTextWidth, c.graphicsTextWidth, realZeroTo(0.8L));
  a.real(o.graphicsTextHeight, v.graphicsTextHeight, c.textHeightFactor, [](Real x) { return x < 0.1L ? Real{1} : x; });
  if (v.backgroundColor != o.backgroundColor) c.backgroundColor = v.backgroundColor & 0xFFFFFF;
  a.real(o.zoomFactor, v.zoomFactor, c.zoomFactor, realZeroTo(1.02L));
  a.real(o.panFactor, v.panFactor, c.panFactor, realZeroTo(0.01L));
  Applier::flag(o.printBorder, v.printBorder, c.printBorder);
  a.fixedInteger(o.dialogScale, v.dialogScale, c.inputWindowScale, zeroTo(100), 10, 1000);
  a.fixedInteger(o.elementsScale, v.elementsScale, c.dialogElementsScale, zeroTo(100), 10, 1000);
  Applier::flag(o.edit3d, v.edit3d, c.edit3d);
  for (std::size_t i = 0; i < 3; ++i) a.real(o.view3d[i], v.view3d[i], c.view3d[i], radians);

  // "CAD"
  for (std::size_t k = 1; k <= 5; ++k) {
    const ConfigLayerRow& ro = o.layers[k - 1];
    const ConfigLayerRow& rv = v.layers[k - 1];
    Applier::text(ro.name, rv.name, c.layerName[k], kLayerNameLength);
    a.integer(ro.color, rv.color, c.layerColor[k], 1, 255);
    a.integer(ro.thickness, rv.thickness, c.lineThickness[k], 1, 255);
  }
  Applier::flag(o.layerMonochrome, v.layerMonochrome, c.layerMonochrome);
  Applier::text(o.cadTextFont, v.cadTextFont, c.cadTextFont, kCadFontLength);
  a.real(o.cadTextWidth, v.cadTextWidth, c.cadTextWidth, realZeroTo(1));
  a.real(o.cadTextAngle, v.cadTextAngle, c.cadTextAngle);
  Applier::flag(o.askDiagramLimits, v.askDiagramLimits, c.askDiagramLimits);
  a.integer(o.decimalsDxf, v.decimalsDxf, c.decimalsDxf, 1, 32);
  Applier::choice(o.cadTextMode, v.cadTextMode, 3, 1, c.num.cadTextMode);

  // "Layerfarben"
  for (std::size_t n = 16; n <= 31; ++n) {
    const ConfigPenRow& ro = o.pens[n - 16];
    const ConfigPenRow& rv = v.pens[n - 16];
    a.fixedInteger(ro.color, rv.color, c.layerColor[n], zeroTo(1), 1, 255);
    a.integer(ro.thickness, rv.thickness, c.lineThickness[n], 1, 255);
  }

  // "Drucker"
  a.integer(o.printOriginX, v.printOriginX, c.printOriginX);
  a.integer(o.printOriginY, v.printOriginY, c.printOriginY);
  a.real(o.printScaleX, v.printScaleX, c.printScaleX, realZeroTo(1), true);
  // Read after x, so that "below 0.0001 means the scale x" sees the new x.
  a.real(
      o.printScaleY, v.printScaleY, c.printScaleY, [&c](Real y) { return y < 0.0001L ? c.printScaleX : y; }, true);
  Applier::choice(o.printMode, v.printMode, 2, 1, c.printMode);
  Applier::choice(o.printOrientation, v.printOrientation, 2, 1, c.printOrientation);
  Applier::flag(o.graphicsPrintDialog, v.graphicsPrintDialog, c.graphicsPrintDialog);
  Applier::choice(o.printerPort, v.printerPort, 4, 1, c.printerPort);

  // "Ausdruck"
  Applier::choice(o.ruleMode, v.ruleMode, 4, 1, c.ruleMode);
  a.fixedInteger(o.linesPerPage, v.linesPerPage, c.linesPerPage, [](long long n) { return n < 5 ? 66 : n; });
  a.integer(o.headerSpaceLines, v.headerSpaceLines, c.headerSpaceLines, 0, 30);
  Applier::choice(o.dateFormat, v.dateFormat, 4, 1, c.num.dateFormat);
  if (v.textDevice != o.textDevice)
    if (const int code = DeviceCodeForName(request.deviceNames, v.textDevice); code != 0) c.textDevice = code;
  Applier::flag(o.textDeviceAsk, v.textDeviceAsk, c.textDeviceAsk);
  a.integer(o.textWindow[0], v.textWindow[0], c.textWindow.left);
  a.integer(o.textWindow[1], v.textWindow[1], c.textWindow.top);
  a.integer(o.textWindow[2], v.textWindow[2], c.textWindow.width);
  a.integer(o.textWindow[3], v.textWindow[3], c.textWindow.height);
  Applier::choice(o.headerMode, v.headerMode, 2, 1, c.headerMode);
  if (v.printoutFont != o.printoutFont)
    c.printoutFont = v.printoutFont.empty() ? std::string("Courier New") : cut(v.printoutFont, kFontLength);
  if (v.printoutFontSize != o.printoutFontSize) c.printoutFontSize = v.printoutFontSize > 0 ? v.printoutFontSize : 10;
  Applier::flag(o.printoutFontStyle, v.printoutFontStyle, c.printoutFontStyle);
  Applier::choice(o.angleDisplay, v.angleDisplay, 2, 1, c.angleDisplay);
  Applier::choice(o.units, v.units, 2, 0, c.num.units);

  // "Einstellungen"
  Applier::choice(o.helpLevel, v.helpLevel, 3, 0, c.helpLevel);
  Applier::flag(o.askUserDir, v.askUserDir, c.askUserDir);
  Applier::choice(o.decimalComma, v.decimalComma, 2, 1, c.num.decimalComma);
  Applier::choice(o.spreadsheetDecimal, v.spreadsheetDecimal, 2, 1, c.num.spreadsheetDecimal);
  a.integer(o.decimalPlaces, v.decimalPlaces, c.num.decimalPlaces, 1, 9);
  Applier::flag(o.archiveMode, v.archiveMode, c.archiveMode);
  Applier::choice(o.plainChars, v.plainChars, 2, 0, c.num.plainChars);
  Applier::choice(o.resultGraphic, v.resultGraphic, 6, 0, c.defaultResultGraphic);

  // "Extern"
  Applier::text(o.textProgram, v.textProgram, c.textProgram);
  Applier::text(o.htmlBrowser, v.htmlBrowser, c.htmlBrowser);
  if (v.plotLines != o.plotLines) {
    c.plotCommandLines = v.plotLines;
    // The device dialog offers the lines up to the last one filled in.
    int count = 1;
    for (int i = 0; i < kPlotCommandLines; ++i)
      if (!trim(c.plotCommandLines[static_cast<std::size_t>(i)]).empty()) count = i + 1;
    c.plotCommandLineCount = count;
  }

  // "Zeichnung"
  Applier::choice(o.changeIndexStyle, v.changeIndexStyle, 4, 0, c.changeIndexStyle);
  Applier::text(o.releaseFieldText, v.releaseFieldText, c.releaseFieldText);
  a.real(o.dimensionFactor, v.dimensionFactor, c.dimensionFactor, [](Real x) { return x < 0.01L ? Real{1} : x; });
  for (std::size_t i = 0; i < 4; ++i)
    if (v.drawingShown[i] != o.drawingShown[i]) c.drawingOptions[i] = !v.drawingShown[i];

  return std::move(a.messages);
}

ConfigImportTarget ImportTargetFor(std::string_view path) {
  ConfigImportTarget t;
  const std::size_t slash = path.rfind('/');
  std::string_view name = path;
  if (slash != std::string_view::npos) {
    t.configDir = std::string(path.substr(0, slash + 1));
    name = path.substr(slash + 1);
  }
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  t.shortName = cut(std::string(name), 25);
  return t;
}

ConfigChanges ConfigChangesBetween(const Configuration& b, const Configuration& a) {
  ConfigChanges ch;
  ch.windowSize = b.resolutionX != a.resolutionX || b.resolutionY != a.resolutionY;
  ch.background = b.backgroundColor != a.backgroundColor;
  ch.numberFormat = b.num.units != a.num.units || b.num.decimalPlaces != a.num.decimalPlaces ||
                    b.num.decimalComma != a.num.decimalComma || b.num.plainChars != a.num.plainChars ||
                    b.num.dateFormat != a.num.dateFormat || b.angleDisplay != a.angleDisplay;
  ch.redraw = ch.windowSize || ch.background || ch.numberFormat || b.colorGraphics != a.colorGraphics ||
              b.graphicsTextWidth != a.graphicsTextWidth || b.textHeightFactor != a.textHeightFactor ||
              b.graphicsFont != a.graphicsFont || b.graphicsFontStyle != a.graphicsFontStyle ||
              b.layerColor != a.layerColor || b.lineThickness != a.lineThickness ||
              b.defaultResultGraphic != a.defaultResultGraphic || b.dimensionFactor != a.dimensionFactor;
  ch.folders = b.dbfDir != a.dbfDir || b.programDir != a.programDir || b.pltDir != a.pltDir || b.tempDir != a.tempDir ||
               b.ediDir != a.ediDir || b.dataDir != a.dataDir || b.cadDir != a.cadDir;
  return ch;
}

ConfigFormFollowUp ConfigFormAfter(const Configuration& before, const Configuration& after,
                                   const ConfigFormResult& result, const std::vector<std::string>& messages) {
  ConfigFormFollowUp f;
  switch (result.exit) {
    case ConfigFormExit::Ok:
      f.changes = ConfigChangesBetween(before, after);
      // OK keeps the settings for the next start as well; a refused entry reopens the dialog first.
      f.writeFile = messages.empty();
      f.reopen = !messages.empty();
      break;
    case ConfigFormExit::Save:
      f.changes = ConfigChangesBetween(before, after);
      f.writeFile = messages.empty();
      f.reopen = true;
      break;
    case ConfigFormExit::Import:
      if (!result.importPath.empty()) f.import = ImportTargetFor(result.importPath);
      f.reopen = true;
      break;
  }
  return f;
}

ConfigFormOutcome FinishConfigForm(Configuration& c, const ConfigFormRequest& request,
                                   const std::optional<ConfigFormResult>& result) {
  ConfigFormOutcome out;
  if (!result) return out;
  const Configuration before = c;
  if (result->exit != ConfigFormExit::Import) out.messages = ApplyConfigForm(c, request, *result);
  out.followUp = ConfigFormAfter(before, c, *result, out.messages);
  return out;
}

}  // namespace velk
