// Reading column A of a workbook's first sheet: the package opened from memory with libzip, its
// parts inflated chunk by chunk straight into expat, so no part is ever held whole. Every part is
// counted against the limits while it inflates (a small zip may expand without end), and a part
// with a document type declaration is refused before any entity could be defined or expanded.
#include <expat.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>

#include "base/codepage.h"
#include "base/numfmt.h"
#include "sheet/xlsx/xlsx.h"

namespace velk {

namespace {

// Element names arrive as "namespace-uri" + kNsSep + "local name"; only the local name matters.
constexpr char kNsSep = '\x01';

std::string_view localName(const XML_Char* name) {
  std::string_view n(name);
  const std::size_t p = n.rfind(kNsSep);
  return p == std::string_view::npos ? n : n.substr(p + 1);
}

// The attribute whose local name is wanted, or nullptr.
const XML_Char* attribute(const XML_Char** attrs, std::string_view wanted) {
  for (int i = 0; attrs[i]; i += 2)
    if (localName(attrs[i]) == wanted) return attrs[i + 1];
  return nullptr;
}

bool endsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// Characters of UTF-8 text: the bytes that do not continue a sequence.
std::size_t utf8Chars(std::string_view s) {
  std::size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

// Why a read failed; each becomes one message.
enum class Failure {
  None,
  NotWorkbook,
  NoSheet,
  TooLarge,
  Entities,
  Malformed,
  LongCell,
  TooManyRows,
  TooDeep,
  TooManyElements
};

// One XML part. Every element passes the depth and count limits here before the part sees it:
// expat keeps each open element on its own stack, so without a bound on the depth a small file of
// nested elements would take memory in proportion to its inflated size.
struct Parser {
  XML_Parser p = nullptr;
  bool doctype = false;  // a document type declaration was met: the part is refused
  Failure failure = Failure::None;
  std::size_t failedRow = 0;
  std::size_t depth = 0;
  std::size_t elements = 0;
  std::size_t maxDepth = 0;  // set by Package::parse from the limits
  std::size_t maxElements = 0;
  Parser() {
    p = XML_ParserCreateNS("UTF-8", kNsSep);
    if (!p) return;
    XML_SetUserData(p, this);
    XML_SetElementHandler(
        p,
        [](void* u, const XML_Char* name, const XML_Char** attrs) {
          auto* self = static_cast<Parser*>(u);
          if (self->failure != Failure::None) return;
          if (++self->depth > self->maxDepth) return self->fail(Failure::TooDeep);
          if (++self->elements > self->maxElements) return self->fail(Failure::TooManyElements);
          self->start(name, attrs);
        },
        [](void* u, const XML_Char* name) {
          auto* self = static_cast<Parser*>(u);
          if (self->failure != Failure::None) return;
          if (self->depth > 0) --self->depth;
          self->end(name);
        });
    XML_SetStartDoctypeDeclHandler(p, [](void* u, const XML_Char*, const XML_Char*, const XML_Char*, int) {
      auto* self = static_cast<Parser*>(u);
      self->doctype = true;
      XML_StopParser(self->p, XML_FALSE);
    });
    XML_SetEntityDeclHandler(p, [](void* u, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                   const XML_Char*, const XML_Char*, const XML_Char*) {
      auto* self = static_cast<Parser*>(u);
      self->doctype = true;
      XML_StopParser(self->p, XML_FALSE);
    });
  }
  virtual ~Parser() {
    if (p) XML_ParserFree(p);
  }
  virtual void start(const XML_Char* name, const XML_Char** attrs) = 0;
  virtual void end(const XML_Char*) {}
  Parser(const Parser&) = delete;
  Parser& operator=(const Parser&) = delete;
  // Stops the parse with a failure of the content (not of the XML).
  void fail(Failure f) {
    if (failure == Failure::None) failure = f;
    XML_StopParser(p, XML_FALSE);
  }
};

// ---- The parts ----

// xl/workbook.xml: the relationship id of the first sheet.
struct WorkbookPart : Parser {
  std::string firstSheetId;
  bool found = false;
  void start(const XML_Char* name, const XML_Char** attrs) override {
    if (found || localName(name) != "sheet") return;
    found = true;
    if (const XML_Char* id = attribute(attrs, "id")) firstSheetId = id;
  }
};

// xl/_rels/workbook.xml.rels: the targets of the first sheet and of the shared strings.
struct RelationsPart : Parser {
  std::string sheetId, sheetTarget, sharedStringsTarget;
  explicit RelationsPart(std::string id) : sheetId(std::move(id)) {}
  void start(const XML_Char* name, const XML_Char** attrs) override {
    if (localName(name) != "Relationship") return;
    const XML_Char* id = attribute(attrs, "Id");
    const XML_Char* type = attribute(attrs, "Type");
    const XML_Char* target = attribute(attrs, "Target");
    if (!target) return;
    if (id && !sheetId.empty() && sheetId == id) sheetTarget = target;
    if (type && endsWith(type, "/sharedStrings") && sharedStringsTarget.empty()) sharedStringsTarget = target;
  }
};

// Collects text of <t> elements, leaving out phonetic runs (<rPh>), up to the cell limit.
struct TextCollector {
  std::string text;
  int inText = 0;
  int inPhonetic = 0;
  bool tooLong = false;
  std::size_t maxChars = 0;
  void append(Parser& parser, const XML_Char* s, int len) {
    if (inText == 0 || inPhonetic > 0 || tooLong) return;
    text.append(s, static_cast<std::size_t>(len));
    // Bytes bound characters from above: count only when the bytes could be too many.
    if (text.size() > maxChars && utf8Chars(text) > maxChars) {
      tooLong = true;
      parser.fail(Failure::LongCell);
    }
  }
};

// A column-A cell that names a shared string: filled in when the string table is read.
struct SharedReference {
  std::size_t index = 0;
  std::size_t row = 0;  // 1-based
};

// xl/sharedStrings.xml: the string table, of which only the strings column A names are kept.
struct SharedStringsPart : Parser {
  std::vector<SharedReference> wanted;  // sorted by index
  std::vector<std::string>& lines;
  std::size_t& columnBytes;
  const WorkbookLimits& limits;
  std::size_t next = 0;   // first entry of wanted not yet filled
  std::size_t count = 0;  // strings met so far
  TextCollector item;
  bool inItem = false;
  std::size_t failedRow = 0;
  SharedStringsPart(std::vector<SharedReference> refs, std::vector<std::string>& l, std::size_t& bytes,
                    const WorkbookLimits& lim)
      : wanted(std::move(refs)), lines(l), columnBytes(bytes), limits(lim) {
    item.maxChars = limits.maxCellChars;
    XML_SetCharacterDataHandler(p, [](void* u, const XML_Char* s, int len) {
      auto* self = static_cast<SharedStringsPart*>(static_cast<Parser*>(u));
      // Strings column A does not name are not kept.
      if (self->next < self->wanted.size() && self->wanted[self->next].index == self->count) {
        self->item.append(*self, s, len);
        if (self->item.tooLong) self->failedRow = self->wanted[self->next].row;
      }
    });
  }

  void start(const XML_Char* name, const XML_Char**) override {
    const std::string_view n = localName(name);
    if (n == "si") {
      inItem = true;
      item.text.clear();
      item.tooLong = false;
    } else if (n == "t" && inItem) {
      ++item.inText;
    } else if (n == "rPh") {
      ++item.inPhonetic;
    }
  }
  void end(const XML_Char* name) override {
    const std::string_view n = localName(name);
    if (n == "si" && inItem) {
      inItem = false;
      finishItem();
    } else if (n == "t" && item.inText > 0) {
      --item.inText;
    } else if (n == "rPh" && item.inPhonetic > 0) {
      --item.inPhonetic;
    }
  }

  void finishItem() {
    while (next < wanted.size() && wanted[next].index == count) {
      const SharedReference& ref = wanted[next++];
      columnBytes += item.text.size();
      if (columnBytes > limits.maxColumnBytes) return fail(Failure::TooLarge);
      lines[ref.row - 1] = item.text;
    }
    item.text.clear();
    ++count;
  }
  // Every reference found its string.
  bool complete() const { return next == wanted.size(); }
};

// Column and row of a cell reference such as "A12"; 0 where a part is missing or not a number.
void parseReference(std::string_view ref, std::size_t& column, std::size_t& row) {
  column = 0;
  row = 0;
  std::size_t i = 0;
  while (i < ref.size() && ((ref[i] >= 'A' && ref[i] <= 'Z') || (ref[i] >= 'a' && ref[i] <= 'z'))) {
    if (column > 100000) return;
    column = column * 26 + static_cast<std::size_t>((ref[i] | 0x20) - 'a' + 1);
    ++i;
  }
  std::size_t r = 0;
  const std::size_t digitsFrom = i;
  while (i < ref.size() && ref[i] >= '0' && ref[i] <= '9') {
    if (r > 100000000) return;
    r = r * 10 + static_cast<std::size_t>(ref[i] - '0');
    ++i;
  }
  if (i == ref.size() && i > digitsFrom) row = r;
}

// A row number attribute: 0 when it is not a plain number (or absurdly large).
std::size_t parseRowNumber(const XML_Char* text) {
  std::size_t r = 0;
  std::string_view t(text);
  if (t.empty()) return 0;
  for (char c : t) {
    if (c < '0' || c > '9' || r > 100000000) return 0;
    r = r * 10 + static_cast<std::size_t>(c - '0');
  }
  return r;
}

// The sheet: the cells of column A.
struct SheetPart : Parser {
  const WorkbookLimits& limits;
  std::vector<std::string> lines;
  std::vector<SharedReference> sharedRefs;
  std::size_t columnBytes = 0;
  std::size_t row = 0;     // current row number (1-based), 0 before the first
  std::size_t column = 0;  // column of the last cell in the row
  bool inCell = false, wanted = false;
  std::string type;  // t of the current cell
  std::size_t cellRow = 0;
  int inValue = 0;
  std::string value;         // <v>
  TextCollector inlineText;  // <is><t>
  int inInline = 0;

  explicit SheetPart(const WorkbookLimits& l) : limits(l) {
    inlineText.maxChars = l.maxCellChars;
    XML_SetCharacterDataHandler(p, [](void* u, const XML_Char* s, int len) {
      auto* self = static_cast<SheetPart*>(static_cast<Parser*>(u));
      if (!self->wanted) return;
      if (self->inValue > 0) {
        self->value.append(s, static_cast<std::size_t>(len));
        if (self->value.size() > self->limits.maxCellChars * 4) {
          self->failedRow = self->cellRow;
          self->fail(Failure::LongCell);
        }
      } else if (self->inInline > 0) {
        self->inlineText.append(*self, s, len);
        if (self->inlineText.tooLong) self->failedRow = self->cellRow;
      }
    });
  }

  void start(const XML_Char* name, const XML_Char** attrs) override {
    const std::string_view n = localName(name);
    if (n == "row") {
      const XML_Char* r = attribute(attrs, "r");
      const std::size_t number = r ? parseRowNumber(r) : row + 1;
      if (number == 0) return fail(Failure::Malformed);
      if (number > limits.maxRows) return fail(Failure::TooManyRows);
      row = number;
      column = 0;
    } else if (n == "c") {
      inCell = true;
      std::size_t refColumn = 0, refRow = 0;
      if (const XML_Char* ref = attribute(attrs, "r")) parseReference(ref, refColumn, refRow);
      column = refColumn > 0 ? refColumn : column + 1;
      cellRow = refRow > 0 ? refRow : (row > 0 ? row : 1);
      if (cellRow > limits.maxRows) return fail(Failure::TooManyRows);
      wanted = column == 1;
      const XML_Char* t = attribute(attrs, "t");
      type = t ? t : "n";
      value.clear();
      inlineText.text.clear();
      inlineText.tooLong = false;
    } else if (wanted && n == "v") {
      ++inValue;
    } else if (wanted && n == "is") {
      ++inInline;
    } else if (wanted && inInline > 0 && n == "t") {
      ++inlineText.inText;
    } else if (wanted && inInline > 0 && n == "rPh") {
      ++inlineText.inPhonetic;
    }
  }

  void end(const XML_Char* name) override {
    const std::string_view n = localName(name);
    if (n == "c" && inCell) {
      inCell = false;
      if (wanted) store();
      wanted = false;
    } else if (n == "v" && inValue > 0) {
      --inValue;
    } else if (n == "is" && inInline > 0) {
      --inInline;
    } else if (n == "t" && inlineText.inText > 0) {
      --inlineText.inText;
    } else if (n == "rPh" && inlineText.inPhonetic > 0) {
      --inlineText.inPhonetic;
    }
  }

  void store() {
    std::string text;
    if (lines.size() < cellRow) lines.resize(cellRow);
    if (type == "s") {
      const std::size_t index = parseRowNumber(value.c_str());
      if (value.empty() || (index == 0 && value != "0")) return fail(Failure::Malformed);
      sharedRefs.push_back({index, cellRow});
      lines[cellRow - 1].clear();
      columnBytes += 2;
      return;
    } else if (type == "inlineStr") {
      text = std::move(inlineText.text);
    } else {
      text = std::move(value);
    }
    if (utf8Chars(text) > limits.maxCellChars) {
      failedRow = cellRow;
      return fail(Failure::LongCell);
    }
    columnBytes += text.size() + 2;
    if (columnBytes > limits.maxColumnBytes) return fail(Failure::TooLarge);
    lines[cellRow - 1] = std::move(text);
  }
};

// ---- The package ----

struct ZipCloser {
  void operator()(zip_t* z) const { zip_discard(z); }
};
struct FileCloser {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};

class Package {
 public:
  Package(std::string_view bytes, const WorkbookLimits& limits) : limits_(limits) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source) {
      zip_.reset(zip_open_from_source(source, ZIP_RDONLY, &error));
      if (!zip_) zip_source_free(source);
    }
    zip_error_fini(&error);
  }
  bool open() const { return zip_ != nullptr; }

  std::optional<zip_uint64_t> locate(const std::string& name) const {
    const zip_int64_t i = zip_name_locate(zip_.get(), name.c_str(), ZIP_FL_NOCASE);
    if (i < 0) return std::nullopt;
    return static_cast<zip_uint64_t>(i);
  }

  // Inflates the part into the parser. Failure::None when the whole part parsed.
  Failure parse(zip_uint64_t index, Parser& parser) {
    if (!parser.p) return Failure::TooLarge;  // no memory for a parser
    parser.maxDepth = limits_.maxDepth;
    parser.maxElements = limits_.maxElements;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(zip_.get(), index, 0, &st) != 0) return Failure::NotWorkbook;
    if ((st.valid & ZIP_STAT_SIZE) && (st.size > limits_.maxEntryBytes || st.size > limits_.maxTotalBytes - total_))
      return Failure::TooLarge;
    std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(zip_.get(), index, 0));
    if (!file) return Failure::NotWorkbook;
    std::array<char, std::size_t{64} * 1024> buffer;
    std::size_t entry = 0;
    for (;;) {
      const zip_int64_t n = zip_fread(file.get(), buffer.data(), buffer.size());
      if (n < 0) return Failure::NotWorkbook;
      const bool last = n == 0;
      entry += static_cast<std::size_t>(n);
      total_ += static_cast<std::size_t>(n);
      if (entry > limits_.maxEntryBytes || total_ > limits_.maxTotalBytes) return Failure::TooLarge;
      if (XML_Parse(parser.p, buffer.data(), static_cast<int>(n), last) != XML_STATUS_OK) {
        if (parser.doctype) return Failure::Entities;
        if (parser.failure != Failure::None) return parser.failure;
        return Failure::Malformed;
      }
      if (last) return parser.failure;
    }
  }

 private:
  const WorkbookLimits& limits_;
  std::unique_ptr<zip_t, ZipCloser> zip_;
  std::size_t total_ = 0;
};

// A relationship target as a part name: relative to "xl/", or absolute from the package root.
std::string partName(std::string_view target) {
  if (!target.empty() && target.front() == '/') return std::string(target.substr(1));
  std::string name = "xl/";
  while (target.substr(0, 2) == "./") target.remove_prefix(2);
  if (target.substr(0, 3) == "../") {
    target.remove_prefix(3);
    name.clear();
  }
  return name + std::string(target);
}

std::string failureText(Failure f, std::string_view name, std::size_t row, const WorkbookLimits& limits) {
  const std::string n(name);
  switch (f) {
    case Failure::None:
      return {};
    case Failure::NotWorkbook:
      return n + " ist keine Arbeitsmappe (.xlsx)";
    case Failure::NoSheet:
      return n + oem(": Die Arbeitsmappe enthält kein Tabellenblatt");
    case Failure::TooLarge:
      return n + oem(": Die Arbeitsmappe ist entpackt zu groß (mehr als ") +
             fmtInt(static_cast<long long>(limits.maxEntryBytes >> 20)) + " MB)";
    case Failure::Entities:
      return n + oem(": Die Arbeitsmappe enthält unzulässige XML-Definitionen (DOCTYPE)");
    case Failure::Malformed:
      return n + oem(": Die Arbeitsmappe ist beschädigt");
    case Failure::LongCell:
      if (row == 0)
        return n + oem(": Eine Zelle ist länger als ") + fmtInt(static_cast<long long>(limits.maxCellChars)) +
               " Zeichen";
      return n + oem(": Zelle A") + fmtInt(static_cast<long long>(row)) + oem(" ist länger als ") +
             fmtInt(static_cast<long long>(limits.maxCellChars)) + " Zeichen";
    case Failure::TooDeep:
      return n + oem(": Die Arbeitsmappe ist zu tief verschachtelt (mehr als ") +
             fmtInt(static_cast<long long>(limits.maxDepth)) + " Ebenen)";
    case Failure::TooManyElements:
      return n + oem(": Ein Teil der Arbeitsmappe hat mehr als ") + fmtInt(static_cast<long long>(limits.maxElements)) +
             " XML-Elemente";
    case Failure::TooManyRows:
      return n + oem(": Die Tabelle hat mehr als ") + fmtInt(static_cast<long long>(limits.maxRows)) + " Zeilen";
  }
  return {};
}

}  // namespace

WorkbookColumn readWorkbookColumnXlsx(std::string_view bytes, std::string_view name, const WorkbookLimits& limits) {
  WorkbookColumn out;
  std::size_t failedRow = 0;
  const auto failed = [&](Failure f) {
    out.ok = false;
    out.lines.clear();
    out.error = failureText(f, name, failedRow, limits);
    return out;
  };
  if (bytes.size() < 4 || bytes.substr(0, 4) != std::string_view("PK\3\4", 4)) return failed(Failure::NotWorkbook);
  Package package(bytes, limits);
  if (!package.open()) return failed(Failure::NotWorkbook);

  // The first sheet as the workbook lists it, and the shared strings its relationships name.
  std::string sheetName, stringsName = "xl/sharedStrings.xml";
  if (const auto book = package.locate("xl/workbook.xml")) {
    WorkbookPart part;
    if (Failure f = package.parse(*book, part); f != Failure::None) return failed(f);
    if (!part.firstSheetId.empty()) {
      if (const auto rels = package.locate("xl/_rels/workbook.xml.rels")) {
        RelationsPart relations(part.firstSheetId);
        if (Failure f = package.parse(*rels, relations); f != Failure::None) return failed(f);
        if (!relations.sheetTarget.empty()) sheetName = partName(relations.sheetTarget);
        if (!relations.sharedStringsTarget.empty()) stringsName = partName(relations.sharedStringsTarget);
      }
    }
  }
  std::optional<zip_uint64_t> sheet = sheetName.empty() ? std::nullopt : package.locate(sheetName);
  if (!sheet) sheet = package.locate("xl/worksheets/sheet1.xml");
  if (!sheet) return failed(Failure::NoSheet);

  SheetPart part(limits);
  if (Failure f = package.parse(*sheet, part); f != Failure::None) {
    failedRow = part.failedRow;
    return failed(f);
  }
  if (!part.sharedRefs.empty()) {
    std::vector<SharedReference> refs = std::move(part.sharedRefs);
    std::stable_sort(refs.begin(), refs.end(),
                     [](const SharedReference& a, const SharedReference& b) { return a.index < b.index; });
    const auto table = package.locate(stringsName);
    if (!table) return failed(Failure::Malformed);
    SharedStringsPart strings(std::move(refs), part.lines, part.columnBytes, limits);
    if (Failure f = package.parse(*table, strings); f != Failure::None) {
      failedRow = strings.failedRow;
      return failed(f);
    }
    if (!strings.complete()) return failed(Failure::Malformed);
  }
  out.lines = std::move(part.lines);
  while (!out.lines.empty() && out.lines.back().empty()) out.lines.pop_back();
  out.ok = true;
  return out;
}

}  // namespace velk
