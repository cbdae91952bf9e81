// Material records of the strip and wire tables and the material laws: tensile strength
// over thickness, permissible bending stress, fatigue-diagram values, limit checks, DIN 2076.
#pragma once

#include <string>

#include "calc/messages.h"
#include "base/numfmt.h"

namespace velk {

struct Workspace;

// Fatigue-diagram values of one treatment (not shot peened / shot peened).
struct FatigueValues {
  long long upper = 0;          // sigma o (tau o) at the reference thickness, N/mm²
  long long upperDecrease = 0;  // its decrease per decade of thickness
  long long stroke = 0;         // sigma h0 (tau h0) at lower stress 0
  long long strokeDecrease = 0;
  Real m = 0;                   // slope of the fatigue line
};

// Record of "velkwst.dbf" (29 fields by position). Texts in code page 850.
struct StripRecord {
  std::string name1, name2, name3, name4;  // fields 1-4 (20, 30, 20, 20)
  long long E = 0;                         // 5
  Real rho = 0;                            // 6
  long long Rm0 = 0;                       // 7
  Real t0 = 0;                             // 8
  long long Rmmax = 0;                     // 9
  long long kRm = 0;                       // 10
  Real tG = 0;                             // 11
  FatigueValues plain;                     // 12-16
  FatigueValues peened;                    // 17-21
  Real tmin = 0, tmax = 0;                 // 22, 23
  long long Tmax = 0;                      // 24
  Real field25 = 0, field26 = 0;           // 25, 26 (not used)
  Real f = 0;                              // 27: factor of the permissible bending stress, 0 = 0.75
  std::string field28;                     // 28 (not used)
  long long field29 = 0;                   // 29 (not used)
};

// Record of "talmwst.dbf" (27 fields by position).
struct WireRecord {
  std::string name1, name2, name3, name4;  // 1-4
  long long G = 0;                         // 5
  long long E = 0;                         // 6
  Real rho = 0;                            // 7
  long long Rm0 = 0;                       // 8
  Real d0 = 0;                             // 9
  long long Rmmax = 0;                     // 10: strength at d = 0.1 mm
  long long kRm = 0;                       // 11
  Real dG = 0;                             // 12
  FatigueValues plain;                     // 13-17
  FatigueValues peened;                    // 18-22
  Real dmin = 0, dmax = 0;                 // 23, 24
  long long Tmax = 0;                      // 25
  std::string field26;                     // 26 (not used by the calculation)
  long long runningNo = 0;                 // 27
};

struct Materials {
  StripRecord strip;
  WireRecord wire;
};

// Decimal logarithm; -1e30 for x <= 0.
Real Lg(Real x);

// Rm of the strip law at thickness t / of the wire law at diameter d (messages for t <= 0, t0 = 0).
Real StrengthAt(const StripRecord& r, Real t, CalcMessages& msgs);
Real StrengthAt(const WireRecord& r, Real d, CalcMessages& msgs);
// Rm and sigman of the spring for its current t.
void UpdateStrength(Workspace& ws);

struct GoodmanPoint {
  Real sigmaO = 0, sigmaH0 = 0, m = 0;
};
// Fatigue values of the spring's treatment at its thickness, with the approximation rule.
GoodmanPoint GoodmanValues(const Workspace& ws, CalcMessages& msgs);

// Warnings for thickness and temperature outside the current record's range.
void CheckMaterialLimits(Workspace& ws);

// The DIN 2076 series (86 diameters, mm).
extern const Real kDin2076[86];
// First series value >= x; above 19 the warning and x unchanged; x unchanged when aborted.
Real RoundUpDin2076(Workspace& ws, Real x);

}  // namespace velk
