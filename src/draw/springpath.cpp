// The centre line of the unloaded spring with its ends.
#include "draw/springpath.h"

#include <algorithm>
#include <cmath>

#include "base/codepage.h"
#include "data/spring.h"

namespace velk {

namespace {

constexpr Real kPi = 3.141592653589793238462643383279502884L;
constexpr Real kDeg = kPi / 180;

template <typename... T>
bool allFinite(T... v) {
  return (std::isfinite(v) && ...);
}

// An angle brought into [0, 360] as the calculation does it (fmod is exact and ends for huge values).
Real normalizeAngle(Real angle) {
  if (angle < 0) return std::fmod(angle, 360.0L) + 360;
  if (angle > 360) return std::fmod(angle, 360.0L);
  return angle;
}

PathPoint unit(Real x, Real y) {
  const Real n = std::hypot(x, y);
  if (!(n > 0)) return {1, 0};
  return {x / n, y / n};
}

// Forward tangent of the spiral r = r0 + k theta at theta (radians), not normalised.
PathPoint spiralDerivative(Real r0, Real k, Real theta) {
  const Real r = r0 + k * theta;
  const Real c = std::cos(theta), s = std::sin(theta);
  return {k * c - r * s, k * s + r * c};
}

// A 90 degree bend to the right of the direction d at point p, with radius rb.
PathPiece rightBend(PathPoint p, PathPoint d, Real rb) {
  PathPiece arc;
  arc.kind = PathPiece::Kind::Arc;
  const PathPoint right{d.y, -d.x};
  arc.centre = {p.x + rb * right.x, p.y + rb * right.y};
  arc.r = rb;
  arc.a0 = std::atan2(p.y - arc.centre.y, p.x - arc.centre.x) / kDeg;
  arc.a1 = arc.a0 - 90;
  arc.from = p;
  arc.to = PiecePoint(arc, 1);
  return arc;
}

PathPiece reversed(const PathPiece& p) {
  PathPiece r = p;
  std::swap(r.from, r.to);
  std::swap(r.a0, r.a1);
  return r;
}

PathPiece line(PathPoint a, PathPoint b) {
  PathPiece l;
  l.kind = PathPiece::Kind::Line;
  l.from = a;
  l.to = b;
  return l;
}

// Integral of sqrt(r^2 + k^2) dr / k, the arc length of r = r0 + k theta up to radius r.
Real spiralLengthTo(Real r, Real k) {
  const Real q = std::sqrt(r * r + k * k);
  return (r * q + k * k * std::log(r + q)) / (2 * k);
}

}  // namespace

SpringPath CentreLine(const Spring& s, Real phi) {
  SpringPath path;
  if (!allFinite(s.ri, s.re, s.n0, s.t, s.li, s.le, s.rbi, s.rbe, phi)) {
    path.problem = oem("Zeichnung nicht möglich: Abmessungen ungültig !");
    return path;
  }
  if (!(s.n0 > 0)) {
    path.problem = oem("Zeichnung nicht möglich: n0 <= 0 !");
    return path;
  }
  if (!(s.t > 0)) {
    path.problem = oem("Zeichnung nicht möglich: t <= 0 !");
    return path;
  }
  if (!(s.ri > 0) || !(s.re > s.ri)) {
    path.problem = oem("Zeichnung nicht möglich: Radien ungültig !");
    return path;
  }
  path.innerBent = s.formi == 2;
  path.outerBent = s.forme == 2;
  if ((path.innerBent && !(s.rbi > 0)) || (path.outerBent && !(s.rbe > 0))) {
    path.problem = oem("Zeichnung nicht möglich: Abbiegeradius = 0 !");
    return path;
  }

  PathPiece spiral;
  spiral.kind = PathPiece::Kind::Spiral;
  spiral.r = s.ri;
  spiral.a0 = 0;
  if (phi == 0) {
    spiral.a1 = 360 * s.n0;
    spiral.pitch = (s.re - s.ri) / s.n0;
  } else {
    const FrontViewGeometry g = FrontGeometry(s, phi);
    if (!g.problem.empty() || !(g.n > 0)) {
      path.problem = g.problem.empty() ? oem("Zeichnung nicht möglich: n <= 0 !") : g.problem;
      return path;
    }
    spiral.a1 = 360 * g.n;
    spiral.pitch = g.p;
  }
  spiral.from = PiecePoint(spiral, 0);
  spiral.to = PiecePoint(spiral, 1);
  if (!allFinite(spiral.a1, spiral.pitch, spiral.to.x, spiral.to.y)) {
    path.problem = oem("Zeichnung nicht möglich: Abmessungen ungültig !");
    return path;
  }

  if (path.innerBent) {
    // Leaving the spiral backwards from its start, bending towards the arbor.
    const PathPoint t = PieceTangent(spiral, 0);
    const PathPiece bend = rightBend(spiral.from, {-t.x, -t.y}, s.rbi);
    path.innerLeg = std::max<Real>(0, s.li - kPi / 2 * s.rbi);
    const PathPoint d = PieceTangent(bend, 1);
    const PathPoint tip{bend.to.x + path.innerLeg * d.x, bend.to.y + path.innerLeg * d.y};
    if (path.innerLeg > 0) path.pieces.push_back(line(tip, bend.to));
    path.pieces.push_back(reversed(bend));
  }
  path.pieces.push_back(spiral);
  if (path.outerBent) {
    const PathPiece bend = rightBend(spiral.to, PieceTangent(spiral, 1), s.rbe);
    path.pieces.push_back(bend);
    path.outerLeg = std::max<Real>(0, s.le - kPi / 2 * s.rbe);
    const PathPoint d = PieceTangent(bend, 1);
    if (path.outerLeg > 0)
      path.pieces.push_back(line(bend.to, {bend.to.x + path.outerLeg * d.x, bend.to.y + path.outerLeg * d.y}));
  }
  for (const PathPiece& p : path.pieces)
    if (!allFinite(p.from.x, p.from.y, p.to.x, p.to.y)) {
      path.pieces.clear();
      path.problem = oem("Zeichnung nicht möglich: Abmessungen ungültig !");
      break;
    }
  return path;
}

PathPoint PiecePoint(const PathPiece& p, Real u) {
  switch (p.kind) {
    case PathPiece::Kind::Line:
      return {p.from.x + u * (p.to.x - p.from.x), p.from.y + u * (p.to.y - p.from.y)};
    case PathPiece::Kind::Arc: {
      const Real a = (p.a0 + u * (p.a1 - p.a0)) * kDeg;
      return {p.centre.x + p.r * std::cos(a), p.centre.y + p.r * std::sin(a)};
    }
    case PathPiece::Kind::Spiral: {
      const Real a = p.a0 + u * (p.a1 - p.a0);
      const Real r = p.r + p.pitch * ((a - p.a0) / 360);
      return {r * std::cos(a * kDeg), r * std::sin(a * kDeg)};
    }
  }
  return {};
}

PathPoint PieceTangent(const PathPiece& p, Real u) {
  switch (p.kind) {
    case PathPiece::Kind::Line:
      return unit(p.to.x - p.from.x, p.to.y - p.from.y);
    case PathPiece::Kind::Arc: {
      const Real a = (p.a0 + u * (p.a1 - p.a0)) * kDeg;
      const Real sense = p.a1 >= p.a0 ? 1 : -1;
      return {-sense * std::sin(a), sense * std::cos(a)};
    }
    case PathPiece::Kind::Spiral: {
      const Real k = p.pitch / (2 * kPi);
      const Real theta = (p.a0 + u * (p.a1 - p.a0)) * kDeg;
      // The radius grows from r at a0.
      const PathPoint d = spiralDerivative(p.r - k * p.a0 * kDeg, k, theta);
      return unit(d.x, d.y);
    }
  }
  return {1, 0};
}

Real PieceLength(const PathPiece& p) {
  switch (p.kind) {
    case PathPiece::Kind::Line:
      return std::hypot(p.to.x - p.from.x, p.to.y - p.from.y);
    case PathPiece::Kind::Arc:
      return p.r * std::fabs(p.a1 - p.a0) * kDeg;
    case PathPiece::Kind::Spiral: {
      const Real k = p.pitch / (2 * kPi);
      const Real turn = (p.a1 - p.a0) * kDeg;
      const Real r1 = p.r + k * turn;
      if (std::fabs(k) < 1e-12L * std::max<Real>(1, std::fabs(p.r))) return std::fabs(p.r * turn);
      return std::fabs(spiralLengthTo(r1, k) - spiralLengthTo(p.r, k));
    }
  }
  return 0;
}

Real PathLength(const SpringPath& path) {
  Real sum = 0;
  for (const PathPiece& p : path.pieces) sum += PieceLength(p);
  return sum;
}

std::vector<PathPoint> PathPolyline(const SpringPath& path, Real stepDegrees, std::size_t maxPoints) {
  std::vector<PathPoint> out;
  if (path.pieces.empty()) return out;
  if (!(stepDegrees > 0)) stepDegrees = 5;
  Real sweep = 0;
  for (const PathPiece& p : path.pieces)
    if (p.kind != PathPiece::Kind::Line) sweep += std::fabs(p.a1 - p.a0);
  if (maxPoints < 16) maxPoints = 16;
  const Real budget = static_cast<Real>(maxPoints - 2 * path.pieces.size() - 1);
  if (sweep / stepDegrees > budget) stepDegrees = sweep / budget;
  out.push_back(path.pieces.front().from);
  for (const PathPiece& p : path.pieces) {
    if (p.kind == PathPiece::Kind::Line) {
      out.push_back(p.to);
      continue;
    }
    const Real span = std::fabs(p.a1 - p.a0);
    const auto steps = static_cast<long>(std::max<Real>(1, std::ceil(span / stepDegrees - 1e-9L)));
    for (long i = 1; i < steps; ++i) out.push_back(PiecePoint(p, static_cast<Real>(i) / static_cast<Real>(steps)));
    out.push_back(p.to);
  }
  return out;
}

FrontViewGeometry FrontGeometry(const Spring& s, Real phi) {
  FrontViewGeometry g;
  g.n = phi / 360 + s.n0;
  if (!std::isfinite(g.n)) {
    g.problem = oem("Vorderansicht nicht möglich: Windungszahl ungültig !");
    return g;
  }
  if (g.n == 0) {
    g.problem = oem("Vorderansicht nicht möglich: n = 0 !");
    return g;
  }
  // The effective length stays the same, so the mean radius follows from it.
  g.ra = s.Lw / (kPi * g.n) - s.ri;
  g.p = (g.ra - s.ri) / g.n;
  g.w = normalizeAngle(phi + 360 - s.delta0);
  if (!allFinite(g.ra, g.p, g.w, s.ri, s.t)) g.problem = oem("Vorderansicht nicht möglich: Abmessungen ungültig !");
  return g;
}

}  // namespace velk
