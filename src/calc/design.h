// Design modes: the solvers that turn moments and a stroke angle into a spring, and one pass of a
// mode's solving and calculating on the document.
#pragma once

#include <string>

#include "base/numfmt.h"

namespace velk {

struct Document;

enum class DesignMode { Recalculation, Dimensioning, PreDimensioning };

// The solving and calculating of one pass of a mode on the document's inputs: recalculation
// calculates; dimensioning dimensions and calculates; pre-dimensioning pre-dimensions (which
// calculates). Messages the solver reported stay in the list after the calculation's.
void SolveDesign(Document& doc, const NumberSettings& num, DesignMode mode);

// Solvers. Each stop reports a message in doc.messages and leaves the fields it would have
// changed as they were; the "Fatal" stops set the fatal flag.
//
// Thickness (strip) or diameter (wire) at which T2 reaches sigman; false when stopped.
bool ThicknessForMoment(Document& doc);
// First estimate of t and b when t is 0, and of b when b is 0; false when stopped.
bool PreSize(Document& doc);
// Spring rate, working angles and number of turns (and re when it is 0) from T1, T2, alphah.
void Dimension(Document& doc);
// Thickness, width and radii from T1, T2, alphah, a0_t, b_t, then Dimension; runs CalculateSpring.
void PreDimension(Document& doc, const NumberSettings& num);
// CalculateSpring, after which the findings that were in the list before it (the solver's)
// are added again behind the calculation's own.
void CalculateAfterSolver(Document& doc, const NumberSettings& num);

// Messages of the solver guards that the calculation does not have (code page 850).
std::string WidthZeroMessage();      // "Fatal  : b = 0 !"
std::string MomentZeroMessage();     // "Fatal  : T2 = 0 !"
std::string RadiusSumZeroMessage();  // "Fatal  : Re + Ri = 0 !"

}  // namespace velk
