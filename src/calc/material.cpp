// Material laws: strength over thickness, permissible stress, fatigue values, limits, DIN 2076.
#include "calc/material.h"

#include <cmath>

#include "base/codepage.h"
#include "data/document.h"
#include "data/springkinds.h"

namespace velk {

Real Lg(Real x) { return x <= 0 ? -1e30L : std::log10(x); }

namespace {

Real strengthLaw(long long Rm0, Real t0, long long Rmmax, long long kRm, Real t, const char* tooThin,
                 CalcMessages& msgs) {
  if (!(t > 0)) {
    AddCalcMessage(msgs, tooThin);
    return 0.1L;
  }
  if (t0 == 0) {
    AddCalcMessage(msgs, "Fatal  : DR0 = 0 !");
    return 0.1L;
  }
  Real rm = static_cast<Real>(Rm0) - static_cast<Real>(kRm) * Lg(t / t0);
  if (Rmmax > 1 && rm > static_cast<Real>(Rmmax)) rm = static_cast<Real>(Rmmax);
  return rm;
}

}  // namespace

Real StrengthAt(const StripRecord& r, Real t, CalcMessages& msgs) {
  return strengthLaw(r.Rm0, r.t0, r.Rmmax, r.kRm, t, "Fatal  : t <= 0 !", msgs);
}

Real StrengthAt(const WireRecord& r, Real d, CalcMessages& msgs) {
  return strengthLaw(r.Rm0, r.d0, r.Rmmax, r.kRm, d, "Fatal  : d <= 0 !", msgs);
}

void UpdateStrength(Document& doc) {
  Spring& s = doc.spring;
  switch (crossSectionOf(s)) {
    case CrossSection::Strip: {
      StripRecord& r = doc.materials.strip;
      s.Rm = StrengthAt(r, s.t, doc.messages);
      if (r.f == 0) r.f = 0.75L;
      s.sigman = r.f * s.Rm;
      return;
    }
    case CrossSection::Wire:
      s.Rm = StrengthAt(doc.materials.wire, s.t, doc.messages);
      s.sigman = 0.7L * s.Rm;
      return;
    case CrossSection::Other:
      s.Rm = 0;
      return;
  }
}

GoodmanPoint GoodmanValues(const Document& doc, CalcMessages& msgs) {
  const Spring& s = doc.spring;
  Real tG = 0;
  const FatigueValues* plain = nullptr;
  const FatigueValues* peened = nullptr;
  if (crossSectionOf(s) == CrossSection::Wire) {
    tG = doc.materials.wire.dG;
    plain = &doc.materials.wire.plain;
    peened = &doc.materials.wire.peened;
  } else {
    tG = doc.materials.strip.tG;
    plain = &doc.materials.strip.plain;
    peened = &doc.materials.strip.peened;
  }
  GoodmanPoint g;
  if (!(tG > 0)) return g;
  const Real lg = Lg(s.t / tG);
  const bool shotPeened = surfaceOf(s) == Surface::ShotPeened;
  const FatigueValues& chosen = shotPeened ? *peened : *plain;
  const FatigueValues& other = shotPeened ? *plain : *peened;
  if (chosen.upper != 0 && chosen.stroke != 0) {
    g.sigmaO = chosen.upper - chosen.upperDecrease * lg;
    g.sigmaH0 = chosen.stroke - chosen.strokeDecrease * lg;
    g.m = chosen.m;
    return g;
  }
  // The chosen treatment has no values: borrow the other one's, with its stroke scaled.
  const Real scale = shotPeened ? 1.2L : 5.0L / 6.0L;
  g.sigmaO = other.upper - other.upperDecrease * lg;
  g.sigmaH0 = scale * other.stroke - other.strokeDecrease * lg;
  g.m = other.m;
  AddCalcMessage(msgs, "Warnung: approx.Goodman");
  return g;
}

void CheckMaterialLimits(Document& doc, const NumberSettings& n) {
  const Spring& s = doc.spring;
  Real tmin = 0, tmax = 0;
  long long Tmax = 0;
  if (crossSectionOf(s) == CrossSection::Wire) {
    tmin = doc.materials.wire.dmin;
    tmax = doc.materials.wire.dmax;
    Tmax = doc.materials.wire.Tmax;
  } else {
    tmin = doc.materials.strip.tmin;
    tmax = doc.materials.strip.tmax;
    Tmax = doc.materials.strip.Tmax;
  }
  if (s.t < tmin) AddCalcMessage(doc.messages, "Warnung: d<dmin (" + fmtSig(n, tmin) + ")");
  if (s.t > tmax) AddCalcMessage(doc.messages, "Warnung: d>dmax (" + fmtSig(n, tmax) + ")");
  if (s.theta > static_cast<Real>(Tmax)) AddCalcMessage(doc.messages, "Warnung: T>Tmax (" + fmtInt(Tmax) + oem("°C)"));
}

const Real kDin2076[86] = {0.07L, 0.08L, 0.09L, 0.1L,  0.11L, 0.12L, 0.14L, 0.16L, 0.18L, 0.2L,  0.22L, 0.25L, 0.28L,
                           0.3L,  0.32L, 0.34L, 0.36L, 0.38L, 0.4L,  0.43L, 0.45L, 0.48L, 0.5L,  0.53L, 0.56L, 0.6L,
                           0.63L, 0.65L, 0.7L,  0.75L, 0.8L,  0.85L, 0.9L,  0.95L, 1.0L,  1.05L, 1.1L,  1.2L,  1.25L,
                           1.3L,  1.4L,  1.5L,  1.6L,  1.7L,  1.8L,  1.9L,  2.0L,  2.1L,  2.25L, 2.4L,  2.5L,  2.6L,
                           2.8L,  3.0L,  3.2L,  3.4L,  3.6L,  3.8L,  4.0L,  4.25L, 4.5L,  4.75L, 5.0L,  5.3L,  5.6L,
                           6.0L,  6.3L,  6.5L,  7.0L,  7.5L,  8.0L,  8.5L,  9.0L,  9.5L,  10.0L, 10.5L, 11.0L, 12.0L,
                           12.5L, 13.0L, 14.0L, 15.0L, 16.0L, 17.0L, 18.0L, 19.0L};

Real RoundUpDin2076(CalcMessages& msgs, Real x) {
  // A series value counts as reached within a relative 1e-12: a diameter that went through a
  // double (a table field, a 6-byte real) lies a few ulps off the series value and must not be
  // rounded up to the next one (0.07 as a double is above 0.07L).
  for (Real v : kDin2076)
    if (v * (1 + 1e-12L) >= x) return v;
  AddCalcMessage(msgs, "Drahtdurchmesser nicht nach DIN 2076 !");
  return x;
}

}  // namespace velk
