// The calculation settings, spring ends and application forms: filling the controls from the
// spring, enabling fields, the unit switch of the spring-ends form, and storing what was left.
#include "dialogs/inputforms.h"

#include <utility>

#include "base/codepage.h"

namespace velk {

namespace {

// A radio group or combo box of two items shows the selector (1 or 2): anything but 2 shows
// the first item, which is also how the calculation treats an unknown value.
int itemOf(uint16_t selector) { return selector == 2 ? 1 : 0; }
uint16_t selectorOf(int item) { return item == 1 ? 2 : 1; }

bool hintsShown(const InputFormContext& ctx) { return ctx.helpLevel == 1 || ctx.helpLevel == 2; }

void fillHint(ToolTip& tip, const InputFormContext& ctx) {
  tip.text = hintsShown(ctx) && ctx.hint ? ctx.hint(tip.helpNumber) : std::string();
}

// A field whose text is still what the form shows for the stored value keeps that value
// exactly; only a changed text is parsed, and takes the display's precision with it.
template <class Format, class Parse>
Real readField(const std::string& text, Real stored, Format format, Parse parse) {
  return text == format(stored) ? stored : parse(text);
}

Real readLength(const NumberSettings& num, const std::string& text, Real stored) {
  return readField(
      text, stored, [&](Real x) { return fmtLength(num, x); },
      [&](const std::string& t) { return parseLength(num, t); });
}

struct EndLengths {
  Real li = 0, rbi = 0, le = 0, rbe = 0;
};

// The lengths the controls stand for: 0 for a clamped end, otherwise the field values.
EndLengths lengthsOf(const NumberSettings& num, const SpringEndsResult& c, const EndLengths& stored) {
  EndLengths v;
  if (c.formiIndex == 1) {
    v.li = readLength(num, c.li, stored.li);
    v.rbi = readLength(num, c.ri, stored.rbi);
  }
  if (c.formeIndex == 1) {
    v.le = readLength(num, c.le, stored.le);
    v.rbe = readLength(num, c.re, stored.rbe);
  }
  return v;
}

void fillLengths(SpringEndsResult& c, const NumberSettings& num, const EndLengths& v) {
  c.li = fmtLength(num, v.li);
  c.ri = fmtLength(num, v.rbi);
  c.le = fmtLength(num, v.le);
  c.re = fmtLength(num, v.rbe);
}

SpringEndsRefill switchSpringEndsUnits(NumberSettings& num, const EndLengths& stored, const SpringEndsResult& current) {
  const EndLengths shown = lengthsOf(num, current, stored);
  num.units = num.units == 1 ? 0 : 1;
  SpringEndsRefill refill{current, unitLength(num)};
  // Unchanged fields keep the stored value exactly through any number of switches.
  fillLengths(refill.controls, num, shown);
  return refill;
}

}  // namespace

// ---- Calculation settings ----

CalcSettingsRequest buildCalcSettingsRequest(const Spring& s, const NumberSettings& num, const InputFormContext& ctx,
                                             std::function<void()> showHelpImages) {
  CalcSettingsRequest r;
  r.caption = ctx.appTitle;
  r.unitsItems = {oem("metrisch: mm, N, N/mm², °C"), "imperial: in, lbf, psi, deg F"};
  r.controls.crossSectionIndex = itemOf(s.crossSection);
  r.controls.unitsIndex = num.units == 1 ? 1 : 0;
  r.showHints = hintsShown(ctx);
  fillHint(r.crossSectionHint, ctx);
  fillHint(r.unitsHint, ctx);
  r.showHelpImages = std::move(showHelpImages);
  return r;
}

CalcSettingsOutcome applyCalcSettings(Spring& s, NumberSettings& num, const CalcSettingsResult& r) {
  CalcSettingsOutcome out;
  if (r.crossSectionIndex == 0 || r.crossSectionIndex == 1) {
    const auto cs = static_cast<uint16_t>(r.crossSectionIndex + 1);
    out.crossSectionChanged = cs != s.crossSection;
    s.crossSection = cs;
  }
  if (r.unitsIndex == 0 || r.unitsIndex == 1) {
    out.unitsChanged = r.unitsIndex != num.units;
    num.units = r.unitsIndex;
  }
  return out;
}

// ---- Spring ends ----

SpringEndsRequest buildSpringEndsRequest(const Spring& s, NumberSettings& num, const InputFormContext& ctx) {
  SpringEndsRequest r;
  r.caption = ctx.appTitle;
  r.innerTitle = "Federende innen";
  r.outerTitle = oem("Federende außen");
  r.lengthLabel = oem("Länge Federende");
  r.unit = unitLength(num);
  r.controls.formiIndex = itemOf(s.formi);
  r.controls.formeIndex = itemOf(s.forme);
  const EndLengths stored{s.li, s.rbi, s.le, s.rbe};
  fillLengths(r.controls, num, stored);
  r.controls.kugelstrahlen = s.kugelstrahlen != 'N' && s.kugelstrahlen != 'n';
  r.enabled = springEndsEnabled(r.controls);
  r.showHints = hintsShown(ctx);
  fillHint(r.kugelstrahlenHint, ctx);
  r.switchUnits = [&num, stored](const SpringEndsResult& current) {
    return switchSpringEndsUnits(num, stored, current);
  };
  return r;
}

void applySpringEnds(Spring& s, const NumberSettings& num, const SpringEndsResult& r) {
  const EndLengths v = lengthsOf(num, r, EndLengths{s.li, s.rbi, s.le, s.rbe});
  s.formi = selectorOf(r.formiIndex);
  s.forme = selectorOf(r.formeIndex);
  s.li = v.li;
  s.rbi = v.rbi;
  s.le = v.le;
  s.rbe = v.rbe;
  s.kugelstrahlen = r.kugelstrahlen ? 'J' : 'N';
}

// ---- Application ----

ApplicationRequest buildApplicationRequest(const Spring& s, const NumberSettings& num, const InputFormContext& ctx) {
  ApplicationRequest r;
  r.caption = ctx.appTitle + " " + "Anwendung";
  r.temperaturUnit = unitTemp(num);
  r.controls.statdynIndex = itemOf(s.statdyn);
  r.controls.freq = fmtSig(num, s.freq);
  r.controls.temperatur = fmtTemp(num, s.theta);
  r.freqEnabled = frequencyEnabled(r.controls);
  r.showHints = hintsShown(ctx);
  fillHint(r.freqHint, ctx);
  fillHint(r.temperaturHint, ctx);
  fillHint(r.statdynHint, ctx);
  return r;
}

void applyApplication(Spring& s, const NumberSettings& num, const ApplicationResult& r) {
  s.statdyn = selectorOf(r.statdynIndex);
  s.freq = readField(
      r.freq, s.freq, [&](Real x) { return fmtSig(num, x); }, [](const std::string& t) { return parseReal(t); });
  // A temperature that is not a number stores 0 °C, not the Celsius value of 0 °F.
  s.theta = readField(
      r.temperatur, s.theta, [&](Real x) { return fmtTemp(num, x); },
      [&](const std::string& t) {
        Real typed = 0;
        return tryParseReal(t, typed) ? parseTemp(num, t) : Real{0};
      });
}

}  // namespace velk
