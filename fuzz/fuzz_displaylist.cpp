// Fuzz target: arbitrary lines as display-list records, replayed on screen, zoomed and panned,
// and replayed again in printing mode.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/workspace.h"
#include "dialogs/headless.h"
#include "graphics/displaylist.h"

namespace {

class DiscardCanvas : public velk::Canvas {
 public:
  void setPenColor(uint32_t) override {}
  void setBrushColor(uint32_t) override {}
  void setTextColor(uint32_t) override {}
  void setPenStyle(int s) override {
    if (s < 0 || s > 3) __builtin_trap();
  }
  void setPenWidth(int) override {}
  void moveTo(int, int) override {}
  void lineTo(int, int) override {}
  void line(int, int, int, int) override {}
  void ellipse(int l, int t, int r, int b) override {
    if (l > r || t > b) __builtin_trap();
  }
  void arc(int l, int t, int r, int b, int, int, int, int) override {
    if (l > r || t > b) __builtin_trap();
  }
  void polygon(const int*, int) override {}
  void text(int, int, const std::string&, const velk::FontSpec&) override {}
  void sleepMs(int ms) override {
    if (ms < 0 || ms > 10000) __builtin_trap();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static velk::HeadlessUi ui(velk::HeadlessUi::Mode::Scripted);
  velk::Workspace ws(ui);
  std::string_view in(reinterpret_cast<const char*>(data), size);
  while (!in.empty()) {
    const size_t end = in.find('\n');
    ws.display.records.emplace_back(in.substr(0, end));
    if (end == std::string_view::npos) break;
    in.remove_prefix(end + 1);
  }
  DiscardCanvas screen, printer;
  const size_t visited = velk::ReplayDisplayList(ws, screen);
  if (visited > ws.display.records.size()) __builtin_trap();
  ws.abort = false;
  for (auto key : {velk::ViewKey::Plus, velk::ViewKey::Up, velk::ViewKey::Left, velk::ViewKey::Minus})
    velk::ProcessKey(ws, key);
  velk::MouseZoom(ws.display, 10, 20, 300, 200, ws.display.W + 1, ws.display.H + 1);
  ws.display.printing = true;
  velk::PrintMapping m;
  m.pageWidth = 4960;
  m.pageHeight = 7016;
  m.marginX = 10;
  m.marginY = 10;
  velk::ReplayDisplayList(ws, screen, &printer, &m);
  return 0;
}
