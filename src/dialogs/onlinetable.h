// The online input table's protocol around the form (BeginOnlineTable, ShowOnlineTable,
// EndOnlineTable). The exchange area and the form's request are in ui/onlineform.h.
#pragma once

#include <string_view>

#include "ui/onlineform.h"

namespace velk {

struct UiContext;

// Stores the title (cut to 60) and the counts (kept within 0..12), clears the calculation
// messages and switches error message boxes off.
void BeginOnlineTable(UiContext& ws, std::string_view title, int inCount, int outCount);
// Row texts, each cut to 9 characters; a row outside 1..12 is ignored.
void SetOnlineInput(UiContext& ws, int row, std::string_view label, std::string_view unit, std::string_view text);
void SetOnlineOutput(UiContext& ws, int row, std::string_view label, std::string_view value, std::string_view unit);
// Shows the form modally with the focus in focusRow and returns the row that has the focus
// afterwards. Every way of closing except Esc takes the edit texts over (cut to 9 characters).
// Confirm and the arrow keys clear the abort flag (an arrow moves the focus row, kept within
// 1..inCount); Esc and closing set it.
int ShowOnlineTable(UiContext& ws, int focusRow, uint16_t helpContext);
// Switches error message boxes on again and clears the abort flag.
void EndOnlineTable(UiContext& ws);

}  // namespace velk
