// SVG output of a display-list replay: one element per drawing call, in pixel coordinates.
// Texts arrive in the Windows code page and leave as escaped UTF-8.
#include "draw/svgcanvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <numbers>

#include "base/codepage.h"
#include "base/numfmt.h"
#include "draw/viewmapping.h"

namespace velk {
namespace {

std::string colorText(uint32_t rgb) {
  char b[8];
  std::snprintf(b, sizeof b, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFFu));
  return b;
}

std::string num(double v, int decimals = 2) {
  if (!std::isfinite(v)) v = 0;
  NumberSettings plain;  // "." whatever the user's setting
  std::string s = fmtFixed(plain, 1, decimals, static_cast<Real>(v));
  s = trim(s);
  while (s.find('.') != std::string::npos && (s.back() == '0' || s.back() == '.')) {
    const bool point = s.back() == '.';
    s.pop_back();
    if (point) break;
  }
  return s == "-0" || s.empty() ? "0" : s;
}

std::string num(int v) { return std::to_string(v); }

// Text content for XML: markup characters escaped, characters XML 1.0 forbids dropped.
std::string xmlText(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (unsigned char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        if (c < 0x20 && c != '\t') break;
        out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

SvgCanvas::SvgCanvas(int width, int height, uint32_t background)
    : w_(width < 1 ? 1 : width), h_(height < 1 ? 1 : height), background_(background) {}

std::string SvgCanvas::strokeAttributes() const {
  std::string s = " stroke=\"" + colorText(pen_) + "\"";
  if (width_ != 1) s += " stroke-width=\"" + num(width_) + "\"";
  switch (style_) {
    case 1:
      s += " stroke-dasharray=\"1,3\"";
      break;
    case 2:
      s += " stroke-dasharray=\"8,3,1,3\"";
      break;
    case 3:
      s += " stroke-dasharray=\"6,4\"";
      break;
    default:
      break;
  }
  return s;
}

void SvgCanvas::lineTo(int x, int y) {
  line(cx_, cy_, x, y);
  cx_ = x;
  cy_ = y;
}

void SvgCanvas::line(int x1, int y1, int x2, int y2) {
  body_ += "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" + num(y2) + "\"" +
           strokeAttributes() + "/>\n";
}

void SvgCanvas::ellipse(int left, int top, int right, int bottom) {
  const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
  const double rx = std::abs(right - left) / 2.0, ry = std::abs(bottom - top) / 2.0;
  body_ += "<ellipse cx=\"" + num(cx) + "\" cy=\"" + num(cy) + "\" rx=\"" + num(rx) + "\" ry=\"" + num(ry) +
           "\" fill=\"none\"" + strokeAttributes() + "/>\n";
}

void SvgCanvas::arc(int left, int top, int right, int bottom, int ax, int ay, int ex, int ey) {
  const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
  const double rx = std::abs(right - left) / 2.0, ry = std::abs(bottom - top) / 2.0;
  if (rx <= 0 || ry <= 0) return;
  // Angles as they appear with y downwards; counter-clockwise on the screen means decreasing.
  const double a0 = std::atan2(ay - cy, ax - cx), a1 = std::atan2(ey - cy, ex - cx);
  double sweep = a0 - a1;
  while (sweep <= 0) sweep += 2 * std::numbers::pi;
  while (sweep > 2 * std::numbers::pi) sweep -= 2 * std::numbers::pi;
  if (sweep >= 2 * std::numbers::pi - 1e-9) return ellipse(left, top, right, bottom);
  const double x0 = cx + rx * std::cos(a0), y0 = cy + ry * std::sin(a0);
  const double x1 = cx + rx * std::cos(a1), y1 = cy + ry * std::sin(a1);
  body_ += "<path d=\"M" + num(x0) + "," + num(y0) + " A" + num(rx) + "," + num(ry) + " 0 " +
           (sweep > std::numbers::pi ? "1" : "0") + ",0 " + num(x1) + "," + num(y1) + "\" fill=\"none\"" +
           strokeAttributes() + "/>\n";
}

void SvgCanvas::polygon(const int* xy, int points) {
  if (points < 1) return;
  std::string p;
  for (std::ptrdiff_t i = 0; i < points; ++i) p += (i ? " " : "") + num(xy[2 * i]) + "," + num(xy[2 * i + 1]);
  body_ += "<polygon points=\"" + p + "\" fill=\"" + colorText(brush_) + "\"" + strokeAttributes() + "/>\n";
}

void SvgCanvas::text(int x, int y, const std::string& text, const FontSpec& font) {
  const std::string t = xmlText(win1252ToUtf8(text));
  if (t.empty()) return;
  const double cell = font.cellHeight < 1 ? 1 : font.cellHeight;
  const double em = cell / kSvgCellPerEm;
  // Stretched to the character width along the text's own direction, as the window's font is.
  double stretch = font.charWidth > 0 ? font.charWidth / (kSvgAverageCharWidth * em) : 1.0;
  stretch = std::clamp(stretch, 0.01, 40.0);
  // The transform carries the reference point, so rotation and stretch are about the text's
  // top-left corner; the baseline then lies at the ascent below it.
  std::string transform = "translate(" + num(x) + " " + num(y) + ")";
  if (font.escapement != 0) transform += " rotate(" + num(-font.escapement / 10.0) + ")";
  if (num(stretch, 3) != "1") transform += " scale(" + num(stretch, 3) + " 1)";
  std::string e = "<text transform=\"" + transform + "\" y=\"" + num(kSvgAscentPerCell * cell) + "\" font-size=\"" +
                  num(em) + "\" font-family=\"" + xmlText(win1252ToUtf8(font.face.empty() ? "Arial" : font.face)) +
                  "\" fill=\"" + colorText(textColor_) + "\"";
  if (font.weight >= 700) e += " font-weight=\"bold\"";
  if (font.italic) e += " font-style=\"italic\"";
  if (font.underline || font.strikeOut)
    e += std::string(" text-decoration=\"") + (font.underline ? "underline" : "") +
         (font.underline && font.strikeOut ? " " : "") + (font.strikeOut ? "line-through" : "") + "\"";
  e += " xml:space=\"preserve\">" + t + "</text>\n";
  body_ += e;
}

std::string SvgCanvas::document() const {
  std::string d = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  d += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + num(w_) + "\" height=\"" + num(h_) +
       "\" viewBox=\"0 0 " + num(w_) + " " + num(h_) + "\" stroke-linecap=\"round\">\n";
  d += "<rect x=\"0\" y=\"0\" width=\"" + num(w_) + "\" height=\"" + num(h_) + "\" fill=\"" + colorText(background_) +
       "\"/>\n";
  d += body_;
  d += "</svg>\n";
  return d;
}

std::string DisplayListSvg(const DisplayList& list, const ReplayStyle& style, ReplayStatus* status) {
  ViewMapping view;
  view.adopt(list);
  SvgCanvas canvas(list.W + 1, list.H + 1, style.background);
  const ReplayStatus st = Replay(list, view, canvas, style);
  if (status) *status = st;
  return canvas.document();
}

}  // namespace velk
