// Page layout of a text file for the printer, by its form-feed lines.
// The printer adapter (Qt) only draws the lines this returns.
#include "report/printtext.h"

#include <algorithm>

namespace velk {

namespace {
constexpr int kLastPrintablePage = 255;

bool isPageBreak(const std::string& line) { return !line.empty() && line.front() == '\f'; }
}  // namespace

int CountPageBreaks(const std::vector<std::string>& lines) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), isPageBreak));
}

std::vector<PrintedPage> LayoutTextPages(const std::vector<std::string>& lines, int first, int last) {
  first = std::max(first, 1);
  last = std::min(last, kLastPrintablePage);
  std::vector<PrintedPage> pages{PrintedPage{first, {}}};
  int page = 1;
  int row = 0;
  for (const std::string& line : lines) {
    if (isPageBreak(line)) {
      ++page;
      row = 0;
      if (page >= first + 1 && page <= last) pages.push_back(PrintedPage{page, {}});
      continue;
    }
    if (page >= first && page <= last) pages.back().lines.push_back(PrintedLine{row, line});
    ++row;
  }
  return pages;
}

}  // namespace velk
