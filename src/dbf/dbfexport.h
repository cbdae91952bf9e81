// Table-wide operations of the table engine: delimited text import and export, appending another
// table, HTML export, text search and the print listing. Texts pass through as raw table bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/dbf.h"

namespace velk {

// Converts table text between code pages (e.g. the source table's to the target table's).
using DbfTextConverter = std::function<std::string(std::string_view)>;

// Records marked as deleted take part in none of these operations (they are what "pack" removes).

// dBASE DELIMITED text: one record per line ending in CR LF, values separated by ",", character
// fields in double quotes without trailing blanks (a quote inside is doubled), numbers and dates
// (YYYYMMDD) plain (quoted only when a damaged file put a comma, quote or line break into them),
// logicals T or F (empty when unset). Memo fields are left out.
void writeDelimited(const DbfTable& table, std::ostream& out);
DbfStatus saveDelimited(const DbfTable& table, const std::string& path);

// Reads delimited text into record buffers of table: values are assigned to the non-memo fields in
// order, missing values leave the field blank, surplus values are ignored, values that do not fit get
// the defined result of DbfTable::setFieldText. Lines may end in CR LF, LF or CR; a quoted value may
// span lines. Empty lines are skipped; a 0x1A at the start of a line ends the text.
std::vector<std::string> parseDelimited(const DbfTable& table, std::string_view text);
// Appends the records of a delimited text file to the table in one locked append.
DbfStatus appendDelimited(DbfTable& table, const std::string& path, std::uint32_t* appended = nullptr);

// Appends all records of another table, fields matched by name (case-insensitive); fields of the
// target without a partner stay blank. convert, when set, is applied to character values.
DbfStatus appendFromDbf(DbfTable& target, const std::string& sourcePath, std::uint32_t* appended = nullptr,
                        const DbfTextConverter& convert = {});

// The HTML table page of the table browser. Table texts pass through convert (when set) and are then
// escaped, so no field name or value can become markup; the other texts are written as given.
struct HtmlExportInfo {
  std::string filePath;  // the chosen file: title = name without folder and extension, path line upper case
  std::string programTitle = "VELK - Spiralfedern";
  std::string version = "3.4";
  std::string date;  // formatted by the caller (configured date format)
  std::string time;  // hours ":" two-digit minutes
  DbfTextConverter convert;
};
void writeHtml(const DbfTable& table, std::ostream& out, const HtmlExportInfo& info);
// Writes the page to info.filePath (temp file + rename).
DbfStatus exportHtml(const DbfTable& table, const HtmlExportInfo& info);

// First record number >= fromRecord (1-based; 0 is taken as 1) of a record that is not deleted and
// has a field whose text contains text, compared without regard to case (ASCII and the letters of the
// table's code page). 0 when there is none or text is empty.
std::uint32_t searchTable(const DbfTable& table, std::string_view text, std::uint32_t fromRecord);

// The print listing: the first 7 fields, column width = field length + 1, heading = field name,
// one row per record with cell texts of at most 65 characters. The report writer renders it.
struct TableListingColumn {
  std::string title;
  int width = 0;
};
struct TableListingSink {
  virtual ~TableListingSink() = default;
  virtual void heading(const std::vector<TableListingColumn>& columns) = 0;
  virtual void row(const std::vector<std::string>& cells) = 0;
};
void writeTableListing(const DbfTable& table, TableListingSink& sink);

}  // namespace velk
