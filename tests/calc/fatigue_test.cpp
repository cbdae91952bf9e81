// Fatigue evaluation: the permissible stroke on both branches of the Goodman line, fatigue ratio and
// load cycles, the static case, missing or unusable fatigue data, and the plausibility stops.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "calc/calc_fixture.h"

namespace velk::test {
namespace {

constexpr Real kUnchanged = -4242;

class Fatigue : public SessionTest {
 protected:
  Fatigue() {
    // Fatigue values at t = tG (lg = 0): sigma o 1000, sigma h0 500, m 0.5, so su = 1000.
    ws.materials.strip = testStrip();
    ws.materials.strip.plain = {1000, 100, 500, 50, 0.5L};
    Spring& s = ws.spring;
    s.crossSection = 1;
    s.t = 1;
    s.statdyn = 2;
    s.matSource = 0;
    s.strokePerm = s.fatigueRatio = s.cyclesN = s.cyclesMin = s.cyclesMax = kUnchanged;
  }
  // Bending stresses as the calculation leaves them (kb = 1): lower q1, upper q2.
  void stresses(Real q1, Real q2) {
    Spring& s = ws.spring;
    s.sigma1 = s.sigmaq1 = q1;
    s.sigma2 = s.sigmaq2 = q2;
    s.sigmah = q2 - q1;
  }
  std::vector<std::string> messages() const { return messageTexts(ws.messages); }
};

TEST_F(Fatigue, StrokeAtThePermissibleStrokeLastsTenMillionCycles) {
  // sq1 = 0.8 * 500 = 400 < su: 500 + 0.5 * 400 - 400 = 300; stroke 0.8 * 375 = 300.
  stresses(500, 875);
  FatigueEvaluation(ws);
  const Spring& s = ws.spring;
  EXPECT_NEAR(static_cast<double>(s.strokePerm), 300, 1e-12);
  EXPECT_NEAR(static_cast<double>(s.fatigueRatio), 1, 1e-15);
  EXPECT_NEAR(static_cast<double>(s.cyclesN / 1e7L), 1, 1e-13);
  // With +-5 %: 10^(11 - 4 * 515 / 500) and 10^(11 - 4 * 485 / 500).
  EXPECT_NEAR(static_cast<double>(s.cyclesMin / std::pow(10.0L, 6.88L)), 1, 1e-13);
  EXPECT_NEAR(static_cast<double>(s.cyclesMax / std::pow(10.0L, 7.12L)), 1, 1e-13);
  EXPECT_LT(s.cyclesMin, s.cyclesN);
  EXPECT_LT(s.cyclesN, s.cyclesMax);
  EXPECT_EQ(messages(), std::vector<std::string>{});
  EXPECT_FALSE(ws.messages.fatal);
}

TEST_F(Fatigue, BothBranchesOfTheGoodmanLine) {
  ws.materials.strip.plain = {1000, 0, 600, 0, 0.5L};  // su = (1000 - 600) / 0.5 = 800
  const struct {
    const char* name;
    Real q1, q2, strokePerm;
    std::vector<std::string> messages;
  } rows[] = {
      {"rising line", 500, 750, 400, {}},         // sq1 400: 600 + 0.5 * 400 - 400
      {"at su both agree", 1000, 1250, 200, {}},  // sq1 800: 1000 - 800 = 600 + 400 - 800
      {"capped", 1125, 1250, 100, {}},            // sq1 900: 1000 - 900
      {"upper above sigma o", 1125, 1375, 100, {"Fehler : sigmak2 > sigmao !"}},  // sq2 1100 > 1000
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    ClearCalcMessages(ws.messages);
    stresses(r.q1, r.q2);
    FatigueEvaluation(ws);
    EXPECT_NEAR(static_cast<double>(ws.spring.strokePerm), static_cast<double>(r.strokePerm), 1e-10);
    EXPECT_EQ(messages(), r.messages);
    EXPECT_LT(ws.spring.cyclesMin, ws.spring.cyclesN);
    EXPECT_LT(ws.spring.cyclesN, ws.spring.cyclesMax);
  }
}

TEST_F(Fatigue, StaticLoadHasRatioTenAndNoCycles) {
  ws.spring.statdyn = 1;
  stresses(1125, 1375);  // sq2 1100 > sigma o: an error only under dynamic load
  FatigueEvaluation(ws);
  EXPECT_EQ(ws.spring.fatigueRatio, 10);
  EXPECT_EQ(ws.spring.cyclesN, 0);
  EXPECT_EQ(ws.spring.cyclesMin, 0);
  EXPECT_EQ(ws.spring.cyclesMax, 0);
  // Still evaluated, sighz reports it: sq1 900 < su 1000, so 500 + 0.5 * 900 - 900.
  EXPECT_NEAR(static_cast<double>(ws.spring.strokePerm), 50, 1e-10);
  EXPECT_EQ(messages(), std::vector<std::string>{});
}

TEST_F(Fatigue, MissingOrUnusableFatigueData) {
  const struct {
    const char* name;
    std::function<void(Session&)> setup;
    Real strokePerm;
    std::vector<std::string> messages;
    bool ratioAndCyclesWritten;
  } rows[] = {
      {"no fatigue values, dynamic",
       [](Session& w) { w.materials.strip.tG = 0; },
       0,
       {"Warnung: kein Goodman-Diagramm"},
       true},
      {"no fatigue values, static", [](Session& w) { w.materials.strip.tG = 0, w.spring.statdyn = 1; }, 0, {}, true},
      {"strip slope 0", [](Session& w) { w.materials.strip.plain.m = 0; }, 0, {"Fehler : velkwst Goodman"}, false},
      {"wire slope 0",
       [](Session& w) {
         w.materials.wire = testWire();
         w.materials.wire.plain.m = 0;
         w.spring.crossSection = 2;
       },
       0,
       {"Fehler : TALMWST Goodman"},
       false},
      {"wire just entered",
       [](Session& w) {
         w.materials.wire = testWire();
         w.spring.crossSection = 2;
         w.spring.matSource = 11;
       },
       0,
       {},
       true},
      {"wire of unknown source",
       [](Session& w) {
         w.materials.wire = testWire();
         w.spring.crossSection = 2;
         w.spring.matSource = 1;
       },
       0,
       {},
       true},
      {"wire from the table",
       [](Session& w) {
         w.materials.wire = testWire();  // 450 + 0.4 * 400 - 400 at d = dG
         w.spring.crossSection = 2;
       },
       210,
       {},
       true},
      {"only shot-peened values",
       [](Session& w) { w.materials.strip.plain = {}; },
       300,
       {"Warnung: approx.Goodman"},
       true},  // sigma h0 = 5/6 * 600 = 500, su = (1100 - 500) / 0.5
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Session w(ui);
    w.materials.strip = ws.materials.strip;
    w.spring = ws.spring;
    r.setup(w);
    w.spring.sigma1 = w.spring.sigmaq1 = 500;
    w.spring.sigma2 = w.spring.sigmaq2 = 875;
    w.spring.sigmah = 375;
    FatigueEvaluation(w);
    EXPECT_NEAR(static_cast<double>(w.spring.strokePerm), static_cast<double>(r.strokePerm), 1e-10);
    EXPECT_EQ(messageTexts(w.messages), r.messages);
    EXPECT_FALSE(w.messages.fatal);
    EXPECT_EQ(w.spring.fatigueRatio != kUnchanged, r.ratioAndCyclesWritten);
    EXPECT_EQ(w.spring.cyclesN != kUnchanged, r.ratioAndCyclesWritten);
    if (r.strokePerm == 0 && r.ratioAndCyclesWritten) {
      EXPECT_EQ(w.spring.cyclesN, 0);
    }
  }
}

TEST_F(Fatigue, PlausibilityStopsAreFatalAndKeepRatioAndCycles) {
  const std::string invalidInput = u8(InvalidInputMessage());
  const std::string invalidResult = u8(InvalidResultMessage());
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  const struct {
    const char* name;
    std::function<void(Spring&)> change;
    std::string message;
    bool strokePermWritten;
  } rows[] = {
      {"sigma2 = 0", [](Spring& s) { s.sigma2 = 0; }, "Fehler : sigma2=0 !", true},
      {"sigmaq2 = 0", [](Spring& s) { s.sigmaq2 = 0; }, "Fehler : sigmak2=0 !", true},
      {"sigmah = 0", [](Spring& s) { s.sigmah = 0; }, "Fehler : sigmakh=0 !", true},
      {"stress NaN", [nan](Spring& s) { s.sigmaq1 = nan; }, invalidInput, false},
      // The ratio strokePerm / sh overflows the extended range.
      {"stroke subnormal", [](Spring& s) { s.sigmah = 1e-4940L; }, invalidResult, true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Session w(ui);
    w.materials.strip = ws.materials.strip;
    w.spring = ws.spring;
    w.spring.sigma1 = w.spring.sigmaq1 = 500;
    w.spring.sigma2 = w.spring.sigmaq2 = 875;
    w.spring.sigmah = 375;
    r.change(w.spring);
    FatigueEvaluation(w);
    EXPECT_EQ(messageTexts(w.messages), std::vector<std::string>{r.message});
    EXPECT_TRUE(w.messages.fatal);
    EXPECT_EQ(w.spring.strokePerm != kUnchanged, r.strokePermWritten);
    EXPECT_EQ(w.spring.fatigueRatio, kUnchanged);
    EXPECT_EQ(w.spring.cyclesN, kUnchanged);
    EXPECT_EQ(w.spring.cyclesMin, kUnchanged);
    EXPECT_EQ(w.spring.cyclesMax, kUnchanged);
  }
}

TEST_F(Fatigue, CycleEstimateLimits) {
  const struct {
    const char* name;
    FatigueValues plain;
    Real q1, q2;
    Real cyclesN;  // -1: the evaluation stops as fatal, the cycles keep their values
  } rows[] = {
      {"ratio below 0.001", {1000, 0, 500, 0, 0.5L}, 1249.875L, 1499.875L, 0},  // strokePerm 0.1, stroke 200
      {"negative lower stress", {1000, 0, 500, 0, 0.5L}, -100, 200, 0},
      {"sigma h0 not positive", {1000, 0, -5, 0, 0.5L}, 100, 200, 0},
      // strokePerm 3000 against a stroke of 1 with sigma h0 1: 10^11999 is beyond the power limit
      // and far beyond the sane count of cycles (1e30): no report may print it.
      {"beyond the power limit", {100000, 0, 1, 0, 3000}, 1.25L, 2.5L, -1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    ws.materials.strip.plain = r.plain;
    ClearCalcMessages(ws.messages);
    stresses(r.q1, r.q2);
    ws.spring.cyclesN = ws.spring.cyclesMin = ws.spring.cyclesMax = -7;
    FatigueEvaluation(ws);
    const Real expected = r.cyclesN < 0 ? -7 : r.cyclesN;
    EXPECT_EQ(ws.spring.cyclesN, expected);
    EXPECT_EQ(ws.spring.cyclesMin, expected);
    EXPECT_EQ(ws.spring.cyclesMax, expected);
    EXPECT_EQ(ws.messages.fatal, r.cyclesN < 0);
    if (r.cyclesN < 0) {
      EXPECT_EQ(messageTexts(ws.messages).back(), u8(InvalidResultMessage()));
    }
  }
}

TEST_F(Fatigue, CalculationScalesThePermissibleStrokeBackToBending) {
  stripExample(ws);
  ws.materials.strip.tG = 0;
  CalculateSpring(ws);
  EXPECT_EQ(ws.spring.strokePerm, 0);
  EXPECT_EQ(ws.spring.sighz, 0);
  EXPECT_EQ(messageTexts(ws.messages),
            (std::vector<std::string>{"Warnung: kein Goodman-Diagramm", "Warnung: Sig.c>Sig.zul !"}));
}

}  // namespace
}  // namespace velk::test
