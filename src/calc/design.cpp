// Design modes: the dimensioning and pre-dimensioning solvers and one pass of a mode.
#include "calc/design.h"

#include <cmath>
#include <numbers>

#include "calc/calculate.h"
#include "calc/material.h"
#include "data/document.h"
#include "data/springkinds.h"

namespace velk {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

// ---- solvers ----

template <class... T>
bool allFinite(T... x) {
  return (std::isfinite(x) && ...);
}

// Reports a fatal stop of a solver; returns false for the caller to pass on.
bool stopFatal(CalcMessages& msgs, std::string_view text) {
  AddCalcMessage(msgs, text);
  msgs.fatal = true;
  return false;
}

bool dimension(Document& doc) {
  Spring& s = doc.spring;
  CalcMessages& msgs = doc.messages;
  if (!allFinite(s.sigman, s.T1, s.T2, s.alphah, s.re, s.ri, s.t, s.b, s.theta, s.E))
    return stopFatal(msgs, InvalidInputMessage());

  // 1-2: permissible stress of the last calculation, first sizes, material values for t.
  if (s.sigman == 0) return stopFatal(msgs, "Fatal  : Sigma b zul = 0 !");
  if (!PreSize(doc)) return false;
  UpdateStrength(doc);
  const Real Et = (3620 - s.theta) * s.E / 3600;
  if (!allFinite(Et)) return stopFatal(msgs, InvalidResultMessage());
  s.Et = Et;

  // 3-5: rate from the moments over the stroke angle, and the working angles.
  if (s.alphah == 0) return stopFatal(msgs, "Fatal  : alpha h = 0 !");
  const Real cT = (s.T2 - s.T1) / s.alphah;
  if (!allFinite(cT)) return stopFatal(msgs, InvalidResultMessage());
  if (cT == 0) return stopFatal(msgs, "Fatal  : R = 0 !");
  const Real alpha1 = s.T1 / cT;
  const Real alpha2 = s.T2 / cT;
  if (!allFinite(alpha1, alpha2)) return stopFatal(msgs, InvalidResultMessage());
  s.cT = cT;
  s.alpha1 = alpha1;
  s.alpha2 = alpha2;
  SectionProperties(s);

  // 6-7: turns for the rate, from cT = Et Ib / (pi n0 (re + ri)) * pi / 180; without an outer
  // radius first a spiral whose gap equals the thickness.
  auto turns = [&](Real re, Real& n0) {
    const Real sum = re + s.ri;
    if (sum == 0) return stopFatal(msgs, RadiusSumZeroMessage());
    n0 = s.Et * s.Ib / (sum * 180 * cT);
    if (!allFinite(n0)) return stopFatal(msgs, InvalidResultMessage());
    return true;
  };
  Real re = s.re;
  Real n0 = 0;
  if (re == 0) {
    re = 10 * s.t + s.ri;
    for (int i = 0; i < 5; ++i) {
      if (!turns(re, n0)) return false;
      re = 2 * s.t * n0 + s.ri;
      if (!allFinite(re)) return stopFatal(msgs, InvalidResultMessage());
    }
  }
  if (!turns(re, n0)) return false;
  s.re = re;
  s.n0 = n0;
  return true;
}

// Puts the solver's findings back as the list's entries, without the fatal flag of a stop that
// the calculation after it has already answered.
void restoreNotes(CalcMessages& msgs, const CalcMessages& notes) {
  msgs = notes;
  msgs.fatal = false;
}

}  // namespace

void SolveDesign(Document& doc, const NumberSettings& num, DesignMode mode) {
  switch (mode) {
    case DesignMode::Recalculation:
      CalculateSpring(doc, num);
      break;
    case DesignMode::Dimensioning:
      Dimension(doc);
      CalculateAfterSolver(doc, num);
      break;
    case DesignMode::PreDimensioning:
      PreDimension(doc, num);
      break;
  }
}

// ---- solvers ----

std::string WidthZeroMessage() { return "Fatal  : b = 0 !"; }
std::string MomentZeroMessage() { return "Fatal  : T2 = 0 !"; }
std::string RadiusSumZeroMessage() { return "Fatal  : Re + Ri = 0 !"; }

bool ThicknessForMoment(Document& doc) {
  Spring& s = doc.spring;
  CalcMessages& msgs = doc.messages;
  const bool wire = crossSectionOf(s) == CrossSection::Wire;
  if (!allFinite(s.T2, s.sigman) || (!wire && !std::isfinite(s.b))) return stopFatal(msgs, InvalidInputMessage());
  if (s.sigman == 0) return stopFatal(msgs, "Fatal  : Sigma b zul = 0 !");
  // A zero moment asks for a zero thickness, which nothing after this can divide by.
  if (s.T2 == 0) return stopFatal(msgs, MomentZeroMessage());
  Real t = 0;
  if (wire) {
    t = PowerNamed(msgs, "GetT0", 32 * s.T2 / (kPi * s.sigman), 1.0L / 3);
  } else {
    if (s.b == 0) return stopFatal(msgs, WidthZeroMessage());
    // As for the wire: a negative moment, stress or width is taken by its magnitude.
    Real q = 6 * s.T2 / (s.sigman * s.b);
    if (q < 0) {
      AddCalcMessage(msgs, "GetT0 (pow)");
      q = -q;
    }
    t = std::sqrt(q);
  }
  if (!(std::isfinite(t) && t > 0)) return stopFatal(msgs, InvalidResultMessage());
  s.t = t;  // UpdateStrength reads the thickness from here
  return true;
}

bool PreSize(Document& doc) {
  Spring& s = doc.spring;
  CalcMessages& msgs = doc.messages;
  if (s.t == 0) {
    const Real t0 = s.t, b0 = s.b;
    if (s.b == 0) s.b = 1;
    for (int i = 0; i < 5; ++i) {
      if (!ThicknessForMoment(doc)) {
        s.t = t0;
        s.b = b0;
        return false;
      }
      s.b = 10 * s.t;
    }
    const Real t = RoundUpDin2076(msgs, s.t);
    const Real b = RoundUpDin2076(msgs, s.b);
    if (!allFinite(t, b)) {
      s.t = t0;
      s.b = b0;
      return stopFatal(msgs, InvalidResultMessage());
    }
    s.t = t;
    s.b = b;
  }
  if (s.b == 0) {
    if (!allFinite(s.T2, s.sigman, s.t)) return stopFatal(msgs, InvalidInputMessage());
    if (s.sigman == 0) return stopFatal(msgs, "Fatal  : Sigma b zul = 0 !");
    if (s.t == 0) return stopFatal(msgs, "Fatal  : t = 0 !");
    const Real b = RoundUpDin2076(msgs, 1.1L * 6 * s.T2 / (s.sigman * s.t * s.t));
    if (!allFinite(b)) return stopFatal(msgs, InvalidResultMessage());
    s.b = b;
  }
  return true;
}

void Dimension(Document& doc) { dimension(doc); }

void CalculateAfterSolver(Document& doc, const NumberSettings& num) {
  const CalcMessages notes = doc.messages;
  CalculateSpring(doc, num);
  for (int i = 0; i < notes.count; ++i) AddCalcMessage(doc.messages, notes.entries[i]);
}

void PreDimension(Document& doc, const NumberSettings& num) {
  Spring& s = doc.spring;
  CalcMessages& msgs = doc.messages;
  const Real t0 = s.t, b0 = s.b;

  // Stops before the geometry is complete leave it as it was and still calculate, so that the
  // table shows results that belong to the fields.
  auto stop = [&](std::string_view text) {
    s.t = t0;
    s.b = b0;
    if (!text.empty()) stopFatal(msgs, text);
    CalculateAfterSolver(doc, num);
  };
  if (!allFinite(s.alphah, s.a0_t, s.b_t)) return stop(InvalidInputMessage());

  // 1-3: thickness and width for the ratio b/t, then both to the DIN 2076 series.
  for (int i = 0; i < 5; ++i) {
    if (!ThicknessForMoment(doc)) return stop({});
    s.b = s.b_t > 0.1L ? s.b_t * s.t : 10 * s.t;
  }
  const Real t = RoundUpDin2076(msgs, s.t);
  if (s.b_t == 0) s.b_t = 10;
  const Real b = RoundUpDin2076(msgs, t * s.b_t);
  // 4: radii from the thickness; the outer one for a first guess of the stroke's turns.
  const Real ri = 10 * t;
  const Real re = ri + 10 * t * s.alphah / 360;
  if (!allFinite(t, b, ri, re)) return stop(InvalidResultMessage());
  s.t = t;
  s.b = b;
  s.ri = ri;
  s.re = re;

  // 5: dimension and calculate that spring.
  dimension(doc);
  const CalcMessages notes = msgs;  // the solver's findings so far
  CalculateAfterSolver(doc, num);
  if (msgs.fatal) return;

  // 6: the outer radius for the gap ratio a0/t in working position 2, then once more. The first
  // calculation's findings belong to the first guess only.
  restoreNotes(msgs, notes);
  const Real re2 = (s.a0_t + 1) * s.t * s.n2 + s.ri;
  if (!allFinite(re2)) {
    stopFatal(msgs, InvalidResultMessage());
    return CalculateAfterSolver(doc, num);
  }
  s.re = re2;
  dimension(doc);
  CalculateAfterSolver(doc, num);
}

}  // namespace velk
