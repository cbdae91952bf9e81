// The material laws: strength over thickness with its cap, the permissible bending stress,
// fatigue-diagram values with the approximation rule, limit checks and DIN 2076 rounding.
#include "calc/material.h"

#include <gtest/gtest.h>

#include <vector>

#include "calcservice/context.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

// Strip: Rm0 1600 at t0 = 1 mm, 300 per decade, cap 1900; fatigue values at tG = 1 mm.
StripRecord strip() {
  StripRecord r;
  r.Rm0 = 1600;
  r.t0 = 1;
  r.Rmmax = 1900;
  r.kRm = 300;
  r.tG = 1;
  r.plain = {900, 100, 500, 60, 0.7L};
  r.peened = {1000, 110, 600, 70, 0.6L};
  r.tmin = 0.1L;
  r.tmax = 3;
  r.Tmax = 150;
  r.f = 0.8L;
  return r;
}

std::vector<std::string> messages(const CalcMessages& m) {
  return std::vector<std::string>(m.entries.begin(), m.entries.begin() + m.count);
}

class MaterialLaw : public SessionTest {
 protected:
  MaterialLaw() {
    ws.materials.strip = strip();
    ws.spring.crossSection = 1;
  }
};

TEST_F(MaterialLaw, StrengthFollowsTheDecadeLawUpToTheCap) {
  struct Case {
    const char* what;
    long long Rmmax;
    Real t;
    Real expected;
  } cases[] = {
      {"t = t0", 1900, 1, 1600},
      {"t = 10 t0", 1900, 10, 1300},
      {"t = t0 / 10 is capped", 1900, 0.1L, 1900},
      {"t = t0 / 100 is capped", 1900, 0.01L, 1900},
      {"Rmmax 0 leaves it uncapped", 0, 0.01L, 2200},
      {"Rmmax 1 leaves it uncapped", 1, 0.1L, 1900},
      {"Rmmax 1 leaves it uncapped, thinner", 1, 0.01L, 2200},
  };
  for (const Case& c : cases) {
    CalcMessages m;
    StripRecord r = strip();
    r.Rmmax = c.Rmmax;
    EXPECT_NEAR(static_cast<double>(StrengthAt(r, c.t, m)), static_cast<double>(c.expected), 1e-9) << c.what;
    EXPECT_EQ(m.count, 0) << c.what;
  }
}

TEST_F(MaterialLaw, StrengthOfImpossibleInputsIsFiniteWithAMessage) {
  struct Case {
    const char* what;
    bool wire;
    Real t, t0;
    const char* message;
  } cases[] = {
      {"strip t = 0", false, 0, 1, "Fatal  : t <= 0 !"}, {"strip t < 0", false, -1, 1, "Fatal  : t <= 0 !"},
      {"wire d = 0", true, 0, 1, "Fatal  : d <= 0 !"},   {"strip t0 = 0", false, 1, 0, "Fatal  : DR0 = 0 !"},
      {"wire d0 = 0", true, 1, 0, "Fatal  : DR0 = 0 !"},
  };
  for (const Case& c : cases) {
    CalcMessages m;
    Real rm = 0;
    if (c.wire) {
      WireRecord w;
      w.Rm0 = 2000;
      w.d0 = c.t0;
      rm = StrengthAt(w, c.t, m);
    } else {
      StripRecord r = strip();
      r.t0 = c.t0;
      rm = StrengthAt(r, c.t, m);
    }
    EXPECT_EQ(rm, 0.1L) << c.what;
    EXPECT_EQ(messages(m), std::vector<std::string>{c.message}) << c.what;
  }
}

TEST_F(MaterialLaw, PermissibleStressUsesTheStripFactorOrDefaultsIt) {
  ws.spring.t = 10;
  UpdateStrength(ws);
  EXPECT_NEAR(static_cast<double>(ws.spring.Rm), 1300, 1e-9);
  EXPECT_NEAR(static_cast<double>(ws.spring.sigman), 0.8 * 1300, 1e-9);

  ws.materials.strip.f = 0;
  UpdateStrength(ws);
  EXPECT_NEAR(static_cast<double>(ws.spring.sigman), 0.75 * 1300, 1e-9);
  EXPECT_EQ(ws.materials.strip.f, 0.75L) << "the record keeps the default factor";

  ws.spring.crossSection = 2;
  ws.materials.wire.Rm0 = 2000;
  ws.materials.wire.d0 = 1;
  ws.spring.t = 1;
  UpdateStrength(ws);
  EXPECT_EQ(ws.spring.Rm, 2000);
  EXPECT_NEAR(static_cast<double>(ws.spring.sigman), 1400, 1e-9);

  ws.spring.crossSection = 3;
  UpdateStrength(ws);
  EXPECT_EQ(ws.spring.Rm, 0);
}

TEST_F(MaterialLaw, GoodmanValuesOfTheTreatmentOrTheOtherOneApproximated) {
  // At t = 10 tG the decade factor lg is 1.
  struct Case {
    const char* what;
    char kugelstrahlen;
    bool dropPlain, dropPeened;
    Real sigmaO, sigmaH0, m;
    bool warned;
  } cases[] = {
      {"not peened, own values", 'N', false, false, 800, 440, 0.7L, false},
      {"peened, own values", 'J', false, false, 890, 530, 0.6L, false},
      {"not peened, only peened values: 5/6", 'N', true, false, 890, 600 * 5.0L / 6 - 70, 0.6L, true},
      {"peened, only plain values: 1.2", 'J', false, true, 800, 600 - 60, 0.7L, true},
  };
  for (const Case& c : cases) {
    ws.materials.strip = strip();
    if (c.dropPlain) ws.materials.strip.plain.stroke = 0;
    if (c.dropPeened) ws.materials.strip.peened.upper = 0;
    ws.spring.kugelstrahlen = c.kugelstrahlen;
    ws.spring.t = 10;
    CalcMessages m;
    GoodmanPoint g = GoodmanValues(ws, m);
    EXPECT_NEAR(static_cast<double>(g.sigmaO), static_cast<double>(c.sigmaO), 1e-9) << c.what;
    EXPECT_NEAR(static_cast<double>(g.sigmaH0), static_cast<double>(c.sigmaH0), 1e-9) << c.what;
    EXPECT_EQ(g.m, c.m) << c.what;
    EXPECT_EQ(messages(m), c.warned ? std::vector<std::string>{"Warnung: approx.Goodman"} : std::vector<std::string>{})
        << c.what;
  }
  // No fatigue reference thickness: no values at all, no warning.
  ws.materials.strip.tG = 0;
  CalcMessages m;
  GoodmanPoint g = GoodmanValues(ws, m);
  EXPECT_EQ(g.sigmaO, 0);
  EXPECT_EQ(g.sigmaH0, 0);
  EXPECT_EQ(g.m, 0);
  EXPECT_EQ(m.count, 0);
}

TEST_F(MaterialLaw, GoodmanValuesOfAWireUseItsRecord) {
  ws.spring.crossSection = 2;
  ws.spring.t = 0.1L;  // lg = -1 at dG = 1
  ws.materials.wire.dG = 1;
  ws.materials.wire.plain = {1118, 410, 506, 175, 0.74L};
  CalcMessages m;
  GoodmanPoint g = GoodmanValues(ws, m);
  EXPECT_NEAR(static_cast<double>(g.sigmaO), 1528, 1e-9);
  EXPECT_NEAR(static_cast<double>(g.sigmaH0), 681, 1e-9);
}

TEST_F(MaterialLaw, LimitChecksWarnOutsideTheMaterialsRange) {
  struct Case {
    const char* what;
    int crossSection;
    Real t, theta;
    std::vector<std::string> expected;
  } cases[] = {
      {"inside", 1, 1, 20, {}},
      {"too thin", 1, 0.05L, 20, {"Warnung: d<dmin (0.1)"}},
      {"too thick and too hot", 1, 4, 151, {"Warnung: d>dmax (3)", oem("Warnung: T>Tmax (150°C)")}},
      {"wire with dmin 0 never warns thin", 2, 0.001L, 20, {}},
  };
  for (const Case& c : cases) {
    ClearCalcMessages(ws.messages);
    ws.spring.crossSection = static_cast<uint16_t>(c.crossSection);
    ws.spring.t = c.t;
    ws.spring.theta = c.theta;
    ws.materials.wire.dmin = 0;
    ws.materials.wire.dmax = 10;
    ws.materials.wire.Tmax = 100;
    CheckMaterialLimits(ws, ws.num());
    EXPECT_EQ(messages(ws.messages), c.expected) << c.what;
  }
  ClearCalcMessages(ws.messages);
  ws.materials.strip.tmax = 0;
  ws.spring.crossSection = 1;
  ws.spring.t = 0.2L;
  ws.spring.theta = 20;
  CheckMaterialLimits(ws, ws.num());
  EXPECT_EQ(messages(ws.messages), std::vector<std::string>{"Warnung: d>dmax (0)"})
      << "a limit of 0 takes part like any other value";
}

TEST_F(MaterialLaw, RoundUpToTheDin2076Series) {
  // "Drahtdurchmesser nicht nach DIN 2076 !" as the message list keeps it: cut to 36 characters.
  const std::string kDinWarning = "Drahtdurchmesser nicht nach DIN 2076";
  struct Case {
    Real x, expected;
    bool warned;
  } cases[] = {
      {1.22L, 1.25L, false},
      {1.2L, 1.2L, false},
      {static_cast<double>(1.2L), 1.2L, false},    // a double a hair below the series value
      {static_cast<double>(0.07L), 0.07L, false},  // and one a hair above: still 0.07, not 0.08
      {0.001L, 0.07L, false},
      {4.26L, 4.5L, false},
      {19.0L, 19.0L, false},
      {19.5L, 19.5L, true},
  };
  for (const Case& c : cases) {
    ClearCalcMessages(ws.messages);
    EXPECT_EQ(RoundUpDin2076(ws.messages, c.x), c.expected) << static_cast<double>(c.x);
    EXPECT_EQ(messages(ws.messages), c.warned ? std::vector<std::string>{kDinWarning} : std::vector<std::string>{})
        << static_cast<double>(c.x);
  }
  // The session's rounding answers a cancelled conversation by leaving the value alone; the
  // calculation's own rounding knows no such flag.
  ClearCalcMessages(ws.messages);
  EXPECT_EQ(RoundUpDin2076(ws, 1.22L), 1.25L);
  ws.abort = true;
  EXPECT_EQ(RoundUpDin2076(ws, 1.22L), 1.22L) << "unchanged while aborted";
  EXPECT_EQ(RoundUpDin2076(ws, 19.5L), 19.5L);
  EXPECT_TRUE(messages(ws.messages).empty()) << "no warning while aborted";
  EXPECT_EQ(RoundUpDin2076(ws.messages, 1.22L), 1.25L);
}

TEST(Lg, DecimalLogarithmWithTheNonPositiveConvention) {
  // log10l is not correctly rounded: some CPUs' libm gives 3 + 2e-19 here.
  EXPECT_NEAR(static_cast<double>(Lg(1000)), 3, 3e-15);
  EXPECT_NEAR(static_cast<double>(Lg(0.01L)), -2, 3e-15);
  EXPECT_EQ(Lg(1), 0);  // lg 1 is exactly 0 in every libm
  EXPECT_EQ(Lg(0), -1e30L);
  EXPECT_EQ(Lg(-2), -1e30L);
}

}  // namespace
}  // namespace velk::test
