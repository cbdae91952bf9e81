// The windowed program: the start-up sequence with the Qt windows, then the main window until it
// closes.
#pragma once

#include <string>
#include <vector>

namespace velk {
class Session;
}

namespace velk::gui {

// True when a display can be reached (X11, Wayland, or a platform named in QT_QPA_PLATFORM).
bool displayAvailable();

// Runs the program with its window; returns the exit code. args exclude the program name.
int runWindowed(int& argc, char** argv, const std::vector<std::string>& args);

// The /PDF:j batch job with Qt's PDF writer, without a display (fonts through the offscreen
// platform). Messages go to stderr.
int runPdfJob(velk::Session& ws, const std::string& inputArgument, int view);

}  // namespace velk::gui
