// The calculation core: every result of the spiral spring from its inputs, step by step in a fixed
// order, with the findings in the calculation message list.
#include "calc/calculate.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "base/codepage.h"
#include "calc/fatigue.h"
#include "calc/material.h"
#include "data/document.h"
#include "data/springkinds.h"

namespace velk {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

// Up to this many factors IntPower multiplies one by one (the defined rounding for every practical
// exponent); beyond it, squaring keeps an absurd exponent from taking seconds.
constexpr unsigned long long kDirectPowerLimit = 4096;

// Every value the calculation stores must be finite and within its sane range (ResultInRange).
template <class... T>
bool allFinite(T... x) {
  return (ResultInRange(x) && ...);
}

// Adds a fatal message and raises the fatal flag: the calculation stops after this. False, for the
// step to return.
bool stopFatal(CalcMessages& msgs, std::string_view text) {
  AddCalcMessage(msgs, text);
  msgs.fatal = true;
  return false;
}

bool stopInvalidResult(CalcMessages& msgs) { return stopFatal(msgs, InvalidResultMessage()); }

// Every real the calculation reads, of the spring and of the material record it will use, finite and
// in range. The frequency only enters the lifetime, which leaves out a frequency that is not finite.
bool inputsFinite(const Spring& s, const Materials& mat) {
  if (std::isfinite(s.freq) && !ResultInRange(s.freq)) return false;
  if (!allFinite(s.b, s.t, s.ri, s.re, s.n0, s.alpha1, s.alpha2, s.theta, s.li, s.rbi, s.le, s.rbe, s.E, s.rho))
    return false;
  if (crossSectionOf(s) == CrossSection::Wire) {
    const WireRecord& w = mat.wire;
    return allFinite(w.rho, w.d0, w.dG, w.plain.m, w.peened.m, w.dmin, w.dmax);
  }
  const StripRecord& r = mat.strip;
  return allFinite(r.rho, r.t0, r.tG, r.plain.m, r.peened.m, r.tmin, r.tmax, r.f);
}

// Which bent ends keep their length and bend radius. Only the combinations clamped/bent of both
// ends are recognised; any other selector value counts as "no bent end".
struct EndForms {
  bool innerBent = false;
  bool outerBent = false;
};

EndForms endForms(const Spring& s) {
  const EndKind inner = innerEndOf(s), outer = outerEndOf(s);
  const bool known = inner != EndKind::Other && outer != EndKind::Other;
  return {known && inner == EndKind::Bent, known && outer == EndKind::Bent};
}

void sectionValues(const Spring& s, Real& Ib, Real& Wb) {
  if (crossSectionOf(s) == CrossSection::Wire) {
    Ib = kPi / 64 * s.t * s.t * s.t * s.t;
    Wb = kPi / 32 * s.t * s.t * s.t;
  } else {
    Ib = s.b * s.t * s.t * s.t / 12;
    Wb = s.b * s.t * s.t / 6;
  }
}

// Quotient whose divisor may have underflowed to 0: NaN then, which the result guard reports.
Real quotient(Real num, Real den) { return den == 0 ? std::numeric_limits<Real>::quiet_NaN() : num / den; }

// ---- the steps of the calculation ----
//
// Each step reads the spring (and, where named, its material records), computes into locals and
// stores only finite values: a result that cannot be represented stops the calculation like the
// division guards do, and leaves later results as they were. A step returns false when the
// calculation stops after it (its message is in the list then).

// 3: modulus at the operating temperature.
bool operatingModulus(Spring& s, CalcMessages& msgs) {
  const Real Et = (3620 - s.theta) * s.E / 3600;
  if (!allFinite(Et)) return stopInvalidResult(msgs);
  s.Et = Et;
  return true;
}

// 4: second working angle and stroke angle.
bool strokeAngle(Spring& s, CalcMessages& msgs) {
  if (s.alpha2 == 0) s.alpha2 = 20;
  const Real alphah = s.alpha2 - s.alpha1;
  if (!allFinite(alphah)) return stopInvalidResult(msgs);
  s.alphah = alphah;
  return true;
}

// 5: strength and permissible stress for t; Rm and sigman stay as they were when not finite.
bool strengthForThickness(Document& doc) {
  Spring& s = doc.spring;
  const Real oldRm = s.Rm, oldSigman = s.sigman;
  UpdateStrength(doc);
  if (allFinite(s.Rm, s.sigman)) return true;
  s.Rm = oldRm;
  s.sigman = oldSigman;
  return stopInvalidResult(doc.messages);
}

// 6, 7: the divisors of everything that follows.
bool turnsAndThicknessNonZero(const Spring& s, CalcMessages& msgs) {
  if (s.n0 == 0) return stopFatal(msgs, "Fatal  : n = 0 !");
  if (s.t == 0) return stopFatal(msgs, "Fatal  : t = 0 !");
  return true;
}

// 8: a strip without width gets ten times its thickness.
bool defaultWidth(Spring& s, CalcMessages& msgs) {
  if (s.b != 0) return true;
  const Real b = 10 * s.t;
  if (!allFinite(b)) return stopInvalidResult(msgs);
  s.b = b;
  return true;
}

// 9: gap between the turns, unloaded.
bool unloadedGap(Spring& s, CalcMessages& msgs) {
  const Real a0 = (s.re - s.ri) / s.n0 - s.t;
  if (!allFinite(a0)) return stopInvalidResult(msgs);
  s.a0 = a0;
  if (a0 <= 0) AddCalcMessage(msgs, "Fehler : a < 0 !");
  return true;
}

// 10: active and developed length. A clamped end has no length of its own: counting a stale
// length here would make the result depend on whether step 18 had cleared it in an earlier run.
bool lengths(Spring& s, EndForms ends, CalcMessages& msgs) {
  const Real Lw = kPi * s.n0 * (s.re + s.ri);
  const Real L = Lw + (ends.innerBent ? s.li : 0) + (ends.outerBent ? s.le : 0);
  if (!allFinite(Lw, L)) return stopInvalidResult(msgs);
  s.Lw = Lw;
  s.L = L;
  return true;
}

// 11: section.
bool section(Spring& s, CalcMessages& msgs) {
  Real Ib = 0, Wb = 0;
  sectionValues(s, Ib, Wb);
  if (!allFinite(Ib, Wb)) return stopInvalidResult(msgs);
  s.Ib = Ib;
  s.Wb = Wb;
  return true;
}

// 12, 13: spring rate (Nmm per degree) and moments, over the active length.
bool rateAndMoments(Spring& s, CalcMessages& msgs) {
  if (s.Lw == 0) return stopFatal(msgs, "Fatal  : lw = 0 !");
  const Real cT = s.Et * s.Ib / s.Lw * kPi / 180;
  const Real T1 = s.alpha1 * cT;
  const Real T2 = s.alpha2 * cT;
  if (!allFinite(cT, T1, T2)) return stopInvalidResult(msgs);
  s.cT = cT;
  s.T1 = T1;
  s.T2 = T2;
  return true;
}

// 14: turns in the working positions.
bool workingTurns(Spring& s, CalcMessages& msgs) {
  const Real n1 = s.n0 + s.alpha1 / 360;
  const Real n2 = s.n0 + s.alpha2 / 360;
  if (!allFinite(n1, n2)) return stopInvalidResult(msgs);
  s.n1 = n1;
  s.n2 = n2;
  if (n1 == 0) return stopFatal(msgs, "Fatal  : n1 = 0 !");
  if (n2 == 0) return stopFatal(msgs, "Fatal  : n2 = 0 !");
  return true;
}

// 15: outer radius and gap in the working positions (constant developed length).
bool workingRadiiAndGaps(Spring& s, CalcMessages& msgs) {
  const Real re1 = s.Lw / (kPi * s.n1) - s.ri;
  const Real re2 = s.Lw / (kPi * s.n2) - s.ri;
  const Real a1 = (re1 - s.ri) / s.n1 - s.t;
  const Real a2 = (re2 - s.ri) / s.n2 - s.t;
  if (!allFinite(re1, re2, a1, a2)) return stopInvalidResult(msgs);
  s.re1 = re1;
  s.re2 = re2;
  s.a1 = a1;
  s.a2 = a2;
  return true;
}

// 16: closed spiral, turns touching (pitch t). A negative radicand (negative length) is NaN here.
bool closedSpiral(Spring& s, CalcMessages& msgs) {
  const Real q = s.ri / s.t;
  const Real nc = std::sqrt(q * q + s.Lw / (kPi * s.t)) - q;
  const Real alphac = (nc - s.n0) * 360;
  const Real rec = nc * s.t + s.ri;
  const Real Tc = alphac * s.cT;
  if (!allFinite(nc, alphac, rec, Tc)) return stopInvalidResult(msgs);
  s.nc = nc;
  s.alphac = alphac;
  s.rec = rec;
  s.Tc = Tc;
  return true;
}

// 17: nominal bending stresses.
bool nominalStresses(Spring& s, CalcMessages& msgs) {
  const Real sigma1 = BendingStress(s, s.T1);
  const Real sigma2 = BendingStress(s, s.T2);
  const Real sigmac = BendingStress(s, s.Tc);
  if (!allFinite(sigma1, sigma2, sigmac)) return stopInvalidResult(msgs);
  s.sigma1 = sigma1;
  s.sigma2 = sigma2;
  s.sigmac = sigmac;
  return true;
}

// 18: stress correction factor of the ends and of the inner winding; the length and bend radius
// of an end that is not bent are cleared.
bool correctionFactor(Spring& s, EndForms ends, CalcMessages& msgs) {
  Real kE = 1;
  if (ends.innerBent && ends.outerBent)
    kE = EdgeFactor(std::min(s.rbi, s.rbe), s.t);
  else if (ends.innerBent)
    kE = EdgeFactor(s.rbi, s.t);
  else if (ends.outerBent)
    kE = EdgeFactor(s.rbe, s.t);
  const Real kI = (applicationOf(s) == Application::Dynamic || s.alpha1 < 0) ? EdgeFactor(s.ri, s.t) : 1;
  if (!allFinite(kE, kI)) return stopInvalidResult(msgs);
  if (!ends.innerBent) s.rbi = s.li = 0;
  if (!ends.outerBent) s.rbe = s.le = 0;
  s.kb = std::max(kE, kI);
  return true;
}

// 19: corrected stresses and stroke stress.
bool correctedStresses(Spring& s, CalcMessages& msgs) {
  const Real sigmaq1 = s.kb * s.sigma1;
  const Real sigmaq2 = s.kb * s.sigma2;
  const Real sigmah = sigmaq2 - sigmaq1;
  if (!allFinite(sigmaq1, sigmaq2, sigmah)) return stopInvalidResult(msgs);
  s.sigmaq1 = sigmaq1;
  s.sigmaq2 = sigmaq2;
  s.sigmah = sigmah;
  return true;
}

// 20, 21: fatigue (its findings do not stop the calculation) and material limits.
void fatigueAndMaterialLimits(Document& doc, const NumberSettings& num) {
  FatigueEvaluation(doc);
  CheckMaterialLimits(doc, num);
}

// 22: back from the torsional level of the fatigue data to bending.
bool permissibleBendingStroke(Spring& s, CalcMessages& msgs) {
  const Real sighz = 1.25L * s.strokePerm;
  if (!allFinite(sighz)) return stopInvalidResult(msgs);
  s.sighz = sighz;
  return true;
}

// 23: angles between the spring ends.
bool endAngles(Spring& s, CalcMessages& msgs) {
  const Real delta0 = NormalizeAngle(360 - 360 * (s.n0 - std::trunc(s.n0)));
  const Real delta1 = delta0 - s.alpha1;
  const Real delta2 = delta0 - s.alpha2;
  const Real deltac = delta0 - s.alphac;
  if (!allFinite(delta0, delta1, delta2, deltac)) return stopInvalidResult(msgs);
  s.delta0 = delta0;
  s.delta1 = delta1;
  s.delta2 = delta2;
  s.deltac = deltac;
  return true;
}

// 24: mass in g.
bool mass(Spring& s, CalcMessages& msgs) {
  const Real m = crossSectionOf(s) == CrossSection::Wire ? kPi / 4 * s.t * s.t * s.L * s.rho * 0.001L
                                                         : s.L * s.t * s.b * s.rho * 0.001L;
  if (!allFinite(m)) return stopInvalidResult(msgs);
  s.m = m;
  return true;
}

// 25: work between the working positions.
bool work(Spring& s, CalcMessages& msgs) {
  const Real W = (s.T2 * s.alpha2 - s.T1 * s.alpha1) * kPi / 360;
  if (!allFinite(W)) return stopInvalidResult(msgs);
  s.W = W;
  return true;
}

// 26: checks of the complete results, in this order.
void checkResults(const Spring& s, CalcMessages& msgs) {
  if (s.a0 <= 0) AddCalcMessage(msgs, "Fehler : a0 < 0 !");
  if (s.a1 <= 0) AddCalcMessage(msgs, "Fehler : a1 < 0 !");
  if (s.a2 <= 0) AddCalcMessage(msgs, "Fehler : a2 < 0 !");
  if (s.alpha2 >= s.alphac) AddCalcMessage(msgs, "Fehler : al.2>al.c !");
  if (s.alpha1 >= s.alphac) AddCalcMessage(msgs, "Fehler : al.1>al.c !");
  if (s.sigma1 >= s.sigman) AddCalcMessage(msgs, "Fehler : Sig.1>Sig.zul !");
  if (s.sigma2 >= s.sigman) AddCalcMessage(msgs, "Fehler : Sig.2>Sig.zul !");
  if (s.sigmaq1 >= s.sigman) AddCalcMessage(msgs, "Fehler : Sig.q1>Sig.zul !");
  if (s.sigmaq2 >= s.sigman) AddCalcMessage(msgs, "Fehler : Sig.q2>Sig.zul !");
  if (s.sigmac >= s.sigman) AddCalcMessage(msgs, "Warnung: Sig.c>Sig.zul !");
  if (s.n0 < 2) AddCalcMessage(msgs, "Warnung: n < 2 !");
  if (s.b < s.t) AddCalcMessage(msgs, "Fehler : t > b !");
  if (outerEndOf(s) == EndKind::Bent) {
    // "Fatal" by its wording, yet it leaves the flag clear: every result above is complete.
    if (s.rbe == 0) AddCalcMessage(msgs, "Fatal  : rbe = 0 !");
    if (s.rbe < s.t) AddCalcMessage(msgs, "Fehler : rbe<d !");
    if (s.rbe < 1.5L * s.t) AddCalcMessage(msgs, "Warnung: rbe<1.5*d !");
    if (s.rbe > s.le) AddCalcMessage(msgs, "Fehler : lbe<rbe !");
  }
  if (innerEndOf(s) == EndKind::Bent) {
    if (s.rbi == 0) AddCalcMessage(msgs, "Fatal  : rbi = 0 !");
    if (s.rbi < s.t) AddCalcMessage(msgs, "Fehler : rbi<d !");
    if (s.rbi < 1.5L * s.t) AddCalcMessage(msgs, "Warnung: rbi<1.5*d !");
    if (s.rbi > s.li) AddCalcMessage(msgs, "Fehler : lbi<rbi !");
  }
}

}  // namespace

bool ResultInRange(Real x) { return std::isfinite(x) && std::fabs(x) <= kResultLimit; }

bool CycleCountInRange(Real x) { return std::isfinite(x) && std::fabs(x) <= kCycleLimit; }

std::string InvalidInputMessage() { return oem("Fatal  : Eingabe ungültig !"); }
std::string InvalidResultMessage() { return oem("Fatal  : Ergebnis ungültig !"); }

void SectionProperties(Spring& s) { sectionValues(s, s.Ib, s.Wb); }

Real BendingStress(const Spring& s, Real M) {
  if (crossSectionOf(s) == CrossSection::Wire) return 32 / kPi * quotient(M, s.t * s.t * s.t);
  return quotient(6 * M, s.t * s.t * s.b);
}

Real EdgeFactor(Real r, Real t) {
  if (r == 0 || t == 0) return 1;
  return 1.02L + 0.49L * t / r;
}

Real NormalizeAngle(Real angle) {
  // fmod is exact, so for every value the stepwise adding or subtracting of 360 can reach it gives
  // the same result; unlike the stepping it also ends for huge values (NaN for NaN and infinities).
  if (angle < 0) return std::fmod(angle, 360.0L) + 360;  // (-360, 0] + 360: never 0
  if (angle > 360) return std::fmod(angle, 360.0L);
  return angle;
}

Real PowerNamed(CalcMessages& msgs, const std::string& name, Real base, Real exponent) {
  if (base == 0) return 0;
  if (base < 0) {
    base = -base;
    AddCalcMessage(msgs, name + " (pow)");
  }
  const Real l = exponent * std::log(base);
  if (l > 3000) return 1e3000L;
  if (l < -3000) return 0;
  return std::exp(l);  // NaN stays NaN; powl would cost ten times as much for the same digits
}

Real IntPower(Real x, int n) {
  // |n| in a wider type: -INT_MIN does not fit an int.
  unsigned long long k = static_cast<unsigned long long>(n < 0 ? -static_cast<long long>(n) : n);
  Real r = 1;
  if (k <= kDirectPowerLimit) {
    for (; k > 0; --k) r *= x;
  } else {
    for (Real f = x; k > 0; k >>= 1, f *= f)
      if (k & 1) r *= f;
  }
  if (n >= 0) return r;
  if (r == 0) return std::copysign(std::numeric_limits<Real>::infinity(), r);
  return 1 / r;
}

void CalculateSpring(Document& doc, const NumberSettings& num) {
  Spring& s = doc.spring;
  CalcMessages& msgs = doc.messages;
  const EndForms ends = endForms(s);

  // 1, 2: fresh message list, title line; nothing is calculated from inputs out of range.
  ClearCalcMessages(msgs);
  s.titleLine = titleLineFromCalculation(s);
  if (!inputsFinite(s, doc.materials)) return (void)stopFatal(msgs, InvalidInputMessage());

  if (!operatingModulus(s, msgs)) return;          // 3
  if (!strokeAngle(s, msgs)) return;               // 4
  if (!strengthForThickness(doc)) return;          // 5
  if (!turnsAndThicknessNonZero(s, msgs)) return;  // 6, 7
  if (!defaultWidth(s, msgs)) return;              // 8
  if (!unloadedGap(s, msgs)) return;               // 9
  if (!lengths(s, ends, msgs)) return;             // 10
  if (!section(s, msgs)) return;                   // 11
  if (!rateAndMoments(s, msgs)) return;            // 12, 13
  if (!workingTurns(s, msgs)) return;              // 14
  if (!workingRadiiAndGaps(s, msgs)) return;       // 15
  if (!closedSpiral(s, msgs)) return;              // 16
  if (!nominalStresses(s, msgs)) return;           // 17
  if (!correctionFactor(s, ends, msgs)) return;    // 18
  if (!correctedStresses(s, msgs)) return;         // 19
  fatigueAndMaterialLimits(doc, num);              // 20, 21
  if (!permissibleBendingStroke(s, msgs)) return;  // 22
  if (!endAngles(s, msgs)) return;                 // 23
  if (!mass(s, msgs)) return;                      // 24
  if (!work(s, msgs)) return;                      // 25
  checkResults(s, msgs);                           // 26
}

}  // namespace velk
