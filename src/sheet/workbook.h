// Spreadsheet workbooks (.xlsx): writing a sheet of text and number cells for a spreadsheet
// program to open, and reading column A of a workbook's first sheet back as lines. Texts here
// are UTF-8, as a workbook holds them; messages are code page 850 like every program text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace velk {

// ---- Writing ----

struct SheetCell {
  enum class Kind { Empty, Text, Number };
  Kind kind = Kind::Empty;
  std::string text;         // UTF-8 (Text)
  double number = 0;        // (Number)
  int decimals = -1;        // digits shown after the decimal point; -1: the spreadsheet's general format
  bool scientific = false;  // shown with an exponent ("0.00E+00")

  static SheetCell textCell(std::string utf8);
  static SheetCell numberCell(double value, int decimals, bool scientific = false);
};
using SheetRow = std::vector<SheetCell>;

struct SheetData {
  std::vector<SheetRow> rows;        // row 1 first; a row may be shorter than others
  std::vector<double> columnWidths;  // widths of columns A, B, ... in characters; 0 keeps the default
};

// A cell for a text that may be a number: a plain decimal number (blanks around it allowed,
// an optional sign, digits with at most one decimal separator, an optional exponent) becomes
// a number cell showing as many decimals as the text had; anything else stays text. The decimal
// separator is "," when decimalComma is set, "." otherwise; texts are UTF-8.
SheetCell cellFromText(std::string_view text, bool decimalComma);

// Writes data as the only sheet of a new workbook at path, replacing it as atomicWriteFile does
// (durable as there), so a failure never leaves half a workbook. Returns 0 or the errno (EFBIG
// for a text longer than a spreadsheet cell takes, EIO for other failures of the workbook
// library). hooks.writeFault is asked with path first.
int writeWorkbook(const std::string& path, const SheetData& data, const IoHooks& hooks = {}, bool durable = true);

// ---- Reading ----

// Bounds of one read, for any bytes from outside.
struct WorkbookLimits {
  std::size_t maxEntryBytes = 64u << 20;   // one part of the package, inflated
  std::size_t maxTotalBytes = 160u << 20;  // all parts read together, inflated
  std::size_t maxRows = 1048576;           // the spreadsheet programs' own row limit
  std::size_t maxCellChars = 32767;        // the spreadsheet programs' own cell limit
  std::size_t maxColumnBytes = 16u << 20;  // column A as a whole
  // Open elements at once, in any part: a sheet nests 4 or 5 deep, expat keeps every open element.
  std::size_t maxDepth = 256;
  // Elements of one part: a full sheet of column A (row, c, v for each of 1048576 rows) is about
  // 3 million, and a 64 MiB part of the smallest cells about 6 million; 8 Mi keeps the parse short.
  std::size_t maxElements = 8u << 20;
};

struct WorkbookColumn {
  bool ok = false;
  std::string error;               // code page 850, names the workbook; empty when ok
  std::vector<std::string> lines;  // UTF-8, line n = row n; rows without a cell in A are empty
};

// Column A of the first sheet of the workbook in bytes: the sheet the workbook names first
// (xl/workbook.xml with its relationships), else xl/worksheets/sheet1.xml. Shared strings,
// inline strings, numbers and formula results are taken as the text the file holds; trailing
// empty rows are dropped. name (code page 850) is used in the message. Never throws; on any
// failure ok is false, lines is empty and error says why.
WorkbookColumn readWorkbookColumn(std::string_view bytes, std::string_view name, const WorkbookLimits& limits = {});

// A workbook by its name (".xlsx", any case) or its first bytes (the zip signature "PK\3\4").
bool isWorkbookFile(std::string_view path, std::string_view firstBytes);

// Largest workbook file read (packed).
constexpr std::size_t kMaxWorkbookFileBytes = 64u << 20;

}  // namespace velk
