// Line primitives of the program's own text files.
#include "base/textfile.h"

#include <cmath>
#include <utility>

namespace velk {

void TextWriter::writeLine(std::string_view text) {
  out_.append(text);
  out_.append("\r\n");
}

void TextWriter::writeInt(long long n) { writeLine(fmtInt(n)); }

static bool wholeBelowOne(Real x) { return std::isfinite(x) && x < 1 && std::fabs(x - std::nearbyint(x)) <= 1e-10L; }

static std::string firstLineText(const NumberSettings& s, Real x) {
  if (wholeBelowOne(x)) return fmtSig(s, x);
  std::string text = fmtFixed(s, 1, 7, x);
  // A value that the fixed form rounds to a whole number below 1 (1e-8, -4.99999999) reads back
  // as that whole number, which is written compactly; write it so at once, so that writing what
  // was read gives the same bytes.
  if (x < 1) {
    Real back = lineToReal(text);
    if (wholeBelowOne(back)) return fmtSig(s, back);
  }
  return text;
}

// The line written must be a fixed point of reading and writing again: a value that one form
// rounds across a form boundary (0.9999999999 gives "1", which reads back as 1 and would then be
// written "1.0000000") is written in the form its read-back value gets, so a file is stable after
// one save. Two passes settle every case; the loop is bounded all the same.
std::string realLineText(const NumberSettings& s, Real x) {
  std::string text = firstLineText(s, x);
  for (int pass = 0; pass < 3; ++pass) {
    std::string again = firstLineText(s, lineToReal(text));
    if (again == text) break;
    text = std::move(again);
  }
  return text;
}

void TextWriter::writeReal(Real x) { writeLine(realLineText(settings_, x)); }

void TextWriter::writeFields(std::initializer_list<std::string_view> fields) {
  for (std::string_view f : fields) {
    out_.append(f);
    out_.push_back('|');
  }
  out_.append("\r\n");
}

TextReader::TextReader(std::string_view bytes) : data_(bytes) { hasCr_ = bytes.find('\r') != std::string_view::npos; }

namespace {

// Where the line starting at from ends (its CR, LF or the end of the data), and where the next starts.
std::size_t lineEnd(std::string_view data, std::size_t from, std::size_t& next) {
  std::size_t stop = data.find_first_of("\r\n", from);
  if (stop == std::string_view::npos) {
    next = data.size();
    return data.size();
  }
  next = stop + 1;
  if (data[stop] == '\r' && next < data.size() && data[next] == '\n') ++next;
  return stop;
}

}  // namespace

std::string TextReader::readLine() {
  if (pos_ >= data_.size()) {
    pastEnd_ = true;
    return {};
  }
  std::size_t next = 0;
  const std::size_t stop = lineEnd(data_, pos_, next);
  std::string line(data_.substr(pos_, stop - pos_));
  loneLf_ = stop < data_.size() && data_[stop] == '\n';
  pos_ = next;
  return line;
}

std::string TextReader::peekLine() const {
  if (pos_ >= data_.size()) return {};
  std::size_t next = 0;
  return std::string(data_.substr(pos_, lineEnd(data_, pos_, next) - pos_));
}

std::size_t countLines(std::string_view bytes) {
  std::size_t lines = 0;
  for (std::size_t pos = 0; pos < bytes.size(); ++lines) lineEnd(bytes, pos, pos);
  return lines;
}

long long lineToInt(std::string_view line) {
  long long v = 0;
  return tryParseInt(trim(line), v) ? v : 0;
}

Real lineToReal(std::string_view line) {
  std::string s(trim(line));
  for (char& c : s)
    if (c == ',') c = '.';
  Real v = 0;
  return tryParseReal(s, v) ? v : 0;
}

long long TextReader::readInt() { return lineToInt(readLine()); }
Real TextReader::readReal() { return lineToReal(readLine()); }
bool TextReader::readTrue() { return upper(readLine()) == "TRUE"; }
bool TextReader::readNotFalse() { return upper(readLine()) != "FALSE"; }

char TextReader::readChar() {
  std::string line = readLine();
  return line.empty() ? '\0' : line[0];
}

std::vector<std::string> TextReader::readFields(int n) {
  std::string line = readLine();
  std::vector<std::string> out;
  std::size_t start = 0;
  for (int i = 0; i < n; ++i) {
    std::size_t bar = line.find('|', start);
    if (bar == std::string::npos) {
      out.emplace_back(start <= line.size() ? line.substr(start) : std::string());
      start = line.size() + 1;
      continue;
    }
    out.emplace_back(line.substr(start, bar - start));
    start = bar + 1;
  }
  return out;
}

}  // namespace velk
