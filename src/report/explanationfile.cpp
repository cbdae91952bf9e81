// Message explanations: looking a calculation message up in the explanation file, and
// replacing an entry's cause and remedy in the file's bytes.
#include "report/explanationfile.h"

#include <algorithm>

#include "platform/files.h"

namespace velk {

namespace {

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

}  // namespace

std::string NoExplanationText() { return "keine Beschreibung dieser Fehlermeldung vorhanden."; }
std::string NoMessagesText() { return "Berechnung erfolgreich ohne Fehlermeldungen"; }

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

MessageExplanation ExplainMessage(const std::string& file, const CalcMessages& messages, int i) {
  const std::optional<std::string> bytes = readWholeFile(file, kMaxExplanationFileBytes);
  if (!bytes) return {};
  ExplanationEntry e = findExplanation(*bytes, CalcMessageAt(messages, i), kReportMatchLength);
  if (!e.found) return {NoExplanationText(), {}};
  return {std::move(e.cause), std::move(e.remedy)};
}

}  // namespace velk
