// Sorting the file overview's rows by a column.
#include "ui/overviewform.h"

#include <algorithm>

namespace velk {

void SortOverviewRows(std::vector<OverviewTableRow>& rows, int column) {
  if (column < 0 || column >= kOverviewColumns || rows.size() < 3) return;
  const auto col = static_cast<std::size_t>(column);
  // std::string compares as unsigned bytes (char_traits<char>), so 850 letters sort after ASCII.
  std::stable_sort(rows.begin() + 1, rows.end(),
                   [col](const OverviewTableRow& a, const OverviewTableRow& b) { return a.cells[col] < b.cells[col]; });
}

}  // namespace velk
