// Material records of the strip and wire tables ("velkwst.dbf", "talmwst.dbf"): the two records
// of the last selected strip and wire material that every calculation reads.
#pragma once

#include <string>

#include "base/numfmt.h"

namespace velk {

// Fatigue-diagram values of one treatment (not shot peened / shot peened).
struct FatigueValues {
  long long upper = 0;          // sigma o (tau o) at the reference thickness, N/mm²
  long long upperDecrease = 0;  // its decrease per decade of thickness
  long long stroke = 0;         // sigma h0 (tau h0) at lower stress 0
  long long strokeDecrease = 0;
  Real m = 0;  // slope of the fatigue line
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

}  // namespace velk
