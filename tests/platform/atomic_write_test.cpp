// Replacing a file through a temporary copy: the permissions a new or a replaced file ends with,
// and nothing left beside it.
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/files.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

mode_t modeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

std::size_t entries(const std::string& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

// A new file gets what any file created now gets (umask, default ACL): compared with a file
// created beside it, under several umasks. The umask is restored before any check can stop the test.
TEST(AtomicWrite, NewFileGetsTheModeOfAnyNewFile) {
  TempDir dir;
  for (mode_t mask : {022, 027, 077, 0}) {
    const std::string name = dir.file("neu" + std::to_string(mask) + ".txt");
    const std::string reference = dir.file("ref" + std::to_string(mask));
    const mode_t old = ::umask(mask);
    const int written = atomicWriteFile(name, "abc");
    const int fd = ::open(reference.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    ::umask(old);
    ASSERT_EQ(written, 0);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_EQ(modeOf(name), modeOf(reference)) << std::oct << mask;
    EXPECT_EQ(readFile(name), "abc");
  }
  EXPECT_EQ(entries(dir.path()), 8u) << "no temporary file left";
}

TEST(AtomicWrite, ReplacedFileKeepsItsMode) {
  TempDir dir;
  const std::string name = dir.file("alt.txt");
  for (mode_t mode : {0600, 0640, 0755, 0200}) {
    writeFile(name, "old");
    ASSERT_EQ(::chmod(name.c_str(), mode), 0);
    ASSERT_EQ(atomicWriteFile(name, "new", {}, false), 0);
    EXPECT_EQ(modeOf(name), mode) << std::oct << mode;
    ::chmod(name.c_str(), 0600);
    EXPECT_EQ(readFile(name), "new");
  }
  EXPECT_EQ(entries(dir.path()), 1u) << "no temporary file left";
}

// Permission bits that forbid writing keep the file as it is, also for root, whom the rename
// would not stop.
TEST(AtomicWrite, WriteProtectedFileIsNotReplaced) {
  TempDir dir;
  const std::string name = dir.file("alt.txt");
  for (mode_t mode : {0444, 0400, 0000}) {
    writeFile(name, "old");
    ASSERT_EQ(::chmod(name.c_str(), mode), 0);
    EXPECT_EQ(atomicWriteFile(name, "new", {}, false), EACCES) << std::oct << mode;
    // The same for a file a library writes by name (workbooks, 3D models).
    bool filled = false;
    EXPECT_EQ(atomicWriteFileWith(name, [&filled](const std::string&) { return filled = true, 0; }, {}, false), EACCES);
    EXPECT_FALSE(filled);
    EXPECT_EQ(modeOf(name), mode);
    ::chmod(name.c_str(), 0600);
    EXPECT_EQ(readFile(name), "old");
    ::unlink(name.c_str());
  }
  EXPECT_EQ(entries(dir.path()), 0u) << "no temporary file left";
}

TEST(AtomicWrite, FailedWriteLeavesTheOldFileAndNoCopy) {
  TempDir dir;
  const std::string name = dir.file("alt.txt");
  writeFile(name, "old");
  IoHooks hooks;
  hooks.writeFault = [](std::string_view) { return ENOSPC; };
  EXPECT_EQ(atomicWriteFile(name, "new", hooks), ENOSPC);
  EXPECT_EQ(readFile(name), "old");
  EXPECT_EQ(atomicWriteFile(dir.file("no/such/folder.txt"), "x"), ENOENT);
  EXPECT_EQ(entries(dir.path()), 1u);
}

}  // namespace
}  // namespace velk::test
