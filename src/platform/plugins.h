// Plug-ins: the parts of the program that bring large libraries (the window with Qt, the STEP
// writer with OpenCASCADE) are shared objects in <prefix>/lib/velk/plugins, opened only by the jobs that
// need them, so a batch job that needs neither starts without them.
#pragma once

#include <string>

namespace velk {

// The plug-in folder (with trailing "/"): <exe>/../lib/velk/plugins, found from the running program as the
// data folder is; in a build tree the plug-ins lie in <build>/lib/velk/plugins beside the programs' folders.
std::string pluginDir();

// What loading a plug-in gave: its entry point's result, or why there is none (one line, UTF-8).
struct PluginEntry {
  const void* table = nullptr;
  std::string error;
};

// Opens <pluginDir()>/<file> once per process and calls its C entry point `symbol`, a function
// without arguments returning a pointer to the plug-in's table. A missing or unreadable file, a
// missing entry point and a null table are errors, never a crash. Later calls return the first result.
PluginEntry loadPlugin(const std::string& file, const char* symbol);

}  // namespace velk
