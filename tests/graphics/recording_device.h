// Test drawing device that keeps every primitive with full precision, its layer and line style,
// plus helpers for golden display-list files of the views and drawings.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "draw/drawing.h"
#include "graphics/output.h"
#include "session/session.h"
#include "support/fixture.h"

namespace velk::test {

struct Prim {
  enum class Kind { Line, Circle, Arc, Solid, Text };
  Kind kind = Kind::Line;
  int layer = 0;
  int style = 0;  // window line style in force (0 solid, 1 dotted, 2 dash-dot, 3 dashed)
  std::vector<Real> v;
  std::string text;
  TextAttributes attr;
};

class RecordingDevice : public DrawingDevice {
 public:
  explicit RecordingDevice(std::vector<Prim>* out) : out_(out) {}
  void window(Real, Real, Real, Real) override {}
  void finish() override {}
  void layer(int n, const std::string&) override {
    layer_ = n;
    style_ = n == 1 ? 2 : n == 2 ? 3 : 0;  // as the screen: a layer brings its own line style
  }
  void lineStyle(int n) override { style_ = n; }
  void line(Real x1, Real y1, Real x2, Real y2) override { add(Prim::Kind::Line, {x1, y1, x2, y2}); }
  void circle(Real x, Real y, Real r) override { add(Prim::Kind::Circle, {x, y, r}); }
  void arc(Real x, Real y, Real s, Real e, Real r) override { add(Prim::Kind::Arc, {x, y, s, e, r}); }
  void solid(Real x1, Real y1, Real x2, Real y2, Real x3, Real y3, Real x4, Real y4) override {
    add(Prim::Kind::Solid, {x1, y1, x2, y2, x3, y3, x4, y4});
  }
  void text(const std::string& t, Real x, Real y, const TextAttributes& a) override {
    add(Prim::Kind::Text, {x, y}, t, a);
  }

 private:
  void add(Prim::Kind k, std::vector<Real> v, std::string t = {}, TextAttributes a = {}) {
    out_->push_back(Prim{k, layer_, style_, std::move(v), std::move(t), a});
  }
  std::vector<Prim>* out_;
  int layer_ = 0, style_ = 0;
};

// Makes device 3 record into prims instead of the display list (opening it still clears the list).
inline void RecordScreen(OutputContext& ws, std::vector<Prim>& prims) {
  SetDeviceFactory(ws.drawing, DeviceCode::Screen, [&prims, &ws](const DrawingOptions&, const std::string&) {
    ClearDisplay(ws.display);
    return std::make_unique<RecordingDevice>(&prims);
  });
}

inline std::vector<Prim> Only(const std::vector<Prim>& prims, Prim::Kind kind, int layer = -1) {
  std::vector<Prim> out;
  for (const Prim& p : prims)
    if (p.kind == kind && (layer < 0 || p.layer == layer)) out.push_back(p);
  return out;
}

inline const Prim* FindText(const std::vector<Prim>& prims, const std::string& text) {
  for (const Prim& p : prims)
    if (p.kind == Prim::Kind::Text && p.text == text) return &p;
  return nullptr;
}

inline bool AllFinite(const std::vector<Prim>& prims) {
  for (const Prim& p : prims)
    for (Real v : p.v)
      if (!std::isfinite(v)) return false;
  return true;
}

// Goldens hold the window record: pin the window's nominal size so they do not follow its default.
inline void PinWindowSize(OutputContext& ws) {
  ws.display.W = 1014;
  ws.display.H = 676;
}

// A number field of a record as 0 when it is rounding noise (below 1e-9 in size): a point on an
// axis is sin(360 degrees) * r away from it, whose last bits differ between CPUs' sinl.
inline std::string WithoutNoise(const std::string& record) {
  std::string out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = record.find(';', start);
    const std::string field = record.substr(start, end == std::string::npos ? std::string::npos : end - start);
    char* stop = nullptr;
    const double v = std::strtod(field.c_str(), &stop);
    const bool number = !field.empty() && stop == field.c_str() + field.size();
    out += number && std::fabs(v) < 1e-9 ? "0" : field;
    if (end == std::string::npos) return out;
    out += ';';
    start = end + 1;
  }
}

// The display list as text, with the footer line (date, time, file) replaced by a marker and the
// rounding noise of number fields (not of texts) as 0.
inline std::string NormalizedDisplayList(const Session& ws) {
  std::string out;
  for (const std::string& r : ws.display.records) {
    if (r.rfind("6;", 0) == 0)
      out += r.find("ORVAN VELK") != std::string::npos ? "6;<footer>\n" : r + "\n";
    else
      out += WithoutNoise(r) + "\n";
  }
  return out;
}

// Compares text with tests/graphics/golden/<name>.txt; VELK_BLESS=1 rewrites the golden file.
// On a difference the output is written beside it as <name>.out.txt.
inline void ExpectGolden(const std::string& name, const std::string& text) {
  // From the configured test data folder, not __FILE__: a compiler cache may make that relative.
  const std::filesystem::path dir = std::filesystem::path(VELK_TEST_DATA_DIR).parent_path() / "graphics" / "golden";
  const std::string golden = (dir / (name + ".txt")).string();
  const std::string actual = (dir / (name + ".out.txt")).string();
  if (const char* bless = std::getenv("VELK_BLESS"); bless && std::string(bless) == "1") {
    std::filesystem::create_directories(dir);
    writeFile(golden, text);
  }
  const std::string expected = readFile(golden);
  if (expected == text) {
    std::error_code ec;
    std::filesystem::remove(actual, ec);
    return;
  }
  writeFile(actual, text);
  size_t line = 1, i = 0;
  while (i < expected.size() && i < text.size() && expected[i] == text[i]) {
    if (text[i] == '\n') ++line;
    ++i;
  }
  ADD_FAILURE() << name << ": differs from " << golden << " at line " << line << " (output in " << actual
                << "; run with VELK_BLESS=1 to accept)";
}

}  // namespace velk::test
