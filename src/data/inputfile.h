// The input file (".vlk"): the persistent form of one spring with its change history,
// drawing information and linked documents. Line-oriented, CR LF, code page 850.
#pragma once

#include <string>
#include <string_view>

#include "core/workspace.h"

namespace velk {

// Resolves name as a file to be written (dialog when empty), then writes the spring.
// Sets the abort flag on refusal, cancel or I/O failure; the previous file survives a failure.
// On success the caller clears spring.modified.
void writeInputFile(Workspace& ws, const std::string& name);

// Resolves name (a bare name is looked for in dataDir with fileExt; empty asks with an open
// dialog), reads it into the spring and ends with the calculation. A file that cannot be
// opened sets the abort flag.
void readInputFile(Workspace& ws, const std::string& name);

// Loads the material records the spring names, calculates, and appends what the material table
// of the spring's cross-section reported while loading (the calculation clears the list first).
void calculateLoadedSpring(Workspace& ws);

// The path a name resolves to: a name without "." becomes dataDir/name.ext.
std::string resolveInputName(const Spring& s, const std::string& name);

// The bytes of an input file for the current spring, and the parse of such bytes into it
// (no name resolution, no calculation). The parse survives any bytes.
std::string inputFileBytes(const Workspace& ws);
void parseInputFile(Workspace& ws, std::string_view bytes);

// Largest input file read; anything beyond is ignored (a real file is a few kilobytes).
constexpr std::size_t kMaxInputFileBytes = 16u << 20;

}  // namespace velk
