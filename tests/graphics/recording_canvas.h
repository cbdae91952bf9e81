// Test canvas that writes every drawing call as one text line, so a replay can be compared
// with an expected transcript.
#pragma once

#include <cstdio>
#include <string>

#include "draw/displaylist.h"

namespace velk::test {

class RecordingCanvas : public Canvas {
 public:
  std::string log;

  void setPenColor(uint32_t rgb) override { add("pen " + hex(rgb)); }
  void setBrushColor(uint32_t rgb) override { add("brush " + hex(rgb)); }
  void setTextColor(uint32_t rgb) override { add("textcolor " + hex(rgb)); }
  void setPenStyle(int style) override { add("style " + std::to_string(style)); }
  void setPenWidth(int width) override { add("width " + std::to_string(width)); }
  void moveTo(int x, int y) override { add("moveto " + nums({x, y})); }
  void lineTo(int x, int y) override { add("lineto " + nums({x, y})); }
  void line(int x1, int y1, int x2, int y2) override { add("line " + nums({x1, y1, x2, y2})); }
  void ellipse(int l, int t, int r, int b) override { add("ellipse " + nums({l, t, r, b})); }
  void arc(int l, int t, int r, int b, int ax, int ay, int ex, int ey) override {
    add("arc " + nums({l, t, r, b, ax, ay, ex, ey}));
  }
  void polygon(const int* xy, int points) override {
    std::string s = "polygon";
    for (int i = 0; i < 2 * points; ++i) s += " " + std::to_string(xy[i]);
    add(s);
  }
  void text(int x, int y, const std::string& t, const FontSpec& f) override {
    add("text " + nums({x, y}) + " h" + std::to_string(f.cellHeight) + " w" + std::to_string(f.charWidth) + " e" +
        std::to_string(f.escapement) + " [" + t + "]");
  }
  void pause(int ms) override { add("pause " + std::to_string(ms)); }

 private:
  void add(const std::string& s) { log += s + "\n"; }
  static std::string hex(uint32_t v) {
    char b[8];
    std::snprintf(b, sizeof b, "%06X", v);
    return b;
  }
  static std::string nums(std::initializer_list<int> v) {
    std::string s;
    for (int n : v) s += (s.empty() ? "" : " ") + std::to_string(n);
    return s;
  }
};

// Canvas that throws everything away (benchmarks, fuzzing).
class NullCanvas : public Canvas {
 public:
  void setPenColor(uint32_t) override {}
  void setBrushColor(uint32_t) override {}
  void setTextColor(uint32_t) override {}
  void setPenStyle(int) override {}
  void setPenWidth(int) override {}
  void moveTo(int, int) override {}
  void lineTo(int, int) override {}
  void line(int, int, int, int) override {}
  void ellipse(int, int, int, int) override {}
  void arc(int, int, int, int, int, int, int, int) override {}
  void polygon(const int*, int) override {}
  void text(int, int, const std::string&, const FontSpec&) override {}
};

}  // namespace velk::test
