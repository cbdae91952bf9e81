// The table service and the table browser's logic on top of the dBASE engine.
// Everything here acts on the program's one open table (TableService).
#include "tables/tableservice.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <unordered_set>

#include "base/codepage.h"
#include "data/messages.h"
#include "dbf/dbfio.h"
#include "dbf/ndx.h"
#include "dialogs/captions.h"
#include "dialogs/configio.h"
#include "dialogs/dialogs.h"
#include "platform/files.h"
#include "platform/process.h"
#include "tables/context.h"

namespace velk {

namespace {

int hookFault(const Host& host, const std::string& path) { return host.io.writeFault ? host.io.writeFault(path) : 0; }

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

void notFoundOrNoAccess(Diagnostics& diag, const std::string& path) {
  diag.error("Datei " + oem(path) + " " + "nicht gefunden oder kein Zugriffsrecht" + " !");
}

// The write probe: a unique file in the folder receives one line and is removed again.
bool folderAcceptsWrites(const Host& host, const std::string& folder) {
  if (hookFault(host, folder + "TEST.$$$") != 0) return false;
  std::string tmpl = folder + "TEST.$$$.XXXXXX";
  int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) return false;
  int e = writeAll(fd, "DBF Write Check\r\n");
  if (::close(fd) != 0 && e == 0) e = errno;
  ::unlink(tmpl.c_str());
  return e == 0;
}

bool fileAcceptsWrites(const Host& host, const std::string& path) {
  return hookFault(host, path) == 0 && ::access(path.c_str(), W_OK) == 0;
}

// Copies a table into the temporary folder: a unique file beside the target, made writable for
// the owner, renamed into place. Concurrent jobs copying the same table never write into one
// file, and a reader never sees a half-written copy.
bool copyTable(const Host& host, const std::string& from, const std::string& to) {
  if (hookFault(host, to) != 0) return false;
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
bool openInto(TableService& s, Diagnostics& diag, const std::string& path, bool readOnly, bool showErrors) {
  DbfStatus st = s.dbf.open(path, readOnly);
  if (!st && !readOnly && (st.systemError == EACCES || st.systemError == EROFS || st.systemError == EPERM))
    st = s.dbf.open(path, true);
  if (!st) {
    if (showErrors) diag.error(st.message);
    resetState(s);
    return false;
  }
  resetState(s);
  return true;
}

std::string tableFileName(const std::string& name) { return hasExtension(name) ? name : name + ".dbf"; }

// Writes the open index's file again after the table changed (best effort: the order in memory
// is what the browser uses).
void refreshOrder(TableService& s, const Host& host) {
  if (s.orderField < 0) return;
  s.order = indexOrder(s.dbf, s.orderField);
  if (!s.indexPath.empty() && hookFault(host, s.indexPath) == 0) buildNdx(s.dbf, s.orderField, s.indexPath);
}

void clampRecNo(TableService& s) {
  const std::uint32_t count = s.dbf.recordCount();
  if (count == 0)
    s.recNo = 0;
  else if (s.recNo < 1 || s.recNo > count)
    s.recNo = std::clamp<std::uint32_t>(s.recNo, 1, count);
}

// First row at or after rows[start] whose record contains text; -1 when none.
long findRow(const TableService& s, const std::vector<std::uint32_t>& rows, std::size_t start,
             const std::string& text) {
  const DbfTable& t = s.dbf;
  const std::string needle = encode(s, text);
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

bool reportStatus(Diagnostics& diag, const DbfStatus& st) {
  if (st) return true;
  diag.error(st.message);
  return false;
}

}  // namespace

std::string tempFolder(const Settings& settings, const Host& host) {
  if (!settings.config.tempDir.empty()) return withSeparator(settings.config.tempDir);
  if (!host.tempRoot.empty()) return withSeparator(host.tempRoot);
  return "./";
}

bool OpenTable(TableService& table, Diagnostics& diag, const Settings& settings, const Host& host,
               const std::string& name) {
  CloseTable(table);
  const std::string file = tableFileName(name);
  const std::string folder = dbfFolder(settings, host);
  const std::string path = folder + file;
  if (!canOpenForReading(path)) {
    notFoundOrNoAccess(diag, path);
    return false;
  }
  std::string usePath = path;
  bool readOnly = false;
  bool copied = false;
  if (!folderAcceptsWrites(host, folder) || !fileAcceptsWrites(host, path)) {
    const std::string copy = tempFolder(settings, host) + lastComponent(file);
    if (copyTable(host, path, copy)) {
      usePath = copy;
      copied = true;
    } else {
      // No usable temporary folder either: the table can still be read where it is.
      readOnly = true;
    }
  }
  if (!openInto(table, diag, usePath, readOnly, true)) return false;
  table.inTempCopy = copied;
  return true;
}

bool OpenTableReadOnly(TableService& table, Diagnostics& diag, const Settings& settings, const Host& host,
                       const std::string& name, bool showErrors) {
  CloseTable(table);
  const std::string path = dbfFolder(settings, host) + tableFileName(name);
  if (!canOpenForReading(path)) {
    if (showErrors) notFoundOrNoAccess(diag, path);
    return false;
  }
  return openInto(table, diag, path, true, showErrors);
}

bool OpenTableFile(TableService& table, Diagnostics& diag, const Host& host, const std::string& path) {
  CloseTable(table);
  return openInto(table, diag, path, !fileAcceptsWrites(host, path), true);
}

void CloseTable(TableService& s) {
  s.dbf.close();
  s.inTempCopy = false;
  resetState(s);
}

int RecCount(const TableService& table) {
  const std::uint32_t n = table.dbf.isOpen() ? table.dbf.recordCount() : 0;
  return static_cast<int>(std::min<std::uint32_t>(n, 0x7FFFFFFF));
}

int RecNo(const TableService& table) { return static_cast<int>(std::min<std::uint32_t>(table.recNo, 0x7FFFFFFF)); }

void GoRecord(TableService& table, CalcMessages& messages, long long n) {
  const long long count = RecCount(table);
  if (n > count) {
    AddCalcMessage(messages, "DBF #" + fmtInt(n) + " not found.");
    n = count;
  }
  if (n < 1 || n > count) n = 1;
  table.recNo = static_cast<std::uint32_t>(n);
}

std::string FieldName(const TableService& table, int pos) {
  const int i = fieldAt(table, pos);
  return i < 0 ? std::string() : decode(table, table.dbf.field(i).name);
}

std::string FieldText(const TableService& table, int pos) {
  const int i = fieldAt(table, pos);
  return i < 0 ? std::string() : decode(table, table.dbf.fieldText(table.recNo, i));
}

bool FieldBool(const TableService& table, const std::string& name) {
  const int i = fieldNamed(table, name);
  return i >= 0 && table.dbf.fieldBool(table.recNo, i);
}

static void setText(TableService& s, int i, const std::string& text) {
  if (i < 0) return;
  ensureBuffer(s);
  s.dbf.setFieldText(s.buffer, i, encode(s, text));
}

static void setNumber(TableService& s, int i, double value) {
  if (i < 0) return;
  ensureBuffer(s);
  s.dbf.setFieldNumber(s.buffer, i, value);
}

static void setBool(TableService& s, int i, bool value) {
  if (i < 0) return;
  ensureBuffer(s);
  s.dbf.setFieldBool(s.buffer, i, value);
}

void SetFieldText(TableService& table, int pos, const std::string& text) { setText(table, fieldAt(table, pos), text); }
void SetFieldFloat(TableService& table, int pos, Real value) {
  setNumber(table, fieldAt(table, pos), static_cast<double>(value));
}
void SetFieldInt(TableService& table, int pos, long long value) {
  setNumber(table, fieldAt(table, pos), static_cast<double>(value));
}
void SetFieldTextByName(TableService& table, const std::string& name, const std::string& text) {
  setText(table, fieldNamed(table, name), text);
}
void SetFieldFloatByName(TableService& table, const std::string& name, Real value) {
  setNumber(table, fieldNamed(table, name), static_cast<double>(value));
}
void SetFieldIntByName(TableService& table, const std::string& name, long long value) {
  setNumber(table, fieldNamed(table, name), static_cast<double>(value));
}
void SetFieldBoolByName(TableService& table, const std::string& name, bool value) {
  setBool(table, fieldNamed(table, name), value);
}

bool AppendRecord(TableService& s, Diagnostics& diag, const Host& host) {
  if (!s.dbf.isOpen()) return false;
  ensureBuffer(s);
  if (!reportStatus(diag, s.dbf.append(s.buffer))) return false;
  s.recNo = s.dbf.recordCount();
  s.buffer = s.dbf.blankRecord();
  refreshOrder(s, host);
  return true;
}

void BuildIndex(TableService& s, const Settings& settings, const Host& host, const std::string& keyField,
                const std::string& indexName) {
  const int i = fieldNamed(s, keyField);
  if (i < 0) return;
  const char type = s.dbf.field(i).type;
  if (type == 'L' || type == 'M') return;
  s.order = indexOrder(s.dbf, i);
  s.orderField = i;
  s.indexPath.clear();
  const std::string path = tempFolder(settings, host) + indexName + ".ndx";
  if (hookFault(host, path) == 0 && buildNdx(s.dbf, i, path)) s.indexPath = path;
}

void SetBrowseTitles(TableService& table, const std::string& title1, const std::string& title2) {
  table.browser.title1 = title1;
  table.browser.title2 = title2;
}

std::string BrowseCaption(const TableService& table, int mode) {
  const TableBrowserState& b = table.browser;
  if (mode == 1) return b.title2 + "   " + b.title1;
  return b.title2 + "  " + b.title1 + "  (" + oem(table.dbf.path()) + ")";
}

std::vector<std::uint32_t> BrowseRows(const TableService& s, int mode) {
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
  std::string fieldName(int pos) override { return FieldName(ws_.table, pos); }
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
  std::vector<std::uint32_t> rows(int mode) override { return BrowseRows(ws_.table, mode); }
  void setCell(std::uint32_t record, int pos, const std::string& text) override {
    if (!BrowserSetCell(ws_.table, ws_.diag, ws_, record, pos, text)) ws_.abort = true;
  }
  void setDeleted(std::uint32_t record, bool deleted) override {
    if (!BrowserSetDeleted(ws_.table, ws_.diag, record, deleted)) ws_.abort = true;
  }
  void search() override { BrowserSearch(ws_); }
  void searchNext() override { BrowserSearchNext(ws_); }
  void sortByColumn(int pos) override { BrowserSortByColumn(ws_.table, ws_, ws_, pos); }
  void appendRecord() override {
    if (!BrowserAppendRecord(ws_.table, ws_.diag, ws_)) ws_.abort = true;
  }
  void pack() override {
    if (!BrowserPack(ws_.table, ws_.diag, ws_)) ws_.abort = true;
  }
  void appendDbf() override { BrowserAppendDbf(ws_); }
  void appendDelimited() override { BrowserAppendDelimited(ws_); }
  void saveDelimited() override { BrowserSaveDelimited(ws_); }
  void exportHtml() override { BrowserExportHtml(ws_); }
  void print() override {
    if (ws_.printTableListing) ws_.printTableListing(mode_);
  }
  void showFile() override { BrowserShowFile(ws_.table, ws_.diag); }

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

std::string RecnoLabel(const TableService& table) { return fmtInt(RecNo(table)) + "/" + fmtInt(RecCount(table)); }

void BrowseTable(TableContext& ws, int mode) {
  TableService& s = ws.table;
  if (!s.dbf.isOpen()) {
    ws.abort = true;
    return;
  }
  const bool edit = mode != 1;
  if (edit && (s.inTempCopy || directoryOf(s.dbf.path()) == tempFolder(ws)))
    ws.diag.info(oem("Kein Schreibrecht für dbf-Ordner !  Bearbeitung im Temporär-Ordner."));
  BrowseRequest request;
  request.caption = BrowseCaption(s, mode);
  request.title1 = s.browser.title1;
  request.title2 = s.browser.title2;
  request.mode = mode;
  request.filePath = s.dbf.path();
  request.currentRecord = s.recNo;
  request.rows = BrowseRows(s, mode);
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

bool BrowserSetCell(TableService& s, Diagnostics& diag, const Host& host, std::uint32_t record, int pos,
                    const std::string& text) {
  const int i = fieldAt(s, pos);
  if (i < 0 || record < 1 || record > s.dbf.recordCount()) return true;
  std::string rec(s.dbf.record(record));
  s.dbf.setFieldText(rec, i, encode(s, text));
  const bool ok = reportStatus(diag, s.dbf.writeRecord(record, rec));
  if (i == s.orderField) refreshOrder(s, host);
  return ok;
}

bool BrowserSetDeleted(TableService& s, Diagnostics& diag, std::uint32_t record, bool deleted) {
  if (!s.dbf.isOpen() || record < 1 || record > s.dbf.recordCount()) return true;
  return reportStatus(diag, s.dbf.setDeleted(record, deleted));
}

bool SearchRows(TableService& s, Diagnostics& diag, const std::string& text, std::size_t start) {
  const std::vector<std::uint32_t> rows = BrowseRows(s, 2);
  long row = findRow(s, rows, start, text);
  if (row < 0) {
    diag.info(text + " " + "nicht gefunden");
    return false;
  }
  s.recNo = rows[static_cast<std::size_t>(row)];
  return true;
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
  SearchRows(ws.table, ws.diag, text, 0);
}

void BrowserSearchNext(TableContext& ws) {
  if (!ws.table.dbf.isOpen()) return;
  if (ws.table.browser.lastSearch.empty()) {
    BrowserSearch(ws);
    return;
  }
  const std::vector<std::uint32_t> rows = BrowseRows(ws.table, 2);
  auto it = std::find(rows.begin(), rows.end(), ws.table.recNo);
  SearchRows(ws.table, ws.diag, ws.table.browser.lastSearch,
             it == rows.end() ? 0 : static_cast<std::size_t>(it - rows.begin()) + 1);
}

void BrowserSortByColumn(TableService& table, const Settings& settings, const Host& host, int pos) {
  const std::string name = FieldName(table, pos);
  if (name.empty()) return;
  const std::uint32_t current = table.recNo;
  BuildIndex(table, settings, host, name, "$orvtemp");
  table.recNo = current;
}

bool BrowserAppendRecord(TableService& s, Diagnostics& diag, const Host& host) {
  if (!s.dbf.isOpen()) return true;
  s.buffer = s.dbf.blankRecord();
  return AppendRecord(s, diag, host);
}

bool BrowserPack(TableService& s, Diagnostics& diag, const Host& host) {
  if (!s.dbf.isOpen()) return true;
  const bool ok = reportStatus(diag, s.dbf.pack());
  clampRecNo(s);
  refreshOrder(s, host);
  return ok;
}

bool AppendDbfFile(TableService& s, Diagnostics& diag, const Host& host, const std::string& path) {
  DbfTable source;
  if (!reportStatus(diag, source.open(path, true))) return false;
  const bool from1252 = isWin1252(source);
  source.close();
  const bool ok = reportStatus(diag, appendFromDbf(s.dbf, path, nullptr, converterBetween(from1252, isWin1252(s.dbf))));
  refreshOrder(s, host);
  return ok;
}

bool AppendDelimitedFile(TableService& s, Diagnostics& diag, const Host& host, const std::string& path) {
  const bool ok = reportStatus(diag, appendDelimited(s.dbf, path));
  refreshOrder(s, host);
  return ok;
}

bool SaveDelimitedFile(const TableService& s, Diagnostics& diag, const Host& host, const std::string& path) {
  if (int e = hookFault(host, path)) return reportStatus(diag, dbfio::writeError(path, e));
  return reportStatus(diag, saveDelimited(s.dbf, path));
}

bool ExportHtmlFile(const TableService& s, Diagnostics& diag, const Settings& settings, const Host& host,
                    const std::string& path) {
  HtmlExportInfo info;
  info.filePath = path;
  info.programTitle = kProgramTitle;
  info.version = kVersion;
  info.date = todayText(settings.num());
  info.time = timeText();
  // HTML files are written for Windows: table texts in the Windows code page.
  info.convert = converterBetween(isWin1252(s.dbf), true);
  if (int e = hookFault(host, path)) return reportStatus(diag, dbfio::writeError(path, e));
  return reportStatus(diag, exportHtml(s.dbf, info));
}

void BrowserAppendDbf(TableContext& ws) {
  if (!ws.table.dbf.isOpen()) return;
  const std::optional<FileResult> chosen =
      ws.ui.show(OpenFileRequest{"Append dbf", dialogFolder(ws), "*.dbf|*.dbf", {}});
  if (!chosen) return;
  if (!AppendDbfFile(ws.table, ws.diag, ws, chosen->path)) ws.abort = true;
}

void BrowserAppendDelimited(TableContext& ws) {
  if (!ws.table.dbf.isOpen()) return;
  const std::optional<FileResult> chosen =
      ws.ui.show(OpenFileRequest{"Append Delimited", dialogFolder(ws), "*.txt|*.txt", {}});
  if (!chosen) return;
  if (!AppendDelimitedFile(ws.table, ws.diag, ws, chosen->path)) ws.abort = true;
}

void BrowserSaveDelimited(TableContext& ws) {
  if (!ws.table.dbf.isOpen()) return;
  const std::optional<FileResult> chosen =
      ws.ui.show(SaveFileRequest{"Save As Delimited", dialogFolder(ws), "txt|*.txt|All files|*.*", {}});
  if (!chosen) return;
  if (!SaveDelimitedFile(ws.table, ws.diag, ws, chosen->path)) ws.abort = true;
}

void BrowserExportHtml(TableContext& ws) {
  TableService& s = ws.table;
  if (!s.dbf.isOpen()) return;
  const std::optional<FileResult> chosen =
      ws.ui.show(SaveFileRequest{"Export HTML", dialogFolder(ws), "HTML files|*.HTM;*.HTML|All files|*.*",
                                 stripExtension(lastComponent(s.dbf.path()))});
  if (!chosen) return;
  if (!ExportHtmlFile(s, ws.diag, ws, ws, chosen->path)) {
    ws.abort = true;
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

std::vector<std::string> BrowserPrintHeader(const TableService& table, int mode) {
  return {std::string(kProgramTitle) + "  V" + kVersion, oem(table.dbf.path()), BrowseCaption(table, mode),
          table.browser.title1};
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

void BrowserPrint(const TableService& table, TableListingSink& sink) {
  if (!table.dbf.isOpen()) return;
  DecodingSink decoding(table, sink);
  writeTableListing(table.dbf, decoding);
}

void BrowserShowFile(const TableService& table, Diagnostics& diag) { diag.info(oem(table.dbf.path())); }

}  // namespace velk
