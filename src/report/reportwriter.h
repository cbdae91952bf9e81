// The report writer: the one channel through which report text leaves the program. Producers
// set a header block, open a report on a device, write lines and rows, and close it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/context.h"

namespace velk {

// How a producer writes a report (every step tests ws.abort and stops when it is set):
//
//   SetReportHeader(ws, title, FormatNumberLine(name, number), line3, line4, line5, 0);
//   OpenReport(ws, kDeviceAsk, ws.spring.fileName + ".TXT");   if (ws.abort) return;
//   WritePageHeader(ws, 0, 0);                                  if (ws.abort) return;
//   WriteTextLine(ws, ""); WriteSectionTitle(ws, "HAUPTABMESSUNGEN");
//   WriteValueRow(ws, "Windungsradius innen", "ri", unitLength(s), fmtLength(s, ri));
//   KeepTogether(ws, 0);                                        if (ws.abort) return;
//   ...
//   WriteMessageSection(ws);
//   EndPage(ws);
//   CloseReport(ws);
//
// There is no separate "rewrite" step: OpenReport leaves the report ready for its first line.
// All texts are code page 850 and are written as given on the text devices; the writer makes
// the tab-separated and HTML forms and the Windows copies itself. On the HTML device every
// text (labels, values, messages, header lines) is escaped, so it shows as it reads and never
// becomes markup. A producer that stops on abort need not call CloseReport: the next
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
std::string ThinRule(const ReportContext& ws);
std::string DoubleRule(const ReportContext& ws);
std::string FrameTop(const ReportContext& ws);
std::string FrameBottom(const ReportContext& ws);
std::string FrameMiddle(const ReportContext& ws);
std::string FrameChar(const ReportContext& ws);

bool IsTextDevice(int device);  // 1-5, 8
bool IsTabDevice(int device);   // 6, 9
bool IsHtmlDevice(int device);  // 7
// The device of the report being written (or last written); table listings choose their
// layout by it.
int CurrentDevice(const ReportContext& ws);
// The device names of the choice dialog "Ausgabe auf .." (1 to 7), code page 850.
std::string DeviceChoiceText(int device);

// ---- Header block and opening ----

// Stores the five header lines (each cut to 65 characters) and the total sheet count (0: not
// stated); resets the sheet number and the line count. An empty first line becomes the
// program title + "  V" + the version text.
void SetReportHeader(ReportContext& ws, const std::string& line1, const std::string& line2, const std::string& line3,
                     const std::string& line4, const std::string& line5, int totalSheets);

// Chooses the device and opens the output. device 0: the configured default ("Text Device"),
// asked for in the dialog "Ausgabe auf .." when "Text Device Window ?" is set (cancel aborts);
// 1 to 9 force that device; 90 only puts the seven device names into ws.choiceItems 1..7 and
// changes nothing else. name is the proposed name when the user is asked for a file.
//   1, 4, 5: reserves the temporary file "$OUT" + n + ".TMP" (n = 1..11, the first free one).
//   2: opens the printer port's device file; asks "Pause nach jeder Seite ?"; copies the
//      bytes of "TEXT.HXP" from the working folder to the port first when that file exists.
//   3: save dialog (filter "*.txt"), overwrite question unless the name contains "aktuell",
//      creation test ("Ungültiger Dateiname ..."); the spring's name, extension and folder
//      stay as they are.
//   6, 9: reserves "$$$" + n + ".txt" (n = tab counter + 1, or the next free number), or the
//      file the user names when "Text Device Window ?" is set.
//   7: temp folder + short name + ".htm" when a browser is configured, else the user names
//      the file; an existing file must be confirmed.
//   8: "OUTDOS.TXT" in the folder for temporary files.
// Failures show "Diskette/Platte voll" (full disk) or "file write error" and set ws.abort;
// the temporary file is then not kept. Clears ws.abort first; resets the page counters.
void OpenReport(ReportContext& ws, int device, const std::string& name = {});

// ---- Page model ----

// The page header. sheet 1 marks the first page; 0 numbers the page with the running sheet
// number; any other value is printed as the sheet number. frameMode 1 ends the header in the
// five-column table heading. Text devices: the framed block (pause question first on the
// printer port; "no" or cancel aborts and nothing is written); header mode 2 writes the full
// header only on the first page and a bare " " line afterwards; rule mode 4 writes it only on
// the first page or when half a page is filled. Tab and HTML devices write their head once.
void WritePageHeader(ReportContext& ws, int sheet, int frameMode);
// Before each counted line: at a full page, header mode 2 writes a form-feed line; otherwise
// EndPage, WritePageHeader (same frame mode) and an empty line. A page break never breaks
// itself, so even a page shorter than its header ends.
void CheckPageOverflow(ReportContext& ws);
// Starts a new page (EndPage, WritePageHeader(0, frameMode), empty line) when the line count
// exceeds max(lines per page - 10, 10): call it before each section.
void KeepTogether(ReportContext& ws, int frameMode);
// Ends the page: a form-feed line on devices 1 and 4, a bare form feed on the printer port,
// nothing on the other devices; the line count becomes 0. In rule mode 4 nothing happens
// while less than half a page is filled. Nothing at all on tab and HTML devices.
void EndPage(ReportContext& ws);
// Finishes the report and delivers it:
//   1: Windows copy "outwin.txt", shown in the text window; the temporary file is removed.
//   2: the rest goes to the port.   3, 8: the file and "outwin.txt"; error messages are on
//      again; device 3 says "<name> und Windows-Datei outwin.txt wurden angelegt..".
//   4: printed (PrintTextFile), then removed.
//   5: "outwin.txt" opened in the text program ("<program> not found" when it is missing),
//      the temporary file removed.
//   6: tab counter + 1, copy to temp folder + "$$" + n + ".txt" (Windows code page), removed.
//   9: tab counter + 1, copy to the input file name + ".txt" (relative to the working
//      folder), removed.
//   7: closes the page and opens it in the configured browser.
// Every final file is replaced atomically; a failure shows its message, sets ws.abort and
// presents nothing (no window, no copy, no program). With ws.abort already set the report is
// discarded. ws.report.copyPath names the Windows copy made (empty when none).
void CloseReport(ReportContext& ws);

// ---- Lines ----

// One line. Text devices: "$!$" is dropped; otherwise counted, overflow-checked and written
// after the 7-blank margin. Tab devices: written as it is, rules and "$!$" dropped. HTML: an
// open table is closed; rules and "$!$" dropped; otherwise "<br>" + the escaped text.
void WriteTextLine(ReportContext& ws, std::string_view text);
// The same without line end (HTML: counted and overflow-checked too).
void WriteTextFragment(ReportContext& ws, std::string_view text);
// Written as it is, with / without line end: no margin, no counting (HTML: escaped).
void WriteRawLine(ReportContext& ws, std::string_view text);
void WriteRaw(ReportContext& ws, std::string_view text);
// HTML: a one-cell table row (the table opened when needed); elsewhere WriteTextLine.
void WriteCellLine(ReportContext& ws, std::string_view text);
// Long texts on the text devices in pieces of at most 64 characters, broken after the last
// blank among the first 63; an empty text writes nothing. HTML, tab devices and texts shorter
// than 73 characters: one WriteCellLine.
void WriteWrappedText(ReportContext& ws, std::string_view text);
// WriteTextLine(title), then WriteTextLine(thin rule).
void WriteSectionTitle(ReportContext& ws, std::string_view title);

// ---- Rows ----

// The four-column row of the calculation report. Text devices: label at column 1, symbol at
// 35, unit at 44, value at 56, each inserted (what follows moves right) into a blank line,
// cut to 72; then a thin rule unless rule mode 4. Tab devices: label TAB symbol TAB unit TAB
// value, the value's decimal separator made the spreadsheet one. HTML: a table row, the value
// right-aligned. Pass value already formatted to a fixed width; empty texts where none.
void WriteValueRow(ReportContext& ws, std::string_view label, std::string_view symbol, std::string_view unit,
                   std::string_view value);
// The five-column row: columns 1, 35, 44, 51, 62 (c4 and c5 get the spreadsheet separator on
// the tab devices); HTML opens the table with its heading when none is open.
void WriteTableRow(ReportContext& ws, std::string_view c1, std::string_view c2, std::string_view c3, std::string_view c4,
                   std::string_view c5);
// The heading of the five-column table ("", "Zeichen", "Einheit", "1", "2"): a framed line,
// the frame bottom and an empty line on the text devices; a new table on HTML.
void WriteTableHeading(ReportContext& ws);

// HTML tables of the column-table service (report/columntable.h): a table with the given
// border and a row of centred titles; a row whose first cell is plain and the others right-
// aligned (at most columns cells; the table is opened without titles if none is open); the end.
void WriteHtmlTableStart(ReportContext& ws, std::string_view border, const std::vector<std::string>& titles);
void WriteHtmlTableRow(ReportContext& ws, std::string_view border, const std::vector<std::string>& cells,
                       std::size_t columns);
void WriteHtmlTableEnd(ReportContext& ws);

// ---- Messages ----

// The title of the message section and the message list unless the producer gives another.
inline constexpr const char* kMessageSectionTitle = "MELDUNGEN";
// Every calculation message with its cause and remedy from the explanation file; nothing when
// the list is empty. Tab devices: message padded to 37 + cause + TAB + remedy per line.
void WriteMessageSection(ReportContext& ws, std::string_view title = kMessageSectionTitle);
// The bare message list (no causes or remedies); nothing when the list is empty.
void WriteMessageList(ReportContext& ws, std::string_view title = kMessageSectionTitle);
// For a report of the messages alone: when the list is not empty, WritePageHeader(0, 0),
// WriteMessageSection and EndPage.
void PrintMessagesOnly(ReportContext& ws);

// A 72-character line: left at column 1 and "Nr.: " + number at column 40 (header line 2 of
// the calculation report).
std::string FormatNumberLine(std::string_view left, std::string_view number);

// ---- Printing and the text window ----

// Prints a text file on the printer: "<path> not found !" when it does not exist; otherwise
// the print dialog offers pages 1..(lines beginning with a form feed). Without a printer the
// error "kein Drucker vorhanden" is shown and ws.abort set.
void PrintTextFile(ReportContext& ws, const std::string& path);
// The text window's "Export &Notepad": opens path with "notepad" (here: xdg-open).
void ExportNotepad(ReportContext& ws, const std::string& path);

}  // namespace velk
