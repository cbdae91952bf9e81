// The configuration dialog's colour list.
#include "ui/configform.h"

#include "base/codepage.h"
#include "base/numfmt.h"

namespace velk {

// ---- Colour list ----

const std::vector<ColorListEntry>& ColorList() {
  // The screen draws DXF colour n in palette colour GetColorTurbo(n); 16 is shown black as its
  // name says.
  static const std::vector<ColorListEntry> list = [] {
    struct Row {
      const char* name;
      std::uint32_t rgb;
    };
    static constexpr Row rows[16] = {
        {"rot", 0xFF0000},         {"gelb", 0xFFFF00},        {"grün", 0x00FF00},        {"cyan", 0x00FFFF},
        {"blau", 0x0000FF},        {"magenta", 0xFF00FF},     {"weiß", 0xFFFFFF},        {"dunkel blau", 0x000080},
        {"dunkel grün", 0x00FF00}, {"dunkel cyan", 0x00FFFF}, {"dunkel rot", 0xFF0000},  {"dunkel magenta", 0x800080},
        {"braun", 0x800000},       {"hell grau", 0xC0C0C0},   {"dunkel grau", 0xB0B0B0}, {"schwarz", 0x000000}};
    std::vector<ColorListEntry> out;
    for (int n = 1; n <= 16; ++n) {
      const Row& r = rows[n - 1];
      const std::string name = oem(r.name);
      out.push_back({n, name, fmtInt(n) + " (" + name + ")", r.rgb});
    }
    return out;
  }();
  return list;
}

ColorSelectRequest MakeColorSelectRequest(std::string_view cellText) {
  ColorSelectRequest r;
  r.entries = ColorList();
  long long n = 0;
  if (tryParseInt(cellText, n) && n >= 1 && n <= 16) r.selected = static_cast<int>(n);
  return r;
}

}  // namespace velk
