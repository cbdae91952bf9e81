// Runs a program from a test with an argument vector (posix_spawnp, no shell) and collects its output.
// Used to compare our files against independent readers such as python3-dbfread.
#pragma once

#include <string>
#include <vector>

namespace velk::test {

// Runs argv[0] (looked up in PATH) with argv, feeds stdinText to its standard input and, when
// stdoutText is given, collects its standard output there; standard error passes through.
// Returns the exit code, 128 + the signal number when it was killed, or -1 when it could not start.
int runProcess(const std::vector<std::string>& argv, std::string* stdoutText = nullptr,
               const std::string& stdinText = "");

// A python3 interpreter that can import every module named (e.g. {"dbf", "dbfread"}): the system's
// /usr/bin/python3 first (where Debian installs python3-* modules), then python3 from PATH.
// Empty when none can.
std::string pythonWithModules(const std::vector<std::string>& modules);

}  // namespace velk::test
