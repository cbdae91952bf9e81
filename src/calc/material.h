// The material laws: tensile strength
// over thickness, permissible bending stress, fatigue-diagram values, limit checks, DIN 2076.
#pragma once

#include <string>

#include "base/numfmt.h"
#include "data/materials.h"
#include "data/messages.h"

namespace velk {

struct Document;

// Decimal logarithm; -1e30 for x <= 0.
Real Lg(Real x);

// Rm of the strip law at thickness t / of the wire law at diameter d (messages for t <= 0, t0 = 0).
Real StrengthAt(const StripRecord& r, Real t, CalcMessages& msgs);
Real StrengthAt(const WireRecord& r, Real d, CalcMessages& msgs);
// Rm and sigman of the spring for its current t.
void UpdateStrength(Document& doc);

struct GoodmanPoint {
  Real sigmaO = 0, sigmaH0 = 0, m = 0;
};
// Fatigue values of the spring's treatment at its thickness, with the approximation rule.
GoodmanPoint GoodmanValues(const Document& doc, CalcMessages& msgs);

// Warnings for thickness and temperature outside the current record's range (the limits in the
// number format of num).
void CheckMaterialLimits(Document& doc, const NumberSettings& num);

// The DIN 2076 series (86 diameters, mm).
extern const Real kDin2076[86];
// First series value >= x; above 19 the warning "Drahtdurchmesser nicht nach DIN 2076 !" in msgs
// and x unchanged.
Real RoundUpDin2076(CalcMessages& msgs, Real x);

}  // namespace velk
