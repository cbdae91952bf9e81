// The one interface through which the core reaches the user: modal dialogs, message boxes,
// file choosers and the windows other parts show. Qt implements it in gui/, the headless
// implementation (batch mode, tests) in dialogs/headless.h. All texts are code page 850.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/canvas.h"
#include "dialogs/configform.h"
#include "dialogs/inputforms.h"
#include "dialogs/overviewform.h"
#include "dialogs/printforms.h"

namespace velk {

enum class MessageKind { Error, Info, Titled };
enum class QuestionAnswer { Yes, No, Cancel };
enum class CursorShape { Normal, Busy };

struct FileDialogRequest {
  std::string caption;
  std::string folder;       // start folder (native path)
  std::string filter;       // "*.vlk|*.vlk" style: description|pattern pairs
  std::string defaultName;  // proposed file name, may be empty
};

struct OnlineFormRequest;  // dialogs/onlinetable.h
struct OnlineFormResult;

// What a window may ask of the core while it is open: the help text and help image of a help
// number ("&Hilfetext", "Hilfe&bild") and the tool tip of a help line (help levels 1 and 2).
class HelpProvider {
 public:
  virtual ~HelpProvider() = default;
  virtual void showHelpText(uint16_t helpNumber) = 0;
  virtual void showHelpImage(uint16_t helpNumber) = 0;
  // Empty at help level 0 or when the help texts have no line for the number.
  virtual std::string hint(uint16_t helpNumber) = 0;
};

// The table browser's menu commands and grid edits, run by the browser window on the open table;
// after each the window re-reads rows(). Texts are code page 850.
class BrowseController {
 public:
  virtual ~BrowseController() = default;
  virtual std::vector<std::uint32_t> rows(int mode) = 0;
  virtual void setCell(std::uint32_t record, int pos, const std::string& text) = 0;
  virtual void setDeleted(std::uint32_t record, bool deleted) = 0;
  virtual void search() = 0;
  virtual void searchNext() = 0;
  virtual void sortByColumn(int pos) = 0;
  virtual void appendRecord() = 0;
  virtual void pack() = 0;
  virtual void appendDbf() = 0;
  virtual void appendDelimited() = 0;
  virtual void saveDelimited() = 0;
  virtual void exportHtml() = 0;
  virtual void print() = 0;
  virtual void showFile() = 0;
};

// The report text window's "&Drucken..." and "Export &Notepad".
class ReportWindowController {
 public:
  virtual ~ReportWindowController() = default;
  virtual void print() = 0;
  virtual void exportNotepad() = 0;
};

// The table browser window over the open table. The window runs the browser's menu commands and
// grid edits through the controller; texts are code page 850, filePath is native.
struct BrowseRequest {
  std::string caption;
  std::string title1, title2;
  int mode = 1;  // 1 selection (no editing, deleted records hidden), any other value edit
  std::string filePath;
  std::uint32_t currentRecord = 0;
  std::vector<std::uint32_t> rows;  // records shown, in display order
  uint16_t helpNumber = 0;
  BrowseController* controller = nullptr;
};

// The explanation window ("Fehlermeldung") of a calculation message; texts are code page 850.
struct ExplanationRequest {
  std::string message;  // read-only
  std::string cause;    // editable, one line each
  std::string remedy;
  uint16_t helpNumber = 0;  // of the "&Hilfe" button
};
// ok: closed with "OK"; edited: a text was changed while the window was open (cause and remedy
// then hold the texts as the user left them).
struct ExplanationResult {
  bool ok = false;
  bool edited = false;
  std::string cause;
  std::string remedy;
};

// The diagram limits form ("TEinDiagramLimits"): four edit boxes xmin, xmax, ymin, ymax holding
// texts in the short number format; "Calculate" puts the automatic texts into the boxes. On OK
// the boxes' texts are returned in values (the caller reads them, "," accepted).
struct DiagramLimitsRequest {
  std::string caption;                   // the diagram title
  std::string xTitle, yTitle;            // labels beside the boxes
  std::vector<std::string> values;       // xmin, xmax, ymin, ymax as the boxes open
  std::vector<std::string> automatic;    // what "Calculate" fills in, same order
  uint16_t helpNumber = 0;               // of "&Hilfetext"
};

// The installation-angle form of the spring drawing: an edit box with the angle unit beside it,
// a track bar trackMin..trackMax and buttons that put preset texts ("delta c", "delta 2",
// "delta 1", "delta 0") into the box. On OK the box's text is returned in value.
struct InstallationAngleRequest {
  std::string caption;
  std::string unit;
  std::string value;                     // edit text as the form opens
  std::vector<std::string> presets;      // delta c, delta 2, delta 1, delta 0
  int trackMin = 0, trackMax = 0;
  uint16_t helpNumber = 0;
};

// The report text window ("TForm_showtextfile") over a finished screen report. Its "&Drucken..."
// and "Export &Notepad" go through the controller (printing reportFile, exporting windowsFile).
// Texts are code page 850.
struct ReportWindowRequest {
  std::string caption;             // application title + " - " + the file shown
  std::vector<std::string> lines;  // the lines of the Windows copy, as the memo shows them
  std::string windowsFile;         // "outwin.txt" in the folder for temporary files (native path)
  std::string reportFile;          // the report file in the DOS code page (native path)
  std::string font;                // printout font, size and style (bit 0 bold, 1 italic,
  int fontSize = 10;               // 2 underline, 3 strike-out)
  int fontStyle = 0;
  int left = 0, top = 0, width = 0, height = 0;  // saved position, used when width and height > 0
  ReportWindowController* controller = nullptr;
};
// Where the window was when it closed (all 0: unknown, the saved position stays).
struct ReportWindowResult {
  int left = 0, top = 0, width = 0, height = 0;
};

// A text file to print on the printer: the print dialog offers pages 1..pageCount; the pages
// are then laid out with LayoutTextPages (report/printtext.h) and drawn line by line.
struct PrintTextRequest {
  std::string documentName;
  std::vector<std::string> lines;  // code page 850 (plain characters already applied), form feeds kept
  int pageCount = 1;               // lines that begin with a form feed
  int linesPerPage = 66;           // line height = page height / linesPerPage
  std::string font;
  int fontSize = 10;
  int fontStyle = 0;
};
enum class PrintOutcome { Printed, Cancelled, NoPrinter };

// ---- Drawing documentation forms (docs/docmenu.h) ----
// Texts are code page 850. The forms return what was typed; the caller applies the store rules
// (widths, counts), so a form need not enforce them beyond limiting its edit fields.

// The change entry form ("TForm_EinAend"): edit fields "Änderungstext", "Datum", "Bearbeiter",
// the memo "Beschreibung", and the button "<" + today that puts today into the date field.
struct ChangeEntryRequest {
  std::string caption;  // "Änderung" + " " + entry number
  std::string designation, date, editor;
  std::string description;  // line breaks are CR LF
  std::string today;        // date text of the "<" button
  int designationLength = 20, dateLength = 10, editorLength = 5;
  uint16_t helpNumber = 3000;  // "&Hilfe"
};
struct ChangeEntryResult {
  std::string designation, date, editor;
  std::string description;  // any line breaks (CR LF, CR or LF)
};

// The drawing information form ("TForm_zeichInfo"): edit fields "Ersatz für" and "Ersetzt
// durch"; grid 1 (columns "Datum", "Name"; rows "Bearb.", "Gepr.", "Norm", release-field text)
// with one button "< " + today per row writing today into that row's date cell; grid 2 (columns
// "x", "y", "h", "phi", "Text"; rows 1 to 8) of the free texts.
struct DrawingInfoRequest {
  std::string caption;  // "Zeichnungsinfo"
  std::string replaces, replacedBy;
  std::array<std::string, 4> rowTitles{};
  std::array<std::array<std::string, 2>, 4> people{};     // [row][0 date, 1 name]
  std::array<std::array<std::string, 5>, 8> freeTexts{};  // [row][x, y, h, phi, text]
  std::string today;
  int replaceLength = 15, peopleLength = 10, textLength = 80;
  uint16_t helpNumber = 3010;  // "&Hilfe"
};
struct DrawingInfoResult {
  std::string replaces, replacedBy;
  std::array<std::array<std::string, 2>, 4> people{};
  std::array<std::array<std::string, 5>, 8> freeTexts{};
};

// The document setup form ("TForm_confDoku"): five groups " Document n " with the edit fields
// "Program n" and "File n", each with a "..." button that calls browse.
struct DocumentSetupRequest {
  std::string caption;  // "Document Setup"
  std::array<std::string, 5> programs{}, files{};
  int maxLength = 50;
  uint16_t programHint = 2710, fileHint = 2720;  // help lines of the tool tips
  uint16_t helpNumber = 2730;                    // "&Hilfetext"
  // The "..." button of field k (2n - 1: program n, 2n: file n, n = 1..5): asks for a file
  // starting at text; true with text replaced by the choice, false (text kept) on cancel.
  std::function<bool(int field, std::string& text)> browse;
};
struct DocumentSetupResult {
  std::array<std::string, 5> programs{}, files{};
};

// ---- Plot program output (cad/plotprogram.h) ----
// The plot configuration form ("TForm_confplotrix", caption "PLOTRIX"): the controls' values as
// texts and choices. After every change the form shows commandLine(values) in `Label_commandline`.
struct PlotFormValues {
  std::string plotrixPath = "c:\\plotrix\\ruvoreve";  // Edit_plotrixPath ("..." browses)
  int outcode = 1;        // RadioGroup_outcode: 1 HPL, 2 PS, 3 PLT, 4 PL2, 5 ART
  int outInterface = 2;   // RadioGroup_d: 1 "seriell", 2 "parallel", 3 "Datei"
  std::string com = "1";  // Edit_com
  std::string lpt = "1";  // Edit_lpt
  std::string outdir;     // Edit_outdir ("Dir..." browses, "<" puts tempFolder back)
  std::string scale = "1";  // Edit_scale
  bool fitScale = false;    // CheckBox_scale "Maßstab anpassen ?": scale "0", box disabled
  bool rotate = false;      // CheckBox_rotate
  std::string xnull = "0", ynull = "0";  // Edit_xnull, Edit_ynull
  std::string textWidth = "1";           // Edit_textbreitenfaktor
  std::string psFont;                    // ComboBox_psfont, enabled for PS only
};
struct PlotFormRequest {
  PlotFormValues values;                 // as the form opens
  std::vector<std::string> psFonts;      // the font list
  std::string tempFolder;                // native path
  bool toolTips = false;                 // hints from the help texts (2080 .. 2280)
  uint16_t helpNumber = 2055;            // "&Hilfe"
  std::function<std::string(const PlotFormValues&)> commandLine;
};
// changed: a control was changed while the form was open.
struct PlotFormResult {
  PlotFormValues values;
  bool changed = false;
};

// ---- Help images (help/imagebrowser.h) ----
// The help image browser window ("TForm_hilfebild"): the list of help images (code page 850),
// the spin button with up and down arrows, and the buttons "OK", "&Hilfe", "&Neu", "&Ändern",
// "&Einfügen", "&Löschen". Selecting an item or an arrow closes the window with Show; "&Neu",
// "&Löschen", "&Ändern", "&Einfügen" close with their action ("&Neu" with no selection); "OK"
// (also the cancel button) closes with Leave; "&Hilfe" calls onHelp and keeps the window open.
enum class HelpImageAction { Show, New, Delete, Change, Insert, Leave };
struct HelpImagesRequest {
  std::string caption;             // application title + " Hilfebilder"
  std::vector<std::string> items;  // the entries
  int selected = 0;                // 1-based item selected as the window opens; 0 none
  int left = 1, top = 1;           // remembered position
  uint16_t helpNumber = 0;
  std::function<void()> onHelp;    // "&Hilfe"
};
struct HelpImagesResult {
  HelpImageAction action = HelpImageAction::Leave;
  int selected = 0;       // 1-based item selected when the window closed; 0 none
  int left = 1, top = 1;  // where the window was when it closed
};
// The item an arrow selects: up the previous one, down the next one, when there is one
// (from no selection, down selects the first item).
inline int HelpImageArrow(int selected, int count, bool up) {
  if (up) return selected > 1 ? selected - 1 : selected;
  return selected < count ? selected + 1 : selected;
}

// ---- Printing a drawing and exporting a picture ----
// One printed page (or picture) in device pixels; dpi for line widths and text sizes.
struct PageGeometry {
  int width = 0, height = 0;
  int dpiX = 96, dpiY = 96;
};

// Prints a drawing: the window asks for the printer (or a PDF file when none is installed),
// then calls paint once on the page's canvas. Result: printed; nullopt: cancelled.
struct PrintDrawingRequest;
struct PrintDrawingResult {
  bool toPdf = false;  // no printer: written as a PDF file instead
  std::string pdfPath;
};
struct PrintDrawingRequest {
  using Result = PrintDrawingResult;
  std::string documentName;
  bool landscape = false;
  // Draws the page; false when the drawing could not be replayed (the page stays empty).
  std::function<bool(Canvas& canvas, const PageGeometry& page)> paint;
};

// Exports the current view as a picture: the window asks for the file and its kind, then paints
// onto an image, a PDF page or an SVG canvas. Result: written; nullopt: cancelled.
enum class PictureFormat { Png, Svg, Pdf };
struct ExportPictureResult {
  std::string path;
  PictureFormat format = PictureFormat::Png;
};
struct ExportPictureRequest {
  using Result = ExportPictureResult;
  std::string caption;
  std::string folder;       // native
  std::string defaultName;  // without extension
  PageGeometry size;        // the picture's size (the graphics window's)
  std::function<bool(Canvas& canvas, const PageGeometry& page)> paint;
};

class UiServices {
 public:
  virtual ~UiServices() = default;

  // Single-line text dialog ("Eingabe"): true on OK with the new text, false on cancel.
  virtual bool textDialog(const std::string& caption, const std::string& prompt, int maxLength,
                          std::string& text, uint16_t helpNumber) = 0;
  // Radio dialog (up to 7 items) and list dialog ("Auswahl"); index is 1-based.
  virtual bool radioDialog(const std::string& prompt, const std::vector<std::string>& items, int& index,
                           uint16_t helpNumber) = 0;
  virtual bool listDialog(const std::string& prompt, const std::vector<std::string>& items, int& index,
                          uint16_t helpNumber) = 0;
  // Yes/no dialog with "&Ja" / "&Nein"; yes is preset and returned.
  virtual bool yesNoDialog(const std::string& prompt, bool& yes, uint16_t helpNumber) = 0;
  // Question box with yes, no and cancel.
  virtual QuestionAnswer questionBox(const std::string& caption, const std::string& question) = 0;
  virtual void messageBox(MessageKind kind, const std::string& caption, const std::string& text) = 0;
  virtual void beep() = 0;
  virtual void setCursor(CursorShape shape) = 0;
  virtual void setWindowTitle(const std::string& title) = 0;

  // File choosers; nullopt on cancel. Paths are native.
  virtual std::optional<std::string> chooseFolder(const std::string& start) = 0;
  virtual std::optional<std::string> openFileDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> saveFileDialog(const FileDialogRequest& request) = 0;

  // Table browser: the chosen record on OK, nullopt on cancel.
  virtual std::optional<std::uint32_t> browseTable(const BrowseRequest& request) = 0;

  // Modal read-only text window with an "OK" button.
  virtual void showTextWindow(const std::string& caption, const std::vector<std::string>& lines) = 0;

  // Online input form of the design modes (dialogs/onlinetable.h): shows the request modally and
  // fills the result (how it was closed, edit texts, focus row, window position).
  virtual void showOnlineTable(const OnlineFormRequest& request, OnlineFormResult& result) = 0;

  // Explanation window of one calculation message, modal; fills the result.
  virtual void showExplanation(const ExplanationRequest& request, ExplanationResult& result) = 0;

  // Diagram limits form, modal: true on OK with request.values as typed, false on cancel.
  virtual bool diagramLimitsDialog(DiagramLimitsRequest& request) = 0;
  // Installation-angle form, modal: true on OK with request.value as typed, false on cancel.
  virtual bool installationAngleDialog(InstallationAngleRequest& request) = 0;

  // Report text window, modal; fills where it was left.
  virtual void showReportWindow(const ReportWindowRequest& request, ReportWindowResult& result) = 0;
  // Print dialog and printout of a text file.
  virtual PrintOutcome printText(const PrintTextRequest& request) = 0;

  // Drawing documentation forms, modal: true on OK with the result filled, false on cancel.
  virtual bool changeEntryForm(const ChangeEntryRequest& request, ChangeEntryResult& result) = 0;
  virtual bool drawingInfoForm(const DrawingInfoRequest& request, DrawingInfoResult& result) = 0;
  virtual bool documentSetupForm(const DocumentSetupRequest& request, DocumentSetupResult& result) = 0;

  // Help image browser window, modal; fills the action, the selection and the position.
  virtual void showHelpImages(const HelpImagesRequest& request, HelpImagesResult& result) = 0;

  // Plot configuration form, modal: true on OK with the result filled, false on cancel.
  virtual bool plotConfigForm(const PlotFormRequest& request, PlotFormResult& result) = 0;

  // ---- Windows with one shape: show(request) -> result, nullopt when cancelled. ----
  virtual std::optional<SpringEndsRequest::Result> show(const SpringEndsRequest& request) = 0;
  virtual std::optional<ApplicationRequest::Result> show(const ApplicationRequest& request) = 0;
  virtual std::optional<CalcSettingsRequest::Result> show(const CalcSettingsRequest& request) = 0;
  virtual std::optional<ConfigFormRequest::Result> show(const ConfigFormRequest& request) = 0;
  virtual std::optional<ColorSelectRequest::Result> show(const ColorSelectRequest& request) = 0;
  virtual std::optional<PrintConfigRequest::Result> show(const PrintConfigRequest& request) = 0;
  virtual std::optional<PrinterInfoRequest::Result> show(const PrinterInfoRequest& request) = 0;
  virtual std::optional<PrintMacroRequest::Result> show(const PrintMacroRequest& request) = 0;
  virtual std::optional<FileOverviewRequest::Result> show(const FileOverviewRequest& request) = 0;
  virtual std::optional<PrintDrawingRequest::Result> show(const PrintDrawingRequest& request) = 0;
  virtual std::optional<ExportPictureRequest::Result> show(const ExportPictureRequest& request) = 0;
};

}  // namespace velk
