// Configuration dialog: filling the pages, the "<", preset and "..." buttons, applying the controls
// with their checks, the device names, the colour list and what each way out asks of the caller.
#include "dialogs/configform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "base/codepage.h"

namespace velk::test {
namespace {

const std::vector<std::string> kDevices = {"Bildschirm",
                                           "Textdrucker",
                                           "Datei",
                                           "Windows-Drucker",
                                           "externes Textprogramm",
                                           "TXT File (Excel, QPRO ...)",
                                           "HTML File (Netscape, Internet Explorer ...)"};

Real rad(Real deg) { return deg * std::numbers::pi_v<Real> / 180; }

// Every value of the configuration; reals exactly, or within tol when tol > 0.
void expectSameConfig(const Configuration& a, const Configuration& b, Real tol = 0) {
#define SAME(f) EXPECT_EQ(a.f, b.f) << #f
#define NEAR(f)                                                 \
  do {                                                          \
    if (tol > 0) {                                              \
      EXPECT_NEAR(double(a.f), double(b.f), double(tol)) << #f; \
    } else {                                                    \
      EXPECT_EQ(a.f, b.f) << #f;                                \
    }                                                           \
  } while (false)
  SAME(num.units);
  SAME(num.decimalPlaces);
  SAME(num.decimalComma);
  SAME(num.spreadsheetDecimal);
  SAME(num.plainChars);
  SAME(num.dateFormat);
  SAME(num.cadTextMode);
  SAME(layerName);
  SAME(layerColor);
  SAME(lineThickness);
  SAME(cadTextFont);
  NEAR(cadTextWidth);
  NEAR(cadTextAngle);
  SAME(decimalsDxf);
  SAME(cadDir);
  SAME(dbfDir);
  SAME(tempDir);
  SAME(ediDir);
  SAME(pltDir);
  SAME(programDir);
  SAME(dataDir);
  SAME(helpLevel);
  SAME(inputWindowScale);
  SAME(dialogElementsScale);
  SAME(smallOnlineWindow);
  SAME(askDiagramLimits);
  SAME(askUserDir);
  SAME(archiveMode);
  SAME(printerPort);
  SAME(printerType);
  SAME(printDensity);
  SAME(hardcopyRotated);
  SAME(printDensityVertical);
  SAME(hardcopyPort);
  SAME(ruleMode);
  SAME(linesPerPage);
  SAME(headerSpaceLines);
  SAME(textDevice);
  SAME(textDeviceAsk);
  SAME(headerMode);
  SAME(printoutFont);
  SAME(printoutFontSize);
  SAME(printoutFontStyle);
  SAME(textWindow.left);
  SAME(textWindow.top);
  SAME(textWindow.width);
  SAME(textWindow.height);
  SAME(colorGraphics);
  NEAR(graphicsCorrection);
  SAME(graphicsMode);
  SAME(graphicsDriver);
  SAME(resolutionX);
  SAME(resolutionY);
  NEAR(zoomFactor);
  NEAR(panFactor);
  SAME(backgroundColor);
  SAME(printMode);
  SAME(layerMonochrome);
  NEAR(graphicsTextWidth);
  SAME(graphicsFont);
  NEAR(textHeightFactor);
  SAME(printOriginX);
  SAME(printOriginY);
  NEAR(printScaleX);
  NEAR(printScaleY);
  SAME(printBorder);
  SAME(graphicsPrintDialog);
  SAME(graphicsFontStyle);
  SAME(printOrientation);
  SAME(edit3d);
  NEAR(view3d[0]);
  NEAR(view3d[1]);
  NEAR(view3d[2]);
  SAME(plotCommandLines);
  SAME(plotCommandLineCount);
  SAME(textProgram);
  SAME(tableMode);
  SAME(externalTableEditor);
  SAME(htmlBrowser);
  SAME(changeIndexStyle);
  SAME(releaseFieldText);
  SAME(angleDisplay);
  NEAR(dimensionFactor);
  SAME(printMacroValue);
  SAME(mainWindowValue);
  SAME(defaultResultGraphic);
  SAME(drawingOptions);
#undef SAME
#undef NEAR
}

// A configuration in which every value the dialog shows differs from the defaults, with reals
// a field can show exactly. Uses the decimal comma, so every real passes through "x,xx".
Configuration changedConfig() {
  Configuration c;
  c.dbfDir = "/a/dbf/", c.programDir = "/a/prog/", c.pltDir = "/a/plt/", c.tempDir = "/a/tmp/";
  c.ediDir = "/a/edi/", c.dataDir = "/a/data/", c.cadDir = "/a/cad/";
  c.colorGraphics = false;
  c.resolutionX = 800, c.resolutionY = 600;
  c.graphicsFont = "Helvetica", c.graphicsFontStyle = 3;
  c.graphicsTextWidth = 0.75L, c.textHeightFactor = 1.25L;
  c.backgroundColor = 0x102030;
  c.zoomFactor = 1.05L, c.panFactor = 0.03L;
  c.printBorder = true;
  c.inputWindowScale = 120, c.dialogElementsScale = 90;
  c.edit3d = false;
  c.view3d = {rad(10), rad(20), rad(-30)};
  const char* names[5] = {"M", "V", "A", "B", "C"};
  for (int k = 1; k <= 5; ++k) {
    c.layerName[k] = names[k - 1];
    c.layerColor[k] = 8 - k;
    c.lineThickness[k] = k + 1;
  }
  c.layerMonochrome = true;
  c.cadTextFont = "ISOCP", c.cadTextWidth = 0.9L, c.cadTextAngle = 15;
  c.askDiagramLimits = true;
  c.decimalsDxf = 4;
  c.num.cadTextMode = 3;
  for (int n = 16; n <= 31; ++n) c.layerColor[n] = n - 10, c.lineThickness[n] = 2;
  c.printOriginX = 5, c.printOriginY = -7;
  c.printScaleX = 1.5L, c.printScaleY = 2.5L;
  c.printMode = 2, c.printOrientation = 2, c.graphicsPrintDialog = true, c.printerPort = 3;
  c.ruleMode = 3, c.linesPerPage = 60, c.headerSpaceLines = 4;
  c.num.dateFormat = 3;
  c.textDevice = 6, c.textDeviceAsk = true;
  c.textWindow = {1, 2, 300, 400};
  c.headerMode = 2;
  c.printoutFont = "Courier", c.printoutFontSize = 12, c.printoutFontStyle = 1;
  c.angleDisplay = 1;
  c.num.units = 1;
  c.helpLevel = 2, c.askUserDir = true;
  c.num.decimalComma = 2, c.num.spreadsheetDecimal = 1, c.num.decimalPlaces = 5, c.num.plainChars = 1;
  c.archiveMode = true;
  c.defaultResultGraphic = 4;
  c.textProgram = "gedit", c.htmlBrowser = "firefox";
  c.plotCommandLines = {"plot a", "plot b", "", "", ""};
  c.plotCommandLineCount = 2;
  c.changeIndexStyle = 2, c.releaseFieldText = "Genehmigt", c.dimensionFactor = 1.5L;
  c.drawingOptions = {true, false, true, false};
  // Values the dialog does not show.
  c.printerType = 7, c.printDensity = 2, c.hardcopyRotated = 'N', c.printDensityVertical = 3, c.hardcopyPort = 2;
  c.graphicsCorrection = 1.1L, c.graphicsMode = 4, c.graphicsDriver = 5, c.tableMode = 2;
  c.externalTableEditor = "dbview", c.smallOnlineWindow = true, c.printMacroValue = 77, c.mainWindowValue = 3;
  c.layerName[0] = "null", c.layerColor[0] = 9, c.lineThickness[0] = 4;
  return c;
}

ConfigFormContext context() {
  ConfigFormContext ctx;
  ctx.workingDir = "/home/u/springs/";
  ctx.configDir = "/home/u/.config/velk/";
  ctx.defaultTempDir = "/tmp/velk-1000/";
  ctx.deviceNames = kDevices;
  ctx.fileName = "feder1.vlk";
  ctx.dateTime = "01.02.2024 10:11";
  return ctx;
}

ConfigFormResult resultWith(const ConfigFormValues& values, ConfigFormExit exit = ConfigFormExit::Ok) {
  ConfigFormResult r;
  r.exit = exit;
  r.values = values;
  return r;
}

// ---- Filling and applying ----

TEST(ConfigFormApply, UnchangedControlsLeaveEveryValueExactly) {
  // Also values no control can show as they are (resolution 0, a device that is not offered,
  // reals with more digits than a field holds, a help level out of range).
  Configuration odd;
  odd.resolutionX = 0;
  odd.textDevice = 9;
  odd.zoomFactor = 1.0123456789L;
  odd.view3d = {0.1L, 0.2L, 0.3L};
  odd.helpLevel = 7;
  odd.layerColor[3] = 0;
  for (const Configuration& start : {Configuration{}, changedConfig(), odd}) {
    const ConfigFormRequest req = MakeConfigFormRequest(start, context());
    Configuration c = start;
    const std::vector<std::string> messages = ApplyConfigForm(c, req, resultWith(req.values));
    EXPECT_TRUE(messages.empty()) << messages.front();
    expectSameConfig(c, start);
  }
}

TEST(ConfigFormApply, EveryControlReachesItsOwnValue) {
  // The controls of one configuration applied to another give the first one back: a control
  // wired to the wrong value, or not at all, shows up here.
  const Configuration target = changedConfig();
  Configuration c;  // the defaults, different in every value the dialog shows
  c.drawingOptions = {false, true, false, true};
  const Configuration before = c;
  const ConfigFormRequest req = MakeConfigFormRequest(c, context());
  const ConfigFormValues typed = ConfigFormValuesFrom(target, kDevices);
  const std::vector<std::string> messages = ApplyConfigForm(c, req, resultWith(typed));
  EXPECT_TRUE(messages.empty()) << messages.front();

  Configuration expected = target;  // what the dialog does not show stays as it was
  expected.printerType = before.printerType, expected.printDensity = before.printDensity;
  expected.hardcopyRotated = before.hardcopyRotated, expected.printDensityVertical = before.printDensityVertical;
  expected.hardcopyPort = before.hardcopyPort, expected.graphicsCorrection = before.graphicsCorrection;
  expected.graphicsMode = before.graphicsMode, expected.graphicsDriver = before.graphicsDriver;
  expected.tableMode = before.tableMode, expected.externalTableEditor = before.externalTableEditor;
  expected.smallOnlineWindow = before.smallOnlineWindow, expected.printMacroValue = before.printMacroValue;
  expected.mainWindowValue = before.mainWindowValue;
  expected.layerName[0] = before.layerName[0], expected.layerColor[0] = before.layerColor[0];
  expected.lineThickness[0] = before.lineThickness[0];
  expectSameConfig(c, expected, 1e-12L);
}

TEST(ConfigFormApply, FieldsShowTheStoredForms) {
  const Configuration c = changedConfig();
  const ConfigFormValues v = ConfigFormValuesFrom(c, kDevices);
  EXPECT_EQ(v.windowX, "801");  // the client size, one more than the resolution
  EXPECT_EQ(v.windowY, "601");
  EXPECT_EQ(v.zoomFactor, "1,05");  // the user's decimal comma
  EXPECT_EQ(v.view3d[2], "-30");    // degrees, stored in radians
  EXPECT_EQ(v.dateFormat, 2);       // date code 3
  EXPECT_EQ(v.textDevice, kDevices[5]);
  EXPECT_EQ(v.colorGraphics, 1);  // "monochrom"
  // Checked means shown: the options are stored as "without ...".
  EXPECT_EQ(v.drawingShown, (std::array<bool, 4>{false, true, false, true}));
}

struct BoundsCase {
  const char* what;
  std::function<void(ConfigFormValues&, const std::string&)> type;
  std::function<Real(const Configuration&)> value;
  const char* text;
  Real expected;        // the stored value (the previous one when rejected)
  const char* message;  // UTF-8, "" when taken
};

TEST(ConfigFormApply, NumbersAreCheckedAndCorrected) {
  Configuration start;  // inputWindowScale 102, decimalPlaces 3, zoom 1.02, ...
  start.layerColor[18] = 3;
  start.lineThickness[1] = 1;
  auto winX = [](ConfigFormValues& v, const std::string& t) { v.windowX = t; };
  auto dialog = [](ConfigFormValues& v, const std::string& t) { v.dialogScale = t; };
  auto elements = [](ConfigFormValues& v, const std::string& t) { v.elementsScale = t; };
  auto decimals = [](ConfigFormValues& v, const std::string& t) { v.decimalPlaces = t; };
  auto header = [](ConfigFormValues& v, const std::string& t) { v.headerSpaceLines = t; };
  auto lines = [](ConfigFormValues& v, const std::string& t) { v.linesPerPage = t; };
  auto zoom = [](ConfigFormValues& v, const std::string& t) { v.zoomFactor = t; };
  auto height = [](ConfigFormValues& v, const std::string& t) { v.graphicsTextHeight = t; };
  auto dim = [](ConfigFormValues& v, const std::string& t) { v.dimensionFactor = t; };
  auto dxf = [](ConfigFormValues& v, const std::string& t) { v.decimalsDxf = t; };
  auto pen = [](ConfigFormValues& v, const std::string& t) { v.pens[2].color = t; };
  auto thick = [](ConfigFormValues& v, const std::string& t) { v.layers[0].thickness = t; };
  auto angle = [](ConfigFormValues& v, const std::string& t) { v.view3d[1] = t; };
  auto scaleX = [](ConfigFormValues& v, const std::string& t) { v.printScaleX = t; };
  auto origin = [](ConfigFormValues& v, const std::string& t) { v.printOriginY = t; };

  const std::vector<BoundsCase> cases = {
      {"window 0 = screen", winX, [](const Configuration& c) { return c.resolutionX; }, "0", 0, ""},
      {"window capped", winX, [](const Configuration& c) { return c.resolutionX; }, "6000", 5000, ""},
      {"window", winX, [](const Configuration& c) { return c.resolutionX; }, "801", 800, ""},
      {"window text", winX, [](const Configuration& c) { return c.resolutionX; }, "8o1", 0,
       "Ungültige Eingabe \"8o1\" !"},
      {"dialog 0 = 100", dialog, [](const Configuration& c) { return c.inputWindowScale; }, "0", 100, ""},
      {"dialog low", dialog, [](const Configuration& c) { return c.inputWindowScale; }, "5", 102,
       "Gültiger Wertebereich: 10 .. 1000 !"},
      {"dialog high", dialog, [](const Configuration& c) { return c.inputWindowScale; }, "1001", 102,
       "Gültiger Wertebereich: 10 .. 1000 !"},
      {"dialog blanks", dialog, [](const Configuration& c) { return c.inputWindowScale; }, " 250 ", 250, ""},
      {"dialog real", dialog, [](const Configuration& c) { return c.inputWindowScale; }, "1.5", 102,
       "Ungültige Eingabe \"1.5\" !"},
      {"dialog huge", dialog, [](const Configuration& c) { return c.inputWindowScale; }, "99999999999", 102,
       "Ungültige Eingabe \"99999999999\" !"},
      {"elements 0", elements, [](const Configuration& c) { return c.dialogElementsScale; }, "0", 100, ""},
      {"decimals", decimals, [](const Configuration& c) { return c.num.decimalPlaces; }, "10", 3,
       "Gültiger Wertebereich: 1 .. 9 !"},
      {"decimals empty", decimals, [](const Configuration& c) { return c.num.decimalPlaces; }, "", 3,
       "Ungültige Eingabe \"\" !"},
      {"header lines", header, [](const Configuration& c) { return c.headerSpaceLines; }, "31", 0,
       "Gültiger Wertebereich: 0 .. 30 !"},
      {"header lines 30", header, [](const Configuration& c) { return c.headerSpaceLines; }, "30", 30, ""},
      {"lines per page", lines, [](const Configuration& c) { return c.linesPerPage; }, "4", 66, ""},
      {"lines per page 5", lines, [](const Configuration& c) { return c.linesPerPage; }, "5", 5, ""},
      {"zoom 0", zoom, [](const Configuration& c) { return c.zoomFactor; }, "0", 1.02L, ""},
      {"zoom comma", zoom, [](const Configuration& c) { return c.zoomFactor; }, "1,5", 1.5L, ""},
      {"zoom text", zoom, [](const Configuration& c) { return c.zoomFactor; }, "schnell", 1.02L,
       "Ungültige Eingabe \"schnell\" !"},
      {"text height", height, [](const Configuration& c) { return c.textHeightFactor; }, "0.05", 1, ""},
      {"dimension", dim, [](const Configuration& c) { return c.dimensionFactor; }, "0.005", 1, ""},
      {"dimension 2", dim, [](const Configuration& c) { return c.dimensionFactor; }, "2", 2, ""},
      {"dxf decimals", dxf, [](const Configuration& c) { return c.decimalsDxf; }, "33", 6,
       "Gültiger Wertebereich: 1 .. 32 !"},
      {"pen colour 0", pen, [](const Configuration& c) { return c.layerColor[18]; }, "0", 1, ""},
      {"pen colour", pen, [](const Configuration& c) { return c.layerColor[18]; }, "256", 3,
       "Gültiger Wertebereich: 1 .. 255 !"},
      {"thickness", thick, [](const Configuration& c) { return c.lineThickness[1]; }, "0", 1,
       "Gültiger Wertebereich: 1 .. 255 !"},
      {"3D angle", angle, [](const Configuration& c) { return c.view3d[1]; }, "90", rad(90), ""},
      {"scale x 0", scaleX, [](const Configuration& c) { return c.printScaleX; }, "0", 1, ""},
      {"scale x too big", scaleX, [](const Configuration& c) { return c.printScaleX; }, "1e39", 1,
       "Ungültige Eingabe \"1e39\" !"},
      {"origin negative", origin, [](const Configuration& c) { return c.printOriginY; }, "-12", -12, ""},
  };
  for (const BoundsCase& k : cases) {
    const ConfigFormRequest req = MakeConfigFormRequest(start, context());
    ConfigFormValues v = req.values;
    k.type(v, k.text);
    Configuration c = start;
    const std::vector<std::string> messages = ApplyConfigForm(c, req, resultWith(v));
    EXPECT_NEAR(double(k.value(c)), double(k.expected), 1e-12) << k.what;
    if (*k.message) {
      ASSERT_EQ(messages.size(), 1u) << k.what;
      EXPECT_EQ(messages[0], oem(k.message)) << k.what;
    } else {
      EXPECT_TRUE(messages.empty()) << k.what << ": " << messages.front();
    }
  }
}

TEST(ConfigFormApply, RejectedFieldsDoNotStopTheOthers) {
  const Configuration start;
  const ConfigFormRequest req = MakeConfigFormRequest(start, context());
  ConfigFormValues v = req.values;
  v.dialogScale = "5";
  v.zoomFactor = "x";
  v.panFactor = "0.05";
  v.layers[1].name = std::string(40, 'n');
  Configuration c = start;
  const std::vector<std::string> messages = ApplyConfigForm(c, req, resultWith(v));
  // In page order: both are on "Grafik", the zoom factor above the dialog scale.
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], oem("Ungültige Eingabe \"x\" !"));
  EXPECT_EQ(messages[1], oem("Gültiger Wertebereich: 10 .. 1000 !"));
  EXPECT_EQ(c.inputWindowScale, 102);
  EXPECT_EQ(c.zoomFactor, 1.02L);
  EXPECT_NEAR(double(c.panFactor), 0.05, 1e-15);
  EXPECT_EQ(c.layerName[2], std::string(32, 'n'));  // the file keeps 32 characters
}

TEST(ConfigFormApply, ScaleYBelowTheLimitTakesTheNewScaleX) {
  const Configuration start;
  const ConfigFormRequest req = MakeConfigFormRequest(start, context());
  ConfigFormValues v = req.values;
  v.printScaleX = "1.9";
  v.printScaleY = "0";
  Configuration c = start;
  EXPECT_TRUE(ApplyConfigForm(c, req, resultWith(v)).empty());
  EXPECT_NEAR(double(c.printScaleX), 1.9, 1e-6);  // held as a 6-byte real
  EXPECT_EQ(c.printScaleY, c.printScaleX);
}

TEST(ConfigFormApply, TextsFoldersAndPlotLines) {
  Configuration start;
  start.plotCommandLines = {"one", "two", "three", "", ""};
  start.plotCommandLineCount = 3;
  const ConfigFormRequest req = MakeConfigFormRequest(start, context());
  ConfigFormValues v = req.values;
  v.tempDir = "  /scratch/velk ";  // blanks around a folder are typing errors; folders end in "/"
  v.dbfDir = "";                   // empty: the program's own tables
  v.printoutFont = "";             // empty: the standard font
  v.printoutFontSize = 0;
  v.plotLines = {"one", "", "", "", "five"};
  Configuration c = start;
  c.dbfDir = "/old/";
  // The request showed "" for dbfDir (start had none), so the unchanged "" keeps "/old/".
  EXPECT_TRUE(ApplyConfigForm(c, req, resultWith(v)).empty());
  EXPECT_EQ(c.tempDir, "/scratch/velk/");
  EXPECT_EQ(c.dbfDir, "/old/");
  EXPECT_EQ(c.printoutFont, "Courier New");
  EXPECT_EQ(c.printoutFontSize, 10);
  EXPECT_EQ(c.plotCommandLineCount, 5);  // up to the last line filled in

  v.plotLines = {"", "", "", "", ""};
  c = start;
  ApplyConfigForm(c, req, resultWith(v));
  EXPECT_EQ(c.plotCommandLineCount, 1);
}

TEST(ConfigFormApply, ChoicesOutsideTheirItemsChangeNothing) {
  const Configuration start;
  const ConfigFormRequest req = MakeConfigFormRequest(start, context());
  ConfigFormValues v = req.values;
  v.dateFormat = 4;
  v.helpLevel = -1;
  v.resultGraphic = 5;  // "Zeichnung"
  v.printerPort = 3;    // LPT4
  Configuration c = start;
  ApplyConfigForm(c, req, resultWith(v));
  EXPECT_EQ(c.num.dateFormat, 1);
  EXPECT_EQ(c.helpLevel, 1);
  EXPECT_EQ(c.defaultResultGraphic, 5);
  EXPECT_EQ(c.printerPort, 4);
}

// ---- Devices by name ----

TEST(ConfigFormDevices, NamesAndCodesBothWays) {
  for (int code = 1; code <= 7; ++code) {
    const std::string name = DeviceNameForCode(kDevices, code);
    EXPECT_EQ(name, kDevices[static_cast<std::size_t>(code - 1)]);
    EXPECT_EQ(DeviceCodeForName(kDevices, name), code);
  }
  EXPECT_EQ(DeviceNameForCode(kDevices, 0), "");
  EXPECT_EQ(DeviceNameForCode(kDevices, 8), "");  // never offered
  EXPECT_EQ(DeviceNameForCode(kDevices, 9), "");
  EXPECT_EQ(DeviceCodeForName(kDevices, "Plotter"), 0);
  EXPECT_EQ(DeviceCodeForName(kDevices, ""), 0);

  for (int code = 1; code <= 7; ++code) {
    Configuration start;
    start.textDevice = code == 7 ? 1 : code + 1;
    const ConfigFormRequest req = MakeConfigFormRequest(start, context());
    EXPECT_EQ(req.text(ConfigControl::TextDevice).items, kDevices);
    ConfigFormValues v = req.values;
    v.textDevice = kDevices[static_cast<std::size_t>(code - 1)];
    Configuration c = start;
    ApplyConfigForm(c, req, resultWith(v));
    EXPECT_EQ(c.textDevice, code);
  }
  // A name the list does not hold leaves the device alone.
  Configuration start;
  start.textDevice = 9;
  const ConfigFormRequest req = MakeConfigFormRequest(start, context());
  EXPECT_EQ(req.values.textDevice, "");
  ConfigFormValues v = req.values;
  v.textDevice = "Plotter";
  Configuration c = start;
  ApplyConfigForm(c, req, resultWith(v));
  EXPECT_EQ(c.textDevice, 9);
}

// ---- "<" and fill buttons ----

TEST(ConfigFormProposals, EveryButtonFillsItsFields) {
  Configuration base;
  base.num.decimalComma = 2;
  ConfigFormContext ctx = context();
  ctx.screen = ScreenMetrics{};  // 1024 x 768, 96 dpi, main window 728 high, client 682
  ctx.mainWindowWidth = 1024, ctx.mainClientWidth = 1016;
  const ConfigFormRequest req = MakeConfigFormRequest(base, ctx);
  const ConfigFormValues v0 = req.values;
  auto p = [&req, &v0](ConfigProposal which) { return req.propose(which, v0); };

  EXPECT_EQ(p(ConfigProposal::TempDir).tempDir, "/tmp/velk-1000/");
  const ConfigFormValues size = p(ConfigProposal::WindowSize);
  EXPECT_EQ(size.windowX, "1016");  // 1024 + 1016 - 1024
  EXPECT_EQ(size.windowY, "692");   // 768 + 1.65 * (682 - 728) = 692.1
  EXPECT_EQ(p(ConfigProposal::GraphicsTextWidth).graphicsTextWidth, "0,8");
  EXPECT_EQ(p(ConfigProposal::GraphicsTextHeight).graphicsTextHeight, "1");
  EXPECT_EQ(p(ConfigProposal::ZoomFactor).zoomFactor, "1,02");
  EXPECT_EQ(p(ConfigProposal::PanFactor).panFactor, "0,02");
  EXPECT_EQ(p(ConfigProposal::DialogScale).dialogScale, "101");  // (728 / 728 + 0.009) * 100
  EXPECT_EQ(p(ConfigProposal::CadTextWidth).cadTextWidth, "1");
  EXPECT_EQ(p(ConfigProposal::CadTextAngle).cadTextAngle, "0");
  EXPECT_EQ(p(ConfigProposal::DecimalsDxf).decimalsDxf, "6");
  EXPECT_EQ(p(ConfigProposal::PrintOriginX).printOriginX, "0");
  EXPECT_EQ(p(ConfigProposal::PrintOriginY).printOriginY, "0");
  EXPECT_EQ(p(ConfigProposal::PrintScaleX).printScaleX, "1.0");
  EXPECT_EQ(p(ConfigProposal::ReleaseFieldText).releaseFieldText, "Frei");
  EXPECT_EQ(p(ConfigProposal::DimensionFactor).dimensionFactor, "1.0");

  ConfigFormValues v = v0;
  v.printScaleX = "1,9";
  EXPECT_EQ(req.propose(ConfigProposal::PrintScaleYFromX, v).printScaleY, "1,9");

  const ConfigProposal presets[5] = {ConfigProposal::LayerPreset1, ConfigProposal::LayerPreset2,
                                     ConfigProposal::LayerPreset3, ConfigProposal::LayerPreset4,
                                     ConfigProposal::LayerPreset5};
  const std::array<std::array<const char*, 3>, 5> expected = {
      {{"1", "2", "1"}, {"2", "2", "1"}, {"3", "2", "1"}, {"4", "3", "2"}, {"5", "1", "3"}}};
  for (std::size_t k = 0; k < 5; ++k) {
    const ConfigFormValues r = p(presets[k]);
    EXPECT_EQ(r.layers[k].name, expected[k][0]);
    EXPECT_EQ(r.layers[k].color, expected[k][1]);
    EXPECT_EQ(r.layers[k].thickness, expected[k][2]);
    for (std::size_t other = 0; other < 5; ++other)
      if (other != k) {
        EXPECT_EQ(r.layers[other].name, v0.layers[other].name);  // only its own row
      }
  }
  const ConfigProposal pens[3] = {ConfigProposal::PenThickness1, ConfigProposal::PenThickness2,
                                  ConfigProposal::PenThickness3};
  for (int t = 1; t <= 3; ++t)
    for (const ConfigPenRow& row : p(pens[t - 1]).pens) EXPECT_EQ(row.thickness, std::to_string(t));
}

TEST(ConfigFormProposals, ScalesFollowTheScreen) {
  ConfigFormContext ctx = context();
  ctx.screen.dpiX = 144, ctx.screen.dpiY = 144;
  const ConfigFormRequest req = MakeConfigFormRequest(Configuration{}, ctx);
  EXPECT_EQ(req.propose(ConfigProposal::DialogScale, req.values).dialogScale, "151");  // 100.9 * 1.5
  ConfigFormValues v = req.values;
  v.dialogScale = "150";
  EXPECT_EQ(req.propose(ConfigProposal::ElementsScale, v).elementsScale, "100");
  v.dialogScale = "0";  // 0 means 100
  EXPECT_EQ(req.propose(ConfigProposal::ElementsScale, v).elementsScale, "67");
}

TEST(ConfigFormProposals, TextWindowFromResolutionAndFontSize) {
  struct Case {
    const char* windowX;
    const char* windowY;
    int fontSize;
    std::array<std::string, 4> expected;
  };
  const Case cases[] = {
      {"801", "601", 10, {"10", "40", "700", "580"}},  // wide enough: size x 70
      {"801", "601", 12, {"10", "40", "840", "580"}}, {"801", "601", 0, {"10", "40", "700", "580"}},  // no size: 700
      {"600", "480", 10, {"10", "40", "620", "459"}},  // 640 or less: 620
      {"0", "0", 10, {"10", "40", "700", "657"}},      // 0: the screen, 1015 x 677
      {"abc", "601", 10, {"10", "40", "620", "580"}},  // unreadable: the stored resolution
  };
  Configuration base;
  base.resolutionX = 500;
  const ConfigFormRequest req = MakeConfigFormRequest(base, context());
  for (const Case& k : cases) {
    ConfigFormValues v = req.values;
    v.windowX = k.windowX, v.windowY = k.windowY, v.printoutFontSize = k.fontSize;
    EXPECT_EQ(req.propose(ConfigProposal::TextWindow, v).textWindow, k.expected) << k.windowX << " " << k.fontSize;
  }
}

// ---- "..." choosers ----

class FakeChoosers : public ConfigFormChoosers {
 public:
  std::optional<std::string> answer;
  std::vector<std::string> calls;
  std::optional<std::string> chooseFolder(const std::string& start) override {
    calls.push_back("folder " + start);
    return answer;
  }
  std::optional<std::string> chooseFile(const std::string& current, const std::string& filter) override {
    calls.push_back("file " + current + " " + filter);
    return answer;
  }
  std::optional<std::string> configurePlotLine(const std::string& line) override {
    calls.push_back("config " + line);
    return answer;
  }
  std::optional<std::string> enterText(const std::string& prompt, int maxLength, const std::string& text) override {
    calls.push_back("text " + prompt + " " + std::to_string(maxLength) + " " + text);
    return answer;
  }
};

TEST(ConfigFormChoosers, ButtonsAskAndFillTheirField) {
  Configuration base;
  base.cadDir = "/cad/";
  base.plotCommandLines[2] = "ruvoreve x";
  FakeChoosers ch;
  ConfigFormContext ctx = context();
  ctx.choosers = &ch;
  const ConfigFormRequest req = MakeConfigFormRequest(base, ctx);

  ch.answer = "/data/cad";
  EXPECT_EQ(req.choose(ConfigChooser::CadDir, 0, req.values).cadDir, "/data/cad/");
  ch.answer = "/usr/bin/kate";
  EXPECT_EQ(req.choose(ConfigChooser::TextProgram, 0, req.values).textProgram, "/usr/bin/kate");
  ch.answer = "plot /M2";
  EXPECT_EQ(req.choose(ConfigChooser::PlotLineConfig, 2, req.values).plotLines[2], "plot /M2");
  EXPECT_EQ(req.choose(ConfigChooser::PlotLineEdit, 2, req.values).plotLines[2], "plot /M2");
  EXPECT_EQ(req.choose(ConfigChooser::PlotLineEdit, 5, req.values).plotLines, req.values.plotLines);
  ch.answer = "/home/u/x/abc.cfg";
  EXPECT_EQ(req.chooseImport(), "/home/u/x/abc.cfg");
  EXPECT_EQ(ch.calls, (std::vector<std::string>{"folder /cad/", "file xdg-open *|*", "config ruvoreve x",
                                                "text PLOTRIX Command Line 80 ruvoreve x",
                                                "file /home/u/.config/velk/ *.cfg|*.cfg"}));

  ch.answer.reset();  // cancelled: the field keeps its text
  EXPECT_EQ(req.choose(ConfigChooser::CadDir, 0, req.values).cadDir, "/cad/");
  EXPECT_EQ(req.chooseImport(), std::nullopt);

  // Without choosers the buttons change nothing.
  const ConfigFormRequest none = MakeConfigFormRequest(base, context());
  EXPECT_EQ(none.choose(ConfigChooser::DbfDir, 0, none.values).dbfDir, "");
  EXPECT_EQ(none.chooseImport(), std::nullopt);
}

// ---- The ways out ----

TEST(ConfigFormExit, EachExitTellsTheCallerWhatToDo) {
  const Configuration start;
  const ConfigFormRequest req = MakeConfigFormRequest(start, context());
  ConfigFormValues v = req.values;
  v.windowX = "801";
  v.backgroundColor = 0xFFFFFF;
  v.tempDir = "/t";

  {  // cancel: nothing at all
    Configuration c = start;
    const ConfigFormOutcome o = FinishConfigForm(c, req, std::nullopt);
    expectSameConfig(c, start);
    EXPECT_FALSE(o.followUp.writeFile || o.followUp.reopen || o.followUp.import || o.followUp.changes.redraw);
  }
  {  // OK: applied, kept in the file, acted on, closed
    Configuration c = start;
    const ConfigFormOutcome o = FinishConfigForm(c, req, resultWith(v, ConfigFormExit::Ok));
    EXPECT_EQ(c.resolutionX, 800);
    EXPECT_EQ(c.tempDir, "/t/");
    EXPECT_TRUE(o.followUp.writeFile);
    EXPECT_FALSE(o.followUp.reopen);
    EXPECT_TRUE(o.followUp.changes.windowSize);
    EXPECT_TRUE(o.followUp.changes.background);
    EXPECT_TRUE(o.followUp.changes.folders);
    EXPECT_TRUE(o.followUp.changes.redraw);
    EXPECT_FALSE(o.followUp.changes.numberFormat);
  }
  {  // "&Speichern": applied, written, the window stays
    Configuration c = start;
    ConfigFormResult r = resultWith(v, ConfigFormExit::Save);
    r.page = 4;
    const ConfigFormOutcome o = FinishConfigForm(c, req, r);
    EXPECT_EQ(c.resolutionX, 800);
    EXPECT_TRUE(o.followUp.writeFile);
    EXPECT_TRUE(o.followUp.reopen);
    // The window opens again on the page it was left on.
    EXPECT_EQ(MakeConfigFormRequest(c, context(), r.page).page, 4);
  }
  {  // "&Speichern" with a rejected entry: nothing written, the window stays for the correction
    Configuration c = start;
    ConfigFormValues bad = v;
    bad.decimalPlaces = "0";
    const ConfigFormOutcome o = FinishConfigForm(c, req, resultWith(bad, ConfigFormExit::Save));
    EXPECT_EQ(o.messages.size(), 1u);
    EXPECT_FALSE(o.followUp.writeFile);
    EXPECT_TRUE(o.followUp.reopen);
    EXPECT_EQ(c.resolutionX, 800);  // the good entries are taken
  }
  {  // OK with a rejected entry: the window comes back
    Configuration c = start;
    ConfigFormValues bad = v;
    bad.zoomFactor = "?";
    EXPECT_TRUE(FinishConfigForm(c, req, resultWith(bad)).followUp.reopen);
  }
  {  // "Import..": the controls are not applied; the chosen file names folder and short name
    Configuration c = start;
    ConfigFormResult r = resultWith(v, ConfigFormExit::Import);
    r.importPath = "/x/abc.cfg";
    const ConfigFormOutcome o = FinishConfigForm(c, req, r);
    expectSameConfig(c, start);
    ASSERT_TRUE(o.followUp.import);
    EXPECT_EQ(o.followUp.import->configDir, "/x/");
    EXPECT_EQ(o.followUp.import->shortName, "abc");  // so the next save writes /x/abc.cfg
    EXPECT_TRUE(o.followUp.reopen);
    EXPECT_FALSE(o.followUp.writeFile);
  }
}

TEST(ConfigFormExit, ImportTargets) {
  struct Case {
    const char* path;
    const char* dir;
    const char* name;
  };
  const Case cases[] = {
      {"/x/abc.cfg", "/x/", "abc"},
      {"/x/y.z/abc.cfg", "/x/y.z/", "abc"},  // a dot in a folder is no extension
      {"/x/a.b.cfg", "/x/", "a.b"},
      {"/x/noext", "/x/", "noext"},
      {"abc.cfg", "", "abc"},
      {"/x/abcdefghijklmnopqrstuvwxyz0123.cfg", "/x/", "abcdefghijklmnopqrstuvwxy"},  // 25 characters
      {"/x/a\\b.cfg", "/x/", "a\\b"},                                                 // "\" is part of a name here
  };
  for (const Case& k : cases) {
    const ConfigImportTarget t = ImportTargetFor(k.path);
    EXPECT_EQ(t.configDir, k.dir) << k.path;
    EXPECT_EQ(t.shortName, k.name) << k.path;
  }
}

TEST(ConfigFormExit, ChangesThatNeedAction) {
  const Configuration a;
  Configuration b = a;
  EXPECT_FALSE(ConfigChangesBetween(a, b).redraw);
  b.num.decimalComma = 2;
  ConfigChanges ch = ConfigChangesBetween(a, b);
  EXPECT_TRUE(ch.numberFormat);
  EXPECT_TRUE(ch.redraw);
  EXPECT_FALSE(ch.folders);
  b = a;
  b.lineThickness[20] = 3;
  ch = ConfigChangesBetween(a, b);
  EXPECT_TRUE(ch.redraw);
  EXPECT_FALSE(ch.windowSize || ch.background || ch.numberFormat);
  b = a;
  b.pltDir = "/p/";
  EXPECT_TRUE(ConfigChangesBetween(a, b).folders);
  b = a;
  b.htmlBrowser = "firefox";  // used when the next report opens
  ch = ConfigChangesBetween(a, b);
  EXPECT_FALSE(ch.redraw || ch.folders || ch.windowSize || ch.background || ch.numberFormat);
}

// ---- What the window shows ----

TEST(ConfigFormRequestTexts, CaptionsItemsAndToolTips) {
  Configuration c;
  c.helpLevel = 1;
  std::vector<std::uint16_t> asked;
  ConfigFormContext ctx = context();
  ctx.helpHint = [&asked](std::uint16_t n) {
    asked.push_back(n);
    return "hint " + std::to_string(n);
  };
  const ConfigFormRequest req = MakeConfigFormRequest(c, ctx);
  EXPECT_EQ(req.caption, "VELK Konfiguration");
  EXPECT_EQ(req.pages.size(), 9u);
  EXPECT_EQ(req.pages[req.text(ConfigControl::RuleMode).page], "Ausdruck");
  EXPECT_EQ(req.pages[req.text(ConfigControl::TempDir).page], "Directories");
  EXPECT_EQ(req.text(ConfigControl::TempDir).caption, oem("Temporärer Ordner"));
  // Box-drawing rules in code page 850.
  EXPECT_EQ(req.text(ConfigControl::RuleMode).items[1], "Trennlinien  \xC4\xC4\xC4\xC4 \xCD\xCD\xCD\xCD  ");
  EXPECT_EQ(req.text(ConfigControl::CadTextMode).items[2], oem("Ä->Ae, ß->ss..."));
  EXPECT_EQ(req.text(ConfigControl::DrawingShown).items,
            (std::vector<std::string>{"VELK - Spiralfedern", "file name feder1.vlk ?", "01.02.2024 10:11 ?",
                                      "$logo_1.dx$ ?"}));
  EXPECT_EQ(req.layerTitles[4], "Ausgezogene  Linie   0.50 mm");  // layer 5: visible edges
  EXPECT_EQ(req.layerTitles[0], "Mittellinie          0.25 mm");  // layer 1: centre lines
  EXPECT_EQ(req.workingDir, "/home/u/springs/");
  EXPECT_TRUE(req.toolTips);
  EXPECT_EQ(req.text(ConfigControl::ZoomFactor).hint, "hint 2850");
  EXPECT_EQ(req.text(ConfigControl::WorkingDir).hint, "");
  // Each help text is looked up once, however many controls share it.
  std::vector<std::uint16_t> sorted = asked;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());

  c.helpLevel = 0;
  asked.clear();
  const ConfigFormRequest quiet = MakeConfigFormRequest(c, ctx);
  EXPECT_FALSE(quiet.toolTips);
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(quiet.text(ConfigControl::ZoomFactor).hint, "");
}

TEST(ConfigFormColorList, SixteenNamedColours) {
  const std::vector<ColorListEntry>& list = ColorList();
  ASSERT_EQ(list.size(), 16u);
  EXPECT_EQ(list[0].text, "1 (rot)");
  EXPECT_EQ(list[0].rgb, 0xFF0000u);
  EXPECT_EQ(list[2].text, oem("3 (grün)"));
  EXPECT_EQ(list[6].text, oem("7 (weiß)"));
  EXPECT_EQ(list[7].text, "8 (dunkel blau)");
  EXPECT_EQ(list[7].rgb, 0x000080u);
  EXPECT_EQ(list[15].text, "16 (schwarz)");
  EXPECT_EQ(list[15].rgb, 0x000000u);
  for (int n = 1; n <= 16; ++n) EXPECT_EQ(list[static_cast<std::size_t>(n - 1)].number, n);

  const ColorSelectRequest r = MakeColorSelectRequest("5");
  EXPECT_EQ(r.caption, "Select Color");
  EXPECT_EQ(r.selected, 5);
  EXPECT_EQ(MakeColorSelectRequest("0").selected, 0);
  EXPECT_EQ(MakeColorSelectRequest("17").selected, 0);
  EXPECT_EQ(MakeColorSelectRequest("rot").selected, 0);
}

}  // namespace
}  // namespace velk::test
