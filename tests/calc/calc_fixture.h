// Shared scaffolding of the calculation tests: materials filled in memory, example springs,
// and a field-by-field view of the spring's reals.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "calc/calculate.h"
#include "calc/fatigue.h"
#include "support/fixture.h"

namespace velk::test {

// A spring steel strip: Rm 1800 at t0 = 1 mm, 300 per decade, factor 0.75; fatigue values at
// tG = 1 mm (not shot peened 1000 / 500 / m 0.5, shot peened 1100 / 600 / m 0.5).
inline StripRecord testStrip() {
  StripRecord r;
  r.name1 = "Teststahl";
  r.E = 200000;
  r.rho = 7.85L;
  r.Rm0 = 1800;
  r.t0 = 1;
  r.kRm = 300;
  r.tG = 1;
  r.plain = {1000, 100, 500, 50, 0.5L};
  r.peened = {1100, 100, 600, 50, 0.5L};
  r.tmin = 0.1L;
  r.tmax = 3;
  r.Tmax = 150;
  r.f = 0.75L;
  return r;
}

// A spring wire: Rm 2000 at d0 = 1 mm, 300 per decade, capped at 2500; fatigue values at dG = 1 mm.
inline WireRecord testWire() {
  WireRecord r;
  r.name1 = "Testdraht";
  r.G = 81500;
  r.E = 206000;
  r.rho = 7.85L;
  r.Rm0 = 2000;
  r.d0 = 1;
  r.Rmmax = 2500;
  r.kRm = 300;
  r.dG = 1;
  r.plain = {900, 100, 450, 50, 0.4L};
  r.dmin = 0.5L;
  r.dmax = 10;
  r.Tmax = 120;
  return r;
}

// The strip example worked by hand in calculate_test.cpp.
inline void stripExample(Session& ws) {
  Spring& s = ws.spring;
  ws.materials.strip = testStrip();
  s.crossSection = 1;
  s.statdyn = 2;
  s.kugelstrahlen = 'N';
  s.formi = s.forme = 1;
  s.b = 20, s.t = 1, s.ri = 10, s.re = 60, s.n0 = 5;
  s.alpha1 = 360, s.alpha2 = 720, s.theta = 20;
  s.E = 200000, s.rho = 7.85L;
  s.matSource = 0;
}

// The wire example worked by hand in calculate_test.cpp: bent inner end, static load.
inline void wireExample(Session& ws) {
  Spring& s = ws.spring;
  ws.materials.wire = testWire();
  s.crossSection = 2;
  s.statdyn = 1;
  s.kugelstrahlen = 'N';
  s.formi = 2, s.rbi = 4, s.li = 10;
  s.forme = 1, s.rbe = 3, s.le = 7;  // stale values of a clamped end
  s.b = 20, s.t = 2, s.ri = 10, s.re = 50, s.n0 = 4.25L;
  s.alpha1 = 90, s.alpha2 = 270, s.theta = 80;
  s.E = 206000, s.rho = 7.85L;
  s.matSource = 0;
}

using RealField = std::pair<const char*, Real Spring::*>;

// Every real of the spring record, inputs and results.
inline const std::vector<RealField>& realFields() {
  static const std::vector<RealField> fields = {
      {"b", &Spring::b},
      {"t", &Spring::t},
      {"ri", &Spring::ri},
      {"re", &Spring::re},
      {"n0", &Spring::n0},
      {"alpha1", &Spring::alpha1},
      {"alpha2", &Spring::alpha2},
      {"theta", &Spring::theta},
      {"freq", &Spring::freq},
      {"li", &Spring::li},
      {"rbi", &Spring::rbi},
      {"le", &Spring::le},
      {"rbe", &Spring::rbe},
      {"T1", &Spring::T1},
      {"T2", &Spring::T2},
      {"Tc", &Spring::Tc},
      {"alphah", &Spring::alphah},
      {"alphac", &Spring::alphac},
      {"b_t", &Spring::b_t},
      {"a0_t", &Spring::a0_t},
      {"a0", &Spring::a0},
      {"a1", &Spring::a1},
      {"a2", &Spring::a2},
      {"n1", &Spring::n1},
      {"n2", &Spring::n2},
      {"nc", &Spring::nc},
      {"re1", &Spring::re1},
      {"re2", &Spring::re2},
      {"rec", &Spring::rec},
      {"delta0", &Spring::delta0},
      {"delta1", &Spring::delta1},
      {"delta2", &Spring::delta2},
      {"deltac", &Spring::deltac},
      {"Lw", &Spring::Lw},
      {"L", &Spring::L},
      {"Ib", &Spring::Ib},
      {"Wb", &Spring::Wb},
      {"cT", &Spring::cT},
      {"W", &Spring::W},
      {"m", &Spring::m},
      {"kb", &Spring::kb},
      {"sigma1", &Spring::sigma1},
      {"sigma2", &Spring::sigma2},
      {"sigmac", &Spring::sigmac},
      {"sigmaq1", &Spring::sigmaq1},
      {"sigmaq2", &Spring::sigmaq2},
      {"sigmah", &Spring::sigmah},
      {"sigman", &Spring::sigman},
      {"sighz", &Spring::sighz},
      {"Et", &Spring::Et},
      {"E", &Spring::E},
      {"G", &Spring::G},
      {"rho", &Spring::rho},
      {"Rm", &Spring::Rm},
      {"strokePerm", &Spring::strokePerm},
      {"fatigueRatio", &Spring::fatigueRatio},
      {"cyclesN", &Spring::cyclesN},
      {"cyclesMin", &Spring::cyclesMin},
      {"cyclesMax", &Spring::cyclesMax},
      {"tolPlus", &Spring::tolPlus},
      {"tolMinus", &Spring::tolMinus},
      {"deltaDraw", &Spring::deltaDraw},
  };
  return fields;
}

// Whether a real is an input of the calculation (or a fixed setting) rather than one of its results.
inline bool isInputReal(const std::string& name) {
  static const std::vector<std::string> inputs = {"b",     "t",    "ri", "re",  "n0",      "alpha1",   "alpha2",
                                                  "theta", "freq", "li", "rbi", "le",      "rbe",      "b_t",
                                                  "a0_t",  "E",    "G",  "rho", "tolPlus", "tolMinus", "deltaDraw"};
  return std::find(inputs.begin(), inputs.end(), name) != inputs.end();
}

// Names of the reals that differ between a and b (bitwise-equal NaNs count as equal).
inline std::vector<std::string> changedReals(const Spring& a, const Spring& b) {
  std::vector<std::string> out;
  for (const auto& [name, f] : realFields()) {
    const Real x = a.*f, y = b.*f;
    if (!(x == y) && !(x != x && y != y)) out.push_back(name);
  }
  return out;
}

// The message list as UTF-8 texts.
inline std::vector<std::string> messageTexts(const CalcMessages& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.count; ++i) out.push_back(u8(list.entries[i]));
  return out;
}

}  // namespace velk::test
