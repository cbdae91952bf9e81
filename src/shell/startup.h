// Program start: the start-up sequence, the command line and the batch jobs.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "dialogs/uiservices.h"
#include "session/session.h"

namespace velk {

// What the start asks of the program entry.
struct StartOutcome {
  enum class Kind { Exit, OpenWindow, TextReport, CadOutput, JsonOutput, SvgOutput, PdfOutput, XlsxOutput };
  Kind kind = Kind::Exit;
  int exitCode = 0;
  int cadDevice = 0;   // i of /CADi:j
  int cadView = 0;     // j of /CADi:j, /SVG:j or /PDF:j
  bool noGui = false;  // "/NOGUI" anywhere on the command line
};

// The 23 lines of the command-line help text, each cut to 65 characters.
std::vector<std::string> commandLineHelpText(const std::string& fileExt);

// The bare name of a path: without folder and extension.
std::string bareName(const std::string& path);

// i and j of "/CADi:j": the fifth character and the text from the seventh on; not a number gives 0.
void parseCadArgument(const std::string& arg, int& device, int& view);

// j of "/SVG:j" (or "/SVGj"); not a number gives 0.
void parseSvgArgument(const std::string& arg, int& view);

// Start-up sequence without the window: configuration, recent files, command line.
// args excludes the program name. For the batch jobs the input file has been read (and
// fileName reduced to its bare name) when this returns.
StartOutcome runStartup(Session& ws, const std::vector<std::string>& args);

// The command-line procedure alone (configuration already read).
StartOutcome runCommandLine(Session& ws, const std::vector<std::string>& args);

// The /I batch job: the standard report on device 9 (tab-separated, Windows code page) into
// the bare name + ".txt" in the current folder. Returns the exit code: 0 written, 2 when the
// calculation is fatal (no file; the messages go to err), when the output would overwrite the
// input file, or when the report could not be written.
int runTextReportJob(Session& ws, const std::string& inputArgument, std::ostream& err);

// The /CADi:j batch job: view j (1..6) or drawing j (7 front, 8 side) on device i, the file named
// after the bare name. Returns 0 drawn (or j outside 1..8: nothing drawn, said on err), 2 when the
// calculation is fatal, the output would overwrite the input, or the drawing failed.
int runCadJob(Session& ws, const std::string& inputArgument, int device, int view, std::ostream& err);

// The /SVG:j batch job: view or drawing j on the screen's display list, replayed into the bare
// name + ".svg". Exit codes as runCadJob.
int runSvgJob(Session& ws, const std::string& inputArgument, int view, std::ostream& err);

// The /PDF:j batch job: view or drawing j as it would be printed (the print layout with the
// preset of a macro print, the printer's colour rules) into the bare name + ".pdf", written by
// writePdf (the window layer's PDF writer; false when the file could not be written). Exit codes
// as runCadJob.
using PdfWriterFn = std::function<bool(const PrintDrawingRequest& request, const std::string& path)>;
int runPdfJob(Session& ws, const std::string& inputArgument, int view, const PdfWriterFn& writePdf,
              std::ostream& err);

// Prints the calculation messages to err (UTF-8), one "wvelk: " line each.
void printCalcMessages(const Session& ws, std::ostream& err);

// The /JSON batch job: writes the bare name + ".json" into the current folder. Returns the exit
// code: 0 written, 2 when the calculation is fatal (the file is still written) or the file could
// not be written. Messages go to err (UTF-8).
int runJsonJob(Session& ws, const std::string& inputArgument, std::ostream& err);

// The user-directory prompt; false when the process must end.
bool askUserDirectory(Session& ws);

}  // namespace velk
