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

#include "ui/onlineform.h"
#include "ui/uiservices.h"

namespace velk {

// One typed value of the online input form: row is the 1-based input row, text replaces its edit text.
struct OnlineEdit {
  int row = 1;
  std::string text;
};

// One scripted answer, taken by the next window that asks for one. Every window takes
//   With(result)       left with this result (Result = the request's Result type);
//   Acting<Request>(f) the user acts in the window: f gets the request, may call its callbacks
//                      (a "..." chooser, "&Hilfe", a preset button's text ...) and returns the
//                      result the window is left with;
//   Cancel()           cancelled (nullopt).
// The simple answers keep their one meaning where it is plain:
//   Text(t)     a text dialog (CP850) or a file or folder chooser (native path);
//   Choice(n)   item n of a radio or list dialog or of the help image list, record n of the table
//               browser;
//   Yes(), No() a yes/no dialog or question box; Yes() also closes a form with OK leaving it as
//               it opened (explanation window, diagram limits, installation angle, the drawing
//               documentation forms, plot configuration) and the help image browser with "OK";
//   Online(...) the online input form (Cancel there is Esc).
// Message boxes, text and report windows and printing take no answer.
struct Answer {
  enum class Kind { Text, Choice, Yes, No, Cancel, Online, Window };
  Kind kind = Kind::Cancel;
  std::string text;
  int choice = 0;
  // Online: the edits typed, then the way the form is left, with the focus in the row given by
  // choice (0: the last edited row, or the row the form opened with).
  std::vector<OnlineEdit> edits{};
  OnlineClose close = OnlineClose::Confirm;
  // Window: the result, or the std::function<Result(const Request&)> of Acting.
  std::any value{};

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
  template <class Result>
  static Answer With(Result result) {
    Answer a{Kind::Window, {}, 0};
    a.value = std::move(result);
    return a;
  }
  template <class Request>
  static Answer Acting(std::function<typename Request::Result(const Request&)> act) {
    Answer a{Kind::Window, {}, 0};
    a.value = std::move(act);
    return a;
  }
};

// What was asked or shown, in order.
struct Request {
  enum class Kind {
    Text,
    Radio,
    List,
    YesNo,
    Question,
    Message,
    Folder,
    OpenFile,
    SaveFile,
    TextWindow,
    Beep,
    Browse,
    Online,
    Explanation,
    DiagramLimits,
    InstallationAngle,
    Print,
    ChangeEntry,
    DrawingInfo,
    DocumentSetup,
    HelpImages /* help image browser */,
    PlotForm,
    Window /* a window of the one shape: caption names its request type */
  };
  Kind kind;
  std::string caption{};
  std::string prompt{};   // prompt, question or message text
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
  void clearShown() { windows_.clear(); }
  // Messages (error/info/titled) shown so far, CP850.
  std::vector<std::string> messages(MessageKind kind) const;
  // Called with a description when a question arrives that the script has no answer for.
  std::function<void(const std::string&)> onUnexpected;
  // Where batch mode prints (default stderr for messages, stdout for text windows).
  void setStreams(std::ostream* err, std::ostream* out) {
    err_ = err;
    out_ = out;
  }
  std::string windowTitle;
  // Runs while the table browser is "open", before its scripted answer is taken: a test can
  // act as the user inside the window (search, edit, append ...).
  std::function<void(const BrowseRequest&)> onBrowse;

  // Notifications: a beep is recorded; the cursor is ignored; the title is kept in windowTitle.
  void beep() override;
  void setCursor(CursorShape) override {}
  void setWindowTitle(const std::string& title) override { windowTitle = title; }

  // ---- Value requests. Recorded with caption, prompt, offered = the text (yes/no: "J"/"N"),
  // items, maxLength, index = the preselected item (yes/no: 1 yes, 2 no) and helpNumber. A typed
  // text is cut to maxLength.
  std::optional<TextRequest::Result> show(const TextRequest& q) override;
  std::optional<RadioRequest::Result> show(const RadioRequest& q) override;
  std::optional<ListRequest::Result> show(const ListRequest& q) override;
  std::optional<YesNoRequest::Result> show(const YesNoRequest& q) override;
  std::optional<QuestionRequest::Result> show(const QuestionRequest& q) override;
  // Message box: recorded (prompt = text), printed to the error stream in batch mode; no answer.
  std::optional<MessageRequest::Result> show(const MessageRequest& q) override;
  // Text window: recorded (items = lines), printed to the output stream in batch mode; no answer.
  std::optional<TextWindowRequest::Result> show(const TextWindowRequest& q) override;
  // File choosers: recorded with prompt = filter, offered = start folder.
  std::optional<FolderRequest::Result> show(const FolderRequest& q) override;
  std::optional<OpenFileRequest::Result> show(const OpenFileRequest& q) override;
  std::optional<SaveFileRequest::Result> show(const SaveFileRequest& q) override;
  // Table browser: the record chosen must be one of the rows shown (read again through the
  // controller after onBrowse). Recorded with prompt = title 2, offered = file path, index =
  // current record, mode and records.
  std::optional<BrowseRequest::Result> show(const BrowseRequest& q) override;
  // Online input form: Online(...) types into the rows shown; Cancel is Esc (nullopt). Recorded
  // with caption, prompt = online title, helpNumber and index = focus row.
  std::optional<OnlineFormResult> show(const OnlineFormRequest& q) override;
  // Explanation window: recorded with prompt = message, items = {cause, remedy}.
  std::optional<ExplanationRequest::Result> show(const ExplanationRequest& q) override;
  // Diagram limits form: recorded with prompt = x title, offered = y title, items = the box
  // texts. A result with fewer than four texts keeps the other boxes' texts; "Calculate" is
  // Acting returning the request's automatic texts.
  std::optional<DiagramLimitsRequest::Result> show(const DiagramLimitsRequest& q) override;
  // Installation-angle form: recorded with prompt = unit, offered = the edit text, items = the
  // presets, index = track bar minimum. A preset button is Acting returning that preset's text.
  std::optional<InstallationAngleRequest::Result> show(const InstallationAngleRequest& q) override;
  // Report text window: recorded as a text window (caption, offered = Windows file, items =
  // lines; printed to the output stream in batch mode); no answer, the saved position stays.
  std::optional<ReportWindowRequest::Result> show(const ReportWindowRequest& q) override;
  // Printing: there is no printer here. Recorded (caption = document name, items = lines,
  // index = page count); no answer, the result says no printer.
  std::optional<PrintTextRequest::Result> show(const PrintTextRequest& q) override;
  // Drawing documentation forms, recorded with caption and helpNumber (change entry: prompt =
  // designation, offered = date, items = {editor, description}; drawing info: prompt = "Ersatz
  // für", offered = "Ersetzt durch"). Their buttons are Acting: "<" + today returns the
  // request's today in the date field; the document setup's "..." of field k calls
  // request.browse(k, text) (whose file dialog takes the next scripted answer).
  std::optional<ChangeEntryRequest::Result> show(const ChangeEntryRequest& q) override;
  std::optional<DrawingInfoRequest::Result> show(const DrawingInfoRequest& q) override;
  std::optional<DocumentSetupRequest::Result> show(const DocumentSetupRequest& q) override;
  // Help image browser: recorded with caption, items, index = the item selected as it opens,
  // helpNumber. Choice(n) selects item n (Show, position kept); Yes presses "OK" (Leave);
  // Cancel is nullopt. An arrow is a Show of HelpImageArrow(...); "&Hilfe" is Acting calling
  // request.onHelp() before returning what the window is then left with.
  std::optional<HelpImagesRequest::Result> show(const HelpImagesRequest& q) override;
  // Plot configuration form: recorded with caption "PLOTRIX", prompt = the command line the
  // form opens with, offered = the temporary folder. The format must be 1..5 and the interface
  // 1..3; "Maßstab anpassen ?" sets the scale to "0". Yes is OK unchanged (changed false).
  std::optional<PlotFormRequest::Result> show(const PlotFormRequest& q) override;

  // ---- The input forms, configuration, print setup, file overview, printing and picture export:
  // answered by With, Acting or Cancel (Yes is a mismatch: their values unchanged are not known
  // here). Recorded in requests() with kind Window and caption = the window's name.
  std::optional<SpringTextsRequest::Result> show(const SpringTextsRequest& q) override {
    return window(q, "text dialog");
  }
  std::optional<SpringEndsRequest::Result> show(const SpringEndsRequest& q) override {
    return window(q, "spring ends form");
  }
  std::optional<ApplicationRequest::Result> show(const ApplicationRequest& q) override {
    return window(q, "application form");
  }
  std::optional<CalcSettingsRequest::Result> show(const CalcSettingsRequest& q) override {
    return window(q, "calculation settings form");
  }
  std::optional<ConfigFormRequest::Result> show(const ConfigFormRequest& q) override {
    return window(q, "configuration dialog");
  }
  std::optional<ColorSelectRequest::Result> show(const ColorSelectRequest& q) override {
    return window(q, "colour list");
  }
  std::optional<PrintConfigRequest::Result> show(const PrintConfigRequest& q) override {
    return window(q, "print configuration window");
  }
  std::optional<PrinterInfoRequest::Result> show(const PrinterInfoRequest& q) override {
    return window(q, "printer information");
  }
  std::optional<PrintMacroRequest::Result> show(const PrintMacroRequest& q) override {
    return window(q, "print macro");
  }
  std::optional<ChoosePrinterRequest::Result> show(const ChoosePrinterRequest& q) override {
    return window(q, "printer choice");
  }
  std::optional<FileOverviewRequest::Result> show(const FileOverviewRequest& q) override {
    return window(q, "file overview");
  }
  // Printing and picture export: there is no printer or picture window here; a scripted result
  // is returned as it is (the paint callback is not called).
  std::optional<PrintDrawingRequest::Result> show(const PrintDrawingRequest& q) override {
    return window(q, "print drawing");
  }
  std::optional<ExportPictureRequest::Result> show(const ExportPictureRequest& q) override {
    return window(q, "export picture");
  }
  // Every request of type R shown so far, in order (every window is recorded in full here).
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

  // What answer a makes of window q (recorded as r): With(result), Acting(f), Cancel, or a
  // simple answer the window understands, turned into its result by simple(a, fits); simple
  // sets fits to false for an answer that does not fit (reported, nullopt).
  template <class R, class Simple>
  std::optional<typename R::Result> resolve(const R& q, const Request& r, const Answer& a, Simple simple) {
    using Result = typename R::Result;
    if (a.kind == Answer::Kind::Cancel) return std::nullopt;
    if (a.kind == Answer::Kind::Window) {
      if (const auto* result = std::any_cast<Result>(&a.value)) return *result;
      if (const auto* act = std::any_cast<std::function<Result(const R&)>>(&a.value))
        if (*act) return (*act)(q);
    } else {
      bool fits = true;
      std::optional<Result> result = simple(a, fits);
      if (fits) return result;
    }
    windowMismatch(r);
    return std::nullopt;
  }
  // Records q and r, takes the next answer and resolves it.
  template <class R, class Simple>
  std::optional<typename R::Result> window(const R& q, const Request& r, Simple simple) {
    windows_.emplace_back(q);
    return resolve(q, r, next(r), simple);
  }
  template <class R>
  std::optional<typename R::Result> window(const R& q, const char* name) {
    return window(q, Request{Request::Kind::Window, name, {}, {}, {}},
                  [](const Answer&, bool& fits) -> std::optional<typename R::Result> {
                    fits = false;
                    return std::nullopt;
                  });
  }
  // The window only shows something: recorded, no answer taken.
  template <class R>
  void record(const R& q, const Request& r) {
    windows_.emplace_back(q);
    requests_.push_back(r);
  }
  template <class R>
  std::optional<ChoiceResult> choiceWindow(const R& q, Request::Kind kind);
  void windowMismatch(const Request& r) const;

  Mode mode_;
  std::vector<std::any> windows_;
  std::deque<Answer> answers_;
  std::vector<Request> requests_;
  std::ostream* err_;
  std::ostream* out_;
};

}  // namespace velk
