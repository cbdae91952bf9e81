// The calculation for callers that hold the session.
#include "calcservice/context.h"

#include "calc/calculate.h"
#include "calc/material.h"

namespace velk {

void CalculateSpring(CalcContext& ws) { CalculateSpring(ws, ws.num()); }

Real RoundUpDin2076(CalcContext& ws, Real x) {
  if (ws.abort) return x;
  return RoundUpDin2076(ws.messages, x);
}

}  // namespace velk
