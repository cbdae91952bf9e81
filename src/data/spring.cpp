// Start values and text rules of the spring parameter set.
#include "data/spring.h"

#include "data/codepage.h"

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

std::string titleLineFromCalculation(const Spring& s) {
  return leftStr(s.zeichname + "   " + "Zeichn.Nr.: " + s.zeichnr, kLenTitleLine);
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
