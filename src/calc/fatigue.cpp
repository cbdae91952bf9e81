// Fatigue strength and lifetime: permissible stroke on the Goodman line, fatigue ratio and the
// load-cycle estimate with its tolerance band.
#include "calc/fatigue.h"

#include <cmath>
#include <string>

#include "calc/calculate.h"
#include "calc/material.h"
#include "data/document.h"
#include "data/springkinds.h"

namespace velk {

namespace {

// Finite and within the sane range of the calculation's values.
template <class... T>
bool allFinite(T... x) {
  return (ResultInRange(x) && ...);
}

template <class... T>
bool allCycleCounts(T... x) {
  return (CycleCountInRange(x) && ...);
}

void fatal(CalcMessages& msgs, std::string_view text) {
  AddCalcMessage(msgs, text);
  msgs.fatal = true;
}

}  // namespace

void FatigueEvaluation(Document& doc) {
  Spring& s = doc.spring;
  CalcMessages& msgs = doc.messages;
  const bool wire = crossSectionOf(s) == CrossSection::Wire;
  const bool dynamic = applicationOf(s) == Application::Dynamic;

  if (!allFinite(s.sigma2, s.sigmaq1, s.sigmaq2, s.sigmah, s.tolPlus, s.tolMinus))
    return fatal(msgs, InvalidInputMessage());

  // 1: the fatigue data are torsional; the bending stresses enter scaled.
  const Real s2 = 0.8L * s.sigma2;
  const Real sq1 = 0.8L * s.sigmaq1;
  const Real sq2 = 0.8L * s.sigmaq2;
  const Real sh = 0.8L * s.sigmah;

  // 2, 3: the Goodman line and the permissible stroke at the lower stress sq1.
  const GoodmanPoint g = GoodmanValues(doc, msgs);
  if (!allFinite(g.sigmaO, g.sigmaH0, g.m)) return fatal(msgs, InvalidInputMessage());
  const bool noDiagram = g.sigmaO == 0 && g.sigmaH0 == 0 && g.m == 0;
  Real strokePerm = 0;
  if (noDiagram || (wire && materialSourceOf(s) != MaterialSource::TableRecord)) {
    strokePerm = 0;  // no line, or a wire material whose values are not from the table
  } else if (g.m == 0) {
    AddCalcMessage(msgs, wire ? "Fehler : TALMWST Goodman" : "Fehler : velkwst Goodman");
    s.strokePerm = 0;
    return;
  } else {
    // su: the lower stress at which the rising line reaches the cap sigma o.
    const Real su = (g.sigmaO - g.sigmaH0) / g.m;
    strokePerm = su > sq1 ? g.sigmaH0 + g.m * sq1 - sq1 : g.sigmaO - sq1;
  }
  if (!allFinite(strokePerm)) {
    s.strokePerm = 0;
    return fatal(msgs, InvalidResultMessage());
  }
  s.strokePerm = strokePerm;

  // 4: without these stresses there is nothing to compare.
  if (s2 == 0) return fatal(msgs, "Fehler : sigma2=0 !");
  if (sq2 == 0) return fatal(msgs, "Fehler : sigmak2=0 !");
  if (sh == 0) return fatal(msgs, "Fehler : sigmakh=0 !");

  // 5: fatigue ratio and load cycles.
  if (dynamic) {
    const Real ratio = strokePerm / sh;
    if (!allFinite(ratio)) return fatal(msgs, InvalidResultMessage());
    Real n = 0, nMin = 0, nMax = 0;
    if (!(ratio < 0.001L || sq2 < 0 || sq1 < 0 || g.sigmaH0 <= 0)) {
      // Decades of life: 10^7 at the permissible stroke, four fewer per further sigma h0 of stroke.
      const auto decades = [&](Real p) { return 11 - 4 * (g.sigmaH0 + sq2 - p - sq1) / g.sigmaH0; };
      const std::string name = "Load cycles";
      n = PowerNamed(msgs, name, 10, decades(strokePerm));
      nMin = PowerNamed(msgs, name, 10, decades(strokePerm * (1 + 0.01L * s.tolMinus)));
      nMax = PowerNamed(msgs, name, 10, decades(strokePerm * (1 + 0.01L * s.tolPlus)));
    }
    if (!allCycleCounts(n, nMin, nMax)) return fatal(msgs, InvalidResultMessage());
    s.fatigueRatio = ratio;
    s.cyclesN = n;
    s.cyclesMin = nMin;
    s.cyclesMax = nMax;
  } else {
    s.fatigueRatio = 10;
    s.cyclesN = s.cyclesMin = s.cyclesMax = 0;
  }

  // 6, 7
  if (g.sigmaO > 0 && g.sigmaO < sq2 && dynamic) AddCalcMessage(msgs, "Fehler : sigmak2 > sigmao !");
  if (noDiagram && dynamic) AddCalcMessage(msgs, "Warnung: kein Goodman-Diagramm");
}

std::optional<Real> LifetimeHours(Real cycles, Real freq) {
  if (!std::isfinite(freq) || !(freq >= kLifetimeMinFrequency) || !std::isfinite(cycles)) return std::nullopt;
  const Real hours = cycles / freq / 3600;
  if (!std::isfinite(hours)) return std::nullopt;
  return hours;
}

}  // namespace velk
