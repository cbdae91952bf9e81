// The one interface through which the core reaches the user: modal dialogs, message boxes,
// file choosers and the windows other parts show. Qt implements it in gui/, the headless
// implementation (batch mode, tests) in dialogs/headless.h. All texts are code page 850.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

struct Workspace;
struct OnlineFormRequest;  // dialogs/onlinetable.h
struct OnlineFormResult;

// The table browser window over the open table (ws.table). The window runs the browser's menu
// commands and grid edits through the Browser* functions of tables/tableservice.h on *ws and
// re-reads BrowseRows after each; texts are code page 850, filePath is native.
struct BrowseRequest {
  std::string caption;
  std::string title1, title2;
  int mode = 1;  // 1 selection (no editing, deleted records hidden), any other value edit
  std::string filePath;
  std::uint32_t currentRecord = 0;
  std::vector<std::uint32_t> rows;  // records shown, in display order
  uint16_t helpNumber = 0;
  Workspace* ws = nullptr;
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
// calls PrintTextFile(*ws, reportFile), "Export &Notepad" calls ExportNotepad(*ws, windowsFile)
// (report/reportwriter.h). Texts are code page 850.
struct ReportWindowRequest {
  std::string caption;             // application title + " - " + the file shown
  std::vector<std::string> lines;  // the lines of the Windows copy, as the memo shows them
  std::string windowsFile;         // "outwin.txt" in the folder for temporary files (native path)
  std::string reportFile;          // the report file in the DOS code page (native path)
  std::string font;                // printout font, size and style (bit 0 bold, 1 italic,
  int fontSize = 10;               // 2 underline, 3 strike-out)
  int fontStyle = 0;
  int left = 0, top = 0, width = 0, height = 0;  // saved position, used when width and height > 0
  Workspace* ws = nullptr;
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
};

}  // namespace velk
