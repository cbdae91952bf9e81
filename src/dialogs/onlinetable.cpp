// The online input table protocol: the exchange area is filled by the design mode, shown by the
// UI services' online form, and the form's answer is applied here (texts, focus row, abort flag).
#include "dialogs/onlinetable.h"

#include <algorithm>

#include "data/messages.h"
#include "dialogs/context.h"

namespace velk {

namespace {

std::string cut(std::string_view s, std::size_t n) { return std::string(s.substr(0, std::min(s.size(), n))); }

int clampCount(int n) { return std::clamp(n, 0, kOnlineRows); }

// The focus row is always an input row; a table without input rows still reports row 1.
int clampRow(const OnlineTable& t, int row) { return std::clamp(row, 1, std::max(t.inCount, 1)); }

}  // namespace

void BeginOnlineTable(UiContext& ws, std::string_view title, int inCount, int outCount) {
  OnlineTable& t = ws.online;
  t.onlineTitle = cut(title, kOnlineTitleLength);
  t.inCount = clampCount(inCount);
  t.outCount = clampCount(outCount);
  ClearCalcMessages(ws.messages);
  ws.errorMessagesEnabled = false;
}

void SetOnlineInput(UiContext& ws, int row, std::string_view label, std::string_view unit, std::string_view text) {
  if (row < 1 || row > kOnlineRows) return;
  OnlineTable& t = ws.online;
  t.inLabel[row] = cut(label, kOnlineTextLength);
  t.inUnit[row] = cut(unit, kOnlineTextLength);
  t.inText[row] = cut(text, kOnlineTextLength);
}

void SetOnlineOutput(UiContext& ws, int row, std::string_view label, std::string_view value, std::string_view unit) {
  if (row < 1 || row > kOnlineRows) return;
  OnlineTable& t = ws.online;
  t.outLabel[row] = cut(label, kOnlineTextLength);
  t.outValue[row] = cut(value, kOnlineTextLength);
  t.outUnit[row] = cut(unit, kOnlineTextLength);
}

int ShowOnlineTable(UiContext& ws, int focusRow, uint16_t helpContext) {
  OnlineTable& t = ws.online;
  t.currentRow = clampRow(t, focusRow);
  t.helpNumber = helpContext;

  OnlineFormRequest request;
  request.caption = std::string(kProgramTitle) + "    " + t.onlineTitle;
  request.table = t;
  request.messages.assign(ws.messages.entries.begin(), ws.messages.entries.begin() + ws.messages.count);
  request.focusRow = t.currentRow;
  request.helpContext = helpContext;
  request.help = ws.help;

  // Esc (nullopt): nothing taken over, the form stays where it was.
  OnlineFormResult result;
  result.how = OnlineClose::Escape;
  result.inText = t.inText;
  result.focusRow = t.currentRow;
  result.left = t.left;
  result.top = t.top;
  if (std::optional<OnlineFormResult> left = ws.ui.show(request)) result = std::move(*left);

  t.left = result.left;
  t.top = result.top;
  if (result.how != OnlineClose::Escape)
    for (int i = 1; i <= t.inCount; ++i) t.inText[i] = cut(result.inText[i], kOnlineTextLength);

  int row = clampRow(t, result.focusRow);
  switch (result.how) {
    case OnlineClose::Confirm:
      ws.abort = false;
      break;
    case OnlineClose::Up:
    case OnlineClose::Down: {
      const bool up = result.how == OnlineClose::Up;
      const int target = up ? row - 1 : row + 1;
      if (target >= 1 && target <= t.inCount) {
        row = target;
        t.lastKey = up ? OnlineKey::Up : OnlineKey::Down;
      }
      ws.abort = false;
      break;
    }
    case OnlineClose::Escape:
    case OnlineClose::Close:
      ws.abort = true;
      break;
  }
  t.currentRow = row;
  return row;
}

void EndOnlineTable(UiContext& ws) {
  ws.errorMessagesEnabled = true;
  ws.abort = false;
}

}  // namespace velk
