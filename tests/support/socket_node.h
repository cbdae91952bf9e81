// A listening-socket node for tests of outputs that must never be replaced by a file.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace velk::test {

// Binds a Unix socket named name inside folder (bound from within the folder, so a long temporary
// path does not overflow sun_path); the node stays after its descriptor is closed.
inline bool bindSocket(const std::string& folder, const std::string& name) {
  const int cwd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, name.c_str(), sizeof addr.sun_path - 1);
  const bool ok = cwd >= 0 && fd >= 0 && ::chdir(folder.c_str()) == 0 &&
                  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  if (cwd >= 0) {
    EXPECT_EQ(::fchdir(cwd), 0);
    ::close(cwd);
  }
  if (fd >= 0) ::close(fd);
  return ok;
}

}  // namespace velk::test
