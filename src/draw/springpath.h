// The centre line of the spring as it is made (unloaded), with its ends: the common geometry of
// the production drawing and the 3D model.
//
// Coordinates in millimetres in the plane of the front view, the winding axis through the origin.
// The spiral starts at radius ri on the positive x axis and winds counter-clockwise n0 turns out
// to re (the pitch per turn is (re - ri) / n0, as in the front view; turned by an angle it keeps
// its length Lw, as the front view does). A clamped end is the end of
// the spiral, cut square. A bent end leaves the spiral tangentially through a 90 degree bend of
// its bend radius (rbi, rbe) and continues as a straight leg: the inner leg turns towards the
// arbor, the outer leg outwards. The end's length (li, le) is measured along the centre line from
// the end of the spiral, bend included: the leg is li - pi rbi / 2 long (at least 0), so the
// whole centre line is L = Lw + li + le long whenever the leg is not shorter than the bend.
#pragma once

#include <string>
#include <vector>

#include "base/numfmt.h"

namespace velk {

struct Spring;

struct PathPoint {
  Real x = 0;
  Real y = 0;
};

// One piece of the centre line, in the order from the tip of the inner end to the tip of the
// outer end. Every piece starts where the previous one ends, with the same tangent.
struct PathPiece {
  enum class Kind { Line, Arc, Spiral };
  Kind kind = Kind::Line;
  PathPoint from;  // start point (all kinds)
  PathPoint to;    // end point (all kinds)
  // Arc: centre, radius, start and end angle in degrees (end < start: clockwise).
  // Spiral: centre (0, 0), radius r at start angle a0 (degrees, counter-clockwise to a1), radius
  // growing by pitch per turn.
  PathPoint centre;
  Real r = 0;
  Real a0 = 0;
  Real a1 = 0;
  Real pitch = 0;
};

struct SpringPath {
  std::vector<PathPiece> pieces;
  bool innerBent = false;
  bool outerBent = false;
  Real innerLeg = 0;  // straight part of the inner end, mm
  Real outerLeg = 0;  // straight part of the outer end, mm
  // Empty when the path is usable; otherwise the reason (code page 850): n0 or t not positive,
  // values that are not finite, a bent end with radius 0.
  std::string problem;
};

// The centre line of the spring turned by phi degrees from the unloaded position (phi = 0: as made;
// the installation angle deltaDraw gives phi = delta0 - deltaDraw, as in the front view: the
// spiral then has n0 + phi / 360 turns of the same length Lw). A bent end needs formi / forme = 2
// and a positive bend radius; a leg shorter than its bend gives a leg of length 0.
SpringPath CentreLine(const Spring& s, Real phi = 0);

// Length of one piece along the centre line (the spiral's exact arc length), mm.
Real PieceLength(const PathPiece& p);
// Length of the whole path.
Real PathLength(const SpringPath& path);

// Point and unit tangent (in the direction of travel) at parameter u in [0, 1] of a piece
// (for the spiral u runs linearly in the angle).
PathPoint PiecePoint(const PathPiece& p, Real u);
PathPoint PieceTangent(const PathPiece& p, Real u);

// The centre line as a polyline: arcs and the spiral in steps of at most stepDegrees (coarser for
// more than maxPoints points in all), lines by their end points. Starts at the inner tip.
std::vector<PathPoint> PathPolyline(const SpringPath& path, Real stepDegrees = 5, std::size_t maxPoints = 20000);

// Geometry of the front view turned by phi degrees from the unloaded position.
struct FrontViewGeometry {
  Real n = 0;   // turns in the drawn state
  Real ra = 0;  // outer winding radius in the drawn state
  Real p = 0;   // pitch per turn
  Real w = 0;   // direction of the outer end, degrees
  // Empty when the view can be drawn; otherwise the reason, code page 850 (n = 0, values that
  // are not finite).
  std::string problem;
};
FrontViewGeometry FrontGeometry(const Spring& s, Real phi);

}  // namespace velk
