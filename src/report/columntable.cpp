// Column tables on the report devices and the table listing of the table browser.
// Layout by device group, through the report writer's line primitives.
#include "report/columntable.h"

#include "report/reportwriter.h"

namespace velk {

namespace {

std::vector<ReportColumn> activeColumns(const ColumnTable& table) {
  std::vector<ReportColumn> out;
  for (const ReportColumn& c : table.columns) {
    if (c.width <= 0 || static_cast<int>(out.size()) == kMaxReportColumns) break;
    out.push_back(c);
  }
  return out;
}

// One line of cells: text devices pad each cell to its column; tab devices join them by TAB.
void writeCells(ReportState& r, const std::vector<ReportColumn>& columns, const std::vector<std::string>& cells) {
  const ReportDevice d = CurrentDevice(r);
  auto cell = [&](std::size_t i) { return i < cells.size() ? cells[i] : std::string(); };
  if (IsTabDevice(d)) {
    std::string line;
    for (std::size_t i = 0; i < columns.size(); ++i) line += (i ? "\t" : "") + cell(i);
    WriteRawLine(r, line);
    return;
  }
  WriteTextFragment(r, padRight(cell(0), columns[0].width));
  for (std::size_t i = 1; i < columns.size(); ++i) WriteRaw(r, padRight(cell(i), columns[i].width));
  WriteRawLine(r, " ");
}

}  // namespace

void BeginColumnTable(ReportState& r, const ColumnTable& table) {
  const std::vector<ReportColumn> columns = activeColumns(table);
  if (columns.empty() || r.failed) return;
  const ReportDevice d = CurrentDevice(r);
  std::vector<std::string> titles;
  titles.reserve(columns.size());
  for (const ReportColumn& c : columns) titles.push_back(c.title);
  if (IsHtmlDevice(d)) return WriteHtmlTableStart(r, "1", titles);
  if (IsTabDevice(d)) return writeCells(r, columns, titles);
  WriteTextLine(r, DoubleRule(r));
  writeCells(r, columns, titles);
  WriteTextLine(r, DoubleRule(r));
}

void WriteColumnRow(ReportState& r, const ColumnTable& table, const std::vector<std::string>& cells) {
  const std::vector<ReportColumn> columns = activeColumns(table);
  if (columns.empty() || r.failed) return;
  const ReportDevice d = CurrentDevice(r);
  if (IsHtmlDevice(d)) return WriteHtmlTableRow(r, "1", cells, columns.size());
  writeCells(r, columns, cells);
  if (!IsTabDevice(d) && table.ruleAfterRow) WriteTextLine(r, ThinRule(r));
}

void EndColumnTable(ReportState& r, const ColumnTable& table) {
  if (activeColumns(table).empty() || r.failed) return;
  const ReportDevice d = CurrentDevice(r);
  if (IsHtmlDevice(d)) return WriteHtmlTableEnd(r);
  if (!IsTabDevice(d) && !table.ruleAfterRow) WriteTextLine(r, ThinRule(r));
}

void ReportTableListing::heading(const std::vector<TableListingColumn>& columns) {
  table_ = ColumnTable{};
  for (const TableListingColumn& c : columns) table_.columns.push_back(ReportColumn{c.title, c.width});
  BeginColumnTable(r_, table_);
  started_ = true;
}

void ReportTableListing::row(const std::vector<std::string>& cells) {
  if (started_) WriteColumnRow(r_, table_, cells);
}

void ReportTableListing::finish() {
  if (started_) EndColumnTable(r_, table_);
  started_ = false;
}

}  // namespace velk
