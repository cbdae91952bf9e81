// Headless user interface: scripted answers, recorded requests, batch-mode printing.
#include "dialogs/headless.h"

#include <algorithm>
#include <iostream>

#include "base/codepage.h"

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
    case Request::Kind::ChangeEntry: return "change entry form";
    case Request::Kind::DrawingInfo: return "drawing information form";
    case Request::Kind::DocumentSetup: return "document setup form";
    case Request::Kind::HelpImages: return "help image browser";
    case Request::Kind::PlotForm: return "plot configuration form";
    case Request::Kind::Window: return "window";
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

void HeadlessUi::windowMismatch(const Request& r) const {
  if (onUnexpected) onUnexpected("scripted answer does not fit the " + r.caption);
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
    case Answer::Kind::Online:
    case Answer::Kind::Window: break;
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
  const std::vector<std::uint32_t> rows = q.controller ? q.controller->rows(q.mode) : q.rows;
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
    case Answer::Kind::Online:
    case Answer::Kind::Window: break;
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
    case Answer::Kind::Online:
    case Answer::Kind::Window: break;
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
    case Answer::Kind::Online:
    case Answer::Kind::Window: break;
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

// ---- Drawing documentation forms ----

// How a documentation form was answered: OK with the scripted fields typed into the texts that
// field(n) names (nullptr: no such field) and the button pressed, OK unchanged, or cancel.
template <typename Field, typename Button>
static bool fillForm(HeadlessUi& ui, const Request& r, const Answer& a, Field field, Button button) {
  switch (a.kind) {
    case Answer::Kind::Yes: return true;
    case Answer::Kind::Cancel: return false;
    case Answer::Kind::Text:
      for (const OnlineEdit& e : a.edits) {
        std::string* target = field(e.row);
        if (!target) {
          mismatch(ui, r, "field of the form");
          return false;
        }
        *target = e.text;
      }
      if (a.choice != 0 && !button(a.choice)) {
        mismatch(ui, r, "button of the form");
        return false;
      }
      return true;
    case Answer::Kind::Choice:
    case Answer::Kind::No:
    case Answer::Kind::Online:
    case Answer::Kind::Window: break;
  }
  mismatch(ui, r, "form fields, OK or cancel");
  return false;
}

bool HeadlessUi::changeEntryForm(const ChangeEntryRequest& q, ChangeEntryResult& result) {
  Request r{Request::Kind::ChangeEntry, q.caption, q.designation, q.date, {q.editor, q.description}};
  r.helpNumber = q.helpNumber;
  changeEntryForms.push_back(q);
  ChangeEntryResult typed{q.designation, q.date, q.editor, q.description};
  auto field = [&typed](int n) -> std::string* {
    switch (n) {
      case 1: return &typed.designation;
      case 2: return &typed.date;
      case 3: return &typed.editor;
      case 4: return &typed.description;
      default: return nullptr;
    }
  };
  auto button = [&](int b) {
    if (b != 1) return false;
    typed.date = q.today;
    return true;
  };
  if (!fillForm(*this, r, next(r), field, button)) return false;
  result = typed;
  return true;
}

bool HeadlessUi::drawingInfoForm(const DrawingInfoRequest& q, DrawingInfoResult& result) {
  Request r{Request::Kind::DrawingInfo, q.caption, q.replaces, q.replacedBy, {}};
  r.helpNumber = q.helpNumber;
  drawingInfoForms.push_back(q);
  DrawingInfoResult typed{q.replaces, q.replacedBy, q.people, q.freeTexts};
  auto field = [&typed](int n) -> std::string* {
    if (n == 1) return &typed.replaces;
    if (n == 2) return &typed.replacedBy;
    if (n >= 11 && n <= 42 && n % 10 >= 1 && n % 10 <= 2) return &typed.people[n / 10 - 1][n % 10 - 1];
    if (n >= 111 && n <= 185 && n % 10 >= 1 && n % 10 <= 5) return &typed.freeTexts[(n - 100) / 10 - 1][n % 10 - 1];
    return nullptr;
  };
  auto button = [&](int row) {
    if (row < 1 || row > 4) return false;
    typed.people[row - 1][0] = q.today;
    return true;
  };
  if (!fillForm(*this, r, next(r), field, button)) return false;
  result = typed;
  return true;
}

bool HeadlessUi::documentSetupForm(const DocumentSetupRequest& q, DocumentSetupResult& result) {
  Request r{Request::Kind::DocumentSetup, q.caption, {}, {}, {}};
  r.helpNumber = q.helpNumber;
  documentSetupForms.push_back(q);
  DocumentSetupResult typed{q.programs, q.files};
  auto field = [&typed](int n) -> std::string* {
    if (n < 1 || n > 10) return nullptr;
    return n % 2 ? &typed.programs[(n - 1) / 2] : &typed.files[n / 2 - 1];
  };
  auto button = [&](int k) {
    std::string* target = field(k);
    if (!target || !q.browse) return false;
    q.browse(k, *target);
    return true;
  };
  if (!fillForm(*this, r, next(r), field, button)) return false;
  result = typed;
  return true;
}

// ---- Plot program output ----

bool HeadlessUi::plotConfigForm(const PlotFormRequest& q, PlotFormResult& result) {
  Request r{Request::Kind::PlotForm, "PLOTRIX", q.commandLine ? q.commandLine(q.values) : std::string(),
            q.tempFolder, {}};
  r.helpNumber = q.helpNumber;
  plotForms.push_back(q);
  PlotFormValues typed = q.values;
  std::string choice[4] = {std::to_string(typed.outcode), std::to_string(typed.outInterface),
                           typed.fitScale ? "1" : "0", typed.rotate ? "1" : "0"};
  auto field = [&](int n) -> std::string* {
    switch (n) {
      case 1: return &typed.plotrixPath;
      case 2: return &choice[0];
      case 3: return &choice[1];
      case 4: return &typed.com;
      case 5: return &typed.lpt;
      case 6: return &typed.outdir;
      case 7: return &typed.scale;
      case 8: return &choice[2];
      case 9: return &choice[3];
      case 10: return &typed.xnull;
      case 11: return &typed.ynull;
      case 12: return &typed.textWidth;
      case 13: return &typed.psFont;
      default: return nullptr;
    }
  };
  auto button = [&](int b) {
    if (b != 1) return false;
    typed.outdir = q.tempFolder;
    return true;
  };
  const Answer a = next(r);
  if (!fillForm(*this, r, a, field, button)) return false;
  auto digit = [](const std::string& t) { return t.size() == 1 && t[0] >= '0' && t[0] <= '9' ? t[0] - '0' : 0; };
  const int outcode = digit(choice[0]), outInterface = digit(choice[1]);
  if (outcode < 1 || outcode > 5 || outInterface < 1 || outInterface > 3) {
    mismatch(*this, r, "item of the radio group");
    return false;
  }
  typed.outcode = outcode;
  typed.outInterface = outInterface;
  typed.fitScale = choice[2] == "1";
  typed.rotate = choice[3] == "1";
  if (typed.fitScale) typed.scale = "0";  // the check box sets the scale
  result.values = typed;
  result.changed = a.kind == Answer::Kind::Text;
  return true;
}

// ---- Help images: the browser window.
void HeadlessUi::showHelpImages(const HelpImagesRequest& q, HelpImagesResult& result) {
  Request r{Request::Kind::HelpImages, q.caption, {}, {}, q.items};
  r.index = q.selected;
  r.helpNumber = q.helpNumber;
  requests_.push_back(r);
  helpImageWindows.push_back(q);
  result = HelpImagesResult{};
  result.left = q.left;
  result.top = q.top;
  const int count = static_cast<int>(q.items.size());
  for (;;) {
    const Answer a = take(r);
    result.selected = q.selected;
    switch (a.kind) {
      case Answer::Kind::Yes:
      case Answer::Kind::Cancel: result.action = HelpImageAction::Leave; return;
      case Answer::Kind::Choice:
        if (a.choice < 1 || a.choice > count) break;
        result.action = HelpImageAction::Show;
        result.selected = a.choice;
        return;
      case Answer::Kind::Text:
        if (a.text == "help") {
          if (q.onHelp) q.onHelp();
          continue;
        }
        if (a.text == "up" || a.text == "down") {
          result.action = HelpImageAction::Show;
          result.selected = HelpImageArrow(q.selected, count, a.text == "up");
          return;
        }
        if (a.text == "new") {
          result.action = HelpImageAction::New;
          result.selected = 0;
          return;
        }
        if (a.text == "delete") { result.action = HelpImageAction::Delete; return; }
        if (a.text == "change") { result.action = HelpImageAction::Change; return; }
        if (a.text == "insert") { result.action = HelpImageAction::Insert; return; }
        break;
      case Answer::Kind::No:
      case Answer::Kind::Online:
      case Answer::Kind::Window: break;
    }
    mismatch(*this, r, "item, arrow, button or OK");
    result.action = HelpImageAction::Leave;
    return;
  }
}

}  // namespace velk
