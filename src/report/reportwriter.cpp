// The report writer: devices, page model, line and row writers, message section, delivery.
// Text is collected in the page state and delivered at CloseReport (the port page by page).
#include "report/reportwriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "base/codepage.h"
#include "platform/process.h"
#include "report/explanationfile.h"

namespace velk {

namespace {

constexpr const char* kMarker = "$!$";
constexpr const char* kMargin = "       ";
constexpr const char* kCrLf = "\r\n";
constexpr const char* kValueTable = "<TABLE BORDER = \"2\" WIDTH= \"100%\">";
constexpr int kColumns[] = {35, 44, 51, 62, 56};  // symbol, unit, 1, 2 and the value column
constexpr const char* kHeadings[] = {"", "Zeichen", "Einheit", "1", "2"};

int ruleMode(const ReportState& r) { return r.page.ruleMode; }
int linesPerPage(const ReportState& r) { return r.page.linesPerPage; }
int headerMode(const ReportState& r) { return r.page.headerMode; }

bool textLike(ReportDevice device) { return !IsTabDevice(device) && !IsHtmlDevice(device); }

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
std::string spreadsheetDecimal(const ReportState& r, std::string_view value) {
  switch (r.page.num.spreadsheetDecimal) {
    case 1:
    case 2:
      return spreadsheetValue(r.page.num, value);
    default:
      return std::string(value);
  }
}

// ---- output primitives ----

void put(ReportState& r, std::string_view bytes) { r.out.append(bytes); }

void putLine(ReportState& r, std::string_view bytes) {
  r.out.append(bytes);
  r.out.append(kCrLf);
}

bool isRule(const ReportState& r, std::string_view text) {
  const int m = ruleMode(r);
  return text == kMarker || text == ThinRule(m) || text == DoubleRule(m) || text == FrameTop(m) ||
         text == FrameBottom(m) || text == FrameMiddle(m);
}

void closeHtmlTable(ReportState& r) {
  if (!r.htmlTableOpen) return;
  putLine(r, "</TABLE>");
  r.htmlTableOpen = false;
}

void openHtmlTable(ReportState& r) {
  if (r.htmlTableOpen) return;
  putLine(r, kValueTable);
  r.htmlTableOpen = true;
}

// A writer may act: a report is open and nothing has failed.
bool writing(const ReportState& r) { return r.open && !r.failed; }

enum class IoStage { Write, Close, Create };

// The message of a failed write of path with the errno err, followed by the file and the
// reason: "Diskette/Platte voll: s.txt (No space left on device)".
std::string ioFailureText(IoStage stage, const std::string& path, int err) {
  const bool full = ioCodeFromErrno(err) == kIoDiskFull;
  std::string text = full                      ? "Diskette/Platte voll"
                     : stage == IoStage::Write ? "Fehler bei Zugriff auf Diskette/Platte"
                     : stage == IoStage::Close ? oem("Fehler beim Schließen einer Datei")
                                               : "file write error";
  if (!path.empty()) text += ": " + oem(path);
  if (err != 0) text += " (" + oem(writeFailureReason(path, err)) + ")";
  return text;
}

// The report fails: its message (when there is a sink) and nothing further is written.
void fail(ReportState& r, std::string text) {
  if (r.diag) r.diag->error(std::move(text));
  r.failed = true;
}

// Fails the report for a failed write of path (the report's output when empty) with the reason.
void failIo(ReportState& r, IoStage stage, int err, std::string path = {}) {
  if (path.empty()) path = r.outputName;
  fail(r, ioFailureText(stage, path, err));
}

// Sends what has been written so far to the printer port.
void flushPort(ReportState& r) {
  if (r.device != ReportDevice::Port || !r.port.valid() || r.out.empty()) return;
  const int e = writeAll(r.port.get(), r.out);
  r.out.clear();
  if (e != 0) {
    r.port.reset();
    failIo(r, IoStage::Write, e);
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
  r.confirmSheet = nullptr;
}

// One counted line (or fragment) on a text device.
void textDeviceLine(ReportState& r, std::string_view text, bool lineEnd) {
  if (text == kMarker) return;
  ++r.lines;
  CheckPageOverflow(r);
  if (r.failed) return;  // the new page's header was refused
  put(r, kMargin);
  put(r, text);
  if (lineEnd) put(r, kCrLf);
}

// A framed header line: frame character at 1, text at 6, frame character at 70.
std::string framedLine(const ReportState& r, std::string_view text) {
  std::string line(71, ' ');
  insertAt(line, FrameChar(r), 1);
  insertAt(line, text, 6);
  insertAt(line, FrameChar(r), 70);
  return line;
}

// The input file as line 3 of the page header names it.
std::string inputDesignation(const Spring& s, const Settings& settings) {
  std::string name = trim(oem(s.fileName));
  if (settings.start.startedWithFile) return name;
  const std::string dir = oem(withSeparator(s.dataDir));
  if (dir.size() + name.size() < 70) return dir + name + "." + s.fileExt;
  return name + "." + s.fileExt;
}

std::string headerDate(const ReportState& r) { return r.fixedDate.value_or(todayText(r.page.num)); }
std::string headerTime(const ReportState& r) { return r.fixedTime.value_or(timeText()); }

// An HTML comment cannot hold "--": a name with it would end the comment early.
std::string commentSafe(std::string text) {
  for (std::size_t p = text.find("--"); p != std::string::npos; p = text.find("--", p)) text[p + 1] = '_';
  return text;
}

void textPageHeader(ReportState& r, int sheet, int frameMode) {
  const bool first = sheet == 1 || (sheet == 0 && r.sheet == 0);
  flushPort(r);
  if (r.failed) return;
  if (r.pause) {
    if (!r.confirmSheet || !r.confirmSheet()) {
      r.failed = true;
      return;
    }
  }
  if (headerMode(r) == 2 && !first) {
    putLine(r, " ");
    return;
  }
  const int mode = ruleMode(r);
  if (mode == 4 && !(first || sheet == 1 || r.lines >= linesPerPage(r) / 2)) return;

  FlagGuard guard(r.inPageBreak);  // a header never breaks its own page
  r.lines = 0;
  r.frameMode = frameMode;
  ++r.sheet;
  if (sheet == 0) sheet = r.sheet;

  if (mode == 4) WriteTextLine(r, "");
  for (int i = 0; i < r.page.headerSpaceLines; ++i) WriteTextLine(r, "");
  WriteTextLine(r, FrameTop(r));

  std::string line1(71, ' ');
  insertAt(line1, FrameChar(r), 1);
  insertAt(line1, r.header[0], 6);
  if (headerMode(r) == 1) {
    if (r.totalSheets != 0)
      insertAt(line1, "Bl." + fmtIntRight(sheet, 2) + "/" + fmtIntRight(r.totalSheets, 2), 60);
    else
      insertAt(line1, "Bl." + fmtIntRight(sheet, 2), 64);
  }
  insertAt(line1, FrameChar(r), 70);
  WriteTextLine(r, line1);

  std::string line2(71, ' ');
  insertAt(line2, FrameChar(r), 1);
  insertAt(line2, headerDate(r), 53);
  insertAt(line2, headerTime(r), 64);
  insertAt(line2, FrameChar(r), 70);
  WriteTextLine(r, line2);

  WriteTextLine(r, framedLine(r, r.page.designation));
  WriteTextLine(r, FrameMiddle(r));
  for (int i = 1; i < kReportHeaderLines; ++i) {
    if (i == 4 && r.header[4].empty()) continue;
    WriteTextLine(r, framedLine(r, r.header[static_cast<std::size_t>(i)]));
  }
  if (frameMode == 1) {
    WriteTextLine(r, FrameMiddle(r));
    WriteTableHeading(r);
  } else {
    WriteTextLine(r, FrameBottom(r));
  }
}

void tabPageHeader(ReportState& r, bool first) {
  if (!first) return;
  putLine(r, tabLine({std::string(kProgramTitle) + " V" + kVersion, headerDate(r), headerTime(r)}));
  // A report names the file it ends up in, not the temporary file it is written through.
  const std::string shown = r.device == ReportDevice::Batch ? trim(r.page.fileName) + ".txt"
                            : !r.tabShownName.empty()       ? r.tabShownName
                                                            : r.outputName;
  putLine(r, tabField(stripSpaces(oem(shown))));
  putLine(r, tabField(r.page.titleLine));
  putLine(r, tabField(r.page.bemerk1));
  putLine(r, tabField(r.page.bemerk2));
  putLine(r, " ");
  ++r.sheet;
}

void htmlPageHeader(ReportState& r, bool first) {
  if (!first) return;
  putLine(r, "<!-- " + commentSafe(stripSpaces(oem(r.outputName))) + " -->");
  putLine(r, "<HTML>");
  // The page is written in the Windows code page; saying so keeps every browser from guessing.
  putLine(r, "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\"><title>" +
                 htmlText(std::string(kProgramTitle) + " V" + kVersion) + "</title></head>");
  putLine(r, "<BODY BGCOLOR=\"C0C0C0\">");
  putLine(r, "<hr>");
  WriteTextLine(r, r.header[0]);
  putLine(r, "<hr>");
  for (int i = 1; i < kReportHeaderLines; ++i)
    putLine(r, "<h5>" + htmlText(r.header[static_cast<std::size_t>(i)]) + "</h5>");
  putLine(r, "<hr>");
  ++r.sheet;
}

// errno of creating a file in the folder of path (a probe beside it; path is not touched).
int probeCreate(const IoHooks& io, const std::string& path) {
  if (io.writeFault) {
    if (int e = io.writeFault(path)) return e;
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

bool reserveTemp(ReportState& r, const IoHooks& io, std::string_view prefix, std::string_view suffix, int first,
                 int tries) {
  int err = 0;
  r.temp = reserveNumberedFile(r.page.tempFolder, prefix, suffix, first, tries, io, err);
  if (!r.temp.held()) {
    failIo(r, IoStage::Create, err, r.page.tempFolder);
    return false;
  }
  r.outputName = r.temp.path();
  return true;
}

void openPort(ReportState& r, const Settings& settings, const IoHooks& io, const ReportTarget& target) {
  const int port = std::max(settings.config.printerPort, 1);
  r.portPath = r.portDevice ? r.portDevice(port) : "/dev/lp" + fmtInt(port - 1);
  r.outputName = r.portPath;
  int err = io.writeFault ? io.writeFault(r.portPath) : 0;
  if (err == 0) {
    // No O_CREAT: a port that does not exist must not become a file.
    const int fd = ::open(r.portPath.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
      err = errno;
    else
      r.port = FileHandle(fd);
  }
  if (err != 0) {
    failIo(r, IoStage::Create, err);
    return;
  }
  // Printer control sequences of the working folder go to the printer before any text.
  const std::string dir = target.startDir.empty() ? std::string() : withSeparator(target.startDir);
  if (auto hxp = readWholeFile(dir + "TEXT.HXP", 1u << 20)) {
    if (int e = writeAll(r.port.get(), *hxp)) {
      r.port.reset();
      failIo(r, IoStage::Write, e);
    }
  }
}

// Files in the private temporary folder are working copies: they need no flush to the disk.
bool durableFile(const ReportState& r, const std::string& path) {
  const std::string& temp = r.page.tempFolder;
  return temp.empty() || path.compare(0, temp.size(), temp) != 0;
}

// Writes the finished text to its own file (the reserved temporary file, or the named file
// replaced atomically). 0 or the errno.
int writePrimary(ReportState& r, const IoHooks& io, std::string_view bytes) {
  if (r.temp.held()) return r.temp.write(bytes);
  return writeOutputFile(r.outputName, bytes, io, durableFile(r, r.outputName));
}

// The Windows copy of the report text at path; false (the report failed) on failure.
bool writeCopy(ReportState& r, const IoHooks& io, const std::string& path) {
  if (int e = writeOutputFile(path, windowsCopy(r.page.num, r.out), io, durableFile(r, path))) {
    failIo(r, IoStage::Create, e, path);
    return false;
  }
  r.copyPath = path;
  return true;
}

// The program that opens file with a configured program; "<program> not found" (and the
// report failed) when the program is missing here.
bool resolveProgram(ReportState& r, const std::string& commandLine, const std::string& file, ReportDelivery& done) {
  const ProgramCommand cmd = commandForFile(commandLine, file);
  if (cmd.status == ProgramCommand::Status::Ready) {
    done.show = ReportDelivery::Show::Program;
    done.argv = cmd.argv;
    return true;
  }
  fail(r, oem(cmd.program.empty() ? trim(commandLine) : cmd.program) + " not found");
  return false;
}

void deliver(ReportState& r, const IoHooks& io, ReportDelivery& done) {
  const std::string outwin = r.page.tempFolder + "outwin.txt";
  switch (r.device) {
    case ReportDevice::Screen:
      if (int e = writePrimary(r, io, r.out)) return failIo(r, IoStage::Create, e);
      if (!writeCopy(r, io, outwin)) return;
      done.show = ReportDelivery::Show::Window;
      done.windowsFile = outwin;
      done.reportFile = r.temp.path();
      done.windowsText = windowsCopy(r.page.num, r.out);
      done.temp = std::move(r.temp);
      return;
    case ReportDevice::Port:
      flushPort(r);
      if (r.failed) return;
      if (int e = r.port.reset()) failIo(r, IoStage::Close, e);
      return;
    case ReportDevice::File:
    case ReportDevice::DosFile:
      if (int e = writePrimary(r, io, r.out)) return failIo(r, IoStage::Create, e);
      if (!writeCopy(r, io, outwin)) return;
      done.errorMessagesOn = true;
      if (r.device == ReportDevice::File && r.diag)
        r.diag->info(oem(r.outputName) + " " + "und Windows-Datei" + " outwin.txt " + "wurden angelegt." + ".");
      return;
    case ReportDevice::Printer:
      if (int e = writePrimary(r, io, r.out)) return failIo(r, IoStage::Create, e);
      done.show = ReportDelivery::Show::Printer;
      done.reportFile = r.temp.path();
      done.temp = std::move(r.temp);
      return;
    case ReportDevice::TextProgram: {
      if (int e = writePrimary(r, io, r.out)) return failIo(r, IoStage::Create, e);
      if (!resolveProgram(r, r.page.textProgram, outwin, done)) return;
      if (!writeCopy(r, io, outwin)) {
        done.show = ReportDelivery::Show::Nothing;
        return;
      }
      done.windowsFile = outwin;
      return;
    }
    case ReportDevice::Tab:
    case ReportDevice::Batch: {
      r.tabCounter = std::max(r.tabCounter + 1, r.temp.held() ? r.temp.number() : 0);
      const std::string copy = r.device == ReportDevice::Tab ? r.page.tempFolder + "$$" + fmtInt(r.tabCounter) + ".txt"
                                                             : trim(r.page.fileName) + ".txt";
      if (r.device == ReportDevice::Tab && r.temp.held()) {
        // The copy lies beside the temporary file: the temporary file, given the Windows text,
        // becomes the copy by a rename.
        int e = io.writeFault ? io.writeFault(copy) : 0;
        if (e == 0) e = r.temp.write(windowsCopy(r.page.num, r.out));
        if (e == 0) e = r.temp.renameTo(copy);
        if (e != 0) return failIo(r, IoStage::Create, e, copy);
        r.copyPath = copy;
        return;
      }
      if (int e = writePrimary(r, io, r.out)) return failIo(r, IoStage::Create, e);
      writeCopy(r, io, copy);
      return;
    }
    case ReportDevice::Html: {
      if (int e = writeOutputFile(r.outputName, windowsText(r.page.num, r.out), io, durableFile(r, r.outputName)))
        return failIo(r, IoStage::Create, e);
      if (!trim(r.page.htmlBrowser).empty()) resolveProgram(r, r.page.htmlBrowser, r.outputName, done);
      return;
    }
    case ReportDevice::None:
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

int RuleMode(const Settings& settings) {
  const int m = settings.config.ruleMode;
  return (m >= 1 && m <= 4) ? m : 2;
}

std::string ThinRule(const Settings& settings) { return ThinRule(RuleMode(settings)); }
std::string DoubleRule(const Settings& settings) { return DoubleRule(RuleMode(settings)); }
std::string FrameTop(const Settings& settings) { return FrameTop(RuleMode(settings)); }
std::string FrameBottom(const Settings& settings) { return FrameBottom(RuleMode(settings)); }
std::string FrameMiddle(const Settings& settings) { return FrameMiddle(RuleMode(settings)); }
std::string FrameChar(const Settings& settings) { return FrameChar(RuleMode(settings)); }

std::string ThinRule(const ReportState& r) { return ThinRule(ruleMode(r)); }
std::string DoubleRule(const ReportState& r) { return DoubleRule(ruleMode(r)); }
std::string FrameTop(const ReportState& r) { return FrameTop(ruleMode(r)); }
std::string FrameBottom(const ReportState& r) { return FrameBottom(ruleMode(r)); }
std::string FrameMiddle(const ReportState& r) { return FrameMiddle(ruleMode(r)); }
std::string FrameChar(const ReportState& r) { return FrameChar(ruleMode(r)); }

namespace {

// The devices by their numbers 1 to 9.
constexpr ReportDevice kNumberedDevices[] = {
    ReportDevice::Screen, ReportDevice::Port, ReportDevice::File,    ReportDevice::Printer, ReportDevice::TextProgram,
    ReportDevice::Tab,    ReportDevice::Html, ReportDevice::DosFile, ReportDevice::Batch,
};

}  // namespace

ReportDevice ReportDeviceFromCode(int code) {
  if (code < 1 || code > 9) return ReportDevice::None;
  return kNumberedDevices[code - 1];
}

int ReportDeviceCode(ReportDevice device) {
  for (int i = 0; i < 9; ++i)
    if (kNumberedDevices[i] == device) return i + 1;
  return 0;
}

bool IsTextDevice(ReportDevice d) {
  switch (d) {
    case ReportDevice::Screen:
    case ReportDevice::Port:
    case ReportDevice::File:
    case ReportDevice::Printer:
    case ReportDevice::TextProgram:
    case ReportDevice::DosFile:
      return true;
    case ReportDevice::None:
    case ReportDevice::Tab:
    case ReportDevice::Html:
    case ReportDevice::Batch:
      return false;
  }
  return false;
}
bool IsTabDevice(ReportDevice d) { return d == ReportDevice::Tab || d == ReportDevice::Batch; }
bool IsHtmlDevice(ReportDevice d) { return d == ReportDevice::Html; }
ReportDevice CurrentDevice(const ReportState& r) { return r.device; }

std::string DeviceChoiceText(ReportDevice device) {
  switch (device) {
    case ReportDevice::Screen:
      return "Bildschirm";
    case ReportDevice::Port:
      return "Textdrucker";
    case ReportDevice::File:
      return "Datei";
    case ReportDevice::Printer:
      return "Windows-Drucker";
    case ReportDevice::TextProgram:
      return "externes Textprogramm";
    case ReportDevice::Tab:
      return "TXT File (Excel, QPRO ...)";
    case ReportDevice::Html:
      return "HTML File (Netscape, Internet Explorer ...)";
    case ReportDevice::None:
    case ReportDevice::DosFile:
    case ReportDevice::Batch:
      return {};
  }
  return {};
}

// ---- header block and opening ----

void SetReportHeader(ReportState& r, const std::string& line1, const std::string& line2, const std::string& line3,
                     const std::string& line4, const std::string& line5, int totalSheets) {
  r.header = {line1, line2, line3, line4, line5};
  if (r.header[0].empty()) r.header[0] = std::string(kProgramTitle) + "  V" + kVersion;
  for (std::string& l : r.header) l = leftStr(l, kReportHeaderLength);
  r.totalSheets = totalSheets;
  r.sheet = 0;
  r.lines = 0;
}

bool OpenReport(ReportState& r, const Document& doc, const Settings& settings, Diagnostics& diag, const IoHooks& io,
                const ReportTarget& target) {
  releaseReport(r);
  r.failed = false;
  r.diag = &diag;
  r.copyPath.clear();
  r.pause = target.pause;
  r.sheet = 0;
  r.lines = 0;
  r.device = target.device;

  const Configuration& c = settings.config;
  ReportLayout& page = r.page;
  page.ruleMode = RuleMode(settings);
  page.linesPerPage = c.linesPerPage < 5 ? 66 : c.linesPerPage;
  page.headerMode = c.headerMode == 2 ? 2 : 1;
  page.headerSpaceLines = std::clamp(c.headerSpaceLines, 0, 30);
  page.num = c.num;
  page.designation = inputDesignation(doc.spring, settings);
  page.fileName = doc.spring.fileName;
  page.titleLine = doc.spring.titleLine;
  page.bemerk1 = doc.spring.bemerk1;
  page.bemerk2 = doc.spring.bemerk2;
  page.textProgram = c.textProgram;
  page.htmlBrowser = c.htmlBrowser;
  page.tempFolder = target.tempFolder;
  page.explanationFile = target.explanationFile;

  switch (r.device) {
    case ReportDevice::Screen:
    case ReportDevice::Printer:
    case ReportDevice::TextProgram:
      reserveTemp(r, io, "$OUT", ".TMP", 1, kTempFileTries);
      break;
    case ReportDevice::Port:
      openPort(r, settings, io, target);
      break;
    case ReportDevice::File:
    case ReportDevice::Html:
      r.outputName = target.file;
      break;
    case ReportDevice::DosFile: {
      const std::string path = page.tempFolder + "OUTDOS.TXT";
      if (int e = probeCreate(io, path))
        failIo(r, IoStage::Create, e, path);
      else
        r.outputName = path;
      break;
    }
    case ReportDevice::Tab:
    case ReportDevice::Batch:
      if (!target.file.empty())
        r.outputName = target.file;
      else
        reserveTemp(r, io, "$$$", ".txt", r.tabCounter + 1, kTabTempFileTries);
      break;
    case ReportDevice::None:
      break;  // no device: nothing is opened
  }
  if (r.failed) {
    releaseReport(r);
    return false;
  }
  r.open = true;
  return true;
}

// ---- page model ----

void WritePageHeader(ReportState& r, int sheet, int frameMode) {
  if (!writing(r)) return;
  const bool first = sheet == 1 || (sheet == 0 && r.sheet == 0);
  if (IsTabDevice(r.device)) return tabPageHeader(r, first);
  if (IsHtmlDevice(r.device)) return htmlPageHeader(r, first);
  textPageHeader(r, sheet, frameMode);
}

void CheckPageOverflow(ReportState& r) {
  // Pages belong to the text devices; a break in progress (or a header) is never broken.
  if (!writing(r) || !textLike(r.device) || r.inPageBreak) return;
  if (r.lines < linesPerPage(r)) return;
  if (headerMode(r) == 2) {
    putLine(r, "\f");
    r.lines = 0;
    return;
  }
  FlagGuard guard(r.inPageBreak);
  EndPage(r);
  WritePageHeader(r, 0, r.frameMode);
  if (r.failed) return;
  WriteTextLine(r, "");
}

void KeepTogether(ReportState& r, int frameMode) {
  if (!writing(r)) return;
  if (r.lines <= std::max(linesPerPage(r) - 10, 10)) return;
  FlagGuard guard(r.inPageBreak);
  EndPage(r);
  WritePageHeader(r, 0, frameMode);
  if (r.failed) return;
  WriteTextLine(r, "");
}

void EndPage(ReportState& r) {
  if (!writing(r)) return;
  if (!textLike(r.device)) return;
  if (ruleMode(r) == 4 && r.lines < linesPerPage(r) / 2) return;
  if (r.device == ReportDevice::Screen || r.device == ReportDevice::Printer)
    putLine(r, "\f");
  else if (r.device == ReportDevice::Port)
    put(r, "\f");
  r.lines = 0;
}

ReportDelivery CloseReport(ReportState& r, Diagnostics& diag, const IoHooks& io) {
  ReportDelivery done;
  r.diag = &diag;
  if (r.open && !r.failed) {
    const bool paged =
        r.device == ReportDevice::Screen || r.device == ReportDevice::Port || r.device == ReportDevice::Printer;
    if (paged && r.lines != 0 && (headerMode(r) == 2 || ruleMode(r) == 4)) put(r, "\f");
    if (IsHtmlDevice(r.device)) {
      closeHtmlTable(r);
      putLine(r, "</BODY>");
      putLine(r, "</HTML>");
    }
    deliver(r, io, done);
  }
  if (r.failed) {
    done = ReportDelivery{};
    done.failed = true;
  }
  // Done or failed: nothing of this report stays open (a shown report keeps its file in done).
  releaseReport(r);
  r.diag = nullptr;
  return done;
}

void DiscardReport(ReportState& r) {
  releaseReport(r);
  r.diag = nullptr;
}

// ---- lines ----

void WriteTextLine(ReportState& r, std::string_view text) {
  if (!writing(r)) return;
  if (IsTabDevice(r.device)) {
    if (text == kMarker || text == ThinRule(r) || text == DoubleRule(r)) return;
    putLine(r, tabText(text));
  } else if (IsHtmlDevice(r.device)) {
    closeHtmlTable(r);
    ++r.lines;
    if (isRule(r, text)) return;
    putLine(r, "<br>" + htmlText(text));
  } else {
    textDeviceLine(r, text, true);
  }
}

void WriteTextFragment(ReportState& r, std::string_view text) {
  if (!writing(r)) return;
  if (IsTabDevice(r.device)) {
    put(r, tabText(text));
  } else if (IsHtmlDevice(r.device)) {
    closeHtmlTable(r);
    ++r.lines;
    CheckPageOverflow(r);
    put(r, "<br>" + htmlText(text));
  } else {
    textDeviceLine(r, text, false);
  }
}

void WriteRaw(ReportState& r, std::string_view text) {
  if (!writing(r)) return;
  const ReportDevice d = r.device;
  put(r, IsHtmlDevice(d) ? htmlText(text) : IsTabDevice(d) ? tabText(text) : std::string(text));
}

void WriteRawLine(ReportState& r, std::string_view text) {
  if (!writing(r)) return;
  WriteRaw(r, text);
  put(r, kCrLf);
}

void WriteCellLine(ReportState& r, std::string_view text) {
  if (!writing(r)) return;
  if (!IsHtmlDevice(r.device)) return WriteTextLine(r, text);
  openHtmlTable(r);
  putLine(r, "<TR><TD>" + htmlText(text) + "</TD></TR>");
}

void WriteWrappedText(ReportState& r, std::string_view text) {
  if (!writing(r) || text.empty()) return;
  const ReportDevice d = r.device;
  if (IsHtmlDevice(d) || IsTabDevice(d) || text.size() < 73) return WriteCellLine(r, text);
  std::string_view rest = text;
  while (!rest.empty()) {
    if (rest.size() <= 64) {
      WriteCellLine(r, rest);
      break;
    }
    const std::size_t space = rest.substr(0, 63).rfind(' ');
    const std::size_t len = space == std::string_view::npos ? 64 : space + 1;
    WriteCellLine(r, rest.substr(0, len));
    rest.remove_prefix(len);
  }
}

void WriteSectionTitle(ReportState& r, std::string_view title) {
  WriteTextLine(r, title);
  WriteTextLine(r, ThinRule(r));
}

// ---- rows ----

void WriteValueRow(ReportState& r, std::string_view label, std::string_view symbol, std::string_view unit,
                   std::string_view value) {
  if (!writing(r)) return;
  const ReportDevice d = r.device;
  if (IsTabDevice(d)) {
    putLine(r, tabLine({label, symbol, unit, spreadsheetDecimal(r, value)}));
  } else if (IsHtmlDevice(d)) {
    openHtmlTable(r);
    putLine(r, "<TR><TD>" + htmlText(label) + "</TD><TD>" + htmlText(symbol) + "</TD><TD>" + htmlText(unit) +
                   "</TD><TD><DIV ALIGN=RIGHT>" + htmlText(value) + "</DIV></TD></TR>");
  } else {
    std::string line(68, ' ');
    insertAt(line, label, 1);
    insertAt(line, symbol, kColumns[0]);
    insertAt(line, unit, kColumns[1]);
    insertAt(line, value, kColumns[4]);
    WriteTextLine(r, line);
    if (ruleMode(r) != 4) WriteTextLine(r, ThinRule(r));
  }
}

void WriteTableRow(ReportState& r, std::string_view c1, std::string_view c2, std::string_view c3, std::string_view c4,
                   std::string_view c5) {
  if (!writing(r)) return;
  const ReportDevice d = r.device;
  if (IsTabDevice(d)) {
    putLine(r, tabLine({c1, c2, c3, spreadsheetDecimal(r, c4), spreadsheetDecimal(r, c5)}));
  } else if (IsHtmlDevice(d)) {
    if (!r.htmlTableOpen) WriteTableHeading(r);
    putLine(r, "<TR><TD>" + htmlText(c1) + "</TD><TD>" + htmlText(c2) + "</TD><TD>" + htmlText(c3) + "</TD><TD>" +
                   htmlText(c4) + "</TD><TD>" + htmlText(c5) + "</TD></TR>");
  } else {
    std::string line(66, ' ');
    insertAt(line, c1, 1);
    insertAt(line, c2, kColumns[0]);
    insertAt(line, c3, kColumns[1]);
    insertAt(line, c4, kColumns[2]);
    insertAt(line, c5, kColumns[3]);
    WriteTextLine(r, line);
    if (ruleMode(r) != 4) WriteTextLine(r, ThinRule(r));
  }
}

void WriteTableHeading(ReportState& r) {
  if (!writing(r)) return;
  const ReportDevice d = r.device;
  if (IsTabDevice(d)) {
    putLine(r, tabLine({kHeadings[0], kHeadings[1], kHeadings[2], kHeadings[3], kHeadings[4]}));
  } else if (IsHtmlDevice(d)) {
    closeHtmlTable(r);
    putLine(r, kValueTable);
    r.htmlTableOpen = true;
    std::string row = std::string("<TR><TD><CENTER>") + htmlText(kHeadings[0]) + "</CENTER></TD>";
    for (int i = 1; i < 5; ++i) row += std::string("<TD>") + htmlText(kHeadings[i]) + "</TD>";
    putLine(r, row + "</TR>");
  } else {
    std::string line(69, ' ');
    insertAt(line, FrameChar(r), 1);
    insertAt(line, kHeadings[0], 1);
    for (int i = 1; i < 5; ++i) insertAt(line, kHeadings[i], kColumns[i - 1]);
    insertAt(line, FrameChar(r), 70);
    WriteTextLine(r, line);
    WriteTextLine(r, FrameBottom(r));
    WriteTextLine(r, "");
  }
}

static std::string htmlTableTag(std::string_view border) {
  return "<TABLE BORDER = \"" + std::string(border) + "\" WIDTH= \"100%\">";
}

void WriteHtmlTableStart(ReportState& r, std::string_view border, const std::vector<std::string>& titles) {
  if (!writing(r) || !IsHtmlDevice(r.device)) return;
  closeHtmlTable(r);
  putLine(r, htmlTableTag(border));
  r.htmlTableOpen = true;
  std::string row = "<TR>";
  for (const std::string& t : titles) row += "<TD><CENTER>" + htmlText(t) + "</CENTER></TD>";
  putLine(r, row + "</TR>");
}

void WriteHtmlTableRow(ReportState& r, std::string_view border, const std::vector<std::string>& cells,
                       std::size_t columns) {
  if (!writing(r) || !IsHtmlDevice(r.device)) return;
  if (!r.htmlTableOpen) {
    putLine(r, htmlTableTag(border));
    r.htmlTableOpen = true;
  }
  std::string row = "<TR>";
  for (std::size_t i = 0; i < columns; ++i) {
    const std::string cell = htmlText(i < cells.size() ? cells[i] : std::string());
    row += i == 0 ? "<TD>" + cell + "</TD>" : "<TD><DIV ALIGN=RIGHT>" + cell + "</DIV></TD>";
  }
  putLine(r, row + "</TR>");
}

void WriteHtmlTableEnd(ReportState& r) {
  if (writing(r)) closeHtmlTable(r);
}

std::string FormatNumberLine(std::string_view left, std::string_view number) {
  std::string line(kReportLineLength, ' ');
  insertAt(line, left, 1);
  insertAt(line, "Nr.: " + std::string(number), 40);
  return line;
}

// ---- messages ----

void WriteMessageSection(ReportState& r, const CalcMessages& messages, std::string_view title) {
  if (!writing(r)) return;
  const int count = std::clamp(messages.count, 0, kMaxCalcMessages);
  if (count == 0) return;
  const ReportDevice d = r.device;
  WriteRawLine(r, "");
  WriteTextLine(r, title);
  if (!IsTabDevice(d)) {
    WriteTextLine(r, DoubleRule(r));
    WriteRawLine(r, "");
    WriteTextLine(r, ThinRule(r));
  }
  if (IsHtmlDevice(d)) openHtmlTable(r);
  for (int i = 1; i <= count && writing(r); ++i) {
    const std::string& message = messages.entries[static_cast<std::size_t>(i - 1)];
    const MessageExplanation why = ExplainMessage(r.page.explanationFile, messages, i);
    if (IsTabDevice(d)) {
      putLine(r, tabLine({padRight(message, 37) + why.cause, why.remedy}));
      continue;
    }
    WriteCellLine(r, message);
    WriteWrappedText(r, why.cause);
    WriteWrappedText(r, why.remedy);
    if (IsHtmlDevice(d)) {
      closeHtmlTable(r);
      WriteTextLine(r, "");
      if (i < count) openHtmlTable(r);  // no empty (yet bordered) table after the last block
    } else if (ruleMode(r) != 4) {
      WriteTextLine(r, ThinRule(r));
    }
  }
  if (IsHtmlDevice(d) && writing(r)) closeHtmlTable(r);
}

void WriteMessageList(ReportState& r, const CalcMessages& messages, std::string_view title) {
  if (!writing(r)) return;
  const int count = std::clamp(messages.count, 0, kMaxCalcMessages);
  if (count == 0) return;
  const bool html = IsHtmlDevice(r.device);
  WriteRawLine(r, "");
  WriteTextLine(r, title);
  for (int i = 0; i < count; ++i) {
    if (html)
      WriteCellLine(r, messages.entries[static_cast<std::size_t>(i)]);
    else
      WriteTextLine(r, messages.entries[static_cast<std::size_t>(i)]);
  }
  if (html && writing(r)) closeHtmlTable(r);
}

void PrintMessagesOnly(ReportState& r, const CalcMessages& messages) {
  if (!writing(r) || messages.count <= 0) return;
  WritePageHeader(r, 0, 0);
  if (r.failed) return;
  WriteMessageSection(r, messages);
  EndPage(r);
}

}  // namespace velk
