// The program's identity: titles, version and the short name its own files are named after.
// Shared by every layer (captions, reports, file headers, the JSON output).
#pragma once

namespace velk {

inline constexpr const char* kAppTitle = "VELK";
inline constexpr const char* kProgramTitle = "VELK - Spiralfedern";
inline constexpr const char* kVersion = "3.4";
inline constexpr const char* kShortName = "velk";

}  // namespace velk
