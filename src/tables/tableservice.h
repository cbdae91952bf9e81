// The table service: the one open dBASE table of the program (material and print-layout tables),
// fields by position or name, the temp-folder copy of unwritable tables, and the table browser's logic.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/numfmt.h"
#include "dialogs/uiservices.h"
#include "dbf/dbf.h"
#include "dbf/dbfexport.h"

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
  int orderField = -1;        // 0-based field of the open index, -1 none
  std::string indexPath;      // file of the open index, empty when none
  bool inTempCopy = false;    // opened from a copy in the temporary folder (source not writable)
  TableBrowserState browser;
  // Shows an exported HTML page; unset: the configured HTML viewer is started with the file.
  std::function<void(TableContext&, const std::string& file)> showHtml;
};

// The temporary folder (configured, else the private one), with trailing "/".
std::string tempFolder(const TableContext& ws);

// Opens a table of the table folder by name (".dbf" appended to a name without "."): the read check
// ("Datei " + path + " nicht gefunden oder kein Zugriffsrecht !" and the abort flag on failure),
// the write probe (a unique probe file, never a fixed name), and a copy into the temporary folder
// when the folder or the file is not writable; the original file then stays untouched.
void OpenTable(TableContext& ws, const std::string& name);
// The same read check, then the table is opened read-only where it is: no probe, no copy. With
// showErrors false nothing is shown; the abort flag is set either way. Returns true when open.
bool OpenTableReadOnly(TableContext& ws, const std::string& name, bool showErrors = true);
// Opens the file at path as it is (read-only when it cannot be opened for writing).
void OpenTableFile(TableContext& ws, const std::string& path);
void CloseTable(TableContext& ws);

int RecCount(const TableContext& ws);
int RecNo(const TableContext& ws);
// n > RecCount: the calculation message "DBF #" + n + " not found." and the last record;
// n < 1 (or an empty table): record 1.
void GoRecord(TableContext& ws, long long n);

// Fields by 1-based position. Positions the table does not have: empty name/text, writes ignored.
std::string FieldName(const TableContext& ws, int pos);
std::string FieldText(const TableContext& ws, int pos);
bool FieldBool(const TableContext& ws, const std::string& name);
void SetFieldText(TableContext& ws, int pos, const std::string& text);
void SetFieldFloat(TableContext& ws, int pos, Real value);
void SetFieldInt(TableContext& ws, int pos, long long value);
// By field name, cut to its first 10 characters, compared without regard to case.
void SetFieldTextByName(TableContext& ws, const std::string& name, const std::string& text);
void SetFieldFloatByName(TableContext& ws, const std::string& name, Real value);
void SetFieldIntByName(TableContext& ws, const std::string& name, long long value);
void SetFieldBoolByName(TableContext& ws, const std::string& name, bool value);
// Appends the record buffer under the table's append lock; it becomes the current record and the
// buffer is blank again. A refused lock or a failed write: message, abort flag, nothing appended.
void AppendRecord(TableContext& ws);
// Builds temporary folder + indexName + ".ndx" on the key field and orders the table by it.
// A key that cannot be indexed leaves the order as it was; an index file that cannot be written
// still orders the browser.
void BuildIndex(TableContext& ws, const std::string& keyField, const std::string& indexName);

// The browser (the window itself is shown through the UI as a BrowseRequest).
void SetBrowseTitles(TableContext& ws, const std::string& title1, const std::string& title2);
// Mode 1 selection, any other edit. OK: abort flag cleared, RecNo = the chosen record.
// Cancel: abort flag set, position unchanged.
void BrowseTable(TableContext& ws, int mode);
// The window caption of a mode (code page 850).
std::string BrowseCaption(const TableContext& ws, int mode);
// The browser's menu texts in a user-interface language (0 and unknown numbers: German).
BrowseMenuCaptions BrowseMenuTexts(int language);
// The records the grid shows, in display order: the index order (or record order); selection mode
// leaves out records marked as deleted.
std::vector<std::uint32_t> BrowseRows(const TableContext& ws, int mode);
// Record number + "/" + record count, the text of the record label.
std::string RecnoLabel(const TableContext& ws);

// Grid edits (edit mode): a cell / the deletion mark of a record, written to the file at once.
// Failures show the engine's message and set the abort flag.
void BrowserSetCell(TableContext& ws, std::uint32_t record, int pos, const std::string& text);
void BrowserSetDeleted(TableContext& ws, std::uint32_t record, bool deleted);

// Menu commands of the browser.
void BrowserSearch(TableContext& ws);      // "Suchbegriff eingeben", from the first row
void BrowserSearchNext(TableContext& ws);  // same text, after the current row
void BrowserSortByColumn(TableContext& ws, int pos);  // index "$orvtemp" on that column
void BrowserAppendRecord(TableContext& ws);
void BrowserPack(TableContext& ws);
void BrowserAppendDbf(TableContext& ws);
void BrowserAppendDelimited(TableContext& ws);
void BrowserSaveDelimited(TableContext& ws);
void BrowserExportHtml(TableContext& ws);
// The page-header lines of the print listing: program title and version, table path, caption,
// title 1 (code page 850).
std::vector<std::string> BrowserPrintHeader(const TableContext& ws, int mode);
// The listing rows (first 7 fields), texts converted to code page 850.
void BrowserPrint(const TableContext& ws, TableListingSink& sink);
void BrowserShowFile(TableContext& ws);  // Help -> "Datei"

}  // namespace velk
