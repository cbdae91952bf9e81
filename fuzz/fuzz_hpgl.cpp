// Fuzz target: arbitrary bytes as an HP-GL/2 help image, drawn twice (the reader state carries
// over), with the records checked for bounded size and finite numbers.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "draw/displaylist.h"
#include "help/hpgl.h"
#include "session/session.h"
#include "ui/headless.h"

namespace {

void check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  velk::HeadlessUi ui(velk::HeadlessUi::Mode::Batch);
  velk::Session ws(ui);
  for (int pass = 0; pass < 2; ++pass) {
    velk::ClearDisplay(ws.display);
    velk::Header(ws.display, 0, 0, 160, 120);
    const size_t before = ws.display.records.size();
    velk::DrawHpgl(ws, bytes);
    check(!ws.abort);
    // Every record stands for at least one byte of input (a colour record goes with a drawing).
    check(ws.display.records.size() - before <= 4 + 2 * size);
    for (size_t i = before; i < ws.display.records.size(); ++i) {
      const std::string& rec = ws.display.records[i];
      check(rec.size() <= 320);
      const velk::ParsedRecord p = velk::ParseRecord(rec);
      check(p.complete && p.code != 0);
      for (int k = 0; k < p.count; ++k) check(std::isfinite(p.f[k]));
    }
    const velk::HpglState& st = ws.hpgl;
    check(std::isfinite(st.x) && std::isfinite(st.y));
  }
  return 0;
}
