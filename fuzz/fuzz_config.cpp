// Fuzz target: the configuration reader on arbitrary bytes, then writes and reads of what it read.
// After one write/read round every value is in its written form, so a second round changes nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dialogs/configio.h"
#include "session/session.h"
#include "ui/headless.h"

static std::string roundTrip(velk::HeadlessUi& ui, std::string_view bytes) {
  velk::Session ws(ui);
  ws.start.startDir = "/work";
  velk::readConfigurationFrom(ws, ws.screen, bytes);
  if (ws.config.plotCommandLineCount < 1 || ws.config.plotCommandLineCount > velk::kPlotCommandLines) __builtin_trap();
  return velk::configurationFileBytes(ws);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static velk::HeadlessUi ui(velk::HeadlessUi::Mode::Scripted);
  const std::string once = roundTrip(ui, std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string twice = roundTrip(ui, once);
  if (roundTrip(ui, twice) != twice) __builtin_trap();
  return 0;
}
