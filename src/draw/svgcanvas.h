// A replay target that writes the picture as an SVG document: the same drawing the graphics
// window shows, for documents and web pages, without any graphics library.
#pragma once

#include <cstdint>
#include <string>

#include "draw/displaylist.h"

namespace velk {

// Text geometry. A replay hands a canvas the top-left corner of a text's cell, the cell height
// (ascent + descent) and an average character width, the way a Windows font is made; the window
// (gui/paintercanvas.cpp) sizes its font so that ascent + descent fill the cell, draws at the
// baseline one ascent below the corner and stretches the face to the width. An SVG viewer
// neither places by the top (dominant-baseline is not honoured everywhere) nor fits a width to
// every face (textLength is not honoured everywhere either), so the document states a baseline
// and a stretch that it computes itself, with fixed fractions that suit Arial, Liberation Sans
// (Arial's metrics) and DejaVu Sans (fontconfig's usual stand-in for Arial):
// - ascent + descent is 1.117 em for Arial, 1.164 em for DejaVu Sans: the font size is
//   cell / 1.15, so Arial fills 97 % of the cell and DejaVu Sans 101 %;
inline constexpr double kSvgCellPerEm = 1.15;
// - ascent is 0.905 / 1.117 = 0.81 of the cell for Arial, 0.928 / 1.164 = 0.797 for DejaVu Sans:
//   the baseline lies 0.8 cells below the top;
inline constexpr double kSvgAscentPerCell = 0.8;
// - the average character width is 0.441 em for Arial, 0.507 em for DejaVu Sans, the wider: the
//   stretch maps 0.507 em to the character width, so a text is never wider than the window's
//   with either face, and columns laid out for the width do not run into each other.
inline constexpr double kSvgAverageCharWidth = 0.507;

class SvgCanvas : public Canvas {
 public:
  // A width x height pixel picture on the given background colour (0xRRGGBB).
  SvgCanvas(int width, int height, uint32_t background);

  void setPenColor(uint32_t rgb) override { pen_ = rgb; }
  void setBrushColor(uint32_t rgb) override { brush_ = rgb; }
  void setTextColor(uint32_t rgb) override { textColor_ = rgb; }
  void setPenStyle(int style) override { style_ = style; }
  void setPenWidth(int width) override { width_ = width < 1 ? 1 : width; }
  void moveTo(int x, int y) override {
    cx_ = x;
    cy_ = y;
  }
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

}  // namespace velk
