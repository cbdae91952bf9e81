// Calculation settings, spring ends and application forms: enable rules, filling and storing,
// the unit switch that outlives a cancel, unreadable numbers and the cross-section report.
#include "dialogs/inputforms.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/codepage.h"

namespace velk {
namespace {

constexpr Real kTol = 1e-12L;

NumberSettings metric() { return NumberSettings{}; }
NumberSettings imperial() {
  NumberSettings n;
  n.units = 1;
  return n;
}

// A spring whose form fields all differ from the start values and need more digits than the
// forms show, so that any re-parsing of an untouched field would show.
Spring oddSpring() {
  Spring s;
  s.crossSection = 2;
  s.statdyn = 2;
  s.formi = 2;
  s.forme = 1;
  s.li = 12.3456789L;
  s.rbi = 3.14159265L;
  s.le = 0;
  s.rbe = 0;
  s.kugelstrahlen = 'J';
  s.freq = 12.3456L;
  s.theta = 23.456789L;
  return s;
}

void expectSameFormFields(const Spring& a, const Spring& b) {
  EXPECT_EQ(a.crossSection, b.crossSection);
  EXPECT_EQ(a.statdyn, b.statdyn);
  EXPECT_EQ(a.formi, b.formi);
  EXPECT_EQ(a.forme, b.forme);
  EXPECT_EQ(a.li, b.li);
  EXPECT_EQ(a.rbi, b.rbi);
  EXPECT_EQ(a.le, b.le);
  EXPECT_EQ(a.rbe, b.rbe);
  EXPECT_EQ(a.kugelstrahlen, b.kugelstrahlen);
  EXPECT_EQ(a.freq, b.freq);
  EXPECT_EQ(a.theta, b.theta);
}

// ---- enable rules ----

TEST(InputFormsEnable, LengthFieldsOnlyForBentEnds) {
  struct Row {
    int formi, forme;
    SpringEndsEnabled expected;
  };
  const Row rows[] = {
      {0, 0, {false, false, false, false}},
      {1, 0, {true, true, false, false}},
      {0, 1, {false, false, true, true}},
      {1, 1, {true, true, true, true}},
  };
  for (const Row& row : rows) {
    SpringEndsResult c;
    c.formiIndex = row.formi;
    c.formeIndex = row.forme;
    const SpringEndsEnabled e = springEndsEnabled(c);
    SCOPED_TRACE(testing::Message() << "formi item " << row.formi << ", forme item " << row.forme);
    EXPECT_EQ(e.li, row.expected.li);
    EXPECT_EQ(e.ri, row.expected.ri);
    EXPECT_EQ(e.le, row.expected.le);
    EXPECT_EQ(e.re, row.expected.re);
  }
}

TEST(InputFormsEnable, FrequencyOnlyForDynamicLoad) {
  ApplicationResult c;
  c.statdynIndex = 0;
  EXPECT_FALSE(frequencyEnabled(c));
  c.statdynIndex = 1;
  EXPECT_TRUE(frequencyEnabled(c));
}

TEST(InputFormsEnable, RequestsOpenWithTheRulesApplied) {
  NumberSettings num = metric();
  Spring s = oddSpring();  // inner bent, outer clamped, dynamic
  const SpringEndsRequest ends = buildSpringEndsRequest(s, num, {});
  EXPECT_TRUE(ends.enabled.li && ends.enabled.ri);
  EXPECT_FALSE(ends.enabled.le || ends.enabled.re);
  EXPECT_TRUE(buildApplicationRequest(s, num, {}).freqEnabled);
  s.statdyn = 1;
  EXPECT_FALSE(buildApplicationRequest(s, num, {}).freqEnabled);
}

// ---- what the forms show ----

TEST(InputFormsShow, SpringEndsControlsInCurrentUnits) {
  Spring s;
  s.formi = 2;
  s.forme = 2;
  s.li = 25.4L;
  s.rbi = 12.7L;
  s.le = 50.8L;
  s.rbe = 2.5L;
  s.kugelstrahlen = 'n';
  NumberSettings num = metric();
  SpringEndsRequest r = buildSpringEndsRequest(s, num, {});
  EXPECT_EQ(r.caption, "VELK");
  EXPECT_EQ(r.unit, "mm");
  EXPECT_EQ(r.controls.formiIndex, 1);
  EXPECT_EQ(r.controls.formeIndex, 1);
  EXPECT_EQ(r.controls.li, "25.4");
  EXPECT_EQ(r.controls.re, "2.5");
  EXPECT_FALSE(r.controls.kugelstrahlen);  // 'n' counts as no
  EXPECT_EQ(cp850ToUtf8(r.outerTitle), "Federende außen");
  EXPECT_EQ(cp850ToUtf8(r.lengthLabel), "Länge Federende");
  EXPECT_EQ(r.helpNumber, 9060);

  num = imperial();
  r = buildSpringEndsRequest(s, num, {});
  EXPECT_EQ(r.unit, "in");
  EXPECT_EQ(r.controls.li, "1.0000");
  EXPECT_EQ(r.controls.ri, "0.5000");
  EXPECT_EQ(r.controls.le, "2.0000");
}

TEST(InputFormsShow, ApplicationAndCalcSettingsTexts) {
  Spring s;
  s.theta = 20;
  s.freq = 2.5L;
  NumberSettings num = imperial();
  const ApplicationRequest a = buildApplicationRequest(s, num, {});
  EXPECT_EQ(a.caption, "VELK Anwendung");
  EXPECT_EQ(a.controls.temperatur, "68");
  EXPECT_EQ(a.controls.freq, "2.5");  // no unit conversion
  EXPECT_EQ(cp850ToUtf8(a.temperaturUnit), "°F");
  EXPECT_EQ(a.helpNumber, 9020);
  EXPECT_EQ(a.helpCaption, "&Hilfe");

  num.plainChars = 1;
  EXPECT_EQ(buildApplicationRequest(s, num, {}).temperaturUnit, " F");

  s.crossSection = 2;
  const CalcSettingsRequest c = buildCalcSettingsRequest(s, num, {});
  EXPECT_EQ(c.caption, "VELK");
  EXPECT_EQ(c.controls.crossSectionIndex, 1);
  EXPECT_EQ(c.controls.unitsIndex, 1);
  ASSERT_EQ(c.unitsItems.size(), 2u);
  EXPECT_EQ(cp850ToUtf8(c.unitsItems[0]), "metrisch: mm, N, N/mm², °C");
  EXPECT_EQ(c.unitsItems[1], "imperial: in, lbf, psi, deg F");
  EXPECT_EQ(c.helpNumber, 1000);
}

TEST(InputFormsShow, ToolTipsFollowTheHelpLevel) {
  Spring s;
  NumberSettings num = metric();
  InputFormContext ctx;
  ctx.appTitle = "APP";
  ctx.hint = [](uint16_t n) { return "hint " + std::to_string(n); };

  for (int level : {1, 2}) {
    ctx.helpLevel = level;
    const CalcSettingsRequest c = buildCalcSettingsRequest(s, num, ctx);
    const SpringEndsRequest e = buildSpringEndsRequest(s, num, ctx);
    const ApplicationRequest a = buildApplicationRequest(s, num, ctx);
    EXPECT_TRUE(c.showHints && e.showHints && a.showHints);
    EXPECT_EQ(c.crossSectionHint.text, "hint 5490");
    EXPECT_EQ(c.unitsHint.text, "hint 2800");
    EXPECT_EQ(e.kugelstrahlenHint.text, "hint 5340");
    EXPECT_EQ(a.freqHint.text, "hint 5280");
    EXPECT_EQ(a.temperaturHint.text, "hint 5350");
    EXPECT_EQ(a.statdynHint.text, "hint 5270");
    EXPECT_EQ(a.caption, "APP Anwendung");
  }

  ctx.helpLevel = 0;
  const ApplicationRequest a = buildApplicationRequest(s, num, ctx);
  EXPECT_FALSE(a.showHints);
  EXPECT_TRUE(a.freqHint.text.empty());
  EXPECT_EQ(a.freqHint.helpNumber, 5280);
  EXPECT_TRUE(buildSpringEndsRequest(s, num, ctx).kugelstrahlenHint.text.empty());
}

TEST(InputFormsShow, HelpImagesButtonCallsBack) {
  Spring s;
  NumberSettings num = metric();
  int shown = 0;
  const CalcSettingsRequest c = buildCalcSettingsRequest(s, num, {}, [&] { ++shown; });
  ASSERT_TRUE(c.showHelpImages);
  c.showHelpImages();
  EXPECT_EQ(shown, 1);
}

// ---- storing ----

TEST(InputFormsStore, UnchangedFormsLeaveTheSpringIdentical) {
  for (NumberSettings num : {metric(), imperial()}) {
    for (int comma : {1, 2}) {
      num.decimalComma = comma;
      SCOPED_TRACE(testing::Message() << "units " << num.units << ", decimalComma " << comma);
      const Spring before = oddSpring();
      Spring s = before;
      const NumberSettings numBefore = num;

      const SpringEndsRequest ends = buildSpringEndsRequest(s, num, {});
      applySpringEnds(s, num, ends.controls);
      const ApplicationRequest app = buildApplicationRequest(s, num, {});
      applyApplication(s, num, app.controls);
      const CalcSettingsRequest calc = buildCalcSettingsRequest(s, num, {});
      const CalcSettingsOutcome out = applyCalcSettings(s, num, calc.controls);

      expectSameFormFields(s, before);
      EXPECT_EQ(num.units, numBefore.units);
      EXPECT_FALSE(out.crossSectionChanged);
      EXPECT_FALSE(out.unitsChanged);
    }
  }
}

TEST(InputFormsStore, ValuesTypedInImperialArriveMetric) {
  Spring s;
  const NumberSettings num = imperial();
  SpringEndsResult ends;
  ends.formiIndex = 1;
  ends.li = "0,5";
  ends.ri = "0.1";
  ends.formeIndex = 1;
  ends.le = "2";
  ends.re = "1e-1";
  ends.kugelstrahlen = true;
  applySpringEnds(s, num, ends);
  EXPECT_EQ(s.formi, 2);
  EXPECT_EQ(s.forme, 2);
  EXPECT_NEAR(s.li, 12.7L, kTol);
  EXPECT_NEAR(s.rbi, 2.54L, kTol);
  EXPECT_NEAR(s.le, 50.8L, kTol);
  EXPECT_NEAR(s.rbe, 2.54L, kTol);
  EXPECT_EQ(s.kugelstrahlen, 'J');

  ApplicationResult app{0, "7,5", "68"};
  applyApplication(s, num, app);
  EXPECT_EQ(s.statdyn, 1);
  EXPECT_EQ(s.freq, 7.5L);  // static load still stores the frequency, unconverted
  EXPECT_NEAR(s.theta, 20.0L, 1e-9L);
}

TEST(InputFormsStore, ClampedEndStoresZeroWhateverTheFieldsShow) {
  Spring s = oddSpring();
  s.forme = 2;
  s.le = 40;
  s.rbe = 4;
  NumberSettings num = metric();
  SpringEndsRequest r = buildSpringEndsRequest(s, num, {});
  r.controls.formiIndex = 0;  // inner switched to clamped, fields still "12.35" and "3.142"
  r.controls.le = "17";
  r.controls.kugelstrahlen = false;
  applySpringEnds(s, num, r.controls);
  EXPECT_EQ(s.formi, 1);
  EXPECT_EQ(s.li, 0);
  EXPECT_EQ(s.rbi, 0);
  EXPECT_EQ(s.le, 17);
  EXPECT_EQ(s.rbe, 4);  // untouched field keeps its value
  EXPECT_EQ(s.kugelstrahlen, 'N');

  // Switching back to bent shows 0 until new values are typed.
  r = buildSpringEndsRequest(s, num, {});
  r.controls.formiIndex = 1;
  EXPECT_EQ(r.controls.li, "0");
  applySpringEnds(s, num, r.controls);
  EXPECT_EQ(s.formi, 2);
  EXPECT_EQ(s.li, 0);
}

TEST(InputFormsStore, UnreadableNumbersStoreZero) {
  for (const NumberSettings& num : {metric(), imperial()}) {
    SCOPED_TRACE(testing::Message() << "units " << num.units);
    Spring s = oddSpring();
    SpringEndsResult ends;
    ends.formiIndex = 1;
    ends.li = "abc";
    ends.ri = "1,2,3";  // only the first comma becomes a point
    ends.formeIndex = 1;
    ends.le = "";
    ends.re = "5mm";
    applySpringEnds(s, num, ends);
    EXPECT_EQ(s.li, 0);
    EXPECT_EQ(s.rbi, 0);
    EXPECT_EQ(s.le, 0);
    EXPECT_EQ(s.rbe, 0);

    applyApplication(s, num, ApplicationResult{1, "x", "warm"});
    EXPECT_EQ(s.statdyn, 2);
    EXPECT_EQ(s.freq, 0);
    EXPECT_EQ(s.theta, 0);  // 0 °C, also when the form shows °F
  }
}

TEST(InputFormsStore, NoRangeChecks) {
  Spring s;
  const NumberSettings num = metric();
  applySpringEnds(s, num, SpringEndsResult{1, "-5", "1e6", 0, "", "", false});
  EXPECT_EQ(s.li, -5);
  EXPECT_EQ(s.rbi, 1e6L);
  applyApplication(s, num, ApplicationResult{1, "-1", "-300"});
  EXPECT_EQ(s.freq, -1);
  EXPECT_EQ(s.theta, -300);
}

// ---- "mm <--> inch" ----

TEST(InputFormsUnitSwitch, SwitchStaysWhenTheFormIsCancelled) {
  NumberSettings num = metric();
  const Spring before = oddSpring();
  Spring s = before;
  const SpringEndsRequest r = buildSpringEndsRequest(s, num, {});
  ASSERT_TRUE(r.switchUnits);

  const SpringEndsRefill refill = r.switchUnits(r.controls);
  EXPECT_EQ(num.units, 1);
  EXPECT_EQ(refill.unit, "in");
  EXPECT_EQ(refill.controls.li, "0.4861");
  EXPECT_EQ(refill.controls.ri, "0.1237");
  EXPECT_EQ(refill.controls.formiIndex, r.controls.formiIndex);
  EXPECT_EQ(refill.controls.kugelstrahlen, r.controls.kugelstrahlen);

  // Cancelled (the window returns nothing): nothing is applied, the unit system stays imperial
  // and the spring is what it was.
  EXPECT_EQ(num.units, 1);
  expectSameFormFields(s, before);
  EXPECT_EQ(buildApplicationRequest(s, num, {}).controls.temperatur, fmtTemp(num, s.theta));
}

TEST(InputFormsUnitSwitch, TwiceReturnsToTheStartingUnit) {
  NumberSettings num = metric();
  const Spring before = oddSpring();
  Spring s = before;
  const SpringEndsRequest r = buildSpringEndsRequest(s, num, {});
  const SpringEndsRefill inches = r.switchUnits(r.controls);
  const SpringEndsRefill mm = r.switchUnits(inches.controls);
  EXPECT_EQ(num.units, 0);
  EXPECT_EQ(mm.unit, "mm");
  EXPECT_EQ(mm.controls.li, r.controls.li);
  EXPECT_EQ(mm.controls.ri, r.controls.ri);
  // Untouched fields keep their exact values through the switches.
  applySpringEnds(s, num, mm.controls);
  expectSameFormFields(s, before);
}

TEST(InputFormsUnitSwitch, TypedValuesCarryTheDisplayRounding) {
  NumberSettings num = metric();
  Spring s = oddSpring();
  const SpringEndsRequest r = buildSpringEndsRequest(s, num, {});
  SpringEndsResult typed = r.controls;
  typed.li = "10.001";
  const SpringEndsRefill inches = r.switchUnits(typed);
  EXPECT_EQ(inches.controls.li, "0.3937");
  // Confirmed in inches: the displayed 4 decimals are what is stored.
  Spring confirmed = s;
  applySpringEnds(confirmed, num, inches.controls);
  EXPECT_NEAR(confirmed.li, 0.3937L * 25.4L, kTol);
  // And back in millimetres the field shows the re-read value.
  const SpringEndsRefill mm = r.switchUnits(inches.controls);
  EXPECT_EQ(mm.controls.li, fmtLength(num, 0.3937L * 25.4L));
  EXPECT_EQ(mm.controls.li, "10");
}

TEST(InputFormsUnitSwitch, ClampedEndShowsZeroAfterTheSwitch) {
  NumberSettings num = imperial();
  Spring s = oddSpring();
  s.forme = 2;
  s.le = 25.4L;
  s.rbe = 25.4L;
  const SpringEndsRequest r = buildSpringEndsRequest(s, num, {});
  SpringEndsResult c = r.controls;
  c.formeIndex = 0;  // outer switched to clamped before the switch
  const SpringEndsRefill mm = r.switchUnits(c);
  EXPECT_EQ(num.units, 0);
  EXPECT_EQ(mm.controls.le, "0");
  EXPECT_EQ(mm.controls.re, "0");
  EXPECT_EQ(mm.controls.formeIndex, 0);
  EXPECT_EQ(mm.controls.li, "12.35");  // the bent inner end converted
}

// ---- calculation settings ----

TEST(InputFormsCalcSettings, ReportsWhatChanged) {
  struct Row {
    uint16_t crossSection;
    int units;
    CalcSettingsResult chosen;
    uint16_t crossSectionAfter;
    int unitsAfter;
    bool crossSectionChanged, unitsChanged;
  };
  const Row rows[] = {
      {1, 0, {0, 0}, 1, 0, false, false}, {1, 0, {1, 0}, 2, 0, true, false},   {2, 0, {0, 1}, 1, 1, true, true},
      {2, 1, {1, 0}, 2, 0, false, true},  {2, 1, {-1, 5}, 2, 1, false, false},  // no item chosen: stored values stay
      {0, 0, {0, 0}, 1, 0, true, false},  // an unknown stored value is shown and stored as strip
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "crossSection " << row.crossSection << " -> item "
                                    << row.chosen.crossSectionIndex << ", units item " << row.chosen.unitsIndex);
    Spring s;
    s.crossSection = row.crossSection;
    NumberSettings num;
    num.units = row.units;
    const CalcSettingsOutcome out = applyCalcSettings(s, num, row.chosen);
    EXPECT_EQ(s.crossSection, row.crossSectionAfter);
    EXPECT_EQ(num.units, row.unitsAfter);
    EXPECT_EQ(out.crossSectionChanged, row.crossSectionChanged);
    EXPECT_EQ(out.unitsChanged, row.unitsChanged);
  }
}

TEST(InputFormsCalcSettings, UnitChangeActsOnTheOtherForms) {
  Spring s;
  s.theta = 20;
  NumberSettings num = metric();
  const CalcSettingsRequest c = buildCalcSettingsRequest(s, num, {});
  CalcSettingsResult chosen = c.controls;
  chosen.unitsIndex = 1;
  applyCalcSettings(s, num, chosen);
  EXPECT_EQ(buildApplicationRequest(s, num, {}).controls.temperatur, "68");
  EXPECT_EQ(buildSpringEndsRequest(s, num, {}).unit, "in");
}

}  // namespace
}  // namespace velk
