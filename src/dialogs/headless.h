// Headless user interface: answers from a script and records every request.
// Batch mode answers every question with cancel and prints messages to stderr;
// in a test an unexpected question is reported through onUnexpected.
#pragma once

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
  enum class Kind { Text, Choice, Yes, No, Cancel, Online };
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
};

// What was asked or shown, in order.
struct Request {
  enum class Kind { Text, Radio, List, YesNo, Question, Message, Folder, OpenFile, SaveFile, TextWindow, Beep,
                    Browse, Online, Explanation, DiagramLimits, InstallationAngle, Print };
  Kind kind;
  std::string caption;
  std::string prompt;  // prompt, question or message text
  std::string offered;  // offered text / start folder
  std::vector<std::string> items;
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

 private:
  // Next scripted answer, or Cancel (after reporting) when there is none.
  Answer next(const Request& r);
  // The same without recording r (already recorded).
  Answer take(const Request& r);

  Mode mode_;
  std::deque<Answer> answers_;
  std::vector<Request> requests_;
  std::ostream* err_;
  std::ostream* out_;
};

}  // namespace velk
