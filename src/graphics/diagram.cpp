// The diagram layer: data-to-sheet mapping, nice ranges, clipping, axes with ticks, labels,
// titles, arrows and grid, the sheet header and the limits dialog.
#include "graphics/diagram.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dialogs/dialogs.h"
#include "draw/drawing.h"
#include "graphics/context.h"

namespace velk {

namespace {

constexpr Real kNaN = std::numeric_limits<Real>::quiet_NaN();
constexpr uint16_t kHelpDiagramLimits = 1950;

bool finite(Real v) { return std::isfinite(v); }
template <typename... T>
bool allFinite(T... v) {
  return (finite(v) && ...);
}

// One pass of the range rule; false when the numbers do not give a usable range.
bool niceOnce(Real lo, Real hi, int n, NiceScale& out) {
  if (std::fabs(hi - lo) < 1e-5L) {
    lo -= 1;
    hi += 1;
  }
  hi -= 1e-5L * (hi - lo);
  const Real raw = (hi - lo) / n;
  if (!(raw > 0) || !finite(raw)) return false;
  const Real p = std::pow(10.0L, std::floor(std::log10(raw)));
  const Real g = raw / p;
  const Real m = g < 1.5L ? 1 : g < 3 ? 2 : g < 8 ? 5 : 10;
  const Real step = m * p;
  const Real max = (std::floor(hi / step) + 1) * step;
  const Real min = std::floor(lo / step) * step;
  if (!allFinite(step, min, max) || !(step > 0) || !(max > min)) return false;
  // Guards against limits so large that the step vanishes in their precision.
  if ((max - min) / step > 10 * (n + 2)) return false;
  out = {min, max, step};
  return true;
}

}  // namespace

NiceScale NiceRange(Real lo, Real hi, int n) {
  if (!finite(lo)) lo = 0;
  if (!finite(hi)) hi = 0;
  if (hi < lo) std::swap(lo, hi);
  n = std::max(n, 1);
  NiceScale s;
  if (niceOnce(lo, hi, n, s)) return s;
  // Limits that are huge but close together: widen them by a thousandth of their size.
  const Real widen = std::max<Real>(1, std::max(std::fabs(lo), std::fabs(hi)) * 1e-3L);
  if (niceOnce(lo - widen, hi + widen, n, s)) return s;
  return {-1, 1, 0.5L};
}

int TickCount(Real min, Real max, Real step) {
  if (!allFinite(min, max, step) || !(step > 0) || max < min) return 0;
  const Real q = (max - min) / step;
  if (!finite(q) || q > kMaxTicks) return 0;
  // The ticks run up to max; the small tolerance absorbs the rounding of min + i * step.
  return static_cast<int>(std::ceil(q + 1 - 1e-5L));
}

void DiagramReset(OutputContext& ws) {
  DiagramState& d = ws.diagram;
  const DiagramLimits user = d.user;
  d = DiagramState{};
  d.user = user;
}

void SetArea(OutputContext& ws, Real W, Real H) {
  ws.diagram.W = W;
  ws.diagram.H = H;
}

void SetAreaOrigin(OutputContext& ws, Real X0, Real Y0) {
  ws.diagram.X0 = X0;
  ws.diagram.Y0 = Y0;
}

void SetRange(OutputContext& ws, Real xmin, Real xmax, Real ymin, Real ymax) {
  DiagramState& d = ws.diagram;
  d.xmin = xmin;
  d.xmax = xmax;
  d.ymin = ymin;
  d.ymax = ymax;
  d.dx = xmax - xmin;
  d.dy = ymax - ymin;
}

void ScaleRange(OutputContext& ws, Real fx, Real fy) {
  DiagramState& d = ws.diagram;
  if (finite(fx) && fx != 0) {
    d.xmin /= fx;
    d.xmax /= fx;
    d.xstep /= fx;
    d.dx = d.xmax - d.xmin;
  }
  if (finite(fy) && fy != 0) {
    d.ymin /= fy;
    d.ymax /= fy;
    d.dy = d.ymax - d.ymin;
  }
}

Real SheetX(const OutputContext& ws, Real x) {
  const DiagramState& d = ws.diagram;
  if (!finite(x) || !finite(d.dx) || d.dx == 0) return kNaN;
  const Real X = (x - d.xmin) / d.dx * d.W + d.X0;
  return finite(X) ? X : kNaN;
}

Real SheetY(const OutputContext& ws, Real y) {
  const DiagramState& d = ws.diagram;
  if (!finite(y) || !finite(d.dy) || d.dy == 0) return kNaN;
  const Real Y = (y - d.ymin) / d.dy * d.H + d.Y0;
  return finite(Y) ? Y : kNaN;
}

void DataMoveTo(OutputContext& ws, Real x, Real y) {
  const Real X = SheetX(ws, x), Y = SheetY(ws, y);
  if (allFinite(X, Y)) MoveTo(ws.drawing, X, Y);
  ws.diagram.curX = x;
  ws.diagram.curY = y;
}

bool ClipToRange(const DiagramState& d, Real& x1, Real& y1, Real& x2, Real& y2) {
  if (!allFinite(x1, y1, x2, y2, d.xmin, d.xmax, d.ymin, d.ymax)) return false;
  const Real xl = std::min(d.xmin, d.xmax), xh = std::max(d.xmin, d.xmax);
  const Real yl = std::min(d.ymin, d.ymax), yh = std::max(d.ymin, d.ymax);
  const Real ex = 0.01L * (xh - xl), ey = 0.01L * (yh - yl);
  auto inside = [&](Real x, Real y, Real mx, Real my) {
    return x >= xl - mx && x <= xh + mx && y >= yl - my && y <= yh + my;
  };
  if (inside(x1, y1, ex, ey) && inside(x2, y2, ex, ey)) return true;
  const bool in1 = inside(x1, y1, 0, 0), in2 = inside(x2, y2, 0, 0);
  if (!in1 && !in2) return false;

  // From the inside point A towards the outside point B; the segment leaves the (convex) range
  // where it meets the border farthest from A. Edges: right, bottom, left, top.
  const Real ax = in1 ? x1 : x2, ay = in1 ? y1 : y2;
  const Real bx = in1 ? x2 : x1, by = in1 ? y2 : y1;
  const Real edges[4][4] = {{xh, yl, xh, yh}, {xl, yl, xh, yl}, {xl, yl, xl, yh}, {xl, yh, xh, yh}};
  constexpr Real tol = 1e-12L;
  const Real rx = bx - ax, ry = by - ay;
  Real best = -1;
  for (const auto& e : edges) {
    const Real sx = e[2] - e[0], sy = e[3] - e[1];
    const Real den = rx * sy - ry * sx;
    if (den == 0 || !finite(den)) continue;
    const Real cx = e[0] - ax, cy = e[1] - ay;
    const Real t = (cx * sy - cy * sx) / den;
    const Real u = (cx * ry - cy * rx) / den;
    if (t >= -tol && t <= 1 + tol && u >= -tol && u <= 1 + tol && t > best) best = t;
  }
  if (best < 0) return false;
  best = std::min<Real>(best, 1);
  const Real ix = ax + best * rx, iy = ay + best * ry;
  if (!allFinite(ix, iy)) return false;
  if (in1) {
    x2 = ix;
    y2 = iy;
  } else {
    x1 = ix;
    y1 = iy;
  }
  return true;
}

void DataLineTo(OutputContext& ws, Real x, Real y) {
  DiagramState& d = ws.diagram;
  Real x1 = d.curX, y1 = d.curY, x2 = x, y2 = y;
  d.curX = x;
  d.curY = y;
  if (!ClipToRange(d, x1, y1, x2, y2)) return;
  DataLine(ws, x1, y1, x2, y2);
}

void DataLine(OutputContext& ws, Real x1, Real y1, Real x2, Real y2) {
  const Real X1 = SheetX(ws, x1), Y1 = SheetY(ws, y1), X2 = SheetX(ws, x2), Y2 = SheetY(ws, y2);
  if (allFinite(X1, Y1, X2, Y2)) Line(ws.drawing, X1, Y1, X2, Y2);
}

void DataCircle(OutputContext& ws, Real x, Real y, Real r) {
  const DiagramState& d = ws.diagram;
  const Real X = SheetX(ws, x), Y = SheetY(ws, y);
  const Real R = d.dy != 0 ? r / d.dy * d.H : kNaN;
  if (allFinite(X, Y, R)) Circle(ws.drawing, X, Y, std::fabs(R));
}

void DataCircleMm(OutputContext& ws, Real x, Real y, Real r) {
  const Real X = SheetX(ws, x), Y = SheetY(ws, y);
  if (allFinite(X, Y, r)) Circle(ws.drawing, X, Y, r);
}

void DataText(OutputContext& ws, const std::string& text, Real x, Real y) {
  const Real X = SheetX(ws, x), Y = SheetY(ws, y);
  if (allFinite(X, Y)) Text(ws.drawing, text, X, Y);
}

void DataTextStyle(OutputContext& ws, int font, Real angle, Real height, Real width) {
  const DiagramState& d = ws.diagram;
  if (d.dx == 0 || d.dy == 0) return;
  const Real h = height / d.dy * d.H, w = width / d.dx * d.W;
  // A text style without a positive finite height would make every later text unreadable
  // (or divide by zero in the width factor): the texts keep the style they have.
  if (!allFinite(h, w, angle) || !(h > 0)) return;
  TextStyle(ws.drawing, font, angle, h, w);
}

void ScaledTextStyle(OutputContext& ws, int font, Real angle, Real height, Real width) {
  const DiagramState& d = ws.diagram;
  const Real f = std::max(0.01L * d.H, 0.00625L * d.W);
  TextStyle(ws.drawing, font, angle, height * f, width * f);
}

void Arrow(OutputContext& ws, int kind, Real x, Real y, Real size) {
  if (!allFinite(x, y, size)) return;
  const Real h = size / 8;
  Real lx = 0, ly = 0, sx = 0, sy = 0;  // base corners with the larger and the smaller coordinate
  switch (kind) {
    case 1:
      lx = sx = x - size, ly = y + h, sy = y - h;
      break;
    case 2:
      ly = sy = y - size, lx = x + h, sx = x - h;
      break;
    case 3:
      lx = sx = x + size, ly = y + h, sy = y - h;
      break;
    case 4:
      ly = sy = y + size, lx = x + h, sx = x - h;
      break;
    default:
      return;
  }
  Solid(ws.drawing, x, y, lx, ly, sx, sy, x, y);
}

bool AskDiagramLimits(OutputContext& ws, const std::string& xTitle, const std::string& yTitle, const std::string& title,
                      const NiceScale& autoX, const NiceScale& autoY) {
  const NumberSettings& num = ws.num();
  DiagramLimits& u = ws.diagram.user;
  DiagramLimitsRequest q;
  q.caption = title;
  q.xTitle = xTitle;
  q.yTitle = yTitle;
  q.values = {fmtSig(num, u.xmin), fmtSig(num, u.xmax), fmtSig(num, u.ymin), fmtSig(num, u.ymax)};
  q.automatic = {fmtSig(num, autoX.min), fmtSig(num, autoX.max), fmtSig(num, autoY.min), fmtSig(num, autoY.max)};
  q.helpNumber = kHelpDiagramLimits;
  SetHelpNumber(ws, kHelpDiagramLimits);
  std::optional<DiagramLimitsResult> typed = ws.ui.show(q);
  if (!typed) {
    ws.abort = false;  // a cancelled limits dialog keeps the automatic ranges; it aborts nothing
    return false;
  }
  std::vector<std::string>& v = typed->values;
  v.resize(4);
  u = {parseReal(v[0]), parseReal(v[1]), parseReal(v[2]), parseReal(v[3])};
  return true;
}

void Axes(OutputContext& ws, const std::string& xTitle, const std::string& yTitle, const std::string& title,
          int placement, Real xlo, Real xhi, Real ylo, Real yhi) {
  const NumberSettings& num = ws.num();
  ws.drawing.kind = DrawingKind::Diagram;

  {
    const DiagramState& d = ws.diagram;
    SetLayer(ws.drawing, 4);
    ScaledTextStyle(ws, 2, 0, 3.5L, 2.5L);
    const Real L = static_cast<Real>(title.size());
    Text(ws.drawing, title, std::max(d.X0 + d.W / 2 - L * 3.5L / 2, d.X0), d.Y0 + d.H + 3);
  }

  SetLayer(ws.drawing, 17);
  NiceScale sx = NiceRange(xlo, xhi, 6), sy = NiceRange(ylo, yhi, 6);
  // A batch or /NOGUI run (two or more command-line parameters) never asks.
  if (ws.diagram.offerLimits && ws.config.askDiagramLimits && !ws.start.batchCad && !ws.start.noGui &&
      AskDiagramLimits(ws, xTitle, yTitle, title, sx, sy)) {
    const DiagramLimits& u = ws.diagram.user;
    sx = NiceRange(u.xmin, u.xmax, 6);
    sy = NiceRange(u.ymin, u.ymax, 6);
  }
  SetRange(ws, sx.min, sx.max, sy.min, sy.max);
  ws.diagram.xstep = sx.step;

  const DiagramState& d = ws.diagram;
  const int nx = TickCount(d.xmin, d.xmax, sx.step);
  const int ny = TickCount(d.ymin, d.ymax, sy.step);

  // x axis with its arrow, ticks and labels.
  if (d.ymin <= 0 && 0 <= d.ymax) {
    const Real end = d.xmax + 0.05L * d.dx;
    DataLine(ws, d.xmin, 0, end, 0);
    Arrow(ws, 1, SheetX(ws, end), SheetY(ws, 0), 0.04L * d.W);
  }
  ScaledTextStyle(ws, 2, 0, 2.3L, 1.9L);
  for (int i = 0; i < nx; ++i) {
    const Real v = d.xmin + i * sx.step;
    DataLine(ws, v, d.ymin, v, d.ymin - 0.01L * d.dy);
    DataText(ws, fmtAuto(num, v), v - 0.03L * d.xmax, d.ymin - 0.07L * d.dy);
  }
  if (placement == 0 || placement == 1)
    DataText(ws, xTitle, 1.06L * d.xmax, d.ymin - 0.07L * d.dy);
  else if (placement == 2)
    DataText(ws, xTitle, 1.01L * d.xmax, d.ymin + 0.03L * d.dy);

  // y axis with its arrow, ticks, labels and title.
  if (d.xmin <= 0 && 0 <= d.xmax) {
    const Real end = d.ymax + 0.05L * d.dy;
    DataLine(ws, 0, d.ymin, 0, end);
    Arrow(ws, 2, SheetX(ws, 0), SheetY(ws, end), 0.04L * d.H);
  }
  ScaledTextStyle(ws, 2, 0, 2.3L, 1.9L);
  for (int i = 0; i < ny; ++i) {
    const Real v = d.ymin + i * sy.step;
    DataLine(ws, d.xmin, v, d.xmin - 0.01L * d.dx, v);
    DataText(ws, fmtAuto(num, v), d.xmin - 0.1L * d.dx, v - 0.01L * d.dy);
  }
  DataText(ws, yTitle, d.xmin - 0.1L * d.dx, d.ymax + 0.07L * d.dy);

  // Dotted grid on the ticks.
  SetLayer(ws.drawing, 17);
  SetLineStyle(ws.drawing, 1);
  for (int i = 0; i < nx; ++i) {
    const Real v = d.xmin + i * sx.step;
    DataLine(ws, v, d.ymin, v, d.ymax);
  }
  for (int i = 0; i < ny; ++i) {
    const Real v = d.ymin + i * sy.step;
    DataLine(ws, d.xmin, v, d.xmax, v);
  }
}

void DiagramHeader(OutputContext& ws) {
  const Spring& s = ws.spring;
  SetLayer(ws.drawing, 19);
  TextStyle(ws.drawing, 2, 0, 2.2L, 1.7L);
  MoveTo(ws.drawing, 78, 116);
  TextLine(ws.drawing, s.titleLine);
  TextLine(ws.drawing, s.bemerk1);
  TextLine(ws.drawing, s.bemerk2);
}

}  // namespace velk
