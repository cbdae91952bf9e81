// The calculation message list.
#include "data/messages.h"

namespace velk {

void AddCalcMessage(CalcMessages& list, std::string_view text) {
  const std::string_view head = text.substr(0, std::min(text.size(), kCalcMessageLength));
  for (int i = 0; i < list.count; ++i)
    if (list.entries[i] == head) return;
  if (list.count >= kMaxCalcMessages) return;
  list.entries[list.count++] = std::string(head);
}

void ClearCalcMessages(CalcMessages& list) {
  list.count = 0;
  list.fatal = false;
}

std::string CalcMessageAt(const CalcMessages& list, int i) {
  if (i < 1 || i > list.count || i > kMaxCalcMessages) return {};
  return list.entries[static_cast<std::size_t>(i - 1)];
}

}  // namespace velk
