// The production drawing ("Fertigungszeichnung"): the spring as it is made, front view with its
// ends and side view, dimensioned, with a table of technical data, the revision table and a
// title block on a standard sheet, on any drawing device.
//
// The geometry is drawn in millimetres at 1:1 in the model, the winding axis at the origin, so a
// CAD user measures true lengths. The sheet around it (frame, title block, tables, dimension
// texts and arrows) is drawn at paper size divided by the drawing scale: a print at the scale
// written in the title block gives the paper size (A4 or A3 landscape).
#pragma once

#include <string>

#include "base/numfmt.h"
#include "draw/drawing.h"

namespace velk {

struct OutputContext;
struct Spring;
struct SpringPath;

// Drawing layers of the production drawing.
constexpr int kLayerCentreLine = 1;  // centre line of the strip or wire, axes
constexpr int kLayerSheet = 4;       // frame, title block, tables and their texts (solid)
constexpr int kLayerDimensions = 3;  // dimension lines, arrows and texts
constexpr int kLayerOutline = 5;     // visible edges of the spring

// The sheet chosen for a spring: paper, scale and where the sheet lies in the model.
struct ProductionSheet {
  int paper = 4;          // 4 = A4 landscape (297 x 210 mm), 3 = A3 landscape (420 x 297 mm)
  Real paperWidth = 297;  // mm on paper
  Real paperHeight = 210;
  Real scale = 1;       // paper mm per model mm: 5, 2, 1, 0.5, 0.2 (then 0.1 .. 0.01)
  Real x0 = 0, y0 = 0;  // model position of the sheet's lower left corner
  Real sideX = 0;       // model x of the side view's left edge
  std::string problem;  // empty when the sheet could be planned (code page 850)

  // Model length of a length on paper (text heights, gaps, arrows).
  Real k() const { return 1 / scale; }
  Real modelX(Real u) const { return x0 + u / scale; }
  Real modelY(Real v) const { return y0 + v / scale; }
};

// The scale as it is written: "1:1", "2:1", "1:5".
std::string ScaleText(Real scale);

// Chooses paper and scale so that both views with their dimensions fit the sheet's drawing area:
// A4 at 5:1, 2:1, 1:1, then A3 at 1:1, then A4 and A3 at 1:2, 1:5 and further reductions.
ProductionSheet PlanProductionSheet(const Spring& s, const SpringPath& path);

// The whole production drawing of the unloaded spring on the device (0 asks, 3 screen, others
// the file devices). While the calculation is fatal the message window is shown instead; a
// spring without a centre line (no turns, radii out of order, a bend of radius 0) draws nothing,
// shows the reason and sets the abort flag. Cancel in the device or save dialog: nothing is
// produced.
void DrawProductionDrawing(OutputContext& ws, DeviceCode device);

}  // namespace velk
