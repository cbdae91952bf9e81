// The report writer's page state: one instance in the session, shared by every producer of
// report text (calculation report, message list, change history, table listings).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/diagnostics.h"
#include "base/numfmt.h"
#include "report/reportfiles.h"

namespace velk {

// Output devices of the report writer. Their numbers (the configuration's "Text Device", the
// items of the choice dialog) convert here and nowhere else: ReportDeviceFromCode and
// ReportDeviceCode.
enum class ReportDevice {
  None,         // a number that names no device: lines are formatted as on a text device and dropped
  Screen,       // 1: temporary file shown in the text window
  Port,         // 2: printer port "LPT" + n (/dev/lp0 .. /dev/lp3)
  File,         // 3: a text file the user names, with the Windows copy "outwin.txt"
  Printer,      // 4: temporary file printed on the printer
  TextProgram,  // 5: temporary file opened in the configured text program
  Tab,          // 6: tab-separated text, copied to "$$" + n + ".txt"
  Html,         // 7: HTML page, opened in the configured browser
  DosFile,      // 8: "OUTDOS.TXT" in the folder for temporary files
  Batch,        // 9: tab-separated text copied into the input file name + ".txt"
};
// 1 to 9: that device; any other number: None.
ReportDevice ReportDeviceFromCode(int code);
// 1 to 9 (None: 0).
int ReportDeviceCode(ReportDevice device);

constexpr int kReportHeaderLines = 5;
constexpr int kReportHeaderLength = 65;  // characters kept of each header line
constexpr int kReportLineLength = 72;    // row buffers are cut to this
constexpr int kReportMargin = 7;         // left margin of every counted text-device line
constexpr int kTempFileTries = 11;       // numbers tried for "$OUT" + n + ".TMP"
// Numbers tried for the tab-separated "$$$" + n + ".txt": every batch job running at once holds
// one until its copy is written, so eleven would turn the twelfth concurrent job away.
constexpr int kTabTempFileTries = 4096;

// What an open report is written with, fixed when it is opened: the layout settings, the
// document's texts of the page header and the host's folders and programs.
struct ReportLayout {
  int ruleMode = 2;  // 1 to 4
  int linesPerPage = 66;
  int headerMode = 1;  // 1 or 2
  int headerSpaceLines = 0;
  NumberSettings num;
  std::string designation;  // the input file as line 3 of the page header names it
  std::string fileName;     // the spring's file name (device 9 copies into it + ".txt")
  std::string titleLine, bemerk1, bemerk2;
  std::string textProgram, htmlBrowser;
  std::string tempFolder;       // with separator
  std::string explanationFile;  // causes and remedies of the message section
};

struct ReportState {
  ReportDevice device = ReportDevice::Screen;
  std::int32_t sheet = 0;  // pages begun since the header block was set
  std::int32_t lines = 0;  // lines written on the current page
  int frameMode = 0;       // 1: the last page header ended in the five-column table heading
  std::string outputName = "$out.tmp";
  bool htmlTableOpen = false;
  bool pause = false;  // ask before each page (printer port only)
  std::array<std::string, kReportHeaderLines> header{};
  int totalSheets = 0;  // 0: not stated
  int tabCounter = 0;   // tab-separated reports made in this run

  // The report being written. Text is collected here and delivered by CloseReport (the
  // printer port receives it page by page), so a report that fails or is abandoned never
  // leaves a half-written output behind.
  bool open = false;
  std::string out;
  ReservedFile temp;     // the numbered temporary file of devices 1, 4, 5, 6, 9
  FileHandle port;       // device 2
  std::string portPath;  // for error messages
  std::string copyPath;  // the Windows copy made by the last CloseReport ("outwin.txt", "$$1.txt", ...)
  // The name the second row of a tab-separated report shows when the text is only written
  // through a temporary file on its way into another file (a workbook); empty: the output file.
  std::string tabShownName;
  std::string lastFolder;    // folder the user last chose for a report file
  bool inPageBreak = false;  // a page break is being written: no further break inside it
  // The report failed or was refused (a write error, a page the user did not confirm): every
  // further step does nothing and the report is not delivered.
  bool failed = false;
  ReportLayout page;
  // The sink of the open report's messages (set while a report is open).
  Diagnostics* diag = nullptr;
  // Printer port with a pause after each page: asked before each further page; false stops.
  std::function<bool()> confirmSheet;

  // Test seams: fixed date and time texts for the page header, and the device file of a
  // printer port (default "/dev/lp" + (port - 1)).
  std::optional<std::string> fixedDate, fixedTime;
  std::function<std::string(int port)> portDevice;
};

}  // namespace velk
