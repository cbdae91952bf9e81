// The bytes of the input file: written from a spring, parsed into one.
#include "data/inputfile.h"

#include <algorithm>

#include "base/codepage.h"
#include "base/identity.h"
#include "base/textfile.h"
#include "platform/files.h"

namespace velk {

namespace {

const std::string kRule65(65, '-');
const std::string kRule20(20, '-');
const std::string kRule14(14, '-');

// A text on a line of its own must not carry a line end of its own.
std::string oneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

// A "|" typed into a text of a field line would shift every later field on reading.
std::string fieldText(std::string_view text) { return replaceChar(oneLine(text), '|', '/'); }

std::string descriptionToLine(const std::string& d) { return replaceChar(d, '\r', '|'); }
std::string lineToDescription(const std::string& l) { return replaceChar(l, '|', '\r'); }

uint16_t toSelector(long long v) { return static_cast<uint16_t>(std::clamp<long long>(v, 0, 65535)); }

std::string cut(std::string s, std::size_t n) {
  if (s.size() > n) s.resize(n);
  return s;
}

// The line reader of the parse, counting lines and noting each line that should hold a number
// but does not (it still reads as 0). Empty lines are not noted: older files end early.
class NotingReader {
 public:
  NotingReader(std::string_view bytes, std::vector<std::string>* notes) : r_(bytes), notes_(notes) {}
  bool atEnd() const { return r_.atEnd(); }
  std::string readLine() {
    ++line_;
    return r_.readLine();
  }
  std::string peekLine() const { return r_.peekLine(); }
  bool lineEndedInLoneLf() const { return r_.lineEndedInLoneLf(); }
  std::vector<std::string> readFields(int n) {
    ++line_;
    return r_.readFields(n);
  }
  char readChar() {
    ++line_;
    return r_.readChar();
  }
  long long readInt() {
    const std::string l = readLine();
    long long v = 0;
    if (!tryParseInt(trim(l), v)) note(l);
    return lineToInt(l);
  }
  Real readReal() {
    const std::string l = readLine();
    std::string t = trim(l);
    for (char& c : t)
      if (c == ',') c = '.';
    Real v = 0;
    if (!tryParseReal(t, v)) note(l);
    return lineToReal(l);
  }

 private:
  void note(const std::string& l) {
    if (!notes_ || trim(l).empty()) return;
    notes_->push_back("Zeile " + fmtInt(line_) + " keine Zahl: " + escapeControls(cut(trim(l), 40)));
  }
  TextReader r_;
  std::vector<std::string>* notes_;
  int line_ = 0;
};

// Lines a change description may span; a longer run is no description written by the program.
constexpr int kMaxDescriptionLines = 64;

// A change description: the writer puts "|" for each CR of a multi-line description and keeps the
// LF after it, which ends the line for the reader. The lines are joined again as long as each
// ends with "|" and the entry's 14 "-" follow; anything else reads one line as before. In a file
// with CR LF line ends, a "|" before a lone LF is the writer's own form and always continues, so
// a description line of 14 "-" stays in its description.
std::string readDescription(NotingReader& r) {
  std::string first = r.readLine();
  NotingReader ahead = r;
  std::string joined = first;
  for (int i = 0; i < kMaxDescriptionLines && !ahead.atEnd(); ++i) {
    const bool continues = !joined.empty() && joined.back() == '|';
    if (ahead.peekLine() == kRule14 && !(continues && ahead.lineEndedInLoneLf())) {
      if (i > 0) r = ahead;
      return joined;
    }
    if (!continues) break;
    joined += '\n';
    joined += ahead.readLine();
  }
  return first;
}

}  // namespace

std::string escapeControls(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      out += "\\x";
      out += kHex[u >> 4];
      out += kHex[u & 15];
    } else {
      out += c;
    }
  }
  return out;
}

std::string notSpringFileReason(std::string_view bytes) {
  if (bytes.empty()) return "leer";
  if (bytes.find('\0') != std::string_view::npos) return oem("binär");
  if (countLines(bytes) < kMandatorySpringLines) return "zu kurz";
  return {};
}

std::string notSpringWorkbookReason(std::string_view bytes) {
  if (std::string why = notSpringFileReason(bytes); !why.empty()) return why;
  // Lines 12 to 22 hold the numbers every spring file has (b to forme); a report or any other
  // table has texts there.
  TextReader r(bytes);
  for (std::size_t line = 1; line <= kLastMandatoryNumberLine; ++line) {
    const std::string l = r.readLine();
    if (line < kFirstMandatoryNumberLine) continue;
    std::string t(trim(l));
    for (char& c : t)
      if (c == ',') c = '.';
    Real v = 0;
    if (!tryParseReal(t, v)) return "Zeile " + fmtInt(static_cast<long long>(line)) + " keine Zahl";
  }
  return {};
}

std::string resolveInputName(const Spring& s, const std::string& name) {
  if (hasExtension(name)) return name;
  return withSeparator(s.dataDir) + name + "." + s.fileExt;
}

std::string inputFileBytes(const Spring& s, const NumberSettings& num) {
  const Documentation& d = s.doc;
  TextWriter w(num);
  w.writeLine(kRule65);
  w.writeLine(kProgramTitle);
  w.writeLine(std::string("Version ") + kVersion + "    " + "Eingabedatei");
  w.writeLine("Spiralfeder");
  w.writeLine(kRule65);
  for (const std::string* t : {&s.titleLine, &s.bemerk1, &s.bemerk2, &s.zeichname, &s.zeichnr, &s.zeichname2})
    w.writeLine(oneLine(*t));
  for (Real x : {s.b, s.t, s.n0, s.ri, s.re, s.alpha1, s.alpha2, s.theta}) w.writeReal(x);
  w.writeInt(s.matNoFlat);
  w.writeInt(s.formi);
  w.writeInt(s.forme);
  for (Real x : {s.li, s.le, s.rbi, s.rbe}) w.writeReal(x);

  // Change history.
  w.writeLine(oem("ÄNDERUNGEN"));
  const int n = std::clamp(d.changeCount, 0, kMaxChangeEntries);
  w.writeInt(n);
  w.writeLine(kRule20);
  for (int i = 0; i < n; ++i) {
    const ChangeEntry& e = d.changes[i];
    w.writeLine(oneLine(e.designation));
    w.writeLine(oneLine(e.date));
    w.writeLine(oneLine(e.editor));
    w.writeLine(descriptionToLine(e.description));
    w.writeLine(kRule14);
  }
  const DrawingInfo& info = d.info;
  const int k = std::clamp(info.freeTextCount, 0, kMaxFreeTexts);
  const std::string count = fmtInt(k);
  w.writeFields({fieldText(info.checkDate), fieldText(info.checker), fieldText(info.standardsDate),
                 fieldText(info.standardsChecker), fieldText(info.releaseDate), fieldText(info.releaser), count, ""});
  w.writeLine(oneLine(info.creationDate));
  w.writeLine(oneLine(info.replaces));
  w.writeLine(oneLine(info.replacedBy));
  w.writeLine(oneLine(info.author));
  // The significant-digit form can round up into a longer text (9.9999 gives "10.000", which
  // reads back as 10 and is then written "10"); writing the value as it will be read keeps
  // write, read, write byte-identical.
  const NumberSettings& ns = num;
  auto sig = [&ns](Real x) { return fmtSig(ns, lineToReal(fmtSig(ns, x))); };
  for (int i = 0; i < k; ++i) {
    const FreeText& f = info.freeTexts[i];
    w.writeFields({sig(f.x), sig(f.y), sig(f.h), sig(f.phi), fieldText(f.text), ""});
  }

  // Linked documents.
  w.writeLine("Dokumente");
  w.writeInt(kLinkedDocuments);
  w.writeLine(kRule20);
  for (const LinkedDocument& doc : d.documents) {
    w.writeLine(oneLine(doc.program));
    w.writeLine(oneLine(doc.file));
    w.writeLine(kRule14);
  }

  w.writeInt(s.crossSection);
  w.writeInt(s.matNoRound);
  w.writeInt(s.statdyn);
  w.writeReal(s.freq);
  // Shot peening is stored too, so a treated spring keeps its treatment and batch jobs can compute it.
  w.writeChar(s.kugelstrahlen == 'J' ? 'J' : 'N');
  return w.bytes();
}

void parseInputFile(Spring& s, const NumberSettings& num, std::string_view bytes, std::vector<std::string>* notes) {
  (void)num;  // a number line reads the same under either decimal setting: "." and "," are both taken
  Documentation& d = s.doc;
  NotingReader r(bytes, notes);
  for (int i = 0; i < 5; ++i) r.readLine();
  s.titleLine = cut(r.readLine(), kLenTitleLine);
  s.bemerk1 = cut(r.readLine(), kLenBemerk);
  s.bemerk2 = cut(r.readLine(), kLenBemerk);
  s.zeichname = cut(r.readLine(), kLenZeichname);
  s.zeichnr = cut(r.readLine(), kLenZeichnr);
  s.zeichname2 = cut(r.readLine(), kLenZeichname2);
  for (Real* x : {&s.b, &s.t, &s.n0, &s.ri, &s.re, &s.alpha1, &s.alpha2, &s.theta}) *x = r.readReal();
  s.matNoFlat = toSelector(r.readInt());
  s.formi = toSelector(r.readInt());
  s.forme = toSelector(r.readInt());
  for (Real* x : {&s.li, &s.le, &s.rbi, &s.rbe}) *x = r.readReal();

  // Change history.
  r.readLine();  // "ÄNDERUNGEN"
  d.changeCount = static_cast<int>(std::clamp<long long>(r.readInt(), 0, kMaxChangeEntries));
  r.readLine();
  for (int i = 0; i < d.changeCount; ++i) {
    ChangeEntry& e = d.changes[i];
    e.designation = cut(r.readLine(), 20);
    e.date = cut(r.readLine(), 10);
    e.editor = cut(r.readLine(), 5);
    e.description = lineToDescription(readDescription(r));
    r.readLine();
  }
  DrawingInfo& info = d.info;
  std::vector<std::string> f = r.readFields(8);
  info.checkDate = cut(f[0], 10);
  info.checker = cut(f[1], 10);
  info.standardsDate = cut(f[2], 10);
  info.standardsChecker = cut(f[3], 10);
  info.releaseDate = cut(f[4], 10);
  info.releaser = cut(f[5], 10);
  info.freeTextCount = static_cast<int>(std::clamp<long long>(lineToInt(f[6]), 0, kMaxFreeTexts));
  info.creationDate = cut(r.readLine(), 10);
  info.replaces = cut(r.readLine(), 15);
  info.replacedBy = cut(r.readLine(), 15);
  info.author = cut(r.readLine(), 10);
  for (int i = 0; i < info.freeTextCount; ++i) {
    std::vector<std::string> t = r.readFields(6);
    FreeText& ft = info.freeTexts[i];
    ft.x = lineToReal(t[0]);
    ft.y = lineToReal(t[1]);
    ft.h = lineToReal(t[2]);
    ft.phi = lineToReal(t[3]);
    ft.text = cut(t[4], 80);
  }

  // Linked documents: always five are written; read what the file says, keep five.
  r.readLine();  // "Dokumente"
  const long long docs = std::clamp<long long>(r.readInt(), 0, 100);
  r.readLine();
  for (long long i = 0; i < docs && !r.atEnd(); ++i) {
    std::string program = cut(r.readLine(), 50);
    std::string file = cut(r.readLine(), 50);
    r.readLine();
    if (i < kLinkedDocuments) {
      d.documents[i].program = program;
      d.documents[i].file = file;
    }
  }

  s.crossSection = toSelector(r.readInt());
  s.matNoRound = toSelector(r.readInt());
  s.statdyn = toSelector(r.readInt());
  s.freq = r.readReal();
  const char peened = r.readChar();  // files of older versions end before this line
  s.kugelstrahlen = (peened == 'J' || peened == 'j') ? 'J' : 'N';
}

}  // namespace velk
