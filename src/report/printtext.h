// Printing a report text file on the printer: page breaks are lines that begin with a form
// feed; the layout of the chosen page range is computed here, the printer draws it.
#pragma once

#include <string>
#include <vector>

namespace velk {

// Lines that begin with a form feed (the pages the print dialog offers).
int CountPageBreaks(const std::vector<std::string>& lines);

struct PrintedLine {
  int row = 0;  // line position from the top of the page (y = row * page height / lines per page)
  std::string text;
};
struct PrintedPage {
  int number = 0;  // page number of the text file
  std::vector<PrintedLine> lines;
};

// The printer pages for the page range first..last (1-based, as the print dialog returns it).
// Page numbers count from 1; a form-feed line advances the page number and returns to the
// top; it starts a new printer page only when the new number lies in first + 1 .. last, so
// the first printer page is the document's start. Every other line advances the row, and is
// drawn when its page lies in the range. Pages above 255 are never printed. The result always
// holds the first printer page (possibly empty).
std::vector<PrintedPage> LayoutTextPages(const std::vector<std::string>& lines, int first, int last);

}  // namespace velk
