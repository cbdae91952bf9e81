// The windowed program: the start-up sequence with the Qt windows, then the main window until it
// closes. Defined here for the window plug-in (and the window's tests); wvelk reaches runWindowed
// and runPdfJob through app/windowloader.cpp, which loads the plug-in.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

namespace velk {
class Session;
}

namespace velk::gui {

// True when a display can be reached (X11, Wayland, or a platform named in QT_QPA_PLATFORM).
// Reads the environment only, so wvelk decides without loading Qt.
inline bool displayAvailable() {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

// Runs the program with its window; returns the exit code. args exclude the program name.
int runWindowed(int& argc, char** argv, const std::vector<std::string>& args);

// The /PDF:j batch job with Qt's PDF writer, without a display (fonts through the offscreen
// platform). Messages go to stderr.
int runPdfJob(velk::Session& ws, const std::string& inputArgument, int view);

}  // namespace velk::gui
