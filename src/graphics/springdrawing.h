// The spring drawing: the front view (the spiral with both ends, at any installation angle) and
// the side view, true to scale in millimetres, on any drawing device.
#pragma once

#include <string>

#include "base/numfmt.h"

namespace velk {

struct OutputContext;
struct Spring;

constexpr int kFrontView = 1;
constexpr int kSideView = 2;

// A spiral is drawn with chords of 5 degrees; one of more than this many chords (100 turns)
// takes coarser steps (same start and end point), so any number of turns draws in bounded time.
constexpr long kMaxSpiralChords = 3600;  // 100 turns at full resolution

// view 1 front view, 2 side view; device 0 asks, 3 screen, others the file devices. askAngle
// shows the installation-angle dialog first, otherwise the spring is drawn unloaded
// (deltaDraw := delta0). Cancel anywhere: nothing is produced and the abort flag is set.
void DrawSpring(OutputContext& ws, int view, int device, bool askAngle);

// Archimedean spiral from radius r0 on the positive x axis, n turns counter-clockwise, radius
// growing by p per turn: chords of 5 degrees (coarser beyond kMaxSpiralChords), then a final
// chord to 360 n degrees at radius r0 + p n. Draws nothing for non-finite arguments.
void DrawSpiral(OutputContext& ws, Real r0, Real n, Real p);

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

// The installation-angle dialog (help 6610): deltaDraw on OK; cancel sets the abort flag.
void AskInstallationAngle(OutputContext& ws);

}  // namespace velk
