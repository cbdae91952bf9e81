// Program start: the start-up sequence, the command line and the batch jobs.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "session/session.h"
#include "ui/uiservices.h"

namespace velk {

// What the start asks of the program entry.
struct StartOutcome {
  enum class Kind { Exit, OpenWindow, BatchJobs };
  Kind kind = Kind::Exit;
  int exitCode = 0;
  std::vector<std::string> jobs;   // BatchJobs: the job switches as given, in their order
  std::string input;               // BatchJobs: the spring file as given
  bool noGui = false;              // "/NOGUI" anywhere on the command line
  std::vector<std::string> notes;  // UTF-8 lines for stderr (unknown switches, input-file notes)
};

// The command line taken apart. Every argument is one of: "?" (first) or "/?" (help), "-h" or
// "--help" (help on stdout), "--version", a switch matched as a whole word without regard to
// letter case (/I, /JSON, /XLSX, /STEP, /CADi:j, /SVG:j, /PDF:j, /SET:name=value, /NOGUI, /E,
// /G), or a spring file. An argument that names an existing file, or that holds a second "/"
// (an absolute path such as /pdfs/out.pdf), is always a file. Any other argument starting with
// "/" or "-" is an unknown switch.
struct CommandLine {
  std::vector<std::string> files;                             // the spring files, in order
  std::vector<std::string> jobs;                              // in the order given
  std::vector<std::pair<std::string, std::string>> settings;  // /SET:name=value, in order
  bool noGui = false;
  bool help = false;                // "?" first, "/?", "-h" or "--help"
  bool helpOnStdout = false;        // "-h" or "--help": the help text goes to stdout even with a display
  bool version = false;             // "--version"
  bool windowSwitch = false;        // "/E" or "/G": the windowed start
  std::vector<std::string> notes;   // UTF-8 lines for stderr: stray arguments, malformed /SET
  std::vector<std::string> errors;  // UTF-8 lines for stderr: unknown switches (the run ends with 1)
};
CommandLine parseCommandLine(const std::vector<std::string>& args);

// The same command line for one of its spring files (the k-th): a batch run reads each file
// into a session of its own with every job and setting.
CommandLine commandLineForFile(const CommandLine& cl, std::size_t k);

// True when the command line runs without the window: /NOGUI or at least one job switch
// (unless /E or /G asks for the window). Help, version and unknown switches are never batch.
bool isBatchCommandLine(const CommandLine& cl);

// "wvelk (VELK) " + version, the answer to --version.
std::string versionText(const std::string& version);

// What a batch job may need from the layers above the core (the PDF writer lives with the window).
struct BatchServices {
  std::function<int(Session& ws, const std::string& inputArgument, int view, std::ostream& err)> pdfJob;
};

// Runs every job of out.jobs in order on the loaded spring; the exit code is the highest of the
// jobs' codes.
int runBatchJobs(Session& ws, const std::string& inputArgument, const StartOutcome& out, const BatchServices& services,
                 std::ostream& err);

// The lines of the command-line help text, each cut to 65 characters.
std::vector<std::string> commandLineHelpText(const std::string& fileExt);

// The bare name of a path: without folder and extension.
std::string bareName(const std::string& path);

// i and j of "/CADi:j": the fifth character and the text from the seventh on; not a number (or
// one beyond +-1000000) gives 0, which no device and no view has.
void parseCadArgument(const std::string& arg, int& device, int& view);

// j of "/SVG:j" or "/PDF:j"; not a number (or one beyond +-1000000) gives 0.
void parseSvgArgument(const std::string& arg, int& view);

// Start-up sequence without the window: configuration, recent files, command line.
// args excludes the program name. For the batch jobs the input file has been read, the
// /SET values applied before the calculation (and fileName reduced to its bare name) when this
// returns. Unknown switches and stray arguments are in the outcome's notes.
StartOutcome runStartup(Session& ws, const std::vector<std::string>& args);
StartOutcome runStartup(Session& ws, const CommandLine& cl);

// The command-line procedure alone (configuration already read). A batch command line reads its
// first spring file (commandLineForFile picks another); unknown switches end it with 1.
StartOutcome runCommandLine(Session& ws, const std::vector<std::string>& args);
StartOutcome runCommandLine(Session& ws, const CommandLine& cl);

// Refuses a batch output (said on err, naming the file): one whose permission bits forbid
// writing (also for root, who would not be stopped), or a symbolic link owned by another user
// or lying in a folder others can write. True when refused.
bool refuseBatchOutput(const std::string& output, std::ostream& err);

// What a batch job that writes one file from a calculated spring checks first: the output is not
// refused (refuseBatchOutput), it is not the input file itself, and the calculation is not fatal
// (then its messages and "... was not written" go to err). True when the job must end with 2.
bool refuseJobOutput(const Session& ws, const std::string& inputArgument, const std::string& output, std::ostream& err);

// The /I batch job: the standard report on device 9 (tab-separated, Windows code page) into
// the bare name + ".txt" in the current folder. Returns the exit code: 0 written, 2 when the
// calculation is fatal (no file; the messages go to err), when the output would overwrite the
// input file, or when the report could not be written.
int runTextReportJob(Session& ws, const std::string& inputArgument, std::ostream& err);

// The /CADi:j batch job: view j (1..6) or drawing j (7 front, 8 side, 9 production drawing) on
// device number i (DeviceCodeFromNumber), the file named after the bare name. Returns 0 drawn, 2 when nothing was
// drawn: j outside 1..9, the calculation is fatal, the output would overwrite the input, the drawing failed or the plot
// program did not start (each said on err).
int runCadJob(Session& ws, const std::string& inputArgument, int number, int view, std::ostream& err);

// The /SVG:j batch job: view or drawing j on the screen's display list, replayed into the bare
// name + ".svg". Exit codes as runCadJob.
int runSvgJob(Session& ws, const std::string& inputArgument, int view, std::ostream& err);

// The /PDF:j batch job: view or drawing j as it would be printed (the print layout with the
// preset of a macro print, the printer's colour rules) into the bare name + ".pdf", written by
// writePdf (the window layer's PDF writer: 0 when written, the errno when the file could not be
// written, a negative number when the page could not be painted). Exit codes as runCadJob.
using PdfWriterFn = std::function<int(const PrintDrawingRequest& request, const std::string& path)>;
int runPdfJob(Session& ws, const std::string& inputArgument, int view, const PdfWriterFn& writePdf, std::ostream& err);

// Says on err that output was not written after the errno e: the message's own text, the file
// and the reason ("wvelk: Diskette/Platte voll: s.json: No space left on device").
void printWriteFailure(const std::string& output, int e, std::ostream& err);

// Prints the calculation messages to err (UTF-8), one "wvelk: " line each.
void printCalcMessages(const Session& ws, std::ostream& err);

// The /JSON batch job: writes the bare name + ".json" into the current folder. Returns the exit
// code: 0 written, 2 when the calculation is fatal (the file is still written) or the file could
// not be written. Messages go to err (UTF-8).
int runJsonJob(Session& ws, const std::string& inputArgument, std::ostream& err);

// The user-directory prompt; false when the process must end.
bool askUserDirectory(Session& ws);

}  // namespace velk
