// The output service above the drawing layer: what the layer reads from the configuration, the
// questions asked before a drawing opens (the device dialog "CAD-Code", the save dialog for the
// file name, the device's own question such as the plot command line), the start and end of a
// drawing for the views, and the styles a display-list replay takes from the configuration.
#pragma once

#include <string>

#include "graphics/context.h"

namespace velk {

// The drawing layer's options from the configuration, the temp folder, the I/O hooks and the
// input file (for the screen's footer line).
DrawingOptions DrawingOptionsFor(const OutputContext& ws);

// Shows the device dialog (help 2050) and stores the choice in ws.drawing.device, then asks the
// chosen device's question (cancel: ws.abort).
void DeviceDialog(OutputContext& ws);

// Starts a drawing: DeviceCode::Ask asks with the device dialog; the file devices (DXF, IGES, tab) take the
// input file's name with the device's extension in a batch job, otherwise the save dialog
// (proposing defaultName, or the input file's name when it is empty; cancel: ws.abort); the plot
// device writes "plotrix.dxf" in the temp folder. Then opens the drawing layer on it; a failure
// (a device that is not available, a file that cannot be created) sets ws.abort after its message.
// An unfinished drawing is abandoned first. Callers test ws.abort and call nothing else when set.
void OpenDrawing(OutputContext& ws, DeviceCode device, const std::string& defaultName = "");
// Completes the drawing, or discards it when ws.abort is set; a failure sets ws.abort.
void FinishDrawing(OutputContext& ws);

// The screen device's file check: false, with the message <path> "nicht gefunden !" and the
// abort flag, when the file does not exist.
bool ScreenFileExists(OutputContext& ws, const std::string& path);

// Nominal size of the graphics window from the configured resolution (0 or out of range: derived
// from ws.screen).
void SetupWindowSize(OutputContext& ws);

// The window's style on the configured background colour.
ReplayStyle ScreenReplayStyle(const Configuration& config);
// Paper is white whatever the window's background: colour 0 erases to white, monochrome
// output is black, and colour 15 prints black.
ReplayStyle PrinterReplayStyle(const Configuration& config);

// DisplayListSvg of ws.display with the screen's style; ws.abort is set when the list holds a
// degenerate window.
std::string RenderDisplayListSvg(OutputContext& ws);

}  // namespace velk
