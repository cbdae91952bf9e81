// Writing workbooks through libxlsxwriter: one sheet of text and number cells, each number with
// a format that shows the decimals it was given, written beside the target and renamed over it.
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>

#include "base/numfmt.h"
#include "sheet/xlsx/xlsx.h"

namespace velk {

namespace {

// The format code showing decimals digits after the point ("0", "0.000", "0.00E+00").
std::string formatCode(int decimals, bool scientific) {
  std::string code = "0";
  if (decimals > 0) code += "." + std::string(static_cast<std::size_t>(decimals), '0');
  if (scientific) code += "E+00";
  return code;
}

// Writes data as a workbook at path (a file the library creates or truncates): 0 or the errno.
int fillWorkbook(const std::string& path, const SheetData& data) {
  // The library's scratch files go beside the workbook rather than into /tmp: the private
  // folder for the menu's workbooks, and never a folder the user did not choose.
  std::string folder = directoryOf(path);
  if (folder.empty()) folder = "./";
  lxw_workbook_options options{};
  options.tmpdir = folder.data();
  options.constant_memory = LXW_TRUE;
  lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
  if (!book) return EIO;
  lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
  if (!sheet) {
    workbook_close(book);
    return EIO;
  }
  for (std::size_t c = 0; c < data.columnWidths.size() && c < 16384; ++c)
    if (data.columnWidths[c] > 0)
      worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), data.columnWidths[c], nullptr);

  std::map<std::string, lxw_format*> formats;  // owned by the workbook
  int result = 0;
  const std::size_t rowCount = std::min<std::size_t>(data.rows.size(), LXW_ROW_MAX);
  if (rowCount < data.rows.size()) result = EFBIG;
  for (std::size_t r = 0; r < rowCount && result == 0; ++r) {
    const SheetRow& row = data.rows[r];
    for (std::size_t c = 0; c < row.size() && c < LXW_COL_MAX && result == 0; ++c) {
      const SheetCell& cell = row[c];
      const auto rr = static_cast<lxw_row_t>(r);
      const auto cc = static_cast<lxw_col_t>(c);
      lxw_error e = LXW_NO_ERROR;
      if (cell.kind == SheetCell::Kind::Text) {
        if (!cell.text.empty()) e = worksheet_write_string(sheet, rr, cc, cell.text.c_str(), nullptr);
      } else if (cell.kind == SheetCell::Kind::Number) {
        lxw_format* format = nullptr;
        if (cell.decimals >= 0 || cell.scientific) {
          const std::string code = formatCode(std::min(cell.decimals, 30), cell.scientific);
          auto it = formats.find(code);
          if (it == formats.end()) {
            format = workbook_add_format(book);
            if (format) format_set_num_format(format, code.c_str());
            formats.emplace(code, format);
          } else {
            format = it->second;
          }
        }
        e = worksheet_write_number(sheet, rr, cc, cell.number, format);
      }
      if (e == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
        result = EFBIG;
      else if (e != LXW_NO_ERROR)
        result = EIO;
    }
  }
  const lxw_error closed = workbook_close(book);
  if (result != 0) return result;
  if (closed != LXW_NO_ERROR) return closed == LXW_ERROR_CREATING_XLSX_FILE ? EACCES : EIO;
  return 0;
}

}  // namespace

int writeWorkbookXlsx(const std::string& path, const SheetData& data, const IoHooks& hooks, bool durable) {
  return atomicWriteFileWith(
      path, [&data](const std::string& temp) { return fillWorkbook(temp, data); }, hooks, durable);
}

}  // namespace velk
