// What material selection, the design modes and the calculation's callers take: the session's
// parts up to the one open table, with the document.
#pragma once

#include "tables/context.h"

namespace velk {

struct CalcContext : TableContext {
  using TableContext::TableContext;
};

}  // namespace velk
