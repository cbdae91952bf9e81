// Runs a program from a test with an argument vector (posix_spawnp, no shell) and collects its output.
// stdin and stdout are pipes served by one poll loop, so large outputs cannot deadlock the child.
#include "support/run_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace velk::test {

int runProcess(const std::vector<std::string>& argv, std::string* stdoutText, const std::string& stdinText) {
  if (argv.empty()) return -1;
  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0) return -1;
  if (pipe2(out, O_CLOEXEC) != 0) {
    close(in[0]);
    close(in[1]);
    return -1;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);

  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  if (rc != 0) {
    close(in[1]);
    close(out[0]);
    return -1;
  }

  // A child that exits without reading its input must not kill us with SIGPIPE.
  struct sigaction ignore {
  }, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &previous);

  std::size_t written = 0;
  int inFd = in[1];
  if (stdinText.empty()) {
    close(inFd);
    inFd = -1;
  }
  int outFd = out[0];
  char buf[65536];
  while (inFd >= 0 || outFd >= 0) {
    pollfd fds[2];
    int n = 0;
    if (inFd >= 0) fds[n++] = {inFd, POLLOUT, 0};
    if (outFd >= 0) fds[n++] = {outFd, POLLIN, 0};
    if (poll(fds, static_cast<nfds_t>(n), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int k = 0; k < n; ++k) {
      if (fds[k].revents == 0) continue;
      if (fds[k].fd == inFd) {
        ssize_t w = write(inFd, stdinText.data() + written, stdinText.size() - written);
        if (w > 0) written += static_cast<std::size_t>(w);
        if ((w < 0 && errno != EINTR && errno != EAGAIN) || written == stdinText.size()) {
          close(inFd);
          inFd = -1;
        }
      } else if (fds[k].fd == outFd) {
        ssize_t r = read(outFd, buf, sizeof buf);
        if (r > 0) {
          if (stdoutText) stdoutText->append(buf, static_cast<std::size_t>(r));
        } else if (r == 0 || (errno != EINTR && errno != EAGAIN)) {
          close(outFd);
          outFd = -1;
        }
      }
    }
  }
  if (inFd >= 0) close(inFd);
  if (outFd >= 0) close(outFd);
  sigaction(SIGPIPE, &previous, nullptr);

  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

std::string pythonWithModules(const std::vector<std::string>& modules) {
  std::string imports = "import sys";
  for (const std::string& m : modules) imports += "; import " + m;
  for (const char* candidate : {"/usr/bin/python3", "python3"}) {
    if (runProcess({candidate, "-c", imports}) == 0) return candidate;
  }
  return {};
}

}  // namespace velk::test
