// DXF writer: group pairs, the HEADER/TABLES/ENTITIES sections and the DXF file device with
// its write-beside-and-rename commit.
#include "draw/dxf.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/codepage.h"
#include "platform/files.h"

namespace velk {

std::string DxfNumber(Real v, int decimals) {
  if (decimals < 0) decimals = 0;
  // A degenerate spring (radius 1e307) would print hundreds of digits per coordinate: nothing a
  // drawing can use lies beyond kCadCoordinateLimit, so larger values are clamped to it.
  const Real limit = kCadCoordinateLimit;
  double d = std::isfinite(v) ? static_cast<double>(std::clamp(v, -limit, limit)) : 0.0;
  if (std::fabs(d) < 1e-8) d = 0;
  char buf[400];  // sign, integer digits, point and 32 decimals
  const auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed, decimals);
  std::string s(buf, r.ptr);
  if (!s.empty() && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

int DxfDecimals(const DrawingOptions& options) {
  const int n = options.dxfDecimals;
  return n >= 1 && n <= 32 ? n : 6;
}

DxfWriter::DxfWriter(std::string& out, int decimals, const NumberSettings& num)
    : out_(out), decimals_(decimals), num_(num) {
  num_.decimalComma = 1;  // DXF numbers always carry "."
}

void DxfWriter::pair(int code, std::string_view value) {
  char buf[8];
  const auto r = std::to_chars(buf, buf + sizeof buf, code);
  const size_t len = static_cast<size_t>(r.ptr - buf);
  if (len < 3) out_.append(3 - len, ' ');
  out_.append(buf, len);
  out_ += "\r\n";
  out_ += value;
  out_ += "\r\n";
}

void DxfWriter::real(int code, Real v) { pair(code, DxfNumber(v, decimals_)); }

void DxfWriter::shortReal(int code, Real v) { pair(code, std::isfinite(v) ? fmtSig(num_, v) : std::string("0")); }

void DxfWriter::header(Real x1, Real y1, Real x2, Real y2) {
  pair(0, "SECTION");
  pair(2, "HEADER");
  // The code page of the texts below: CP850 for OEM texts, Windows-1252 for ANSI and for the
  // transcribed ones (plain ASCII, which 1252 reads alike). Without it readers assume 1252.
  pair(9, "$DWGCODEPAGE");
  pair(3, num_.cadTextMode == 1 ? "dos850" : "ANSI_1252");
  pair(9, "$EXTMIN");
  real(10, x1);
  real(20, y1);
  pair(9, "$EXTMAX");
  real(10, x2);
  real(20, y2);
  pair(9, "$LIMMIN");
  real(10, x1);
  real(20, y1);
  pair(9, "$LIMMAX");
  real(10, x2);
  real(20, y2);
  pair(9, "$LTSCALE");
  pair(40, "15");
  pair(0, "ENDSEC");
}

void DxfWriter::tables(const DrawingOptions& options, DrawingKind kind) {
  const bool diagram = kind == DrawingKind::Diagram;
  pair(0, "SECTION");
  pair(2, "TABLES");

  // Line types. The table's 70 carries fixed values, not the number of entries.
  pair(0, "TABLE");
  pair(2, "LTYPE");
  pair(70, diagram ? "23" : "6");
  struct LineType {
    const char* name;
    const char* description;
    const char* count;
    const char* length;
    std::initializer_list<const char*> dashes;
  };
  const LineType types[] = {
      {"CONTINUOUS", "Ausgezogene Linie", "0", "0.0", {}},
      {"DASHDOT", "--. --. --.-", "4", "1.0", {"0.5", "-0.25", "0.0", "-0.25"}},
      {"DASHED", "- - - - - - ", "2", "0.375", {"0.25", "-0.125"}},
  };
  for (const LineType& t : types) {
    pair(0, "LTYPE");
    pair(2, t.name);
    pair(70, "64");
    pair(3, t.description);
    pair(72, "65");
    pair(73, t.count);
    pair(40, t.length);
    for (const char* d : t.dashes) pair(49, d);
  }
  pair(0, "ENDTAB");

  // Layers.
  pair(0, "TABLE");
  pair(2, "LAYER");
  pair(70, "24");
  const bool mono = options.layerMonochrome;
  auto layer = [&](const std::string& name, int color, const char* type) {
    pair(0, "LAYER");
    pair(2, name);
    pair(70, "0");
    pair(62, fmtInt(mono ? 1 : color));
    pair(6, type);
  };
  layer("0", 1, "CONTINUOUS");
  for (int n = 1; n <= 5; ++n)
    layer(LayerName(options, n), LayerColor(options, n), n == 1 ? "DASHDOT" : n == 2 ? "DASHED" : "CONTINUOUS");
  if (diagram)
    for (int n = 16; n <= 31; ++n) layer(LayerName(options, n), LayerColor(options, n), "CONTINUOUS");
  pair(0, "ENDTAB");

  // Text style; the table closes with a "0" that is not right-aligned.
  pair(0, "TABLE");
  pair(2, "STYLE");
  pair(70, "1");
  pair(0, "STYLE");
  pair(2, "STANDARD");
  pair(70, "0");
  pair(40, "0.0");
  pair(41, "1.0");
  pair(50, "0.0");
  pair(71, "0");
  pair(42, "3.5");
  const std::string font = upper(trim(options.cadTextFont));
  pair(3, font.empty() ? std::string("TXT8") : font);
  pair(4, "");
  out_ += "0\r\nENDTAB\r\n";
  pair(0, "ENDSEC");
}

void DxfWriter::beginEntities() {
  pair(0, "SECTION");
  pair(2, "ENTITIES");
}

void DxfWriter::endEntities() { pair(0, "ENDSEC"); }

void DxfWriter::endOfFile() { pair(0, "EOF"); }

void DxfWriter::line(std::string_view layer, Real x1, Real y1, Real x2, Real y2) {
  pair(0, "LINE");
  pair(8, layer);
  real(10, x1);
  real(20, y1);
  real(11, x2);
  real(21, y2);
}

void DxfWriter::circle(std::string_view layer, Real x, Real y, Real r) {
  pair(0, "CIRCLE");
  pair(8, layer);
  real(10, x);
  real(20, y);
  real(40, r);
}

void DxfWriter::arc(std::string_view layer, Real x, Real y, Real r, Real start, Real end) {
  auto near = [](Real a, Real b) { return std::fabs(a - b) < 1e-5L; };
  if (start == end || (near(start, 0) && near(end, 360)) || (near(start, 360) && near(end, 0))) {
    circle(layer, x, y, r);
    return;
  }
  pair(0, "ARC");
  pair(8, layer);
  real(10, x);
  real(20, y);
  real(40, r);
  real(50, start);
  real(51, end);
}

void DxfWriter::text(std::string_view layer, std::string_view text, Real x, Real y, const TextAttributes& attr) {
  pair(0, "TEXT");
  pair(8, layer);
  real(10, x);
  real(20, y);
  real(40, attr.height);
  pair(1, text);
  pair(7, "STANDARD");
  shortReal(41, attr.widthFactor);
  shortReal(50, attr.angle);
  shortReal(51, attr.slant);
}

void DxfWriter::solid(std::string_view layer, Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  pair(0, "SOLID");
  pair(8, layer);
  real(10, x1);
  real(20, y1);
  real(11, x2);
  real(21, y2);
  real(12, x3);
  real(22, y3);
  real(13, x4);
  real(23, y4);
}

void DxfWriter::insert(std::string_view layer, std::string_view name, Real x, Real y, Real xscale, Real yscale,
                       Real angle) {
  pair(0, "INSERT");
  pair(8, layer);
  pair(2, name);
  real(10, x);
  real(20, y);
  real(41, xscale);
  real(42, yscale);
  real(50, angle);
}

// --- the file device.

DxfDevice::DxfDevice(const DrawingOptions& options, std::string path, bool writesInserts)
    : path_(std::move(path)),
      writer_(buffer_, DxfDecimals(options), options.num),
      options_(options),
      writesInserts_(writesInserts) {}

void DxfDevice::window(Real x1, Real y1, Real x2, Real y2) { writer_.header(x1, y1, x2, y2); }
void DxfDevice::tables(DrawingKind kind) { writer_.tables(options_, kind); }
void DxfDevice::beginEntities() { writer_.beginEntities(); }
void DxfDevice::endEntities() { writer_.endEntities(); }

void DxfDevice::finish() { write(); }

bool DxfDevice::write() {
  writer_.endOfFile();
  if (const int err = atomicWriteFile(path_, buffer_, options_.io)) {
    fail(WriteFailureText(path_, err));
    return false;
  }
  written_ = true;
  return true;
}

void DxfDevice::discard() {
  buffer_.clear();
  buffer_.shrink_to_fit();
}

void DxfDevice::layer(int, const std::string& name) { layer_ = name; }

void DxfDevice::line(Real x1, Real y1, Real x2, Real y2) { writer_.line(layer_, x1, y1, x2, y2); }
void DxfDevice::circle(Real x, Real y, Real r) { writer_.circle(layer_, x, y, r); }
void DxfDevice::arc(Real x, Real y, Real start, Real end, Real r) { writer_.arc(layer_, x, y, r, start, end); }
void DxfDevice::solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) {
  writer_.solid(layer_, x1, y1, x2, y2, x3, y3, x4, y4);
}

void DxfDevice::text(const std::string& text, Real x, Real y, const TextAttributes& attr) {
  std::string t = cadText(options_.num, text);
  for (char& c : t)
    if (c == '\r' || c == '\n') c = ' ';  // one value line per text
  writer_.text(layer_, t, x, y, attr);
}

void DxfDevice::insert(const std::string& name, Real x, Real y, Real angle, Real xscale, Real yscale) {
  if (writesInserts_) writer_.insert(layer_, name, x, y, xscale, yscale, angle);
}

}  // namespace velk
