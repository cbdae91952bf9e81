// Replacing a file through a temporary copy: the permissions a new or a replaced file ends with,
// and nothing left beside it.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/fixture.h"
#include "support/socket_node.h"

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
    EXPECT_EQ(atomicWriteFileWith(
                  name, [&filled](const std::string&) { return filled = true, 0; }, {}, false),
              EACCES);
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

// A failure found after every byte was written (fsync, close on a full disk) leaves the old file
// and no copy, for both writers, and so does a failure before anything was written.
TEST(AtomicWrite, LateFailureLeavesTheOldFileAndNoCopy) {
  TempDir dir;
  const std::string name = dir.file("alt.txt");
  struct Case {
    const char* what;
    bool early;
    bool byName;
  };
  for (const Case& c : {Case{"before writing", true, false}, Case{"at the flush", false, false},
                        Case{"library, before writing", true, true}, Case{"library, at the flush", false, true}}) {
    writeFile(name, "old");
    IoHooks hooks;
    (c.early ? hooks.writeFault : hooks.flushFault) = [](std::string_view) { return ENOSPC; };
    const int e = c.byName ? atomicWriteFileWith(
                                 name, [](const std::string& t) { return atomicWriteFile(t, "new"), 0; }, hooks)
                           : atomicWriteFile(name, "new", hooks);
    EXPECT_EQ(e, ENOSPC) << c.what;
    EXPECT_EQ(readFile(name), "old") << c.what;
    EXPECT_EQ(entries(dir.path()), 1u) << c.what << ": no temporary file left";
  }
}

// Several processes replacing one file at once: every rename shows one whole file, and no
// temporary file stays behind.
TEST(AtomicWrite, ParallelWritersLeaveOneCompleteFile) {
  TempDir dir;
  const std::string name = dir.file("shared.out");
  writeFile(name, "old");
  constexpr int kWriters = 8;
  constexpr std::size_t kSize = 300000;
  std::vector<pid_t> children;
  for (int i = 0; i < kWriters; ++i) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      const std::string bytes(kSize, static_cast<char>('a' + i));
      int bad = 0;
      for (int round = 0; round < 10; ++round) bad |= atomicWriteFile(name, bytes, {}, round % 2 == 0);
      ::_exit(bad == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const std::string result = readFile(name);
  ASSERT_EQ(result.size(), kSize);
  EXPECT_EQ(result.find_first_not_of(result[0]), std::string::npos) << "one writer's bytes only";
  EXPECT_EQ(entries(dir.path()), 1u) << "no temporary file left";
}

// What an output name may lead to besides a file. A character device or a FIFO with a reader is
// written into as it is; a FIFO without a reader, a socket, a block device or a folder is refused.
// Nothing of them is ever renamed over or removed, named directly or through the user's own link.
class SpecialOutputs : public ::testing::Test {
 protected:
  TempDir dir;

  // A node the test makes (root only): major, minor of a character or block device.
  bool makeNode(const std::string& path, mode_t type, unsigned major, unsigned minor) {
    return ::mknod(path.c_str(), type | 0666, ::makedev(major, minor)) == 0;
  }
  // A listening-free Unix socket bound to dir/name (bound by a relative name: dir may be long).
  bool makeSocket(const std::string& name) { return bindSocket(dir.path(), name); }
  mode_t typeOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
  }
  // Both writers, the one that writes a descriptor and the one a library fills by name.
  std::vector<std::pair<const char*, std::function<int(const std::string&)>>> writers() {
    return {{"bytes", [](const std::string& p) { return atomicWriteFile(p, "output\n"); }},
            {"library", [](const std::string& p) {
               return atomicWriteFileWith(
                   p, [](const std::string& t) { return atomicWriteFile(t, "output\n", {}, false); });
             }}};
  }
};

TEST_F(SpecialOutputs, RefusedKindsStayAsTheyAre) {
  ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
  ASSERT_TRUE(makeSocket("sock"));
  std::filesystem::create_directory(dir.file("folder"));
  struct Case {
    std::string node;
    mode_t type;
    int err;
    const char* reason;
  };
  std::vector<Case> cases = {{"fifo", S_IFIFO, ENXIO, "FIFO without a reader"},
                             {"sock", S_IFSOCK, EOPNOTSUPP, "socket"},
                             {"folder", S_IFDIR, EISDIR, "Is a directory"}};
  // Major 0 is no device at all: a bug here could never reach a disk.
  if (makeNode(dir.file("block"), S_IFBLK, 0, 0)) cases.push_back({"block", S_IFBLK, EOPNOTSUPP, "block device"});
  for (const Case& c : cases) {
    const std::string link = dir.file(c.node + ".link");
    std::filesystem::create_symlink(dir.file(c.node), link);
    for (const std::string& out : {dir.file(c.node), link}) {
      for (const auto& [how, write] : writers()) {
        EXPECT_EQ(write(out), c.err) << out << " " << how;
        EXPECT_NE(writeFailureReason(out, c.err).find(c.reason), std::string::npos) << writeFailureReason(out, c.err);
        EXPECT_EQ(typeOf(dir.file(c.node)), c.type) << out << " " << how;
        EXPECT_EQ(typeOf(link), S_IFLNK) << out << " " << how;
      }
    }
    if (c.type != S_IFIFO && c.type != S_IFDIR) {
      EXPECT_FALSE(outputRefusal(link).empty()) << c.node;
    }
  }
  EXPECT_EQ(entries(dir.path()), 2 * cases.size()) << "no temporary file left";
}

// A FIFO with a reader receives the bytes; the reader is the test itself.
TEST_F(SpecialOutputs, FifoWithAReaderIsWrittenInto) {
  const std::string fifo = dir.file("fifo"), link = dir.file("out.json");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_symlink(fifo, link);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  for (const auto& [how, write] : writers()) {
    for (const std::string& out : {fifo, link}) {
      EXPECT_EQ(write(out), 0) << how;
      char buf[64] = {};
      EXPECT_EQ(::read(reader, buf, sizeof buf), 7) << how;
      EXPECT_STREQ(buf, "output\n");
      EXPECT_EQ(typeOf(fifo), S_IFIFO);
      EXPECT_EQ(typeOf(link), S_IFLNK);
    }
  }
  ::close(reader);
  EXPECT_EQ(entries(dir.path()), 2u) << "no temporary file left";
}

// Character devices made for the test (as root): a copy of the null device discards the output,
// a copy of the full device fails it with ENOSPC; both stay devices.
TEST_F(SpecialOutputs, CharacterDeviceIsWrittenIntoAsItIs) {
  if (!makeNode(dir.file("null"), S_IFCHR, 1, 3) || !makeNode(dir.file("full"), S_IFCHR, 1, 7))
    GTEST_SKIP() << "making device nodes needs root";
  for (const auto& [node, err] : std::vector<std::pair<std::string, int>>{{"null", 0}, {"full", ENOSPC}}) {
    const std::string link = dir.file(node + ".json");
    std::filesystem::create_symlink(dir.file(node), link);
    for (const auto& [how, write] : writers()) {
      for (const std::string& out : {dir.file(node), link}) {
        EXPECT_EQ(write(out), err) << out << " " << how;
        EXPECT_EQ(typeOf(dir.file(node)), S_IFCHR) << out << " " << how;
        EXPECT_EQ(typeOf(link), S_IFLNK) << out << " " << how;
      }
    }
  }
  EXPECT_EQ(entries(dir.path()), 4u) << "no temporary file left";
}

// An environment variable set for one test and restored after it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// An unusable TMPDIR is replaced by /tmp, and said once on stderr with the reason.
TEST(TemporaryFolder, UnusableTmpdirIsNamedAndReplaced) {
  TempDir dir;
  writeFile(dir.file("a-file"), "x");
  const std::string tag = lastComponent(dir.path().substr(0, dir.path().size() - 1));  // unique per run
  struct Case {
    std::string tmpdir;
    const char* reason;
  };
  for (const Case& c : {Case{"relative-" + tag, "not an absolute path"}, Case{dir.file("missing"), "No such file"},
                        Case{dir.file("a-file"), "not a folder"}}) {
    ScopedEnv env("TMPDIR", c.tmpdir);
    testing::internal::CaptureStderr();
    EXPECT_EQ(temporaryBaseFolder(), "/tmp") << c.tmpdir;
    EXPECT_EQ(temporaryBaseFolder(), "/tmp") << c.tmpdir;
    const std::string note = testing::internal::GetCapturedStderr();
    EXPECT_NE(note.find("TMPDIR=" + c.tmpdir), std::string::npos) << note;
    EXPECT_NE(note.find(c.reason), std::string::npos) << note;
    EXPECT_EQ(std::count(note.begin(), note.end(), '\n'), 1) << "one line, once\n" << note;
  }
  ScopedEnv usable("TMPDIR", dir.path());
  EXPECT_EQ(temporaryBaseFolder(), dir.path());
}

// A private folder name held by someone else (here a link, which is never used): the spare names
// are reused by later runs; when those are taken too, a fresh folder lives only as long as the
// process. No run leaves a new folder behind.
TEST(TemporaryFolder, SquattedNameLeavesNoFolderPerRun) {
  TempDir dir;
  TempDir elsewhere;
  ScopedEnv env("TMPDIR", dir.path());
  const std::string own = dir.file("velk-" + std::to_string(::getuid()));
  std::filesystem::create_symlink(elsewhere.path(), own);
  EXPECT_EQ(privateTempDir(), own + ".1/");
  EXPECT_EQ(privateTempDir(), own + ".1/") << "reused";
  std::filesystem::remove(own + ".1");
  for (int n = 1; n <= 4; ++n) std::filesystem::create_symlink(elsewhere.path(), own + "." + std::to_string(n));
  for (int run = 0; run < 3; ++run) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      const std::string fresh = privateTempDir();
      const bool ok = fresh.compare(0, own.size() + 1, own + "-") == 0 && privateTempDir() == fresh &&
                      atomicWriteFile(fresh + "work.txt", "x", {}, false) == 0;
      std::exit(ok ? 0 : 1);  // exit, not _exit: the fresh folder goes with the process
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(entries(dir.path()), 5u) << "the five links only";
  EXPECT_EQ(entries(elsewhere.path()), 0u) << "nothing written through a link";
}

}  // namespace
}  // namespace velk::test
