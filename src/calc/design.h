// Design modes: recalculation, dimensioning and pre-dimensioning as online input tables, their
// rows and value texts, and the solvers that turn moments and a stroke angle into a spring.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "base/numfmt.h"

namespace velk {

struct CalcContext;
struct Spring;

enum class DesignMode { Recalculation, Dimensioning, PreDimensioning };

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
// messages, read every input text into its field, solve, calculate, fill the output rows and
// refill the input texts. Messages the solver reported stay in the list after the calculation's.
void DesignPass(CalcContext& ws, DesignMode mode);
// The exchange area's row texts from the fields: captions and units of the input rows (with
// their value texts when withValues), and the output rows.
void FillInputRows(CalcContext& ws, DesignMode mode, bool withValues);
void FillOutputRows(CalcContext& ws, DesignMode mode);

// Solvers. Each stop reports a message in ws.messages and leaves the fields it would have
// changed as they were; the "Fatal" stops set the fatal flag.
//
// Thickness (strip) or diameter (wire) at which T2 reaches sigman; false when stopped.
bool ThicknessForMoment(CalcContext& ws);
// First estimate of t and b when t is 0, and of b when b is 0; false when stopped.
bool PreSize(CalcContext& ws);
// Spring rate, working angles and number of turns (and re when it is 0) from T1, T2, alphah.
void Dimension(CalcContext& ws);
// Thickness, width and radii from T1, T2, alphah, a0_t, b_t, then Dimension; runs CalculateSpring.
void PreDimension(CalcContext& ws);
// CalculateSpring, after which the findings that were in the list before it (the solver's)
// are added again behind the calculation's own.
void CalculateAfterSolver(CalcContext& ws);

// Messages of the solver guards that the calculation does not have (code page 850).
std::string WidthZeroMessage();      // "Fatal  : b = 0 !"
std::string MomentZeroMessage();     // "Fatal  : T2 = 0 !"
std::string RadiusSumZeroMessage();  // "Fatal  : Re + Ri = 0 !"

}  // namespace velk
