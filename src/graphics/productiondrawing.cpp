// The production drawing: planning the sheet, the dimensioned front and side views, the table of
// technical data, the revision table and the title block.
#include "graphics/productiondrawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "base/codepage.h"
#include "calc/fatigue.h"
#include "dialogs/dialogs.h"
#include "draw/drawing.h"
#include "draw/springpath.h"
#include "graphics/context.h"
#include "graphics/output.h"
#include "graphics/springdrawing.h"
#include "graphics/views.h"

namespace velk {

namespace {

constexpr Real kPi = 3.141592653589793238462643383279502884L;
constexpr Real kDeg = kPi / 180;

// Sheet layout on paper, millimetres: frame margins (filing edge on the left), the bottom band
// with the revision table and the title block, and the data table on the right.
constexpr Real kMarginLeft = 20;
constexpr Real kMargin = 10;
constexpr Real kTitleWidth = 180;
constexpr Real kBandHeight = 42;
constexpr Real kTableWidth = 85;
constexpr Real kRowHeight = 6;
constexpr Real kDataRowHeight = 5;
// Room around the views for dimensions, and between front and side view (paper mm).
constexpr Real kDimRoom = 22;
constexpr Real kViewGap = 25;
// Dimension details (paper mm).
constexpr Real kDimText = 3.5L;
constexpr Real kArrow = 3;
constexpr Real kArrowWidth = 1;
constexpr Real kExtGap = 1.5L;
constexpr Real kExtOver = 2;
// Text heights of the sheet (paper mm) and the width/height ratio of every text.
constexpr Real kSmallText = 1.8L;
constexpr Real kTableText = 2.5L;
constexpr Real kTitleText = 3.5L;
constexpr Real kWidthRatio = 0.75L;
// Revision rows below the title block band (the header row included).
constexpr int kRevisionRows = 7;
// Chords of the spiral edges: 5 degrees, coarser beyond this many per edge.
constexpr long kMaxChords = 3600;

template <typename... T>
bool allFinite(T... v) {
  return (std::isfinite(v) && ...);
}

struct Box {
  Real x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// The extent of the spring's outline in the front view.
Box OutlineBox(const SpringPath& path, Real t) {
  Box b{1e300L, 1e300L, -1e300L, -1e300L};
  for (const PathPoint& p : PathPolyline(path, 5, 4000)) {
    b.x1 = std::min(b.x1, p.x);
    b.y1 = std::min(b.y1, p.y);
    b.x2 = std::max(b.x2, p.x);
    b.y2 = std::max(b.y2, p.y);
  }
  b.x1 -= t / 2, b.y1 -= t / 2, b.x2 += t / 2, b.y2 += t / 2;
  return b;
}

// The side view's width: the strip width, or the wire diameter.
Real SideWidth(const Spring& s) { return s.crossSection == 2 ? s.t : s.b; }

struct PaperArea {
  Real u1, v1, u2, v2;
};

PaperArea ViewArea(Real paperWidth, Real paperHeight) {
  return {kMarginLeft, kMargin + kBandHeight, paperWidth - kMargin - kTableWidth, paperHeight - kMargin};
}

// Text with its own placement: justification is done here along the text's direction, since the
// drawing layer shifts justified texts along x and y only.
class Sheet {
 public:
  Sheet(OutputContext& ws, const ProductionSheet& sheet) : ws_(ws), sh_(sheet) {}

  Real k() const { return sh_.k(); }
  Real X(Real u) const { return sh_.modelX(u); }
  Real Y(Real v) const { return sh_.modelY(v); }
  const NumberSettings& num() const { return ws_.num(); }
  OutputContext& ws() { return ws_; }

  // Text of paper height h at model point (x, y), angle in degrees; hj 0 left, 1 centre, 2 right;
  // vj 0 bottom, 1 middle, 2 top.
  void text(const std::string& s, Real x, Real y, Real hPaper, Real angle = 0, int hj = 0, int vj = 0) {
    if (s.empty()) return;
    const Real h = hPaper * k();
    TextStyle(ws_.drawing, 2, angle, h, kWidthRatio * h);
    SetTextJustify(ws_.drawing, 0, 0);
    const Real w = static_cast<Real>(s.size()) * h * ws_.drawing.text.widthFactor;
    const Real c = std::cos(angle * kDeg), sn = std::sin(angle * kDeg);
    const Real along = hj == 1 ? -w / 2 : hj == 2 ? -w : 0;
    const Real up = vj == 1 ? -h / 2 : vj == 2 ? -h : 0;
    Text(ws_.drawing, s, x + along * c - up * sn, y + along * sn + up * c);
  }
  // Text at a paper position of the sheet. With a room (paper mm) a longer text is drawn smaller,
  // down to 70 % of its height, and then cut to fit.
  void paperText(const std::string& s, Real u, Real v, Real hPaper, int hj = 0, int vj = 0, Real room = 0) {
    if (room > 0 && !s.empty()) {
      const Real perChar = ws_.config.cadTextWidth * kWidthRatio;
      const Real need = static_cast<Real>(s.size()) * hPaper * perChar;
      if (need > room && perChar > 0) {
        const Real h = std::max(0.7L * hPaper, room / (static_cast<Real>(s.size()) * perChar));
        const auto fit = static_cast<int>(room / (h * perChar));
        text(leftStr(s, std::max(1, fit)), X(u), Y(v), h, 0, hj, vj);
        return;
      }
    }
    text(s, X(u), Y(v), hPaper, 0, hj, vj);
  }
  void paperLine(Real u1, Real v1, Real u2, Real v2) { Line(ws_.drawing, X(u1), Y(v1), X(u2), Y(v2)); }
  void paperRect(Real u1, Real v1, Real u2, Real v2) { Rectangle(ws_.drawing, X(u1), Y(v1), X(u2), Y(v2)); }

  // Filled arrow head with its tip at (x, y) pointing in direction (dx, dy) (unit).
  void arrow(Real x, Real y, Real dx, Real dy) {
    const Real l = kArrow * k(), w = kArrowWidth * k() / 2;
    const Real bx = x - l * dx, by = y - l * dy;
    Solid(ws_.drawing, x, y, x, y, bx - w * dy, by + w * dx, bx + w * dy, by - w * dx);
  }

  // Dimension between a and b: extension lines from the points, the dimension line at offset
  // `off` (model units, to the left of a -> b), arrows inside (outside when the line is shorter
  // than two arrows) and the text above the line's middle, readable from below or the right.
  void dimension(PathPoint a, PathPoint b, Real off, const std::string& label) {
    const Real len = std::hypot(b.x - a.x, b.y - a.y);
    if (!(len > 0) || !std::isfinite(len)) return;
    const Real dx = (b.x - a.x) / len, dy = (b.y - a.y) / len;
    const Real nx = -dy, ny = dx;
    const Real ax = a.x + nx * off, ay = a.y + ny * off, bx = b.x + nx * off, by = b.y + ny * off;
    const Real sgn = off >= 0 ? 1 : -1;
    if (std::fabs(off) > kExtGap * k()) {
      const Real g = sgn * kExtGap * k(), o = sgn * kExtOver * k();
      Line(ws_.drawing, a.x + nx * g, a.y + ny * g, ax + nx * o, ay + ny * o);
      Line(ws_.drawing, b.x + nx * g, b.y + ny * g, bx + nx * o, by + ny * o);
    }
    if (len > 2.5L * kArrow * k()) {
      Line(ws_.drawing, ax, ay, bx, by);
      arrow(ax, ay, -dx, -dy);
      arrow(bx, by, dx, dy);
    } else {
      const Real l = 2 * kArrow * k();
      Line(ws_.drawing, ax - dx * l, ay - dy * l, bx + dx * l, by + dy * l);
      arrow(ax, ay, dx, dy);
      arrow(bx, by, -dx, -dy);
    }
    Real angle = std::atan2(dy, dx) / kDeg;
    Real tx = nx, ty = ny;
    if (angle > 90.001L || angle <= -89.999L) {
      angle += angle > 0 ? -180 : 180;
      tx = -tx, ty = -ty;
    }
    // The text stands on the side of the line away from the measured points when that side is
    // "up" for the reader, else on the other side.
    const Real lift = kExtGap * k();
    const Real mx = (ax + bx) / 2, my = (ay + by) / 2;
    if (sgn * (nx * tx + ny * ty) >= 0)
      text(label, mx + tx * lift, my + ty * lift, kDimText, angle, 1, 0);
    else
      text(label, mx - tx * lift, my - ty * lift, kDimText, angle, 1, 2);
  }

  // Radius of an arc: a leader from outside through the arc's middle to the centre side, arrow on
  // the arc, text at the outer end.
  void radius(const PathPiece& arc, const std::string& label) {
    const Real mid = (arc.a0 + arc.a1) / 2 * kDeg;
    const Real cx = std::cos(mid), cy = std::sin(mid);
    const Real px = arc.centre.x + arc.r * cx, py = arc.centre.y + arc.r * cy;
    const Real out = 10 * k();
    const Real ex = px + cx * out, ey = py + cy * out;
    Line(ws_.drawing, arc.centre.x, arc.centre.y, ex, ey);
    arrow(px, py, cx, cy);
    text(label, ex + (cx >= 0 ? 1 : -1) * k(), ey, kDimText, 0, cx >= 0 ? 0 : 2, 1);
  }

 private:
  OutputContext& ws_;
  const ProductionSheet& sh_;
};

std::string lenU(const NumberSettings& n, Real x) { return fmtLength(n, x) + " " + unitLength(n); }

// ---- the views ----

// One piece of the centre line (layer 1) or one of its edges at side * t/2 (layer 5).
void DrawPiece(OutputContext& ws, const PathPiece& p, Real side, Real t) {
  const Real off = side * t / 2;
  switch (p.kind) {
    case PathPiece::Kind::Line: {
      const PathPoint d = PieceTangent(p, 0);
      Line(ws.drawing, p.from.x - d.y * off, p.from.y + d.x * off, p.to.x - d.y * off, p.to.y + d.x * off);
      return;
    }
    case PathPiece::Kind::Arc: {
      // The left side of a counter-clockwise arc is towards its centre.
      const Real r = p.r + (p.a1 >= p.a0 ? -off : off);
      if (!(r > 0)) return;
      Real lo = std::min(p.a0, p.a1), hi = std::max(p.a0, p.a1);
      const Real shift = std::floor(lo / 360) * 360;
      lo -= shift, hi -= shift;
      if (hi > 360) hi -= 360;
      Arc(ws.drawing, p.centre.x, p.centre.y, lo, hi, r);
      return;
    }
    case PathPiece::Kind::Spiral: {
      const Real span = std::fabs(p.a1 - p.a0);
      long steps = static_cast<long>(std::ceil(span / 5));
      steps = std::clamp<long>(steps, 1, kMaxChords);
      for (long i = 0; i <= steps; ++i) {
        const Real u = static_cast<Real>(i) / static_cast<Real>(steps);
        const PathPoint q = PiecePoint(p, u), d = PieceTangent(p, u);
        const Real x = q.x - d.y * off, y = q.y + d.x * off;
        if (i == 0)
          MoveTo(ws.drawing, x, y);
        else
          LineTo(ws.drawing, x, y);
      }
      return;
    }
  }
}

void FrontView(Sheet& sh, const Spring& s, const SpringPath& path, const Box& box) {
  OutputContext& ws = sh.ws();
  const NumberSettings& n = sh.num();
  const Real k = sh.k();
  // Centre line and the axes of the winding centre.
  SetLayer(ws.drawing, kLayerCentreLine);
  for (const PathPiece& p : path.pieces) DrawPiece(ws, p, 0, s.t);
  const Real cross = std::max(s.ri * 0.6L, 4 * k);
  Line(ws.drawing, -cross, 0, cross, 0);
  Line(ws.drawing, 0, -cross, 0, cross);

  // Edges, and the square cuts at both tips.
  SetLayer(ws.drawing, kLayerOutline);
  for (const PathPiece& p : path.pieces) {
    DrawPiece(ws, p, 1, s.t);
    DrawPiece(ws, p, -1, s.t);
  }
  const PathPiece& first = path.pieces.front();
  const PathPiece& last = path.pieces.back();
  const PathPoint d0 = PieceTangent(first, 0), d1 = PieceTangent(last, 1);
  const Real h = s.t / 2;
  Line(ws.drawing, first.from.x - d0.y * h, first.from.y + d0.x * h, first.from.x + d0.y * h, first.from.y - d0.x * h);
  Line(ws.drawing, last.to.x - d1.y * h, last.to.y + d1.x * h, last.to.x + d1.y * h, last.to.y - d1.x * h);

  // Dimensions.
  SetLayer(ws.drawing, kLayerDimensions);
  // The inner winding diameter across the arbor (the outer one on the side view).
  sh.dimension({-s.ri, 0}, {s.ri, 0}, 0, "di = " + fmtLength(n, 2 * s.ri));
  // Thickness (wire diameter) across the outer tip, beyond it.
  const std::string tName = s.crossSection == 2 ? "d = " : "t = ";
  const Real beyond = 6 * k;
  sh.dimension({last.to.x - d1.y * h + d1.x * beyond, last.to.y + d1.x * h + d1.y * beyond},
               {last.to.x + d1.y * h + d1.x * beyond, last.to.y - d1.x * h + d1.y * beyond}, 0,
               tName + fmtLength(n, s.t));
  // Bent ends: leg length along the straight part, bend radius.
  for (std::size_t i = 0; i < path.pieces.size(); ++i) {
    const PathPiece& p = path.pieces[i];
    if (p.kind == PathPiece::Kind::Line) {
      // On the right of the direction of travel: beside the inner leg away from the winding
      // axis (where the inner diameter is dimensioned), beside the outer leg away from the coil.
      sh.dimension(p.from, p.to, -(s.t / 2 + 8 * k), fmtLength(n, PieceLength(p)));
    } else if (p.kind == PathPiece::Kind::Arc) {
      sh.radius(p, "R" + fmtLength(n, p.r));
    }
  }
  // Number of turns, under the view.
  sh.text(oem("n0 = ") + fmtSig(n, s.n0) + " Wdg.", (box.x1 + box.x2) / 2, box.y1 - 8 * k, kDimText, 0, 1, 2);
}

void SideView(Sheet& sh, const Spring& s, Real x) {
  OutputContext& ws = sh.ws();
  const NumberSettings& n = sh.num();
  const Real k = sh.k();
  const Real w = SideWidth(s);
  SetLayer(ws.drawing, kLayerCentreLine);
  Line(ws.drawing, x - 0.2L * w - 3 * k, 0, x + 1.2L * w + 3 * k, 0);
  SetLayer(ws.drawing, kLayerOutline);
  Rectangle(ws.drawing, x, -s.re, x + w, s.re);
  SetLayer(ws.drawing, kLayerDimensions);
  sh.dimension({x, s.re}, {x + w, s.re}, 8 * k, (s.crossSection == 2 ? "d = " : "b = ") + fmtLength(n, w));
  sh.dimension({x + w, -s.re}, {x + w, s.re}, -10 * k, "de = " + fmtLength(n, 2 * s.re));
}

// ---- the sheet ----

std::string EndText(const Spring& s, bool inner) {
  const uint16_t form = inner ? s.formi : s.forme;
  return form == 2 ? "abgebogen" : "eingespannt";
}

using Row = std::pair<std::string, std::string>;

std::vector<Row> TechnicalData(OutputContext& ws) {
  const Spring& s = ws.spring;
  const NumberSettings& n = ws.num();
  auto ang = [&](Real a) { return fmtSig(n, a) + " " + unitAngle(n); };
  auto mom = [&](Real m) { return fmtMoment(n, m) + " " + unitMoment(n); };
  auto str = [&](Real x) { return fmtStress(n, x) + " " + unitStress(n); };
  std::vector<Row> rows;
  rows.push_back({"Werkstoff", MaterialTitle(ws)});
  if (s.kugelstrahlen != 'N') rows.push_back({"Behandlung", "kugelgestrahlt"});
  rows.push_back({"E", str(s.E)});
  if (s.crossSection == 2)
    rows.push_back({"d", lenU(n, s.t)});
  else
    rows.push_back({"b x t", fmtLength(n, s.b) + " x " + lenU(n, s.t)});
  rows.push_back({"ri / re", fmtLength(n, s.ri) + " / " + lenU(n, s.re)});
  rows.push_back({"n0", fmtSig(n, s.n0) + " Wdg."});
  rows.push_back({"delta0", ang(s.delta0)});
  rows.push_back({"Federende innen", EndText(s, true)});
  if (s.formi == 2) rows.push_back({"  li / rbi", fmtLength(n, s.li) + " / " + lenU(n, s.rbi)});
  rows.push_back({"Federende aussen", EndText(s, false)});
  if (s.forme == 2) rows.push_back({"  le / rbe", fmtLength(n, s.le) + " / " + lenU(n, s.rbe)});
  rows.push_back({"T1 bei alpha1", mom(s.T1) + " / " + ang(s.alpha1)});
  rows.push_back({"T2 bei alpha2", mom(s.T2) + " / " + ang(s.alpha2)});
  rows.push_back({"Tc bei alphac", mom(s.Tc) + " / " + ang(s.alphac)});
  rows.push_back({"cT", fmtMoment(n, s.cT) + " " + unitMoment(n) + "/" + unitAngle(n)});
  rows.push_back({"sigma2 / sigmaq2", fmtStress(n, s.sigma2) + " / " + str(s.sigmaq2)});
  rows.push_back({"sigma zul.", str(s.sigman)});
  if (s.statdyn == 2) rows.push_back({"sigma h zul.", str(s.sighz)});
  rows.push_back({"Lw", lenU(n, s.Lw)});
  rows.push_back({"L", lenU(n, s.L)});
  rows.push_back({"m", fmtSig(n, s.m) + " g"});
  rows.push_back({"theta", fmtTemp(n, s.theta) + " " + unitTemp(n)});
  rows.push_back({"Beanspruchung", s.statdyn == 2 ? "dynamisch" : "statisch"});
  if (s.statdyn == 2) {
    if (s.strokePerm > 0)
      rows.push_back({"Lastspiele N", fmtSig(n, s.cyclesN / 1e6L) + " Mill.Lastsp."});
    else
      rows.push_back({"Lastspiele N", oem("keine Daten")});
  }
  return rows;
}

void DataTable(Sheet& sh, OutputContext& ws, const ProductionSheet& p) {
  const std::vector<Row> rows = TechnicalData(ws);
  const Real u1 = p.paperWidth - kMargin - kTableWidth, u2 = p.paperWidth - kMargin;
  const Real top = p.paperHeight - kMargin, uSplit = u1 + 33;
  SetLayer(ws.drawing, kLayerSheet);
  Real v = top;
  sh.paperLine(u1, top, u1, top - kDataRowHeight * static_cast<Real>(rows.size() + 1));
  sh.paperText("Technische Daten", u1 + 1.5L, v - kDataRowHeight / 2, kTableText, 0, 1);
  v -= kDataRowHeight;
  sh.paperLine(u1, v, u2, v);
  for (const Row& r : rows) {
    sh.paperText(r.first, u1 + 1.5L, v - kDataRowHeight / 2, kTableText, 0, 1, uSplit - u1 - 2.5L);
    sh.paperText(r.second, uSplit + 1.5L, v - kDataRowHeight / 2, kTableText, 0, 1, u2 - uSplit - 2.5L);
    sh.paperLine(uSplit, v, uSplit, v - kDataRowHeight);
    v -= kDataRowHeight;
    sh.paperLine(u1, v, u2, v);
  }
}

std::string ChangeIndex(int number, int style) {
  if (style == 1) return fmtInt(number);
  std::string s;
  for (int k = number; k > 0; k = (k - 1) / 26) s.insert(s.begin(), static_cast<char>('a' + (k - 1) % 26));
  return s;
}

// The last changes above their header, the newest on top, left of the title block.
void RevisionTable(Sheet& sh, OutputContext& ws, const ProductionSheet& p) {
  const Documentation& d = ws.spring.doc;
  const Real u1 = kMarginLeft, u2 = p.paperWidth - kMargin - kTitleWidth, v1 = kMargin;
  const std::array<Real, 4> width = {10, 20, 12, 0};
  std::array<Real, 5> col{u1, 0, 0, 0, u2};
  for (int i = 1; i < 4; ++i)
    col[static_cast<size_t>(i)] = col[static_cast<size_t>(i - 1)] + width[static_cast<size_t>(i - 1)];
  SetLayer(ws.drawing, kLayerSheet);
  const int count = std::clamp(d.changeCount, 0, kMaxChangeEntries);
  const int shown = std::min(count, kRevisionRows - 1);
  const Real top = v1 + kRowHeight * static_cast<Real>(shown + 1);
  for (int r = 0; r <= shown + 1; ++r) sh.paperLine(u1, v1 + kRowHeight * r, u2, v1 + kRowHeight * r);
  for (Real c : col) sh.paperLine(c, v1, c, top);
  const char* const head[4] = {"Index", "Datum", "Name", "Änderung"};
  for (int c = 0; c < 4; ++c)
    sh.paperText(oem(head[c]), col[static_cast<size_t>(c)] + 1, v1 + kRowHeight / 2, kSmallText, 0, 1);
  for (int r = 0; r < shown; ++r) {
    const int number = count - shown + 1 + r;  // oldest shown at the bottom
    const ChangeEntry& e = d.changes[static_cast<size_t>(number - 1)];
    const Real v = v1 + kRowHeight * (r + 1) + kRowHeight / 2;
    for (std::size_t c = 0; c < 4; ++c) {
      const std::string& cell = c == 0   ? ChangeIndex(number, ws.config.changeIndexStyle)
                                : c == 1 ? e.date
                                : c == 2 ? e.editor
                                         : e.designation;
      sh.paperText(cell, col[c] + 1, v, kTableText, 0, 1, col[c + 1] - col[c] - 2);
    }
  }
}

void TitleBlock(Sheet& sh, OutputContext& ws, const ProductionSheet& p) {
  const Spring& s = ws.spring;
  const DrawingInfo& info = s.doc.info;
  const Real u0 = p.paperWidth - kMargin - kTitleWidth, u3 = p.paperWidth - kMargin;
  const Real v0 = kMargin, vTop = kMargin + kBandHeight, vLow = v0 + 12;
  const Real uNames = u0 + 70, uNumber = u0 + 135;
  SetLayer(ws.drawing, kLayerSheet);
  sh.paperRect(u0, v0, u3, vTop);
  sh.paperLine(u0, vLow, u3, vLow);
  sh.paperLine(uNames, v0, uNames, vTop);
  sh.paperLine(uNumber, v0, uNumber, vTop);
  sh.paperLine(u0, v0 + 6, uNames, v0 + 6);

  // People and dates: a header row and four rows of 6 mm.
  const Real c1 = u0 + 16, c2 = u0 + 40;
  sh.paperLine(c1, vLow, c1, vTop);
  sh.paperLine(c2, vLow, c2, vTop);
  const Real rowH = (vTop - vLow) / 5;
  for (int r = 1; r < 5; ++r) sh.paperLine(u0, vLow + rowH * r, uNames, vLow + rowH * r);
  const Real vHead = vTop - rowH / 2;
  sh.paperText("Datum", c1 + 1, vHead, kSmallText, 0, 1);
  sh.paperText("Name", c2 + 1, vHead, kSmallText, 0, 1);
  const std::array<std::array<std::string, 3>, 4> people = {{
      {"Bearb.", info.creationDate, info.author},
      {"Gepr.", info.checkDate, info.checker},
      {"Norm", info.standardsDate, info.standardsChecker},
      {ws.config.releaseFieldText.empty() ? "Frei" : ws.config.releaseFieldText, info.releaseDate, info.releaser},
  }};
  for (std::size_t r = 0; r < people.size(); ++r) {
    const Real v = vTop - rowH * (static_cast<Real>(r) + 1.5L);
    sh.paperText(people[r][0], u0 + 1, v, kSmallText, 0, 1);
    sh.paperText(people[r][1], c1 + 1, v, kTableText, 0, 1, c2 - c1 - 2);
    sh.paperText(people[r][2], c2 + 1, v, kTableText, 0, 1, uNames - c2 - 2);
  }
  sh.paperText(oem("Ersatz für: ") + info.replaces, u0 + 1, v0 + 9, kSmallText, 0, 1, 68);
  sh.paperText("Ersetzt durch: " + info.replacedBy, u0 + 1, v0 + 3, kSmallText, 0, 1, 68);

  // Name of the drawing, remarks; scale and paper below.
  sh.paperText("Benennung", uNames + 1, vTop - 2.5L, kSmallText, 0, 1);
  const Real nameRoom = uNumber - uNames - 3;
  sh.paperText(s.zeichname, uNames + 2, vTop - 9, kTitleText, 0, 1, nameRoom);
  sh.paperText(s.zeichname2, uNames + 2, vTop - 15, kTableText, 0, 1, nameRoom);
  sh.paperText(s.bemerk1, uNames + 2, vTop - 20, kSmallText, 0, 1, nameRoom);
  sh.paperText(s.bemerk2, uNames + 2, vTop - 24, kSmallText, 0, 1, nameRoom);
  const Real uScale = uNames + 32;
  sh.paperLine(uScale, v0, uScale, vLow);
  sh.paperText(oem("Maßstab"), uNames + 1, vLow - 2.5L, kSmallText, 0, 1);
  sh.paperText(ScaleText(p.scale), uNames + 4, v0 + 4, kTitleText, 0, 1);
  sh.paperText("Format", uScale + 1, vLow - 2.5L, kSmallText, 0, 1);
  sh.paperText(p.paper == 3 ? "A3" : "A4", uScale + 4, v0 + 4, kTitleText, 0, 1);

  // Drawing number; program and sheet below.
  sh.paperText("Zeichnungsnummer", uNumber + 1, vTop - 2.5L, kSmallText, 0, 1);
  sh.paperText(s.zeichnr, uNumber + 2, vTop - 12, kTitleText, 0, 1, u3 - uNumber - 3);
  sh.paperText(oem("Fertigungszeichnung"), uNumber + 2, vTop - 22, kSmallText, 0, 1);
  sh.paperText("Blatt 1 / 1", uNumber + 1, vLow - 2.5L, kSmallText, 0, 1);
  sh.paperText(std::string(kAppTitle) + " " + kVersion, uNumber + 2, v0 + 4, kTableText, 0, 1);
}

// The free texts of the drawing information: x, y in paper millimetres from the sheet's lower
// left corner, height in paper millimetres (0: the table text), angle in degrees.
void FreeTexts(Sheet& sh, OutputContext& ws) {
  const DrawingInfo& info = ws.spring.doc.info;
  SetLayer(ws.drawing, kLayerSheet);
  const int count = std::clamp(info.freeTextCount, 0, kMaxFreeTexts);
  for (int i = 0; i < count; ++i) {
    const FreeText& f = info.freeTexts[static_cast<size_t>(i)];
    const std::string text = trim(f.text);
    if (text.empty() || !allFinite(f.x, f.y, f.h, f.phi)) continue;
    const Real h = f.h > 0 && f.h < 100 ? f.h : kTableText;
    sh.text(text, sh.X(f.x), sh.Y(f.y), h, f.phi);
  }
}

}  // namespace

std::string ScaleText(Real scale) {
  if (!(scale > 0) || !std::isfinite(scale)) return "?";
  if (scale >= 1) return fmtInt(std::llround(scale)) + ":1";
  return "1:" + fmtInt(std::llround(1 / scale));
}

ProductionSheet PlanProductionSheet(const Spring& s, const SpringPath& path) {
  ProductionSheet sheet;
  if (path.pieces.empty()) {
    sheet.problem = path.problem.empty() ? oem("Zeichnung nicht möglich: Abmessungen ungültig !") : path.problem;
    return sheet;
  }
  const Box front = OutlineBox(path, s.t);
  const Real side = SideWidth(s);
  if (!allFinite(front.x1, front.x2, front.y1, front.y2, side, s.re) || !(side > 0)) {
    sheet.problem = oem("Zeichnung nicht möglich: Abmessungen ungültig !");
    return sheet;
  }
  const Real y1 = std::min(front.y1, -s.re), y2 = std::max(front.y2, s.re);
  const Real modelWidth = (front.x2 - front.x1) + side;
  const Real modelHeight = y2 - y1;
  struct Candidate {
    int paper;
    Real scale;
  };
  static constexpr Candidate kOrder[] = {{4, 5},    {4, 2},    {4, 1},    {3, 1},     {4, 0.5L},  {3, 0.5L},
                                         {4, 0.2L}, {3, 0.2L}, {3, 0.1L}, {3, 0.05L}, {3, 0.02L}, {3, 0.01L}};
  const Candidate* chosen = &kOrder[std::size(kOrder) - 1];
  for (const Candidate& c : kOrder) {
    const Real pw = c.paper == 3 ? 420 : 297, ph = c.paper == 3 ? 297 : 210;
    const PaperArea a = ViewArea(pw, ph);
    const Real needW = modelWidth * c.scale + 2 * kDimRoom + kViewGap, needH = modelHeight * c.scale + 2 * kDimRoom;
    if (needW <= a.u2 - a.u1 && needH <= a.v2 - a.v1) {
      chosen = &c;
      break;
    }
  }
  sheet.paper = chosen->paper;
  sheet.paperWidth = chosen->paper == 3 ? 420 : 297;
  sheet.paperHeight = chosen->paper == 3 ? 297 : 210;
  sheet.scale = chosen->scale;
  const Real k = sheet.k();
  sheet.sideX = front.x2 + kViewGap * k;
  // The contents centred in the drawing area.
  const PaperArea a = ViewArea(sheet.paperWidth, sheet.paperHeight);
  const Real cx = (front.x1 - kDimRoom * k + sheet.sideX + side + kDimRoom * k) / 2;
  const Real cy = (y1 + y2) / 2;
  sheet.x0 = cx - k * (a.u1 + a.u2) / 2;
  sheet.y0 = cy - k * (a.v1 + a.v2) / 2;
  return sheet;
}

void DrawProductionDrawing(OutputContext& ws, DeviceCode device) {
  if (ShowMessagesInstead(ws)) return;
  Spring& s = ws.spring;
  s.deltaDraw = s.delta0;  // drawn as made, like a drawing without the angle dialog
  const SpringPath path = CentreLine(s);
  const ProductionSheet sheet = PlanProductionSheet(s, path);
  if (!sheet.problem.empty()) {
    ShowError(ws, sheet.problem);
    ws.abort = true;
    return;
  }
  OpenDrawing(ws, device, "VELKZEIC");
  if (ws.abort) return;
  Window(ws.drawing, sheet.x0, sheet.y0, sheet.modelX(sheet.paperWidth), sheet.modelY(sheet.paperHeight));
  Tables(ws.drawing, DrawingKind::Drawing);
  BeginEntities(ws.drawing, ws.diag);
  SetLineSpacing(ws.drawing, 1);

  Sheet sh(ws, sheet);
  FrontView(sh, s, path, OutlineBox(path, s.t));
  SideView(sh, s, sheet.sideX);

  SetLayer(ws.drawing, kLayerSheet);
  sh.paperRect(kMarginLeft, kMargin, sheet.paperWidth - kMargin, sheet.paperHeight - kMargin);
  DataTable(sh, ws, sheet);
  RevisionTable(sh, ws, sheet);
  TitleBlock(sh, ws, sheet);
  FreeTexts(sh, ws);
  SetLayer(ws.drawing, 0);

  EndEntities(ws.drawing);
  FinishDrawing(ws);
  NormalCursor(ws);
}

}  // namespace velk
