// The spring drawing: front view with the spiral and its ends, side view, the spiral itself and
// the installation-angle dialog.
#include "graphics/springdrawing.h"

#include <cmath>
#include <limits>

#include "base/codepage.h"
#include "calc/calculate.h"
#include "dialogs/dialogs.h"
#include "draw/drawing.h"
#include "graphics/context.h"
#include "graphics/output.h"
#include "graphics/views.h"

namespace velk {

namespace {

constexpr Real kPi = 3.141592653589793238462643383279502884L;
constexpr Real kDeg = kPi / 180;
constexpr uint16_t kHelpInstallationAngle = 6610;

template <typename... T>
bool allFinite(T... v) {
  return (std::isfinite(v) && ...);
}

void SafeLine(OutputContext& ws, Real x1, Real y1, Real x2, Real y2) {
  if (allFinite(x1, y1, x2, y2)) Line(ws.drawing, x1, y1, x2, y2);
}

// R of the dialog: nearest integer, halves to even, kept within int.
int roundToInt(Real v) {
  if (!std::isfinite(v)) return 0;
  const Real r = std::nearbyint(v);
  if (r > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (r < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

void FrontView(OutputContext& ws, const FrontViewGeometry& g) {
  const Spring& s = ws.spring;
  SetLayer(ws.drawing, 1);
  DrawSpiral(ws, s.ri, g.n, g.p);
  SetLayer(ws.drawing, 5);
  DrawSpiral(ws, s.ri + s.t / 2, g.n, g.p);
  DrawSpiral(ws, s.ri - s.t / 2, g.n, g.p);
  SafeLine(ws, s.ri - s.t / 2, 0, s.ri + s.t / 2, 0);
  const Real c = std::cos(g.w * kDeg), sn = std::sin(g.w * kDeg);
  SafeLine(ws, (g.ra + s.t / 2) * c, (g.ra + s.t / 2) * sn, (g.ra - s.t / 2) * c, (g.ra - s.t / 2) * sn);
}

void SideView(OutputContext& ws) {
  Spring& s = ws.spring;
  if (s.crossSection == 2) s.b = s.t;
  SetLayer(ws.drawing, 1);
  SafeLine(ws, -0.1L * s.b, 0, 1.1L * s.b, 0);
  SetLayer(ws.drawing, 5);
  if (allFinite(s.b, s.re)) Rectangle(ws.drawing, 0, -s.re, s.b, s.re);
}

}  // namespace

void DrawSpiral(OutputContext& ws, Real r0, Real n, Real p) {
  if (!allFinite(r0, n, p)) return;
  const Real total = 360 * n;  // degrees
  Real step = 5;
  if (total / step > kMaxSpiralChords) step = total / kMaxSpiralChords;
  if (!std::isfinite(step) || !(step > 0)) return;
  MoveTo(ws.drawing, r0, 0);
  // a = i * step rather than a running sum, so no rounding accumulates over many turns; the
  // index bound is only a backstop (the condition on a ends the loop first).
  for (long i = 1; i <= kMaxSpiralChords + 2; ++i) {
    const Real a = static_cast<Real>(i) * step;
    const Real r = r0 + p * (a / 360);
    const Real x = r * std::cos(a * kDeg), y = r * std::sin(a * kDeg);
    if (allFinite(x, y)) LineTo(ws.drawing, x, y);
    if (a >= total - 1.5L * step) break;
  }
  const Real r = r0 + p * n;
  const Real x = r * std::cos(total * kDeg), y = r * std::sin(total * kDeg);
  if (allFinite(x, y)) LineTo(ws.drawing, x, y);
}

void AskInstallationAngle(OutputContext& ws) {
  const Spring& s = ws.spring;
  const NumberSettings& num = ws.num();
  InstallationAngleRequest q;
  q.caption = kAppTitle;
  q.unit = unitAngle(num);
  q.value = fmtSig(num, s.deltaDraw);
  q.presets = {fmtSig(num, s.deltac), fmtSig(num, s.delta2), fmtSig(num, s.delta1), fmtSig(num, s.delta0)};
  q.trackMin = roundToInt(s.deltac + 0.5L);
  q.trackMax = roundToInt(s.delta0 - 0.5L);
  q.helpNumber = kHelpInstallationAngle;
  SetHelpNumber(ws, kHelpInstallationAngle);
  const std::optional<InstallationAngleResult> typed = ws.ui.show(q);
  if (!typed) {
    ws.abort = true;
    return;
  }
  ws.spring.deltaDraw = parseReal(typed->value);
}

void DrawSpring(OutputContext& ws, SpringView view, DeviceCode device, bool askAngle) {
  if (ShowMessagesInstead(ws)) return;
  Spring& s = ws.spring;
  if (askAngle)
    AskInstallationAngle(ws);
  else
    s.deltaDraw = s.delta0;
  if (ws.abort) return;

  FrontViewGeometry g;
  if (view == SpringView::Front) {
    g = FrontGeometry(s, s.delta0 - s.deltaDraw);
    if (!g.problem.empty()) {
      ShowError(ws, g.problem);
      ws.abort = true;
      return;
    }
  }
  const Real B = 1.1L * (s.re + s.t);
  if (!std::isfinite(B) || B == 0) {
    ShowError(ws, oem("Zeichnung nicht möglich: Abmessungen ungültig !"));
    ws.abort = true;
    return;
  }

  OpenDrawing(ws, device, "VELK");
  if (ws.abort) return;
  Window(ws.drawing, -B, -B, B, B);
  Tables(ws.drawing, DrawingKind::Drawing);
  BeginEntities(ws.drawing, ws.diag);
  if (view == SpringView::Front)
    FrontView(ws, g);
  else if (view == SpringView::Side)
    SideView(ws);
  EndEntities(ws.drawing);
  FinishDrawing(ws);
  NormalCursor(ws);
}

}  // namespace velk
