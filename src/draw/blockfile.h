// Reader of the DXF block files "$" + name + ".dx$" that the screen device draws, and the
// arc geometry of polyline bulges. Pure functions: drawing happens in the drawing layer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/numfmt.h"

namespace velk {

struct BlockVertex {
  Real x = 0, y = 0, bulge = 0;
  std::string layer;  // group 8 of the vertex; empty: the polyline's layer
};

struct BlockEntity {
  enum class Kind { Line, Circle, Arc, Text, Solid, Polyline, Insert, Message };
  Kind kind = Kind::Line;
  std::string layer = "0";  // group 8 value as written (layer 0 when absent)
  // Line: x1 y1 x2 y2; Circle: x y r; Arc: x y r start end; Solid: 4 corners;
  // Text: x y height widthFactor rotation; Insert: x y xscale yscale rotation.
  Real v[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  std::string text;                   // Text: its text; Insert: the block name; Message: the message
  std::vector<BlockVertex> vertices;  // Polyline
  bool closed = false;                // Polyline: group 70 = 1
};

// Reads group-code/value line pairs ("," in numbers reads as ".", unreadable numbers and group
// codes count as 0) into entities, in file order. "EOF" or the end of the bytes ends the block.
// A POLYLINE not followed by a VERTEX becomes a Message entity "Error in DXF File" and is
// skipped. Unknown entities are skipped. Never fails; the result is bounded by the input size.
std::vector<BlockEntity> ParseBlockFile(std::string_view bytes);

// Arc of a polyline segment from P1 to P2 with the given bulge (included angle 4 atan(bulge)).
// arc = false with a message when the angle's half-sine is 0; a zero chord gives the message
// "GetArcCenter l12=0" and the midpoint as centre. start/end are degrees, counter-clockwise.
struct BulgeArc {
  bool arc = false;
  Real cx = 0, cy = 0, r = 0, start = 0, end = 0;
  std::string message;
};
BulgeArc ArcFromBulge(Real x1, Real y1, Real x2, Real y2, Real bulge);

}  // namespace velk
