// Fuzz target: the recent-files reader on arbitrary bytes, then a write and read of what it read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dialogs/configio.h"
#include "session/session.h"
#include "ui/headless.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static velk::HeadlessUi ui(velk::HeadlessUi::Mode::Scripted);
  velk::Session ws(ui);
  velk::readRecentFilesFrom(ws, std::string_view(reinterpret_cast<const char*>(data), size));
  const auto names = ws.start.recentFiles;
  velk::readRecentFilesFrom(ws, velk::recentFilesBytes(ws));
  if (ws.start.recentFiles != names) __builtin_trap();
  return 0;
}
