// Windows of the graphics print setup: the print configuration form (print and printer-setup mode),
// the printer information window and the print macro form. Types only; the rules are in reportui/printconfig.h.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velk {

// What the core needs to know about the printer the GUI holds. The GUI fills it from its printer
// object (Qt: QPrinter / QPageLayout); the core never talks to a printer itself. Texts are code page 850.
// Counts that the platform cannot tell are -1 and show as "?".
struct PrinterInfo {
  std::string name;        // empty when there is no printer
  bool landscape = false;  // the printer's current orientation
  int driverVersion = -1;
  int technology = -1;            // 0 plotter, 1 raster display, 2 raster printer, 4 character printer, 5 metafile
  int widthMm = 0, heightMm = 0;  // printable area in millimetres, in the current orientation
  int widthPx = 0, heightPx = 0;  // printable area in printer pixels, in the current orientation
  int offsetLeftPx = 0, offsetTopPx = 0;  // printable area's offset from the paper's corner
  int dpiX = 0, dpiY = 0;
  int brushes = -1, pens = -1, markers = -1, colors = -1;
  std::vector<std::string> fonts;  // printer font names
};

// ---- Print configuration form ("TForm_printconf") ----

enum class PrintConfigMode { Print, Setup };

// The controls' values. Scales and origins are the edit texts (code page 850) as shown.
struct PrintConfigValues {
  std::string scaleX = "1", scaleY = "1";    // "Maßstab x", "Maßstab y"
  std::string originX = "0", originY = "0";  // "Ursprung x", "Ursprung y"
  bool border = false;                       // CheckBox "Umrandung"
  bool fit = false;                          // CheckBox "anpassen"
  bool monochrome = true;                    // RadioGroup "Schattierung": "Monochrom" / "Color / Graustufen"
  bool landscape = false;                    // RadioGroup "Ausdruck": "Hochformat" / "Querformat"
};

// What the printer button ("Drucker...") leaves behind: the label text of the printer then chosen
// and its orientation, which the orientation radio group follows.
struct PrinterChoice {
  std::string label;  // printer name right-aligned in 40 characters
  bool landscape = false;
};

struct PrintConfigResult;

// Caption, labels and buttons are code page 850. The same form serves both modes; only what happens
// after "OK" differs (see PrintConfigSteps).
struct PrintConfigRequest {
  using Result = PrintConfigResult;

  PrintConfigMode mode = PrintConfigMode::Print;
  std::string caption;                                    // "Ausdruck"
  std::array<std::string, 4> editLabels{};                // "Maßstab x", "Maßstab y", "Ursprung x", "Ursprung y"
  std::string borderCaption, fitCaption;                  // "Umrandung", "anpassen"
  std::string shadingTitle;                               // "Schattierung"
  std::array<std::string, 2> shadingItems{};              // "Monochrom", "Color / Graustufen"
  std::string orientationTitle;                           // "Ausdruck"
  std::array<std::string, 2> orientationItems{};          // "Hochformat", "Querformat"
  std::string okCaption, cancelCaption, helpCaption;      // "OK" (default), "Abbrechen", "&Hilfe"
  std::string loadCaption, storeCaption, printerCaption;  // "Datenbank", "Ü&bernehmen Datenbank", "Drucker..."
  uint16_t helpNumber = 1030;                             // "&Hilfe"
  PrintConfigValues values;                               // as the form opens
  std::string printerLabel;                               // printer name right-aligned in 40 characters

  // "Datenbank": lets the user pick a stored layout. true with values replaced by the layout;
  // false (values untouched) when the browse was cancelled or the table could not be opened
  // (the callback has shown the message then; the form stays open).
  std::function<bool(PrintConfigValues& values)> loadLayout;
  // "Ü&bernehmen Datenbank": asks for a name and appends the values as a stored layout.
  std::function<void(const PrintConfigValues& values)> storeLayout;
  // "Drucker...": the platform's print dialog; nullopt when it was cancelled.
  std::function<std::optional<PrinterChoice>()> choosePrinter;
  // The label of the current printer, asked for again whenever the form is activated.
  std::function<std::string()> currentPrinterLabel;
};

struct PrintConfigResult {
  PrintConfigValues values;  // as the user left them with "OK"
};

// ---- Printer information window ("TForm_printerinfo") ----

struct PrinterInfoResult {};

// A two-column grid: rows of (label, value), code page 850; font rows have an empty label.
struct PrinterInfoRequest {
  using Result = PrinterInfoResult;

  std::string caption;  // "Printer Info"
  std::vector<std::pair<std::string, std::string>> rows;
  std::string okCaption;  // "OK"
};

// ---- Print macro form ("TForm_printmac") ----

constexpr int kPrintMacroBoxes = 14;

struct PrintMacroResult;

// Check box i (1-based) is boxes[i - 1]; hidden boxes keep their state and are stored back as well.
struct PrintMacroBox {
  std::string caption;  // code page 850
  bool checked = false;
  bool visible = false;
};

struct PrintMacroRequest {
  using Result = PrintMacroResult;

  std::string caption;  // the application title
  std::array<PrintMacroBox, kPrintMacroBoxes> boxes{};
  std::string okCaption, cancelCaption, helpCaption;  // "OK" (default), "Abbrechen", "&Hilfetext"
  uint16_t helpNumber = 3520;
};

struct PrintMacroResult {
  std::array<bool, kPrintMacroBoxes> checked{};  // all 14 boxes as the user left them
};

}  // namespace velk
