// The result views: Quick 1 and Quick 2 summary sheets, the spring characteristic, the Goodman and
// Haigh-Goodman diagrams and strength / permissible stress over thickness, on any drawing device.
#pragma once

#include <optional>
#include <string>

#include "base/numfmt.h"
#include "draw/drawing.h"

namespace velk {

struct OutputContext;

// View kinds of the dispatcher, numbered as the command line (/SVG:j, /CADi:j for j up to 6), the
// print jobs and the selection "Diagrammtyp wählen" number them.
enum class ViewKind {
  Quick1 = 1,
  Characteristic = 2,
  Goodman = 3,
  Quick2 = 4,
  Strength = 5,
  BendingStress = 6,
  Haigh = 7,
};
// The one conversion from a number: nullopt outside 1..7.
std::optional<ViewKind> ViewKindFromNumber(long long n);
constexpr int ViewNumber(ViewKind kind) { return static_cast<int>(kind); }

// Default file name the save dialog offers for a view kind ("VELK" for kinds without their own).
std::string ViewDefaultName(ViewKind kind);

// While the calculation's fatal flag is set, shows the message window instead of an output and
// returns true: the caller draws nothing.
bool ShowMessagesInstead(OutputContext& ws);

// The view dispatcher: one complete 160 x 120 sheet of the kind on the device (Ask asks, Screen,
// or a file device). Abort in the device or save dialog: nothing is produced.
void ShowView(OutputContext& ws, ViewKind kind, DeviceCode device);

// The selection "Diagrammtyp wählen" (help 5500): each choice of 1 to 7 shows that view on an
// asked device, and the selection is offered again until "zurück..." or cancel.
void ChooseDiagram(OutputContext& ws);

// Pieces of the sheets, drawn at the current state of the drawing layer.
void ValueBlockA(OutputContext& ws);
// The characteristic line with its Tc, T2 and T1 guide lines in a diagram of angle over moment
// whose range is in internal units.
void DrawCharacteristic(OutputContext& ws);

// Material line "name (designation)" of the views, and the second name line (code page 850).
std::string MaterialTitle(const OutputContext& ws);
std::string MaterialSecondLine(const OutputContext& ws);

}  // namespace velk
