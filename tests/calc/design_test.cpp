// Design modes: the rows of the three tables, value texts by kind in metric and imperial units,
// the solvers checked against the calculation, and the guards that keep them finite.
#include "calc/design.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "calc/calc_fixture.h"
#include "calc/material.h"
#include "calcservice/designtable.h"

namespace velk::test {
namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr Real kInf = std::numeric_limits<Real>::infinity();

void expectRel(const char* what, Real actual, Real expected, Real rel = 1e-12L) {
  EXPECT_LE(std::fabs(actual - expected), std::fabs(expected) * rel + 1e-12L)
      << what << ": " << static_cast<double>(actual) << " instead of " << static_cast<double>(expected);
}

bool isDin2076(Real x) {
  for (Real v : kDin2076)
    if (v == x) return true;
  return false;
}

void expectAllFinite(const Spring& s) {
  for (const auto& [name, f] : realFields()) EXPECT_TRUE(std::isfinite(s.*f)) << name;
}

bool hasMessage(const CalcMessages& list, const std::string& utf8) {
  for (const std::string& m : messageTexts(list))
    if (m == utf8) return true;
  return false;
}

// ---- rows ----

struct RowExpect {
  const char* caption;
  const char* unit;   // UTF-8, metric units, special characters on
  const char* field;  // name in realFields(), or "" for none
};

std::string fieldName(Real Spring::*f) {
  if (!f) return "";
  for (const auto& [name, g] : realFields())
    if (g == f) return name;
  return "?";
}

struct TableCase {
  const char* name;
  DesignMode mode;
  uint16_t crossSection;
  bool output;
  std::vector<RowExpect> rows;
};

TEST(DesignTables, RowsCaptionsUnitsAndFields) {
  const std::vector<RowExpect> recalcOut = {{"RT", "Nmm/°", "cT"},
                                            {"T1", "Nmm", "T1"},
                                            {"T2", "Nmm", "T2"},
                                            {"al.c", "°", "alphac"},
                                            {"sig.k1", "MPa", "sigmaq1"},
                                            {"sig.k2", "MPa", "sigmaq2"},
                                            {"sig.c", "MPa", "sigmac"},
                                            {"sig.zul", "MPa", "sigman"},
                                            {"n0", "", "n0"},
                                            {"a0", "mm", "a0"},
                                            {"Lw", "mm", "Lw"}};
  const std::vector<RowExpect> dimOut = {{"cT", "Nmm/°", "cT"},
                                         {"al.1", "°", "alpha1"},
                                         {"al.2", "°", "alpha2"},
                                         {"al.c", "°", "alphac"},
                                         {"sig.q1", "MPa", "sigmaq1"},
                                         {"sig.q2", "MPa", "sigmaq2"},
                                         {"sig.c", "MPa", "sigmac"},
                                         {"sig.zul", "MPa", "sigman"},
                                         {"Lw", "mm", "Lw"},
                                         {"n0", "", "n0"},
                                         {"a0", "mm", "a0"}};
  const std::vector<TableCase> cases = {
      {"recalculation strip",
       DesignMode::Recalculation,
       1,
       false,
       {{"b", "mm", "b"},
        {"t", "mm", "t"},
        {"n0", "", "n0"},
        {"Ri", "mm", "ri"},
        {"Re", "mm", "re"},
        {"al.1", "°", "alpha1"},
        {"al.2", "°", "alpha2"},
        {"T", "°C", "theta"}}},
      {"recalculation wire",
       DesignMode::Recalculation,
       2,
       false,
       {{" ", "", ""},
        {"d", "mm", "t"},
        {"n0", "", "n0"},
        {"Ri", "mm", "ri"},
        {"Re", "mm", "re"},
        {"al.1", "°", "alpha1"},
        {"al.2", "°", "alpha2"},
        {"T", "°C", "theta"}}},
      {"dimensioning strip",
       DesignMode::Dimensioning,
       1,
       false,
       {{"T1", "Nmm", "T1"},
        {"T2", "Nmm", "T2"},
        {"al.h", "°", "alphah"},
        {"Re", "mm", "re"},
        {"Ri", "mm", "ri"},
        {"t", "mm", "t"},
        {"b", "mm", "b"}}},
      {"dimensioning wire",
       DesignMode::Dimensioning,
       2,
       false,
       {{"T1", "Nmm", "T1"},
        {"T2", "Nmm", "T2"},
        {"al.h", "°", "alphah"},
        {"Re", "mm", "re"},
        {"Ri", "mm", "ri"},
        {"d", "mm", "t"}}},
      {"pre-dimensioning strip",
       DesignMode::PreDimensioning,
       1,
       false,
       {{"T1", "Nmm", "T1"},
        {"T2", "Nmm", "T2"},
        {"al.h", "°", "alphah"},
        {"a0/t", "", "a0_t"},
        {"b/t ca.", "", "b_t"}}},
      {"pre-dimensioning wire",
       DesignMode::PreDimensioning,
       2,
       false,
       {{"T1", "Nmm", "T1"}, {"T2", "Nmm", "T2"}, {"al.h", "°", "alphah"}, {"a0/t", "", "a0_t"}}},
      {"recalculation outputs", DesignMode::Recalculation, 1, true, recalcOut},
      {"dimensioning outputs", DesignMode::Dimensioning, 2, true, dimOut},
      {"pre-dimensioning outputs", DesignMode::PreDimensioning, 1, true, dimOut},
  };
  const NumberSettings metric;
  for (const TableCase& c : cases) {
    Spring s;
    s.crossSection = c.crossSection;
    const auto rows = c.output ? DesignOutputRows(c.mode) : DesignInputRows(c.mode, s);
    ASSERT_EQ(rows.size(), c.rows.size()) << c.name;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].caption, std::string(c.rows[i].caption)) << c.name << " row " << i + 1;
      EXPECT_EQ(u8(UnitText(metric, rows[i].unit)), c.rows[i].unit) << c.name << " row " << i + 1;
      EXPECT_EQ(fieldName(rows[i].field), c.rows[i].field) << c.name << " row " << i + 1;
    }
  }
  EXPECT_STREQ(DesignTitle(DesignMode::Recalculation), "Nachrechnung");
  EXPECT_STREQ(DesignTitle(DesignMode::Dimensioning), "Auslegung");
  EXPECT_STREQ(DesignTitle(DesignMode::PreDimensioning), "Vorauslegung");
  EXPECT_EQ(DesignHelpNumber(DesignMode::Recalculation), 6000);
  EXPECT_EQ(DesignHelpNumber(DesignMode::Dimensioning), 6100);
  EXPECT_EQ(DesignHelpNumber(DesignMode::PreDimensioning), 6200);
}

TEST(DesignTables, KindsOfTheRows) {
  // Every row's value kind follows its unit: lengths, moments (and the spring rate), stresses and
  // the temperature convert; angles, turns and ratios are plain.
  Spring strip;
  for (DesignMode mode : {DesignMode::Recalculation, DesignMode::Dimensioning, DesignMode::PreDimensioning})
    for (bool output : {false, true})
      for (const DesignRow& r : output ? DesignOutputRows(mode) : DesignInputRows(mode, strip)) {
        ValueKind expected = ValueKind::Plain;
        switch (r.unit) {
          case UnitKind::Length:
            expected = ValueKind::Length;
            break;
          case UnitKind::Moment:
          case UnitKind::SpringRate:
            expected = ValueKind::Moment;
            break;
          case UnitKind::Stress:
            expected = ValueKind::Stress;
            break;
          case UnitKind::Temperature:
            expected = ValueKind::Temperature;
            break;
          case UnitKind::Angle:
          case UnitKind::None:
            expected = ValueKind::Plain;
            break;
        }
        EXPECT_EQ(static_cast<int>(r.kind), static_cast<int>(expected)) << r.caption;
      }
}

TEST(DesignTables, UnitTextsImperialAndPlain) {
  NumberSettings n;
  n.units = 1;
  const struct {
    UnitKind unit;
    const char* special;
    const char* plain;
  } rows[] = {
      {UnitKind::Length, "in", "in"},   {UnitKind::Moment, "lbfin", "lbfin"},
      {UnitKind::Stress, "psi", "psi"}, {UnitKind::Temperature, "°F", " F"},
      {UnitKind::Angle, "°", "deg"},    {UnitKind::SpringRate, "lbfin/°", "lbfin/deg"},
      {UnitKind::None, "", ""},
  };
  for (const auto& r : rows) {
    n.plainChars = 0;
    EXPECT_EQ(u8(UnitText(n, r.unit)), r.special);
    n.plainChars = 1;
    EXPECT_EQ(u8(UnitText(n, r.unit)), r.plain);
  }
}

// ---- value texts ----

TEST(DesignValues, FormatAndParseByKindMetricAndImperial) {
  const struct {
    ValueKind kind;
    int units;
    Real value;
    const char* text;  // FormatValue(value)
    const char* typed;
    Real parsed;  // ParseValue(typed)
  } rows[] = {
      {ValueKind::Length, 0, 25.4L, "25.4", "1,5", 1.5L},
      {ValueKind::Length, 1, 25.4L, "1.0000", "1", 25.4L},
      {ValueKind::Length, 1, 100, "3.9370", "0.5", 12.7L},
      {ValueKind::Moment, 0, 800, "800", "123.4", 123.4L},
      {ValueKind::Moment, 1, 112.984788L, "1", "2", 2 * 112.984788L},
      {ValueKind::Stress, 0, 1350, "1350", "1350", 1350},
      {ValueKind::Stress, 1, 100, "14504", "14503.7", 100},
      {ValueKind::Temperature, 0, 20, "20", "80", 80},
      {ValueKind::Temperature, 1, 20, "68", "212", 100},
      {ValueKind::Plain, 1, 45, "45", "12.5", 12.5L},  // angles never convert
      {ValueKind::Plain, 0, 0.000004L, "0", "abc", 0},
      {ValueKind::Plain, 0, -5, "-5", "1,5,0", 0},
      {ValueKind::Length, 1, 0, "0.0000", "", 0},
  };
  for (const auto& r : rows) {
    NumberSettings n;
    n.units = r.units;
    EXPECT_EQ(FormatValue(n, r.kind, r.value), r.text) << r.text;
    expectRel(r.typed, ParseValue(n, r.kind, r.typed), r.parsed, 1e-15L);
  }
}

TEST(DesignValues, TextsFitNineCharactersAndReadBackClose) {
  // Long numbers keep their magnitude: decimals are dropped, too many integer digits go to
  // engineering form; either way the text reads back within the shown digits.
  const struct {
    int decimalPlaces, decimalComma, units;
    ValueKind kind;
    Real value;
    const char* text;
  } rows[] = {
      {3, 1, 0, ValueKind::Moment, 1234567890, "1.235E9"},    {3, 1, 0, ValueKind::Moment, -123456789, "-123.5E6"},
      {3, 1, 0, ValueKind::Moment, 123456789, "123456789"},   {3, 2, 0, ValueKind::Plain, 1.2345e12L, "1,235E12"},
      {10, 1, 0, ValueKind::Plain, 12.3456L, "12.345600"},    {10, 1, 0, ValueKind::Plain, 1234567.5L, "1234567.5"},
      {10, 1, 0, ValueKind::Moment, 1.2345e12L, "1.2345E12"}, {3, 1, 1, ValueKind::Length, 2.54e6L, "100000.00"},
      {3, 1, 1, ValueKind::Length, 2.54e9L, "100000000"},     {3, 1, 1, ValueKind::Length, 3.81e10L, "1.5E9"},
  };
  for (const auto& r : rows) {
    NumberSettings n;
    n.decimalPlaces = r.decimalPlaces;
    n.decimalComma = r.decimalComma;
    n.units = r.units;
    const std::string text = FormatValue(n, r.kind, r.value);
    EXPECT_LE(text.size(), 9u) << text;
    EXPECT_EQ(text, r.text);
    expectRel(r.text, ParseValue(n, r.kind, text), r.value, 1e-3L);
  }
  // A value whose conversion overflows reads as 0 like any text that is not a number.
  NumberSettings imperial;
  imperial.units = 1;
  EXPECT_EQ(ParseValue(imperial, ValueKind::Length, "1E4932"), 0);
  EXPECT_EQ(ParseValue(imperial, ValueKind::Moment, "nan"), 0);
}

// ---- solvers ----

class Design : public SessionTest {
 protected:
  // The strip example, calculated once so that sigman holds the permissible stress.
  void strip() {
    stripExample(ws);
    CalculateSpring(ws);
    ASSERT_FALSE(ws.messages.fatal);
  }
  void wire() {
    wireExample(ws);
    CalculateSpring(ws);
    ASSERT_FALSE(ws.messages.fatal);
  }
  Spring& s = ws.spring;
};

TEST_F(Design, ThicknessForMomentReachesThePermissibleStress) {
  for (int cross : {1, 2}) {
    cross == 1 ? strip() : wire();
    s.T2 = 2500;
    s.sigman = 1200;
    s.b = 12;
    ASSERT_TRUE(ThicknessForMoment(ws));
    expectRel(cross == 1 ? "strip" : "wire", BendingStress(s, s.T2), 1200, 1e-15L);
    const Real expected = cross == 1 ? std::sqrt(6 * 2500 / (1200.0L * 12)) : std::cbrt(32 * 2500 / (kPi * 1200));
    expectRel("t", s.t, expected, 1e-15L);
  }
}

TEST_F(Design, DimensionGivesTheRequestedMomentsAndRate) {
  // Strip and wire, with and without an outer radius: the calculation afterwards reproduces the
  // moments and the stroke angle, and the rate is (T2 - T1) / alphah.
  for (int cross : {1, 2})
    for (Real re : {80.0L, 0.0L}) {
      cross == 1 ? strip() : wire();
      s.T1 = 500, s.T2 = 800, s.alphah = 45, s.re = re;
      ClearCalcMessages(ws.messages);
      Dimension(ws);
      ASSERT_EQ(ws.messages.count, 0) << messageTexts(ws.messages)[0];
      const Real cT = 300.0L / 45;
      expectRel("cT", s.cT, cT);
      expectRel("alpha1", s.alpha1, 500 / cT);
      expectRel("alpha2", s.alpha2, 800 / cT);
      if (re == 0) {
        EXPECT_GT(s.re, s.ri);
      } else {
        EXPECT_EQ(s.re, 80);
      }
      CalculateSpring(ws);
      ASSERT_FALSE(ws.messages.fatal);
      expectRel("T1", s.T1, 500);
      expectRel("T2", s.T2, 800);
      expectRel("alphah", s.alphah, 45);
      expectRel("cT", s.cT, cT);
      if (re == 0) expectRel("a0 = t (gap equals thickness)", s.a0, s.t, 0.02L);
    }
}

TEST_F(Design, DimensionStopsLeaveTheFieldsUnchanged) {
  // Stops before the rate leave the rate and the angles too; the radius guard comes after them.
  const struct {
    const char* name;
    void (*setup)(Spring&);
    const char* message;
    bool beforeRate;
  } rows[] = {
      {"T2 = T1", [](Spring& s) { s.T2 = s.T1 = 600; }, "Fatal  : R = 0 !", true},
      {"alphah 0", [](Spring& s) { s.alphah = 0; }, "Fatal  : alpha h = 0 !", true},
      {"sigman 0", [](Spring& s) { s.sigman = 0; }, "Fatal  : Sigma b zul = 0 !", true},
      {"cT overflows", [](Spring& s) { s.T2 = 1e4900L, s.T1 = -1e4900L, s.alphah = 1e-40L; },
       "Fatal  : Ergebnis ungültig !", true},
      {"T1 infinite", [](Spring& s) { s.T1 = kInf; }, "Fatal  : Eingabe ungültig !", true},
      {"re from 0 with ri = -5 t", [](Spring& s) { s.re = 0, s.ri = -5, s.t = 1; }, "Fatal  : Re + Ri = 0 !", false},
      {"re + ri 0", [](Spring& s) { s.re = 10, s.ri = -10; }, "Fatal  : Re + Ri = 0 !", false},
  };
  for (const auto& r : rows) {
    strip();
    s.T1 = 500, s.T2 = 800, s.alphah = 45;
    r.setup(s);
    const Spring before = s;
    ClearCalcMessages(ws.messages);
    Dimension(ws);
    EXPECT_TRUE(ws.messages.fatal) << r.name;
    EXPECT_TRUE(hasMessage(ws.messages, r.message)) << r.name;
    const std::vector<std::string> changed = changedReals(before, s);
    std::vector<std::string> kept = {"n0", "re"};
    if (r.beforeRate) kept.insert(kept.end(), {"cT", "alpha1", "alpha2"});
    for (const std::string& f : kept)
      EXPECT_TRUE(std::find(changed.begin(), changed.end(), f) == changed.end()) << r.name << ": " << f;
  }
}

TEST_F(Design, PreSizeEstimatesThicknessAndWidth) {
  strip();
  s.T2 = 2000, s.sigman = 1000, s.t = 0, s.b = 0;
  ASSERT_TRUE(PreSize(ws));
  EXPECT_TRUE(isDin2076(s.t)) << static_cast<double>(s.t);
  EXPECT_TRUE(isDin2076(s.b)) << static_cast<double>(s.b);
  EXPECT_GE(s.b, 10 * s.t * 0.9L);  // b followed 10 t before both were rounded up
  EXPECT_LE(BendingStress(s, s.T2), 1000 * 1.0001L);

  // Only the width missing: 1.1 times the width at which T2 reaches sigman, rounded up.
  s.t = 2, s.b = 0;
  ASSERT_TRUE(PreSize(ws));
  EXPECT_EQ(s.b, RoundUpDin2076(ws, 1.1L * 6 * 2000 / (1000 * 4)));  // 3.3 -> 3.4
  EXPECT_EQ(s.t, 2);
}

TEST_F(Design, PreDimensionRoundsToTheSeriesAndKeepsTheRatios) {
  // A thickness of 1.22 mm becomes 1.25, the width for b/t = 10 becomes 12.5; b/t = 0 counts as
  // and is stored as 10. 1.22 is the fixed point of the thickness/width iteration here.
  for (Real bt : {10.0L, 0.0L}) {
    strip();
    s.sigman = 1000, s.t = 1.22L, s.b_t = bt, s.a0_t = 1, s.alphah = 720, s.T1 = 1000;
    s.T2 = 1.22L * 1.22L * 1.22L * 1000 / 0.6L;
    PreDimension(ws, ws.num());
    EXPECT_EQ(s.t, 1.25L);
    EXPECT_EQ(s.b, 12.5L);
    EXPECT_EQ(s.b_t, 10);
    EXPECT_EQ(s.ri, 12.5L);
    ASSERT_FALSE(ws.messages.fatal) << messageTexts(ws.messages)[0];
    // PreDimension has calculated: the moments are the requested ones.
    expectRel("T1", s.T1, 1000);
    expectRel("T2", s.T2, 1.22L * 1.22L * 1.22L * 1000 / 0.6L);
    expectRel("alphah", s.alphah, 720);
    // Second step: the outer radius from the gap ratio with n2 of the first calculation.
    EXPECT_GT(s.re, s.ri);
  }
}

TEST_F(Design, WireThicknessIsADinDiameter) {
  wire();
  s.T1 = 200, s.T2 = 900, s.alphah = 360, s.a0_t = 0.5L;
  PreDimension(ws, ws.num());
  ASSERT_FALSE(ws.messages.fatal);
  EXPECT_TRUE(isDin2076(s.t));
  expectRel("T2", s.T2, 900);
  expectRel("T1", s.T1, 200);
  EXPECT_EQ(s.ri, 10 * s.t);
}

TEST_F(Design, GuardsReportInsteadOfDividingByZero) {
  // Every guard stops before the division, reports in the message list and leaves every real
  // finite; the thickness stays as it was.
  const struct {
    const char* name;
    int cross;
    void (*setup)(Spring&);
    bool (*solver)(Document&);
    const char* message;
  } rows[] = {
      {"strip sigman 0", 1, [](Spring& s) { s.sigman = 0; }, ThicknessForMoment, "Fatal  : Sigma b zul = 0 !"},
      {"wire sigman 0", 2, [](Spring& s) { s.sigman = 0; }, ThicknessForMoment, "Fatal  : Sigma b zul = 0 !"},
      {"strip b 0", 1, [](Spring& s) { s.b = 0; }, ThicknessForMoment, "Fatal  : b = 0 !"},
      {"T2 0", 1, [](Spring& s) { s.T2 = 0; }, ThicknessForMoment, "Fatal  : T2 = 0 !"},
      {"wire T2 0", 2, [](Spring& s) { s.T2 = 0; }, ThicknessForMoment, "Fatal  : T2 = 0 !"},
      {"sigman NaN", 1, [](Spring& s) { s.sigman = std::nanl(""); }, ThicknessForMoment, "Fatal  : Eingabe ungültig !"},
      {"thickness overflows", 1, [](Spring& s) { s.T2 = 1e4900L, s.sigman = 1e-100L, s.b = 1e-100L; },
       ThicknessForMoment, "Fatal  : Ergebnis ungültig !"},
      {"presize sigman 0", 1, [](Spring& s) { s.t = 0, s.sigman = 0; }, PreSize, "Fatal  : Sigma b zul = 0 !"},
      {"presize width sigman 0", 1, [](Spring& s) { s.b = 0, s.sigman = 0; }, PreSize, "Fatal  : Sigma b zul = 0 !"},
      {"presize T2 0", 2, [](Spring& s) { s.t = 0, s.T2 = 0; }, PreSize, "Fatal  : T2 = 0 !"},
  };
  for (const auto& r : rows) {
    r.cross == 1 ? strip() : wire();
    s.T2 = 800;
    r.setup(s);
    const Real t = s.t, b = s.b;
    ClearCalcMessages(ws.messages);
    EXPECT_FALSE(r.solver(ws)) << r.name;
    EXPECT_TRUE(ws.messages.fatal) << r.name;
    EXPECT_EQ(messageTexts(ws.messages), std::vector<std::string>{r.message}) << r.name;
    EXPECT_TRUE(s.t == t || (std::isnan(s.t) && std::isnan(t))) << r.name;
    EXPECT_TRUE(s.b == b || (std::isnan(s.b) && std::isnan(b))) << r.name;
  }
  // A negative moment is taken by its magnitude, with the power message for strip and wire.
  for (int cross : {1, 2}) {
    cross == 1 ? strip() : wire();
    s.T2 = -800;
    ClearCalcMessages(ws.messages);
    EXPECT_TRUE(ThicknessForMoment(ws));
    EXPECT_EQ(messageTexts(ws.messages), std::vector<std::string>{"GetT0 (pow)"});
    expectRel("|sigma|", std::fabs(BendingStress(s, s.T2)), s.sigman);
  }
}

TEST_F(Design, PreDimensioningWithoutStrengthStaysFinite) {
  // A material without strength values gives sigman = 0 in the calculation; the next
  // pre-dimensioning pass must not divide by it. The geometry stays, the calculation runs, and
  // the guard's message is still in the list afterwards.
  for (int cross : {1, 2}) {
    cross == 1 ? strip() : wire();
    s.sigman = 0;
    const Real t = s.t, b = s.b;
    ClearCalcMessages(ws.messages);
    PreDimension(ws, ws.num());
    EXPECT_EQ(s.t, t);
    EXPECT_EQ(s.b, b);
    expectAllFinite(s);
    EXPECT_TRUE(hasMessage(ws.messages, "Fatal  : Sigma b zul = 0 !"));
    EXPECT_NE(s.sigman, 0);  // the calculation ran: permissible stress of the unchanged thickness
  }
}

TEST_F(Design, SolverMessagesOutliveTheCalculationAfterThem) {
  strip();
  s.T1 = s.T2 = 600;
  ClearCalcMessages(ws.messages);
  Dimension(ws);
  CalculateAfterSolver(ws, ws.num());
  // The calculation's results stand (its own fatal flag is clear), the solver's stop is shown last.
  EXPECT_FALSE(ws.messages.fatal);
  ASSERT_GT(ws.messages.count, 0);
  EXPECT_EQ(u8(ws.messages.entries[ws.messages.count - 1]), "Fatal  : R = 0 !");
}

}  // namespace
}  // namespace velk::test
