// The window's entry points as wvelk sees them: each loads the window plug-in (lib/velk/plugins/window.so)
// on first use and calls into it, so only the jobs that need Qt load it.
#include <iostream>

#include "gui/windowedapp.h"
#include "gui/windowplugin.h"
#include "platform/plugins.h"

namespace velk::gui {

namespace {

// The plug-in's table, or null after saying on stderr why there is none.
const WindowPlugin* windowPlugin(const char* purpose) {
  const PluginEntry entry = loadPlugin("window.so", "velk_window_plugin");
  const auto* table = static_cast<const WindowPlugin*>(entry.table);
  if (table && fitsThisProgram(*table)) return table;
  const std::string why = table ? pluginDir() + "window.so: built for another version of the program" : entry.error;
  std::cerr << "wvelk: " << purpose << " needs the window's library, which cannot be loaded: " << why << "\n";
  return nullptr;
}

}  // namespace

int runWindowed(int& argc, char** argv, const std::vector<std::string>& args) {
  const WindowPlugin* window = windowPlugin("the window");
  return window ? window->runWindowed(argc, argv, args) : 2;
}

int runPdfJob(velk::Session& ws, const std::string& inputArgument, int view) {
  const WindowPlugin* window = windowPlugin("/PDF");
  return window ? window->runPdfJob(ws, inputArgument, view) : 2;
}

}  // namespace velk::gui
