// The file overview window's request and result: a modal grid of one row per input file, with
// the sorting its header cells do.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace velk {

constexpr int kOverviewColumns = 30;
// Width of a column without a width of its own (the grid's default), pixels.
constexpr int kOverviewDefaultColumnWidth = 64;

// The texts of one table row, code page 850.
using OverviewCells = std::array<std::string, kOverviewColumns>;

// One row of the table. Row 0 is the header row (file empty); data rows carry the native file
// name (with extension, without folder) that the file-name cell shows in code page 850.
struct OverviewTableRow {
  std::string file;
  OverviewCells cells;
};

// Sorts the data rows by column in ascending byte order of the cell texts; rows with equal texts
// keep their order. rows[0] is the header and stays first. A column outside 0..29 changes nothing.
void SortOverviewRows(std::vector<OverviewTableRow>& rows, int column);

// ---- The overview window ----
// A modal grid of rows (header row fixed on top), menu "File" with "Export Excel" and "E&xit",
// menu "Help". A right click on a header cell sorts: the window calls
// SortOverviewRows(its rows, column) itself and shows the rows again (no call into the session).
// Clicking a cell of a data row closes the window with that row chosen.
struct FileOverviewResult;
struct FileOverviewRequest {
  using Result = FileOverviewResult;
  std::string caption;                 // program title + "  -  " + the folder (code page 850)
  std::vector<OverviewTableRow> rows;  // header first
  std::array<int, kOverviewColumns> columnWidths{};
};

// nullopt from the UI service: "E&xit" or the window was closed.
struct FileOverviewResult {
  enum class Action { Open, ExportExcel };
  Action action = Action::Open;
  std::size_t chosenRow = 0;           // Open: index into rows of the clicked data row
  std::vector<OverviewTableRow> rows;  // the rows as the window left them (sorted), header first
};

}  // namespace velk
