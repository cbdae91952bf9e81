// The standard output devices of the drawing layer, installed by the program's wiring: DXF on
// code 1, IGES on 2, the plot program on 4 and the tab-separated drawing file on 5.
#pragma once

#include "graphics/drawing.h"

namespace velk {

void InstallStandardDevices(DrawingState& state);

}  // namespace velk
