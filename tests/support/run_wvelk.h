// Runs the wvelk program built with the tests as a whole process, the way a script calls it.
#pragma once

#include <string>
#include <vector>

namespace velk::test {

struct ProcessResult {
  int exitCode = -1;
  std::string out, err;
};

// Runs wvelk with args in folder cwd, standard output and error collected (in files beside cwd,
// removed afterwards). No display: DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are removed from
// the environment, so the runs are the command line's whatever machine runs the tests; env adds
// entries ("NAME=value") in front of the inherited ones. The exit code is 128 + the signal number
// when wvelk was killed, -1 when it could not start.
ProcessResult runWvelk(const std::vector<std::string>& args, const std::string& cwd, std::vector<std::string> env = {});
// The same with another copy of the program (program is its path).
ProcessResult runWvelkAt(const std::string& program, const std::vector<std::string>& args, const std::string& cwd,
                         std::vector<std::string> env = {});

}  // namespace velk::test
