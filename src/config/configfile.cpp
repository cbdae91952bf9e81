// The bytes of the configuration file and of the recent-files file, both ways.
// One listing of the configuration's rows drives both the reader and the writer, so they cannot drift apart.
#include "config/configfile.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "base/codepage.h"
#include "base/textfile.h"
#include "platform/files.h"

namespace velk {

namespace {

// Texts with no width of their own (folders, command lines) are cut here: no usable path is longer.
constexpr std::size_t kMaxText = 4096;
constexpr std::size_t kFontName32 = 32;
constexpr std::size_t kFontName60 = 60;

std::string cut(std::string s, std::size_t max) {
  if (s.size() > max) s.resize(max);
  return s;
}

int saturate(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

// Corrections applied after a value is read (the writer ignores them).
struct Keep {
  template <class T>
  T operator()(T v) const {
    return v;
  }
};
auto zeroTo(int d) {
  return [d](int v) { return v == 0 ? d : v; };
}
// Out of range (including values the table calls "0" but that are negative) -> d.
auto outside(int lo, int hi, int d) {
  return [=](int v) { return v < lo || v > hi ? d : v; };
}
auto realZeroTo(Real d) {
  return [d](Real v) { return v == 0 ? d : v; };
}

// Reads rows in order. Once the data ends, every later row keeps its current value: an older,
// shorter file ends at one of the format's stop points, and a cut file ends anywhere.
class RowReader {
 public:
  static constexpr bool kReading = true;
  explicit RowReader(std::string_view bytes) : in_(bytes) {}

  // True when the file ends right here (the special rule after "Layer Monochrom").
  bool endsHere() const { return !stopped_ && in_.atEnd(); }

  void key(std::string_view) {
    std::string ignored;
    line(ignored);
  }
  template <class Fix = Keep>
  void text(std::string& s, std::size_t max = kMaxText, Fix fix = {}) {
    std::string l;
    if (line(l)) s = fix(cut(std::move(l), max));
  }
  // An empty line keeps the current text.
  void textOrKeep(std::string& s, std::size_t max = kMaxText) {
    std::string l;
    if (line(l) && !l.empty()) s = cut(std::move(l), max);
  }
  template <class Fix = Keep>
  void integer(int& v, Fix fix = {}) {
    std::string l;
    if (line(l)) v = fix(saturate(lineToInt(l)));
  }
  void boolean(bool& b) {
    std::string l;
    if (line(l)) b = upper(l) == "TRUE";
  }
  void notFalse(bool& b) {
    std::string l;
    if (line(l)) b = upper(l) != "FALSE";
  }
  void character(char& c) {
    std::string l;
    if (line(l)) c = l.empty() ? 'N' : l[0];
  }
  template <class Fix = Keep>
  void real(Real& x, Fix fix = {}) {
    std::string l;
    if (line(l)) x = fix(lineToReal(l));
  }
  template <class Fix = Keep>
  void real7(Real& x, Fix fix = {}) {
    real(x, fix);
  }
  // A 6-byte real: values it cannot hold read as 0, the rest is narrowed.
  template <class Fix = Keep>
  void real6(Real& x, Fix fix = {}) {
    std::string l;
    if (!line(l)) return;
    Real v = lineToReal(l);
    v = std::fabs(v) > 1.7e38L ? Real{0} : static_cast<Real>(static_cast<double>(v));
    x = fix(v);
  }
  // Used only when width and height are both non-zero.
  void quad(TextWindowRect& r) {
    std::string l;
    if (!line(l)) return;
    std::array<int, 4> v{};
    std::size_t start = 0;
    for (int& n : v) {
      std::size_t bar = l.find('|', start);
      if (bar == std::string::npos) break;
      n = saturate(lineToInt(std::string_view(l).substr(start, bar - start)));
      start = bar + 1;
    }
    if (v[2] != 0 && v[3] != 0) r = {v[0], v[1], v[2], v[3]};
  }
  // The count n, then the command lines 2 to n. Lines beyond the five held are read and
  // dropped so that the rows after them stay in place.
  void plotLines(std::array<std::string, kPlotCommandLines>& lines, int& count) {
    std::string l;
    if (!line(l)) return;
    const long long n = lineToInt(l);
    for (long long i = 1; i < n; ++i) {
      if (!line(l)) break;
      if (i < kPlotCommandLines) lines[static_cast<std::size_t>(i)] = cut(std::move(l), kMaxText);
    }
    count = static_cast<int>(std::clamp<long long>(n, 1, kPlotCommandLines));
  }

 private:
  bool line(std::string& out) {
    if (stopped_ || in_.atEnd()) {
      stopped_ = true;
      return false;
    }
    out = in_.readLine();
    return true;
  }

  TextReader in_;
  bool stopped_ = false;
};

class RowWriter {
 public:
  static constexpr bool kReading = false;
  // fileNum: the number settings the file is written with (decimal point, standard decimals).
  explicit RowWriter(const NumberSettings& fileNum) : num_(fileNum), out_(num_) {}

  bool endsHere() const { return false; }
  void key(std::string_view k) { out_.writeLine(k); }
  template <class Fix = Keep>
  void text(const std::string& s, std::size_t = kMaxText, Fix = {}) {
    // A CR or LF inside a text would end its line early and shift every row after it.
    std::string t = s;
    std::replace(t.begin(), t.end(), '\r', ' ');
    std::replace(t.begin(), t.end(), '\n', ' ');
    out_.writeLine(t);
  }
  void textOrKeep(const std::string& s, std::size_t = kMaxText) { text(s); }
  template <class Fix = Keep>
  void integer(int v, Fix = {}) {
    out_.writeInt(v);
  }
  void boolean(bool b) { out_.writeBool(b); }
  void notFalse(bool b) { out_.writeBool(b); }
  void character(char c) { out_.writeChar(c); }
  template <class Fix = Keep>
  void real(Real x, Fix = {}) {
    out_.writeLine(fmtSig(num_, x));
  }
  template <class Fix = Keep>
  void real7(Real x, Fix = {}) {
    out_.writeReal(x);
  }
  template <class Fix = Keep>
  void real6(Real x, Fix = {}) {
    out_.writeReal(x);
  }
  void quad(const TextWindowRect& r) {
    out_.writeFields({fmtInt(r.left), fmtInt(r.top), fmtInt(r.width), fmtInt(r.height)});
  }
  void plotLines(const std::array<std::string, kPlotCommandLines>& lines, int count) {
    const int n = std::clamp(count, 1, kPlotCommandLines);
    out_.writeInt(n);
    for (int i = 1; i < n; ++i) text(lines[static_cast<std::size_t>(i)]);
  }
  const std::string& bytes() const { return out_.bytes(); }

 private:
  NumberSettings num_;
  TextWriter out_;
};

struct RowContext {
  std::string titleLine;   // short name + " Konfiguration"
  std::string workFolder;  // the working folder with "/"
};

// The configuration file, row by row (the order of lines is the format).
template <class V>
void configurationRows(V& v, Configuration& c, const RowContext& ctx) {
  v.key(ctx.titleLine);
  v.key(std::string("Version ") + kVersion);
  for (int layer = 1; layer <= 5; ++layer) {
    v.key("Layer");
    v.text(c.layerName[layer], kFontName32);
    v.key("Farbe");
    v.integer(c.layerColor[layer]);
  }
  v.key("Textstil CAD");
  v.text(c.cadTextFont, kFontName32);
  v.key("Textbreitenfaktor CAD");
  v.real(c.cadTextWidth, realZeroTo(1));
  v.key("Textwinkel");
  v.real(c.cadTextAngle);
  v.key("CAD Ordner");
  v.text(c.cadDir);
  v.key("DBF Ordner");
  v.text(c.dbfDir);
  v.key("Hilfegrad");
  v.integer(c.helpLevel, outside(0, 2, 1));
  v.key("Druckerschnittstelle");
  v.integer(c.printerPort, outside(1, INT_MAX, 1));  // stop point
  v.key("Druckertyp");
  v.integer(c.printerType);  // stop point
  v.key("Druckdichte");
  v.integer(c.printDensity);
  v.key(oem("Hardcopy um 90° gedreht ?"));
  v.character(c.hardcopyRotated);
  v.key("Dezimalstellen");
  v.integer(c.num.decimalPlaces, outside(1, 9, 3));
  v.key("Druckdicke vertikal");
  v.integer(c.printDensityVertical, outside(1, 4, 1));  // stop point
  v.key("Farbgrafik");
  v.boolean(c.colorGraphics);
  v.key("GrafikKorrekturFaktor horizontal");
  v.real(c.graphicsCorrection, realZeroTo(1));
  v.key("Grafik-Mode");
  v.integer(c.graphicsMode);
  v.key("Grafik-Treiber");
  v.integer(c.graphicsDriver);
  v.key(oem("Auflösung horizontal"));
  v.integer(c.resolutionX);
  v.key(oem("Auflösung vertikal"));
  v.integer(c.resolutionY);
  v.key(oem("Ordner für temporäre Dateien"));
  v.text(c.tempDir);
  v.key("Druckerschnittstelle Hardcopy");
  v.integer(c.hardcopyPort, outside(1, INT_MAX, 1));  // stop point
  v.key("EDI Ordner");
  v.text(c.ediDir);
  v.key("PLT Ordner");
  v.text(c.pltDir);
  v.key(oem("Mode für Textausdruck 1:* 2:-"));
  v.integer(c.ruleMode, outside(1, 4, 1));
  v.key(oem("Zeilen pro Seite für Drucker"));
  v.integer(c.linesPerPage, [](int n) { return n < 5 ? 66 : n; });
  v.key("Zoomfaktor");
  v.real7(c.zoomFactor, realZeroTo(1.02L));
  v.key("Pan-Faktor");
  v.real7(c.panFactor, realZeroTo(0.01L));
  v.key("ORVAN-Programmverzeichnis");
  v.text(c.programDir);  // stop point
  v.key("PLOTRIX-Kommandozeile");
  v.textOrKeep(c.plotCommandLines[0]);  // stop point
  v.key("Hintergrundfarbe");
  v.integer(c.backgroundColor);  // stop point
  v.key("Windows-Druckmodus (1=mono 2=color)");
  v.integer(c.printMode, outside(1, 2, 1));  // stop point
  v.key("Layer Monochrom");
  v.boolean(c.layerMonochrome);
  if constexpr (V::kReading) {
    // Files of the versions that ended here had one text width factor and no graphics font.
    if (v.endsHere()) {
      c.graphicsTextWidth = c.cadTextWidth;
      c.graphicsFont = "Arial";
      return;
    }
  }
  v.key("Textbreitenfaktor Grafik");
  v.real7(c.graphicsTextWidth, realZeroTo(0.8L));
  v.key("Textstil Grafik");
  v.text(c.graphicsFont, kFontName60);  // stop point
  for (int layer = 16; layer <= 31; ++layer) {
    v.key("Color Layer " + fmtInt(layer));
    // 0 was written for "not configured" by earlier versions: the layer's own colour, which for
    // layer 16 is colour 1.
    v.integer(c.layerColor[layer], zeroTo(defaultLayerColor(layer)));
  }  // stop point
  v.key("Textprogramm");
  v.text(c.textProgram);
  v.key("Datenbank mode");
  v.integer(c.tableMode);
  v.key("externe Datenbank");
  v.text(c.externalTableEditor);  // stop point
  v.key("Windows Screendump Origin X");
  v.integer(c.printOriginX);
  v.key("Windows Screendump Origin Y");
  v.integer(c.printOriginY);
  v.key("Windows Screendump Scale");
  v.real6(c.printScaleX, [&c](Real x) {
    if (x != 0) return x;
    c.printScaleY = 1;
    return Real{1};
  });
  v.key("Windows Screendump Border ?");
  v.boolean(c.printBorder);  // stop point
  v.key("Enter Password ?");
  v.boolean(c.askUserDir);  // stop point
  v.key("PLOTRIX Command lines (n, line 2 .. line n)");
  v.plotLines(c.plotCommandLines, c.plotCommandLineCount);
  v.key("Archive Flag ?");
  v.boolean(c.archiveMode);
  // Each of the next rows is read only if the file continues.
  v.key("Date Code");
  v.integer(c.num.dateFormat, outside(1, 4, 1));
  v.key("Header Space Lines");
  v.integer(c.headerSpaceLines, outside(0, 30, 0));
  v.key("Text Device");
  v.integer(c.textDevice, outside(1, 9, 1));
  v.key("Text Device Window ?");
  v.boolean(c.textDeviceAsk);
  v.key("Small Online Window ?");
  v.boolean(c.smallOnlineWindow);
  v.key("Enter Diagram Limits ?");
  v.boolean(c.askDiagramLimits);
  v.key("Dot=1 Komma=2");
  v.integer(c.num.decimalComma, outside(1, 2, 1));
  v.key("Default Data Directory");
  const std::string work = ctx.workFolder;
  v.text(c.dataDir, kMaxText, [&work](std::string s) { return s.empty() ? work : s; });
  v.key("Text Height Factor");
  v.real7(c.textHeightFactor, [](Real x) { return x < 0.1L ? Real{1} : x; });
  v.key("Input Window Scale %");
  v.integer(c.inputWindowScale, outside(10, 1000, 100));
  v.key("HTML Browser");
  v.text(c.htmlBrowser);  // stop point
  v.key("Print Scale Vertical");
  v.real6(c.printScaleY, [&c](Real y) { return y < 0.0001L ? c.printScaleX : y; });
  v.key("Line thickness Layer 0..5");
  // Out of range, the 0 of earlier versions included: the layer's own thickness (1 for layers 0..3).
  for (int layer = 0; layer <= 5; ++layer)
    v.integer(c.lineThickness[layer], outside(1, 255, defaultLineThickness(layer)));
  v.key("Graphic Printout Dialog Box ?");
  v.boolean(c.graphicsPrintDialog);
  v.key("Text window left/top/width/height");
  v.quad(c.textWindow);
  v.key("Metric Units=0,  English units=1");
  v.integer(c.num.units, outside(0, 1, 0));
  v.key("printout with header=1, header page 1 only=2");
  v.integer(c.headerMode, outside(1, 2, 1));
  v.key("Text Font Printout");
  v.text(c.printoutFont, kFontName60, [](std::string s) { return s.empty() ? std::string("Courier New") : s; });
  v.key("Text Size Printout");
  v.integer(c.printoutFontSize, outside(1, INT_MAX, 10));
  v.key("Text Style Printout");
  v.integer(c.printoutFontStyle);
  v.key("Text Style Graphics");
  v.integer(c.graphicsFontStyle);
  v.key("Printer: Portrait=1, Landscape=2");
  v.integer(c.printOrientation, outside(1, 2, 1));
  v.key("Edit 3D x,y,z ?");
  v.notFalse(c.edit3d);
  v.key("3D - Default x,y,z");
  for (Real& a : c.view3d) v.real7(a);
  // Rows without keys.
  v.integer(c.changeIndexStyle, outside(0, 3, 0));
  v.integer(c.num.spreadsheetDecimal, outside(1, 2, 2));
  v.text(c.releaseFieldText);
  v.key("Decimals DXF,TXT");
  v.integer(c.decimalsDxf, outside(1, 32, 6));
  v.key("CAD Text Mode");
  v.integer(c.num.cadTextMode, outside(1, 3, 1));
  v.key(oem("Strichstärke Layer 16..31"));
  for (int layer = 16; layer <= 31; ++layer) v.integer(c.lineThickness[layer]);
  v.integer(c.num.plainChars, outside(0, 1, 0));
  v.integer(c.dialogElementsScale, outside(10, 1000, 100));
  v.integer(c.angleDisplay, outside(1, 2, 2));
  v.real7(c.dimensionFactor, realZeroTo(1));
  v.integer(c.printMacroValue);
  v.integer(c.mainWindowValue);
  v.integer(c.defaultResultGraphic, outside(0, 5, 0));
  for (bool& option : c.drawingOptions) v.boolean(option);
  // The menu language, last: files of older versions end before it and read as 0 (German).
  v.integer(c.language, outside(0, 9, 0));
}

RowContext rowContext(const Settings& ws) {
  const std::string& dir = ws.start.startDir.empty() ? currentDirectory() : ws.start.startDir;
  return {ws.start.shortName + " " + "Konfiguration", withSeparator(dir)};
}

// Lines 20 and 21: a resolution of 0 or -1 (or anything the dialog could not have stored)
// means the screen's size.
void applyResolutionRule(Settings& ws, const ScreenMetrics& screen) {
  Configuration& c = ws.config;
  if (c.resolutionX < 1 || c.resolutionX > 5000) c.resolutionX = screen.width - 9;
  if (c.resolutionY < 1 || c.resolutionY > 5000) c.resolutionY = screen.height - 91;
}

}  // namespace

int languageForLocale(std::string_view locale) {
  struct Entry {
    std::string_view prefix;
    int language;
  };
  // Language numbers as the menu's: 1 Deutsch ... 9 Español.
  static constexpr Entry kTable[] = {{"de", 1}, {"en", 2}, {"fr", 3}, {"it", 4}, {"sv", 5},
                                     {"pt", 6}, {"ro", 7}, {"ko", 8}, {"es", 9}};
  // Only the language part counts: "de_AT.UTF-8", "de@euro" and "de" alike; "den" is no German.
  const std::size_t end = locale.find_first_of("_.@");
  const std::string_view code = locale.substr(0, end);
  for (const Entry& e : kTable)
    if (code == e.prefix) return e.language;
  return 2;
}

int languageForLocale(std::string_view lcAll, std::string_view lcMessages, std::string_view lang) {
  for (std::string_view v : {lcAll, lcMessages, lang})
    if (!v.empty()) return languageForLocale(v);
  return 2;
}

void InitConfigLocation(Settings& ws) {
  ws.start.startDir = currentDirectory();
  ws.start.configDir = userConfigDir();
  auto env = [](const char* name) {
    const char* v = std::getenv(name);
    return std::string_view(v ? v : "");
  };
  ws.start.desktopLanguage = languageForLocale(env("LC_ALL"), env("LC_MESSAGES"), env("LANG"));
}

std::string configFilePath(const Settings& ws) { return ws.start.configDir + ws.start.shortName + ".cfg"; }
std::string recentFilesPath(const Settings& ws) { return ws.start.configDir + ws.start.shortName + ".cff"; }

void readConfigurationFrom(Settings& ws, const ScreenMetrics& screen, std::string_view bytes) {
  RowReader reader(bytes);
  configurationRows(reader, ws.config, rowContext(ws));
  applyResolutionRule(ws, screen);
}

void applyFirstStartValues(Settings& ws, const ScreenMetrics& screen) {
  applyResolutionRule(ws, screen);
  // CAD texts of a new configuration in Windows-1252 ("ANSI_1252"), the code page every DXF
  // reader knows; a stored configuration keeps the text type it names (OEM included).
  ws.config.num.cadTextMode = 2;
  ws.config.language = ws.start.desktopLanguage;
  const ScreenMetrics& s = screen;
  // A whole rectangle: the reader takes the row only when width and height are both set, so a
  // height alone would be lost with the first save.
  const int width = s.width - 9 > 640 ? ws.config.printoutFontSize * 70 : 620;
  ws.config.textWindow = {10, 40, width > 0 ? width : 700, s.height - 80};
  const double client = s.mainClientHeight + 46.0;
  int scale = 100;
  if (client > 0 && s.dpiY > 0) {
    const double v = (s.mainWindowHeight / client + 0.009) * (s.dpiY / 96.0) * 100.0;
    if (std::isfinite(v)) scale = static_cast<int>(std::lround(std::clamp(v, 10.0, 1000.0)));
  }
  ws.config.inputWindowScale = scale;
}

std::string configurationFileBytes(const Settings& ws) {
  // Reals always with a point and the standard decimals, whatever the user's number settings;
  // the settings themselves are written unchanged.
  NumberSettings fileNum = ws.config.num;
  fileNum.decimalComma = 1;
  fileNum.decimalPlaces = 3;
  RowWriter writer(fileNum);
  Configuration copy = ws.config;
  configurationRows(writer, copy, rowContext(ws));
  return writer.bytes();
}

void readRecentFilesFrom(Settings& ws, std::string_view bytes) {
  TextReader in(bytes);
  in.readLine();  // the session line
  for (std::string& name : ws.start.recentFiles) name = cut(in.readLine(), kMaxText);
}

std::string recentFilesBytes(const Settings& ws) {
  TextWriter out(ws.config.num);
  auto line = [&out](std::string s) {
    std::replace(s.begin(), s.end(), '\r', ' ');
    std::replace(s.begin(), s.end(), '\n', ' ');
    out.writeLine(s);
  };
  line(ws.start.shortName + " Session " + ws.config.dataDir);
  for (const std::string& name : ws.start.recentFiles) line(name);
  return out.bytes();
}

}  // namespace velk
