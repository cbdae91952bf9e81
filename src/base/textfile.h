// Line primitives of the program's own text files (input file, configuration, recent files).
// One value per line, CR LF line ends, code page 850 bytes, read by position.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "base/numfmt.h"

namespace velk {

// Collects the lines of a file in memory; the caller saves the bytes in one atomic step.
class TextWriter {
 public:
  explicit TextWriter(const NumberSettings& s) : settings_(s) {}
  void writeLine(std::string_view text);
  void writeInt(long long n);
  // 7 decimals (shifted by the decimal-places setting) for values of 1 or more or not close to
  // a whole number; the compact significant-digit form for whole numbers below 1 ("0", "-5").
  void writeReal(Real x);
  // Each field followed by "|".
  void writeFields(std::initializer_list<std::string_view> fields);
  void writeBool(bool b) { writeLine(b ? "TRUE" : "FALSE"); }
  void writeChar(char c) { writeLine(std::string_view(&c, 1)); }
  const std::string& bytes() const { return out_; }

 private:
  const NumberSettings& settings_;
  std::string out_;
};

// The text of a real line as writeReal produces it.
std::string realLineText(const NumberSettings& s, Real x);

// Reads lines from bytes held in memory. A line ends at CR LF, at a lone CR or at a lone LF, so a
// file reads the same whatever line ends an editor or a transfer left in it, mixed ones included.
// (The writer never puts a CR or LF inside a line, except the LF of a multi-line change
// description, which parseInputFile joins again.) Past the end every read gives an empty line
// and atEnd() is true.
class TextReader {
 public:
  explicit TextReader(std::string_view bytes);
  bool atEnd() const { return pos_ >= data_.size(); }
  // True once a read was attempted past the end of the data.
  bool readPastEnd() const { return pastEnd_; }
  std::string readLine();
  // The line readLine would return next, without reading it (empty past the end).
  std::string peekLine() const;
  // The last line read ended in an LF without a CR before it, in data that hold CRs elsewhere:
  // the form a multi-line change description takes in a file the program wrote.
  bool lineEndedInLoneLf() const { return hasCr_ && loneLf_; }
  long long readInt();                         // not an integer: 0
  Real readReal();                             // every "," becomes "."; not a number: 0
  bool readTrue();                             // line upper-cased equals "TRUE"
  bool readNotFalse();                         // unless the line upper-cased equals "FALSE"
  char readChar();                             // first character, 0 for an empty line
  std::vector<std::string> readFields(int n);  // the texts before the first n "|"

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
  bool pastEnd_ = false;
  bool hasCr_ = false;
  bool loneLf_ = false;
};

// The number of lines TextReader finds in bytes (a last line without a line end counts).
std::size_t countLines(std::string_view bytes);

// Integer and real conversion as the line readers do it.
long long lineToInt(std::string_view line);
Real lineToReal(std::string_view line);

}  // namespace velk
