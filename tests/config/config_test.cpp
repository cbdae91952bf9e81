// Configuration file, recent-files file and folder check: stop points, corrections, round trip,
// first start, write failures with retry, and the folder messages.
#include <sys/stat.h>

#include <cerrno>
#include <functional>
#include <optional>
#include <sstream>

#include "dialogs/configio.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

// Every value away from its default, so a value read into the wrong place or not read shows.
void customize(Configuration& c) {
  for (int i = 1; i <= 5; ++i) {
    c.layerName[i] = "Layer" + std::to_string(i);
    c.layerColor[i] = 10 + i;
  }
  c.cadTextFont = "ISOCP";
  c.cadTextWidth = 0.75L;
  c.cadTextAngle = 15;
  c.cadDir = "/cad/";
  c.dbfDir = "/dbf/";
  c.helpLevel = 2;
  c.printerPort = 3;
  c.printerType = 7;
  c.printDensity = 2;
  c.hardcopyRotated = 'N';
  c.num.decimalPlaces = 5;
  c.printDensityVertical = 4;
  c.colorGraphics = false;
  c.graphicsCorrection = 1.25L;
  c.graphicsMode = 4;
  c.graphicsDriver = 9;
  c.resolutionX = 799;
  c.resolutionY = 599;
  c.tempDir = "/tmp/t/";
  c.hardcopyPort = 2;
  c.ediDir = "/edi/";
  c.pltDir = "/plt/";
  c.ruleMode = 3;
  c.linesPerPage = 72;
  c.zoomFactor = 1.5L;
  c.panFactor = 0.25L;
  c.programDir = "/prog/";
  c.plotCommandLines = {"plot a", "plot b", "plot c", "", ""};
  c.plotCommandLineCount = 3;
  c.backgroundColor = 0x102030;
  c.printMode = 2;
  c.layerMonochrome = true;
  c.graphicsTextWidth = 0.5L;
  c.graphicsFont = "DejaVu Sans";
  for (int i = 16; i <= 31; ++i) c.layerColor[i] = i;
  c.textProgram = "kate";
  c.tableMode = 2;
  c.externalTableEditor = "tbl";
  c.printOriginX = 12;
  c.printOriginY = -7;
  c.printScaleX = 1.5L;
  c.printBorder = true;
  c.askUserDir = true;
  c.archiveMode = true;
  c.num.dateFormat = 4;
  c.headerSpaceLines = 5;
  c.textDevice = 7;
  c.textDeviceAsk = true;
  c.smallOnlineWindow = true;
  c.askDiagramLimits = true;
  c.num.decimalComma = 2;
  c.dataDir = "/data/";
  c.textHeightFactor = 1.25L;
  c.inputWindowScale = 150;
  c.htmlBrowser = "firefox";
  c.printScaleY = 0.75L;
  for (int i = 0; i <= 5; ++i) c.lineThickness[i] = i + 2;
  c.graphicsPrintDialog = true;
  c.textWindow = {10, 20, 300, 400};
  c.num.units = 1;
  c.headerMode = 2;
  c.printoutFont = "Courier 10 Pitch";
  c.printoutFontSize = 12;
  c.printoutFontStyle = 3;
  c.graphicsFontStyle = 2;
  c.printOrientation = 2;
  c.edit3d = false;
  c.view3d = {0.5L, -0.25L, 1.5L};
  c.changeIndexStyle = 2;
  c.num.spreadsheetDecimal = 1;
  c.releaseFieldText = oem("Frei für Produktion");
  c.decimalsDxf = 4;
  c.num.cadTextMode = 3;
  for (int i = 16; i <= 31; ++i) c.lineThickness[i] = i % 3 + 1;
  c.num.plainChars = 1;
  c.dialogElementsScale = 120;
  c.angleDisplay = 1;
  c.dimensionFactor = 1.5L;
  c.printMacroValue = 3;
  c.mainWindowValue = 2;
  c.defaultResultGraphic = 4;
  c.drawingOptions = {true, false, true, true};
}

// Offset just after the value line that follows the line key (the first such key line).
std::size_t afterValueOf(const std::string& bytes, const std::string& key) {
  const std::size_t k = bytes.find("\r\n" + key + "\r\n");
  if (k == std::string::npos) return std::string::npos;
  const std::size_t value = k + key.size() + 4;
  return bytes.find("\r\n", value) + 2;
}

// The file with the value line after key replaced.
std::string withValue(const std::string& bytes, const std::string& key, const std::string& value) {
  const std::size_t k = bytes.find("\r\n" + key + "\r\n");
  EXPECT_NE(k, std::string::npos) << key;
  const std::size_t start = k + key.size() + 4;
  const std::size_t end = bytes.find("\r\n", start);
  return bytes.substr(0, start) + value + bytes.substr(end);
}

class ConfigFileTest : public SessionTest {
 protected:
  ConfigFileTest() {
    ws.start.startDir = dir.path() + "work";
    ws.start.configDir = dir.path();
    // Never the real ~/.config of the machine running the tests.
    ::setenv("XDG_CONFIG_HOME", (dir.path() + "xdg").c_str(), 1);
  }
  std::string customBytes() {
    Session source(ui);
    source.start = ws.start;
    customize(source.config);
    return configurationFileBytes(source);
  }
};

TEST_F(ConfigFileTest, WriteThenReadKeepsEveryValue) {
  customize(ws.config);
  WriteConfiguration(ws);
  ASSERT_FALSE(ws.abort);
  const std::string written = readFile(dir.file("velk.cfg"));
  EXPECT_EQ(written.substr(0, 40), "velk Konfiguration\r\nVersion 3.4\r\nLayer\r\n");
  EXPECT_NE(written.find(oem("\r\nHardcopy um 90° gedreht ?\r\nN\r\n")), std::string::npos);
  EXPECT_EQ(written.substr(written.size() - 2), "\r\n");

  Session back(ui);
  back.start = ws.start;
  ReadConfiguration(back);
  EXPECT_FALSE(back.abort);
  // Writing what was read gives the same bytes: every row went back to its own value.
  EXPECT_EQ(configurationFileBytes(back), written);
  const Configuration& c = back.config;
  EXPECT_EQ(c.cadTextWidth, 0.75L);
  EXPECT_EQ(c.zoomFactor, 1.5L);
  EXPECT_EQ(c.printScaleX, 1.5L);
  EXPECT_EQ(c.printScaleY, 0.75L);
  EXPECT_EQ(c.view3d[1], -0.25L);
  EXPECT_EQ(c.plotCommandLineCount, 3);
  EXPECT_EQ(c.plotCommandLines[2], "plot c");
  EXPECT_EQ(c.num.dateFormat, 4);
  EXPECT_EQ(c.num.decimalComma, 2);
  EXPECT_EQ(c.num.decimalPlaces, 5);
  EXPECT_EQ(c.textWindow.height, 400);
  EXPECT_EQ(c.releaseFieldText, oem("Frei für Produktion"));
  EXPECT_EQ(c.drawingOptions[1], false);
  EXPECT_EQ(c.drawingOptions[3], true);
  EXPECT_EQ(c.resolutionX, 799);
}

// Every row of the file, one at a time and all at once, set to a value away from the one a
// program has after its first start: writing and reading back gives the whole configuration.
TEST_F(ConfigFileTest, EveryRowSurvivesWritingAndReadingBack) {
  using Change = std::function<void(Configuration&)>;
  struct Row {
    const char* name;
    Change change;
  };
  const std::vector<Row> rows = {
      {"layer names",
       [](auto& c) {
         for (int i = 1; i <= 5; ++i) c.layerName[i] = "L" + std::to_string(i);
       }},
      {"layer colours 1..5",
       [](auto& c) {
         for (int i = 1; i <= 5; ++i) c.layerColor[i] = 10 + i;
       }},
      {"CAD font", [](auto& c) { c.cadTextFont = "ISOCP"; }},
      {"CAD text width", [](auto& c) { c.cadTextWidth = 0.75L; }},
      {"CAD text angle", [](auto& c) { c.cadTextAngle = 15; }},
      {"CAD folder", [](auto& c) { c.cadDir = "/cad/"; }},
      {"DBF folder", [](auto& c) { c.dbfDir = "/dbf/"; }},
      {"help level", [](auto& c) { c.helpLevel = 0; }},
      {"printer port", [](auto& c) { c.printerPort = 3; }},
      {"printer type", [](auto& c) { c.printerType = 7; }},
      {"print density", [](auto& c) { c.printDensity = 2; }},
      {"hard copy rotated", [](auto& c) { c.hardcopyRotated = 'N'; }},
      {"decimals", [](auto& c) { c.num.decimalPlaces = 5; }},
      {"vertical density", [](auto& c) { c.printDensityVertical = 4; }},
      {"colour graphics", [](auto& c) { c.colorGraphics = false; }},
      {"graphics correction", [](auto& c) { c.graphicsCorrection = 1.25L; }},
      {"graphics mode", [](auto& c) { c.graphicsMode = 4; }},
      {"graphics driver", [](auto& c) { c.graphicsDriver = 9; }},
      {"resolution x", [](auto& c) { c.resolutionX = 799; }},
      {"resolution y", [](auto& c) { c.resolutionY = 599; }},
      {"temp folder", [](auto& c) { c.tempDir = "/tmp/t/"; }},
      {"hard copy port", [](auto& c) { c.hardcopyPort = 2; }},
      {"EDI folder", [](auto& c) { c.ediDir = "/edi/"; }},
      {"PLT folder", [](auto& c) { c.pltDir = "/plt/"; }},
      {"rule mode", [](auto& c) { c.ruleMode = 4; }},
      {"lines per page", [](auto& c) { c.linesPerPage = 72; }},
      {"zoom", [](auto& c) { c.zoomFactor = 1.5L; }},
      {"pan", [](auto& c) { c.panFactor = 0.25L; }},
      {"program folder", [](auto& c) { c.programDir = "/prog/"; }},
      {"plot line 1", [](auto& c) { c.plotCommandLines[0] = "plot a"; }},
      {"background", [](auto& c) { c.backgroundColor = 0xFFFFFF; }},
      {"print mode", [](auto& c) { c.printMode = 2; }},
      {"layers monochrome", [](auto& c) { c.layerMonochrome = true; }},
      {"graphics text width", [](auto& c) { c.graphicsTextWidth = 0.5L; }},
      {"graphics font", [](auto& c) { c.graphicsFont = "DejaVu Sans"; }},
      {"layer colours 16..31",
       [](auto& c) {
         for (int i = 16; i <= 31; ++i) c.layerColor[i] = 47 - i;
       }},
      {"text program", [](auto& c) { c.textProgram = "kate"; }},
      {"table mode", [](auto& c) { c.tableMode = 2; }},
      {"table editor", [](auto& c) { c.externalTableEditor = "tbl"; }},
      {"print origin", [](auto& c) { c.printOriginX = 12, c.printOriginY = -7; }},
      {"print scale x", [](auto& c) { c.printScaleX = 1.5L; }},
      {"print border", [](auto& c) { c.printBorder = true; }},
      {"ask user folder", [](auto& c) { c.askUserDir = true; }},
      {"plot lines 2..5",
       [](auto& c) {
         c.plotCommandLines = {"", "b", "c", "d", "e"}, c.plotCommandLineCount = 5;
       }},
      {"archive", [](auto& c) { c.archiveMode = true; }},
      {"date code", [](auto& c) { c.num.dateFormat = 4; }},
      {"header space", [](auto& c) { c.headerSpaceLines = 30; }},
      {"text device", [](auto& c) { c.textDevice = 9; }},
      {"ask device", [](auto& c) { c.textDeviceAsk = true; }},
      {"small online", [](auto& c) { c.smallOnlineWindow = true; }},
      {"diagram limits", [](auto& c) { c.askDiagramLimits = true; }},
      {"decimal comma", [](auto& c) { c.num.decimalComma = 2; }},
      {"data folder", [](auto& c) { c.dataDir = "/data/"; }},
      {"text height", [](auto& c) { c.textHeightFactor = 1.25L; }},
      {"dialog scale", [](auto& c) { c.inputWindowScale = 150; }},
      {"browser", [](auto& c) { c.htmlBrowser = "firefox"; }},
      {"print scale y", [](auto& c) { c.printScaleY = 0.75L; }},
      {"thickness 0..5",
       [](auto& c) {
         for (int i = 0; i <= 5; ++i) c.lineThickness[i] = i + 4;
       }},
      {"print dialog", [](auto& c) { c.graphicsPrintDialog = true; }},
      {"text window",
       [](auto& c) {
         c.textWindow = {-5, 20, 300, 920};
       }},
      {"units", [](auto& c) { c.num.units = 1; }},
      {"header mode", [](auto& c) { c.headerMode = 2; }},
      {"printout font", [](auto& c) { c.printoutFont = "Courier 10 Pitch"; }},
      {"printout size", [](auto& c) { c.printoutFontSize = 12; }},
      {"printout style", [](auto& c) { c.printoutFontStyle = 3; }},
      {"graphics style", [](auto& c) { c.graphicsFontStyle = 2; }},
      {"orientation", [](auto& c) { c.printOrientation = 2; }},
      {"edit 3D", [](auto& c) { c.edit3d = false; }},
      {"3D angles",
       [](auto& c) {
         c.view3d = {0.5L, -0.25L, 1.5L};
       }},
      {"change index", [](auto& c) { c.changeIndexStyle = 3; }},
      {"spreadsheet decimal", [](auto& c) { c.num.spreadsheetDecimal = 1; }},
      {"release field", [](auto& c) { c.releaseFieldText = oem("Frei für Produktion"); }},
      {"DXF decimals", [](auto& c) { c.decimalsDxf = 32; }},
      {"CAD text mode", [](auto& c) { c.num.cadTextMode = 3; }},
      {"thickness 16..31",
       [](auto& c) {
         for (int i = 16; i <= 31; ++i) c.lineThickness[i] = i % 3 + 2;
       }},
      {"plain characters", [](auto& c) { c.num.plainChars = 1; }},
      {"elements scale", [](auto& c) { c.dialogElementsScale = 120; }},
      {"angle display", [](auto& c) { c.angleDisplay = 1; }},
      {"dimension factor", [](auto& c) { c.dimensionFactor = 1.5L; }},
      {"print macro", [](auto& c) { c.printMacroValue = 3; }},
      {"main window value", [](auto& c) { c.mainWindowValue = 2; }},
      {"result graphic", [](auto& c) { c.defaultResultGraphic = 5; }},
      {"drawing options",
       [](auto& c) {
         c.drawingOptions = {true, false, true, true};
       }},
      {"language", [](auto& c) { c.language = 2; }},
  };
  // What a program holds after its first start and the folder check.
  applyFirstStartValues(ws, ws.screen);
  ws.config.dataDir = withSeparator(ws.start.startDir);
  const Configuration start = ws.config;

  auto roundTrip = [this](const Configuration& c) {
    Session source(ui);
    source.start = ws.start;
    source.config = c;
    const std::string bytes = configurationFileBytes(source);
    Session back(ui);
    back.start = ws.start;
    readConfigurationFrom(back, back.screen, bytes);
    // On a difference, the first line that reads back differently names the row.
    std::string where;
    const std::string again = configurationFileBytes(back);
    for (std::size_t i = 0, line = 1; i < std::min(bytes.size(), again.size()); ++i) {
      if (bytes[i] != again[i]) {
        const std::size_t from = bytes.rfind("\r\n", i);
        where = "line " + std::to_string(line) + ": " + bytes.substr(from == std::string::npos ? 0 : from + 2, 40);
        break;
      }
      if (bytes[i] == '\n') ++line;
    }
    return std::make_pair(back.config == c, where);
  };

  const auto [defaultsKept, defaultsWhere] = roundTrip(start);
  EXPECT_TRUE(defaultsKept) << "the first-start values; " << defaultsWhere;
  Configuration all = start;
  for (const Row& row : rows) {
    Configuration one = start;
    row.change(one);
    EXPECT_FALSE(one == start) << row.name << " changes nothing: pick another value";
    const auto [kept, where] = roundTrip(one);
    EXPECT_TRUE(kept) << row.name << "; " << where;
    row.change(all);
  }
  const auto [allKept, allWhere] = roundTrip(all);
  EXPECT_TRUE(allKept) << "every row changed; " << allWhere;
}

// The whole file of the default values, line by line as the format lays it down.
TEST_F(ConfigFileTest, TheMenuLanguageIsKeptAndOlderFilesReadAsGerman) {
  ws.config.language = 8;
  const std::string bytes = configurationFileBytes(ws);
  Session fresh(ui);
  readConfigurationFrom(fresh, fresh.screen, bytes);
  EXPECT_EQ(fresh.config.language, 8);
  // A file of an older version ends before the language line.
  const std::size_t last = bytes.rfind("8\r\n");
  ASSERT_EQ(last + 3, bytes.size());
  Session older(ui);
  older.config.language = 3;
  readConfigurationFrom(older, older.screen, bytes.substr(0, last));
  EXPECT_EQ(older.config.language, 3) << "values the file does not reach keep their values";
  Session outOfRange(ui);
  readConfigurationFrom(outOfRange, outOfRange.screen, bytes.substr(0, last) + "12\r\n");
  EXPECT_EQ(outOfRange.config.language, 0);
}

TEST_F(ConfigFileTest, DefaultFileLayout) {
  ws.config.dataDir.clear();
  std::vector<std::string> want = {"velk Konfiguration", "Version 3.4"};
  auto add = [&want](std::initializer_list<std::string> lines) { want.insert(want.end(), lines); };
  for (const char* colour : {"2", "2", "2", "3", "1"}) add({"Layer", "", "Farbe", colour});
  add({"Textstil CAD",
       "",
       "Textbreitenfaktor CAD",
       "1",
       "Textwinkel",
       "0",
       "CAD Ordner",
       "",
       "DBF Ordner",
       "",
       "Hilfegrad",
       "1",
       "Druckerschnittstelle",
       "1",
       "Druckertyp",
       "3",
       "Druckdichte",
       "1",
       oem("Hardcopy um 90° gedreht ?"),
       "J",
       "Dezimalstellen",
       "3",
       "Druckdicke vertikal",
       "1",
       "Farbgrafik",
       "TRUE",
       "GrafikKorrekturFaktor horizontal",
       "1",
       "Grafik-Mode",
       "0",
       "Grafik-Treiber",
       "0",
       oem("Auflösung horizontal"),
       "0",
       oem("Auflösung vertikal"),
       "0",
       oem("Ordner für temporäre Dateien"),
       "",
       "Druckerschnittstelle Hardcopy",
       "1",
       "EDI Ordner",
       "",
       "PLT Ordner",
       "",
       oem("Mode für Textausdruck 1:* 2:-"),
       "2",
       oem("Zeilen pro Seite für Drucker"),
       "66",
       "Zoomfaktor",
       "1.0200000",
       "Pan-Faktor",
       "0.0100000",
       "ORVAN-Programmverzeichnis",
       "",
       "PLOTRIX-Kommandozeile",
       "",
       "Hintergrundfarbe",
       "0",
       "Windows-Druckmodus (1=mono 2=color)",
       "1",
       "Layer Monochrom",
       "FALSE",
       "Textbreitenfaktor Grafik",
       "0.8000000",
       "Textstil Grafik",
       "Arial"});
  for (int n = 16; n <= 31; ++n) add({"Color Layer " + std::to_string(n), std::to_string(n - 15)});
  add({"Textprogramm",
       "xdg-open",
       "Datenbank mode",
       "1",
       "externe Datenbank",
       "xdg-open",
       "Windows Screendump Origin X",
       "0",
       "Windows Screendump Origin Y",
       "0",
       "Windows Screendump Scale",
       "1.0000000",
       "Windows Screendump Border ?",
       "FALSE",
       "Enter Password ?",
       "FALSE",
       "PLOTRIX Command lines (n, line 2 .. line n)",
       "1",
       "Archive Flag ?",
       "FALSE",
       "Date Code",
       "1",
       "Header Space Lines",
       "0",
       "Text Device",
       "1",
       "Text Device Window ?",
       "FALSE",
       "Small Online Window ?",
       "FALSE",
       "Enter Diagram Limits ?",
       "FALSE",
       "Dot=1 Komma=2",
       "1",
       "Default Data Directory",
       "",
       "Text Height Factor",
       "1.0000000",
       "Input Window Scale %",
       "102",
       "HTML Browser",
       "xdg-open",
       "Print Scale Vertical",
       "1.0000000",
       "Line thickness Layer 0..5",
       "1",
       "1",
       "1",
       "1",
       "2",
       "3",
       "Graphic Printout Dialog Box ?",
       "FALSE",
       "Text window left/top/width/height",
       "0|0|0|0|",
       "Metric Units=0,  English units=1",
       "0",
       "printout with header=1, header page 1 only=2",
       "1",
       "Text Font Printout",
       "Courier New",
       "Text Size Printout",
       "10",
       "Text Style Printout",
       "0",
       "Text Style Graphics",
       "0",
       "Printer: Portrait=1, Landscape=2",
       "1",
       "Edit 3D x,y,z ?",
       "TRUE",
       "3D - Default x,y,z",
       "0",
       "0",
       "0",
       "0",
       "2",
       "Frei",
       "Decimals DXF,TXT",
       "6",
       "CAD Text Mode",
       "1",
       oem("Strichstärke Layer 16..31")});
  for (int n = 16; n <= 31; ++n) add({"1"});
  add({"0", "100", "2", "1.0000000", "0", "0", "0", "FALSE", "FALSE", "FALSE", "FALSE"});
  add({"0"});  // the menu language, last

  const std::string bytes = configurationFileBytes(ws);
  std::vector<std::string> got;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t end = bytes.find("\r\n", pos);
    ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
    got.push_back(bytes.substr(pos, end - pos));
    pos = end + 2;
  }
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(u8(got[i]), u8(want[i])) << "line " << i + 1;
}

TEST_F(ConfigFileTest, RealsAreWrittenWithAPointWhateverTheNumberSettings) {
  ws.config.num.decimalComma = 2;
  ws.config.num.decimalPlaces = 1;
  ws.config.cadTextWidth = 1.25L;
  const std::string bytes = configurationFileBytes(ws);
  EXPECT_NE(bytes.find("\r\nZoomfaktor\r\n1.0200000\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\nDot=1 Komma=2\r\n2\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\nDezimalstellen\r\n1\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\nTextbreitenfaktor CAD\r\n1.25\r\n"), std::string::npos);
}

// A file that ends at a stop point keeps the values read so far and defaults after it.
TEST_F(ConfigFileTest, FileEndingAtEachStopPoint) {
  using Check = std::function<bool(const Configuration&)>;
  struct Stop {
    std::string key;
    Check before, after;
  };
  const std::vector<Stop> stops = {
      {"Druckerschnittstelle", [](auto& c) { return c.printerPort == 3; },
       [](auto& c) { return c.printerType == 3 && c.zoomFactor == 1.02L && c.num.dateFormat == 1; }},
      {"Druckertyp", [](auto& c) { return c.printerType == 7; }, [](auto& c) { return c.printDensity == 1; }},
      {"Druckdicke vertikal", [](auto& c) { return c.printDensityVertical == 4; },
       [](auto& c) { return c.colorGraphics; }},
      {"Druckerschnittstelle Hardcopy", [](auto& c) { return c.hardcopyPort == 2; },
       [](auto& c) { return c.ediDir.empty(); }},
      {"ORVAN-Programmverzeichnis", [](auto& c) { return c.programDir == "/prog/"; },
       [](auto& c) { return c.plotCommandLines[0].empty(); }},
      {"PLOTRIX-Kommandozeile", [](auto& c) { return c.plotCommandLines[0] == "plot a"; },
       [](auto& c) { return c.backgroundColor == 0; }},  // black, what the palette is made for
      {"Hintergrundfarbe", [](auto& c) { return c.backgroundColor == 0x102030; },
       [](auto& c) { return c.printMode == 1; }},
      {"Windows-Druckmodus (1=mono 2=color)", [](auto& c) { return c.printMode == 2; },
       [](auto& c) { return !c.layerMonochrome; }},
      // The versions that ended here had one text width factor and no graphics font.
      {"Layer Monochrom", [](auto& c) { return c.layerMonochrome; },
       [](auto& c) { return c.graphicsTextWidth == 0.75L && c.graphicsFont == "Arial" && c.layerColor[16] == 1; }},
      {"Textstil Grafik", [](auto& c) { return c.graphicsFont == "DejaVu Sans" && c.graphicsTextWidth == 0.5L; },
       [](auto& c) { return c.layerColor[16] == 1 && c.layerColor[31] == 16; }},
      {"Color Layer 31", [](auto& c) { return c.layerColor[31] == 31; },
       [](auto& c) { return c.textProgram == "xdg-open"; }},
      {"externe Datenbank", [](auto& c) { return c.externalTableEditor == "tbl"; },
       [](auto& c) { return c.printOriginX == 0 && c.printScaleX == 1; }},
      {"Windows Screendump Border ?", [](auto& c) { return c.printBorder; }, [](auto& c) { return !c.askUserDir; }},
      {"Enter Password ?", [](auto& c) { return c.askUserDir; },
       [](auto& c) { return c.plotCommandLineCount == 1 && !c.archiveMode; }},
      {"Archive Flag ?", [](auto& c) { return c.archiveMode && c.plotCommandLines[1] == "plot b"; },
       [](auto& c) { return c.num.dateFormat == 1; }},
      {"Date Code", [](auto& c) { return c.num.dateFormat == 4; }, [](auto& c) { return c.headerSpaceLines == 0; }},
      {"Header Space Lines", [](auto& c) { return c.headerSpaceLines == 5; },
       [](auto& c) { return c.textDevice == 1; }},
      {"Text Device Window ?", [](auto& c) { return c.textDevice == 7 && c.textDeviceAsk; },
       [](auto& c) { return !c.smallOnlineWindow; }},
      {"Small Online Window ?", [](auto& c) { return c.smallOnlineWindow; },
       [](auto& c) { return !c.askDiagramLimits; }},
      {"Enter Diagram Limits ?", [](auto& c) { return c.askDiagramLimits; },
       [](auto& c) { return c.num.decimalComma == 1 && c.inputWindowScale == 102; }},
      {"HTML Browser", [](auto& c) { return c.htmlBrowser == "firefox"; },
       [](auto& c) { return c.printScaleY == 1 && c.textWindow.width == 0; }},
  };
  const std::string full = customBytes();
  for (const Stop& s : stops) {
    const std::size_t end = afterValueOf(full, s.key);
    ASSERT_NE(end, std::string::npos) << s.key;
    Session fresh(ui);
    fresh.start = ws.start;
    readConfigurationFrom(fresh, fresh.screen, full.substr(0, end));
    EXPECT_TRUE(s.before(fresh.config)) << "value before the end, file ending after " << s.key;
    EXPECT_TRUE(s.after(fresh.config)) << "default after the end, file ending after " << s.key;
    // The resolution rule applies at every stop.
    if (s.key == "Druckerschnittstelle") {
      EXPECT_EQ(fresh.config.resolutionX, 1024 - 9);
      EXPECT_EQ(fresh.config.resolutionY, 768 - 91);
    }
  }
}

TEST_F(ConfigFileTest, ReadCorrections) {
  using Check = std::function<bool(const Configuration&)>;
  struct Case {
    std::string key, value;
    Check check;
  };
  const std::string work = dir.path() + "work/";
  const std::vector<Case> cases = {
      {"Header Space Lines", "31", [](auto& c) { return c.headerSpaceLines == 0; }},
      {"Input Window Scale %", "5", [](auto& c) { return c.inputWindowScale == 100; }},
      {"Date Code", "5", [](auto& c) { return c.num.dateFormat == 1; }},
      {"Zoomfaktor", "0", [](auto& c) { return c.zoomFactor == 1.02L; }},
      {"Zoomfaktor", "1,5", [](auto& c) { return c.zoomFactor == 1.5L; }},
      {"Textbreitenfaktor CAD", "nan", [](auto& c) { return c.cadTextWidth == 1; }},
      {"Textbreitenfaktor CAD", "1e9999", [](auto& c) { return c.cadTextWidth == 1; }},
      {"Print Scale Vertical", "0", [](auto& c) { return c.printScaleY == 1.5L; }},
      {oem("Hardcopy um 90° gedreht ?"), "", [](auto& c) { return c.hardcopyRotated == 'N'; }},
      {oem("Auflösung horizontal"), "-1", [](auto& c) { return c.resolutionX == 1015; }},
      {"Default Data Directory", "", [work](auto& c) { return c.dataDir == work; }},
      {"Text Font Printout", "", [](auto& c) { return c.printoutFont == "Courier New"; }},
      {"Textstil CAD", std::string(100, 'x'), [](auto& c) { return c.cadTextFont == std::string(32, 'x'); }},
      {"Textstil Grafik", std::string(100, 'y'), [](auto& c) { return c.graphicsFont == std::string(60, 'y'); }},
      {"Dezimalstellen", "12", [](auto& c) { return c.num.decimalPlaces == 3; }},
      {"Druckerschnittstelle", "0", [](auto& c) { return c.printerPort == 1; }},
      {"Druckerschnittstelle", "99999999999999999999", [](auto& c) { return c.printerPort == 1; }},
      {"Text Device", "-4", [](auto& c) { return c.textDevice == 1; }},
      {"PLOTRIX-Kommandozeile", "", [](auto& c) { return c.plotCommandLines[0] == "keep"; }},
      // The background row has no default of its own: empty or unreadable is black.
      {"Hintergrundfarbe", "", [](auto& c) { return c.backgroundColor == 0; }},
      {"Hintergrundfarbe", "weiss", [](auto& c) { return c.backgroundColor == 0; }},
      {"Hintergrundfarbe", "16777215", [](auto& c) { return c.backgroundColor == 0xFFFFFF; }},
      // A count far beyond the five lines held: clamped, and reading ends with the file.
      {"PLOTRIX Command lines (n, line 2 .. line n)", "1000000000",
       [](auto& c) { return c.plotCommandLineCount == 5 && c.plotCommandLines[1] == "plot b"; }},
      {"PLOTRIX Command lines (n, line 2 .. line n)", "-3", [](auto& c) { return c.plotCommandLineCount == 1; }},
      // 0|0|0|0| leaves the previous window position.
      {"Text window left/top/width/height", "0|0|0|0|", [](auto& c) { return c.textWindow.left == 1; }},
      {"Text window left/top/width/height", "5|6|7|", [](auto& c) { return c.textWindow.left == 1; }},
      // What earlier versions wrote for a height alone: the previous window stays.
      {"Text window left/top/width/height", "0|0|0|920|", [](auto& c) { return c.textWindow.height == 4; }},
      // Earlier versions wrote 0 for layer colours never configured: each layer's own colour
      // (16 is colour 1), never one red for all.
      {"Color Layer 16", "0", [](auto& c) { return c.layerColor[16] == 1; }},
      {"Color Layer 27", "0", [](auto& c) { return c.layerColor[27] == 12; }},
      {"Line thickness Layer 0..5", "0", [](auto& c) { return c.lineThickness[0] == 1; }},
  };
  const std::string full = customBytes();
  for (const Case& k : cases) {
    Session fresh(ui);
    fresh.start = ws.start;
    fresh.config.textWindow = {1, 2, 3, 4};
    fresh.config.plotCommandLines[0] = "keep";
    readConfigurationFrom(fresh, fresh.screen, withValue(full, k.key, k.value));
    EXPECT_TRUE(k.check(fresh.config)) << k.key << " = " << k.value;
  }
  // Earlier versions wrote 0 for all six thicknesses: each layer's own again, not one for all.
  const std::string key = "\r\nLine thickness Layer 0..5\r\n";
  std::string zeros = full;
  const std::size_t at = zeros.find(key + "2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n");
  ASSERT_NE(at, std::string::npos);
  zeros.replace(at + key.size(), 18, "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
  Session fresh(ui);
  readConfigurationFrom(fresh, fresh.screen, zeros);
  for (int layer = 0; layer <= 5; ++layer)
    EXPECT_EQ(fresh.config.lineThickness[layer], defaultLineThickness(layer)) << "layer " << layer;
}

TEST_F(ConfigFileTest, LfOnlyAndOddFilesRead) {
  const std::string full = customBytes();
  std::string lf;
  for (std::size_t i = 0; i < full.size(); ++i)
    if (!(full[i] == '\r' && i + 1 < full.size() && full[i + 1] == '\n')) lf += full[i];
  readConfigurationFrom(ws, ws.screen, lf);
  EXPECT_EQ(configurationFileBytes(ws), full);

  // Garbage of every kind: no crash, and the screen values stay sane.
  const std::vector<std::string> odd = {
      "", std::string(3u << 20, 'x'), std::string("a\0b\r\n\0\0\r\n", 10), "\r\r\r\r\n\n\n", "nan\r\n1e9999\r\n-1\r\n",
  };
  for (const std::string& bytes : odd) {
    Session fresh(ui);
    readConfigurationFrom(fresh, fresh.screen, bytes);
    EXPECT_GT(fresh.config.resolutionX, 0);
    EXPECT_GE(fresh.config.plotCommandLineCount, 1);
    EXPECT_LE(fresh.config.plotCommandLineCount, 5);
  }
}

TEST_F(ConfigFileTest, FirstStartWithoutAFile) {
  ReadConfiguration(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ws.config.resolutionX, 1015);
  EXPECT_EQ(ws.config.resolutionY, 677);
  // A whole rectangle, so that saving and reading it back keeps it.
  EXPECT_EQ(ws.config.textWindow, (TextWindowRect{10, 40, 700, 768 - 80}));
  // round((728 / (682 + 46) + 0.009) * 96 / 96 * 100)
  EXPECT_EQ(ws.config.inputWindowScale, 101);
  EXPECT_EQ(ws.config.backgroundColor, 0) << "the window starts black";
  EXPECT_EQ(ws.start.configDir, dir.path());
  EXPECT_TRUE(ui.messages(MessageKind::Info).empty()) << "nothing to say without a file in the working folder";
}

// A new configuration writes CAD texts as ANSI (Windows-1252); a stored one keeps its text type,
// OEM included, and the new default survives saving and reading back.
TEST_F(ConfigFileTest, CadTextsAnsiForANewConfigurationStoredChoiceKept) {
  ReadConfiguration(ws);
  ASSERT_TRUE(ws.abort) << "no file yet";
  EXPECT_EQ(ws.config.num.cadTextMode, 2);
  ws.abort = false;
  WriteConfiguration(ws);
  ASSERT_FALSE(ws.abort);
  EXPECT_NE(readFile(dir.file("velk.cfg")).find("\r\nCAD Text Mode\r\n2\r\n"), std::string::npos);

  for (int mode : {1, 2, 3}) {
    Session stored(ui);
    stored.start = ws.start;
    stored.config.num.cadTextMode = mode;
    WriteConfiguration(stored);
    Session back(ui);
    back.start = ws.start;
    ReadConfiguration(back);
    EXPECT_FALSE(back.abort);
    EXPECT_EQ(back.config.num.cadTextMode, mode);
  }
  // A value outside the three types reads as OEM, as the file format says.
  Session odd(ui);
  readConfigurationFrom(odd, odd.screen, withValue(customBytes(), "CAD Text Mode", "0"));
  EXPECT_EQ(odd.config.num.cadTextMode, 1);
}

// A folder of springs from someone else may carry a configuration that names a plot command:
// it is never read, and one line says where the configuration comes from instead.
TEST_F(ConfigFileTest, ConfigurationInTheWorkingFolderIsIgnoredWithANotice) {
  std::filesystem::create_directories(ws.start.startDir);
  Session planted(ui);
  planted.start = ws.start;
  planted.config.plotCommandLines[0] = "sh -c evil";
  writeFile(ws.start.startDir + "/velk.cfg", configurationFileBytes(planted));

  ws.start.configDir = dir.path() + "own/";
  ReadConfiguration(ws);
  EXPECT_TRUE(ws.abort) << "no configuration of the user's own yet";
  EXPECT_NE(ws.config.plotCommandLines[0], "sh -c evil");
  const std::vector<std::string> info = ui.messages(MessageKind::Info);
  ASSERT_EQ(info.size(), 1u);
  EXPECT_EQ(info[0], ws.start.startDir + "/velk.cfg wird nicht gelesen; Konfiguration aus " + dir.path() + "own/");
  EXPECT_EQ(info[0].find('\n'), std::string::npos);

  // Working in the configuration folder itself is no reason for a notice.
  ui.clearRequests();
  ws.start.configDir = withSeparator(ws.start.startDir);
  ReadConfiguration(ws);
  EXPECT_EQ(ws.config.plotCommandLines[0], "sh -c evil");
  EXPECT_TRUE(ui.messages(MessageKind::Info).empty());
}

TEST_F(ConfigFileTest, FirstWriteCreatesAPrivateFolder) {
  ws.start.configDir = dir.path() + "home/.config/velk/";
  WriteRecentFiles(ws);
  WriteConfiguration(ws);
  ASSERT_FALSE(ws.abort);
  EXPECT_TRUE(std::filesystem::is_regular_file(dir.file("home/.config/velk/velk.cfg")));
  EXPECT_TRUE(std::filesystem::is_regular_file(dir.file("home/.config/velk/velk.cff")));
  for (const char* folder : {"home", "home/.config", "home/.config/velk"}) {
    struct stat st {};
    ASSERT_EQ(::stat(dir.file(folder).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
  }
}

TEST_F(ConfigFileTest, WriteFailureRetriesUntilTheUserGivesUp) {
  writeFile(dir.file("velk.cfg"), "old");
  int calls = 0;
  ws.io.writeFault = [&calls](std::string_view) { return ++calls == 1 ? EACCES : EIO; };
  ui.script({Answer::Yes(), Answer::No()});
  WriteConfiguration(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(calls, 2);
  const auto errors = ui.messages(MessageKind::Error);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], "Schreibschutz entfernen !");
  EXPECT_EQ(errors[1], "I/O-Error " + std::to_string(ioCodeFromErrno(EIO)));
  EXPECT_EQ(readFile(dir.file("velk.cfg")), "old");

  // A retry that succeeds writes the file.
  calls = 0;
  ws.abort = false;
  ws.io.writeFault = [&calls](std::string_view) { return ++calls == 1 ? ENOSPC : 0; };
  ui.script({Answer::Yes()});
  WriteConfiguration(ws);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(readFile(dir.file("velk.cfg")), configurationFileBytes(ws));
}

TEST_F(ConfigFileTest, WriteFailureInBatchModeStopsAtOnce) {
  HeadlessUi batch(HeadlessUi::Mode::Batch);
  std::ostringstream err;
  batch.setStreams(&err, &err);
  Session bws(batch);
  bws.start = ws.start;
  writeFile(dir.file("velk.cfg"), "old");
  bws.io.writeFault = [](std::string_view) { return EROFS; };
  WriteConfiguration(bws);
  EXPECT_TRUE(bws.abort);
  EXPECT_EQ(batch.messages(MessageKind::Error).size(), 1u);
  EXPECT_EQ(readFile(dir.file("velk.cfg")), "old");
}

class CheckFoldersTest : public ConfigFileTest {
 protected:
  CheckFoldersTest() {
    for (const char* d : {"work", "cad", "dbf", "plt", "tmp", "edi", "data", "share", "private"})
      std::filesystem::create_directories(dir.file(d));
    Configuration& c = ws.config;
    c.cadDir = dir.file("cad");
    c.dbfDir = dir.file("dbf");
    c.pltDir = dir.file("plt");
    c.tempDir = dir.file("tmp");
    c.ediDir = dir.file("edi");
    c.dataDir = dir.file("data");
    ws.programData = dir.file("share/");
    ws.tempRoot = dir.file("private/");
  }
  std::vector<std::string> errors() {
    std::vector<std::string> out;
    for (const std::string& m : ui.messages(MessageKind::Error)) out.push_back(u8(m));
    return out;
  }
  static std::function<int(std::string_view)> unwritable(std::vector<std::string> folders) {
    return [folders](std::string_view path) {
      for (const std::string& f : folders)
        if (path.starts_with(f)) return EACCES;
      return 0;
    };
  }
};

TEST_F(CheckFoldersTest, UsableAndEmptyFolders) {
  ws.config.tempDir.clear();
  ws.config.ediDir.clear();
  ws.config.dataDir.clear();
  ws.config.dbfDir.clear();
  CheckFolders(ws);
  EXPECT_TRUE(errors().empty());
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ws.config.cadDir, dir.file("cad/"));
  EXPECT_EQ(ws.config.tempDir, dir.file("private/"));
  EXPECT_EQ(ws.config.ediDir, dir.file("work/"));
  EXPECT_EQ(ws.config.dataDir, dir.file("work/"));
  // Empty DBF/PLT folders stay empty and mean the program's data directory.
  EXPECT_EQ(ws.config.dbfDir, "");
  EXPECT_EQ(dbfFolder(ws), dir.file("share/"));
  EXPECT_EQ(pltFolder(ws), dir.file("plt/"));
}

TEST_F(CheckFoldersTest, EachUnusableFolderIsReported) {
  ws.io.writeFault = unwritable({dir.file("cad/"), dir.file("edi/"), dir.file("data/")});
  ws.config.dbfDir = dir.file("missing");
  ws.config.pltDir = dir.file("work/none");
  CheckFolders(ws);
  EXPECT_EQ(errors(),
            (std::vector<std::string>{"ungültiger CAD Ordner konfiguriert", "ungültiger DBF Ordner konfiguriert",
                                      "ungültiger PLT Ordner konfiguriert", "ungültiger EDI Ordner konfiguriert",
                                      "ungültiger Data Ordner konfiguriert"}));
  EXPECT_FALSE(ws.abort);
}

TEST_F(CheckFoldersTest, UnusableTempFolderAsksForANewOne) {
  const ShortTempDir shortDir;  // the folder entry takes 60 characters
  std::filesystem::create_directories(shortDir.file("newtmp"));
  ws.io.writeFault = unwritable({dir.file("tmp/"), shortDir.file("bad/")});
  ui.script({Answer::Text(shortDir.file("bad")), Answer::Text(shortDir.file("newtmp"))});
  CheckFolders(ws);
  const std::string message = "ungültiger Ordner für temporäre Dateien konfiguriert";
  EXPECT_EQ(errors(), (std::vector<std::string>{message, message}));
  EXPECT_EQ(ws.config.tempDir, shortDir.file("newtmp/"));
  EXPECT_FALSE(ws.abort);
  const Request& ask = ui.requests().at(1);
  EXPECT_EQ(ask.kind, Request::Kind::Text);
  EXPECT_EQ(u8(ask.prompt), "Ordner für temporäre Dateien");
  EXPECT_EQ(ask.maxLength, 60);
}

TEST_F(CheckFoldersTest, CancelledTempFolderQuestionGoesOnWithThePrivateFolder) {
  HeadlessUi batch(HeadlessUi::Mode::Batch);
  std::ostringstream err;
  batch.setStreams(&err, &err);
  Session bws(batch);
  bws.start = ws.start;
  bws.config = ws.config;
  bws.tempRoot = ws.tempRoot;
  bws.programData = ws.programData;
  bws.io.writeFault = unwritable({dir.file("tmp/")});
  CheckFolders(bws);
  EXPECT_FALSE(bws.abort);
  EXPECT_EQ(batch.messages(MessageKind::Error).size(), 1u);
  EXPECT_EQ(bws.config.tempDir, dir.file("private/"));
}

TEST_F(ConfigFileTest, RecentFiles) {
  ws.config.dataDir = "/data/";
  ws.start.recentFiles = {"/a/one.vlk", "", oem("/b/Übung.vlk"), "x.vlk"};
  WriteRecentFiles(ws);
  ASSERT_FALSE(ws.abort);
  EXPECT_EQ(readFile(dir.file("velk.cff")),
            "velk Session /data/\r\n/a/one.vlk\r\n\r\n" + oem("/b/Übung.vlk") + "\r\nx.vlk\r\n");
  Session back(ui);
  back.start.configDir = ws.start.configDir;
  ReadRecentFiles(back);
  EXPECT_FALSE(back.abort);
  EXPECT_EQ(back.start.recentFiles, ws.start.recentFiles);

  // A short file reads its missing names as empty; a missing file clears them all.
  readRecentFilesFrom(back, "velk Session\r\nonly.vlk\r\n");
  EXPECT_EQ(back.start.recentFiles, (std::array<std::string, 4>{"only.vlk", "", "", ""}));
  back.start.recentFiles[0] = "x";
  back.start.configDir = dir.file("nowhere/");
  ReadRecentFiles(back);
  EXPECT_TRUE(back.abort);
  EXPECT_EQ(back.start.recentFiles, (std::array<std::string, 4>{}));

  // A failed write keeps the old file and reports the creation error.
  ws.io.writeFault = [](std::string_view) { return ENOSPC; };
  WriteRecentFiles(ws);
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ui.messages(MessageKind::Error).at(0), writeFailure("Diskette/Platte voll", dir.file("velk.cff"), ENOSPC));
  EXPECT_NE(readFile(dir.file("velk.cff")), "");
}

// Restores one environment variable at the end of a test.
class SavedEnv {
 public:
  explicit SavedEnv(const char* name) : name_(name) {
    if (const char* v = std::getenv(name)) old_ = v;
  }
  ~SavedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }
  void set(const char* v) {
    if (v)
      ::setenv(name_, v, 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST_F(ConfigFileTest, InitConfigLocationNeverUsesTheWorkingFolder) {
  SavedEnv explicitDir("VELK_CONFIG_DIR"), xdg("XDG_CONFIG_HOME"), home("HOME");
  struct Case {
    const char* velkConfigDir;
    const char* xdgConfigHome;
    const char* home;
    std::string expected;
  };
  const Case cases[] = {
      {"/etc/velk-site", "/x/cfg", "/home/u", "/etc/velk-site/"},
      {nullptr, "/x/cfg", "/home/u", "/x/cfg/velk/"},
      {"", "/x/cfg/", "/home/u", "/x/cfg/velk/"},
      {nullptr, nullptr, "/home/u", "/home/u/.config/velk/"},
      // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory rules say.
      {nullptr, "cfg", "/home/u", "/home/u/.config/velk/"},
      // So is a relative VELK_CONFIG_DIR: it would make every working folder a configuration.
      {".", "/x/cfg", "/home/u", "/x/cfg/velk/"},
      {"cfg/velk", nullptr, "/home/u", "/home/u/.config/velk/"},
  };
  for (const Case& c : cases) {
    explicitDir.set(c.velkConfigDir);
    xdg.set(c.xdgConfigHome);
    home.set(c.home);
    Session fresh(ui);
    InitConfigLocation(fresh);
    EXPECT_EQ(fresh.start.startDir, currentDirectory());
    EXPECT_EQ(fresh.start.configDir, c.expected) << c.expected;
  }
}

// The desktop's locale picks the language of a new configuration; a stored language stays.
TEST_F(ConfigFileTest, NewConfigurationStartsInTheDesktopLanguage) {
  struct Case {
    const char *lcAll, *lcMessages, *lang;
    int language;
  };
  const Case cases[] = {
      {"", "", "de_DE.UTF-8", 1},
      {"", "", "de_AT@euro", 1},
      {"", "", "fr_CH.UTF-8", 3},
      {"", "", "it_IT", 4},
      {"", "", "ko_KR.UTF-8", 8},
      {"", "", "en_GB.UTF-8", 2},
      {"", "", "sv_SE.UTF-8", 5},
      {"", "", "pt_BR.UTF-8", 6},
      {"", "", "ro_RO.UTF-8", 7},
      {"", "", "es_ES.UTF-8", 9},
      {"", "", "ja_JP.UTF-8", 2},
      {"", "", "C.UTF-8", 2},
      {"", "", "POSIX", 2},
      {"", "", "", 2},
      {"", "", "den", 2},
      {"", "fr_FR.UTF-8", "de_DE", 3},
      {"it_IT", "fr_FR", "de_DE", 4},
      {"C", "", "de_DE.UTF-8", 2},
  };
  for (const Case& k : cases)
    EXPECT_EQ(languageForLocale(k.lcAll, k.lcMessages, k.lang), k.language)
        << k.lcAll << "/" << k.lcMessages << "/" << k.lang;

  SavedEnv all("LC_ALL"), messages("LC_MESSAGES"), lang("LANG"), config("VELK_CONFIG_DIR");
  all.set(nullptr);
  messages.set("fr_FR.UTF-8");
  lang.set("de_DE.UTF-8");
  config.set(dir.path().c_str());
  InitConfigLocation(ws);
  ReadConfiguration(ws);  // no file yet: a new configuration
  EXPECT_TRUE(ws.abort);
  EXPECT_EQ(ws.config.language, 3);
  ws.config.language = 4;
  ws.abort = false;
  WriteConfiguration(ws);
  ASSERT_FALSE(ws.abort);
  Session next(ui);
  InitConfigLocation(next);
  ReadConfiguration(next);
  EXPECT_FALSE(next.abort);
  EXPECT_EQ(next.config.language, 4) << "the stored language, not the desktop's";
}

}  // namespace
}  // namespace velk::test
