// Registers the CAD writers with the drawing layer.
#include "cad/devices.h"

#include "cad/dxf.h"
#include "cad/iges.h"
#include "cad/plotprogram.h"
#include "cad/tabdrawing.h"

namespace velk {

void InstallStandardDevices(DrawingState& state) {
  state.providers[kCadDxf].create = [](OutputContext& ws, const std::string& path) -> std::unique_ptr<DrawingDevice> {
    return std::make_unique<DxfDevice>(ws, path, false);
  };
  SetDeviceProvider(state, kCadIges, IgesDeviceProvider());
  SetDeviceProvider(state, kCadPlot, PlotDeviceProvider());
  SetDeviceProvider(state, kCadTab, TabDeviceProvider());
}

}  // namespace velk
