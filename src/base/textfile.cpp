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

TextReader::TextReader(std::string_view bytes) : data_(bytes) {
  crLines_ = bytes.find('\r') != std::string_view::npos;
}

std::string TextReader::readLine() {
  if (pos_ >= data_.size()) {
    pastEnd_ = true;
    return {};
  }
  const char end = crLines_ ? '\r' : '\n';
  std::size_t stop = data_.find(end, pos_);
  if (stop == std::string_view::npos) stop = data_.size();
  std::string line(data_.substr(pos_, stop - pos_));
  pos_ = stop;
  if (pos_ < data_.size()) {
    ++pos_;
    if (crLines_ && pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
  }
  return line;
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
