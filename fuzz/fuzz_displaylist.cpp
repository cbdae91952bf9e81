// Fuzz target: arbitrary lines as display-list records, replayed on screen, zoomed and panned,
// and replayed again in printing mode.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "draw/displaylist.h"
#include "draw/viewmapping.h"
#include "graphics/output.h"
#include "session/session.h"
#include "ui/headless.h"

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
  void pause(int ms) override {
    if (ms < 0 || ms > 10000) __builtin_trap();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static velk::HeadlessUi ui(velk::HeadlessUi::Mode::Scripted);
  velk::Session ws(ui);
  std::string_view in(reinterpret_cast<const char*>(data), size);
  while (!in.empty()) {
    const size_t end = in.find('\n');
    ws.display.records.emplace_back(in.substr(0, end));
    if (end == std::string_view::npos) break;
    in.remove_prefix(end + 1);
  }
  DiscardCanvas screen, printer;
  velk::ViewMapping view;
  view.adopt(ws.display);
  (void)velk::Replay(ws.display, view, screen);
  for (auto key : {velk::ViewKey::Plus, velk::ViewKey::Up, velk::ViewKey::Left, velk::ViewKey::Minus})
    view.applyKey(key, 0.01L, 1.2L);
  view.zoomToBand(10, 20, 300, 200);
  (void)velk::Replay(ws.display, view, screen);
  const velk::PrintPage page{4960, 7016, 10, 10, 1, 1};
  (void)velk::Replay(ws.display, velk::PrinterMapping(view, page), printer, velk::PrinterReplayStyle(ws.config));
  return 0;
}
