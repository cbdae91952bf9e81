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

#include "dialogs/uiservices.h"

namespace velk {

// One scripted answer. Text answers a text dialog (CP850) or a file chooser (native path);
// Choice a radio/list dialog; Yes/No a yes/no dialog or question box; Cancel anything.
struct Answer {
  enum class Kind { Text, Choice, Yes, No, Cancel };
  Kind kind = Kind::Cancel;
  std::string text;
  int choice = 0;

  static Answer Text(std::string t) { return {Kind::Text, std::move(t), 0}; }
  static Answer Choice(int n) { return {Kind::Choice, {}, n}; }
  static Answer Yes() { return {Kind::Yes, {}, 0}; }
  static Answer No() { return {Kind::No, {}, 0}; }
  static Answer Cancel() { return {Kind::Cancel, {}, 0}; }
};

// What was asked or shown, in order.
struct Request {
  enum class Kind { Text, Radio, List, YesNo, Question, Message, Folder, OpenFile, SaveFile, TextWindow, Beep };
  Kind kind;
  std::string caption;
  std::string prompt;  // prompt, question or message text
  std::string offered;  // offered text / start folder
  std::vector<std::string> items;
  int maxLength = 0;
  int index = 0;  // preselected item
  uint16_t helpNumber = 0;
  MessageKind messageKind = MessageKind::Info;
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

 private:
  // Next scripted answer, or Cancel (after reporting) when there is none.
  Answer next(const Request& r);

  Mode mode_;
  std::deque<Answer> answers_;
  std::vector<Request> requests_;
  std::ostream* err_;
  std::ostream* out_;
};

}  // namespace velk
