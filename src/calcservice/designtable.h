// Design modes as online input tables: recalculation, dimensioning and pre-dimensioning, their
// rows and value texts, and the loop of a mode around the online form (the solving itself is
// SolveDesign of the calculation).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "base/numfmt.h"
#include "calc/design.h"

namespace velk {

struct CalcContext;
struct Spring;

// How a value travels as text: formatted and parsed with the operations of its kind (metric or
// imperial by the number settings). Plain: angles, turns, ratios, without unit conversion.
enum class ValueKind { Length, Moment, Stress, Temperature, Plain };
// The unit text shown beside a value.
enum class UnitKind { None, Length, Moment, Angle, Stress, Temperature, SpringRate };

// One row of an online input table. A row without field shows an empty value and is never read
// (the width row of the recalculation table for a round wire).
struct DesignRow {
  const char* caption;
  UnitKind unit;
  ValueKind kind;
  Real Spring::*field;
};

constexpr uint16_t kHelpRecalculation = 6000;
constexpr uint16_t kHelpDimensioning = 6100;
constexpr uint16_t kHelpPreDimensioning = 6200;

// "Nachrechnung", "Auslegung", "Vorauslegung".
const char* DesignTitle(DesignMode mode);
uint16_t DesignHelpNumber(DesignMode mode);
// Input rows of a mode for the spring's cross-section, and the output rows (the same for both).
std::span<const DesignRow> DesignInputRows(DesignMode mode, const Spring& s);
std::span<const DesignRow> DesignOutputRows(DesignMode mode);

// Unit text (code page 850); the spring rate is moment unit + "/" + angle unit.
std::string UnitText(const NumberSettings& n, UnitKind unit);
// Value text of x by its kind, never longer than the table's 9 characters: decimals that do not
// fit are dropped, a value whose integer digits do not fit is written in engineering form.
std::string FormatValue(const NumberSettings& n, ValueKind kind, Real x);
// Value of a text by its kind; a text that is not a number, or that overflows on conversion, is 0.
Real ParseValue(const NumberSettings& n, ValueKind kind, std::string_view text);

// Redraws the quick result view after each pass (when the help level is above 0); may be empty.
using QuickViewRefresh = std::function<void(CalcContext&)>;

// The loop of a mode: fill the table, then pass by pass read the inputs, solve, calculate and
// show the online form until the user leaves it. The spring keeps the values of the last pass.
void RunDesignTable(CalcContext& ws, DesignMode mode, const QuickViewRefresh& refresh = {});
void RecalculationTable(CalcContext& ws, const QuickViewRefresh& refresh = {});
void DimensioningTable(CalcContext& ws, const QuickViewRefresh& refresh = {});
void PreDimensioningTable(CalcContext& ws, const QuickViewRefresh& refresh = {});

// One pass of a mode on the exchange area ws.online (rows and counts already set): clear the
// messages, read every input text into its field, solve and calculate (SolveDesign), fill the
// output rows and refill the input texts.
void DesignPass(CalcContext& ws, DesignMode mode);
// The exchange area's row texts from the fields: captions and units of the input rows (with
// their value texts when withValues), and the output rows.
void FillInputRows(CalcContext& ws, DesignMode mode, bool withValues);
void FillOutputRows(CalcContext& ws, DesignMode mode);

}  // namespace velk
