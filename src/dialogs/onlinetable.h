// The online input table: the exchange area between a design mode and the online input form,
// and the protocol around the form (BeginOnlineTable, ShowOnlineTable, EndOnlineTable).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/uiservices.h"

namespace velk {

struct UiContext;

constexpr int kOnlineRows = 12;
constexpr std::size_t kOnlineTextLength = 9;    // caption, unit and value texts
constexpr std::size_t kOnlineTitleLength = 60;

enum class OnlineKey { None, Up, Down };

// The exchange area (one per session). Rows are 1-based, index 0 is unused; texts are code
// page 850 and never longer than kOnlineTextLength once stored through the functions below.
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
  std::string caption;  // program title + four blanks + onlineTitle
  OnlineTable table;    // a copy of the exchange area at the time of showing
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
