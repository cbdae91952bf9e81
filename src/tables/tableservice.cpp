// The table service and the table browser's logic on top of the dBASE engine.
// Everything here acts on ws.table, the program's one open table.
#include "tables/tableservice.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

#include "data/messages.h"
#include "dialogs/captions.h"
#include "dialogs/configio.h"
#include "tables/context.h"
#include "base/codepage.h"
#include "dialogs/dialogs.h"
#include "platform/files.h"
#include "platform/process.h"
#include "dbf/dbfio.h"
#include "dbf/ndx.h"

namespace velk {

namespace {

int hookFault(const TableContext& ws, const std::string& path) {
  return ws.io.writeFault ? ws.io.writeFault(path) : 0;
}

bool isWin1252(const DbfTable& t) { return dbfCodePage(t.languageDriver()) == DbfCodePage::Win1252; }

// Table text -> program text (850) and back. 437 and unknown drivers are taken as 850: the
// program's own tables are 850, and a wrong guess only changes letters, never lengths.
std::string decode(const TableService& s, std::string_view text) {
  return isWin1252(s.dbf) ? win1252ToCp850(text) : std::string(text);
}

std::string encode(const TableService& s, std::string_view text) {
  return isWin1252(s.dbf) ? cp850ToWin1252(text) : std::string(text);
}

void resetState(TableService& s) {
  s.recNo = s.dbf.isOpen() && s.dbf.recordCount() > 0 ? 1 : 0;
  s.buffer = s.dbf.isOpen() ? s.dbf.blankRecord() : std::string();
  s.order.clear();
  s.orderField = -1;
  s.indexPath.clear();
}

// 0-based field index of a 1-based position, -1 when the table has no such field.
int fieldAt(const TableService& s, int pos) {
  return s.dbf.isOpen() && pos >= 1 && pos <= s.dbf.fieldCount() ? pos - 1 : -1;
}

int fieldNamed(const TableService& s, const std::string& name) {
  return s.dbf.isOpen() ? s.dbf.fieldIndex(leftStr(name, 10)) : -1;
}

void ensureBuffer(TableService& s) {
  if (s.buffer.size() != static_cast<std::size_t>(s.dbf.recordLength())) s.buffer = s.dbf.blankRecord();
}

void notFoundOrNoAccess(TableContext& ws, const std::string& path) {
  ShowError(ws, "Datei " + oem(path) + " " + "nicht gefunden oder kein Zugriffsrecht" + " !");
}

// The write probe: a unique file in the folder receives one line and is removed again.
bool folderAcceptsWrites(const TableContext& ws, const std::string& folder) {
  if (hookFault(ws, folder + "TEST.$$$") != 0) return false;
  std::string tmpl = folder + "TEST.$$$.XXXXXX";
  int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) return false;
  int e = writeAll(fd, "DBF Write Check\r\n");
  if (::close(fd) != 0 && e == 0) e = errno;
  ::unlink(tmpl.c_str());
  return e == 0;
}

bool fileAcceptsWrites(const TableContext& ws, const std::string& path) {
  return hookFault(ws, path) == 0 && ::access(path.c_str(), W_OK) == 0;
}

// Copies a table into the temporary folder: a unique file beside the target, made writable for
// the owner, renamed into place. Concurrent jobs copying the same table never write into one
// file, and a reader never sees a half-written copy.
bool copyTable(const TableContext& ws, const std::string& from, const std::string& to) {
  if (hookFault(ws, to) != 0) return false;
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat st {};
  if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(in);
    return false;
  }
  std::string tmpl = directoryOf(to) + "." + lastComponent(to) + ".XXXXXX";
  int out = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (out < 0) {
    ::close(in);
    return false;
  }
  int e = 0;
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(in, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      e = errno;
      break;
    }
    if (n == 0) break;
    if ((e = writeAll(out, std::string_view(buf, static_cast<std::size_t>(n)))) != 0) break;
  }
  ::close(in);
  if (e == 0 && ::fchmod(out, (st.st_mode & 0777) | S_IRUSR | S_IWUSR) != 0) e = errno;
  if (::close(out) != 0 && e == 0) e = errno;
  // Only a file (or nothing) is renamed over: a device or FIFO under that name stays.
  struct stat there {};
  if (e == 0 && ::lstat(to.c_str(), &there) == 0 && !S_ISREG(there.st_mode)) e = EEXIST;
  if (e == 0 && ::rename(tmpl.c_str(), to.c_str()) != 0) e = errno;
  if (e != 0) ::unlink(tmpl.c_str());
  return e == 0;
}

// Opens path into the service; a file that refuses writing is opened read-only.
bool openInto(TableContext& ws, const std::string& path, bool readOnly, bool showErrors) {
  TableService& s = ws.table;
  DbfStatus st = s.dbf.open(path, readOnly);
  if (!st && !readOnly && (st.systemError == EACCES || st.systemError == EROFS || st.systemError == EPERM))
    st = s.dbf.open(path, true);
  if (!st) {
    if (showErrors) ShowError(ws, st.message);
    ws.abort = true;
    resetState(s);
    return false;
  }
  resetState(s);
  return true;
}

std::string tableFileName(const std::string& name) { return hasExtension(name) ? name : name + ".dbf"; }

// Writes the open index's file again after the table changed (best effort: the order in memory
// is what the browser uses).
void refreshOrder(TableContext& ws) {
  TableService& s = ws.table;
  if (s.orderField < 0) return;
  s.order = indexOrder(s.dbf, s.orderField);
  if (!s.indexPath.empty() && hookFault(ws, s.indexPath) == 0) buildNdx(s.dbf, s.orderField, s.indexPath);
}

void clampRecNo(TableService& s) {
  const std::uint32_t count = s.dbf.recordCount();
  if (count == 0)
    s.recNo = 0;
  else if (s.recNo < 1 || s.recNo > count)
    s.recNo = std::clamp<std::uint32_t>(s.recNo, 1, count);
}

// First row at or after rows[start] whose record contains text; -1 when none.
long findRow(const TableContext& ws, const std::vector<std::uint32_t>& rows, std::size_t start,
             const std::string& text) {
  const DbfTable& t = ws.table.dbf;
  const std::string needle = encode(ws.table, text);
  std::unordered_set<std::uint32_t> hits;
  for (std::uint32_t n = 1; n <= t.recordCount();) {
    std::uint32_t m = searchTable(t, needle, n);
    if (m == 0) break;
    hits.insert(m);
    n = m + 1;
  }
  for (std::size_t i = start; i < rows.size(); ++i)
    if (hits.count(rows[i])) return static_cast<long>(i);
  return -1;
}

void searchFrom(TableContext& ws, std::size_t start) {
  const std::string& text = ws.table.browser.lastSearch;
  const std::vector<std::uint32_t> rows = BrowseRows(ws, 2);
  long row = findRow(ws, rows, start, text);
  if (row < 0) {
    ShowInfo(ws, text + " " + "nicht gefunden");
    return;
  }
  ws.table.recNo = rows[static_cast<std::size_t>(row)];
}

std::string dialogFolder(const TableContext& ws) {
  if (!ws.config.dataDir.empty()) return ws.config.dataDir;
  return directoryOf(ws.table.dbf.path());
}

// Converts character values between two tables' code pages (850 family / Windows-1252).
DbfTextConverter converterBetween(bool from1252, bool to1252) {
  if (from1252 && !to1252) return [](std::string_view t) { return win1252ToCp850(t); };
  if (!from1252 && to1252) return [](std::string_view t) { return cp850ToWin1252(t); };
  return {};
}

void reportStatus(TableContext& ws, const DbfStatus& st) {
  if (st) return;
  ShowError(ws, st.message);
  ws.abort = true;
}

}  // namespace

std::string tempFolder(const TableContext& ws) {
  if (!ws.config.tempDir.empty()) return withSeparator(ws.config.tempDir);
  if (!ws.tempRoot.empty()) return withSeparator(ws.tempRoot);
  return "./";
}

void OpenTable(TableContext& ws, const std::string& name) {
  CloseTable(ws);
  const std::string file = tableFileName(name);
  const std::string folder = dbfFolder(ws);
  const std::string path = folder + file;
  if (!canOpenForReading(path)) {
    notFoundOrNoAccess(ws, path);
    ws.abort = true;
    return;
  }
  std::string usePath = path;
  bool readOnly = false;
  bool copied = false;
  if (!folderAcceptsWrites(ws, folder) || !fileAcceptsWrites(ws, path)) {
    const std::string copy = tempFolder(ws) + lastComponent(file);
    if (copyTable(ws, path, copy)) {
      usePath = copy;
      copied = true;
    } else {
      // No usable temporary folder either: the table can still be read where it is.
      readOnly = true;
    }
  }
  if (openInto(ws, usePath, readOnly, true)) ws.table.inTempCopy = copied;
}

bool OpenTableReadOnly(TableContext& ws, const std::string& name, bool showErrors) {
  CloseTable(ws);
  const std::string path = dbfFolder(ws) + tableFileName(name);
  if (!canOpenForReading(path)) {
    if (showErrors) notFoundOrNoAccess(ws, path);
    ws.abort = true;
    return false;
  }
  return openInto(ws, path, true, showErrors);
}

void OpenTableFile(TableContext& ws, const std::string& path) {
  CloseTable(ws);
  openInto(ws, path, !fileAcceptsWrites(ws, path), true);
}

void CloseTable(TableContext& ws) {
  TableService& s = ws.table;
  s.dbf.close();
  s.inTempCopy = false;
  resetState(s);
}

int RecCount(const TableContext& ws) {
  const std::uint32_t n = ws.table.dbf.isOpen() ? ws.table.dbf.recordCount() : 0;
  return static_cast<int>(std::min<std::uint32_t>(n, 0x7FFFFFFF));
}

int RecNo(const TableContext& ws) { return static_cast<int>(std::min<std::uint32_t>(ws.table.recNo, 0x7FFFFFFF)); }

void GoRecord(TableContext& ws, long long n) {
  const long long count = RecCount(ws);
  if (n > count) {
    AddCalcMessage(ws.messages, "DBF #" + fmtInt(n) + " not found.");
    n = count;
  }
  if (n < 1 || n > count) n = 1;
  ws.table.recNo = static_cast<std::uint32_t>(n);
}

std::string FieldName(const TableContext& ws, int pos) {
  const int i = fieldAt(ws.table, pos);
  return i < 0 ? std::string() : decode(ws.table, ws.table.dbf.field(i).name);
}

std::string FieldText(const TableContext& ws, int pos) {
  const int i = fieldAt(ws.table, pos);
  return i < 0 ? std::string() : decode(ws.table, ws.table.dbf.fieldText(ws.table.recNo, i));
}

bool FieldBool(const TableContext& ws, const std::string& name) {
  const int i = fieldNamed(ws.table, name);
  return i >= 0 && ws.table.dbf.fieldBool(ws.table.recNo, i);
}

static void setText(TableContext& ws, int i, const std::string& text) {
  if (i < 0) return;
  TableService& s = ws.table;
  ensureBuffer(s);
  s.dbf.setFieldText(s.buffer, i, encode(s, text));
}

static void setNumber(TableContext& ws, int i, double value) {
  if (i < 0) return;
  TableService& s = ws.table;
  ensureBuffer(s);
  s.dbf.setFieldNumber(s.buffer, i, value);
}

static void setBool(TableContext& ws, int i, bool value) {
  if (i < 0) return;
  TableService& s = ws.table;
  ensureBuffer(s);
  s.dbf.setFieldBool(s.buffer, i, value);
}

void SetFieldText(TableContext& ws, int pos, const std::string& text) { setText(ws, fieldAt(ws.table, pos), text); }
void SetFieldFloat(TableContext& ws, int pos, Real value) {
  setNumber(ws, fieldAt(ws.table, pos), static_cast<double>(value));
}
void SetFieldInt(TableContext& ws, int pos, long long value) {
  setNumber(ws, fieldAt(ws.table, pos), static_cast<double>(value));
}
void SetFieldTextByName(TableContext& ws, const std::string& name, const std::string& text) {
  setText(ws, fieldNamed(ws.table, name), text);
}
void SetFieldFloatByName(TableContext& ws, const std::string& name, Real value) {
  setNumber(ws, fieldNamed(ws.table, name), static_cast<double>(value));
}
void SetFieldIntByName(TableContext& ws, const std::string& name, long long value) {
  setNumber(ws, fieldNamed(ws.table, name), static_cast<double>(value));
}
void SetFieldBoolByName(TableContext& ws, const std::string& name, bool value) {
  setBool(ws, fieldNamed(ws.table, name), value);
}

void AppendRecord(TableContext& ws) {
  TableService& s = ws.table;
  if (!s.dbf.isOpen()) {
    ws.abort = true;
    return;
  }
  ensureBuffer(s);
  DbfStatus st = s.dbf.append(s.buffer);
  if (!st) {
    reportStatus(ws, st);
    return;
  }
  s.recNo = s.dbf.recordCount();
  s.buffer = s.dbf.blankRecord();
  refreshOrder(ws);
}

void BuildIndex(TableContext& ws, const std::string& keyField, const std::string& indexName) {
  TableService& s = ws.table;
  const int i = fieldNamed(s, keyField);
  if (i < 0) return;
  const char type = s.dbf.field(i).type;
  if (type == 'L' || type == 'M') return;
  s.order = indexOrder(s.dbf, i);
  s.orderField = i;
  s.indexPath.clear();
  const std::string path = tempFolder(ws) + indexName + ".ndx";
  if (hookFault(ws, path) == 0 && buildNdx(s.dbf, i, path)) s.indexPath = path;
}

void SetBrowseTitles(TableContext& ws, const std::string& title1, const std::string& title2) {
  ws.table.browser.title1 = title1;
  ws.table.browser.title2 = title2;
}

std::string BrowseCaption(const TableContext& ws, int mode) {
  const TableBrowserState& b = ws.table.browser;
  if (mode == 1) return b.title2 + "   " + b.title1;
  return b.title2 + "  " + b.title1 + "  (" + oem(ws.table.dbf.path()) + ")";
}

std::vector<std::uint32_t> BrowseRows(const TableContext& ws, int mode) {
  const TableService& s = ws.table;
  std::vector<std::uint32_t> rows;
  if (!s.dbf.isOpen()) return rows;
  const std::uint32_t count = s.dbf.recordCount();
  if (!s.order.empty()) {
    rows = s.order;
  } else {
    rows.reserve(count);
    for (std::uint32_t n = 1; n <= count; ++n) rows.push_back(n);
  }
  if (mode == 1)
    rows.erase(std::remove_if(rows.begin(), rows.end(), [&](std::uint32_t n) { return s.dbf.isDeleted(n); }),
               rows.end());
  return rows;
}
namespace {

// The browser window's commands on the open table.
class TableBrowseController final : public BrowseController {
 public:
  TableBrowseController(TableContext& ws, int mode) : ws_(ws), mode_(mode) {}
  int fieldCount() override { return ws_.table.dbf.isOpen() ? ws_.table.dbf.fieldCount() : 0; }
  std::string fieldName(int pos) override { return FieldName(ws_, pos); }
  char fieldType(int pos) override {
    const int i = fieldAt(ws_.table, pos);
    return i < 0 ? 'C' : ws_.table.dbf.field(i).type;
  }
  std::string cellText(std::uint32_t record, int pos) override {
    const int i = fieldAt(ws_.table, pos);
    return i < 0 ? std::string() : decode(ws_.table, ws_.table.dbf.fieldText(record, i));
  }
  bool isDeleted(std::uint32_t record) override { return ws_.table.dbf.isOpen() && ws_.table.dbf.isDeleted(record); }
  std::uint32_t recordCount() override { return ws_.table.dbf.isOpen() ? ws_.table.dbf.recordCount() : 0; }
  std::uint32_t currentRecord() override { return ws_.table.recNo; }
  // Not GoRecord: a row the grid no longer holds is no calculation message, just ignored.
  void setCurrentRecord(std::uint32_t record) override {
    if (ws_.table.dbf.isOpen() && record >= 1 && record <= ws_.table.dbf.recordCount()) ws_.table.recNo = record;
  }
  std::vector<std::uint32_t> rows(int mode) override { return BrowseRows(ws_, mode); }
  void setCell(std::uint32_t record, int pos, const std::string& text) override { BrowserSetCell(ws_, record, pos, text); }
  void setDeleted(std::uint32_t record, bool deleted) override { BrowserSetDeleted(ws_, record, deleted); }
  void search() override { BrowserSearch(ws_); }
  void searchNext() override { BrowserSearchNext(ws_); }
  void sortByColumn(int pos) override { BrowserSortByColumn(ws_, pos); }
  void appendRecord() override { BrowserAppendRecord(ws_); }
  void pack() override { BrowserPack(ws_); }
  void appendDbf() override { BrowserAppendDbf(ws_); }
  void appendDelimited() override { BrowserAppendDelimited(ws_); }
  void saveDelimited() override { BrowserSaveDelimited(ws_); }
  void exportHtml() override { BrowserExportHtml(ws_); }
  void print() override {
    if (ws_.printTableListing) ws_.printTableListing(mode_);
  }
  void showFile() override { BrowserShowFile(ws_); }

 private:
  TableContext& ws_;
  int mode_;
};

}  // namespace


BrowseMenuCaptions BrowseMenuTexts(int language) {
  BrowseMenuCaptions m;
  m.file = captionA(language, CapA::Datei);
  m.exportHtml = "Export HTML";
  m.saveDelimited = "Save As Delimited";
  m.appendDbf = "Append dbf";
  m.appendDelimited = "Append Delimited";
  m.print = captionA(language, CapA::Drucken);
  m.exit = captionA(language, CapA::Beenden);
  m.edit = captionA(language, CapA::Bearbeiten);
  m.append = "Append";
  m.pack = "Pack";
  m.packHint = "Markierte Datensätze löschen";
  m.view = captionA(language, CapA::Ansicht);
  m.search = "&Suchen";
  m.searchNext = "&Weitersuchen";
  m.help = captionA(language, CapA::Hilfe);
  // The caption tables have no row named for the general help; it takes the "Others" row.
  m.common = captionA(language, CapA::Sonstige);
  m.helpImage = "Hilfe&bild";
  m.showFile = "Datei";
  return m;
}

std::string RecnoLabel(const TableContext& ws) { return fmtInt(RecNo(ws)) + "/" + fmtInt(RecCount(ws)); }

void BrowseTable(TableContext& ws, int mode) {
  TableService& s = ws.table;
  if (!s.dbf.isOpen()) {
    ws.abort = true;
    return;
  }
  const bool edit = mode != 1;
  if (edit && (s.inTempCopy || directoryOf(s.dbf.path()) == tempFolder(ws)))
    ShowInfo(ws, oem("Kein Schreibrecht für dbf-Ordner !  Bearbeitung im Temporär-Ordner."));
  BrowseRequest request;
  request.caption = BrowseCaption(ws, mode);
  request.title1 = s.browser.title1;
  request.title2 = s.browser.title2;
  request.mode = mode;
  request.filePath = s.dbf.path();
  request.currentRecord = s.recNo;
  request.rows = BrowseRows(ws, mode);
  request.helpNumber = ws.helpNumber;
  request.menu = BrowseMenuTexts(ws.config.language);
  TableBrowseController controller(ws, mode);
  request.controller = &controller;
  const std::optional<BrowseResult> chosen = ws.ui.show(request);
  if (!chosen) {
    ws.abort = true;
    return;
  }
  ws.abort = false;
  s.recNo = chosen->record;
  clampRecNo(s);
}

void BrowserSetCell(TableContext& ws, std::uint32_t record, int pos, const std::string& text) {
  TableService& s = ws.table;
  const int i = fieldAt(s, pos);
  if (i < 0 || record < 1 || record > s.dbf.recordCount()) return;
  std::string rec(s.dbf.record(record));
  s.dbf.setFieldText(rec, i, encode(s, text));
  reportStatus(ws, s.dbf.writeRecord(record, rec));
  if (i == s.orderField) refreshOrder(ws);
}

void BrowserSetDeleted(TableContext& ws, std::uint32_t record, bool deleted) {
  TableService& s = ws.table;
  if (!s.dbf.isOpen() || record < 1 || record > s.dbf.recordCount()) return;
  reportStatus(ws, s.dbf.setDeleted(record, deleted));
}

void BrowserSearch(TableContext& ws) {
  if (!ws.table.dbf.isOpen()) return;
  const uint16_t previous = ws.helpNumber;
  SetHelpNumber(ws, 2450);
  std::string text = ws.table.browser.lastSearch;
  EnterText(ws, "Suchbegriff eingeben", 50, text);
  SetHelpNumber(ws, previous);
  if (ws.abort) {
    ws.abort = false;
    return;
  }
  ws.table.browser.lastSearch = text;
  searchFrom(ws, 0);
}

void BrowserSearchNext(TableContext& ws) {
  if (!ws.table.dbf.isOpen()) return;
  if (ws.table.browser.lastSearch.empty()) {
    BrowserSearch(ws);
    return;
  }
  const std::vector<std::uint32_t> rows = BrowseRows(ws, 2);
  auto it = std::find(rows.begin(), rows.end(), ws.table.recNo);
  searchFrom(ws, it == rows.end() ? 0 : static_cast<std::size_t>(it - rows.begin()) + 1);
}

void BrowserSortByColumn(TableContext& ws, int pos) {
  const std::string name = FieldName(ws, pos);
  if (name.empty()) return;
  const std::uint32_t current = ws.table.recNo;
  BuildIndex(ws, name, "$orvtemp");
  ws.table.recNo = current;
}

void BrowserAppendRecord(TableContext& ws) {
  TableService& s = ws.table;
  if (!s.dbf.isOpen()) return;
  s.buffer = s.dbf.blankRecord();
  AppendRecord(ws);
}

void BrowserPack(TableContext& ws) {
  TableService& s = ws.table;
  if (!s.dbf.isOpen()) return;
  reportStatus(ws, s.dbf.pack());
  clampRecNo(s);
  refreshOrder(ws);
}

void BrowserAppendDbf(TableContext& ws) {
  TableService& s = ws.table;
  if (!s.dbf.isOpen()) return;
  const std::optional<FileResult> chosen =
      ws.ui.show(OpenFileRequest{"Append dbf", dialogFolder(ws), "*.dbf|*.dbf", {}});
  if (!chosen) return;
  DbfTable source;
  DbfStatus st = source.open(chosen->path, true);
  if (!st) {
    reportStatus(ws, st);
    return;
  }
  const bool from1252 = isWin1252(source);
  source.close();
  reportStatus(ws, appendFromDbf(s.dbf, chosen->path, nullptr, converterBetween(from1252, isWin1252(s.dbf))));
  refreshOrder(ws);
}

void BrowserAppendDelimited(TableContext& ws) {
  TableService& s = ws.table;
  if (!s.dbf.isOpen()) return;
  const std::optional<FileResult> chosen =
      ws.ui.show(OpenFileRequest{"Append Delimited", dialogFolder(ws), "*.txt|*.txt", {}});
  if (!chosen) return;
  reportStatus(ws, appendDelimited(s.dbf, chosen->path));
  refreshOrder(ws);
}

void BrowserSaveDelimited(TableContext& ws) {
  TableService& s = ws.table;
  if (!s.dbf.isOpen()) return;
  const std::optional<FileResult> chosen =
      ws.ui.show(SaveFileRequest{"Save As Delimited", dialogFolder(ws), "txt|*.txt|All files|*.*", {}});
  if (!chosen) return;
  if (int e = hookFault(ws, chosen->path)) {
    reportStatus(ws, dbfio::writeError(chosen->path, e));
    return;
  }
  reportStatus(ws, saveDelimited(s.dbf, chosen->path));
}

void BrowserExportHtml(TableContext& ws) {
  TableService& s = ws.table;
  if (!s.dbf.isOpen()) return;
  const std::optional<FileResult> chosen =
      ws.ui.show(SaveFileRequest{"Export HTML", dialogFolder(ws), "HTML files|*.HTM;*.HTML|All files|*.*",
                                 stripExtension(lastComponent(s.dbf.path()))});
  if (!chosen) return;
  HtmlExportInfo info;
  info.filePath = chosen->path;
  info.programTitle = kProgramTitle;
  info.version = kVersion;
  info.date = todayText(ws.num());
  info.time = timeText();
  // HTML files are written for Windows: table texts in the Windows code page.
  info.convert = converterBetween(isWin1252(s.dbf), true);
  if (int e = hookFault(ws, chosen->path)) {
    reportStatus(ws, dbfio::writeError(chosen->path, e));
    return;
  }
  DbfStatus st = exportHtml(s.dbf, info);
  if (!st) {
    reportStatus(ws, st);
    return;
  }
  // The configured HTML viewer shows the page; a front end may show it its own way.
  if (s.showHtml) return s.showHtml(ws, chosen->path);
  if (trim(ws.config.htmlBrowser).empty()) return;
  const ProgramCommand cmd = commandForFile(ws.config.htmlBrowser, chosen->path);
  if (cmd.status != ProgramCommand::Status::Ready) {
    ShowError(ws, oem(cmd.program.empty() ? trim(ws.config.htmlBrowser) : cmd.program) + " not found");
    return;
  }
  if (int e = StartProgram(ws.programs, cmd.argv)) ShowError(ws, startErrorText(e));
}

std::vector<std::string> BrowserPrintHeader(const TableContext& ws, int mode) {
  return {std::string(kProgramTitle) + "  V" + kVersion, oem(ws.table.dbf.path()), BrowseCaption(ws, mode),
          ws.table.browser.title1};
}

namespace {
// Hands the listing on with table texts converted to code page 850.
class DecodingSink : public TableListingSink {
 public:
  DecodingSink(const TableService& s, TableListingSink& out) : s_(s), out_(out) {}
  void heading(const std::vector<TableListingColumn>& columns) override {
    std::vector<TableListingColumn> c = columns;
    for (auto& col : c) col.title = decode(s_, col.title);
    out_.heading(c);
  }
  void row(const std::vector<std::string>& cells) override {
    std::vector<std::string> c = cells;
    for (auto& cell : c) cell = decode(s_, cell);
    out_.row(c);
  }

 private:
  const TableService& s_;
  TableListingSink& out_;
};
}  // namespace

void BrowserPrint(const TableContext& ws, TableListingSink& sink) {
  if (!ws.table.dbf.isOpen()) return;
  DecodingSink decoding(ws.table, sink);
  writeTableListing(ws.table.dbf, decoding);
}

void BrowserShowFile(TableContext& ws) { ShowInfo(ws, oem(ws.table.dbf.path())); }

}  // namespace velk
