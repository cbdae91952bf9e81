// Registers the CAD writers with the drawing layer.
#include "cad/devices.h"

#include "cad/plotprogram.h"
#include "draw/dxf.h"
#include "draw/iges.h"
#include "draw/tabdrawing.h"

namespace velk {

void InstallStandardDevices(OutputContext& ws) {
  DrawingState& state = ws.drawing;
  SetDeviceFactory(state, DeviceCode::Dxf, [](const DrawingOptions& options, const std::string& path) {
    return std::make_unique<DxfDevice>(options, path, false);
  });
  SetDeviceFactory(state, DeviceCode::Iges, MakeIgesDevice);
  SetDeviceFactory(state, DeviceCode::Plot, [&ws](const DrawingOptions& options, const std::string& path) {
    return std::make_unique<PlotDevice>(options, path, ws.programs, splitCommandLine(CurrentPlotCommandLine(ws)));
  });
  ws.deviceQuestions[DeviceNumber(DeviceCode::Plot)] = ChoosePlotCommandLine;
  SetDeviceFactory(state, DeviceCode::Tab, MakeTabDevice);
}

}  // namespace velk
