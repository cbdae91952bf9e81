// Column tables of the report writer (the excerpt's load-state table, table listings), and the
// table engine's listing rendered as one.
#pragma once

#include <string>
#include <vector>

#include "dbf/dbfexport.h"
#include "report/reportstate.h"

namespace velk {

constexpr int kMaxReportColumns = 7;

struct ReportColumn {
  std::string title;
  int width = 0;  // characters on the text devices; a width of 0 ends the column list
};

// A table of up to seven columns. ruleAfterRow: a thin rule after each row on the text devices.
struct ColumnTable {
  std::vector<ReportColumn> columns;
  bool ruleAfterRow = true;
};

// Starts the table. Text devices: a double rule, the titles (each padded or cut to its width;
// the first counted with the margin), a double rule. Tab devices: the titles joined by TAB.
// HTML: "<TABLE BORDER = "1" ...>" and a row of centred titles; the table stays open until
// EndColumnTable or the next plain line.
void BeginColumnTable(ReportState& r, const ColumnTable& table);
// One row; cells beyond the columns are ignored, missing cells are empty. Text devices: the
// cells padded or cut to their widths, then a thin rule when ruleAfterRow. HTML: the first
// cell plain, the others right-aligned.
void WriteColumnRow(ReportState& r, const ColumnTable& table, const std::vector<std::string>& cells);
// Ends the table: a thin rule on the text devices when rows had none; "</TABLE>" on HTML.
void EndColumnTable(ReportState& r, const ColumnTable& table);

// Renders the table engine's listing (dbf/dbfexport.h) as a column table of the open report.
class ReportTableListing : public TableListingSink {
 public:
  explicit ReportTableListing(ReportState& r) : r_(r) {}
  void heading(const std::vector<TableListingColumn>& columns) override;
  void row(const std::vector<std::string>& cells) override;
  // Ends the column table (after the last row).
  void finish();

 private:
  ReportState& r_;
  ColumnTable table_;
  bool started_ = false;
};

}  // namespace velk
