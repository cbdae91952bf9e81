// Graphics print setup: the layout values of a print run, the print configuration form's rules, the
// stored layouts of "printout.dbf", the printer information rows, the print macro and the printer mapping.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/numfmt.h"
#include "config/config.h"
#include "report/reportstate.h"
#include "ui/printforms.h"

namespace velk {

// The values a graphics print runs with. The configuration keeps the persistent set (printScaleX/Y,
// printOriginX/Y, printBorder, printMode, printOrientation); a macro print derives its own set from
// a preset without touching the configuration.
struct PrintLayout {
  Real scaleX = 1, scaleY = 1;   // factor on the window-to-page mapping
  int originX = 0, originY = 0;  // margins in millimetres
  bool border = false;
  bool monochrome = true;
  bool landscape = false;
};

// State the print commands keep for the whole program run.
struct PrintSetupState {
  // Set by the graphics producers before a print: 0 and 1 diagrams and views, 2 production drawings.
  int preset = 0;
  // The stored layout last picked from the table (1-based; 0 none yet): the browser opens on it.
  std::uint32_t lastLayoutRecord = 0;
};

PrintLayout LayoutFromConfig(const Configuration& config);
void StoreLayoutInConfig(Configuration& config, const PrintLayout& layout);

// ---- Print configuration form ----

// The label text of a printer: its name right-aligned in 40 characters (a longer name stays whole).
std::string PrinterLabel(const std::string& printerName);

// The form as it opens. Preset 0 or 1: scales, origin and border from the configuration, orientation
// portrait when the configured orientation is 1; preset 2 (production drawing): scale x 1.9, scale y
// 1.0, origin 0/0, border off, portrait. Shading always from the configuration. The orientation shown
// is the one the printer is to be put in: the caller sets the printer to values.landscape before it
// shows the form. The callbacks are left for the caller.
PrintConfigRequest MakePrintConfigRequest(const Configuration& config, PrintConfigMode mode, int preset,
                                          const PrinterInfo& printer);

// Edit texts to layout values: scales and origins through the number parsers ("," accepted); a text
// that is not a number reads as 0, and a scale that reads as 0 or below becomes 1 (a zero scale would
// collapse the whole print into its origin).
PrintLayout LayoutFromValues(const PrintConfigValues& values);

// What the caller does after "OK", in this order. The printing flag of the display list is on for
// exactly the PaintPrinter step.
enum class PrintStep {
  SetOrientation,       // put the printer in layout.landscape
  ResetGraphicsWindow,  // "anpassen": RestoreLimit, ResetZoom, ReSetWindow, ClearViewPort
  PaintScreen,          // replay the display list on the screen
  BeginDocument,        // begin a printer document
  PaintPrinter,         // printing flag on, replay, printing flag off
  EndDocument,          // end the printer document
  ShowPrinterInfo,      // the printer information window
};

struct PrintConfigOutcome {
  PrintLayout layout;
  std::vector<PrintStep> steps;
};

// "OK": copies the form's values into the configuration's layout values and lists the steps of the
// mode. Print mode: [SetOrientation, (ResetGraphicsWindow when "anpassen"), PaintScreen, BeginDocument,
// PaintPrinter, EndDocument]. Setup mode: [SetOrientation, BeginDocument, EndDocument, ShowPrinterInfo]
// (an empty document, so the printer driver takes the new settings).
// "Abbrechen" is not handled here: the caller sets the abort flag.
PrintConfigOutcome ApplyPrintConfigResult(Configuration& config, PrintConfigMode mode, const PrintConfigResult& result);

// ---- Stored layouts ("printout.dbf") ----

inline constexpr const char* kPrintLayoutTableFile = "printout.dbf";
inline constexpr const char* kPrintLayoutBrowseTitle = "Printout";  // the table browser's title
inline constexpr uint16_t kPrintLayoutBrowseHelp = 1040;
inline constexpr int kPrintLayoutNameLength = 25;  // EnterText "Name"

// Where the layout table is: "printout.dbf" in the working folder when it exists there, otherwise in
// the table folder. error is "Datei " + path + " nicht gefunden oder kein Zugriffsrecht !" (code page
// 850) when the table-folder file cannot be read either; path is then that file.
struct LayoutTableLocation {
  std::string path;
  std::string error;
  bool ok() const { return error.empty(); }
};
LayoutTableLocation FindPrintLayoutTable(const std::string& workingFolder, const std::string& tableFolder);

// Outcome of a table operation. error: the message for the user (code page 850), empty on success.
// calcMessage: a note for the calculation message list ("DBF #" + n + " not found.") when a record
// number beyond the table was asked for.
struct LayoutTableOutcome {
  std::string error;
  std::string calcMessage;
  std::uint32_t record = 0;  // the record read or appended; 0 when none
  bool ok() const { return error.empty(); }
};

// Reads stored layout `record` into values: field 2 scale x, 3 scale y, 4 origin x, 5 origin y (as
// their texts), LANDSCAPE, MONOCHROM, VARIABLE ("anpassen") and BORDERLINE by name. A record number
// above the record count reads the last record (and notes calcMessage), one below 1 reads record 1;
// an empty table leaves values unchanged (record 0). The table is opened read-only and closed again.
LayoutTableOutcome LoadPrintLayout(const std::string& path, std::uint32_t record, PrintConfigValues& values);

// Appends a layout named `name` (code page 850, cut to 25 characters) with the form's values, filled
// by field name: NAME, XSCALE, YSCALE, XORIGIN, YORIGIN (as LayoutFromValues reads them), LANDSCAPE,
// MONOCHROM, VARIABLE, BORDERLINE. A table in the Windows code page gets the name converted. On
// failure nothing is appended and error holds the engine's message.
LayoutTableOutcome StorePrintLayout(const std::string& path, const std::string& name, const PrintConfigValues& values);

// ---- Printer information ----

// The technology row's text: 0 "Plotter", 1 "Rasterbildschirm", 2 "Rasterdrucker", 4 "Zeichendrucker",
// 5 "Metafile", anything else "?".
std::string PrinterTechnologyText(int technology);
PrinterInfoRequest MakePrinterInfoRequest(const PrinterInfo& printer);

// ---- Print presets and the printer mapping ----

// The layout a macro print uses for a graphic of that preset: 0 scales 1/1, origin 0/0, border off,
// landscape; 1 the same with border on; 2 scale x 1.8, scale y 1.0, origin 0/0, border off, portrait.
// Shading stays that of base. Any other preset is taken as 0.
PrintLayout ApplyPrintPreset(int preset, const PrintLayout& base);

// The values the display-list replay maps onto the printer with (printing mode):
//   Xp = R(PW·mx/210) + R(PW·((x − vxmin)·sx + px1)·fx/W)
//   Yp = R(PW·my/210) + R(PH·(py2 − (y − vymin)·sy)·fy/H)
// A millimetre is taken as PW/210 printer pixels in both directions: the width of an A4 portrait page.
// On other paper or in landscape the margins are therefore not true millimetres; the replay keeps
// this rule so that stored layouts print as they always did.
struct PrinterPage {
  int pageWidth = 0, pageHeight = 0;  // PW, PH: printable page in printer pixels, job orientation
  Real marginX = 0, marginY = 0;      // mx, my in millimetres (the layout's origin)
  Real scaleX = 1, scaleY = 1;        // fx, fy
  Real pixelsPerMm = 0;               // PW / 210
  int penWidthFactor = 4;             // a record's pen width n becomes n·4 printer pixels
  bool monochrome = true;             // black pen and text, background-colour brush
  bool border = false;                // frame around the world window
  bool landscape = false;
  bool valid() const { return pageWidth > 0 && pageHeight > 0; }
};

// The mapping of a print with layout on printer. The printer's page is taken in the layout's
// orientation: when the printer reports the other one, width and height are swapped. Without a
// usable page (no printer) the mapping is not valid().
PrinterPage MakePrinterPage(const PrintLayout& layout, const PrinterInfo& printer);

// ---- Print macro ----

// Check box i of the macro form is bit i − 1 of the configuration's print-macro value.
enum class MacroOutput {
  StandardOutput = 1,     // report (standard output)
  Excerpt = 2,            // report (excerpt)
  Quick1 = 3,             // result view 1
  Quick2 = 4,             // result view 4
  ProductionDrawing = 5,  // the production drawing (its sheet is landscape)
  Characteristic = 6,     // result view 2
  Goodman = 7,            // result view 3
  HaighGoodman = 8,       // result view 7
};

enum class MacroJobKind { Report, View, Drawing };

// One output of a macro print. Reports go to the report writer's Windows-printer device without asking
// (see MacroReportDevice); views and the drawing are shown in the graphics window, then printed with
// ApplyPrintPreset(preset) and a second paint.
struct MacroJob {
  MacroOutput output = MacroOutput::StandardOutput;
  MacroJobKind kind = MacroJobKind::Report;
  int view = 0;    // result view kind (View), 9 for the production drawing (Drawing); 0 for reports
  int preset = 0;  // print preset of a graphic
};

// The outputs of a macro value in the order they are produced (box order 1..8). Bits of the hidden
// boxes 9..14 and above produce nothing.
std::vector<MacroJob> PrintMacroJobs(int macroValue);

// The macro form: boxes 1..8 visible with the menu captions, 9..14 hidden; each checked from its bit.
PrintMacroRequest MakePrintMacroRequest(int macroValue, const std::string& applicationTitle);

// "OK": all 14 boxes into bits 0..13; bits above 13 are kept.
int ApplyPrintMacroResult(int macroValue, const PrintMacroResult& result);

// Puts the report device of the configuration to the Windows printer without asking for the lifetime
// of the object and restores the configured device and ask setting afterwards.
class MacroReportDevice {
 public:
  explicit MacroReportDevice(Configuration& config);
  ~MacroReportDevice();
  MacroReportDevice(const MacroReportDevice&) = delete;
  MacroReportDevice& operator=(const MacroReportDevice&) = delete;

 private:
  Configuration& config_;
  int device_;
  bool ask_;
};

}  // namespace velk
