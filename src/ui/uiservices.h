// The one interface through which the core reaches the user: modal dialogs, message boxes,
// file choosers and the windows other parts show. Qt implements it in gui/, the headless
// implementation (batch mode, tests) in ui/headless.h. All texts are code page 850.
//
// Every window has one shape: a request struct XxxRequest carries everything the window shows
// and a nested `using Result = XxxResult;`; the result carries what the user left in it.
//   std::optional<XxxRequest::Result> show(const XxxRequest&);   nullopt: cancelled
// A window that only closes returns Closed. A window that calls back into the core while it is
// open (a "..." chooser, a help button, the table browser's commands) gets a small interface or a
// std::function in its request, never the session. Beep, cursor and window title are plain
// notifications, not windows.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/canvas.h"
#include "ui/configform.h"
#include "ui/inputforms.h"
#include "ui/overviewform.h"
#include "ui/printforms.h"

namespace velk {

enum class MessageKind { Error, Info, Titled };
enum class CursorShape { Normal, Busy };

// What a window that can only be closed returns.
struct Closed {};

// ---- Value requests and message boxes (dialogs/dialogs.h) ----

// Single-line text dialog ("Eingabe"): the edit field holds text, at most maxLength characters
// (0: no limit).
struct TextResult {
  std::string text;
};
struct TextRequest {
  using Result = TextResult;
  std::string caption = "Eingabe";
  std::string prompt;
  std::string text;  // as the field opens
  int maxLength = 0;
  uint16_t helpNumber = 0;
};

// Radio dialog (up to 7 items) and list dialog, caption "Auswahl"; indices are 1-based.
struct ChoiceResult {
  int index = 1;
};
struct RadioRequest {
  using Result = ChoiceResult;
  std::string prompt;
  std::vector<std::string> items;
  int index = 1;  // preselected item
  uint16_t helpNumber = 0;
};
struct ListRequest {
  using Result = ChoiceResult;
  std::string prompt;
  std::vector<std::string> items;
  int index = 1;
  uint16_t helpNumber = 0;
};

// Yes/no dialog ("Eingabe") with "&Ja" / "&Nein", and the question box with yes, no and cancel;
// cancel is nullopt for both.
struct YesNoResult {
  bool yes = true;
};
struct YesNoRequest {
  using Result = YesNoResult;
  std::string prompt;
  bool yes = true;  // preset
  uint16_t helpNumber = 0;
};
struct QuestionRequest {
  using Result = YesNoResult;
  std::string caption;
  std::string question;
};

struct MessageRequest {
  using Result = Closed;
  MessageKind kind = MessageKind::Info;
  std::string caption;
  std::string text;
};

// Modal read-only text window with an "OK" button.
struct TextWindowRequest {
  using Result = Closed;
  std::string caption;
  std::vector<std::string> lines;
};

// ---- File choosers; paths are native ----
struct FileResult {
  std::string path;
};
struct FolderRequest {
  using Result = FileResult;
  std::string caption = "Select Directory";
  std::string start;  // start folder, empty: the chooser's own
};
struct OpenFileRequest {
  using Result = FileResult;
  std::string caption;
  std::string folder;       // start folder (native path)
  std::string filter;       // "*.vlk|*.vlk" style: description|pattern pairs
  std::string defaultName;  // proposed file name, may be empty
};
struct SaveFileRequest {
  using Result = FileResult;
  std::string caption;
  std::string folder;
  std::string filter;
  std::string defaultName;
};

struct OnlineFormRequest;  // ui/onlineform.h
struct OnlineFormResult;

// What a window may ask of the core while it is open: the help text and help image of a help
// number ("&Hilfetext", "Hilfe&bild"), the list of help images ("Hilfebil&der"; the window stays
// open, the abort flag as it was) and the tool tip of a help line (help levels 1 and 2).
class HelpProvider {
 public:
  virtual ~HelpProvider() = default;
  virtual void showHelpText(uint16_t helpNumber) = 0;
  virtual void showHelpImage(uint16_t helpNumber) = 0;
  virtual void showHelpImages() = 0;
  // Empty at help level 0 or when the help texts have no line for the number.
  virtual std::string hint(uint16_t helpNumber) = 0;
};

// The table browser's view of the open table, its menu commands and grid edits, run by the
// browser window. Before each command the window makes its row the table's current record
// (setCurrentRecord), after it the window re-reads rows() and moves to currentRecord() (search,
// append and pack move it). Record numbers are 1-based, field positions 1-based as setCell uses
// them; positions or records the table does not have read as empty. Texts are code page 850.
class BrowseController {
 public:
  virtual ~BrowseController() = default;
  virtual int fieldCount() = 0;
  virtual std::string fieldName(int pos) = 0;
  virtual char fieldType(int pos) = 0;                              // 'C', 'N', 'F', 'L', 'D', 'M'
  virtual std::string cellText(std::uint32_t record, int pos) = 0;  // as the table's FieldText
  virtual bool isDeleted(std::uint32_t record) = 0;
  virtual std::uint32_t recordCount() = 0;
  virtual std::uint32_t currentRecord() = 0;  // 0 only for an empty table
  // A record the table does not have is ignored.
  virtual void setCurrentRecord(std::uint32_t record) = 0;
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

// The table browser's menu texts, UTF-8 with "&" accelerators: the menus File, Edit, View and Help
// and the items Print, Exit and Common follow the chosen language, the others are the browser's
// own texts in every language.
struct BrowseMenuCaptions {
  std::string file, exportHtml, saveDelimited, appendDbf, appendDelimited, print, exit;
  std::string edit, append, pack, packHint;
  std::string view, search, searchNext;
  std::string help, common, helpImage, showFile;
};

// The table browser window over the open table. The window runs the browser's menu commands and
// grid edits through the controller; texts are code page 850 (menu: UTF-8), filePath is native.
// Result: the record chosen with OK.
struct BrowseResult {
  std::uint32_t record = 0;
};
struct BrowseRequest {
  using Result = BrowseResult;
  std::string caption;
  std::string title1, title2;
  int mode = 1;  // 1 selection (no editing, deleted records hidden), any other value edit
  std::string filePath;
  std::uint32_t currentRecord = 0;
  std::vector<std::uint32_t> rows;  // records shown, in display order
  uint16_t helpNumber = 0;
  BrowseMenuCaptions menu;
  BrowseController* controller = nullptr;
};

// The explanation window ("Fehlermeldung") of a calculation message; texts are code page 850.
// Result: closed with "OK"; nullopt: closed any other way.
// edited: a text was changed while the window was open; cause and remedy as the user left them.
struct ExplanationResult {
  bool edited = false;
  std::string cause;
  std::string remedy;
};
struct ExplanationRequest {
  using Result = ExplanationResult;
  std::string message;  // read-only
  std::string cause;    // editable, one line each
  std::string remedy;
  uint16_t helpNumber = 0;  // of the "&Hilfe" button
};

// The diagram limits form ("TEinDiagramLimits"): four edit boxes xmin, xmax, ymin, ymax holding
// texts in the short number format; "Calculate" puts the automatic texts into the boxes. Result:
// the boxes' texts on OK, same order (the caller reads them, "," accepted).
struct DiagramLimitsResult {
  std::vector<std::string> values;
};
struct DiagramLimitsRequest {
  using Result = DiagramLimitsResult;
  std::string caption;                 // the diagram title
  std::string xTitle, yTitle;          // labels beside the boxes
  std::vector<std::string> values;     // xmin, xmax, ymin, ymax as the boxes open
  std::vector<std::string> automatic;  // what "Calculate" fills in, same order
  uint16_t helpNumber = 0;             // of "&Hilfetext"
};

// The installation-angle form of the spring drawing: an edit box with the angle unit beside it,
// a track bar trackMin..trackMax and buttons that put preset texts ("delta c", "delta 2",
// "delta 1", "delta 0") into the box. Result: the box's text on OK.
struct InstallationAngleResult {
  std::string value;
};
struct InstallationAngleRequest {
  using Result = InstallationAngleResult;
  std::string caption;
  std::string unit;
  std::string value;                 // edit text as the form opens
  std::vector<std::string> presets;  // delta c, delta 2, delta 1, delta 0
  int trackMin = 0, trackMax = 0;
  uint16_t helpNumber = 0;
};

// The report text window ("TForm_showtextfile") over a finished screen report. Its "&Drucken..."
// and "Export &Notepad" go through the controller (printing reportFile, exporting windowsFile).
// Texts are code page 850. The window only closes; its result is where it was then.
struct ReportWindowResult;
struct ReportWindowRequest {
  using Result = ReportWindowResult;
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
// Result: printed, or nothing printed because no printer is installed; nullopt: cancelled.
struct PrintTextResult {
  bool noPrinter = false;  // nothing printed: no printer installed
  std::string pdfPath;     // no printer, but the pages were written into this PDF file instead
};
struct PrintTextRequest {
  using Result = PrintTextResult;
  std::string documentName;
  std::vector<std::string> lines;  // code page 850 (plain characters already applied), form feeds kept
  int pageCount = 1;               // lines that begin with a form feed
  int linesPerPage = 66;           // line height = page height / linesPerPage
  std::string font;
  int fontSize = 10;
  int fontStyle = 0;
};

// ---- Drawing documentation forms (docs/docmenu.h) ----
// Texts are code page 850. The forms return what was typed on OK; the caller applies the store
// rules (widths, counts), so a form need not enforce them beyond limiting its edit fields.

// The change entry form ("TForm_EinAend"): edit fields "Änderungstext", "Datum", "Bearbeiter",
// the memo "Beschreibung", and the button "<" + today that puts today into the date field.
struct ChangeEntryResult;
struct ChangeEntryRequest {
  using Result = ChangeEntryResult;
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
struct DrawingInfoResult;
struct DrawingInfoRequest {
  using Result = DrawingInfoResult;
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
struct DocumentSetupResult;
struct DocumentSetupRequest {
  using Result = DocumentSetupResult;
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
  int outcode = 1;                                    // RadioGroup_outcode: 1 HPL, 2 PS, 3 PLT, 4 PL2, 5 ART
  int outInterface = 2;                               // RadioGroup_d: 1 "seriell", 2 "parallel", 3 "Datei"
  std::string com = "1";                              // Edit_com
  std::string lpt = "1";                              // Edit_lpt
  std::string outdir;                                 // Edit_outdir ("Dir..." browses, "<" puts tempFolder back)
  std::string scale = "1";                            // Edit_scale
  bool fitScale = false;                              // CheckBox_scale "Maßstab anpassen ?": scale "0", box disabled
  bool rotate = false;                                // CheckBox_rotate
  std::string xnull = "0", ynull = "0";               // Edit_xnull, Edit_ynull
  std::string textWidth = "1";                        // Edit_textbreitenfaktor
  std::string psFont;                                 // ComboBox_psfont, enabled for PS only
};
struct PlotFormResult;
struct PlotFormRequest {
  using Result = PlotFormResult;
  PlotFormValues values;             // as the form opens
  std::vector<std::string> psFonts;  // the font list
  std::string tempFolder;            // native path
  bool toolTips = false;             // hints from the help texts (2080 .. 2280)
  uint16_t helpNumber = 2055;        // "&Hilfe"
  std::function<std::string(const PlotFormValues&)> commandLine;
};
// Result on OK; changed: a control was changed while the form was open.
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
// nullopt is taken as Leave with the position unchanged.
enum class HelpImageAction { Show, New, Delete, Change, Insert, Leave };
struct HelpImagesResult;
struct HelpImagesRequest {
  using Result = HelpImagesResult;
  std::string caption;             // application title + " Hilfebilder"
  std::vector<std::string> items;  // the entries
  int selected = 0;                // 1-based item selected as the window opens; 0 none
  int left = 1, top = 1;           // remembered position
  uint16_t helpNumber = 0;
  std::function<void()> onHelp;  // "&Hilfe"
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

// ---- The spring's texts ----
// The text dialog of the spring: drawing name ("Zeichnungsname"), its second line, drawing number
// ("Zeichnungsnummer") and the remark lines ("Zeile 1", "Zeile 2"), code page 850, each limited to
// its length. Result: the five texts as typed; nullopt: cancelled.
struct SpringTextsResult {
  std::string zeichname, zeichname2, zeichnr, bemerk1, bemerk2;
};
struct SpringTextsRequest {
  using Result = SpringTextsResult;
  std::string caption;
  std::array<std::string, 5> labels{};
  SpringTextsResult values;
  std::array<int, 5> lengths{};
  uint16_t helpNumber = 0;
  HelpProvider* help = nullptr;
};

// ---- Printing a drawing and exporting a picture ----
// One printed page (or picture) in device pixels; dpi for line widths and text sizes.
struct PageGeometry {
  int width = 0, height = 0;
  int dpiX = 96, dpiY = 96;
};

// Prints a drawing: the window asks for the printer (or a PDF file when none is installed),
// then calls paint once on the page's canvas. Result: printed; nullopt: cancelled.
// "Drucker..." of the print form: the platform's printer choice, which every later print of the
// run starts with. Result: the printer chosen (name code page 850) and its orientation.
struct ChoosePrinterResult {
  std::string name;
  bool landscape = false;
};
struct ChoosePrinterRequest {
  using Result = ChoosePrinterResult;
  std::string caption;  // code page 850
};

struct PrintDrawingRequest;
struct PrintDrawingResult {
  bool toPdf = false;  // no printer: written as a PDF file instead
  std::string pdfPath;
};
struct PrintDrawingRequest {
  using Result = PrintDrawingResult;
  std::string documentName;
  bool landscape = false;
  bool a3 = false;  // a PDF file gets an A3 page instead of A4 (a production drawing on A3)
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
  std::string folder;              // native
  std::string defaultName;         // without extension
  PageGeometry size;               // the picture's size (the graphics window's)
  uint32_t background = 0xFFFFFF;  // of PNG and SVG pictures, as the window shows them
  // PNG and SVG: the view as the window shows it.
  std::function<bool(Canvas& canvas, const PageGeometry& page)> paint;
  // PDF: the view as it would be printed (print layout, printer colours) on an A4 page.
  std::function<bool(Canvas& canvas, const PageGeometry& page)> paintPage;
};

class UiServices {
 public:
  virtual ~UiServices() = default;

  // ---- Notifications ----
  virtual void beep() = 0;
  virtual void setCursor(CursorShape shape) = 0;
  virtual void setWindowTitle(const std::string& title) = 0;
  // The default printer as the print forms show it; no name when none is installed (also
  // without a window).
  virtual PrinterInfo printerInfo() { return {}; }

  // ---- Windows: show(request) -> result, nullopt when cancelled (see the top of this file) ----
  virtual std::optional<TextRequest::Result> show(const TextRequest& request) = 0;
  virtual std::optional<RadioRequest::Result> show(const RadioRequest& request) = 0;
  virtual std::optional<ListRequest::Result> show(const ListRequest& request) = 0;
  virtual std::optional<YesNoRequest::Result> show(const YesNoRequest& request) = 0;
  virtual std::optional<QuestionRequest::Result> show(const QuestionRequest& request) = 0;
  virtual std::optional<MessageRequest::Result> show(const MessageRequest& request) = 0;
  virtual std::optional<TextWindowRequest::Result> show(const TextWindowRequest& request) = 0;
  virtual std::optional<FolderRequest::Result> show(const FolderRequest& request) = 0;
  virtual std::optional<OpenFileRequest::Result> show(const OpenFileRequest& request) = 0;
  virtual std::optional<SaveFileRequest::Result> show(const SaveFileRequest& request) = 0;
  virtual std::optional<BrowseRequest::Result> show(const BrowseRequest& request) = 0;
  // The online input form of the design modes (ui/onlineform.h); nullopt is Esc.
  virtual std::optional<OnlineFormResult> show(const OnlineFormRequest& request) = 0;
  virtual std::optional<ExplanationRequest::Result> show(const ExplanationRequest& request) = 0;
  virtual std::optional<DiagramLimitsRequest::Result> show(const DiagramLimitsRequest& request) = 0;
  virtual std::optional<InstallationAngleRequest::Result> show(const InstallationAngleRequest& request) = 0;
  virtual std::optional<ReportWindowRequest::Result> show(const ReportWindowRequest& request) = 0;
  virtual std::optional<PrintTextRequest::Result> show(const PrintTextRequest& request) = 0;
  virtual std::optional<ChangeEntryRequest::Result> show(const ChangeEntryRequest& request) = 0;
  virtual std::optional<DrawingInfoRequest::Result> show(const DrawingInfoRequest& request) = 0;
  virtual std::optional<DocumentSetupRequest::Result> show(const DocumentSetupRequest& request) = 0;
  virtual std::optional<HelpImagesRequest::Result> show(const HelpImagesRequest& request) = 0;
  virtual std::optional<PlotFormRequest::Result> show(const PlotFormRequest& request) = 0;
  virtual std::optional<SpringTextsRequest::Result> show(const SpringTextsRequest& request) = 0;
  virtual std::optional<SpringEndsRequest::Result> show(const SpringEndsRequest& request) = 0;
  virtual std::optional<ApplicationRequest::Result> show(const ApplicationRequest& request) = 0;
  virtual std::optional<CalcSettingsRequest::Result> show(const CalcSettingsRequest& request) = 0;
  virtual std::optional<ConfigFormRequest::Result> show(const ConfigFormRequest& request) = 0;
  virtual std::optional<ColorSelectRequest::Result> show(const ColorSelectRequest& request) = 0;
  virtual std::optional<PrintConfigRequest::Result> show(const PrintConfigRequest& request) = 0;
  virtual std::optional<PrinterInfoRequest::Result> show(const PrinterInfoRequest& request) = 0;
  virtual std::optional<PrintMacroRequest::Result> show(const PrintMacroRequest& request) = 0;
  virtual std::optional<ChoosePrinterRequest::Result> show(const ChoosePrinterRequest& request) = 0;
  virtual std::optional<FileOverviewRequest::Result> show(const FileOverviewRequest& request) = 0;
  virtual std::optional<PrintDrawingRequest::Result> show(const PrintDrawingRequest& request) = 0;
  virtual std::optional<ExportPictureRequest::Result> show(const ExportPictureRequest& request) = 0;
};

}  // namespace velk
