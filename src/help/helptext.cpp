// Help texts: the lookup of a numbered entry in orvan.hlp / velk.hlp, the help box, the help
// image of an entry and the tool tip text.
#include "help/helptext.h"

#include <fstream>

#include "base/codepage.h"
#include "dialogs/configio.h"
#include "dialogs/dialogs.h"
#include "draw/displaylist.h"
#include "help/hpgl.h"

namespace velk {

namespace {

constexpr int kNotANumber = -1;

// The further lines of an entry run from k = 1 to 4 (text lines 2 to 5).
constexpr int kFurtherLines = kHelpTextLines - 1;

}  // namespace

bool BoundedLineReader::next(std::string& line) {
  line.clear();
  using Traits = std::streambuf::traits_type;
  int c = in_.sbumpc();
  if (Traits::eq_int_type(c, Traits::eof())) return false;
  for (;;) {
    if (Traits::eq_int_type(c, Traits::eof())) return true;
    const char ch = Traits::to_char_type(c);
    if (ch == '\n') return true;
    if (ch == '\r') {
      if (Traits::eq_int_type(in_.sgetc(), Traits::to_int_type('\n'))) in_.sbumpc();
      return true;
    }
    if (line.size() < keep_) line += ch;
    c = in_.sbumpc();
  }
}

bool BoundedLineReader::atEnd() {
  using Traits = std::streambuf::traits_type;
  return Traits::eq_int_type(in_.sgetc(), Traits::eof());
}

HelpNumberLine examineHelpLine(std::string_view line) {
  HelpNumberLine out;
  if (line.size() < 4) return out;
  std::size_t i = 0;
  while (i < 4 && line[i] == ' ') ++i;
  if (i == 4) return out;
  int value = 0;
  for (; i < 4; ++i) {
    if (line[i] < '0' || line[i] > '9') return out;
    value = value * 10 + (line[i] - '0');
  }
  out.number = value;
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) {
    out.image = "NULL";
  } else {
    std::string_view name = line.substr(colon + 1);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    out.image = std::string(name);
  }
  return out;
}

HelpEntry findHelpEntry(std::streambuf& file, uint16_t number) {
  HelpEntry entry;
  BoundedLineReader reader(file, kHelpLineKept);
  std::string line, text;
  // The search: every line read must be followed by another, or the search ends unsuccessful.
  for (;;) {
    if (!reader.next(line) || reader.atEnd()) return entry;
    HelpNumberLine examined = examineHelpLine(line);
    if (examined.number == kNotANumber) continue;  // a text line is its own text: never a match
    if (!reader.next(text) || reader.atEnd()) return entry;
    if (examined.number != number) continue;
    entry.found = true;
    entry.image = std::move(examined.image);
    entry.lines[0] = std::move(text);
    break;
  }
  // The further lines, k = 1..4, each giving text line k + 1.
  for (int k = 1; k <= kFurtherLines && !reader.atEnd(); ++k) {
    reader.next(line);
    const HelpNumberLine further = examineHelpLine(line);
    if (further.number == kNotANumber) {
      entry.lines[static_cast<std::size_t>(k)] = line;
      continue;
    }
    if (further.number % 5 == 0) break;  // the next entry's number line
    if (!reader.next(text)) break;
    if (further.number == number + k) entry.lines[static_cast<std::size_t>(k)] = text;
  }
  return entry;
}

HelpEntry findHelpEntry(std::string_view fileBytes, uint16_t number) {
  ViewStreamBuf buffer(fileBytes);
  return findHelpEntry(buffer, number);
}

std::string helpFileName(const HelpContext& ws, uint16_t number) {
  return number < kFirstProgramHelpNumber ? std::string("orvan.hlp") : lower(ws.start.shortName) + ".hlp";
}

std::string helpFilePath(const HelpContext& ws, uint16_t number) { return pltFolder(ws) + helpFileName(ws, number); }

std::string MissingHelpFileText(const std::string& path) {
  return "Datei " + utf8ToCp850(path) + " " + "nicht gefunden" + " !";
}

std::string NoHelpText(uint16_t number) {
  return "Hilfetext Nr " + fmtInt(number) + ": " + "keine Hilfe vorhanden" + ".";
}

std::string HelpBoxCaption(uint16_t number) { return std::string("HILFETEXT") + " " + "Nr" + "." + fmtInt(number); }

HelpEntry LookupHelp(const HelpContext& ws, uint16_t number) {
  if (number == 0) number = ws.helpNumber;
  const std::string path = helpFilePath(ws, number);
  HelpEntry entry;
  std::filebuf file;
  // A folder opens as a file here but reads nothing: it counts as missing like any unreadable name.
  if (isDirectory(path) || !file.open(path, std::ios::in | std::ios::binary)) {
    entry.lines[0] = MissingHelpFileText(path);
    return entry;
  }
  entry = findHelpEntry(file, number);
  entry.fileFound = true;
  if (!entry.found) entry.lines[0] = NoHelpText(number);
  return entry;
}

std::string shownHelpLine(const HelpContext& ws, std::string_view line, bool fromFile) {
  if (fromFile && line.size() > kHelpShownLineLength) return {};
  std::string out = ws.num().plainChars == 1 ? plainText(line) : std::string(line);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  return out;
}

std::string HelpBoxText(const HelpContext& ws, const HelpEntry& entry) {
  std::string text;
  for (const std::string& line : entry.lines) text += shownHelpLine(ws, line, entry.found) + " ";
  if (text.size() > kHelpTextLimit) text.resize(kHelpTextLimit);
  return text;
}

std::string helpImagePath(const HelpContext& ws, const std::string& name, const std::string& alternative) {
  const std::string folder = pltFolder(ws);
  std::string path = folder + name + ".plt";
  if (alternative != name && !fileExists(path)) {
    std::string other = folder + alternative + ".plt";
    if (fileExists(other)) return other;
  }
  return path;
}

void DrawHelpImage(HelpContext& ws, const std::string& path) {
  ClearDisplay(ws.display);
  Header(ws.display, 0, 0, 160, 120);
  DrawHpglFile(ws, path);
  ClearViewPort(ws.display);
}

void ShowHelp(HelpContext& ws, uint16_t number, int kind) {
  if (number == 0) number = ws.helpNumber;
  const HelpEntry entry = LookupHelp(ws, number);
  if (kind == 0 || kind == 1)
    ws.ui.show(
        MessageRequest{MessageKind::Titled, shownHelpLine(ws, HelpBoxCaption(number), false), HelpBoxText(ws, entry)});
  if (kind == 0 || kind == 2) {
    ClearDisplay(ws.display);
    Header(ws.display, 0, 0, 160, 120);
    if (!entry.image.empty() && entry.image != "NULL")
      DrawHpglFile(ws, helpImagePath(ws, entry.image, lower(entry.image)));
    ClearViewPort(ws.display);
  }
  ws.abort = false;
}

std::string HelpHint(HelpContext& ws, uint16_t number) {
  const HelpEntry entry = LookupHelp(ws, number);
  std::string hint;
  if (!entry.found) {
    hint = shownHelpLine(ws, entry.lines[0], false);
  } else {
    for (std::size_t i = 0; i < entry.lines.size(); ++i) {
      if (i > 0) hint += ' ';
      hint += shownHelpLine(ws, entry.lines[i], true);
    }
  }
  if (hint.size() > kHelpTextLimit) hint.resize(kHelpTextLimit);
  ws.abort = false;
  return hint;
}

}  // namespace velk
