// The windowed program: the start-up sequence with the Qt windows, then the main window until it
// closes.
#pragma once

#include <string>
#include <vector>

namespace velk::gui {

// True when a display can be reached (X11, Wayland, or a platform named in QT_QPA_PLATFORM).
bool displayAvailable();

// Runs the program with its window; returns the exit code. args exclude the program name.
int runWindowed(int& argc, char** argv, const std::vector<std::string>& args);

}  // namespace velk::gui
