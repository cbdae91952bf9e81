// The result views: value blocks, the characteristic line, the fatigue diagrams, strength and
// permissible stress over thickness, and the view dispatcher with its diagram selection.
#include "graphics/views.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "base/codepage.h"
#include "calc/fatigue.h"
#include "calc/material.h"
#include "dialogs/dialogs.h"
#include "draw/drawing.h"
#include "graphics/context.h"
#include "graphics/diagram.h"
#include "graphics/output.h"
#include "report/explanationfile.h"
#include "reportui/explanations.h"

namespace velk {

namespace {

constexpr uint16_t kHelpChooseDiagram = 5500;
constexpr Real kPi = 3.141592653589793238462643383279502884L;
// Points of a strength curve: 0.02 mm times 1.1^1000 is far beyond any thickness.
constexpr int kMaxCurvePoints = 1000;

bool isWire(const Spring& s) { return s.crossSection == 2; }

// Texts of the views: a value in its display unit and the unit after a blank.
struct Fmt {
  const NumberSettings& n;
  std::string len(Real x) const { return fmtLength(n, x); }
  std::string lenU(Real x) const { return fmtLength(n, x) + " " + unitLength(n); }
  std::string angU(Real x) const { return fmtSig(n, x) + " " + unitAngle(n); }
  std::string momU(Real x) const { return fmtMoment(n, x) + " " + unitMoment(n); }
  std::string strU(Real x) const { return fmtStress(n, x) + " " + unitStress(n); }
  std::string sig(Real x) const { return fmtSig(n, x); }
  // A value without decimals (whatever the decimal-places setting).
  std::string whole(Real x) const {
    if (!std::isfinite(x) || std::fabs(x) > 9e18L) return fmtSig(n, x);
    return fmtInt(std::llround(x));
  }
  // The data block's stress format: four integer positions.
  std::string str4(Real x) const { return fmtStressFixed(n, 4, 0, x); }
};

std::string endForm(uint16_t form) { return form == 2 ? "abgebogen" : "eingespannt"; }

// The strength law of the spring's cross-section at thickness t, without touching the message list.
Real StrengthOfSection(const OutputContext& ws, Real t) {
  CalcMessages scratch;
  return isWire(ws.spring) ? StrengthAt(ws.materials.wire, t, scratch) : StrengthAt(ws.materials.strip, t, scratch);
}

void ValueBlockB(OutputContext& ws) {
  const Spring& s = ws.spring;
  const Fmt f{ws.num()};
  TextStyle(ws.drawing, 2, 0, 2.3L, 1.7L);
  MoveTo(ws.drawing, 90, 65);
  TextLine(ws.drawing, "cT = " + fmtMoment(f.n, s.cT) + " " + unitMoment(f.n) + "/" + unitAngle(f.n));
  TextLine(ws.drawing, "alphah= " + f.angU(s.alphah));
  TextLine(ws.drawing, "a0   = " + f.lenU(s.a0));
  TextLine(ws.drawing, "m  = " + f.sig(s.m) + " g");
  TextLine(ws.drawing, " ");
  TextLine(ws.drawing, "E = " + f.strU(s.E));
  TextLine(ws.drawing, "rho= " + f.sig(s.rho) + " kg/dm3");
  TextLine(ws.drawing, "Rm = " + f.strU(s.Rm));
  TextLine(ws.drawing, "sigmaz= " + f.strU(s.sigman));
  TextLine(ws.drawing, "theta = " + fmtTemp(f.n, s.theta) + " " + unitTemp(f.n));
  TextLine(ws.drawing, "E" + f.whole(toDisplayTemp(f.n, s.theta)) + " = " + f.strU(s.Et));
}

void MaterialBlock(OutputContext& ws) {
  const Spring& s = ws.spring;
  const Fmt f{ws.num()};
  TextStyle(ws.drawing, 2, 0, 2.3L, 1.7L);
  MoveTo(ws.drawing, 5, 40);
  TextLine(ws.drawing, MaterialTitle(ws));
  TextLine(ws.drawing, " ");
  TextLine(ws.drawing, "Federende innen: " + endForm(s.formi));
  if (s.formi == 2) TextLine(ws.drawing, "L = " + f.len(s.li) + ",  r = " + f.len(s.rbi) + " " + unitLength(f.n));
  TextLine(ws.drawing, "Federende aussen : " + endForm(s.forme));
  if (s.forme == 2) TextLine(ws.drawing, "L = " + f.len(s.le) + ", r = " + f.len(s.rbe) + " " + unitLength(f.n));
}

int messageCount(const OutputContext& ws) { return std::clamp(ws.messages.count, 0, kMaxCalcMessages); }

void MessageBlock(OutputContext& ws) {
  const int n = messageCount(ws);
  if (n == 0) return;
  TextStyle(ws.drawing, 2, 0, 2.0L, 1.6L);
  MoveTo(ws.drawing, 78, 103);
  SetLayer(ws.drawing, 21);
  TextLine(ws.drawing, "Meldungen");
  SetLayer(ws.drawing, 19);
  for (int i = 0; i < n; ++i) TextLine(ws.drawing, ws.messages.entries[static_cast<size_t>(i)]);
}

// The characteristic diagram of the quick views and the characteristic sheet.
void CharacteristicDiagram(OutputContext& ws, Real W, Real H, Real X0, Real Y0, Real alphaMax, Real TMax) {
  const NumberSettings& n = ws.num();
  SetArea(ws, W, H);
  SetAreaOrigin(ws, X0, Y0);
  Axes(ws, "alpha [" + unitAngle(n) + "]", "T [" + unitMoment(n) + "]", "Federkennlinie", 1, 0, alphaMax, 0,
       toDisplayMoment(n, TMax));
  ScaleRange(ws, 1, toDisplayMoment(n, 1));
  DrawCharacteristic(ws);
}

void QuickOne(OutputContext& ws) {
  const Spring& s = ws.spring;
  SetLayer(ws.drawing, 19);
  SetLineSpacing(ws.drawing, 1.05L);
  DiagramHeader(ws);
  ValueBlockA(ws);
  ValueBlockB(ws);
  MaterialBlock(ws);
  MessageBlock(ws);
  CharacteristicDiagram(ws, 60, 60, 10, 50, std::max(s.alpha2, s.alphac), std::max(s.T2, s.Tc));
}

void CharacteristicSheet(OutputContext& ws) {
  const Spring& s = ws.spring;
  SetLayer(ws.drawing, 19);
  DiagramHeader(ws);
  SetLineSpacing(ws.drawing, 1.05L);
  ValueBlockA(ws);
  CharacteristicDiagram(ws, 90, 90, 12, 10, std::max(s.alpha2, s.alphac), std::max(s.T2, s.Tc));
}

// The results table of Quick 2: title row and one row per working position.
void ResultsTable(OutputContext& ws) {
  const Spring& s = ws.spring;
  const Fmt f{ws.num()};
  const Real h = 2.2L, cw = 10 * h * 0.9L, rowH = 2 * h, x0 = 78, top = 78;
  using Row = std::array<std::string, 4>;
  std::vector<Row> rows;
  rows.push_back({"delta [" + unitAngle(f.n) + "]", " T [" + unitMoment(f.n) + "]", " sigma [" + unitStress(f.n) + "]",
                  " alpha [" + unitAngle(f.n) + "]"});
  rows.push_back({"d.0:" + fmtFixedDec(f.n, 1, s.delta0), "", "", ""});
  rows.push_back({"d.1:" + f.sig(s.delta1), "T1:" + fmtMoment(f.n, s.T1), "sig.q1:" + fmtStress(f.n, s.sigmaq1),
                  "al.1:" + f.sig(s.alpha1)});
  if (s.statdyn == 2) rows.push_back({"", "", "sig.qh:" + fmtStress(f.n, s.sigmah), "al.h:" + f.sig(s.alphah)});
  rows.push_back({"d.2:" + f.sig(s.delta2), "T2:" + fmtMoment(f.n, s.T2), "sig.q2:" + fmtStress(f.n, s.sigmaq2),
                  "al.2:" + f.sig(s.alpha2)});
  rows.push_back({"d.c:" + f.sig(s.deltac), "Tc:" + fmtMoment(f.n, s.Tc), "sig.c: " + fmtStress(f.n, s.sigmac),
                  "al.n:" + f.sig(s.alphac)});

  TextStyle(ws.drawing, 2, 0, h, 0.75L * h);
  for (size_t i = 0; i < rows.size(); ++i) {
    const Real rowTop = top - static_cast<Real>(i) * rowH, bottom = rowTop - rowH;
    SetLayer(ws.drawing, 17);
    if (i == 0) {
      Rectangle(ws.drawing, x0, rowTop, x0 + 4 * cw, bottom);
      for (int k = 1; k < 4; ++k) Line(ws.drawing, x0 + k * cw, rowTop, x0 + k * cw, bottom);
    } else {
      Line(ws.drawing, x0, bottom, x0 + 4 * cw, bottom);
      for (int k = 0; k <= 4; ++k) Line(ws.drawing, x0 + k * cw, rowTop, x0 + k * cw, bottom);
    }
    SetLayer(ws.drawing, 18);
    for (int k = 0; k < 4; ++k)
      if (!rows[i][static_cast<size_t>(k)].empty())
        Text(ws.drawing, " " + rows[i][static_cast<size_t>(k)], x0 + k * cw, rowTop - 1.5L * h);
  }
}

void QuickTwo(OutputContext& ws) {
  const Spring& s = ws.spring;
  const Fmt f{ws.num()};
  SetLayer(ws.drawing, 19);
  TextStyle(ws.drawing, 2, 0, 2.2L, 1.7L);
  MoveTo(ws.drawing, 78, 116);
  TextLine(ws.drawing, s.bemerk1);
  TextLine(ws.drawing, s.bemerk2);
  TextLine(ws.drawing, s.titleLine);
  MoveTo(ws.drawing, 78, 102);
  if (isWire(s))
    TextLine(ws.drawing, "d : " + f.len(s.t));
  else
    TextLine(ws.drawing, "b x h: " + f.len(s.b) + " x " + f.len(s.t));
  TextLine(ws.drawing, "n : " + f.sig(s.n0));
  TextLine(ws.drawing, "ri : " + f.lenU(s.ri) + "    re : " + f.lenU(s.re));
  TextLine(ws.drawing, "cT : " + fmtMoment(f.n, s.cT) + " " + unitMoment(f.n) + "/" + unitAngle(f.n));
  MoveTo(ws.drawing, 108, 102);
  TextLine(ws.drawing, "kb: " + f.sig(s.kb));

  ResultsTable(ws);

  SetLayer(ws.drawing, 19);
  TextStyle(ws.drawing, 2, 0, 2.2L, 1.7L);
  MoveTo(ws.drawing, 118, 47);
  TextLine(ws.drawing, "sigma zul.: " + f.whole(toDisplayStress(f.n, s.sigman)));
  if (s.statdyn == 2) TextLine(ws.drawing, "sigma h zul.: " + fmtStress(f.n, s.sighz));
  MoveTo(ws.drawing, 5, 40);
  TextLine(ws.drawing, MaterialTitle(ws));
  TextLine(ws.drawing, MaterialSecondLine(ws));
  TextLine(ws.drawing, "Beanspruchung : " + std::string(s.statdyn == 2 ? "dynamisch" : "statisch"));
  if (s.kugelstrahlen != 'N') TextLine(ws.drawing, "Behandlung : Feder kugelgestrahlt");
  TextLine(ws.drawing, "Rm : " + f.strU(s.Rm));
  TextLine(ws.drawing, " ");

  MoveTo(ws.drawing, 78, 30);
  SetLayer(ws.drawing, 21);
  TextStyle(ws.drawing, 2, 0, 2.0L, 1.6L);
  TextLine(ws.drawing, "Meldungen");
  SetLayer(ws.drawing, 19);
  const int n = messageCount(ws);
  if (n == 0) {
    TextLine(ws.drawing, " ");
    TextLine(ws.drawing, " - keine -");
  }
  for (int i = 0; i < n; ++i) TextLine(ws.drawing, ws.messages.entries[static_cast<size_t>(i)]);

  CharacteristicDiagram(ws, 60, 60, 10, 50, s.alphac, s.Tc);
}

// Kinds 5 and 6: tensile strength or permissible bending stress over thickness.
void StrengthSheet(OutputContext& ws, ViewKind kind) {
  Spring& s = ws.spring;
  const NumberSettings& n = ws.num();
  SetLayer(ws.drawing, 19);
  DiagramHeader(ws);
  TextStyle(ws.drawing, 2, 0, 2.2L, 1.7L);
  Text(ws.drawing, s.matName, 2, 10);
  ValueBlockA(ws);
  SetArea(ws, 95, 90);
  SetAreaOrigin(ws, 12, 15);

  Real& tmaxField = isWire(s) ? ws.materials.wire.dmax : ws.materials.strip.tmax;
  if (tmaxField == 0) tmaxField = 5.0L;
  const Real tmax = tmaxField;
  const std::string xTitle = "t [" + unitLength(n) + "]";
  if (kind == ViewKind::Strength)
    Axes(ws, xTitle, "Rm [" + unitStress(n) + "]", "Rm = f(t)", 1, 0, toDisplayLength(n, tmax), 0,
         toDisplayStress(n, 3000));
  else
    Axes(ws, xTitle, "Sigma b [" + unitStress(n) + "]", "Sigma b zul = f(t)", 1, 0, toDisplayLength(n, tmax), 0,
         toDisplayStress(n, 2000));
  ScaleRange(ws, toDisplayLength(n, 1), toDisplayStress(n, 1));

  SetLayer(ws.drawing, 16);
  Real factor = 1, end = 25;
  if (kind == ViewKind::Strength) {
    // The curve runs to the material's largest thickness (a useless one: 25 mm).
    end = std::isfinite(tmax) && tmax >= 0.02L ? tmax : 25;
  } else {
    factor = isWire(s) ? 0.7L : (ws.materials.strip.f == 0 ? 0.75L : ws.materials.strip.f);
  }
  Real t = 0.02L;
  DataMoveTo(ws, t, factor * StrengthOfSection(ws, t));
  for (int i = 0; i < kMaxCurvePoints; ++i) {
    t *= 1.1L;
    DataLineTo(ws, t, factor * StrengthOfSection(ws, t));
    if (t >= end) break;
  }

  if (kind == ViewKind::BendingStress) {
    SetLayer(ws.drawing, 19);
    DataMoveTo(ws, s.t, s.sigma1);
    DataLineTo(ws, s.t, s.sigma2);
    DataCircleMm(ws, s.t, s.sigma1, 0.7L);
    DataCircleMm(ws, s.t, s.sigma2, 0.7L);
    DataText(ws, " sigma 1", s.t, s.sigma1);
    DataText(ws, " sigma 2", s.t, s.sigma2);
  }
}

// A fatigue line through three points, each coordinate scaled by k; every segment clipped.
void FatigueLine(OutputContext& ws, Real k, Real x0, Real y0, Real x1, Real y1, Real x2, Real y2) {
  DataMoveTo(ws, k * x0, k * y0);
  DataLineTo(ws, k * x1, k * y1);
  DataLineTo(ws, k * x2, k * y2);
}

// Kinds 3 (Goodman) and 7 (Haigh-Goodman).
void FatigueSheet(OutputContext& ws, ViewKind kind) {
  Spring& s = ws.spring;
  const Fmt f{ws.num()};
  const NumberSettings& n = f.n;
  const bool goodman = kind == ViewKind::Goodman;
  SetLayer(ws.drawing, 19);
  DiagramHeader(ws);

  // The fatigue values of the spring's treatment; a wire material that is not a table record has
  // none. The lookup's messages belong to the calculation, which has already reported them.
  GoodmanPoint g;
  if (!(isWire(s) && s.matSource != 0)) {
    CalcMessages scratch;
    g = GoodmanValues(ws, scratch);
  }
  if (ws.abort) return;
  const bool peened = s.kugelstrahlen != 'N';
  const std::string materialLine = s.matName + ", " + (peened ? "kugelgestrahlt" : "nicht kugelgestrahlt");

  SetArea(ws, 90, 85);
  SetAreaOrigin(ws, 15, 20);
  const Real S = std::max(1.25L * toDisplayStress(n, g.sigmaO), 1600.0L);
  Axes(ws, "sigma u [" + unitStress(n) + "]", goodman ? "sigma o" : "sigma h",
       goodman ? "Goodman-Diagramm" : "Haigh-Goodman-Diagramm", 1, 0, S, 0, S);
  ScaleRange(ws, toDisplayStress(n, 1), toDisplayStress(n, 1));

  DataMoveTo(ws, 0, 0);
  DataLineTo(ws, ws.diagram.xmax, ws.diagram.ymax);

  const Real so = g.sigmaO, sh0 = g.sigmaH0, m = g.m;
  const bool noData = so == 0 && sh0 == 0 && m == 0;
  // Without a slope (or with values that do not compute) there is no knee to draw to.
  const bool usable =
      !noData && m != 0 && std::isfinite(so) && std::isfinite(sh0) && std::isfinite(m) && std::isfinite((so - sh0) / m);
  if (!usable) {
    TextStyle(ws.drawing, 2, 0, 2.5L, 2.0L);
    DataText(ws, oem("Für diesen Werkstoff sind keine Daten verfügbar !"), 50, 500);
    s.strokePerm = 0;
  } else {
    const Real k = 1.25L;
    const Real su = (so - sh0) / m;
    const Real e6 = std::min(so, 1.25L * sh0), x6 = (so - e6) / m;
    const Real e5 = std::min(so, 1.5L * sh0), x5 = (so - e5) / m;
    if (goodman) {
      SetLayer(ws.drawing, 18);
      FatigueLine(ws, k, 0, sh0, su, so, so, so);
      TextStyle(ws.drawing, 2, 0, 2.0L, 1.6L);
      DataText(ws, "  10 Mill.Lastsp.", k * su + 20, k * so + 20);
      SetLayer(ws.drawing, 21);
      FatigueLine(ws, k, 0, e6, x6, so, su, so);
      DataText(ws, "   1Mio.", k * x6 - 20, k * so + 20);
      SetLayer(ws.drawing, 29);
      FatigueLine(ws, k, 0, e5, x5, so, x6, so);
      DataText(ws, " 100000", k * x5 - 20, k * so + 20);
    } else {
      SetLayer(ws.drawing, 18);
      FatigueLine(ws, k, 0, sh0, su, so - su, so, 0);
      const Real angle = std::atan2(so - sh0 - su, su) * 180 / kPi;
      TextStyle(ws.drawing, 2, std::isfinite(angle) ? angle : 0, 2.0L, 1.6L);
      DataText(ws, "10 Mill.Lastsp.", 10, k * sh0 + 30);
      SetLayer(ws.drawing, 21);
      FatigueLine(ws, k, 0, e6, x6, so - x6, su, so - su);
      DataText(ws, "1 Mio.Lastsp.", 0, k * e6 + 30);
      SetLayer(ws.drawing, 29);
      FatigueLine(ws, k, 0, e5, x5, so - x5, x6, so - x6);
      DataText(ws, "100000 Lastsp.", 0, k * e5 + 30);
    }
  }

  // The working points on the bending level.
  const Real q1 = s.sigmaq1, q2 = s.sigmaq2;
  if (goodman) {
    SetLayer(ws.drawing, 21);
    DataCircle(ws, q1, q1, 12);
    DataCircle(ws, q1, q2, 12);
    SetLayer(ws.drawing, 16);
    DataMoveTo(ws, q1, q1);
    DataLineTo(ws, q1, q2);
    SetLayer(ws.drawing, 19);
    DataText(ws, "sigma1", q1 + 40, q1);
    DataText(ws, "sigma2", q1 + 40, q2);
    TextStyle(ws.drawing, 2, 0, 2.5L, 2.0L);
    MoveTo(ws.drawing, 6, 7.5L);
    TextLine(ws.drawing, "Dauerfestigkeitsschaubild (Goodman-Diagramm)");
  } else {
    SetLayer(ws.drawing, 21);
    DataCircle(ws, q1, 0, 12);
    DataCircle(ws, q1, q2 - q1, 12);
    SetLayer(ws.drawing, 16);
    DataMoveTo(ws, q1, 0);
    DataLineTo(ws, q1, q2 - q1);
    SetLayer(ws.drawing, 19);
    TextStyle(ws.drawing, 2, 0, 2.0L, 1.6L);
    DataText(ws, "sigma 1", q1 + 20, 10);
    DataText(ws, "sigma h", q1 + 20, q2 - q1);
  }
  MoveTo(ws.drawing, 6, 4);
  TextStyle(ws.drawing, 2, 0, 2.5L, 2.0L);
  TextLine(ws.drawing, materialLine);

  // Data block.
  MoveTo(ws.drawing, 115, 100);
  TextStyle(ws.drawing, 2, 0, 2.5L, 2.0L);
  SetLayer(ws.drawing, 19);
  TextLine(ws.drawing, "sig.q1= " + f.str4(s.sigmaq1));
  TextLine(ws.drawing, "sig.q2= " + f.str4(s.sigmaq2));
  TextLine(ws.drawing, "sig.h = " + f.str4(s.sigmah));
  TextLine(ws.drawing, " ");
  TextLine(ws.drawing, "E = " + f.str4(s.E));
  TextLine(ws.drawing, "rho = " + fmtFixedDec(n, 2, s.rho) + " kg/dm3");
  TextLine(ws.drawing, "Rm = " + f.str4(s.Rm));
  TextLine(ws.drawing, "sig.z= " + f.str4(s.sigman));
  TextLine(ws.drawing, "sig.oz= " + f.str4(1.25L * so));
  if (s.strokePerm > 0) TextLine(ws.drawing, "sig.hz= " + f.str4(s.sighz));
  TextLine(ws.drawing, " ");
  TextLine(ws.drawing, "T = " + fmtTemp(n, s.theta) + " " + unitTemp(n));
  TextLine(ws.drawing, "E" + f.whole(toDisplayTemp(n, s.theta)) + " = " + f.strU(s.Et));
  TextLine(ws.drawing, " ");
  if (isWire(s)) {
    TextLine(ws.drawing, "d  = " + f.len(s.t));
  } else {
    TextLine(ws.drawing, "b  = " + f.len(s.b));
    TextLine(ws.drawing, "h  = " + f.len(s.t));
  }
  TextLine(ws.drawing, " ");
  if (s.strokePerm > 0 && s.statdyn == 2) {
    TextLine(ws.drawing, "N = " + f.sig(s.cyclesN / 1e6L) + " " + "Mill.Lastsp.");
    if (s.cyclesN < 1e7L) {
      if (const std::optional<Real> h = LifetimeHours(s.cyclesN, s.freq))
        TextLine(ws.drawing, "Nt= " + f.sig(*h) + " h  (f=" + f.sig(s.freq) + "/s)");
    }
  }
}

}  // namespace

std::optional<ViewKind> ViewKindFromNumber(long long n) {
  switch (n) {
    case 1:
      return ViewKind::Quick1;
    case 2:
      return ViewKind::Characteristic;
    case 3:
      return ViewKind::Goodman;
    case 4:
      return ViewKind::Quick2;
    case 5:
      return ViewKind::Strength;
    case 6:
      return ViewKind::BendingStress;
    case 7:
      return ViewKind::Haigh;
    default:
      return std::nullopt;
  }
}

std::string ViewDefaultName(ViewKind kind) {
  switch (kind) {
    case ViewKind::Quick1:
      return "VELKQUIK";
    case ViewKind::Characteristic:
      return "VELKLINE";
    case ViewKind::Goodman:
      return "GOODMAN";
    case ViewKind::Quick2:
    case ViewKind::Strength:
    case ViewKind::BendingStress:
    case ViewKind::Haigh:
      return "VELK";
  }
  return "VELK";
}

bool ShowMessagesInstead(OutputContext& ws) {
  if (!ws.messages.fatal) return false;
  ShowMessageWindow(ws);
  return true;
}

std::string MaterialTitle(const OutputContext& ws) {
  const Spring& s = ws.spring;
  std::string designation;
  if (!isWire(s))
    designation = trim(ws.materials.strip.name2);
  else if (s.matSource == 0)
    designation = trim(ws.materials.wire.name2);
  else
    designation = "Werkstoff: " + s.matName;
  return s.matName + " (" + designation + ")";
}

std::string MaterialSecondLine(const OutputContext& ws) {
  const Spring& s = ws.spring;
  if (isWire(s) && s.matSource != 0) return " ";
  const std::string& n3 = isWire(s) ? ws.materials.wire.name3 : ws.materials.strip.name3;
  const std::string& n4 = isWire(s) ? ws.materials.wire.name4 : ws.materials.strip.name4;
  return trim(n3) + " " + trim(n4);
}

void ValueBlockA(OutputContext& ws) {
  const Spring& s = ws.spring;
  const Fmt f{ws.num()};
  SetLayer(ws.drawing, 19);
  TextStyle(ws.drawing, 2, 0, 2.3L, 1.7L);
  MoveTo(ws.drawing, 125, 103);
  if (isWire(s)) {
    TextLine(ws.drawing, "d  = " + f.lenU(s.t));
  } else {
    TextLine(ws.drawing, "b  = " + f.lenU(s.b));
    TextLine(ws.drawing, "t  = " + f.lenU(s.t));
  }
  TextLine(ws.drawing, "re  = " + f.lenU(s.re));
  TextLine(ws.drawing, "ri  = " + f.lenU(s.ri));
  TextLine(ws.drawing, "n0 = " + f.sig(s.n0) + " Wdg.");
  TextLine(ws.drawing, "Lw = " + f.lenU(s.Lw));
  TextLine(ws.drawing, " ");
  TextLine(ws.drawing, "alpha1= " + f.angU(s.alpha1));
  TextLine(ws.drawing, "alpha2= " + f.angU(s.alpha2));
  TextLine(ws.drawing, "alphac= " + f.angU(s.alphac));
  TextLine(ws.drawing, " ");
  TextLine(ws.drawing, "delta0= " + f.angU(s.delta0));
  TextLine(ws.drawing, "delta1= " + f.angU(s.delta1));
  TextLine(ws.drawing, "delta2= " + f.angU(s.delta2));
  TextLine(ws.drawing, "deltac= " + f.angU(s.deltac));
  TextLine(ws.drawing, " ");
  TextLine(ws.drawing, "T1 = " + f.momU(s.T1));
  TextLine(ws.drawing, "T2 = " + f.momU(s.T2));
  TextLine(ws.drawing, "Tc = " + f.momU(s.Tc));
  TextLine(ws.drawing, " ");
  TextLine(ws.drawing, "kb   = " + f.sig(s.kb));
  TextLine(ws.drawing, "sigmaq1=" + f.strU(s.sigmaq1));
  TextLine(ws.drawing, "sigmaq2=" + f.strU(s.sigmaq2));
  TextLine(ws.drawing, "sigmaqh=" + f.strU(s.sigmah));
  TextLine(ws.drawing, "sigmaz =" + f.strU(s.sigman));
}

void DrawCharacteristic(OutputContext& ws) {
  const Spring& s = ws.spring;
  DataMoveTo(ws, 0, 0);
  DataLineTo(ws, s.alphac, s.Tc);
  DataTextStyle(ws, 2, 0, s.Tc / 30, s.alphac / 30);

  SetLayer(ws.drawing, 16);
  DataText(ws, "Tc", 0.5L * s.alphac, 1.01L * s.Tc);
  SetLineStyle(ws.drawing, 3);
  DataMoveTo(ws, s.alphac, 0);
  DataLineTo(ws, s.alphac, s.Tc);
  DataLineTo(ws, 0, s.Tc);

  SetLayer(ws.drawing, 21);
  DataText(ws, "T2", 0.1L * s.alphac, s.T2 + 0.01L * s.Tc);
  SetLineStyle(ws.drawing, 3);
  DataMoveTo(ws, s.alpha2, 0);
  DataLineTo(ws, s.alpha2, s.T2);
  DataLineTo(ws, 0, s.T2);

  SetLayer(ws.drawing, 20);
  DataText(ws, "T1", 0.04L * s.alphac, s.T1 + 0.01L * s.Tc);
  SetLineStyle(ws.drawing, 3);
  DataMoveTo(ws, s.alpha1, 0);
  DataLineTo(ws, s.alpha1, s.T1);
  DataLineTo(ws, 0, s.T1);

  SetLayer(ws.drawing, 0);
}

void ShowView(OutputContext& ws, ViewKind kind, DeviceCode device) {
  if (ShowMessagesInstead(ws)) return;
  OpenDrawing(ws, device, ViewDefaultName(kind));
  if (ws.abort) return;
  DiagramReset(ws);
  // The limits dialog belongs to drawings whose device was asked or is a file, never to a view
  // opened straight on the screen.
  ws.diagram.offerLimits = device != DeviceCode::Screen;
  Window(ws.drawing, 0, 0, 160, 120);
  Tables(ws.drawing, DrawingKind::Diagram);
  BeginEntities(ws.drawing, ws.diag);
  switch (kind) {
    case ViewKind::Quick1:
      QuickOne(ws);
      break;
    case ViewKind::Characteristic:
      CharacteristicSheet(ws);
      break;
    case ViewKind::Goodman:
    case ViewKind::Haigh:
      FatigueSheet(ws, kind);
      break;
    case ViewKind::Quick2:
      QuickTwo(ws);
      break;
    case ViewKind::Strength:
    case ViewKind::BendingStress:
      StrengthSheet(ws, kind);
      break;
  }
  EndEntities(ws.drawing);
  FinishDrawing(ws);
  NormalCursor(ws);
}

void ChooseDiagram(OutputContext& ws) {
  static const char* const kEntries[] = {"Quick 1",   "Federkennlinie", "Goodman-Diagramm", "Quick 2",
                                         "Rm = f(t)", "Sigma b = f(t)", "Haigh-Goodman",    "zurück..."};
  constexpr int kCount = 8;
  uint16_t choice = 1;
  for (;;) {
    // The views may use the shared choice items (device dialog, message window): fill them anew.
    for (int i = 0; i < kCount; ++i) ws.choiceItems[static_cast<size_t>(i) + 1] = oem(kEntries[i]);
    SetHelpNumber(ws, kHelpChooseDiagram);
    ChooseItem(ws, oem("Diagrammtyp wählen"), kCount, choice);
    if (ws.abort || choice >= kCount) return;
    ShowView(ws, *ViewKindFromNumber(choice), DeviceCode::Ask);
    ws.abort = false;  // a view cancelled in its device or save dialog returns to the selection
  }
}

}  // namespace velk
