#include "gui/paintercanvas.h"

#include <QFontMetricsF>
#include <QPolygon>
#include <cmath>
#include <vector>

#include "gui/text.h"

namespace velk::gui {

PainterCanvas::PainterCanvas(QPainter& painter, bool antialias) : p_(painter) {
  p_.setRenderHint(QPainter::Antialiasing, antialias);
  p_.setRenderHint(QPainter::TextAntialiasing, true);
  pen_.setColor(Qt::black);
  pen_.setWidth(1);
  pen_.setCapStyle(Qt::FlatCap);
  pen_.setJoinStyle(Qt::MiterJoin);
  brush_ = Qt::black;
  text_ = Qt::black;
  applyPen();
}

void PainterCanvas::applyPen() {
  p_.setPen(pen_);
  p_.setBrush(Qt::NoBrush);
}

void PainterCanvas::setPenColor(uint32_t rgb) {
  pen_.setColor(rgbColor(rgb));
  applyPen();
}
void PainterCanvas::setBrushColor(uint32_t rgb) { brush_ = rgbColor(rgb); }
void PainterCanvas::setTextColor(uint32_t rgb) { text_ = rgbColor(rgb); }

void PainterCanvas::setPenStyle(int style) {
  switch (style) {
    case 1:
      pen_.setStyle(Qt::DotLine);
      break;
    case 2:
      pen_.setStyle(Qt::DashDotLine);
      break;
    case 3:
      pen_.setStyle(Qt::DashLine);
      break;
    default:
      pen_.setStyle(Qt::SolidLine);
      break;
  }
  applyPen();
}

void PainterCanvas::setPenWidth(int width) {
  // Width 0 and 1 are the thinnest line the device draws.
  pen_.setWidth(width <= 1 ? 0 : width);
  applyPen();
}

void PainterCanvas::moveTo(int x, int y) { pos_ = QPoint(x, y); }

void PainterCanvas::lineTo(int x, int y) {
  p_.drawLine(pos_, QPoint(x, y));
  pos_ = QPoint(x, y);
}

void PainterCanvas::line(int x1, int y1, int x2, int y2) {
  p_.drawLine(x1, y1, x2, y2);
  pos_ = QPoint(x2, y2);
}

void PainterCanvas::ellipse(int left, int top, int right, int bottom) {
  p_.drawEllipse(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
}

void PainterCanvas::arc(int left, int top, int right, int bottom, int ax, int ay, int ex, int ey) {
  const QRectF box(QPointF(left, top), QPointF(right, bottom));
  const QPointF c = box.center();
  // Angles of the two rays, counter-clockwise from the x axis as seen on the screen (y down).
  const double a = std::atan2(c.y() - ay, ax - c.x()) * 180.0 / M_PI;
  const double e = std::atan2(c.y() - ey, ex - c.x()) * 180.0 / M_PI;
  double sweep = std::fmod(e - a, 360.0);
  if (sweep <= 0) sweep += 360.0;
  p_.drawArc(box, static_cast<int>(std::lround(a * 16)), static_cast<int>(std::lround(sweep * 16)));
}

void PainterCanvas::polygon(const int* xy, int points) {
  if (points <= 0) return;
  QPolygon poly(points);
  for (int i = 0; i < points; ++i) {
    const std::ptrdiff_t k = 2 * static_cast<std::ptrdiff_t>(i);
    poly.setPoint(i, xy[k], xy[k + 1]);
  }
  p_.setBrush(brush_);
  p_.drawPolygon(poly);
  p_.setBrush(Qt::NoBrush);
}

void PainterCanvas::text(int x, int y, const std::string& text, const FontSpec& want) {
  if (text.empty() || want.cellHeight <= 0) return;
  const bool same = haveFont_ && want.face == lastFont_.face && want.cellHeight == lastFont_.cellHeight &&
                    want.charWidth == lastFont_.charWidth && want.weight == lastFont_.weight &&
                    want.italic == lastFont_.italic && want.underline == lastFont_.underline &&
                    want.strikeOut == lastFont_.strikeOut;
  if (!same) {
    QFont f(QString::fromStdString(want.face));
    f.setStyleHint(QFont::SansSerif);
    // The cell height is ascent + descent: the pixel size that gives it.
    f.setPixelSize(std::max(1, want.cellHeight));
    QFontMetricsF m(f, p_.device());
    if (m.height() > 0)
      f.setPixelSize(std::max(1, static_cast<int>(std::lround(want.cellHeight * want.cellHeight / m.height()))));
    f.setWeight(want.weight >= 600 ? QFont::Bold : QFont::Normal);
    f.setItalic(want.italic);
    f.setUnderline(want.underline);
    f.setStrikeOut(want.strikeOut);
    QFontMetricsF fm(f, p_.device());
    // The character width is an average width: stretch the face to it.
    if (want.charWidth > 0 && fm.averageCharWidth() > 0) {
      const int stretch = static_cast<int>(std::lround(100.0 * want.charWidth / fm.averageCharWidth()));
      f.setStretch(std::clamp(stretch, 1, 4000));
      fm = QFontMetricsF(f, p_.device());
    }
    qfont_ = f;
    ascent_ = fm.ascent();
    lastFont_ = want;
    haveFont_ = true;
  }
  p_.save();
  p_.setFont(qfont_);
  p_.setPen(text_);
  p_.translate(x, y);
  if (want.escapement != 0) p_.rotate(-want.escapement / 10.0);
  p_.drawText(QPointF(0, ascent_), qsAnsi(text));
  p_.restore();
}

}  // namespace velk::gui
