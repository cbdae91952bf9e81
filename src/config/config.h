// Program-wide configuration values and their file (short name + ".cfg"), the recent-files
// file (".cff") and the folder check.
#pragma once

#include <array>
#include <string>

#include "base/numfmt.h"

namespace velk {

struct UiContext;

// Screen the configuration's first-start values refer to. Without a display (batch, tests)
// it is 1024 x 768 at 96 dpi, so results are the same on every machine.
struct ScreenMetrics {
  int width = 1024;
  int height = 768;
  int dpiX = 96;
  int dpiY = 96;
  int mainWindowHeight = 768 - 40;  // outer height of the main window
  int mainClientHeight = 768 - 86;  // its client height
};

struct TextWindowRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TextWindowRect&) const = default;
};

constexpr int kLayerCount = 32;
constexpr int kPlotCommandLines = 5;

// The colour a layer is drawn in until one is configured: layers 1..5 as the CAD presets,
// layers 16..31 the colour numbers 1..16 in order.
constexpr int defaultLayerColor(int layer) {
  constexpr int kCad[6] = {1, 2, 2, 2, 3, 1};
  if (layer >= 0 && layer <= 5) return kCad[layer];
  if (layer >= 16 && layer < kLayerCount) return layer - 15;
  return 0;
}
// The line thickness code of a layer until one is configured.
constexpr int defaultLineThickness(int layer) {
  constexpr int kCad[6] = {1, 1, 1, 1, 2, 3};
  if (layer >= 0 && layer <= 5) return kCad[layer];
  if (layer >= 16 && layer < kLayerCount) return 1;
  return 0;
}

constexpr std::array<int, kLayerCount> layerTable(int (*value)(int)) {
  std::array<int, kLayerCount> t{};
  for (int i = 0; i < kLayerCount; ++i) t[static_cast<std::size_t>(i)] = value(i);
  return t;
}

struct Configuration {
  // Number, unit, date and code-page settings used by the formatters.
  NumberSettings num;

  // CAD.
  std::array<std::string, kLayerCount> layerName{};  // names of layers 1..5 are configured
  // Written out with their defaults, so that a saved configuration draws as before: a 0 on the
  // file's colour rows would read back as a colour of its own.
  std::array<int, kLayerCount> layerColor = layerTable(defaultLayerColor);        // DXF colour numbers
  std::array<int, kLayerCount> lineThickness = layerTable(defaultLineThickness);  // layers 0..5 and 16..31
  std::string cadTextFont;
  Real cadTextWidth = 1;
  Real cadTextAngle = 0;
  int decimalsDxf = 6;

  // Folders (native paths; empty DBF/PLT mean the program's data directory).
  std::string cadDir, dbfDir, tempDir, ediDir, pltDir, programDir, dataDir;

  // Help and dialogs.
  int helpLevel = 1;
  int inputWindowScale = 102;
  int dialogElementsScale = 100;
  bool smallOnlineWindow = false;
  bool askDiagramLimits = false;
  bool askUserDir = false;  // "Enter Password ?"
  bool archiveMode = false;

  // Printer and report.
  int printerPort = 1;
  int printerType = 3;
  int printDensity = 1;
  char hardcopyRotated = 'J';
  int printDensityVertical = 1;
  int hardcopyPort = 1;
  int ruleMode = 2;
  int linesPerPage = 66;
  int headerSpaceLines = 0;
  int textDevice = 1;
  bool textDeviceAsk = false;
  int headerMode = 1;
  std::string printoutFont = "Courier New";
  int printoutFontSize = 10;
  int printoutFontStyle = 0;
  TextWindowRect textWindow;

  // Graphics window and graphics printing.
  bool colorGraphics = true;
  Real graphicsCorrection = 1;
  int graphicsMode = 0;
  int graphicsDriver = 0;
  int resolutionX = 0;  // client width - 1
  int resolutionY = 0;  // client height - 1
  Real zoomFactor = 1.02L;
  Real panFactor = 0.01L;
  // 0xRRGGBB. Black unless configured (an empty or missing row reads as 0): the palette is made
  // for it, with yellow axes, light cyan values and white for drawing-layer colour 7.
  int backgroundColor = 0;
  int printMode = 1;
  bool layerMonochrome = false;
  Real graphicsTextWidth = 0.8L;
  std::string graphicsFont = "Arial";
  Real textHeightFactor = 1;
  int printOriginX = 0, printOriginY = 0;
  Real printScaleX = 1, printScaleY = 1;
  bool printBorder = false;
  bool graphicsPrintDialog = false;
  int graphicsFontStyle = 0;
  int printOrientation = 1;
  bool edit3d = true;
  std::array<Real, 3> view3d{};

  // External programs.
  // Empty until configured: the Windows program path of the old start value cannot start
  // anything here, and the plot questions build a working line.
  std::array<std::string, kPlotCommandLines> plotCommandLines{};
  int plotCommandLineCount = 1;
  std::string textProgram = "xdg-open";
  int tableMode = 1;
  std::string externalTableEditor = "xdg-open";
  std::string htmlBrowser = "xdg-open";

  // Drawing documentation and miscellany.
  int changeIndexStyle = 0;
  std::string releaseFieldText = "Frei";
  int angleDisplay = 2;
  Real dimensionFactor = 1;
  int printMacroValue = 0;
  int mainWindowValue = 0;
  int defaultResultGraphic = 0;
  // Menu language: 0 none chosen (German), 1 Deutsch, 2 English, 3 Français, 4 Italiano,
  // 5 Swedish, 6 Portuguese, 7 Romanian, 8 Korean, 9 Spanish.
  int language = 0;
  std::array<bool, 4> drawingOptions{};  // without title, file name, date, logo

  bool operator==(const Configuration&) const = default;
};

}  // namespace velk
