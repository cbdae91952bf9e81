// Printing a report text file: the print dialog (or a PDF file when no printer is installed) and
// the drawing of the laid-out pages.
#pragma once

#include <QFont>
#include <string>

#include "ui/uiservices.h"

class QPagedPaintDevice;
class QPainter;

namespace velk::gui {

// The printout font: family and point size, style bits 0 bold, 1 italic, 2 underline,
// 3 strike-out; a fixed-pitch face stands in when the family is missing.
QFont PrintoutFont(const std::string& family, int size, int style);

// Draws the pages first..last (1-based) of the request's lines on device through painter, which
// must be active on it: each page of the layout on its own sheet, line row r at r times the
// page height divided by the lines per page, at the left edge. Returns the sheets drawn.
int DrawTextPages(QPainter& painter, QPagedPaintDevice& device, const PrintTextRequest& request, int first, int last);

}  // namespace velk::gui
