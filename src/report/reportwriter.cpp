// The report writer: devices, page model, line and row writers, message section, delivery.
// Text is collected in the page state and delivered at CloseReport (the port page by page).
#include "report/reportwriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "base/codepage.h"
#include "dialogs/dialogs.h"
#include "report/explanationfile.h"
#include "report/printtext.h"
#include "tables/tableservice.h"

namespace velk {

namespace {

constexpr const char* kMarker = "$!$";
constexpr const char* kMargin = "       ";
constexpr const char* kCrLf = "\r\n";
constexpr const char* kValueTable = "<TABLE BORDER = \"2\" WIDTH= \"100%\">";
constexpr int kColumns[] = {35, 44, 51, 62, 56};  // symbol, unit, 1, 2 and the value column
constexpr const char* kHeadings[] = {"", "Zeichen", "Einheit", "1", "2"};

ReportState& state(ReportContext& ws) { return ws.report; }

int ruleMode(const ReportContext& ws) {
  const int m = ws.config.ruleMode;
  return (m >= 1 && m <= 4) ? m : 2;
}

int linesPerPage(const ReportContext& ws) { return ws.config.linesPerPage < 5 ? 66 : ws.config.linesPerPage; }

int headerMode(const ReportContext& ws) { return ws.config.headerMode == 2 ? 2 : 1; }

bool textLike(int device) { return !IsTabDevice(device) && !IsHtmlDevice(device); }

// Sets a flag for the lifetime of the guard and restores its value afterwards.
class FlagGuard {
 public:
  explicit FlagGuard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~FlagGuard() { flag_ = old_; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;

 private:
  bool& flag_;
  bool old_;
};

// Inserts text before the character at column (1-based), everything after it moving right,
// and cuts the line to 72 characters. A column beyond the end appends.
void insertAt(std::string& line, std::string_view text, int column) {
  const std::size_t pos = std::min(static_cast<std::size_t>(std::max(column, 1) - 1), line.size());
  line.insert(pos, text);
  if (line.size() > static_cast<std::size_t>(kReportLineLength)) line.resize(kReportLineLength);
}

// ---- the three forms of a text ----

// A text inside HTML: a text of 255 characters or more shows empty (the display conversion's
// limit, applied to the text before escaping so that escaping never makes a text vanish);
// the markup characters are escaped. Code page 850; the page is converted when delivered.
std::string htmlText(std::string_view text) {
  if (text.size() >= 255) return {};
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// A field of a tab-separated line: quoted (quotes doubled) when it holds a quotation mark or
// a line break, so spreadsheets and CSV readers keep it one field.
std::string tabField(std::string_view field) {
  if (field.find_first_of("\"\r\n") == std::string_view::npos) return std::string(field);
  std::string out = "\"";
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

// A text on a tab device: its tab-separated fields, each quoted as needed.
std::string tabText(std::string_view text) {
  std::string out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = text.find('\t', start);
    out += tabField(text.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) break;
    out += '\t';
    start = tab + 1;
  }
  return out;
}

std::string tabLine(std::initializer_list<std::string_view> fields) {
  std::string out;
  bool firstField = true;
  for (std::string_view f : fields) {
    if (!firstField) out += '\t';
    out += tabField(f);
    firstField = false;
  }
  return out;
}

// The decimal separator of values on the tab devices: German (2) ",", English (1) ".".
// Only numbers are converted; a text in a value column keeps its punctuation.
std::string spreadsheetDecimal(const ReportContext& ws, std::string_view value) {
  switch (ws.num().spreadsheetDecimal) {
    case 1:
    case 2:
      return spreadsheetValue(ws.num(), value);
    default:
      return std::string(value);
  }
}

// ---- output primitives ----

void put(ReportContext& ws, std::string_view bytes) { state(ws).out.append(bytes); }

void putLine(ReportContext& ws, std::string_view bytes) {
  state(ws).out.append(bytes);
  state(ws).out.append(kCrLf);
}

bool isRule(const ReportContext& ws, std::string_view text) {
  const int m = ruleMode(ws);
  return text == kMarker || text == ThinRule(m) || text == DoubleRule(m) || text == FrameTop(m) ||
         text == FrameBottom(m) || text == FrameMiddle(m);
}

void closeHtmlTable(ReportContext& ws) {
  ReportState& r = state(ws);
  if (!r.htmlTableOpen) return;
  putLine(ws, "</TABLE>");
  r.htmlTableOpen = false;
}

void openHtmlTable(ReportContext& ws) {
  ReportState& r = state(ws);
  if (r.htmlTableOpen) return;
  putLine(ws, kValueTable);
  r.htmlTableOpen = true;
}

// A writer may act: a report is open and nothing has failed.
bool writing(const ReportContext& ws) { return ws.report.open && !ws.abort; }

// Shows the message for a failed write of path (the report's output when empty) with the reason.
void failIo(ReportContext& ws, IoStage stage, int err, std::string path = {}) {
  if (path.empty()) path = state(ws).outputName;
  ReportIoError(ws, stage, path, err);
}

// Sends what has been written so far to the printer port.
void flushPort(ReportContext& ws) {
  ReportState& r = state(ws);
  if (r.device != kDevicePort || !r.port.valid() || r.out.empty()) return;
  const int e = writeAll(r.port.get(), r.out);
  r.out.clear();
  if (e != 0) {
    r.port.reset();
    failIo(ws, IoStage::Write, e);
  }
}

// Gives up whatever the previous report still holds.
void releaseReport(ReportState& r) {
  r.temp.discard();
  r.port.reset();
  r.out.clear();
  r.out.shrink_to_fit();
  r.open = false;
  r.htmlTableOpen = false;
  r.inPageBreak = false;
}

// One counted line (or fragment) on a text device.
void textDeviceLine(ReportContext& ws, std::string_view text, bool lineEnd) {
  if (text == kMarker) return;
  ReportState& r = state(ws);
  ++r.lines;
  CheckPageOverflow(ws);
  if (ws.abort) return;  // the new page's header was refused
  put(ws, kMargin);
  put(ws, text);
  if (lineEnd) put(ws, kCrLf);
}

// A framed header line: frame character at 1, text at 6, frame character at 70.
std::string framedLine(const ReportContext& ws, std::string_view text) {
  std::string line(71, ' ');
  insertAt(line, FrameChar(ws), 1);
  insertAt(line, text, 6);
  insertAt(line, FrameChar(ws), 70);
  return line;
}

// The input file as line 3 of the page header names it.
std::string inputDesignation(const ReportContext& ws) {
  const Spring& s = ws.spring;
  std::string name = trim(oem(s.fileName));
  if (ws.start.startedWithFile) return name;
  const std::string dir = oem(withSeparator(s.dataDir));
  if (dir.size() + name.size() < 70) return dir + name + "." + s.fileExt;
  return name + "." + s.fileExt;
}

std::string headerDate(const ReportContext& ws) { return ws.report.fixedDate.value_or(todayText(ws.num())); }
std::string headerTime(const ReportContext& ws) { return ws.report.fixedTime.value_or(timeText()); }

// An HTML comment cannot hold "--": a name with it would end the comment early.
std::string commentSafe(std::string text) {
  for (std::size_t p = text.find("--"); p != std::string::npos; p = text.find("--", p)) text[p + 1] = '_';
  return text;
}

void textPageHeader(ReportContext& ws, int sheet, int frameMode) {
  ReportState& r = state(ws);
  const bool first = sheet == 1 || (sheet == 0 && r.sheet == 0);
  flushPort(ws);
  if (ws.abort) return;
  if (r.pause) {
    if (!AskQuestion(ws, "Blatt in Drucker einlegen.  Fortfahren ?")) {
      ws.abort = true;
      return;
    }
  }
  if (headerMode(ws) == 2 && !first) {
    putLine(ws, " ");
    return;
  }
  const int mode = ruleMode(ws);
  if (mode == 4 && !(first || sheet == 1 || r.lines >= linesPerPage(ws) / 2)) return;

  FlagGuard guard(r.inPageBreak);  // a header never breaks its own page
  r.lines = 0;
  r.frameMode = frameMode;
  ++r.sheet;
  if (sheet == 0) sheet = r.sheet;

  if (mode == 4) WriteTextLine(ws, "");
  for (int i = 0; i < std::clamp(ws.config.headerSpaceLines, 0, 30); ++i) WriteTextLine(ws, "");
  WriteTextLine(ws, FrameTop(ws));

  std::string line1(71, ' ');
  insertAt(line1, FrameChar(ws), 1);
  insertAt(line1, r.header[0], 6);
  if (headerMode(ws) == 1) {
    if (r.totalSheets != 0)
      insertAt(line1, "Bl." + fmtIntRight(sheet, 2) + "/" + fmtIntRight(r.totalSheets, 2), 60);
    else
      insertAt(line1, "Bl." + fmtIntRight(sheet, 2), 64);
  }
  insertAt(line1, FrameChar(ws), 70);
  WriteTextLine(ws, line1);

  std::string line2(71, ' ');
  insertAt(line2, FrameChar(ws), 1);
  insertAt(line2, headerDate(ws), 53);
  insertAt(line2, headerTime(ws), 64);
  insertAt(line2, FrameChar(ws), 70);
  WriteTextLine(ws, line2);

  WriteTextLine(ws, framedLine(ws, inputDesignation(ws)));
  WriteTextLine(ws, FrameMiddle(ws));
  for (int i = 1; i < kReportHeaderLines; ++i) {
    if (i == 4 && r.header[4].empty()) continue;
    WriteTextLine(ws, framedLine(ws, r.header[static_cast<std::size_t>(i)]));
  }
  if (frameMode == 1) {
    WriteTextLine(ws, FrameMiddle(ws));
    WriteTableHeading(ws);
  } else {
    WriteTextLine(ws, FrameBottom(ws));
  }
}

void tabPageHeader(ReportContext& ws, bool first) {
  if (!first) return;
  ReportState& r = state(ws);
  const Spring& s = ws.spring;
  putLine(ws, tabLine({std::string(kProgramTitle) + " V" + kVersion, headerDate(ws), headerTime(ws)}));
  // A report names the file it ends up in, not the temporary file it is written through.
  const std::string shown = r.device == kDeviceBatch         ? trim(s.fileName) + ".txt"
                            : !r.tabShownName.empty()        ? r.tabShownName
                                                             : r.outputName;
  putLine(ws, tabField(stripSpaces(oem(shown))));
  putLine(ws, tabField(s.titleLine));
  putLine(ws, tabField(s.bemerk1));
  putLine(ws, tabField(s.bemerk2));
  putLine(ws, " ");
  ++r.sheet;
}

void htmlPageHeader(ReportContext& ws, bool first) {
  if (!first) return;
  ReportState& r = state(ws);
  putLine(ws, "<!-- " + commentSafe(stripSpaces(oem(r.outputName))) + " -->");
  putLine(ws, "<HTML>");
  // The page is written in the Windows code page; saying so keeps every browser from guessing.
  putLine(ws, "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\"><title>" +
                  htmlText(std::string(kProgramTitle) + " V" + kVersion) + "</title></head>");
  putLine(ws, "<BODY BGCOLOR=\"C0C0C0\">");
  putLine(ws, "<hr>");
  WriteTextLine(ws, r.header[0]);
  putLine(ws, "<hr>");
  for (int i = 1; i < kReportHeaderLines; ++i)
    putLine(ws, "<h5>" + htmlText(r.header[static_cast<std::size_t>(i)]) + "</h5>");
  putLine(ws, "<hr>");
  ++r.sheet;
}

// Asks for a report file as the save dialog of the file device does: start in the folder
// last chosen for a report (else the data folder), extension ext unless one is typed,
// overwrite question and creation test. The spring's name, extension and folder stay.
std::string chooseReportFile(ReportContext& ws, const std::string& name, const std::string& ext) {
  ReportState& r = state(ws);
  SaveFileRequest q;
  std::string folder = !r.lastFolder.empty()        ? r.lastFolder
                       : !ws.spring.dataDir.empty() ? ws.spring.dataDir
                                                    : ws.config.dataDir;
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  q.folder = folder;
  q.filter = "*." + ext + "|*." + ext;
  if (!name.empty()) q.defaultName = stripExtension(lastComponent(name)) + "." + ext;
  const std::optional<FileResult> chosen = ws.ui.show(q);
  if (!chosen || chosen->path.empty()) {
    ws.abort = true;
    return {};
  }
  std::string path = chosen->path;
  if (!hasExtension(path)) path += "." + ext;
  PrepareOutputFile(ws, path);
  if (ws.abort) return {};
  r.lastFolder = directoryOf(path);
  return path;
}

// errno of creating a file in the folder of path (a probe beside it; path is not touched).
int probeCreate(const ReportContext& ws, const std::string& path) {
  if (ws.io.writeFault) {
    if (int e = ws.io.writeFault(path)) return e;
  }
  std::string folder = directoryOf(path);
  if (folder.empty()) folder = "./";
  std::string tmpl = folder + ".velk-probe.XXXXXX";
  const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  ::close(fd);
  ::unlink(tmpl.c_str());
  return 0;
}

bool reserveTemp(ReportContext& ws, std::string_view prefix, std::string_view suffix, int first, int tries) {
  ReportState& r = state(ws);
  int err = 0;
  r.temp = reserveNumberedFile(tempFolder(ws), prefix, suffix, first, tries, ws.io, err);
  if (!r.temp.held()) {
    failIo(ws, IoStage::Create, err, tempFolder(ws));
    return false;
  }
  r.outputName = r.temp.path();
  return true;
}

void openPort(ReportContext& ws) {
  ReportState& r = state(ws);
  const int port = std::max(ws.config.printerPort, 1);
  SetHelpNumber(ws, 1060);
  r.pause = AskQuestion(ws, "Pause nach jeder Seite ?");
  if (ws.abort) return;
  r.portPath = r.portDevice ? r.portDevice(port) : "/dev/lp" + fmtInt(port - 1);
  r.outputName = r.portPath;
  int err = ws.io.writeFault ? ws.io.writeFault(r.portPath) : 0;
  if (err == 0) {
    // No O_CREAT: a port that does not exist must not become a file.
    const int fd = ::open(r.portPath.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
      err = errno;
    else
      r.port = FileHandle(fd);
  }
  if (err != 0) {
    failIo(ws, IoStage::Create, err);
    return;
  }
  // Printer control sequences of the working folder go to the printer before any text.
  const std::string dir = ws.start.startDir.empty() ? std::string() : withSeparator(ws.start.startDir);
  if (auto hxp = readWholeFile(dir + "TEXT.HXP", 1u << 20)) {
    if (int e = writeAll(r.port.get(), *hxp)) {
      r.port.reset();
      failIo(ws, IoStage::Write, e);
    }
  }
}

// Files in the private temporary folder are working copies: they need no flush to the disk.
bool durableFile(const ReportContext& ws, const std::string& path) {
  const std::string temp = tempFolder(ws);
  return temp.empty() || path.compare(0, temp.size(), temp) != 0;
}

// Writes the finished text to its own file (the reserved temporary file, or the named file
// replaced atomically). 0 or the errno.
int writePrimary(ReportContext& ws, std::string_view bytes) {
  ReportState& r = state(ws);
  if (r.temp.held()) return r.temp.write(bytes);
  return writeOutputFile(r.outputName, bytes, ws.io, durableFile(ws, r.outputName));
}

// The Windows copy of the report text at path; false (message shown, abort set) on failure.
bool writeCopy(ReportContext& ws, const std::string& path) {
  if (int e = writeOutputFile(path, windowsCopy(ws.num(), state(ws).out), ws.io, durableFile(ws, path))) {
    failIo(ws, IoStage::Create, e, path);
    return false;
  }
  state(ws).copyPath = path;
  return true;
}

// The command that opens file with a configured program; "<program> not found" (and the
// abort flag) when the program is missing here.
bool resolveProgram(ReportContext& ws, const std::string& commandLine, const std::string& file, ProgramCommand& cmd) {
  cmd = commandForFile(commandLine, file);
  if (cmd.status == ProgramCommand::Status::Ready) return true;
  ShowError(ws, oem(cmd.program.empty() ? trim(commandLine) : cmd.program) + " not found");
  ws.abort = true;
  return false;
}

// Starts the program; nothing waits for it. Start errors show their message.
void launch(ReportContext& ws, const ProgramCommand& cmd) {
  if (int e = StartProgram(ws.programs, cmd.argv)) {
    ShowError(ws, startErrorText(e));
    ws.abort = true;
  }
}

// The report window's buttons on the finished report.
class ReportButtons final : public ReportWindowController {
 public:
  ReportButtons(ReportContext& ws, std::string reportFile, std::string windowsFile)
      : ws_(ws), reportFile_(std::move(reportFile)), windowsFile_(std::move(windowsFile)) {}
  void print() override { PrintTextFile(ws_, reportFile_); }
  void exportNotepad() override { ExportNotepad(ws_, windowsFile_); }

 private:
  ReportContext& ws_;
  std::string reportFile_, windowsFile_;
};

void showScreenReport(ReportContext& ws, const std::string& windowsFile) {
  ReportState& r = state(ws);
  ReportWindowRequest q;
  q.caption = std::string(kAppTitle) + " - " + oem(windowsFile);
  for (const std::string& line : splitLines(windowsCopy(ws.num(), r.out))) q.lines.push_back(win1252ToCp850(line));
  q.windowsFile = windowsFile;
  q.reportFile = r.temp.path();
  q.font = ws.config.printoutFont;
  q.fontSize = ws.config.printoutFontSize;
  q.fontStyle = ws.config.printoutFontStyle;
  const TextWindowRect& saved = ws.config.textWindow;
  q.left = saved.left, q.top = saved.top, q.width = saved.width, q.height = saved.height;
  ReportButtons buttons(ws, q.reportFile, q.windowsFile);
  q.controller = &buttons;
  const std::optional<ReportWindowResult> where = ws.ui.show(q);
  if (where && where->width > 0 && where->height > 0)
    ws.config.textWindow = TextWindowRect{where->left, where->top, where->width, where->height};
}

void deliver(ReportContext& ws) {
  ReportState& r = state(ws);
  const std::string outwin = tempFolder(ws) + "outwin.txt";
  switch (r.device) {
    case kDeviceScreen:
      if (int e = writePrimary(ws, r.out)) return failIo(ws, IoStage::Create, e);
      if (!writeCopy(ws, outwin)) return;
      showScreenReport(ws, outwin);
      return;
    case kDevicePort:
      flushPort(ws);
      if (ws.abort) return;
      if (int e = r.port.reset()) failIo(ws, IoStage::Close, e);
      return;
    case kDeviceFile:
    case kDeviceDosFile:
      if (int e = writePrimary(ws, r.out)) return failIo(ws, IoStage::Create, e);
      if (!writeCopy(ws, outwin)) return;
      ws.errorMessagesEnabled = true;
      if (r.device == kDeviceFile)
        ShowInfo(ws, oem(r.outputName) + " " + "und Windows-Datei" + " outwin.txt " + "wurden angelegt." + ".");
      return;
    case kDevicePrinter:
      if (int e = writePrimary(ws, r.out)) return failIo(ws, IoStage::Create, e);
      PrintTextFile(ws, r.temp.path());
      return;
    case kDeviceTextProgram: {
      if (int e = writePrimary(ws, r.out)) return failIo(ws, IoStage::Create, e);
      ProgramCommand cmd;
      if (!resolveProgram(ws, ws.config.textProgram, outwin, cmd)) return;
      if (!writeCopy(ws, outwin)) return;
      launch(ws, cmd);
      return;
    }
    case kDeviceTab:
    case kDeviceBatch: {
      r.tabCounter = std::max(r.tabCounter + 1, r.temp.held() ? r.temp.number() : 0);
      const std::string copy = r.device == kDeviceTab ? tempFolder(ws) + "$$" + fmtInt(r.tabCounter) + ".txt"
                                                      : trim(ws.spring.fileName) + ".txt";
      if (r.device == kDeviceTab && r.temp.held()) {
        // The copy lies beside the temporary file: the temporary file, given the Windows text,
        // becomes the copy by a rename.
        int e = ws.io.writeFault ? ws.io.writeFault(copy) : 0;
        if (e == 0) e = r.temp.write(windowsCopy(ws.num(), r.out));
        if (e == 0) e = r.temp.renameTo(copy);
        if (e != 0) return failIo(ws, IoStage::Create, e, copy);
        r.copyPath = copy;
        return;
      }
      if (int e = writePrimary(ws, r.out)) return failIo(ws, IoStage::Create, e);
      writeCopy(ws, copy);
      return;
    }
    case kDeviceHtml: {
      if (int e = writeOutputFile(r.outputName, windowsText(ws.num(), r.out), ws.io, durableFile(ws, r.outputName)))
        return failIo(ws, IoStage::Create, e);
      ProgramCommand cmd;
      if (!trim(ws.config.htmlBrowser).empty() && resolveProgram(ws, ws.config.htmlBrowser, r.outputName, cmd))
        launch(ws, cmd);
      return;
    }
    default:
      return;  // no device: the text goes nowhere
  }
}

}  // namespace

// ---- rules ----

std::string ThinRule(int m) {
  switch (m) {
    case 1:
      return std::string(70, '-');
    case 3:
      return std::string(70, ' ');
    case 4:
      return kMarker;
    default:
      return std::string(70, '\xC4');
  }
}

std::string DoubleRule(int m) {
  switch (m) {
    case 1:
      return std::string(70, '=');
    case 3:
      return std::string(70, ' ');
    case 4:
      return kMarker;
    default:
      return std::string(70, '\xCD');
  }
}

static std::string boxRule(int m, char left, char right) {
  switch (m) {
    case 1:
      return std::string(70, '*');
    case 3:
      return std::string(70, ' ');
    case 4:
      return kMarker;
    default:
      return left + std::string(68, '\xCD') + right;
  }
}

std::string FrameTop(int m) { return boxRule(m, '\xC9', '\xBB'); }
std::string FrameBottom(int m) { return boxRule(m, '\xC8', '\xBC'); }
std::string FrameMiddle(int m) { return boxRule(m, '\xCC', '\xB9'); }

std::string FrameChar(int m) {
  switch (m) {
    case 1:
      return "*";
    case 3:
    case 4:
      return " ";
    default:
      return "\xBA";
  }
}

std::string ThinRule(const ReportContext& ws) { return ThinRule(ruleMode(ws)); }
std::string DoubleRule(const ReportContext& ws) { return DoubleRule(ruleMode(ws)); }
std::string FrameTop(const ReportContext& ws) { return FrameTop(ruleMode(ws)); }
std::string FrameBottom(const ReportContext& ws) { return FrameBottom(ruleMode(ws)); }
std::string FrameMiddle(const ReportContext& ws) { return FrameMiddle(ruleMode(ws)); }
std::string FrameChar(const ReportContext& ws) { return FrameChar(ruleMode(ws)); }

bool IsTextDevice(int d) { return (d >= 1 && d <= 5) || d == 8; }
bool IsTabDevice(int d) { return d == kDeviceTab || d == kDeviceBatch; }
bool IsHtmlDevice(int d) { return d == kDeviceHtml; }
int CurrentDevice(const ReportContext& ws) { return ws.report.device; }

std::string DeviceChoiceText(int device) {
  switch (device) {
    case 1:
      return "Bildschirm";
    case 2:
      return "Textdrucker";
    case 3:
      return "Datei";
    case 4:
      return "Windows-Drucker";
    case 5:
      return "externes Textprogramm";
    case 6:
      return "TXT File (Excel, QPRO ...)";
    case 7:
      return "HTML File (Netscape, Internet Explorer ...)";
    default:
      return {};
  }
}

// ---- header block and opening ----

void SetReportHeader(ReportContext& ws, const std::string& line1, const std::string& line2, const std::string& line3,
                     const std::string& line4, const std::string& line5, int totalSheets) {
  ReportState& r = state(ws);
  r.header = {line1, line2, line3, line4, line5};
  if (r.header[0].empty()) r.header[0] = std::string(kProgramTitle) + "  V" + kVersion;
  for (std::string& l : r.header) l = leftStr(l, kReportHeaderLength);
  r.totalSheets = totalSheets;
  r.sheet = 0;
  r.lines = 0;
}

void OpenReport(ReportContext& ws, int device, const std::string& name) {
  for (int i = 1; i <= 7; ++i) ws.choiceItems[static_cast<std::size_t>(i)] = DeviceChoiceText(i);
  if (device == kDeviceListOnly) return;

  ReportState& r = state(ws);
  ws.abort = false;
  releaseReport(r);
  r.copyPath.clear();
  r.pause = false;
  r.sheet = 0;
  r.lines = 0;

  const int configured = ws.config.textDevice;
  r.device = (configured >= 1 && configured <= 9) ? configured : kDeviceScreen;
  SetHelpNumber(ws, 1050);
  if (device != kDeviceAsk) {
    r.device = device;
  } else if (ws.config.textDeviceAsk) {
    uint16_t choice = static_cast<uint16_t>(r.device);
    ChooseItem(ws, "Ausgabe auf ..", 7, choice);
    if (ws.abort) return;
    r.device = choice;
  }

  switch (r.device) {
    case kDeviceScreen:
    case kDevicePrinter:
    case kDeviceTextProgram:
      if (!reserveTemp(ws, "$OUT", ".TMP", 1, kTempFileTries)) return;
      break;
    case kDevicePort:
      openPort(ws);
      break;
    case kDeviceFile:
      SetHelpNumber(ws, 1070);
      r.outputName = chooseReportFile(ws, name, "txt");
      break;
    case kDeviceDosFile: {
      const std::string path = tempFolder(ws) + "OUTDOS.TXT";
      if (int e = probeCreate(ws, path)) return failIo(ws, IoStage::Create, e, path);
      r.outputName = path;
      break;
    }
    case kDeviceTab:
    case kDeviceBatch:
      if (ws.config.textDeviceAsk)
        r.outputName = chooseReportFile(ws, name, "txt");
      else if (!reserveTemp(ws, "$$$", ".txt", r.tabCounter + 1, kTabTempFileTries))
        return;
      break;
    case kDeviceHtml:
      if (!trim(ws.config.htmlBrowser).empty()) {
        r.outputName = tempFolder(ws) + ws.start.shortName + ".htm";
        PrepareOutputFile(ws, r.outputName);
      } else {
        r.outputName = chooseReportFile(ws, name, "htm");
      }
      break;
    default:
      break;  // no device: nothing is opened
  }
  if (ws.abort) {
    releaseReport(r);
    return;
  }
  r.open = true;
}

// ---- page model ----

void WritePageHeader(ReportContext& ws, int sheet, int frameMode) {
  if (!writing(ws)) return;
  ReportState& r = state(ws);
  const bool first = sheet == 1 || (sheet == 0 && r.sheet == 0);
  if (IsTabDevice(r.device)) return tabPageHeader(ws, first);
  if (IsHtmlDevice(r.device)) return htmlPageHeader(ws, first);
  textPageHeader(ws, sheet, frameMode);
}

void CheckPageOverflow(ReportContext& ws) {
  ReportState& r = state(ws);
  // Pages belong to the text devices; a break in progress (or a header) is never broken.
  if (!writing(ws) || !textLike(r.device) || r.inPageBreak) return;
  if (r.lines < linesPerPage(ws)) return;
  if (headerMode(ws) == 2) {
    putLine(ws, "\f");
    r.lines = 0;
    return;
  }
  FlagGuard guard(r.inPageBreak);
  EndPage(ws);
  WritePageHeader(ws, 0, r.frameMode);
  if (ws.abort) return;
  WriteTextLine(ws, "");
}

void KeepTogether(ReportContext& ws, int frameMode) {
  if (!writing(ws)) return;
  ReportState& r = state(ws);
  if (r.lines <= std::max(linesPerPage(ws) - 10, 10)) return;
  FlagGuard guard(r.inPageBreak);
  EndPage(ws);
  WritePageHeader(ws, 0, frameMode);
  if (ws.abort) return;
  WriteTextLine(ws, "");
}

void EndPage(ReportContext& ws) {
  if (!writing(ws)) return;
  ReportState& r = state(ws);
  if (!textLike(r.device)) return;
  if (ruleMode(ws) == 4 && r.lines < linesPerPage(ws) / 2) return;
  if (r.device == kDeviceScreen || r.device == kDevicePrinter)
    putLine(ws, "\f");
  else if (r.device == kDevicePort)
    put(ws, "\f");
  r.lines = 0;
}

void CloseReport(ReportContext& ws) {
  ReportState& r = state(ws);
  if (r.open && !ws.abort) {
    const bool paged = r.device == kDeviceScreen || r.device == kDevicePort || r.device == kDevicePrinter;
    if (paged && r.lines != 0 && (headerMode(ws) == 2 || ruleMode(ws) == 4)) put(ws, "\f");
    if (IsHtmlDevice(r.device)) {
      closeHtmlTable(ws);
      putLine(ws, "</BODY>");
      putLine(ws, "</HTML>");
    }
    deliver(ws);
  }
  // Done or failed: the temporary file goes, nothing of this report stays open.
  releaseReport(r);
  NormalCursor(ws);
}

// ---- lines ----

void WriteTextLine(ReportContext& ws, std::string_view text) {
  if (!writing(ws)) return;
  ReportState& r = state(ws);
  if (IsTabDevice(r.device)) {
    if (text == kMarker || text == ThinRule(ws) || text == DoubleRule(ws)) return;
    putLine(ws, tabText(text));
  } else if (IsHtmlDevice(r.device)) {
    closeHtmlTable(ws);
    ++r.lines;
    if (isRule(ws, text)) return;
    putLine(ws, "<br>" + htmlText(text));
  } else {
    textDeviceLine(ws, text, true);
  }
}

void WriteTextFragment(ReportContext& ws, std::string_view text) {
  if (!writing(ws)) return;
  ReportState& r = state(ws);
  if (IsTabDevice(r.device)) {
    put(ws, tabText(text));
  } else if (IsHtmlDevice(r.device)) {
    closeHtmlTable(ws);
    ++r.lines;
    CheckPageOverflow(ws);
    put(ws, "<br>" + htmlText(text));
  } else {
    textDeviceLine(ws, text, false);
  }
}

void WriteRaw(ReportContext& ws, std::string_view text) {
  if (!writing(ws)) return;
  const int d = state(ws).device;
  put(ws, IsHtmlDevice(d) ? htmlText(text) : IsTabDevice(d) ? tabText(text) : std::string(text));
}

void WriteRawLine(ReportContext& ws, std::string_view text) {
  if (!writing(ws)) return;
  WriteRaw(ws, text);
  put(ws, kCrLf);
}

void WriteCellLine(ReportContext& ws, std::string_view text) {
  if (!writing(ws)) return;
  if (!IsHtmlDevice(state(ws).device)) return WriteTextLine(ws, text);
  openHtmlTable(ws);
  putLine(ws, "<TR><TD>" + htmlText(text) + "</TD></TR>");
}

void WriteWrappedText(ReportContext& ws, std::string_view text) {
  if (!writing(ws) || text.empty()) return;
  const int d = state(ws).device;
  if (IsHtmlDevice(d) || IsTabDevice(d) || text.size() < 73) return WriteCellLine(ws, text);
  std::string_view rest = text;
  while (!rest.empty()) {
    if (rest.size() <= 64) {
      WriteCellLine(ws, rest);
      break;
    }
    const std::size_t space = rest.substr(0, 63).rfind(' ');
    const std::size_t len = space == std::string_view::npos ? 64 : space + 1;
    WriteCellLine(ws, rest.substr(0, len));
    rest.remove_prefix(len);
  }
}

void WriteSectionTitle(ReportContext& ws, std::string_view title) {
  WriteTextLine(ws, title);
  WriteTextLine(ws, ThinRule(ws));
}

// ---- rows ----

void WriteValueRow(ReportContext& ws, std::string_view label, std::string_view symbol, std::string_view unit,
                   std::string_view value) {
  if (!writing(ws)) return;
  const int d = state(ws).device;
  if (IsTabDevice(d)) {
    putLine(ws, tabLine({label, symbol, unit, spreadsheetDecimal(ws, value)}));
  } else if (IsHtmlDevice(d)) {
    openHtmlTable(ws);
    putLine(ws, "<TR><TD>" + htmlText(label) + "</TD><TD>" + htmlText(symbol) + "</TD><TD>" + htmlText(unit) +
                    "</TD><TD><DIV ALIGN=RIGHT>" + htmlText(value) + "</DIV></TD></TR>");
  } else {
    std::string line(68, ' ');
    insertAt(line, label, 1);
    insertAt(line, symbol, kColumns[0]);
    insertAt(line, unit, kColumns[1]);
    insertAt(line, value, kColumns[4]);
    WriteTextLine(ws, line);
    if (ruleMode(ws) != 4) WriteTextLine(ws, ThinRule(ws));
  }
}

void WriteTableRow(ReportContext& ws, std::string_view c1, std::string_view c2, std::string_view c3, std::string_view c4,
                   std::string_view c5) {
  if (!writing(ws)) return;
  const int d = state(ws).device;
  if (IsTabDevice(d)) {
    putLine(ws, tabLine({c1, c2, c3, spreadsheetDecimal(ws, c4), spreadsheetDecimal(ws, c5)}));
  } else if (IsHtmlDevice(d)) {
    if (!state(ws).htmlTableOpen) WriteTableHeading(ws);
    putLine(ws, "<TR><TD>" + htmlText(c1) + "</TD><TD>" + htmlText(c2) + "</TD><TD>" + htmlText(c3) + "</TD><TD>" +
                    htmlText(c4) + "</TD><TD>" + htmlText(c5) + "</TD></TR>");
  } else {
    std::string line(66, ' ');
    insertAt(line, c1, 1);
    insertAt(line, c2, kColumns[0]);
    insertAt(line, c3, kColumns[1]);
    insertAt(line, c4, kColumns[2]);
    insertAt(line, c5, kColumns[3]);
    WriteTextLine(ws, line);
    if (ruleMode(ws) != 4) WriteTextLine(ws, ThinRule(ws));
  }
}

void WriteTableHeading(ReportContext& ws) {
  if (!writing(ws)) return;
  const int d = state(ws).device;
  if (IsTabDevice(d)) {
    putLine(ws, tabLine({kHeadings[0], kHeadings[1], kHeadings[2], kHeadings[3], kHeadings[4]}));
  } else if (IsHtmlDevice(d)) {
    closeHtmlTable(ws);
    putLine(ws, kValueTable);
    state(ws).htmlTableOpen = true;
    std::string row = std::string("<TR><TD><CENTER>") + htmlText(kHeadings[0]) + "</CENTER></TD>";
    for (int i = 1; i < 5; ++i) row += std::string("<TD>") + htmlText(kHeadings[i]) + "</TD>";
    putLine(ws, row + "</TR>");
  } else {
    std::string line(69, ' ');
    insertAt(line, FrameChar(ws), 1);
    insertAt(line, kHeadings[0], 1);
    for (int i = 1; i < 5; ++i) insertAt(line, kHeadings[i], kColumns[i - 1]);
    insertAt(line, FrameChar(ws), 70);
    WriteTextLine(ws, line);
    WriteTextLine(ws, FrameBottom(ws));
    WriteTextLine(ws, "");
  }
}

static std::string htmlTableTag(std::string_view border) {
  return "<TABLE BORDER = \"" + std::string(border) + "\" WIDTH= \"100%\">";
}

void WriteHtmlTableStart(ReportContext& ws, std::string_view border, const std::vector<std::string>& titles) {
  if (!writing(ws) || !IsHtmlDevice(state(ws).device)) return;
  closeHtmlTable(ws);
  putLine(ws, htmlTableTag(border));
  state(ws).htmlTableOpen = true;
  std::string row = "<TR>";
  for (const std::string& t : titles) row += "<TD><CENTER>" + htmlText(t) + "</CENTER></TD>";
  putLine(ws, row + "</TR>");
}

void WriteHtmlTableRow(ReportContext& ws, std::string_view border, const std::vector<std::string>& cells,
                       std::size_t columns) {
  if (!writing(ws) || !IsHtmlDevice(state(ws).device)) return;
  if (!state(ws).htmlTableOpen) {
    putLine(ws, htmlTableTag(border));
    state(ws).htmlTableOpen = true;
  }
  std::string row = "<TR>";
  for (std::size_t i = 0; i < columns; ++i) {
    const std::string cell = htmlText(i < cells.size() ? cells[i] : std::string());
    row += i == 0 ? "<TD>" + cell + "</TD>" : "<TD><DIV ALIGN=RIGHT>" + cell + "</DIV></TD>";
  }
  putLine(ws, row + "</TR>");
}

void WriteHtmlTableEnd(ReportContext& ws) {
  if (writing(ws)) closeHtmlTable(ws);
}

std::string FormatNumberLine(std::string_view left, std::string_view number) {
  std::string line(kReportLineLength, ' ');
  insertAt(line, left, 1);
  insertAt(line, "Nr.: " + std::string(number), 40);
  return line;
}

// ---- messages ----

void WriteMessageSection(ReportContext& ws, std::string_view title) {
  if (!writing(ws)) return;
  const int count = std::clamp(ws.messages.count, 0, kMaxCalcMessages);
  if (count == 0) return;
  const int d = state(ws).device;
  WriteRawLine(ws, "");
  WriteTextLine(ws, title);
  if (!IsTabDevice(d)) {
    WriteTextLine(ws, DoubleRule(ws));
    WriteRawLine(ws, "");
    WriteTextLine(ws, ThinRule(ws));
  }
  if (IsHtmlDevice(d)) openHtmlTable(ws);
  for (int i = 1; i <= count && writing(ws); ++i) {
    const std::string& message = ws.messages.entries[static_cast<std::size_t>(i - 1)];
    const MessageExplanation why = ExplainMessage(ws, i);
    if (IsTabDevice(d)) {
      putLine(ws, tabLine({padRight(message, 37) + why.cause, why.remedy}));
      continue;
    }
    WriteCellLine(ws, message);
    WriteWrappedText(ws, why.cause);
    WriteWrappedText(ws, why.remedy);
    if (IsHtmlDevice(d)) {
      closeHtmlTable(ws);
      WriteTextLine(ws, "");
      if (i < count) openHtmlTable(ws);  // no empty (yet bordered) table after the last block
    } else if (ruleMode(ws) != 4) {
      WriteTextLine(ws, ThinRule(ws));
    }
  }
  if (IsHtmlDevice(d) && writing(ws)) closeHtmlTable(ws);
}

void WriteMessageList(ReportContext& ws, std::string_view title) {
  if (!writing(ws)) return;
  const int count = std::clamp(ws.messages.count, 0, kMaxCalcMessages);
  if (count == 0) return;
  const bool html = IsHtmlDevice(state(ws).device);
  WriteRawLine(ws, "");
  WriteTextLine(ws, title);
  for (int i = 0; i < count; ++i) {
    if (html)
      WriteCellLine(ws, ws.messages.entries[static_cast<std::size_t>(i)]);
    else
      WriteTextLine(ws, ws.messages.entries[static_cast<std::size_t>(i)]);
  }
  if (html && writing(ws)) closeHtmlTable(ws);
}

void PrintMessagesOnly(ReportContext& ws) {
  if (!writing(ws) || ws.messages.count <= 0) return;
  WritePageHeader(ws, 0, 0);
  if (ws.abort) return;
  WriteMessageSection(ws);
  EndPage(ws);
}

// ---- printing and the text window ----

void PrintTextFile(ReportContext& ws, const std::string& path) {
  auto bytes = readWholeFile(path);
  if (!bytes) {
    ShowError(ws, oem(path) + " not found !");
    ws.abort = true;
    return;
  }
  PrintTextRequest q;
  q.documentName = oem(lastComponent(path));
  q.lines = splitLines(*bytes);
  if (ws.num().plainChars == 1)
    for (std::string& l : q.lines) l = plainText(l);
  q.pageCount = std::max(CountPageBreaks(q.lines), 1);
  q.linesPerPage = linesPerPage(ws);
  q.font = ws.config.printoutFont;
  q.fontSize = ws.config.printoutFontSize;
  q.fontStyle = ws.config.printoutFontStyle;
  const std::optional<PrintTextResult> printed = ws.ui.show(q);
  if (printed && printed->noPrinter) {
    ShowError(ws, "kein Drucker vorhanden");
    ws.abort = true;
  }
}

void ExportNotepad(ReportContext& ws, const std::string& path) {
  ProgramCommand cmd;
  if (resolveProgram(ws, "notepad", path, cmd)) launch(ws, cmd);
}

}  // namespace velk
