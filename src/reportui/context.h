// What the report writer takes: the calculated document, the user-interface parts and the
// report writer's page state.
#pragma once

#include "calcservice/context.h"
#include "report/reportstate.h"

namespace velk {

struct ReportContext : CalcContext {
  using CalcContext::CalcContext;
  ReportState report;
};

}  // namespace velk
