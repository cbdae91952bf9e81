// Results as JSON: every input and result of the spring, the selected material, the messages.
// The one machine-readable output; its keys are stable (see the README).
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "session/session.h"

namespace velk {

// The version of the JSON's layout (its "schemaVersion"): raised whenever a key changes its
// meaning or unit or goes away; new keys keep it.
inline constexpr int kJsonSchemaVersion = 1;

// A real as a JSON number: 21 significant digits (enough for long double). None for a value that
// is not finite or lies outside the double range: no JSON reader would read it back.
std::optional<std::string> jsonNumber(Real x);
// A code page 850 text as a JSON string (UTF-8, escaped).
std::string jsonString(const std::string& oemText);

// Writes the JSON: schemaVersion, program, version, spring, material, units, messages, fatal.
// A fatal calculation writes its inputs and messages but no results. Returns false when a value
// was left out because no JSON number holds it (the results then count as fatal).
bool writeJson(const Session& ws, std::ostream& out);

}  // namespace velk
