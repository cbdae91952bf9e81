// The spring parameter set: every input, selector, text and result of the one current spring.
// Reals are held in metric units (mm, Nmm, N/mm², degrees, °C, g, kg/dm³, 1/s); texts in code page 850.
#pragma once

#include <cstdint>
#include <string>

#include "base/numfmt.h"
#include "data/documentation.h"

namespace velk {

// Maximum lengths of the identification texts.
constexpr int kLenZeichname = 25;
constexpr int kLenZeichname2 = 30;
constexpr int kLenZeichnr = 18;
constexpr int kLenTitleLine = 65;
constexpr int kLenBemerk = 65;

struct Spring {
  // Identification texts.
  std::string zeichname, zeichname2, zeichnr, titleLine, bemerk1, bemerk2;

  // Selectors (1-based unless noted).
  uint16_t crossSection = 1;  // 1 flat strip, 2 round wire
  uint16_t statdyn = 1;       // 1 static, 2 dynamic
  uint16_t formi = 1;         // inner end: 1 clamped, 2 bent
  uint16_t forme = 1;         // outer end
  char kugelstrahlen = 'N';   // shot peened 'J'/'N'
  uint16_t matNoFlat = 1;     // record in the strip table
  uint16_t matNoRound = 3;    // record in the wire table

  // Geometry and operating inputs.
  Real b = 20, t = 2, ri = 10, re = 100, n0 = 5;
  Real alpha1 = 0, alpha2 = 0, theta = 20, freq = 1;
  Real li = 0, rbi = 0, le = 0, rbe = 0;

  // Loads and angles (input or result depending on the design mode).
  Real T1 = 500, T2 = 800, Tc = 0, alphah = 45, alphac = 0, b_t = 10, a0_t = 1;

  // Results of the calculation.
  Real a0 = 0, a1 = 0, a2 = 0, n1 = 0, n2 = 0, nc = 0, re1 = 0, re2 = 0, rec = 0;
  Real delta0 = 0, delta1 = 0, delta2 = 0, deltac = 0;
  Real Lw = 0, L = 0, Ib = 0, Wb = 0, cT = 0, W = 0, m = 0, kb = 1;
  Real sigma1 = 0, sigma2 = 0, sigmac = 0, sigmaq1 = 0, sigmaq2 = 0, sigmah = 0;
  Real sigman = 0, sighz = 0, Et = 0;

  // Material values.
  Real E = 210000, G = 80000, rho = 7.85L, Rm = 0;
  std::string matName;  // 50 characters
  int matSource = 1;    // 0 = values from a table record; 11 = wire material just entered

  // Fatigue strength and lifetime (results).
  Real strokePerm = 0, fatigueRatio = 0, cyclesN = 0, cyclesMin = 0, cyclesMax = 0;
  Real tolPlus = 5, tolMinus = -5;  // tolerance of the fatigue strength, %

  // Drawing input.
  Real deltaDraw = 45;

  // Change history, drawing information, linked documents.
  Documentation doc;

  // Working state.
  std::string fileName;  // as the user gave it; empty = no file yet
  std::string dataDir;
  bool modified = false;
  std::string fileExt = "vlk";
};

// Sets every field to its start value (working state and documentation untouched).
void resetToStartValues(Spring& s);

// Title line as the text dialog builds it (two blanks) and as the calculation builds it (three).
std::string titleLineFromDialog(const Spring& s);
std::string titleLineFromCalculation(const Spring& s);

// The text dialog's store rule: texts cut to their lengths, title line rebuilt, modified set.
struct SpringTexts {
  std::string zeichname, zeichname2, zeichnr, bemerk1, bemerk2;
};
void storeSpringTexts(Spring& s, const SpringTexts& texts);

}  // namespace velk
