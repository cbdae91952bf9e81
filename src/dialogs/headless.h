// Headless user interface: answers from a script and records every request.
// Batch mode answers every question with cancel and prints messages to stderr;
// in a test an unexpected question is reported through onUnexpected.
#pragma once

#include <any>
#include <deque>
#include <functional>
#include <iosfwd>
#include <string>
#include <variant>
#include <vector>

#include "dialogs/onlinetable.h"
#include "dialogs/uiservices.h"

namespace velk {

// One typed value of the online input form: row is the 1-based input row, text replaces its edit text.
struct OnlineEdit {
  int row = 1;
  std::string text;
};

// One scripted answer. Text answers a text dialog (CP850) or a file chooser (native path);
// Choice a radio/list dialog or the table browser (the record number chosen); Yes/No a yes/no
// dialog or question box; Cancel anything; Online the online input form (Cancel there is Esc).
struct Answer {
  enum class Kind { Text, Choice, Yes, No, Cancel, Online, Window };
  Kind kind = Kind::Cancel;
  std::string text;
  int choice = 0;
  // Online: the edits typed, then the way the form is left, with the focus in the row given by
  // choice (0: the last edited row, or the row the form opened with).
  std::vector<OnlineEdit> edits{};
  OnlineClose close = OnlineClose::Confirm;
  // Text answering the explanation window: the remedy typed (text holds the cause).
  std::string text2{};

  static Answer Text(std::string t) { return {Kind::Text, std::move(t), 0}; }
  static Answer Choice(int n) { return {Kind::Choice, {}, n}; }
  static Answer Yes() { return {Kind::Yes, {}, 0}; }
  static Answer No() { return {Kind::No, {}, 0}; }
  static Answer Cancel() { return {Kind::Cancel, {}, 0}; }
  static Answer Online(std::vector<OnlineEdit> edits, OnlineClose close = OnlineClose::Confirm, int focusRow = 0) {
    Answer a;
    a.kind = Kind::Online;
    a.choice = focusRow;
    a.edits = std::move(edits);
    a.close = close;
    return a;
  }
  // The explanation window closed with OK after the user edited cause and remedy. (Yes closes
  // it with OK unchanged, No and Cancel close it without OK.)
  static Answer Edited(std::string cause, std::string remedy) {
    Answer a{Kind::Text, std::move(cause), 0};
    a.text2 = std::move(remedy);
    return a;
  }
  // Drawing documentation forms: the fields typed (row = field number, see the form's entry in
  // HeadlessUi), then the button pressed (0: none), then OK. Yes is OK unchanged.
  // A window of the one shape (show(request) -> result) left with this result.
  template <class Result>
  static Answer With(Result result) {
    Answer a{Kind::Window, {}, 0};
    a.value = std::move(result);
    return a;
  }
  std::any value{};

  static Answer Form(std::vector<OnlineEdit> fields, int button = 0) {
    Answer a{Kind::Text, {}, button};
    a.edits = std::move(fields);
    return a;
  }
};

// Field numbers of the drawing information form in a scripted Answer::Form: 1 "Ersatz für",
// 2 "Ersetzt durch", grid 1 cell (row 1..4, column 1 "Datum" / 2 "Name"), grid 2 cell (row
// 1..8, column 1 x .. 5 "Text"). The button of Answer::Form is the row (1..4) of a date button.
constexpr int infoPeopleField(int row, int column) { return 10 * row + column; }
constexpr int infoTextField(int row, int column) { return 100 + 10 * row + column; }

// What was asked or shown, in order.
struct Request {
  enum class Kind { Text, Radio, List, YesNo, Question, Message, Folder, OpenFile, SaveFile, TextWindow, Beep,
                    Browse, Online, Explanation, DiagramLimits, InstallationAngle, Print,
                    ChangeEntry, DrawingInfo, DocumentSetup,
                    HelpImages /* help image browser */, PlotForm,
                    Window /* a window of the one shape: caption names its request type */ };
  Kind kind;
  std::string caption{};
  std::string prompt{};  // prompt, question or message text
  std::string offered{};  // offered text / start folder
  std::vector<std::string> items{};
  int maxLength = 0;
  int index = 0;  // preselected item
  uint16_t helpNumber = 0;
  MessageKind messageKind = MessageKind::Info;
  // Table browser: mode and the records shown (index = current record, offered = file path,
  // prompt = title 2).
  int mode = 0;
  std::vector<std::uint32_t> records{};
};

class HeadlessUi : public UiServices {
 public:
  enum class Mode { Batch, Scripted };
  explicit HeadlessUi(Mode mode = Mode::Scripted);

  void script(std::initializer_list<Answer> answers);
  void push(Answer a) { answers_.push_back(std::move(a)); }
  bool scriptDone() const { return answers_.empty(); }
  const std::vector<Request>& requests() const { return requests_; }
  void clearRequests() { requests_.clear(); }
  // Messages (error/info/titled) shown so far, CP850.
  std::vector<std::string> messages(MessageKind kind) const;
  // Called with a description when a question arrives that the script has no answer for.
  std::function<void(const std::string&)> onUnexpected;
  // Where batch mode prints (default stderr for messages, stdout for text windows).
  void setStreams(std::ostream* err, std::ostream* out) { err_ = err; out_ = out; }
  std::string windowTitle;
  // Runs while the table browser is "open", before its scripted answer is taken: a test can
  // act as the user inside the window (search, edit, append ...).
  std::function<void(const BrowseRequest&)> onBrowse;

  bool textDialog(const std::string& caption, const std::string& prompt, int maxLength, std::string& text,
                  uint16_t helpNumber) override;
  bool radioDialog(const std::string& prompt, const std::vector<std::string>& items, int& index,
                   uint16_t helpNumber) override;
  bool listDialog(const std::string& prompt, const std::vector<std::string>& items, int& index,
                  uint16_t helpNumber) override;
  bool yesNoDialog(const std::string& prompt, bool& yes, uint16_t helpNumber) override;
  QuestionAnswer questionBox(const std::string& caption, const std::string& question) override;
  void messageBox(MessageKind kind, const std::string& caption, const std::string& text) override;
  void beep() override;
  void setCursor(CursorShape) override {}
  void setWindowTitle(const std::string& title) override { windowTitle = title; }
  std::optional<std::string> chooseFolder(const std::string& start) override;
  std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
  void showTextWindow(const std::string& caption, const std::vector<std::string>& lines) override;
  // Choice(n) selects record n, which must be one of the rows shown; Cancel cancels.
  std::optional<std::uint32_t> browseTable(const BrowseRequest& request) override;
  // Online input form: takes an Online answer (Cancel = Esc). Each showing is recorded in
  // requests() (caption, helpNumber, index = focus row) and in full in onlineTables.
  void showOnlineTable(const OnlineFormRequest& request, OnlineFormResult& result) override;
  std::vector<OnlineFormRequest> onlineTables;
  // Explanation window: recorded with prompt = message, items = {cause, remedy}.
  void showExplanation(const ExplanationRequest& request, ExplanationResult& result) override;
  // Diagram limits form: recorded with prompt = x title, offered = y title, items = the box texts,
  // and in full in limitsForms. Text "a;b;c;d" types the boxes (fields left out keep their text),
  // Choice(1) presses "Calculate", then OK; Yes is OK unchanged; Cancel cancels.
  bool diagramLimitsDialog(DiagramLimitsRequest& request) override;
  std::vector<DiagramLimitsRequest> limitsForms;
  // Installation-angle form: recorded with prompt = unit, offered = the edit text, items = the
  // presets, index = track bar minimum, and in full in angleForms. Text types the box, Choice(k)
  // presses preset button k (1 delta c .. 4 delta 0), then OK; Yes is OK unchanged; Cancel cancels.
  bool installationAngleDialog(InstallationAngleRequest& request) override;
  std::vector<InstallationAngleRequest> angleForms;
  // Report text window: recorded as a text window (caption, items = lines; printed to the output
  // stream in batch mode) and in full in reportWindows; the saved position stays.
  void showReportWindow(const ReportWindowRequest& request, ReportWindowResult& result) override;
  std::vector<ReportWindowRequest> reportWindows;
  // Printing: there is no printer here. Recorded (caption = document name, items = lines,
  // index = page count); answers NoPrinter.
  PrintOutcome printText(const PrintTextRequest& request) override;

  // Drawing documentation forms, answered by Answer::Form (fields, button, OK), Yes (OK
  // unchanged) or Cancel. Each is recorded in requests() (caption, helpNumber) and in full below.
  // Change entry: fields 1 "Änderungstext", 2 "Datum", 3 "Bearbeiter", 4 "Beschreibung"; button 1
  // is "<" + today.
  bool changeEntryForm(const ChangeEntryRequest& request, ChangeEntryResult& result) override;
  std::vector<ChangeEntryRequest> changeEntryForms;
  // Drawing information: fields as infoPeopleField / infoTextField above.
  bool drawingInfoForm(const DrawingInfoRequest& request, DrawingInfoResult& result) override;
  std::vector<DrawingInfoRequest> drawingInfoForms;
  // Document setup: field 2n - 1 "Program n", 2n "File n"; button k presses the "..." of field k
  // (its file dialog takes the next scripted answer).
  bool documentSetupForm(const DocumentSetupRequest& request, DocumentSetupResult& result) override;
  std::vector<DocumentSetupRequest> documentSetupForms;

  // ---- Help images: the browser window. Recorded with caption, items, index = the item
  // selected as it opens, helpNumber. Choice(n) selects item n (Show); Text "up" / "down" presses
  // an arrow (Show); Text "new", "delete", "change", "insert" presses that button (with the
  // selection the window opened with, "new" with none); Text "help" presses "&Hilfe" (onHelp
  // runs, the window stays open for the next answer); Yes or Cancel presses "OK" (Leave).
  void showHelpImages(const HelpImagesRequest& request, HelpImagesResult& result) override;
  std::vector<HelpImagesRequest> helpImageWindows;

  // Plot configuration form (plot program output), answered by Answer::Form (the controls set,
  // button 1 "<" puts the temporary folder back into the output directory, then OK), Yes (OK
  // unchanged) or Cancel. Recorded with prompt = the command line the form opens with, offered =
  // the temporary folder, and in full in plotForms. Fields: 1 program path, 2 format (1..5), 3
  // interface (1..3), 4 COM, 5 LPT, 6 output directory, 7 scale, 8 fit scale (0/1), 9 rotate
  // (0/1), 10 x shift, 11 y shift, 12 text width factor, 13 PostScript font.
  bool plotConfigForm(const PlotFormRequest& request, PlotFormResult& result) override;
  std::vector<PlotFormRequest> plotForms;

  // ---- Windows of the one shape: answered by Answer::With(result) or Answer::Cancel() (Yes: the
  // window's own values unchanged are not known here, so it is a mismatch). Each showing is
  // recorded in requests() (kind Window, caption = the request's name) and in full in shown<R>().
  std::optional<SpringEndsRequest::Result> show(const SpringEndsRequest& q) override { return window(q, "spring ends form"); }
  std::optional<ApplicationRequest::Result> show(const ApplicationRequest& q) override { return window(q, "application form"); }
  std::optional<CalcSettingsRequest::Result> show(const CalcSettingsRequest& q) override {
    return window(q, "calculation settings form");
  }
  std::optional<ConfigFormRequest::Result> show(const ConfigFormRequest& q) override { return window(q, "configuration dialog"); }
  std::optional<ColorSelectRequest::Result> show(const ColorSelectRequest& q) override { return window(q, "colour list"); }
  std::optional<PrintConfigRequest::Result> show(const PrintConfigRequest& q) override {
    return window(q, "print configuration window");
  }
  std::optional<PrinterInfoRequest::Result> show(const PrinterInfoRequest& q) override { return window(q, "printer information"); }
  std::optional<PrintMacroRequest::Result> show(const PrintMacroRequest& q) override { return window(q, "print macro"); }
  std::optional<FileOverviewRequest::Result> show(const FileOverviewRequest& q) override { return window(q, "file overview"); }
  // Printing and picture export: there is no printer or picture window here; a scripted result
  // is returned as it is (the paint callback is not called).
  std::optional<PrintDrawingRequest::Result> show(const PrintDrawingRequest& q) override { return window(q, "print drawing"); }
  std::optional<ExportPictureRequest::Result> show(const ExportPictureRequest& q) override {
    return window(q, "export picture");
  }
  // Every request of type R shown so far, in order.
  template <class R>
  std::vector<R> shown() const {
    std::vector<R> out;
    for (const std::any& w : windows_)
      if (const R* r = std::any_cast<R>(&w)) out.push_back(*r);
    return out;
  }

 private:
  // Next scripted answer, or Cancel (after reporting) when there is none.
  Answer next(const Request& r);
  // The same without recording r (already recorded).
  Answer take(const Request& r);

  template <class R>
  std::optional<typename R::Result> window(const R& q, const char* name) {
    Request r{Request::Kind::Window, name, {}, {}, {}};
    windows_.emplace_back(q);
    const Answer a = next(r);
    if (a.kind == Answer::Kind::Cancel) return std::nullopt;
    if (const auto* result = std::any_cast<typename R::Result>(&a.value)) return *result;
    windowMismatch(r);
    return std::nullopt;
  }
  void windowMismatch(const Request& r) const;

  Mode mode_;
  std::vector<std::any> windows_;
  std::deque<Answer> answers_;
  std::vector<Request> requests_;
  std::ostream* err_;
  std::ostream* out_;
};

}  // namespace velk
