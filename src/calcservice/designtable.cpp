// Design modes and their online input tables: the row tables, value texts by kind and the loop
// of a mode around the online form.
#include "calcservice/designtable.h"

#include <cmath>

#include "calcservice/context.h"
#include "data/springkinds.h"
#include "dialogs/onlinetable.h"

namespace velk {

namespace {

using U = UnitKind;
using V = ValueKind;

// ---- row tables ----

constexpr DesignRow kRecalcStrip[] = {
    {"b", U::Length, V::Length, &Spring::b},       {"t", U::Length, V::Length, &Spring::t},
    {"n0", U::None, V::Plain, &Spring::n0},        {"Ri", U::Length, V::Length, &Spring::ri},
    {"Re", U::Length, V::Length, &Spring::re},     {"al.1", U::Angle, V::Plain, &Spring::alpha1},
    {"al.2", U::Angle, V::Plain, &Spring::alpha2}, {"T", U::Temperature, V::Temperature, &Spring::theta},
};
constexpr DesignRow kRecalcWire[] = {
    {" ", U::None, V::Length, nullptr},
    {"d", U::Length, V::Length, &Spring::t},
    {"n0", U::None, V::Plain, &Spring::n0},
    {"Ri", U::Length, V::Length, &Spring::ri},
    {"Re", U::Length, V::Length, &Spring::re},
    {"al.1", U::Angle, V::Plain, &Spring::alpha1},
    {"al.2", U::Angle, V::Plain, &Spring::alpha2},
    {"T", U::Temperature, V::Temperature, &Spring::theta},
};
constexpr DesignRow kRecalcOut[] = {
    {"RT", U::SpringRate, V::Moment, &Spring::cT},
    {"T1", U::Moment, V::Moment, &Spring::T1},
    {"T2", U::Moment, V::Moment, &Spring::T2},
    {"al.c", U::Angle, V::Plain, &Spring::alphac},
    {"sig.k1", U::Stress, V::Stress, &Spring::sigmaq1},
    {"sig.k2", U::Stress, V::Stress, &Spring::sigmaq2},
    {"sig.c", U::Stress, V::Stress, &Spring::sigmac},
    {"sig.zul", U::Stress, V::Stress, &Spring::sigman},
    {"n0", U::None, V::Plain, &Spring::n0},
    {"a0", U::Length, V::Length, &Spring::a0},
    {"Lw", U::Length, V::Length, &Spring::Lw},
};

// Strip: all seven rows; wire: the first six (no width).
constexpr DesignRow kDimStrip[] = {
    {"T1", U::Moment, V::Moment, &Spring::T1},     {"T2", U::Moment, V::Moment, &Spring::T2},
    {"al.h", U::Angle, V::Plain, &Spring::alphah}, {"Re", U::Length, V::Length, &Spring::re},
    {"Ri", U::Length, V::Length, &Spring::ri},     {"t", U::Length, V::Length, &Spring::t},
    {"b", U::Length, V::Length, &Spring::b},
};
constexpr DesignRow kDimWire[] = {
    {"T1", U::Moment, V::Moment, &Spring::T1},     {"T2", U::Moment, V::Moment, &Spring::T2},
    {"al.h", U::Angle, V::Plain, &Spring::alphah}, {"Re", U::Length, V::Length, &Spring::re},
    {"Ri", U::Length, V::Length, &Spring::ri},     {"d", U::Length, V::Length, &Spring::t},
};
// Strip: all five rows; wire: the first four (no width ratio).
constexpr DesignRow kPreDim[] = {
    {"T1", U::Moment, V::Moment, &Spring::T1},     {"T2", U::Moment, V::Moment, &Spring::T2},
    {"al.h", U::Angle, V::Plain, &Spring::alphah}, {"a0/t", U::None, V::Plain, &Spring::a0_t},
    {"b/t ca.", U::None, V::Plain, &Spring::b_t},
};
constexpr DesignRow kDimOut[] = {
    {"cT", U::SpringRate, V::Moment, &Spring::cT},      {"al.1", U::Angle, V::Plain, &Spring::alpha1},
    {"al.2", U::Angle, V::Plain, &Spring::alpha2},      {"al.c", U::Angle, V::Plain, &Spring::alphac},
    {"sig.q1", U::Stress, V::Stress, &Spring::sigmaq1}, {"sig.q2", U::Stress, V::Stress, &Spring::sigmaq2},
    {"sig.c", U::Stress, V::Stress, &Spring::sigmac},   {"sig.zul", U::Stress, V::Stress, &Spring::sigman},
    {"Lw", U::Length, V::Length, &Spring::Lw},          {"n0", U::None, V::Plain, &Spring::n0},
    {"a0", U::Length, V::Length, &Spring::a0},
};

bool isWire(const Spring& s) { return crossSectionOf(s) == CrossSection::Wire; }

// ---- value texts ----

Real displayValue(const NumberSettings& n, ValueKind kind, Real x) {
  switch (kind) {
    case V::Length:
      return toDisplayLength(n, x);
    case V::Moment:
      return toDisplayMoment(n, x);
    case V::Stress:
      return toDisplayStress(n, x);
    case V::Temperature:
      return toDisplayTemp(n, x);
    case V::Plain:
      return x;
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

}  // namespace

// ---- tables ----

const char* DesignTitle(DesignMode mode) {
  switch (mode) {
    case DesignMode::Recalculation:
      return "Nachrechnung";
    case DesignMode::Dimensioning:
      return "Auslegung";
    case DesignMode::PreDimensioning:
      return "Vorauslegung";
  }
  return "";
}

uint16_t DesignHelpNumber(DesignMode mode) {
  switch (mode) {
    case DesignMode::Recalculation:
      return kHelpRecalculation;
    case DesignMode::Dimensioning:
      return kHelpDimensioning;
    case DesignMode::PreDimensioning:
      return kHelpPreDimensioning;
  }
  return 0;
}

std::span<const DesignRow> DesignInputRows(DesignMode mode, const Spring& s) {
  using Rows = std::span<const DesignRow>;
  const bool wire = isWire(s);
  switch (mode) {
    case DesignMode::Recalculation:
      return wire ? Rows(kRecalcWire) : Rows(kRecalcStrip);
    case DesignMode::Dimensioning:
      return wire ? Rows(kDimWire) : Rows(kDimStrip);
    case DesignMode::PreDimensioning:
      return Rows(kPreDim).first(wire ? 4 : 5);
  }
  return {};
}

std::span<const DesignRow> DesignOutputRows(DesignMode mode) {
  using Rows = std::span<const DesignRow>;
  return mode == DesignMode::Recalculation ? Rows(kRecalcOut) : Rows(kDimOut);
}

std::string UnitText(const NumberSettings& n, UnitKind unit) {
  switch (unit) {
    case U::None:
      return {};
    case U::Length:
      return unitLength(n);
    case U::Moment:
      return unitMoment(n);
    case U::Angle:
      return unitAngle(n);
    case U::Stress:
      return unitStress(n);
    case U::Temperature:
      return unitTemp(n);
    case U::SpringRate:
      return unitMoment(n) + "/" + unitAngle(n);
  }
  return {};
}

std::string FormatValue(const NumberSettings& n, ValueKind kind, Real x) {
  std::string text;
  switch (kind) {
    case V::Length:
      text = fmtLength(n, x);
      break;
    case V::Moment:
      text = fmtMoment(n, x);
      break;
    case V::Stress:
      text = fmtStress(n, x);
      break;
    case V::Temperature:
      text = fmtTemp(n, x);
      break;
    case V::Plain:
      text = fmtSig(n, x);
      break;
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
    case V::Length:
      v = parseLength(n, text);
      break;
    case V::Moment:
      v = parseMoment(n, text);
      break;
    case V::Stress:
      v = parseReal(text) / toDisplayStress(n, 1);
      break;
    case V::Temperature:
      v = parseTemp(n, text);
      break;
    case V::Plain:
      v = parseReal(text);
      break;
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
  SolveDesign(ws, n, mode);
  FillOutputRows(ws, mode);
  FillInputRows(ws, mode, true);
}

void RunDesignTable(CalcContext& ws, DesignMode mode, const QuickViewRefresh& refresh) {
  const int inCount = static_cast<int>(DesignInputRows(mode, ws.spring).size());
  const int outCount = static_cast<int>(DesignOutputRows(mode).size());
  // A flag left over from before the mode must not end it before its first form.
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

}  // namespace velk
