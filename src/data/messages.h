// The calculation message list: up to 11 findings of at most 36 characters, with a fatal flag.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace velk {

constexpr int kMaxCalcMessages = 11;
constexpr std::size_t kCalcMessageLength = 36;

struct CalcMessages {
  std::array<std::string, kMaxCalcMessages> entries{};
  int count = 0;
  bool fatal = false;
};

// Adds a message unless its first 36 characters equal an entry; a full list drops it.
void AddCalcMessage(CalcMessages& list, std::string_view text);
void ClearCalcMessages(CalcMessages& list);
// Message i (1-based); empty outside the list.
std::string CalcMessageAt(const CalcMessages& list, int i);

}  // namespace velk
