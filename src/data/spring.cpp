// Start values and text rules of the spring parameter set.
#include "data/spring.h"

#include "base/codepage.h"

namespace velk {

void resetToStartValues(Spring& s) {
  Spring fresh;
  fresh.doc = std::move(s.doc);
  fresh.fileName = std::move(s.fileName);
  fresh.dataDir = std::move(s.dataDir);
  fresh.modified = s.modified;
  fresh.fileExt = std::move(s.fileExt);
  s = std::move(fresh);
}

std::string titleLineFromDialog(const Spring& s) {
  return leftStr(s.zeichname + "  " + "Zeichn.Nr." + ": " + s.zeichnr, kLenTitleLine);
}

// Built piecewise, each piece cut to its column (28, 40, 58), so an over-long name or number
// never shifts the label; with the stored maximum lengths no cut ever applies. One buffer: every
// calculation rebuilds this line.
std::string titleLineFromCalculation(const Spring& s) {
  const auto appendUpTo = [](std::string& line, std::string_view piece, std::size_t column) {
    if (line.size() < column) line.append(piece.substr(0, column - line.size()));
  };
  std::string line;
  line.reserve(kLenTitleLine);
  appendUpTo(line, s.zeichname, 28);
  appendUpTo(line, "   ", 28);
  appendUpTo(line, "Zeichn.Nr.: ", 40);
  appendUpTo(line, s.zeichnr, 58);
  return line;  // at most 58 <= 65 characters
}

void storeSpringTexts(Spring& s, const SpringTexts& t) {
  s.zeichname = leftStr(t.zeichname, kLenZeichname);
  s.zeichname2 = leftStr(t.zeichname2, kLenZeichname2);
  s.zeichnr = leftStr(t.zeichnr, kLenZeichnr);
  s.bemerk1 = leftStr(t.bemerk1, kLenBemerk);
  s.bemerk2 = leftStr(t.bemerk2, kLenBemerk);
  s.titleLine = titleLineFromDialog(s);
  s.modified = true;
}

}  // namespace velk
