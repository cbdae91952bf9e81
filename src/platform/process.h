// Starting external programs (text program, browser, plot program, document programs) with an
// argument vector: configured command lines are split as a shell splits them, never run by one.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velk {

// Splits a configured command line into words the way a POSIX shell does, without any
// expansion: blanks, tabs and line ends separate words; '...' is literal; "..." is literal
// except that a backslash escapes $ ` " \ and a line end; a backslash outside quotes escapes
// the next character. An unterminated quote runs to the end of the line. Lines written for
// Windows (the first word starts with a drive letter such as "C:\" or names a .exe/.com/.bat/
// .cmd file) keep their backslashes: only double quotes group words there.
std::vector<std::string> splitCommandLine(std::string_view line);

// True for a program name that only makes sense on Windows and may come from an old
// configuration or input file: a drive letter, a backslash, a .exe/.com/.bat/.cmd/.pif name,
// or one of the Windows accessories ("notepad", "write", "wordpad", "iexplore", "explorer").
bool isWindowsProgramName(std::string_view program);

// The full path of program: a name containing "/" is taken as it is, any other name is looked
// up in PATH. Empty when there is no such executable file.
std::string findProgram(std::string_view program);

// True when argv starts the desktop's opener: argv[0] is the bare name "xdg-open", which the
// start looks up in PATH, and no relative PATH entry ("", ".", "bin") is where it would be found.
// "./xdg-open", "/any/folder/xdg-open" or "sub/xdg-open" are some other program of that name.
bool isDesktopOpener(const std::vector<std::string>& argv);

// What to start to open file with a configured command line.
struct ProgramCommand {
  enum class Status {
    Ready,     // argv is set: the configured words, then the file
    Empty,     // the command line holds no words
    NotFound,  // program (the first word) is not an executable on this system
  };
  Status status = Status::Empty;
  std::string program;            // the first word as configured
  std::vector<std::string> argv;  // what to start
  bool fallback = false;          // a Windows program that is missing here: argv opens file with xdg-open
};
// The configured words followed by file. A Windows program name that is not found here
// opens the file with "xdg-open" instead (the other configured words are dropped).
ProgramCommand commandForFile(std::string_view commandLine, const std::string& file);

// Starts processes without waiting for them. Children that have ended are reaped at the next
// start (and when the launcher is destroyed), so none stays a zombie for long.
struct ProgramLauncher {
  ProgramLauncher() = default;
  ProgramLauncher(const ProgramLauncher&) = delete;
  ProgramLauncher& operator=(const ProgramLauncher&) = delete;
  ~ProgramLauncher();

  // Test seam: when set, it receives every argument vector instead of a process being started;
  // its result is the errno the start reports (0 = started).
  std::function<int(const std::vector<std::string>& argv)> hook;
  std::vector<int> children;  // process ids started and not yet reaped
};

// Starts argv[0] (looked up in PATH when it has no "/") with argv and the current environment,
// in a session of its own so that it outlives a terminal's interrupt. hidden: standard input,
// output and error are /dev/null. Returns 0 when the program runs, otherwise the errno.
int StartProgram(ProgramLauncher& launcher, const std::vector<std::string>& argv, bool hidden = false);

// Keeps up to 8 MiB of freed heap memory in the process instead of handing it back at once. The
// compressor behind every workbook part allocates and frees some 300 KB each time; returning
// that to the system and faulting it in again costs several times the workbook itself. Called
// once by the program entry (process-wide, like any allocator setting).
void keepFreedHeapForReuse();

// The start-error codes of the program's message tables: 0 out of memory, 2 file not found,
// 5 access denied, 11 not an executable, 31 any other failure.
int startErrorCode(int err);
// "out of memory !", "file not found" or "Exec error " + code, for an errno from StartProgram.
std::string startErrorText(int err);

}  // namespace velk
