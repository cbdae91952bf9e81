// The input file (".vlk"): the persistent form of one spring with its change history,
// drawing information and linked documents. Line-oriented, CR LF, code page 850.
#pragma once

#include <string>
#include <string_view>

#include "data/spring.h"

namespace velk {

// The path a name resolves to: a name without "." becomes dataDir/name.ext.
std::string resolveInputName(const Spring& s, const std::string& name);

// The bytes of an input file for the current spring, and the parse of such bytes into it
// (no name resolution, no calculation). The parse survives any bytes.
std::string inputFileBytes(const Spring& s, const NumberSettings& num);
void parseInputFile(Spring& s, const NumberSettings& num, std::string_view bytes);

// Largest input file read; anything beyond is ignored (a real file is a few kilobytes).
constexpr std::size_t kMaxInputFileBytes = 16u << 20;

}  // namespace velk
