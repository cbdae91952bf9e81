// What material selection, the design modes' forms and the calculation's callers in the command
// layer take: the session's parts up to the one open table, with the document.
#pragma once

#include "base/numfmt.h"
#include "tables/context.h"

namespace velk {

struct CalcContext : TableContext {
  using TableContext::TableContext;
};

// The calculation of the session's document with its number settings (CalculateSpring).
void CalculateSpring(CalcContext& ws);
// RoundUpDin2076 on the session's document; x unchanged while the abort flag is set.
Real RoundUpDin2076(CalcContext& ws, Real x);

}  // namespace velk
