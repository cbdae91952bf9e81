// Message explanations: lookup in the explanation file, saving an edited explanation, the
// explanation window and the message window.
#include "help/explanations.h"

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <system_error>
#include <unistd.h>

#include "config/configfile.h"
#include "base/codepage.h"
#include "dialogs/dialogs.h"

namespace velk {

namespace {

constexpr uint16_t kExplanationHelp = 1970;
constexpr uint16_t kMessageWindowHelp = 2070;
constexpr uint16_t kMessageChoiceHelp = 1210;

// One line of the file: [begin, end) is its text, next the start of the following line.
struct LineSpan {
  std::size_t begin = 0, end = 0, next = 0;
};

// Walks the lines of a file held in memory without copying them. A line ends at CR LF, CR or
// LF; a last line without line end counts as a line.
class LineCursor {
 public:
  explicit LineCursor(std::string_view data, std::size_t pos = 0) : data_(data), pos_(pos) {}
  bool next(LineSpan& line) {
    if (pos_ >= data_.size()) return false;
    std::size_t stop = data_.find_first_of("\r\n", pos_);
    if (stop == std::string_view::npos) stop = data_.size();
    line.begin = pos_;
    line.end = stop;
    if (stop < data_.size()) {
      ++stop;
      if (data_[stop - 1] == '\r' && stop < data_.size() && data_[stop] == '\n') ++stop;
    }
    line.next = stop;
    pos_ = stop;
    return true;
  }

 private:
  std::string_view data_;
  std::size_t pos_;
};

std::string_view trimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The fixed parts of a formatted message around "...", matched against the whole message.
bool patternMatches(std::string_view line, std::string_view message) {
  const std::size_t dots = line.find("...");
  if (dots == 0 || dots == std::string_view::npos) return false;
  const std::string_view head = line.substr(0, dots);
  const std::string_view tail = trimRight(line.substr(dots + 3));
  return message.size() > head.size() + tail.size() && message.starts_with(head) && message.ends_with(tail);
}

bool prefixMatches(std::string_view line, std::string_view message, std::size_t n) {
  return line.substr(0, n) == message.substr(0, n);
}

// The message line of message's entry: the first line, in the order of the lookup steps, that
// is followed by at least one more line. The prefix step is tried with each length in turn.
std::optional<LineSpan> locate(std::string_view bytes, std::string_view message,
                               std::initializer_list<std::size_t> prefixLengths) {
  message = trimRight(message);
  if (message.empty()) return std::nullopt;
  auto scan = [&](auto matches) -> std::optional<LineSpan> {
    LineCursor cursor(bytes);
    LineSpan line;
    while (cursor.next(line)) {
      if (line.next >= bytes.size()) break;  // the last line: nothing follows it
      if (matches(bytes.substr(line.begin, line.end - line.begin))) return line;
    }
    return std::nullopt;
  };
  if (auto hit = scan([&](std::string_view l) { return trimRight(l) == message; })) return hit;
  if (auto hit = scan([&](std::string_view l) { return patternMatches(l, message); })) return hit;
  for (std::size_t n : prefixLengths)
    if (auto hit = scan([&](std::string_view l) { return prefixMatches(l, message, n); })) return hit;
  return std::nullopt;
}

// A line of the file as shown and printed: cut, control characters (NUL among them) as blanks.
std::string shownLine(std::string_view line) {
  std::string out(line.substr(0, kExplanationLineLength));
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return out;
}

// A typed text as one line of the file: a line break (CR LF, CR or LF) becomes one blank.
std::string fileLine(std::string_view text) {
  std::string out;
  out.reserve(std::min(text.size(), kExplanationLineLength));
  for (std::size_t i = 0; i < text.size() && out.size() < kExplanationLineLength; ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
  }
  return out;
}

std::string messageAt(const Workspace& ws, int i) {
  if (i < 1 || i > ws.messages.count || i > kMaxCalcMessages) return {};
  return ws.messages.entries[static_cast<std::size_t>(i - 1)];
}

std::string temporaryFolder(const Workspace& ws) {
  return withSeparator(ws.config.tempDir.empty() ? ws.tempRoot : ws.config.tempDir);
}

bool samePath(const std::string& a, const std::string& b) {
  std::error_code ea, eb;
  const auto ca = std::filesystem::weakly_canonical(a, ea);
  const auto cb = std::filesystem::weakly_canonical(b, eb);
  if (ea || eb) return a == b;
  return ca == cb;
}


}  // namespace

std::string NoExplanationText() { return "keine Beschreibung dieser Fehlermeldung vorhanden."; }
std::string NoMessagesText() { return "Berechnung erfolgreich ohne Fehlermeldungen"; }

std::string explanationFilePath(const Workspace& ws) { return pltFolder(ws) + ws.start.shortName + ".err"; }

ExplanationEntry findExplanation(std::string_view fileBytes, std::string_view message, std::size_t prefixLength) {
  ExplanationEntry entry;
  const std::optional<LineSpan> hit = locate(fileBytes, message, {prefixLength});
  if (!hit) return entry;
  entry.found = true;
  std::size_t line = 0;
  for (std::size_t p = 0; p < hit->begin; ++p) {
    const char c = fileBytes[p];
    if (c == '\n' || (c == '\r' && !(p + 1 < fileBytes.size() && fileBytes[p + 1] == '\n'))) ++line;
  }
  entry.line = line;
  LineCursor cursor(fileBytes, hit->next);
  LineSpan span;
  if (cursor.next(span)) entry.cause = shownLine(fileBytes.substr(span.begin, span.end - span.begin));
  if (cursor.next(span)) entry.remedy = shownLine(fileBytes.substr(span.begin, span.end - span.begin));
  return entry;
}

std::optional<std::string> replaceExplanation(std::string_view fileBytes, std::string_view message,
                                              std::string_view cause, std::string_view remedy) {
  const std::optional<LineSpan> hit = locate(fileBytes, message, {kWindowMatchLength, kReportMatchLength});
  if (!hit) return std::nullopt;
  // Skip the old cause and the old remedy (absent when the file ends early).
  LineCursor cursor(fileBytes, hit->next);
  LineSpan span;
  std::size_t rest = fileBytes.size();
  if (cursor.next(span) && cursor.next(span)) rest = span.next;
  std::string out;
  out.reserve(hit->next + cause.size() + remedy.size() + 4 + (fileBytes.size() - rest));
  out.append(fileBytes.substr(0, hit->next));
  out.append(fileLine(cause)).append("\r\n");
  out.append(fileLine(remedy)).append("\r\n");
  out.append(fileBytes.substr(rest));
  return out;
}

MessageExplanation ExplainMessage(const Workspace& ws, int i) {
  const std::optional<std::string> bytes = readWholeFile(explanationFilePath(ws), kMaxExplanationFileBytes);
  if (!bytes) return {};
  ExplanationEntry e = findExplanation(*bytes, messageAt(ws, i), kReportMatchLength);
  if (!e.found) return {NoExplanationText(), {}};
  return {std::move(e.cause), std::move(e.remedy)};
}

std::string CauseText(const Workspace& ws, int i) { return ExplainMessage(ws, i).cause; }
std::string RemedyText(const Workspace& ws, int i) { return ExplainMessage(ws, i).remedy; }

void ShowExplanation(Workspace& ws, int i) {
  const std::string path = explanationFilePath(ws);
  CheckInputFile(ws, path);
  if (ws.abort) return;
  const std::optional<std::string> bytes = readWholeFile(path, kMaxExplanationFileBytes);
  if (!bytes) {  // vanished since the check
    CheckInputFile(ws, path);
    ws.abort = true;
    return;
  }
  const std::string message = messageAt(ws, i);
  const ExplanationEntry entry = findExplanation(*bytes, message, kWindowMatchLength);
  if (!entry.found) {
    ShowTitled(ws, "Meldung", NoExplanationText());
    return;
  }
  ExplanationRequest request;
  request.message = message;
  request.cause = entry.cause;
  request.remedy = entry.remedy;
  request.helpNumber = kExplanationHelp;
  ExplanationResult result;
  ws.ui.showExplanation(request, result);
  if (result.ok && result.edited && AskQuestion(ws, "Save Changes ?"))
    SaveExplanation(ws, message, result.cause, result.remedy);
}

void SaveExplanation(Workspace& ws, const std::string& message, const std::string& cause,
                     const std::string& remedy) {
  const std::string source = explanationFilePath(ws);
  const std::string work = temporaryFolder(ws) + ws.start.shortName + ".err";
  CheckInputFile(ws, source);
  if (ws.abort) return;
  int err = 0;
  const std::optional<std::string> bytes = readWholeFile(source, kMaxExplanationFileBytes + 1, &err);
  if (!bytes) {
    CheckInputFile(ws, source);
    ws.abort = true;
    return;
  }
  if (bytes->size() > kMaxExplanationFileBytes) {
    // Only a file read whole can be written back without losing its end.
    ShowError(ws, "Datei " + utf8ToCp850(source) + oem(" ist zu groß !"));
    ws.abort = true;
    return;
  }
  const std::optional<std::string> updated = replaceExplanation(*bytes, message, cause, remedy);
  if (!updated) {
    ShowError(ws, message + " not found.");
    ws.abort = true;
    return;
  }
  // The new file goes through the work copy in the temporary folder; when that folder is the
  // PLT folder itself the work copy is the file, which the atomic replacement covers as well.
  std::string content = *updated;
  const bool viaWorkCopy = !samePath(source, work);
  if (viaWorkCopy) {
    // A configured temporary folder may be shared: never write through a link planted there.
    ::unlink(work.c_str());
    if (int e = atomicWriteFile(work, content, ws.io)) return ReportIoError(ws, IoStage::Create, ioCodeFromErrno(e));
    std::optional<std::string> copied = readWholeFile(work, content.size() + 1, &err);
    if (!copied || *copied != content) {
      ::unlink(work.c_str());
      return ReportIoError(ws, IoStage::Create, copied ? 0 : ioCodeFromErrno(err));
    }
    content = std::move(*copied);
  }
  const int e = atomicWriteFile(source, content, ws.io);
  if (viaWorkCopy) ::unlink(work.c_str());
  if (e) ReportIoError(ws, IoStage::Create, ioCodeFromErrno(e));
}

void ShowMessageWindow(Workspace& ws) {
  if (ws.start.noGui) return;
  const int n = std::clamp(ws.messages.count, 0, kMaxCalcMessages);
  if (n == 0) {
    ShowInfo(ws, NoMessagesText());
    return;
  }
  for (int k = 1; k <= n; ++k) ws.choiceItems[static_cast<std::size_t>(k)] = messageAt(ws, k);
  ws.choiceItems[static_cast<std::size_t>(n + 1)] = oem("Weiter/zurück...");
  SetHelpNumber(ws, kMessageWindowHelp);
  const uint16_t leave = static_cast<uint16_t>(n + 1);
  uint16_t choice = ws.config.helpLevel >= 2 ? 1 : leave;
  for (;;) {
    SetHelpNumber(ws, kMessageChoiceHelp);
    ChooseItem(ws, "Berechnungsmodul meldet Warnungen oder Fehler, siehe Ursache und Abhilfe.", n + 1, choice);
    if (ws.abort || choice >= leave) return;
    const int shown = choice;
    ShowExplanation(ws, shown);
    if (ws.abort || shown >= n) return;
    choice = static_cast<uint16_t>(shown + 1);
  }
}

}  // namespace velk
