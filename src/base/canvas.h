// A drawing surface in device pixels (window, image, printer page, SVG file): what the display
// list is replayed onto and what the print and picture services hand to the core.
#pragma once

#include <cstdint>
#include <string>

namespace velk {

// Pen styles: 0 solid, 1 dotted, 2 dash-dot, 3 dashed.
struct FontSpec {
  std::string face;
  int cellHeight = 0;  // pixels
  int charWidth = 0;   // pixels
  int escapement = 0;  // tenths of a degree
  int weight = 100;
  bool italic = false, underline = false, strikeOut = false;
};

// Drawing target of a replay (window or printer). Coordinates are device pixels.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void setPenColor(uint32_t rgb) = 0;
  virtual void setBrushColor(uint32_t rgb) = 0;
  virtual void setTextColor(uint32_t rgb) = 0;
  virtual void setPenStyle(int style) = 0;
  virtual void setPenWidth(int width) = 0;
  virtual void moveTo(int x, int y) = 0;
  virtual void lineTo(int x, int y) = 0;
  virtual void line(int x1, int y1, int x2, int y2) = 0;
  // Unfilled ellipse in the bounding rectangle.
  virtual void ellipse(int left, int top, int right, int bottom) = 0;
  // Counter-clockwise arc in the bounding rectangle from the ray through (ax, ay) to the ray
  // through (ex, ey).
  virtual void arc(int left, int top, int right, int bottom, int ax, int ay, int ex, int ey) = 0;
  // Filled polygon (brush colour) through the points in order.
  virtual void polygon(const int* xy, int points) = 0;
  // Text (Windows-1252 bytes) with its top-left reference point at (x, y), transparent background.
  virtual void text(int x, int y, const std::string& text, const FontSpec& font) = 0;
  // A pause record of 0..10000 ms. The replay never waits itself: a canvas that shows an
  // animation may, any other (printer, file, a window that paints from an image) ignores it.
  virtual void pause(int ms) { (void)ms; }
};

}  // namespace velk
