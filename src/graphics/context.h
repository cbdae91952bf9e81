// The output state of the session (drawing layer, the graphics window's display list, the
// diagram layer, the chosen plot command line) and what the drawing code takes.
#pragma once

#include "draw/displaylist.h"
#include "draw/drawing.h"
#include "graphics/diagram.h"
#include "reportui/context.h"

namespace velk {

struct OutputContext;

struct OutputState {
  // The screen device draws into this state's display list.
  OutputState() { InstallScreenDevice(drawing, display); }
  OutputState(const OutputState&) = delete;
  OutputState& operator=(const OutputState&) = delete;

  // Drawing layer (current device and shared state) and the graphics window's display list.
  DrawingState drawing;
  DisplayList display;
  // Diagram layer of the current sheet, with the user limits that outlive it.
  DiagramState diagram;
  // Plot program output: the current plot command line, 1-based index into
  // config.plotCommandLines; chosen in the device dialog, started by the plot device's Finish.
  int plotCommandLine = 1;
  // The question a device code asks when it is picked in the device dialog (the plot program asks
  // for its command line); empty for most. Cancel sets ws.abort.
  std::array<std::function<void(OutputContext&)>, kCadDeviceCount> deviceQuestions;
};

struct OutputContext : ReportContext, OutputState {
  using ReportContext::ReportContext;
};

}  // namespace velk
