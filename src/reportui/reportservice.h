// The report writer's conversation with the user: the questions a report needs answered before
// it opens (the device, the file name, the printer's pause) and what a finished report shows
// (the text window, the print dialog, the text program or the browser). The writer itself
// (report/reportwriter.h) asks nothing and shows nothing.
#pragma once

#include <optional>
#include <string>

#include "report/reportwriter.h"
#include "reportui/context.h"

namespace velk {

// The device of a report that goes where the configuration says ("Text Device"), asked for
// when so configured.
inline constexpr std::optional<ReportDevice> kDeviceAsk;

// Puts the names of the seven devices of the choice dialog "Ausgabe auf .." into
// ws.choiceItems 1..7.
void FillDeviceChoiceItems(ReportContext& ws);

// The answers a report needs before it opens. device kDeviceAsk: the configured default ("Text
// Device"), asked for in the dialog "Ausgabe auf .." when "Text Device Window ?" is set (cancel
// aborts; the device names are in ws.choiceItems 1..7 afterwards); any other: that device.
// name is the proposed name when the user is asked for a file.
//   2: "Pause nach jeder Seite ?".
//   3: save dialog (filter "*.txt"), overwrite question unless the name contains "aktuell",
//      creation test ("Ungültiger Dateiname ..."); the spring's name, extension and folder
//      stay as they are.
//   6, 9: the same dialog when "Text Device Window ?" is set.
//   7: temp folder + short name + ".htm" when a browser is configured (an existing file must be
//      confirmed), else the same dialog with "*.htm".
// Clears ws.abort first and gives up what an abandoned report still holds; nullopt (ws.abort
// set) when the user cancelled.
std::optional<ReportTarget> AskReportTarget(ReportContext& ws, std::optional<ReportDevice> device,
                                            const std::string& name);

// AskReportTarget, then the writer's OpenReport; ws.abort set when the user cancelled or the
// report could not be opened (its message shown).
void OpenReport(ReportContext& ws, std::optional<ReportDevice> device, const std::string& name = {});
// The writer's CloseReport and what the delivered report shows: the text window (device 1),
// the print dialog (4), the text program (5) or the browser (7). With ws.abort already set the
// report is discarded; ws.abort is set when the report failed.
void CloseReport(ReportContext& ws);
// What a delivered report shows; a program that cannot be started says why and sets ws.abort.
void PresentReport(ReportContext& ws, const ReportDelivery& done);
// The report failed on the way (ws.report.failed): ws.abort is set and true is returned.
bool ReportStopped(ReportContext& ws);

// Prints a text file on the printer: "<path> not found !" when it does not exist; otherwise
// the print dialog offers pages 1..(lines beginning with a form feed). Without a printer the
// error "kein Drucker vorhanden" is shown and ws.abort set.
void PrintTextFile(ReportContext& ws, const std::string& path);
// The text window's "Export &Notepad": opens path with "notepad" (here: xdg-open).
void ExportNotepad(ReportContext& ws, const std::string& path);

// The calculation report (report/calcreport.h): the header block from the spring's texts; when
// the calculation ended fatally the message window is shown instead of a report; otherwise the
// report opens on the configured device (asked for when so configured) with the proposed name
// fileName + ".TXT". Each stops without further output as soon as ws.abort is set.
void WriteStandardReport(ReportContext& ws);
void WriteExcerptReport(ReportContext& ws);

// The table browser's "Print..": header block of program title and version, table file path,
// window caption (mode as the browser shows it) and title 1; the report device as configured
// (asked for when so configured); the first seven fields of every record as a column table.
void PrintTableListing(ReportContext& ws, int mode);

}  // namespace velk
