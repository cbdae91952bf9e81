// The calculation core of a spiral spring: geometry, spring rate, moments, closing angle,
// stresses, correction factor and checks, written into the spring record with their messages.
#pragma once

#include <string>

#include "base/numfmt.h"
#include "data/messages.h"

namespace velk {

struct Document;
struct Spring;

// Message texts of the guards against values that cannot be calculated with (code page 850).
// An input that is not finite (NaN, infinity) or beyond kResultLimit stops the calculation before
// any result is written; a step whose result is not finite (overflow, root of a negative value) or
// beyond kResultLimit stops before that result is stored. Both set the fatal flag, so no view,
// report, workbook or JSON prints a meaningless number.
std::string InvalidInputMessage();   // "Fatal  : Eingabe ungültig !"
std::string InvalidResultMessage();  // "Fatal  : Ergebnis ungültig !"

// The sane range of every input and result, in the unit the program keeps it (mm, degrees, N/mm²,
// Nmm, g, 1/s): |x| <= 1e15. Real springs stay many decades below it, while a value beyond it is
// a typing error that would print numbers of hundreds of digits or leave the range of the output
// formats (a double ends at 1.8e308).
inline constexpr Real kResultLimit = 1e15L;
// Load cycles grow tenfold with every decade of life the fatigue line gives; real fatigue lines
// give at most some 1e20, so beyond 1e30 the material data are absurd.
inline constexpr Real kCycleLimit = 1e30L;
// Finite and within kResultLimit (kCycleLimit).
bool ResultInRange(Real x);
bool CycleCountInRange(Real x);

// The one calculation: clears the message list and overwrites every result of doc.spring in place,
// from the spring and its material records; num formats the numbers inside messages. A fatal stop
// leaves the results of the later steps at their previous values.
void CalculateSpring(Document& doc, const NumberSettings& num);

// Ib and Wb of the spring's section from t (and b for a strip).
void SectionProperties(Spring& s);
// Bending stress of the spring's section under the moment M (t and, for a strip, b non-zero).
Real BendingStress(const Spring& s, Real M);
// Stress factor of a bend of radius r in a strip of thickness t: 1.02 + 0.49 t / r; 1 when r or t is 0.
Real EdgeFactor(Real r, Real t);
// Brings an angle into (0, 360] from below and into [0, 360) from above; 0 to 360 stay as they are.
// Terminates for any value; NaN and infinities give NaN.
Real NormalizeAngle(Real angle);
// base^exponent with the program's limits: base 0 gives 0, exponent*ln(base) above 3000 gives 1e3000,
// below -3000 gives 0; a negative base is taken by its absolute value and adds name + " (pow)".
Real PowerNamed(CalcMessages& msgs, const std::string& name, Real base, Real exponent);
// x^n by repeated multiplication; n = 0 gives 1, negative n gives 1 / x^|n| (infinity for x = 0).
// Beyond |n| = 4096 it squares instead, so even n = INT_MIN returns at once.
Real IntPower(Real x, int n);

}  // namespace velk
