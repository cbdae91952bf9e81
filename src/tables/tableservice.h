// The table service: the one open dBASE table of the program (material and print-layout tables),
// fields by position or name, the temp-folder copy of unwritable tables, and the table browser's logic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/diagnostics.h"
#include "base/numfmt.h"
#include "config/settings.h"
#include "data/messages.h"
#include "dbf/dbf.h"
#include "dbf/dbfexport.h"
#include "dialogs/context.h"

namespace velk {

struct TableContext;

// State the table browser keeps for the whole program run (its window is created once).
struct TableBrowserState {
  std::string title1, title2;  // code page 850
  std::string lastSearch;      // code page 850, at most 50 characters
};

// The one open table. Owned by the session (ws.table); used only through the functions below.
//
// Contracts:
// - Record numbers are 1-based. recNo is the current record; 0 only while no table is open.
// - buffer is the record buffer the SetField* functions fill: blank after every open and append.
// - order lists the records in the order of the open index (BuildIndex); empty = record order.
// - Texts handed to and taken from the service are code page 850; the table's own code page
//   (language-driver byte: 850 as is, Windows-1252 converted, anything else taken as 850) is
//   applied inside.
struct TableService {
  DbfTable dbf;
  std::uint32_t recNo = 0;
  std::string buffer;
  std::vector<std::uint32_t> order;
  int orderField = -1;      // 0-based field of the open index, -1 none
  std::string indexPath;    // file of the open index, empty when none
  bool inTempCopy = false;  // opened from a copy in the temporary folder (source not writable)
  TableBrowserState browser;
  // Shows an exported HTML page; unset: the configured HTML viewer is started with the file.
  std::function<void(TableContext&, const std::string& file)> showHtml;
};

// The functions take the parts they read or change: the table (TableService), the sink their
// messages go to (Diagnostics: "Datei ... nicht gefunden oder kein Zugriffsrecht !", the engine's
// messages), the settings (folders, language, date format) and the host (I/O hooks, data and
// temporary folders, program launcher). A failure returns false after its message; the caller
// decides what it means for the command (usually the abort flag). Only the browser window and its
// menu commands that ask the user (a file, a search text) take the whole TableContext.

// The temporary folder (configured, else the private one), with trailing "/".
std::string tempFolder(const Settings& settings, const Host& host);
inline std::string tempFolder(const UiContext& ws) { return tempFolder(ws, ws); }

// Opens a table of the table folder by name (".dbf" appended to a name without "."): the read check
// ("Datei " + path + " nicht gefunden oder kein Zugriffsrecht !"), the write probe (a unique probe
// file, never a fixed name), and a copy into the temporary folder when the folder or the file is
// not writable; the original file then stays untouched. False when no table is open.
bool OpenTable(TableService& table, Diagnostics& diag, const Settings& settings, const Host& host,
               const std::string& name);
// The same read check, then the table is opened read-only where it is: no probe, no copy. With
// showErrors false no message is added. Returns true when open.
bool OpenTableReadOnly(TableService& table, Diagnostics& diag, const Settings& settings, const Host& host,
                       const std::string& name, bool showErrors = true);
// Opens the file at path as it is (read-only when it cannot be opened for writing).
bool OpenTableFile(TableService& table, Diagnostics& diag, const Host& host, const std::string& path);
void CloseTable(TableService& table);

int RecCount(const TableService& table);
int RecNo(const TableService& table);
// n > RecCount: the calculation message "DBF #" + n + " not found." and the last record;
// n < 1 (or an empty table): record 1.
void GoRecord(TableService& table, CalcMessages& messages, long long n);

// Fields by 1-based position. Positions the table does not have: empty name/text, writes ignored.
std::string FieldName(const TableService& table, int pos);
std::string FieldText(const TableService& table, int pos);
bool FieldBool(const TableService& table, const std::string& name);
void SetFieldText(TableService& table, int pos, const std::string& text);
void SetFieldFloat(TableService& table, int pos, Real value);
void SetFieldInt(TableService& table, int pos, long long value);
// By field name, cut to its first 10 characters, compared without regard to case.
void SetFieldTextByName(TableService& table, const std::string& name, const std::string& text);
void SetFieldFloatByName(TableService& table, const std::string& name, Real value);
void SetFieldIntByName(TableService& table, const std::string& name, long long value);
void SetFieldBoolByName(TableService& table, const std::string& name, bool value);
// Appends the record buffer under the table's append lock; it becomes the current record and the
// buffer is blank again. A refused lock or a failed write: message, false, nothing appended
// (false without a message when no table is open).
bool AppendRecord(TableService& table, Diagnostics& diag, const Host& host);
// Builds temporary folder + indexName + ".ndx" on the key field and orders the table by it.
// A key that cannot be indexed leaves the order as it was; an index file that cannot be written
// still orders the browser.
void BuildIndex(TableService& table, const Settings& settings, const Host& host, const std::string& keyField,
                const std::string& indexName);

// The browser (the window itself is shown through the UI as a BrowseRequest).
void SetBrowseTitles(TableService& table, const std::string& title1, const std::string& title2);
// Mode 1 selection, any other edit. OK: abort flag cleared, RecNo = the chosen record.
// Cancel: abort flag set, position unchanged.
void BrowseTable(TableContext& ws, int mode);
// The window caption of a mode (code page 850).
std::string BrowseCaption(const TableService& table, int mode);
// The browser's menu texts in a user-interface language (0 and unknown numbers: German).
BrowseMenuCaptions BrowseMenuTexts(int language);
// The records the grid shows, in display order: the index order (or record order); selection mode
// leaves out records marked as deleted.
std::vector<std::uint32_t> BrowseRows(const TableService& table, int mode);
// Record number + "/" + record count, the text of the record label.
std::string RecnoLabel(const TableService& table);

// Grid edits (edit mode): a cell / the deletion mark of a record, written to the file at once.
// A failure adds the engine's message and returns false.
bool BrowserSetCell(TableService& table, Diagnostics& diag, const Host& host, std::uint32_t record, int pos,
                    const std::string& text);
bool BrowserSetDeleted(TableService& table, Diagnostics& diag, std::uint32_t record, bool deleted);

// Menu commands of the browser. Those that ask the user first take the context: the question is
// asked, then the work below runs on the answer.
void BrowserSearch(TableContext& ws);      // "Suchbegriff eingeben", from the first row
void BrowserSearchNext(TableContext& ws);  // same text, after the current row
// Moves to the first row at or after row start (of the edit mode's rows) holding text; otherwise
// the notice text + " nicht gefunden" and false.
bool SearchRows(TableService& table, Diagnostics& diag, const std::string& text, std::size_t start);
void BrowserSortByColumn(TableService& table, const Settings& settings, const Host& host,
                         int pos);  // index "$orvtemp" on that column
bool BrowserAppendRecord(TableService& table, Diagnostics& diag, const Host& host);
bool BrowserPack(TableService& table, Diagnostics& diag, const Host& host);
void BrowserAppendDbf(TableContext& ws);
void BrowserAppendDelimited(TableContext& ws);
void BrowserSaveDelimited(TableContext& ws);
void BrowserExportHtml(TableContext& ws);
// The work of those four on the chosen file: false after the message when it fails.
bool AppendDbfFile(TableService& table, Diagnostics& diag, const Host& host, const std::string& path);
bool AppendDelimitedFile(TableService& table, Diagnostics& diag, const Host& host, const std::string& path);
bool SaveDelimitedFile(const TableService& table, Diagnostics& diag, const Host& host, const std::string& path);
bool ExportHtmlFile(const TableService& table, Diagnostics& diag, const Settings& settings, const Host& host,
                    const std::string& path);
// The page-header lines of the print listing: program title and version, table path, caption,
// title 1 (code page 850).
std::vector<std::string> BrowserPrintHeader(const TableService& table, int mode);
// The listing rows (first 7 fields), texts converted to code page 850.
void BrowserPrint(const TableService& table, TableListingSink& sink);
void BrowserShowFile(const TableService& table, Diagnostics& diag);  // Help -> "Datei"

}  // namespace velk
