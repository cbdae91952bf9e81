// Design modes and their online input tables: the row tables, value texts by kind, the loop of
// a mode around the online form, and the dimensioning and pre-dimensioning solvers.
#include "calc/design.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "calc/calculate.h"
#include "calc/material.h"
#include "calc/document.h"
#include "dialogs/onlinetable.h"

namespace velk {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

using U = UnitKind;
using V = ValueKind;

// ---- row tables ----

constexpr DesignRow kRecalcStrip[] = {
    {"b", U::Length, V::Length, &Spring::b},         {"t", U::Length, V::Length, &Spring::t},
    {"n0", U::None, V::Plain, &Spring::n0},          {"Ri", U::Length, V::Length, &Spring::ri},
    {"Re", U::Length, V::Length, &Spring::re},       {"al.1", U::Angle, V::Plain, &Spring::alpha1},
    {"al.2", U::Angle, V::Plain, &Spring::alpha2},   {"T", U::Temperature, V::Temperature, &Spring::theta},
};
constexpr DesignRow kRecalcWire[] = {
    {" ", U::None, V::Length, nullptr},              {"d", U::Length, V::Length, &Spring::t},
    {"n0", U::None, V::Plain, &Spring::n0},          {"Ri", U::Length, V::Length, &Spring::ri},
    {"Re", U::Length, V::Length, &Spring::re},       {"al.1", U::Angle, V::Plain, &Spring::alpha1},
    {"al.2", U::Angle, V::Plain, &Spring::alpha2},   {"T", U::Temperature, V::Temperature, &Spring::theta},
};
constexpr DesignRow kRecalcOut[] = {
    {"RT", U::SpringRate, V::Moment, &Spring::cT},   {"T1", U::Moment, V::Moment, &Spring::T1},
    {"T2", U::Moment, V::Moment, &Spring::T2},       {"al.c", U::Angle, V::Plain, &Spring::alphac},
    {"sig.k1", U::Stress, V::Stress, &Spring::sigmaq1}, {"sig.k2", U::Stress, V::Stress, &Spring::sigmaq2},
    {"sig.c", U::Stress, V::Stress, &Spring::sigmac},   {"sig.zul", U::Stress, V::Stress, &Spring::sigman},
    {"n0", U::None, V::Plain, &Spring::n0},          {"a0", U::Length, V::Length, &Spring::a0},
    {"Lw", U::Length, V::Length, &Spring::Lw},
};

// Strip: all seven rows; wire: the first six (no width).
constexpr DesignRow kDimStrip[] = {
    {"T1", U::Moment, V::Moment, &Spring::T1},       {"T2", U::Moment, V::Moment, &Spring::T2},
    {"al.h", U::Angle, V::Plain, &Spring::alphah},   {"Re", U::Length, V::Length, &Spring::re},
    {"Ri", U::Length, V::Length, &Spring::ri},       {"t", U::Length, V::Length, &Spring::t},
    {"b", U::Length, V::Length, &Spring::b},
};
constexpr DesignRow kDimWire[] = {
    {"T1", U::Moment, V::Moment, &Spring::T1},       {"T2", U::Moment, V::Moment, &Spring::T2},
    {"al.h", U::Angle, V::Plain, &Spring::alphah},   {"Re", U::Length, V::Length, &Spring::re},
    {"Ri", U::Length, V::Length, &Spring::ri},       {"d", U::Length, V::Length, &Spring::t},
};
// Strip: all five rows; wire: the first four (no width ratio).
constexpr DesignRow kPreDim[] = {
    {"T1", U::Moment, V::Moment, &Spring::T1},       {"T2", U::Moment, V::Moment, &Spring::T2},
    {"al.h", U::Angle, V::Plain, &Spring::alphah},   {"a0/t", U::None, V::Plain, &Spring::a0_t},
    {"b/t ca.", U::None, V::Plain, &Spring::b_t},
};
constexpr DesignRow kDimOut[] = {
    {"cT", U::SpringRate, V::Moment, &Spring::cT},   {"al.1", U::Angle, V::Plain, &Spring::alpha1},
    {"al.2", U::Angle, V::Plain, &Spring::alpha2},   {"al.c", U::Angle, V::Plain, &Spring::alphac},
    {"sig.q1", U::Stress, V::Stress, &Spring::sigmaq1}, {"sig.q2", U::Stress, V::Stress, &Spring::sigmaq2},
    {"sig.c", U::Stress, V::Stress, &Spring::sigmac},   {"sig.zul", U::Stress, V::Stress, &Spring::sigman},
    {"Lw", U::Length, V::Length, &Spring::Lw},       {"n0", U::None, V::Plain, &Spring::n0},
    {"a0", U::Length, V::Length, &Spring::a0},
};

bool isWire(const Spring& s) { return s.crossSection == 2; }

// ---- value texts ----

Real displayValue(const NumberSettings& n, ValueKind kind, Real x) {
  switch (kind) {
    case V::Length: return toDisplayLength(n, x);
    case V::Moment: return toDisplayMoment(n, x);
    case V::Stress: return toDisplayStress(n, x);
    case V::Temperature: return toDisplayTemp(n, x);
    case V::Plain: return x;
  }
  return x;
}

// A number text cut to `width` characters without changing its integer digits, or empty when
// its integer part alone is too wide.
std::string cutDecimals(const std::string& s, std::size_t width) {
  if (s.size() <= width) return s;
  const std::size_t sep = s.find_first_of(".,");
  if (sep == std::string::npos || sep > width) return {};
  std::string out = s.substr(0, width);
  if (out.back() == '.' || out.back() == ',') out.pop_back();
  return out;
}

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

bool dimension(CalcContext& ws) {
  Spring& s = ws.spring;
  CalcMessages& msgs = ws.messages;
  if (!allFinite(s.sigman, s.T1, s.T2, s.alphah, s.re, s.ri, s.t, s.b, s.theta, s.E))
    return stopFatal(msgs, InvalidInputMessage());

  // 1-2: permissible stress of the last calculation, first sizes, material values for t.
  if (s.sigman == 0) return stopFatal(msgs, "Fatal  : Sigma b zul = 0 !");
  if (!PreSize(ws)) return false;
  UpdateStrength(ws);
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
  SectionProperties(ws.spring);

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

// ---- tables ----

const char* DesignTitle(DesignMode mode) {
  switch (mode) {
    case DesignMode::Recalculation: return "Nachrechnung";
    case DesignMode::Dimensioning: return "Auslegung";
    case DesignMode::PreDimensioning: return "Vorauslegung";
  }
  return "";
}

uint16_t DesignHelpNumber(DesignMode mode) {
  switch (mode) {
    case DesignMode::Recalculation: return kHelpRecalculation;
    case DesignMode::Dimensioning: return kHelpDimensioning;
    case DesignMode::PreDimensioning: return kHelpPreDimensioning;
  }
  return 0;
}

std::span<const DesignRow> DesignInputRows(DesignMode mode, const Spring& s) {
  using Rows = std::span<const DesignRow>;
  const bool wire = isWire(s);
  switch (mode) {
    case DesignMode::Recalculation: return wire ? Rows(kRecalcWire) : Rows(kRecalcStrip);
    case DesignMode::Dimensioning: return wire ? Rows(kDimWire) : Rows(kDimStrip);
    case DesignMode::PreDimensioning: return Rows(kPreDim).first(wire ? 4 : 5);
  }
  return {};
}

std::span<const DesignRow> DesignOutputRows(DesignMode mode) {
  using Rows = std::span<const DesignRow>;
  return mode == DesignMode::Recalculation ? Rows(kRecalcOut) : Rows(kDimOut);
}

std::string UnitText(const NumberSettings& n, UnitKind unit) {
  switch (unit) {
    case U::None: return {};
    case U::Length: return unitLength(n);
    case U::Moment: return unitMoment(n);
    case U::Angle: return unitAngle(n);
    case U::Stress: return unitStress(n);
    case U::Temperature: return unitTemp(n);
    case U::SpringRate: return unitMoment(n) + "/" + unitAngle(n);
  }
  return {};
}

std::string FormatValue(const NumberSettings& n, ValueKind kind, Real x) {
  std::string text;
  switch (kind) {
    case V::Length: text = fmtLength(n, x); break;
    case V::Moment: text = fmtMoment(n, x); break;
    case V::Stress: text = fmtStress(n, x); break;
    case V::Temperature: text = fmtTemp(n, x); break;
    case V::Plain: text = fmtSig(n, x); break;
  }
  // The table holds 9 characters and is read back from them: cutting the integer digits of a
  // long number would read back as a different value, so such a value goes to engineering form.
  constexpr std::size_t w = kOnlineTextLength;
  if (std::string fit = cutDecimals(text, w); !fit.empty()) return fit;
  text = fmtEng(n, displayValue(n, kind, x));
  if (text.size() <= w) return text;
  const std::size_t e = text.find('E');
  if (e != std::string::npos && e < text.size()) {
    const std::string exponent = text.substr(e);
    if (exponent.size() < w)
      if (std::string mantissa = cutDecimals(text.substr(0, e), w - exponent.size()); !mantissa.empty())
        return mantissa + exponent;
  }
  return text.substr(0, w);  // beyond any physical value: the text cannot be kept
}

Real ParseValue(const NumberSettings& n, ValueKind kind, std::string_view text) {
  Real v = 0;
  switch (kind) {
    case V::Length: v = parseLength(n, text); break;
    case V::Moment: v = parseMoment(n, text); break;
    case V::Stress: v = parseReal(text) / toDisplayStress(n, 1); break;
    case V::Temperature: v = parseTemp(n, text); break;
    case V::Plain: v = parseReal(text); break;
  }
  return std::isfinite(v) ? v : 0;
}

// ---- the loop ----

void FillInputRows(CalcContext& ws, DesignMode mode, bool withValues) {
  const NumberSettings& n = ws.num();
  const auto rows = DesignInputRows(mode, ws.spring);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const DesignRow& r = rows[i];
    const int row = static_cast<int>(i) + 1;
    const std::string text = !withValues ? ws.online.inText[row]
                             : r.field   ? FormatValue(n, r.kind, ws.spring.*r.field)
                                         : std::string();
    SetOnlineInput(ws, row, r.caption, UnitText(n, r.unit), text);
  }
}

void FillOutputRows(CalcContext& ws, DesignMode mode) {
  const NumberSettings& n = ws.num();
  const auto rows = DesignOutputRows(mode);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const DesignRow& r = rows[i];
    SetOnlineOutput(ws, static_cast<int>(i) + 1, r.caption, FormatValue(n, r.kind, ws.spring.*r.field),
                    UnitText(n, r.unit));
  }
}

void DesignPass(CalcContext& ws, DesignMode mode) {
  ClearCalcMessages(ws.messages);
  const NumberSettings& n = ws.num();
  const auto rows = DesignInputRows(mode, ws.spring);
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].field) ws.spring.*rows[i].field = ParseValue(n, rows[i].kind, ws.online.inText[i + 1]);
  switch (mode) {
    case DesignMode::Recalculation:
      CalculateSpring(ws);
      break;
    case DesignMode::Dimensioning:
      Dimension(ws);
      CalculateAfterSolver(ws);
      break;
    case DesignMode::PreDimensioning:
      PreDimension(ws);
      break;
  }
  FillOutputRows(ws, mode);
  FillInputRows(ws, mode, true);
}

void RunDesignTable(CalcContext& ws, DesignMode mode, const QuickViewRefresh& refresh) {
  const int inCount = static_cast<int>(DesignInputRows(mode, ws.spring).size());
  const int outCount = static_cast<int>(DesignOutputRows(mode).size());
  // A flag left over from before the mode would keep RoundUpDin2076 from rounding in the first pass.
  ws.abort = false;
  FillInputRows(ws, mode, true);
  int row = 1;
  for (;;) {
    BeginOnlineTable(ws, DesignTitle(mode), inCount, outCount);
    FillInputRows(ws, mode, false);
    DesignPass(ws, mode);
    if (refresh && ws.config.helpLevel > 0) refresh(ws);
    row = ShowOnlineTable(ws, row, DesignHelpNumber(mode));
    if (ws.abort) break;
  }
  EndOnlineTable(ws);
}

void RecalculationTable(CalcContext& ws, const QuickViewRefresh& refresh) {
  RunDesignTable(ws, DesignMode::Recalculation, refresh);
}
void DimensioningTable(CalcContext& ws, const QuickViewRefresh& refresh) {
  RunDesignTable(ws, DesignMode::Dimensioning, refresh);
}
void PreDimensioningTable(CalcContext& ws, const QuickViewRefresh& refresh) {
  RunDesignTable(ws, DesignMode::PreDimensioning, refresh);
}

// ---- solvers ----

std::string WidthZeroMessage() { return "Fatal  : b = 0 !"; }
std::string MomentZeroMessage() { return "Fatal  : T2 = 0 !"; }
std::string RadiusSumZeroMessage() { return "Fatal  : Re + Ri = 0 !"; }

bool ThicknessForMoment(CalcContext& ws) {
  Spring& s = ws.spring;
  CalcMessages& msgs = ws.messages;
  const bool wire = isWire(s);
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

bool PreSize(CalcContext& ws) {
  Spring& s = ws.spring;
  CalcMessages& msgs = ws.messages;
  if (s.t == 0) {
    const Real t0 = s.t, b0 = s.b;
    if (s.b == 0) s.b = 1;
    for (int i = 0; i < 5; ++i) {
      if (!ThicknessForMoment(ws)) {
        s.t = t0;
        s.b = b0;
        return false;
      }
      s.b = 10 * s.t;
    }
    const Real t = RoundUpDin2076(ws, s.t);
    const Real b = RoundUpDin2076(ws, s.b);
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
    const Real b = RoundUpDin2076(ws, 1.1L * 6 * s.T2 / (s.sigman * s.t * s.t));
    if (!allFinite(b)) return stopFatal(msgs, InvalidResultMessage());
    s.b = b;
  }
  return true;
}

void Dimension(CalcContext& ws) { dimension(ws); }

void CalculateAfterSolver(CalcContext& ws) {
  const CalcMessages notes = ws.messages;
  CalculateSpring(ws);
  for (int i = 0; i < notes.count; ++i) AddCalcMessage(ws.messages, notes.entries[i]);
}

void PreDimension(CalcContext& ws) {
  Spring& s = ws.spring;
  CalcMessages& msgs = ws.messages;
  const Real t0 = s.t, b0 = s.b;

  // Stops before the geometry is complete leave it as it was and still calculate, so that the
  // table shows results that belong to the fields.
  auto stop = [&](std::string_view text) {
    s.t = t0;
    s.b = b0;
    if (!text.empty()) stopFatal(msgs, text);
    CalculateAfterSolver(ws);
  };
  if (!allFinite(s.alphah, s.a0_t, s.b_t)) return stop(InvalidInputMessage());

  // 1-3: thickness and width for the ratio b/t, then both to the DIN 2076 series.
  for (int i = 0; i < 5; ++i) {
    if (!ThicknessForMoment(ws)) return stop({});
    s.b = s.b_t > 0.1L ? s.b_t * s.t : 10 * s.t;
  }
  const Real t = RoundUpDin2076(ws, s.t);
  if (s.b_t == 0) s.b_t = 10;
  const Real b = RoundUpDin2076(ws, t * s.b_t);
  // 4: radii from the thickness; the outer one for a first guess of the stroke's turns.
  const Real ri = 10 * t;
  const Real re = ri + 10 * t * s.alphah / 360;
  if (!allFinite(t, b, ri, re)) return stop(InvalidResultMessage());
  s.t = t;
  s.b = b;
  s.ri = ri;
  s.re = re;

  // 5: dimension and calculate that spring.
  dimension(ws);
  const CalcMessages notes = msgs;  // the solver's findings so far
  CalculateAfterSolver(ws);
  if (msgs.fatal) return;

  // 6: the outer radius for the gap ratio a0/t in working position 2, then once more. The first
  // calculation's findings belong to the first guess only.
  restoreNotes(msgs, notes);
  const Real re2 = (s.a0_t + 1) * s.t * s.n2 + s.ri;
  if (!allFinite(re2)) {
    stopFatal(msgs, InvalidResultMessage());
    return CalculateAfterSolver(ws);
  }
  s.re = re2;
  dimension(ws);
  CalculateAfterSolver(ws);
}

}  // namespace velk
