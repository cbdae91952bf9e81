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
void writeCells(ReportContext& ws, const std::vector<ReportColumn>& columns, const std::vector<std::string>& cells) {
  const int d = CurrentDevice(ws);
  auto cell = [&](std::size_t i) { return i < cells.size() ? cells[i] : std::string(); };
  if (IsTabDevice(d)) {
    std::string line;
    for (std::size_t i = 0; i < columns.size(); ++i) line += (i ? "\t" : "") + cell(i);
    WriteRawLine(ws, line);
    return;
  }
  WriteTextFragment(ws, padRight(cell(0), columns[0].width));
  for (std::size_t i = 1; i < columns.size(); ++i) WriteRaw(ws, padRight(cell(i), columns[i].width));
  WriteRawLine(ws, " ");
}

}  // namespace

void BeginColumnTable(ReportContext& ws, const ColumnTable& table) {
  const std::vector<ReportColumn> columns = activeColumns(table);
  if (columns.empty() || ws.abort) return;
  const int d = CurrentDevice(ws);
  std::vector<std::string> titles;
  titles.reserve(columns.size());
  for (const ReportColumn& c : columns) titles.push_back(c.title);
  if (IsHtmlDevice(d)) return WriteHtmlTableStart(ws, "1", titles);
  if (IsTabDevice(d)) return writeCells(ws, columns, titles);
  WriteTextLine(ws, DoubleRule(ws));
  writeCells(ws, columns, titles);
  WriteTextLine(ws, DoubleRule(ws));
}

void WriteColumnRow(ReportContext& ws, const ColumnTable& table, const std::vector<std::string>& cells) {
  const std::vector<ReportColumn> columns = activeColumns(table);
  if (columns.empty() || ws.abort) return;
  const int d = CurrentDevice(ws);
  if (IsHtmlDevice(d)) return WriteHtmlTableRow(ws, "1", cells, columns.size());
  writeCells(ws, columns, cells);
  if (!IsTabDevice(d) && table.ruleAfterRow) WriteTextLine(ws, ThinRule(ws));
}

void EndColumnTable(ReportContext& ws, const ColumnTable& table) {
  if (activeColumns(table).empty() || ws.abort) return;
  const int d = CurrentDevice(ws);
  if (IsHtmlDevice(d)) return WriteHtmlTableEnd(ws);
  if (!IsTabDevice(d) && !table.ruleAfterRow) WriteTextLine(ws, ThinRule(ws));
}

void ReportTableListing::heading(const std::vector<TableListingColumn>& columns) {
  table_ = ColumnTable{};
  for (const TableListingColumn& c : columns) table_.columns.push_back(ReportColumn{c.title, c.width});
  BeginColumnTable(ws_, table_);
  started_ = true;
}

void ReportTableListing::row(const std::vector<std::string>& cells) {
  if (started_) WriteColumnRow(ws_, table_, cells);
}

void ReportTableListing::finish() {
  if (started_) EndColumnTable(ws_, table_);
  started_ = false;
}

void PrintTableListing(ReportContext& ws, int mode) {
  if (!ws.table.dbf.isOpen()) return;
  const std::vector<std::string> head = BrowserPrintHeader(ws.table, mode);
  auto line = [&](std::size_t i) { return i < head.size() ? head[i] : std::string(); };
  SetReportHeader(ws, line(0), line(1), line(2), line(3), line(4), 0);
  OpenReport(ws, kDeviceAsk, ws.table.dbf.path());
  if (ws.abort) return;
  WritePageHeader(ws, 0, 0);
  if (ws.abort) return;
  ReportTableListing listing(ws);
  BrowserPrint(ws.table, listing);
  listing.finish();
  if (ws.abort) return;
  EndPage(ws);
  CloseReport(ws);
}

}  // namespace velk
