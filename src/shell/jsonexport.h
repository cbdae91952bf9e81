// Results as JSON: every input and result of the spring, the selected material, the messages.
// The one machine-readable output; its keys are stable (see the README).
#pragma once

#include <iosfwd>
#include <string>

#include "session/session.h"

namespace velk {

// A real as JSON: 21 significant digits (enough for long double); a value that is not finite or
// lies outside the double range becomes a string such as "1e3000".
std::string jsonNumber(Real x);
// A code page 850 text as a JSON string (UTF-8, escaped).
std::string jsonString(const std::string& oemText);

void writeJson(const Session& ws, std::ostream& out);

}  // namespace velk
