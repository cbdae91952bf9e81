// Fatigue strength and lifetime: the spring's stroke against the Goodman line of its material,
// with the permissible stroke stress and the load cycles to fracture.
#pragma once

#include <optional>

#include "base/numfmt.h"

namespace velk {

struct Document;

// Works on the stresses of the last calculation (sigma2, sigmaq1, sigmaq2, sigmah), scaled by 0.8 to
// the torsional level of the fatigue data, with the strip record for a strip (crossSection != 2) and
// the wire record for a wire. Sets strokePerm, fatigueRatio, cyclesN, cyclesMin, cyclesMax; adds its
// messages and may raise the fatal flag. An evaluation that ends early leaves the values it has not
// reached at their previous values; a value that would not be finite is never stored.
void FatigueEvaluation(Document& doc);

// The smallest frequency (1/s) a lifetime is given for: below it the report's number format
// shows "0", and a lifetime at a frequency shown as 0 would contradict itself.
inline constexpr Real kLifetimeMinFrequency = 1e-5L;

// Hours until `cycles` load cycles are reached at `freq` 1/s; nothing when the frequency is not
// finite or below kLifetimeMinFrequency, or the result would not be finite. Every output that
// shows a lifetime goes through here, so none of them ever writes "inf" or "nan".
std::optional<Real> LifetimeHours(Real cycles, Real freq);

}  // namespace velk
