// The diagram layer: maps data values onto a diagram area of the drawing sheet, chooses axis
// ranges and ticks, draws axes, labels, titles, arrows and grid, and clips curves to the range.
#pragma once

#include <string>

#include "base/numfmt.h"

namespace velk {

struct OutputContext;

// Axis limits the user entered in the limits dialog; they outlive the sheet.
struct DiagramLimits {
  Real xmin = 0, xmax = 1, ymin = 0, ymax = 1;
};

// The diagram state of the current sheet (ws.diagram). DiagramReset restores the defaults below
// and keeps the user limits.
struct DiagramState {
  Real W = 160, H = 120;  // area size in drawing units
  Real X0 = 0, Y0 = 0;    // lower-left corner of the area on the sheet
  Real xmin = 0, xmax = 160, ymin = 0, ymax = 120;
  Real dx = 160, dy = 120;  // xmax - xmin, ymax - ymin
  Real xstep = 0;           // tick step of the x axis (set by Axes, scaled by ScaleRange)
  Real curX = 0, curY = 0;  // current data point of DataMoveTo / DataLineTo
  // Whether Axes may offer the limits dialog on this sheet: set by the view dispatcher for a
  // drawing whose device was asked or is a file device (never for one opened on the screen).
  bool offerLimits = false;
  DiagramLimits user;
};

// A nice axis range: min..max in whole steps.
struct NiceScale {
  Real min = 0, max = 1, step = 1;
};
// Range of about n steps of 1, 2, 5 or 10 times a power of ten that covers lo..hi. A non-finite
// limit counts as 0; the result is always finite with step > 0 and at most a few hundred steps.
NiceScale NiceRange(Real lo, Real hi, int n);

// Tick values min, min + step, ... up to max, or none when the range is not finite or would need
// more than kMaxTicks ticks.
constexpr int kMaxTicks = 1000;
int TickCount(Real min, Real max, Real step);

void DiagramReset(OutputContext& ws);
void SetArea(OutputContext& ws, Real W, Real H);
void SetAreaOrigin(OutputContext& ws, Real X0, Real Y0);
void SetRange(OutputContext& ws, Real xmin, Real xmax, Real ymin, Real ymax);
// Divides xmin, xmax and the x step by fx and ymin, ymax by fy (display units -> internal units).
// A factor of 0 or a non-finite factor leaves the range as it is.
void ScaleRange(OutputContext& ws, Real fx, Real fy);

// Data -> sheet coordinates. NaN when the range is degenerate or the value is not finite; every
// drawing call below skips such points, so no device ever receives one.
Real SheetX(const OutputContext& ws, Real x);
Real SheetY(const OutputContext& ws, Real y);

void DataMoveTo(OutputContext& ws, Real x, Real y);
// Line from the current data point to (x, y), clipped to the data range; then (x, y) is current.
void DataLineTo(OutputContext& ws, Real x, Real y);
void DataLine(OutputContext& ws, Real x1, Real y1, Real x2, Real y2);  // not clipped
void DataCircle(OutputContext& ws, Real x, Real y, Real r);            // r measured along y
void DataCircleMm(OutputContext& ws, Real x, Real y, Real r);          // r in drawing units
void DataText(OutputContext& ws, const std::string& text, Real x, Real y);
// Height measured along y, width along x.
void DataTextStyle(OutputContext& ws, int font, Real angle, Real height, Real width);
// TextStyle with height and width times max(0.01 H, 0.00625 W).
void ScaledTextStyle(OutputContext& ws, int font, Real angle, Real height, Real width);
// Filled arrowhead with its tip at sheet point (x, y): kind 1 +x, 2 +y, 3 -x, 4 -y; others nothing.
void Arrow(OutputContext& ws, int kind, Real x, Real y, Real size);

// Clips the segment (x1, y1)-(x2, y2) to the current data range (see DataLineTo). False when
// nothing is to be drawn; otherwise the end points are replaced by the part to draw.
bool ClipToRange(const DiagramState& d, Real& x1, Real& y1, Real& x2, Real& y2);

// Ranges, limits dialog, axis lines with arrows, ticks with labels, titles and grid; the drawing
// kind becomes 1. Limits in display units. Placement of the x title: 0 or 1 right of the axis end
// below it, 2 above it, others none.
void Axes(OutputContext& ws, const std::string& xTitle, const std::string& yTitle, const std::string& title,
          int placement, Real xlo, Real xhi, Real ylo, Real yhi);

// The sheet header: titleLine, bemerk1 and bemerk2 at (78, 116), layer 19.
void DiagramHeader(OutputContext& ws);

// The limits dialog ("TEinDiagramLimits", help 1950): offers the stored user limits; on OK they
// are stored and true is returned. Cancel returns false and leaves the abort flag cleared.
bool AskDiagramLimits(OutputContext& ws, const std::string& xTitle, const std::string& yTitle, const std::string& title,
                      const NiceScale& autoX, const NiceScale& autoY);

}  // namespace velk
