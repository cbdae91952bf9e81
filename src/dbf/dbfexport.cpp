// Table-wide operations of the table engine: delimited text, append from a table, HTML, search, listing.
// All of them read the engine's records only through DbfTable and write whole files by temp + rename.
#include "dbf/dbfexport.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <sstream>

#include "dbf/dbfio.h"

namespace velk {

namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string_view trimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string_view trimBoth(std::string_view s) {
  s = trimRight(s);
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

std::string htmlEscape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(c);
        break;
    }
  }
  return out;
}

std::string converted(const DbfTextConverter& convert, std::string_view s) {
  return convert ? convert(s) : std::string(s);
}

// Lower-case mapping of one byte in the table's code page.
std::array<unsigned char, 256> foldTable(DbfCodePage cp) {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<unsigned char>(c + 32);
  auto pair = [&](int upper, int lower) { t[upper] = static_cast<unsigned char>(lower); };
  switch (cp) {
    case DbfCodePage::Win1252:
      for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7) t[c] = static_cast<unsigned char>(c + 32);
      pair(0x8A, 0x9A);
      pair(0x8C, 0x9C);
      pair(0x8E, 0x9E);
      pair(0x9F, 0xFF);
      break;
    case DbfCodePage::Cp437:
    case DbfCodePage::Cp850:
    case DbfCodePage::Unknown:
      // Letters shared by 437 and 850.
      pair(0x80, 0x87);
      pair(0x9A, 0x81);
      pair(0x90, 0x82);
      pair(0x8E, 0x84);
      pair(0x8F, 0x86);
      pair(0x92, 0x91);
      pair(0x99, 0x94);
      pair(0xA5, 0xA4);
      if (cp != DbfCodePage::Cp437) {
        // 850 adds the capitals 437 lacks (tables without a driver are the program's own, in 850).
        pair(0xB6, 0x83);
        pair(0xB7, 0x85);
        pair(0xD2, 0x88);
        pair(0xD3, 0x89);
        pair(0xD4, 0x8A);
        pair(0xD8, 0x8B);
        pair(0xD7, 0x8C);
        pair(0xDE, 0x8D);
        pair(0xE2, 0x93);
        pair(0xE3, 0x95);
        pair(0xEA, 0x96);
        pair(0xEB, 0x97);
        pair(0x9D, 0x9B);
        pair(0xB5, 0xA0);
        pair(0xD6, 0xA1);
        pair(0xE0, 0xA2);
        pair(0xE9, 0xA3);
        pair(0xC7, 0xC6);
        pair(0xD1, 0xD0);
        pair(0xE5, 0xE4);
        pair(0xE8, 0xE7);
        pair(0xED, 0xEC);
      }
      break;
  }
  return t;
}

void fold(const std::array<unsigned char, 256>& t, std::string_view in, std::string& out) {
  out.resize(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) out[i] = static_cast<char>(t[static_cast<unsigned char>(in[i])]);
}

// Reads the values of one record starting at text[i], up to and including its line end. A quoted
// value may hold commas, doubled quotes and line breaks. blank is set for a line without any value.
std::vector<std::string> readDelimitedRecord(std::string_view text, std::size_t& i, bool& blank) {
  std::vector<std::string> values;
  const std::size_t n = text.size();
  auto lineEnd = [&](std::size_t k) { return k < n && (text[k] == '\r' || text[k] == '\n'); };
  bool quotedSeen = false;
  for (;;) {
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::string value;
    if (i < n && text[i] == '"') {
      quotedSeen = true;
      ++i;
      while (i < n) {
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            value.push_back('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        value.push_back(text[i++]);
      }
      while (i < n && text[i] != ',' && !lineEnd(i)) ++i;  // anything between the closing quote and the comma
    } else {
      const std::size_t start = i;
      while (i < n && text[i] != ',' && !lineEnd(i)) ++i;
      value = std::string(trimBoth(text.substr(start, i - start)));
    }
    values.push_back(std::move(value));
    if (i < n && text[i] == ',') {
      ++i;  // a value (possibly empty) follows
      continue;
    }
    break;
  }
  if (i < n && text[i] == '\r') ++i;
  if (i < n && text[i] == '\n') ++i;
  blank = values.size() == 1 && values[0].empty() && !quotedSeen;
  return values;
}

}  // namespace

void writeDelimited(const DbfTable& table, std::ostream& out) {
  std::string line;
  for (std::uint32_t n = 1; n <= table.recordCount(); ++n) {
    if (table.isDeleted(n)) continue;
    line.clear();
    bool first = true;
    for (int i = 0; i < table.fieldCount(); ++i) {
      const DbfField& f = table.field(i);
      if (f.type == 'M') continue;
      if (!first) line.push_back(',');
      first = false;
      if (f.type == 'L') {
        std::string t = table.fieldText(n, i);
        if (!t.empty() && t != "?") line.push_back(table.fieldBool(n, i) ? 'T' : 'F');
        continue;
      }
      const std::string value = table.fieldText(n, i);
      // Text is always quoted; a number or date only when a damaged file put separators into it,
      // so that every record stays one record when the text is read back.
      if (f.type == 'C' || value.find_first_of(",\"\r\n\x1A") != std::string::npos) {
        line.push_back('"');
        for (char c : value) {
          if (c == '"') line.push_back('"');
          line.push_back(c);
        }
        line.push_back('"');
      } else {
        line += value;
      }
    }
    line += kCrLf;
    out << line;
  }
}

DbfStatus saveDelimited(const DbfTable& table, const std::string& path) {
  std::ostringstream out;
  writeDelimited(table, out);
  return dbfio::replaceFile(path, out.str());
}

std::vector<std::string> parseDelimited(const DbfTable& table, std::string_view text) {
  std::vector<std::string> records;
  if (!table.isOpen()) return records;
  std::vector<int> targets;
  for (int i = 0; i < table.fieldCount(); ++i)
    if (table.field(i).type != 'M') targets.push_back(i);
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] != '\x1A') {  // dBASE ends the file with 0x1A
    bool blank = false;
    std::vector<std::string> values = readDelimitedRecord(text, pos, blank);
    if (blank) continue;
    std::string rec = table.blankRecord();
    for (std::size_t k = 0; k < targets.size() && k < values.size(); ++k)
      table.setFieldText(rec, targets[k], values[k]);
    records.push_back(std::move(rec));
  }
  return records;
}

DbfStatus appendDelimited(DbfTable& table, const std::string& path, std::uint32_t* appended) {
  if (appended) *appended = 0;
  std::string text;
  if (DbfStatus st = dbfio::readFile(path, text); !st) return st;
  std::vector<std::string> records = parseDelimited(table, text);
  DbfStatus st = table.appendRecords(records);
  if (st && appended) *appended = static_cast<std::uint32_t>(records.size());
  return st;
}

DbfStatus appendFromDbf(DbfTable& target, const std::string& sourcePath, std::uint32_t* appended,
                        const DbfTextConverter& convert) {
  if (appended) *appended = 0;
  DbfTable source;
  if (DbfStatus st = source.open(sourcePath, true); !st) return st;
  std::vector<std::pair<int, int>> pairs;  // target field, source field
  for (int i = 0; i < target.fieldCount(); ++i) {
    if (target.field(i).type == 'M') continue;
    int j = source.fieldIndex(target.field(i).name);
    if (j >= 0 && source.field(j).type != 'M') pairs.emplace_back(i, j);
  }
  std::vector<std::string> records;
  for (std::uint32_t n = 1; n <= source.recordCount(); ++n) {
    if (source.isDeleted(n)) continue;
    std::string rec = target.blankRecord();
    for (auto [i, j] : pairs) {
      std::string text = source.fieldText(n, j);
      if (convert && target.field(i).type == 'C') text = convert(text);
      target.setFieldText(rec, i, text);
    }
    records.push_back(std::move(rec));
  }
  source.close();
  DbfStatus st = target.appendRecords(records);
  if (st && appended) *appended = static_cast<std::uint32_t>(records.size());
  return st;
}

void writeHtml(const DbfTable& table, std::ostream& out, const HtmlExportInfo& info) {
  std::string_view path = info.filePath;
  std::string_view name = path.substr(std::min(path.size(), path.find_last_of("/\\") + 1));
  if (auto dot = name.rfind('.'); dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  std::string upperPath(path);
  for (char& c : upperPath)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);

  std::string s;
  auto line = [&](std::string_view text) {
    s.append(text);
    s.append(kCrLf);
  };
  line("<HTML>");
  line("<head><title>" + htmlEscape(name) + "</title></head>");
  line("<BODY BGCOLOR=\"C0C0C0\">");
  line("<P>" + htmlEscape(info.programTitle) + "  V" + htmlEscape(info.version) + "</P>");
  line("<P>" + htmlEscape(upperPath) + "</P>");
  line("<P>" + htmlEscape(info.date) + " - " + htmlEscape(info.time) + "</P>");
  line("<HR>");
  line("<TABLE BORDER = \"1\" WIDTH= \"100%\">");
  std::string row = "<TR>";
  for (const DbfField& f : table.fields())
    row += "<TD><CENTER>" + htmlEscape(converted(info.convert, f.name)) + "</CENTER></TD>";
  line(row + "</TR>");
  out << s;
  for (std::uint32_t n = 1; n <= table.recordCount(); ++n) {
    if (table.isDeleted(n)) continue;
    s = "<TR>";
    for (int i = 0; i < table.fieldCount(); ++i)
      s += "<TD>" + htmlEscape(converted(info.convert, table.fieldText(n, i))) + "</TD>";
    s += "</TR>";
    s += kCrLf;
    out << s;
  }
  s.clear();
  line("</TABLE>");
  line("</BODY>");
  line("</HTML>");
  out << s;
}

DbfStatus exportHtml(const DbfTable& table, const HtmlExportInfo& info) {
  std::ostringstream out;
  writeHtml(table, out, info);
  return dbfio::replaceFile(info.filePath, out.str());
}

std::uint32_t searchTable(const DbfTable& table, std::string_view text, std::uint32_t fromRecord) {
  if (text.empty()) return 0;
  const auto t = foldTable(dbfCodePage(table.languageDriver()));
  std::string needle, hay;
  fold(t, text, needle);
  for (std::uint32_t n = std::max<std::uint32_t>(fromRecord, 1); n <= table.recordCount(); ++n) {
    if (table.isDeleted(n)) continue;
    for (int i = 0; i < table.fieldCount(); ++i) {
      std::string value = table.fieldText(n, i);
      if (value.size() < needle.size()) continue;
      fold(t, value, hay);
      if (hay.find(needle) != std::string::npos) return n;
    }
  }
  return 0;
}

void writeTableListing(const DbfTable& table, TableListingSink& sink) {
  const int columns = std::min(table.fieldCount(), 7);
  std::vector<TableListingColumn> heading;
  heading.reserve(static_cast<std::size_t>(columns > 0 ? columns : 0));
  for (int i = 0; i < columns; ++i) heading.push_back({table.field(i).name, table.field(i).length + 1});
  sink.heading(heading);
  std::vector<std::string> cells(static_cast<std::size_t>(columns));
  for (std::uint32_t n = 1; n <= table.recordCount(); ++n) {
    if (table.isDeleted(n)) continue;
    for (int i = 0; i < columns; ++i) {
      cells[static_cast<std::size_t>(i)] = table.fieldText(n, i);
      if (cells[static_cast<std::size_t>(i)].size() > 65) cells[static_cast<std::size_t>(i)].resize(65);
    }
    sink.row(cells);
  }
}

}  // namespace velk
