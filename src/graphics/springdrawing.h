// The spring drawing: the front view (the spiral with both ends, at any installation angle) and
// the side view, true to scale in millimetres, on any drawing device.
#pragma once

#include <string>

#include "base/numfmt.h"
#include "draw/drawing.h"
#include "draw/springpath.h"

namespace velk {

struct OutputContext;
struct Spring;

// The two views of the spring drawing.
enum class SpringView { Front = 1, Side = 2 };

// A spiral is drawn with chords of 5 degrees; one of more than this many chords (100 turns)
// takes coarser steps (same start and end point), so any number of turns draws in bounded time.
constexpr long kMaxSpiralChords = 3600;  // 100 turns at full resolution

// The front or the side view; device Ask asks, Screen, or a file device. askAngle
// shows the installation-angle dialog first, otherwise the spring is drawn unloaded
// (deltaDraw := delta0). Cancel anywhere: nothing is produced and the abort flag is set.
void DrawSpring(OutputContext& ws, SpringView view, DeviceCode device, bool askAngle);

// Archimedean spiral from radius r0 on the positive x axis, n turns counter-clockwise, radius
// growing by p per turn: chords of 5 degrees (coarser beyond kMaxSpiralChords), then a final
// chord to 360 n degrees at radius r0 + p n. Draws nothing for non-finite arguments.
void DrawSpiral(OutputContext& ws, Real r0, Real n, Real p);

// The installation-angle dialog (help 6610): deltaDraw on OK; cancel sets the abort flag.
void AskInstallationAngle(OutputContext& ws);

}  // namespace velk
