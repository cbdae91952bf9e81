// Fatigue strength and lifetime: the spring's stroke against the Goodman line of its material,
// with the permissible stroke stress and the load cycles to fracture.
#pragma once

namespace velk {

struct CalcContext;

// Works on the stresses of the last calculation (sigma2, sigmaq1, sigmaq2, sigmah), scaled by 0.8 to
// the torsional level of the fatigue data, with the strip record for a strip (crossSection != 2) and
// the wire record for a wire. Sets strokePerm, fatigueRatio, cyclesN, cyclesMin, cyclesMax; adds its
// messages and may raise the fatal flag. An evaluation that ends early leaves the values it has not
// reached at their previous values; a value that would not be finite is never stored.
void FatigueEvaluation(CalcContext& ws);

}  // namespace velk
