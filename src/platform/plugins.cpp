#include "platform/plugins.h"

#include <dlfcn.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>

#include "platform/files.h"

namespace velk {

std::string pluginDir() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "lib/velk/plugins/";
  return withSeparator((exe.parent_path().parent_path() / "lib" / "velk" / "plugins").string());
}

PluginEntry loadPlugin(const std::string& file, const char* symbol) {
  static std::mutex lock;
  static std::map<std::string, PluginEntry> loaded;
  const std::lock_guard<std::mutex> hold(lock);
  if (auto it = loaded.find(file); it != loaded.end()) return it->second;

  PluginEntry entry;
  const std::string path = pluginDir() + file;
  // RTLD_NOW: a plug-in that does not fit this program fails here, not in the middle of a job.
  // RTLD_LOCAL: its libraries stay its own. Never closed: its code may own objects until exit.
  if (void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    ::dlerror();
    using EntryPoint = const void* (*)();
    if (auto fn = reinterpret_cast<EntryPoint>(::dlsym(handle, symbol))) {
      entry.table = fn();
      if (!entry.table) entry.error = path + ": the plug-in refused to start (built for another version?)";
    } else {
      entry.error = path + ": no entry point " + symbol;
    }
  } else {
    const char* why = ::dlerror();
    entry.error = why ? std::string(why) : path + ": cannot be opened";
  }
  loaded.emplace(file, entry);
  return entry;
}

}  // namespace velk
