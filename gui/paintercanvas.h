// The core's drawing surface on a QPainter: the window's cached image, a printer page, a PDF or
// PNG picture.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPen>
#include <QPoint>

#include "base/canvas.h"

namespace velk::gui {

class PainterCanvas : public Canvas {
 public:
  // The painter stays the caller's; antialias for screen and pictures, not needed on paper.
  explicit PainterCanvas(QPainter& painter, bool antialias = true);

  void setPenColor(uint32_t rgb) override;
  void setBrushColor(uint32_t rgb) override;
  void setTextColor(uint32_t rgb) override;
  void setPenStyle(int style) override;
  void setPenWidth(int width) override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void line(int x1, int y1, int x2, int y2) override;
  void ellipse(int left, int top, int right, int bottom) override;
  void arc(int left, int top, int right, int bottom, int ax, int ay, int ex, int ey) override;
  void polygon(const int* xy, int points) override;
  void text(int x, int y, const std::string& text, const FontSpec& font) override;

 private:
  void applyPen();
  QPainter& p_;
  QPen pen_;
  QColor brush_, text_;
  QPoint pos_;
  // The font of the last text, kept while the want stays the same (texts come in runs).
  FontSpec lastFont_;
  QFont qfont_;
  qreal ascent_ = 0;
  bool haveFont_ = false;
};

// 0xRRGGBB as a colour.
inline QColor rgbColor(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace velk::gui
