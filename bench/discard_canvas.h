// A canvas that draws nothing: what the replay itself costs, without any painting.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "base/canvas.h"

namespace velk::bench {

class DiscardCanvas : public Canvas {
 public:
  void setPenColor(uint32_t) override {}
  void setBrushColor(uint32_t) override {}
  void setTextColor(uint32_t) override {}
  void setPenStyle(int) override {}
  void setPenWidth(int) override {}
  void moveTo(int, int) override {}
  void lineTo(int, int) override {}
  void line(int x1, int, int, int) override { benchmark::DoNotOptimize(x1); }
  void ellipse(int, int, int, int) override {}
  void arc(int, int, int, int, int, int, int, int) override {}
  void polygon(const int*, int) override {}
  void text(int, int, const std::string&, const FontSpec&) override {}
};

}  // namespace velk::bench
