// The input file (".vlk"): the persistent form of one spring with its change history,
// drawing information and linked documents. Line-oriented, CR LF, code page 850.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/spring.h"

namespace velk {

// The path a name resolves to: a name without "." becomes dataDir/name.ext.
std::string resolveInputName(const Spring& s, const std::string& name);

// The bytes of an input file for the current spring, and the parse of such bytes into it
// (no name resolution, no calculation). The parse survives any bytes. A line that should hold a
// number but does not reads as 0; with notes given, each such line is noted there (code page
// 850: "Zeile <n> keine Zahl: <text>").
std::string inputFileBytes(const Spring& s, const NumberSettings& num);
void parseInputFile(Spring& s, const NumberSettings& num, std::string_view bytes,
                    std::vector<std::string>* notes = nullptr);

// Lines every spring file has: the header, the texts and the fields up to rbe.
constexpr std::size_t kMandatorySpringLines = 26;

// Why bytes are no spring file ("leer", "binär" in code page 850, "zu kurz"); empty when they may be one.
std::string notSpringFileReason(std::string_view bytes);

// Stricter, for the column of a workbook, which may hold any table: besides the above, lines 12
// to 22 (b to forme) must each hold a number. "Zeile <n> keine Zahl" when one does not.
inline constexpr std::size_t kFirstMandatoryNumberLine = 12;
inline constexpr std::size_t kLastMandatoryNumberLine = 22;
std::string notSpringWorkbookReason(std::string_view bytes);

// text with every control character (below 0x20, and 0x7F) written as "\xHH", for messages
// that show a line of a file.
std::string escapeControls(std::string_view text);

// Largest input file read; anything beyond is ignored (a real file is a few kilobytes).
constexpr std::size_t kMaxInputFileBytes = 16u << 20;

}  // namespace velk
