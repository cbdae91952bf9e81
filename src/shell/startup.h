// Program start: the start-up sequence, the command line and the batch jobs.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/workspace.h"

namespace velk {

// What the start asks of the program entry.
struct StartOutcome {
  enum class Kind { Exit, OpenWindow, TextReport, CadOutput, JsonOutput };
  Kind kind = Kind::Exit;
  int exitCode = 0;
  int cadDevice = 0;   // i of /CADi:j
  int cadView = 0;     // j of /CADi:j
  bool noGui = false;  // "/NOGUI" anywhere on the command line
};

// The 22 lines of the command-line help text, each cut to 65 characters.
std::vector<std::string> commandLineHelpText(const std::string& fileExt);

// The bare name of a path: without folder and extension.
std::string bareName(const std::string& path);

// i and j of "/CADi:j": the fifth character and the text from the seventh on; not a number gives 0.
void parseCadArgument(const std::string& arg, int& device, int& view);

// Start-up sequence without the window: configuration, recent files, command line.
// args excludes the program name. For the batch jobs the input file has been read (and
// fileName reduced to its bare name) when this returns.
StartOutcome runStartup(Workspace& ws, const std::vector<std::string>& args);

// The command-line procedure alone (configuration already read).
StartOutcome runCommandLine(Workspace& ws, const std::vector<std::string>& args);

// Prints the calculation messages to err (UTF-8), one "wvelk: " line each.
void printCalcMessages(const Workspace& ws, std::ostream& err);

// The /JSON batch job: writes the bare name + ".json" into the current folder. Returns the exit
// code: 0 written, 2 when the calculation is fatal (the file is still written) or the file could
// not be written. Messages go to err (UTF-8).
int runJsonJob(Workspace& ws, const std::string& inputArgument, std::ostream& err);

// The user-directory prompt; false when the process must end.
bool askUserDirectory(Workspace& ws);

}  // namespace velk
