// The three input forms of the edit menu: calculation settings (TForm_velkconf), spring ends
// (TForm_federenden) and application (TEingabeEinsatzfall): filling their requests from the spring
// and storing what the user left in them. The requests themselves are in ui/inputforms.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/numfmt.h"
#include "data/spring.h"
#include "ui/inputforms.h"

namespace velk {

// What every form needs from the program besides the spring: the application title for the
// caption, the help level that decides about tool tips, and the tool-tip text of a help number
// (the help text lookup; may be empty, then the tool tips carry their numbers only).
struct InputFormContext {
  std::string appTitle = "VELK";
  int helpLevel = 1;
  std::function<std::string(uint16_t helpNumber)> hint;
};

// What applying the settings changed; a changed cross-section makes the caller choose a
// material of the new cross-section and recalculate.
struct CalcSettingsOutcome {
  bool crossSectionChanged = false;
  bool unitsChanged = false;
};

CalcSettingsRequest buildCalcSettingsRequest(const Spring& s, const NumberSettings& num, const InputFormContext& ctx,
                                             std::function<void()> showHelpImages = {});

// Stores crossSection (item + 1) and units (item). Indices outside the lists keep the stored value.
CalcSettingsOutcome applyCalcSettings(Spring& s, NumberSettings& num, const CalcSettingsResult& r);

// The switch callback keeps a reference to num: num must outlive the request (it is the
// program-wide setting the rest of the program formats with).
SpringEndsRequest buildSpringEndsRequest(const Spring& s, NumberSettings& num, const InputFormContext& ctx);

// Stores formi/forme (item + 1), the lengths and radii of bent ends (0 for clamped ends, whatever
// the fields show) and kugelstrahlen ('J'/'N'). num is the unit system current when the form
// closed. A text that is not a number stores 0; a text equal to what the form would show for
// the stored value keeps the stored value exactly.
void applySpringEnds(Spring& s, const NumberSettings& num, const SpringEndsResult& r);

ApplicationRequest buildApplicationRequest(const Spring& s, const NumberSettings& num, const InputFormContext& ctx);

// Stores statdyn (item + 1), freq (parsed even while the field is disabled, no unit conversion)
// and theta (converted from °F when imperial). Texts that are not numbers store 0; a text equal
// to what the form would show for the stored value keeps the stored value exactly.
void applyApplication(Spring& s, const NumberSettings& num, const ApplicationResult& r);

}  // namespace velk
