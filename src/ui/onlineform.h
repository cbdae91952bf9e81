// The online input form as the window sees it: the exchange area between a design mode and the
// form, the form's request and result, and its geometry. The protocol around the form is in
// dialogs/onlinetable.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/uiservices.h"

namespace velk {

constexpr int kOnlineRows = 12;
constexpr std::size_t kOnlineTextLength = 9;  // caption, unit and value texts
constexpr std::size_t kOnlineTitleLength = 60;

enum class OnlineKey { None, Up, Down };

// The exchange area (one per session). Rows are 1-based, index 0 is unused; texts are code
// page 850 and never longer than kOnlineTextLength once stored through the protocol
// (dialogs/onlinetable.h).
struct OnlineTable {
  std::string onlineTitle = "Online Input";
  int inCount = kOnlineRows;
  int outCount = kOnlineRows;
  std::array<std::string, kOnlineRows + 1> inLabel{}, inUnit{}, inText{};
  std::array<std::string, kOnlineRows + 1> outLabel{}, outValue{}, outUnit{};
  int currentRow = 1;       // input row with the focus
  uint16_t helpNumber = 0;  // help topic of the form (6000, 6100, 6200)
  // Kept between showings for the whole run.
  int left = 12, top = 26;
  OnlineKey lastKey = OnlineKey::None;
};

// How the user left the form.
enum class OnlineClose {
  Confirm,  // Enter or "OK"
  Up,       // arrow up in an edit field
  Down,     // arrow down in an edit field
  Escape,   // Esc: the edit texts are not taken over
  Close,    // "&Schließen" or closing the window
};

// What the form shows. Everything is prepared by ShowOnlineTable; the form only lays it out.
struct OnlineFormResult;
struct OnlineFormRequest {
  using Result = OnlineFormResult;
  std::string caption;                // program title + four blanks + onlineTitle
  OnlineTable table;                  // a copy of the exchange area at the time of showing
  std::vector<std::string> messages;  // the calculation message list
  int focusRow = 1;
  uint16_t helpContext = 0;
  // For the form's help buttons, hint texts and message explanations; never owned.
  HelpProvider* help = nullptr;  // the help buttons and tool tips
};

// What the form hands back when it is left any way but Esc (Esc: nullopt, or how = Escape).
struct OnlineFormResult {
  OnlineClose how = OnlineClose::Escape;
  std::array<std::string, kOnlineRows + 1> inText{};  // the edit fields' texts, code page 850, uncut
  int focusRow = 1;                                   // input row that had the focus when closing
  int left = 12, top = 26;                            // window position when closing
};

// Form geometry (pixels before scaling): height of an input or output group with n rows and
// the top of row i inside its group.
constexpr int OnlineGroupHeight(int rows) { return 27 * rows + 30; }
constexpr int OnlineRowTop(int row) { return 27 * row + 2; }
constexpr int kOnlineMessageGroupHeight = 327;
// Help numbers of the tool tips: input label and unit of row i, the three output items of row i.
constexpr uint16_t OnlineInputHint(uint16_t helpContext, int row) {
  return static_cast<uint16_t>(helpContext + 5 * (row - 1));
}
constexpr uint16_t OnlineOutputHint(uint16_t helpContext, int row) {
  return static_cast<uint16_t>(helpContext + 2 * row + (helpContext % 100 == 0 ? 68 : 73));
}

}  // namespace velk
