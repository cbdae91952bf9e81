// What the table service's interactive functions take: the user-interface parts and the one
// open table.
#pragma once

#include <functional>

#include "dialogs/context.h"
#include "tables/tableservice.h"

namespace velk {

struct TableContext : UiContext {
  using UiContext::UiContext;
  TableService table;  // the one open dBASE table
  // The browser's "print" menu: the listing goes through the report writer, which the session
  // wires in (mode: as the browser shows the table).
  std::function<void(int mode)> printTableListing;
};

}  // namespace velk
