// wvelk as a whole process for the command-line tests.
#include "support/run_wvelk.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <string_view>
#include <utility>

#include "support/fixture.h"

extern char** environ;

namespace velk::test {

ProcessResult runWvelk(const std::vector<std::string>& args, const std::string& cwd, std::vector<std::string> env) {
  return runWvelkAt(WVELK_PATH, args, cwd, std::move(env));
}

ProcessResult runWvelkAt(const std::string& program, const std::vector<std::string>& args, const std::string& cwd,
                         std::vector<std::string> env) {
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> cargv;
  for (auto& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  for (char** e = environ; *e; ++e) {
    const std::string_view v(*e);
    if (v.starts_with("DISPLAY=") || v.starts_with("WAYLAND_DISPLAY=") || v.starts_with("QT_QPA_PLATFORM=")) continue;
    env.emplace_back(*e);
  }
  std::vector<char*> cenv;
  for (auto& e : env) cenv.push_back(e.data());
  cenv.push_back(nullptr);

  const std::string outFile = cwd + ".stdout", errFile = cwd + ".stderr";
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addchdir_np(&fa, cwd.c_str());
  posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&fa, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  ProcessResult r;
  if (posix_spawn(&pid, argv[0].c_str(), &fa, nullptr, cargv.data(), cenv.data()) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&fa);
  r.out = readFile(outFile);
  r.err = readFile(errFile);
  std::remove(outFile.c_str());
  std::remove(errFile.c_str());
  return r;
}

}  // namespace velk::test
