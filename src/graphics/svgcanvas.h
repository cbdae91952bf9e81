// A replay target that writes the picture as an SVG document: the same drawing the graphics
// window shows, for documents and web pages, without any graphics library.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/displaylist.h"

namespace velk {

struct OutputContext;

class SvgCanvas : public Canvas {
 public:
  // A width x height pixel picture on the given background colour (0xRRGGBB).
  SvgCanvas(int width, int height, uint32_t background);

  void setPenColor(uint32_t rgb) override { pen_ = rgb; }
  void setBrushColor(uint32_t rgb) override { brush_ = rgb; }
  void setTextColor(uint32_t rgb) override { textColor_ = rgb; }
  void setPenStyle(int style) override { style_ = style; }
  void setPenWidth(int width) override { width_ = width < 1 ? 1 : width; }
  void moveTo(int x, int y) override { cx_ = x; cy_ = y; }
  void lineTo(int x, int y) override;
  void line(int x1, int y1, int x2, int y2) override;
  void ellipse(int left, int top, int right, int bottom) override;
  void arc(int left, int top, int right, int bottom, int ax, int ay, int ex, int ey) override;
  void polygon(const int* xy, int points) override;
  void text(int x, int y, const std::string& text, const FontSpec& font) override;

  // The finished document (UTF-8).
  std::string document() const;

 private:
  std::string strokeAttributes() const;

  int w_, h_;
  uint32_t background_;
  uint32_t pen_ = 0, brush_ = 0, textColor_ = 0;
  int style_ = 0, width_ = 1;
  int cx_ = 0, cy_ = 0;
  std::string body_;
};

// The drawing of the list as the window first shows it (unzoomed, ViewMapping::adopt), as an SVG
// document of the list's nominal size. status, when given, receives the replay's status.
std::string DisplayListSvg(const DisplayList& list, const ReplayStyle& style, ReplayStatus* status = nullptr);

// DisplayListSvg of ws.display with the screen's style; ws.abort is set when the list holds a
// degenerate window.
std::string RenderDisplayListSvg(OutputContext& ws);

}  // namespace velk
