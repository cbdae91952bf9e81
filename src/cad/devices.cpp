// Registers the CAD writers with the drawing layer.
#include "cad/devices.h"

#include "cad/dxf.h"
#include "cad/iges.h"
#include "cad/plotprogram.h"
#include "cad/tabdrawing.h"

namespace velk {

void InstallStandardDevices(OutputContext& ws) {
  DrawingState& state = ws.drawing;
  SetDeviceFactory(state, kCadDxf, [](const DrawingOptions& options, const std::string& path) {
    return std::make_unique<DxfDevice>(options, path, false);
  });
  SetDeviceFactory(state, kCadIges, MakeIgesDevice);
  SetDeviceFactory(state, kCadPlot, [&ws](const DrawingOptions& options, const std::string& path) {
    return std::make_unique<PlotDevice>(options, path, ws.programs, splitCommandLine(CurrentPlotCommandLine(ws)));
  });
  ws.deviceQuestions[kCadPlot] = ChoosePlotCommandLine;
  SetDeviceFactory(state, kCadTab, MakeTabDevice);
}

}  // namespace velk
