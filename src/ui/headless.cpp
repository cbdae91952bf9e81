// Headless user interface: scripted answers, recorded requests, batch-mode printing.
#include "ui/headless.h"

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
    case Request::Kind::Text:
      return "text dialog";
    case Request::Kind::Radio:
      return "radio dialog";
    case Request::Kind::List:
      return "list dialog";
    case Request::Kind::YesNo:
      return "yes/no dialog";
    case Request::Kind::Question:
      return "question";
    case Request::Kind::Message:
      return "message";
    case Request::Kind::Folder:
      return "folder dialog";
    case Request::Kind::OpenFile:
      return "open dialog";
    case Request::Kind::SaveFile:
      return "save dialog";
    case Request::Kind::TextWindow:
      return "text window";
    case Request::Kind::Beep:
      return "beep";
    case Request::Kind::Browse:
      return "table browser";
    case Request::Kind::Online:
      return "online input form";
    case Request::Kind::Explanation:
      return "explanation window";
    case Request::Kind::DiagramLimits:
      return "diagram limits form";
    case Request::Kind::InstallationAngle:
      return "installation-angle form";
    case Request::Kind::Print:
      return "print dialog";
    case Request::Kind::ChangeEntry:
      return "change entry form";
    case Request::Kind::DrawingInfo:
      return "drawing information form";
    case Request::Kind::DocumentSetup:
      return "document setup form";
    case Request::Kind::HelpImages:
      return "help image browser";
    case Request::Kind::PlotForm:
      return "plot configuration form";
    case Request::Kind::Window:
      return "window";
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

void HeadlessUi::windowMismatch(const Request& r) const {
  if (!onUnexpected) return;
  if (r.kind == Request::Kind::Window)
    onUnexpected("scripted answer does not fit the " + r.caption);
  else
    onUnexpected(std::string("scripted answer does not fit the ") + kindName(r.kind) + ": " + cp850ToUtf8(r.prompt));
}

// ---- Value requests and message boxes ----

std::optional<TextResult> HeadlessUi::show(const TextRequest& q) {
  const Request r{Request::Kind::Text, q.caption, q.prompt, q.text, {}, q.maxLength, 0, q.helpNumber};
  std::optional<TextResult> result = window(q, r, [](const Answer& a, bool& fits) -> std::optional<TextResult> {
    fits = a.kind == Answer::Kind::Text;
    return TextResult{a.text};
  });
  // The edit field limits what can be typed.
  if (result && q.maxLength > 0 && static_cast<int>(result->text.size()) > q.maxLength)
    result->text.resize(static_cast<std::size_t>(q.maxLength));
  return result;
}

// The radio and the list dialog: Choice(n) picks item n, which must be one of the items.
template <class R>
std::optional<ChoiceResult> HeadlessUi::choiceWindow(const R& q, Request::Kind kind) {
  const Request r{kind, oem("Auswahl"), q.prompt, {}, q.items, 0, q.index, q.helpNumber};
  std::optional<ChoiceResult> result = window(q, r, [](const Answer& a, bool& fits) -> std::optional<ChoiceResult> {
    fits = a.kind == Answer::Kind::Choice;
    return ChoiceResult{a.choice};
  });
  if (result && (result->index < 1 || result->index > static_cast<int>(q.items.size()))) {
    windowMismatch(r);
    return std::nullopt;
  }
  return result;
}

std::optional<ChoiceResult> HeadlessUi::show(const RadioRequest& q) { return choiceWindow(q, Request::Kind::Radio); }

std::optional<ChoiceResult> HeadlessUi::show(const ListRequest& q) { return choiceWindow(q, Request::Kind::List); }

static std::optional<YesNoResult> yesOrNo(const Answer& a, bool& fits) {
  fits = a.kind == Answer::Kind::Yes || a.kind == Answer::Kind::No;
  return YesNoResult{a.kind == Answer::Kind::Yes};
}

std::optional<YesNoResult> HeadlessUi::show(const YesNoRequest& q) {
  const Request r{Request::Kind::YesNo, "Eingabe", q.prompt, q.yes ? "J" : "N", {}, 0, q.yes ? 1 : 2, q.helpNumber};
  return window(q, r, yesOrNo);
}

std::optional<YesNoResult> HeadlessUi::show(const QuestionRequest& q) {
  return window(q, Request{Request::Kind::Question, q.caption, q.question}, yesOrNo);
}

std::optional<Closed> HeadlessUi::show(const MessageRequest& q) {
  Request r{Request::Kind::Message, q.caption, q.text};
  r.messageKind = q.kind;
  record(q, r);
  if (mode_ == Mode::Batch && err_) {
    std::string head = q.kind == MessageKind::Error ? cp850ToUtf8(q.caption) : std::string();
    *err_ << "wvelk: " << head << cp850ToUtf8(q.text) << '\n';
  }
  return Closed{};
}

void HeadlessUi::beep() { requests_.push_back(Request{Request::Kind::Beep, {}, {}}); }

std::optional<Closed> HeadlessUi::show(const TextWindowRequest& q) {
  record(q, Request{Request::Kind::TextWindow, q.caption, {}, {}, q.lines});
  if (mode_ == Mode::Batch && out_) {
    for (const std::string& l : q.lines) *out_ << cp850ToUtf8(l) << '\n';
  }
  return Closed{};
}

// ---- File choosers ----

static std::optional<FileResult> pathAnswer(const Answer& a, bool& fits) {
  fits = a.kind == Answer::Kind::Text;
  return FileResult{a.text};
}

std::optional<FileResult> HeadlessUi::show(const FolderRequest& q) {
  return window(q, Request{Request::Kind::Folder, q.caption, {}, q.start}, pathAnswer);
}

std::optional<FileResult> HeadlessUi::show(const OpenFileRequest& q) {
  return window(q, Request{Request::Kind::OpenFile, q.caption, q.filter, q.folder}, pathAnswer);
}

std::optional<FileResult> HeadlessUi::show(const SaveFileRequest& q) {
  return window(q, Request{Request::Kind::SaveFile, q.caption, q.filter, q.folder}, pathAnswer);
}

// ---- The table browser and the online input form ----

std::optional<BrowseResult> HeadlessUi::show(const BrowseRequest& q) {
  Request r{Request::Kind::Browse, q.caption, q.title2, q.filePath};
  r.index = static_cast<int>(q.currentRecord);
  r.helpNumber = q.helpNumber;
  r.mode = q.mode;
  r.records = q.rows;
  record(q, r);
  if (onBrowse && mode_ == Mode::Scripted) onBrowse(q);
  std::optional<BrowseResult> result =
      resolve(q, r, take(r), [](const Answer& a, bool& fits) -> std::optional<BrowseResult> {
        fits = a.kind == Answer::Kind::Choice && a.choice >= 1;
        return BrowseResult{static_cast<std::uint32_t>(a.choice)};
      });
  if (!result) return result;
  // The user can only pick a row the window shows (selection mode hides deleted records); what
  // happened inside the window may have changed the rows.
  const std::vector<std::uint32_t> rows = q.controller ? q.controller->rows(q.mode) : q.rows;
  if (std::find(rows.begin(), rows.end(), result->record) == rows.end()) {
    windowMismatch(r);
    return std::nullopt;
  }
  return result;
}

std::optional<OnlineFormResult> HeadlessUi::show(const OnlineFormRequest& q) {
  Request r{Request::Kind::Online, q.caption, q.table.onlineTitle, {}, {}};
  r.index = q.focusRow;
  r.helpNumber = q.helpContext;
  return window(q, r, [&q](const Answer& a, bool& fits) -> std::optional<OnlineFormResult> {
    fits = false;
    if (a.kind != Answer::Kind::Online) return std::nullopt;
    OnlineFormResult result;
    result.inText = q.table.inText;
    result.left = q.table.left;
    result.top = q.table.top;
    // Only the shown edit fields can be typed into.
    int focus = q.focusRow;
    for (const OnlineEdit& e : a.edits) {
      if (e.row < 1 || e.row > q.table.inCount) return std::nullopt;
      result.inText[static_cast<std::size_t>(e.row)] = e.text;
      focus = e.row;
    }
    if (a.choice != 0) {
      if (a.choice < 1 || a.choice > q.table.inCount) return std::nullopt;
      focus = a.choice;
    }
    result.focusRow = focus;
    result.how = a.close;
    fits = true;
    return result;
  });
}

// ---- Windows of calculation messages and diagrams ----

std::optional<ExplanationResult> HeadlessUi::show(const ExplanationRequest& q) {
  Request r{Request::Kind::Explanation, "Fehlermeldung", q.message, {}, {q.cause, q.remedy}};
  r.helpNumber = q.helpNumber;
  return window(q, r, [&q](const Answer& a, bool& fits) -> std::optional<ExplanationResult> {
    fits = a.kind == Answer::Kind::Yes;
    return ExplanationResult{false, q.cause, q.remedy};
  });
}

std::optional<DiagramLimitsResult> HeadlessUi::show(const DiagramLimitsRequest& q) {
  Request r{Request::Kind::DiagramLimits, q.caption, q.xTitle, q.yTitle, q.values};
  r.helpNumber = q.helpNumber;
  std::optional<DiagramLimitsResult> result =
      window(q, r, [&q](const Answer& a, bool& fits) -> std::optional<DiagramLimitsResult> {
        fits = a.kind == Answer::Kind::Yes;
        return DiagramLimitsResult{q.values};
      });
  // Boxes the result leaves out keep their text.
  if (result)
    for (std::size_t i = result->values.size(); i < q.values.size(); ++i) result->values.push_back(q.values[i]);
  return result;
}

std::optional<InstallationAngleResult> HeadlessUi::show(const InstallationAngleRequest& q) {
  Request r{Request::Kind::InstallationAngle, q.caption, q.unit, q.value, q.presets, 0, q.trackMin};
  r.helpNumber = q.helpNumber;
  return window(q, r, [&q](const Answer& a, bool& fits) -> std::optional<InstallationAngleResult> {
    fits = a.kind == Answer::Kind::Yes;
    return InstallationAngleResult{q.value};
  });
}

// ---- Report window and printing ----

std::optional<ReportWindowResult> HeadlessUi::show(const ReportWindowRequest& q) {
  record(q, Request{Request::Kind::TextWindow, q.caption, {}, q.windowsFile, q.lines});
  if (mode_ == Mode::Batch && out_) {
    for (const std::string& l : q.lines) *out_ << cp850ToUtf8(l) << '\n';
  }
  return ReportWindowResult{};
}

std::optional<PrintTextResult> HeadlessUi::show(const PrintTextRequest& q) {
  Request r{Request::Kind::Print, q.documentName, {}, {}, q.lines};
  r.index = q.pageCount;
  record(q, r);
  return PrintTextResult{true, {}};
}

// ---- Drawing documentation forms ----

std::optional<ChangeEntryResult> HeadlessUi::show(const ChangeEntryRequest& q) {
  Request r{Request::Kind::ChangeEntry, q.caption, q.designation, q.date, {q.editor, q.description}};
  r.helpNumber = q.helpNumber;
  return window(q, r, [&q](const Answer& a, bool& fits) -> std::optional<ChangeEntryResult> {
    fits = a.kind == Answer::Kind::Yes;
    return ChangeEntryResult{q.designation, q.date, q.editor, q.description};
  });
}

std::optional<DrawingInfoResult> HeadlessUi::show(const DrawingInfoRequest& q) {
  Request r{Request::Kind::DrawingInfo, q.caption, q.replaces, q.replacedBy, {}};
  r.helpNumber = q.helpNumber;
  return window(q, r, [&q](const Answer& a, bool& fits) -> std::optional<DrawingInfoResult> {
    fits = a.kind == Answer::Kind::Yes;
    return DrawingInfoResult{q.replaces, q.replacedBy, q.people, q.freeTexts};
  });
}

std::optional<DocumentSetupResult> HeadlessUi::show(const DocumentSetupRequest& q) {
  Request r{Request::Kind::DocumentSetup, q.caption, {}, {}, {}};
  r.helpNumber = q.helpNumber;
  return window(q, r, [&q](const Answer& a, bool& fits) -> std::optional<DocumentSetupResult> {
    fits = a.kind == Answer::Kind::Yes;
    return DocumentSetupResult{q.programs, q.files};
  });
}

// ---- Help images: the browser window ----

std::optional<HelpImagesResult> HeadlessUi::show(const HelpImagesRequest& q) {
  Request r{Request::Kind::HelpImages, q.caption, {}, {}, q.items};
  r.index = q.selected;
  r.helpNumber = q.helpNumber;
  const int count = static_cast<int>(q.items.size());
  return window(q, r, [&q, count](const Answer& a, bool& fits) -> std::optional<HelpImagesResult> {
    fits = a.kind == Answer::Kind::Yes || (a.kind == Answer::Kind::Choice && a.choice >= 1 && a.choice <= count);
    if (a.kind == Answer::Kind::Yes) return HelpImagesResult{HelpImageAction::Leave, q.selected, q.left, q.top};
    return HelpImagesResult{HelpImageAction::Show, a.choice, q.left, q.top};
  });
}

// ---- Plot program output ----

std::optional<PlotFormResult> HeadlessUi::show(const PlotFormRequest& q) {
  Request r{
      Request::Kind::PlotForm, "PLOTRIX", q.commandLine ? q.commandLine(q.values) : std::string(), q.tempFolder, {}};
  r.helpNumber = q.helpNumber;
  std::optional<PlotFormResult> result =
      window(q, r, [&q](const Answer& a, bool& fits) -> std::optional<PlotFormResult> {
        fits = a.kind == Answer::Kind::Yes;
        return PlotFormResult{q.values, false};
      });
  if (!result) return result;
  const PlotFormValues& v = result->values;
  if (v.outcode < 1 || v.outcode > 5 || v.outInterface < 1 || v.outInterface > 3) {
    windowMismatch(r);
    return std::nullopt;
  }
  if (v.fitScale) result->values.scale = "0";  // the check box sets the scale
  return result;
}

}  // namespace velk
