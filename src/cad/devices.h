// The standard output devices of the drawing layer, installed by the program's wiring: DXF on
// code 1, IGES on 2, the plot program on 4 (with its command-line question in the device dialog)
// and the tab-separated drawing file on 5.
#pragma once

#include "graphics/context.h"

namespace velk {

// The plot device starts the current plot command line of ws with ws's program launcher.
void InstallStandardDevices(OutputContext& ws);

}  // namespace velk
