// The report writer: the one channel through which report text leaves the program. Producers
// set a header block, open a report on a device, write lines and rows, and close it. The writer
// works on the report state alone; what it needs of the document and the settings is fixed
// when the report is opened. It asks nothing: the device, the file name and the printer pause
// are chosen before it opens (reportui/reportservice.h), and what the finished report needs
// shown (the text window, the print dialog, a program) is handed back to the caller.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/diagnostics.h"
#include "config/settings.h"
#include "data/document.h"
#include "platform/files.h"
#include "report/reportstate.h"

namespace velk {

// How a producer writes a report (every step does nothing once the report has failed):
//
//   SetReportHeader(r, title, FormatNumberLine(name, number), line3, line4, line5, 0);
//   if (!OpenReport(r, doc, settings, diag, io, target)) return;
//   WritePageHeader(r, 0, 0);                                 if (r.failed) return;
//   WriteTextLine(r, ""); WriteSectionTitle(r, "HAUPTABMESSUNGEN");
//   WriteValueRow(r, "Windungsradius innen", "ri", unitLength(s), fmtLength(s, ri));
//   KeepTogether(r, 0);                                        if (r.failed) return;
//   ...
//   WriteMessageSection(r, doc.messages);
//   EndPage(r);
//   ReportDelivery done = CloseReport(r, diag, io);
//
// There is no separate "rewrite" step: OpenReport leaves the report ready for its first line.
// All texts are code page 850 and are written as given on the text devices; the writer makes
// the tab-separated and HTML forms and the Windows copies itself. On the HTML device every
// text (labels, values, messages, header lines) is escaped, so it shows as it reads and never
// becomes markup. A producer that stops on a failure need not call CloseReport: the next
// OpenReport (or the end of the session) releases what the abandoned report held.
//
// Device groups: text devices 1-5 and 8 (framed, paginated text with a 7-character margin,
// rows cut to 72 characters, so no line is longer than 79), tab devices 6 and 9, HTML 7.
// Codes above 9 (but 90) open nothing: lines are formatted as on a text device and dropped.

// ---- Rules of the current rule mode ("Mode für Textausdruck", 1 to 4) ----
// Mode 1 "-", "=", "*"; mode 2 the box-drawing bytes 0xC4, 0xCD, 0xC9/0xBB, 0xC8/0xBC,
// 0xCC/0xB9, 0xBA; mode 3 70 blanks; mode 4 the marker "$!$" that every line writer drops.
// Other modes read as 2. FrameChar is "*", 0xBA, or a blank (modes 3 and 4).
std::string ThinRule(int ruleMode);
std::string DoubleRule(int ruleMode);
std::string FrameTop(int ruleMode);
std::string FrameBottom(int ruleMode);
std::string FrameMiddle(int ruleMode);
std::string FrameChar(int ruleMode);
// The rule mode of the settings (other values read as 2) and of the open report.
int RuleMode(const Settings& settings);
std::string ThinRule(const Settings& settings);
std::string DoubleRule(const Settings& settings);
std::string FrameTop(const Settings& settings);
std::string FrameBottom(const Settings& settings);
std::string FrameMiddle(const Settings& settings);
std::string FrameChar(const Settings& settings);
std::string ThinRule(const ReportState& r);
std::string DoubleRule(const ReportState& r);
std::string FrameTop(const ReportState& r);
std::string FrameBottom(const ReportState& r);
std::string FrameMiddle(const ReportState& r);
std::string FrameChar(const ReportState& r);

bool IsTextDevice(ReportDevice device);  // 1-5, 8
bool IsTabDevice(ReportDevice device);   // 6, 9
bool IsHtmlDevice(ReportDevice device);  // 7
// The device of the report being written (or last written); table listings choose their
// layout by it.
ReportDevice CurrentDevice(const ReportState& r);
// The device names of the choice dialog "Ausgabe auf .." (1 to 7), code page 850.
std::string DeviceChoiceText(ReportDevice device);

// ---- Header block and opening ----

// Stores the five header lines (each cut to 65 characters) and the total sheet count (0: not
// stated); resets the sheet number and the line count. An empty first line becomes the
// program title + "  V" + the version text.
void SetReportHeader(ReportState& r, const std::string& line1, const std::string& line2, const std::string& line3,
                     const std::string& line4, const std::string& line5, int totalSheets);

// Where a report goes, as chosen before it opens.
struct ReportTarget {
  ReportDevice device = ReportDevice::Screen;  // None opens nothing (lines are dropped)
  // The file the user named: device 3, device 7 (the browser's page when one is configured),
  // devices 6 and 9 when "Text Device Window ?" is set. Empty: the device's own file.
  std::string file;
  bool pause = false;           // printer port: confirmSheet is asked before each further page
  std::string tempFolder;       // the folder for temporary files, with separator
  std::string startDir;         // the working folder ("TEXT.HXP" for the printer port)
  std::string explanationFile;  // causes and remedies of the message section
};

// Opens the output on target.device; fixes what the report is written with (rule, header and
// page settings, number formats, the spring's texts) from doc and settings.
//   1, 4, 5: reserves the temporary file "$OUT" + n + ".TMP" (n = 1..11, the first free one).
//   2: opens the printer port's device file; copies the bytes of "TEXT.HXP" from the working
//      folder to the port first when that file exists.
//   3, 7: target.file.
//   6, 9: target.file, or reserves "$$$" + n + ".txt" (n = tab counter + 1, or the next free
//      number) when none is named.
//   8: "OUTDOS.TXT" in the folder for temporary files (creation tested).
// Failures put "Diskette/Platte voll" (full disk) or "file write error" with the file and the
// reason into diag and return false; the temporary file is then not kept. Whatever the
// previous report still holds is released first; the page counters are reset.
bool OpenReport(ReportState& r, const Document& doc, const Settings& settings, Diagnostics& diag, const IoHooks& io,
                const ReportTarget& target);

// What a delivered report still needs shown, by whoever talks to the user.
struct ReportDelivery {
  enum class Show {
    Nothing,
    Window,   // the text window on windowsText (caption and "Export" name windowsFile; its print
              // button prints reportFile)
    Printer,  // the print dialog on reportFile
    Program,  // start argv (the text program, the browser)
  };
  Show show = Show::Nothing;
  bool failed = false;           // the report was not delivered (its message is in diag)
  bool errorMessagesOn = false;  // devices 3 and 8 turn error messages back on
  std::string windowsFile;
  std::string reportFile;
  std::string windowsText;
  std::vector<std::string> argv;
  ReservedFile temp;  // keeps the report's temporary file until it has been shown or printed
};

// ---- Page model ----

// The page header. sheet 1 marks the first page; 0 numbers the page with the running sheet
// number; any other value is printed as the sheet number. frameMode 1 ends the header in the
// five-column table heading. Text devices: the framed block (on the printer port with a pause,
// r.confirmSheet first; "no" fails the report and nothing is written); header mode 2 writes the full
// header only on the first page and a bare " " line afterwards; rule mode 4 writes it only on
// the first page or when half a page is filled. Tab and HTML devices write their head once.
void WritePageHeader(ReportState& r, int sheet, int frameMode);
// Before each counted line: at a full page, header mode 2 writes a form-feed line; otherwise
// EndPage, WritePageHeader (same frame mode) and an empty line. A page break never breaks
// itself, so even a page shorter than its header ends.
void CheckPageOverflow(ReportState& r);
// Starts a new page (EndPage, WritePageHeader(0, frameMode), empty line) when the line count
// exceeds max(lines per page - 10, 10): call it before each section.
void KeepTogether(ReportState& r, int frameMode);
// Ends the page: a form-feed line on devices 1 and 4, a bare form feed on the printer port,
// nothing on the other devices; the line count becomes 0. In rule mode 4 nothing happens
// while less than half a page is filled. Nothing at all on tab and HTML devices.
void EndPage(ReportState& r);
// Finishes the report and delivers it:
//   1: Windows copy "outwin.txt" (shown in the text window), the temporary file kept for it.
//   2: the rest goes to the port.   3, 8: the file and "outwin.txt"; error messages are on
//      again; device 3 says "<name> und Windows-Datei outwin.txt wurden angelegt..".
//   4: the temporary file, to be printed.
//   5: "outwin.txt", to be opened in the text program ("<program> not found" when it is
//      missing).
//   6: tab counter + 1, copy to temp folder + "$$" + n + ".txt" (Windows code page), removed.
//   9: tab counter + 1, copy to the input file name + ".txt" (relative to the working
//      folder), removed.
//   7: closes the page, to be opened in the configured browser.
// Every final file is replaced atomically; a failure puts its message into diag and presents
// nothing (no window, no copy, no program). A failed report is discarded. r.copyPath names the
// Windows copy made (empty when none). Nothing of the report stays open afterwards.
ReportDelivery CloseReport(ReportState& r, Diagnostics& diag, const IoHooks& io);
// Gives up the report without delivering it (the temporary file goes).
void DiscardReport(ReportState& r);

// ---- Lines ----

// One line. Text devices: "$!$" is dropped; otherwise counted, overflow-checked and written
// after the 7-blank margin. Tab devices: written as it is, rules and "$!$" dropped. HTML: an
// open table is closed; rules and "$!$" dropped; otherwise "<br>" + the escaped text.
void WriteTextLine(ReportState& r, std::string_view text);
// The same without line end (HTML: counted and overflow-checked too).
void WriteTextFragment(ReportState& r, std::string_view text);
// Written as it is, with / without line end: no margin, no counting (HTML: escaped).
void WriteRawLine(ReportState& r, std::string_view text);
void WriteRaw(ReportState& r, std::string_view text);
// HTML: a one-cell table row (the table opened when needed); elsewhere WriteTextLine.
void WriteCellLine(ReportState& r, std::string_view text);
// Long texts on the text devices in pieces of at most 64 characters, broken after the last
// blank among the first 63; an empty text writes nothing. HTML, tab devices and texts shorter
// than 73 characters: one WriteCellLine.
void WriteWrappedText(ReportState& r, std::string_view text);
// WriteTextLine(title), then WriteTextLine(thin rule).
void WriteSectionTitle(ReportState& r, std::string_view title);

// ---- Rows ----

// The four-column row of the calculation report. Text devices: label at column 1, symbol at
// 35, unit at 44, value at 56, each inserted (what follows moves right) into a blank line,
// cut to 72; then a thin rule unless rule mode 4. Tab devices: label TAB symbol TAB unit TAB
// value, the value's decimal separator made the spreadsheet one. HTML: a table row, the value
// right-aligned. Pass value already formatted to a fixed width; empty texts where none.
void WriteValueRow(ReportState& r, std::string_view label, std::string_view symbol, std::string_view unit,
                   std::string_view value);
// The five-column row: columns 1, 35, 44, 51, 62 (c4 and c5 get the spreadsheet separator on
// the tab devices); HTML opens the table with its heading when none is open.
void WriteTableRow(ReportState& r, std::string_view c1, std::string_view c2, std::string_view c3, std::string_view c4,
                   std::string_view c5);
// The heading of the five-column table ("", "Zeichen", "Einheit", "1", "2"): a framed line,
// the frame bottom and an empty line on the text devices; a new table on HTML.
void WriteTableHeading(ReportState& r);

// HTML tables of the column-table service (report/columntable.h): a table with the given
// border and a row of centred titles; a row whose first cell is plain and the others right-
// aligned (at most columns cells; the table is opened without titles if none is open); the end.
void WriteHtmlTableStart(ReportState& r, std::string_view border, const std::vector<std::string>& titles);
void WriteHtmlTableRow(ReportState& r, std::string_view border, const std::vector<std::string>& cells,
                       std::size_t columns);
void WriteHtmlTableEnd(ReportState& r);

// ---- Messages ----

// The title of the message section and the message list unless the producer gives another.
inline constexpr const char* kMessageSectionTitle = "MELDUNGEN";
// Every calculation message with its cause and remedy from the explanation file; nothing when
// the list is empty. Tab devices: message padded to 37 + cause + TAB + remedy per line.
void WriteMessageSection(ReportState& r, const CalcMessages& messages, std::string_view title = kMessageSectionTitle);
// The bare message list (no causes or remedies); nothing when the list is empty.
void WriteMessageList(ReportState& r, const CalcMessages& messages, std::string_view title = kMessageSectionTitle);
// For a report of the messages alone: when the list is not empty, WritePageHeader(0, 0),
// WriteMessageSection and EndPage.
void PrintMessagesOnly(ReportState& r, const CalcMessages& messages);

// A 72-character line: left at column 1 and "Nr.: " + number at column 40 (header line 2 of
// the calculation report).
std::string FormatNumberLine(std::string_view left, std::string_view number);

}  // namespace velk
