// The window plug-in's interface: lib/velk/plugins/window.so exports one C entry point,
// velk_window_plugin, returning this table. wvelk loads it only for the window and the /PDF job,
// so the other batch jobs start without Qt.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "session/session.h"

namespace velk::gui {

// Raised whenever the table or the types it passes change their meaning.
inline constexpr int kWindowPluginVersion = 1;

struct WindowPlugin {
  int version;
  std::size_t sessionSize;  // the layout the plug-in was built with: another build's is refused
  int (*runWindowed)(int& argc, char** argv, const std::vector<std::string>& args);
  int (*runPdfJob)(velk::Session& ws, const std::string& inputArgument, int view);
};

inline bool fitsThisProgram(const WindowPlugin& table) {
  return table.version == kWindowPluginVersion && table.sessionSize == sizeof(velk::Session) &&
         table.runWindowed != nullptr && table.runPdfJob != nullptr;
}

}  // namespace velk::gui

// Declared with the type the loader calls it through (an untyped table), so the call through
// the looked-up pointer is well defined; the table is a WindowPlugin.
extern "C" const void* velk_window_plugin();
