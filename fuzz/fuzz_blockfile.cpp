// Fuzz target: a block file "$F.dx$" of arbitrary bytes, read and drawn on the screen device
// (the block may insert itself; the nesting limit and the entity limit keep that bounded).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "draw/blockfile.h"
#include "draw/drawing.h"
#include "graphics/output.h"
#include "session/session.h"
#include "ui/headless.h"

static const std::string& folder() {
  // Never destroyed, so the exit handler can still name it.
  static const std::string* path = [] {
    std::string t = (std::filesystem::temp_directory_path() / "velk-fuzz-block-XXXXXX").string();
    if (!::mkdtemp(t.data())) std::abort();
    auto* p = new std::string(t + "/");
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(folder(), ec);
    });
    return p;
  }();
  return *path;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto entities = velk::ParseBlockFile(bytes);
  if (entities.size() > size / 2 + 1) __builtin_trap();  // at least two lines per entity
  {
    std::ofstream out(folder() + "$F.dx$", std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Scripted);
  velk::Session ws(ui);
  ws.config.tempDir = folder();
  ws.drawing.blockEntityLimit = 20000;
  velk::OpenDrawing(ws, velk::DeviceCode::Screen);
  velk::Window(ws.drawing, 0, 0, 160, 120);
  velk::Insert(ws.drawing, ws.diag, "F", 10, 20, 30, 1.5L, 0.5L);
  if (ws.drawing.blockLevel != 0) __builtin_trap();
  velk::FinishDrawing(ws);  // also deletes the block file
  return 0;
}
