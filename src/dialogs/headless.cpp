// Headless user interface: scripted answers, recorded requests, batch-mode printing.
#include "dialogs/headless.h"

#include <algorithm>
#include <iostream>

#include "data/codepage.h"
#include "tables/tableservice.h"

namespace velk {

HeadlessUi::HeadlessUi(Mode mode) : mode_(mode), err_(&std::cerr), out_(&std::cout) {}

void HeadlessUi::script(std::initializer_list<Answer> answers) {
  for (const Answer& a : answers) answers_.push_back(a);
}

std::vector<std::string> HeadlessUi::messages(MessageKind kind) const {
  std::vector<std::string> out;
  for (const Request& r : requests_)
    if (r.kind == Request::Kind::Message && r.messageKind == kind) out.push_back(r.prompt);
  return out;
}

static const char* kindName(Request::Kind k) {
  switch (k) {
    case Request::Kind::Text: return "text dialog";
    case Request::Kind::Radio: return "radio dialog";
    case Request::Kind::List: return "list dialog";
    case Request::Kind::YesNo: return "yes/no dialog";
    case Request::Kind::Question: return "question";
    case Request::Kind::Message: return "message";
    case Request::Kind::Folder: return "folder dialog";
    case Request::Kind::OpenFile: return "open dialog";
    case Request::Kind::SaveFile: return "save dialog";
    case Request::Kind::TextWindow: return "text window";
    case Request::Kind::Beep: return "beep";
    case Request::Kind::Browse: return "table browser";
    case Request::Kind::Online: return "online input form";
    case Request::Kind::Explanation: return "explanation window";
    case Request::Kind::DiagramLimits: return "diagram limits form";
    case Request::Kind::InstallationAngle: return "installation-angle form";
    case Request::Kind::Print: return "print dialog";
  }
  return "request";
}

Answer HeadlessUi::next(const Request& r) {
  requests_.push_back(r);
  return take(r);
}

Answer HeadlessUi::take(const Request& r) {
  if (mode_ == Mode::Batch) return Answer::Cancel();
  if (answers_.empty()) {
    if (onUnexpected) onUnexpected(std::string("unexpected ") + kindName(r.kind) + ": " + cp850ToUtf8(r.prompt));
    return Answer::Cancel();
  }
  Answer a = answers_.front();
  answers_.pop_front();
  return a;
}

static void mismatch(const HeadlessUi& ui, const Request& r, const char* expected) {
  if (ui.onUnexpected)
    ui.onUnexpected(std::string("scripted answer does not fit the ") + kindName(r.kind) + " (" + expected +
                    "): " + cp850ToUtf8(r.prompt));
}

bool HeadlessUi::textDialog(const std::string& caption, const std::string& prompt, int maxLength,
                            std::string& text, uint16_t helpNumber) {
  Request r{Request::Kind::Text, caption, prompt, text, {}, maxLength, 0, helpNumber};
  Answer a = next(r);
  if (a.kind == Answer::Kind::Cancel) return false;
  if (a.kind != Answer::Kind::Text) {
    mismatch(*this, r, "text");
    return false;
  }
  // The edit field limits what can be typed.
  text = maxLength > 0 && static_cast<int>(a.text.size()) > maxLength ? a.text.substr(0, maxLength) : a.text;
  return true;
}

static bool choose(HeadlessUi& ui, Answer a, const Request& r, int& index) {
  if (a.kind == Answer::Kind::Cancel) return false;
  if (a.kind != Answer::Kind::Choice || a.choice < 1 || a.choice > static_cast<int>(r.items.size())) {
    mismatch(ui, r, "choice");
    return false;
  }
  index = a.choice;
  return true;
}

bool HeadlessUi::radioDialog(const std::string& prompt, const std::vector<std::string>& items, int& index,
                             uint16_t helpNumber) {
  Request r{Request::Kind::Radio, oem("Auswahl"), prompt, {}, items, 0, index, helpNumber};
  return choose(*this, next(r), r, index);
}

bool HeadlessUi::listDialog(const std::string& prompt, const std::vector<std::string>& items, int& index,
                            uint16_t helpNumber) {
  Request r{Request::Kind::List, oem("Auswahl"), prompt, {}, items, 0, index, helpNumber};
  return choose(*this, next(r), r, index);
}

bool HeadlessUi::yesNoDialog(const std::string& prompt, bool& yes, uint16_t helpNumber) {
  Request r{Request::Kind::YesNo, "Eingabe", prompt, yes ? "J" : "N", {}, 0, yes ? 1 : 2, helpNumber};
  Answer a = next(r);
  if (a.kind == Answer::Kind::Yes || a.kind == Answer::Kind::No) {
    yes = a.kind == Answer::Kind::Yes;
    return true;
  }
  if (a.kind != Answer::Kind::Cancel) mismatch(*this, r, "yes/no");
  return false;
}

QuestionAnswer HeadlessUi::questionBox(const std::string& caption, const std::string& question) {
  Request r{Request::Kind::Question, caption, question};
  Answer a = next(r);
  switch (a.kind) {
    case Answer::Kind::Yes: return QuestionAnswer::Yes;
    case Answer::Kind::No: return QuestionAnswer::No;
    case Answer::Kind::Cancel: return QuestionAnswer::Cancel;
    case Answer::Kind::Text:
    case Answer::Kind::Choice:
    case Answer::Kind::Online: break;
  }
  mismatch(*this, r, "yes/no/cancel");
  return QuestionAnswer::Cancel;
}

void HeadlessUi::messageBox(MessageKind kind, const std::string& caption, const std::string& text) {
  Request r{Request::Kind::Message, caption, text};
  r.messageKind = kind;
  requests_.push_back(r);
  if (mode_ == Mode::Batch && err_) {
    std::string head = kind == MessageKind::Error ? cp850ToUtf8(caption) : std::string();
    *err_ << "wvelk: " << head << cp850ToUtf8(text) << '\n';
  }
}

void HeadlessUi::beep() { requests_.push_back(Request{Request::Kind::Beep, {}, {}}); }

static std::optional<std::string> pathAnswer(HeadlessUi& ui, Answer a, const Request& r) {
  if (a.kind == Answer::Kind::Cancel) return std::nullopt;
  if (a.kind != Answer::Kind::Text) {
    mismatch(ui, r, "path");
    return std::nullopt;
  }
  return a.text;
}

std::optional<std::string> HeadlessUi::chooseFolder(const std::string& start) {
  Request r{Request::Kind::Folder, "Select Directory", {}, start};
  return pathAnswer(*this, next(r), r);
}

std::optional<std::string> HeadlessUi::openFileDialog(const FileDialogRequest& q) {
  Request r{Request::Kind::OpenFile, q.caption, q.filter, q.folder};
  return pathAnswer(*this, next(r), r);
}

std::optional<std::string> HeadlessUi::saveFileDialog(const FileDialogRequest& q) {
  Request r{Request::Kind::SaveFile, q.caption, q.filter, q.folder};
  return pathAnswer(*this, next(r), r);
}

void HeadlessUi::showTextWindow(const std::string& caption, const std::vector<std::string>& lines) {
  Request r{Request::Kind::TextWindow, caption, {}, {}, lines};
  requests_.push_back(r);
  if (mode_ == Mode::Batch && out_) {
    for (const std::string& l : lines) *out_ << cp850ToUtf8(l) << '\n';
  }
}

std::optional<std::uint32_t> HeadlessUi::browseTable(const BrowseRequest& q) {
  Request r{Request::Kind::Browse, q.caption, q.title2, q.filePath};
  r.index = static_cast<int>(q.currentRecord);
  r.helpNumber = q.helpNumber;
  r.mode = q.mode;
  r.records = q.rows;
  requests_.push_back(r);
  if (onBrowse && mode_ == Mode::Scripted) onBrowse(q);
  Answer a = take(r);
  if (a.kind == Answer::Kind::Cancel) return std::nullopt;
  // The user can only pick a row the window shows (selection mode hides deleted records); what
  // happened inside the window may have changed the rows.
  const std::vector<std::uint32_t> rows = q.ws ? BrowseRows(*q.ws, q.mode) : q.rows;
  if (a.kind != Answer::Kind::Choice || a.choice < 1 ||
      std::find(rows.begin(), rows.end(), static_cast<std::uint32_t>(a.choice)) == rows.end()) {
    mismatch(*this, r, "record shown");
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(a.choice);
}

void HeadlessUi::showOnlineTable(const OnlineFormRequest& q, OnlineFormResult& result) {
  Request r{Request::Kind::Online, q.caption, q.table.onlineTitle, {}, {}};
  r.index = q.focusRow;
  r.helpNumber = q.helpContext;
  requests_.push_back(r);
  onlineTables.push_back(q);
  Answer a = take(r);
  if (a.kind == Answer::Kind::Cancel) {
    result.how = OnlineClose::Escape;
    return;
  }
  if (a.kind != Answer::Kind::Online) {
    mismatch(*this, r, "online form");
    result.how = OnlineClose::Escape;
    return;
  }
  // Only the shown edit fields can be typed into.
  int focus = q.focusRow;
  for (const OnlineEdit& e : a.edits) {
    if (e.row < 1 || e.row > q.table.inCount) {
      mismatch(*this, r, "input row shown");
      result.how = OnlineClose::Escape;
      return;
    }
    result.inText[e.row] = e.text;
    focus = e.row;
  }
  if (a.choice != 0) {
    if (a.choice < 1 || a.choice > q.table.inCount) {
      mismatch(*this, r, "input row shown");
      result.how = OnlineClose::Escape;
      return;
    }
    focus = a.choice;
  }
  result.focusRow = focus;
  result.how = a.close;
}

void HeadlessUi::showExplanation(const ExplanationRequest& q, ExplanationResult& result) {
  Request r{Request::Kind::Explanation, "Fehlermeldung", q.message, {}, {q.cause, q.remedy}};
  r.helpNumber = q.helpNumber;
  Answer a = next(r);
  result = ExplanationResult{};
  result.cause = q.cause;
  result.remedy = q.remedy;
  switch (a.kind) {
    case Answer::Kind::Yes: result.ok = true; return;
    case Answer::Kind::No:
    case Answer::Kind::Cancel: return;
    case Answer::Kind::Text:
      result.ok = result.edited = true;
      result.cause = a.text;
      result.remedy = a.text2;
      return;
    case Answer::Kind::Choice:
    case Answer::Kind::Online: break;
  }
  mismatch(*this, r, "OK, edited texts or close");
}

bool HeadlessUi::diagramLimitsDialog(DiagramLimitsRequest& q) {
  Request r{Request::Kind::DiagramLimits, q.caption, q.xTitle, q.yTitle, q.values};
  r.helpNumber = q.helpNumber;
  limitsForms.push_back(q);
  Answer a = next(r);
  switch (a.kind) {
    case Answer::Kind::Yes: return true;
    case Answer::Kind::Cancel: return false;
    case Answer::Kind::Text: {
      size_t box = 0, start = 0;
      while (box < q.values.size()) {
        const size_t end = a.text.find(';', start);
        q.values[box++] = a.text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (end == std::string::npos) break;
        start = end + 1;
      }
      return true;
    }
    case Answer::Kind::Choice:
      if (a.choice == 1) {
        q.values = q.automatic;
        return true;
      }
      break;
    case Answer::Kind::No:
    case Answer::Kind::Online: break;
  }
  mismatch(*this, r, "box texts, Calculate, OK or cancel");
  return false;
}

bool HeadlessUi::installationAngleDialog(InstallationAngleRequest& q) {
  Request r{Request::Kind::InstallationAngle, q.caption, q.unit, q.value, q.presets, 0, q.trackMin};
  r.helpNumber = q.helpNumber;
  angleForms.push_back(q);
  Answer a = next(r);
  switch (a.kind) {
    case Answer::Kind::Yes: return true;
    case Answer::Kind::Cancel: return false;
    case Answer::Kind::Text: q.value = a.text; return true;
    case Answer::Kind::Choice:
      if (a.choice >= 1 && a.choice <= static_cast<int>(q.presets.size())) {
        q.value = q.presets[a.choice - 1];
        return true;
      }
      break;
    case Answer::Kind::No:
    case Answer::Kind::Online: break;
  }
  mismatch(*this, r, "angle text, preset button, OK or cancel");
  return false;
}

void HeadlessUi::showReportWindow(const ReportWindowRequest& q, ReportWindowResult& result) {
  Request r{Request::Kind::TextWindow, q.caption, {}, q.windowsFile, q.lines};
  requests_.push_back(r);
  reportWindows.push_back(q);
  result = ReportWindowResult{};
  if (mode_ == Mode::Batch && out_) {
    for (const std::string& l : q.lines) *out_ << cp850ToUtf8(l) << '\n';
  }
}

PrintOutcome HeadlessUi::printText(const PrintTextRequest& q) {
  Request r{Request::Kind::Print, q.documentName, {}, {}, q.lines};
  r.index = q.pageCount;
  requests_.push_back(r);
  return PrintOutcome::NoPrinter;
}

}  // namespace velk
