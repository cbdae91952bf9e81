// The spreadsheet link: the spring's input file, the standard report and the file overview as
// workbooks opened with the spreadsheet program, and a workbook read back as the spring.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "session/session.h"
#include "sheet/workbook.h"
#include "ui/overviewform.h"

namespace velk {

// The tab-separated report text (Windows code page, one line per report line) as sheet rows:
// each line one row, its fields in columns A, B, ...; the values of columns D and E that are
// numbers become number cells showing the report's decimals ("," the decimal separator when
// decimalComma), everything else text. Empty fields stay empty cells.
SheetData tabReportSheet(std::string_view windowsText, bool decimalComma);

// The file overview's rows (code page 850, header first) as sheet rows: every cell, the number
// columns' numbers as number cells (decimalComma as the table shows them).
SheetData overviewSheet(const std::vector<OverviewTableRow>& rows, bool decimalComma);

// The lines of an input file (code page 850) as column A, each converted for display.
SheetData inputFileSheet(const NumberSettings& num, const std::vector<std::string>& lines);

// Produces the standard report on destination 6 (the tab-separated "$$" + n + ".txt" in the
// folder for temporary files; the destination settings are restored afterwards) and writes it
// as a workbook at path (empty: the private temporary folder, named as the text file, and path
// receives the name). Returns 0 when written; otherwise the abort flag is set and the
// report writer's message or the I/O message has been shown (none in batch mode). The caller
// checks the fatal flag first. *tabFile receives the text file's path when given.
int WriteReportWorkbook(Session& ws, std::string& path, std::string* tabFile = nullptr);

// True when the spreadsheet program (session.spreadsheetProgram) exists on this system.
bool SpreadsheetAvailable(const Session& ws);
// Opens a workbook with the spreadsheet program through the launcher. False when nothing could
// start it.
bool OpenWorkbook(Session& ws, const std::string& path);

}  // namespace velk
