// Loading and saving the spring file. Loading is one function for every caller (menu
// commands, recent files, the file overview, batch jobs): read, load the materials, calculate.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "calcservice/context.h"

namespace velk {

// Resolves name as a file to be written (dialog when empty), then writes the spring.
// Sets the abort flag on refusal, cancel or I/O failure; the previous file survives a failure.
// On success the caller clears spring.modified.
void writeInputFile(CalcContext& ws, const std::string& name);

// Resolves name (a bare name is looked for in dataDir with fileExt; empty asks with an open
// dialog), reads it into the spring and ends with the calculation. A workbook (named .xlsx or
// starting with the zip signature) is read as the input file in column A of its first sheet. A
// file that cannot be opened, is no regular file, is a workbook that cannot be read or is no
// spring file (empty, too short, binary) is refused with a message and sets the abort flag; the
// spring, its name and folder are then untouched (a file chosen in the dialog names the spring
// only once it is read). One beyond the read limit is read up to it and noted.
// beforeCalculation, when given, runs between reading and calculating; setting the abort flag
// there skips the calculation. Returns the notes on lines that should hold a number but do not
// (code page 850); they are also appended to the calculation messages unless notesToMessages is
// false (batch mode prints them once on stderr instead).
std::vector<std::string> readInputFile(CalcContext& ws, const std::string& name,
                                       const std::function<void(CalcContext&)>& beforeCalculation = {},
                                       bool notesToMessages = true);

// Loads the material records the spring names, calculates, and appends what the material table
// of the spring's cross-section reported while loading (the calculation clears the list first).
void calculateLoadedSpring(CalcContext& ws);

}  // namespace velk
