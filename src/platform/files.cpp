// File-system services of the core, on POSIX.
#include "platform/files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <vector>

namespace velk {

int ioCodeFromErrno(int err) {
  switch (err) {
    case ENOSPC:
    case EDQUOT:
      return kIoDiskFull;
    case EACCES:
    case EROFS:
    case EPERM:
      return kIoWriteProtected;
    default:
      return err == 0 ? 0 : 1000 + err;
  }
}

std::optional<std::string> readWholeFile(const std::string& path, std::size_t maxBytes, int* err) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer for ever; what is
  // not a regular file is refused once it is open.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (err) *err = errno;
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    if (err) *err = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
    return std::nullopt;
  }
  // Back to blocking reads for the regular file (the flag means nothing there, but be plain).
  if (int fl = ::fcntl(fd, F_GETFL); fl >= 0) ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
  std::string out;
  if (st.st_size > 0) out.reserve(std::min<std::size_t>(static_cast<std::size_t>(st.st_size), maxBytes));
  char buf[65536];
  while (out.size() < maxBytes) {
    ssize_t n = ::read(fd, buf, std::min(sizeof buf, maxBytes - out.size()));
    if (n < 0) {
      if (errno == EINTR) continue;
      if (err) *err = errno;
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return out;
}

int writeAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return 0;
}

static std::string folderForProbe(const std::string& path);

// The write bit of the class the process belongs to (owner, group, others); for root any write bit.
static bool modeAllowsWriting(const struct stat& st) {
  const uid_t uid = ::geteuid();
  if (uid == 0) return (st.st_mode & 0222) != 0;
  if (st.st_uid == uid) return (st.st_mode & S_IWUSR) != 0;
  if (st.st_gid == ::getegid()) return (st.st_mode & S_IWGRP) != 0;
  return (st.st_mode & S_IWOTH) != 0;
}

FileKind fileKind(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return FileKind::Missing;
  if (S_ISREG(st.st_mode)) return FileKind::Regular;
  if (S_ISDIR(st.st_mode)) return FileKind::Directory;
  return FileKind::Other;
}

std::uint64_t fileSize(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

std::string outputRefusal(const std::string& path) {
  struct stat lst {};
  if (::lstat(path.c_str(), &lst) != 0) return {};
  if (S_ISLNK(lst.st_mode)) {
    if (lst.st_uid != ::geteuid()) return "is a symbolic link owned by another user";
    struct stat dst {};
    const std::string dir = folderForProbe(path);
    if (::stat(dir.c_str(), &dst) == 0 && (dst.st_mode & 0022) != 0)
      return "is a symbolic link in a folder others can write";
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  if (S_ISREG(st.st_mode) && !modeAllowsWriting(st)) return "is write-protected (its permission bits forbid writing)";
  if (S_ISDIR(st.st_mode)) return "is a folder";
  if (S_ISSOCK(st.st_mode)) return "is a socket; outputs are not written into sockets";
  if (S_ISBLK(st.st_mode)) return "is a block device; outputs are not written onto disks";
  return {};
}

// Follows symbolic links so that a save through a link replaces the link's target.
static std::string resolveLinks(const std::string& path) {
  std::string current = path;
  for (int depth = 0; depth < 16; ++depth) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    char buf[PATH_MAX];
    ssize_t n = ::readlink(current.c_str(), buf, sizeof buf - 1);
    if (n <= 0) return current;
    std::string target(buf, static_cast<std::size_t>(n));
    if (!target.empty() && target[0] != '/') target.insert(0, directoryOf(current));
    current = target;
  }
  return current;
}

static std::string folderForProbe(const std::string& path) {
  std::string dir = directoryOf(path);
  return dir.empty() ? std::string("./") : dir;
}

// Creates a new file beside target under a unique name for writing, with mode passed through the
// process's umask (and a default ACL of the folder) by the kernel. Mode 0666 thus gives a new file
// the permissions any other newly created file gets, without reading the umask: umask() can only
// be read by setting it, which races with every other thread that creates a file meanwhile.
static int createUniqueBeside(const std::string& target, mode_t mode, std::string& name) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  // A short fixed stem: the target's own name may already use the whole 255-byte limit.
  const std::string stem = folderForProbe(target) + ".velk-tmp.";
  // Names from the clock, the process and a counter, mixed; O_EXCL makes them unique.
  static std::atomic<std::uint64_t> counter{0};
  std::uint64_t seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                       (static_cast<std::uint64_t>(::getpid()) << 40);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::uint64_t x = seed + 0x9E3779B97F4A7C15ULL * ++counter;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    x ^= x >> 31;
    name = stem;
    for (int i = 0; i < 6; ++i, x /= sizeof kLetters - 1) name += kLetters[x % (sizeof kLetters - 1)];
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Why an existing output that is neither a regular file nor a folder cannot take bytes (0 when
// it can: a character device or a FIFO is written into as it is).
static int specialRefusal(mode_t mode) {
  if (S_ISDIR(mode)) return EISDIR;
  if (S_ISSOCK(mode)) return EOPNOTSUPP;
  if (S_ISBLK(mode)) return EOPNOTSUPP;
  return 0;
}

// Copies what a library wrote into from (a file) onto the open descriptor out.
static int copyInto(const std::string& from, int out) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (in < 0) return errno;
  int e = 0;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(in, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      e = errno;
      break;
    }
    if (n == 0) break;
    if ((e = writeAll(out, std::string_view(buf, static_cast<std::size_t>(n)))) != 0) break;
  }
  ::close(in);
  return e;
}

// An output that names (or links to) a character device or a FIFO is written into as it is:
// nothing is created, renamed or removed there. A FIFO without a reader is refused (ENXIO)
// instead of waiting for one. A library that writes by name writes a private file first, whose
// bytes are then copied.
static int writeInPlace(const std::string& path, const IoHooks& hooks, bool byName,
                        const std::function<int(int fd, const std::string& tempPath)>& fill) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno;
  struct stat st {};
  int e = ::fstat(fd, &st) != 0 ? errno : 0;
  // Swapped for something else since it was looked at: nothing is written.
  if (e == 0 && !S_ISCHR(st.st_mode) && !S_ISFIFO(st.st_mode)) {
    e = specialRefusal(st.st_mode);
    if (e == 0) e = EAGAIN;  // a regular file now: it would be changed in place
  }
  if (e == 0) {
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl < 0 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) != 0) e = errno;
  }
  if (e == 0 && !byName) {
    e = fill(fd, std::string());
  } else if (e == 0) {
    std::string tmpName;
    const int tmp = createUniqueBeside(privateTempDir() + "out", 0600, tmpName);
    if (tmp < 0) {
      e = errno;
    } else {
      e = fill(tmp, tmpName);
      if (::close(tmp) != 0 && e == 0) e = errno;
      if (e == 0) e = copyInto(tmpName, fd);
      ::unlink(tmpName.c_str());
    }
  }
  if (e == 0 && hooks.flushFault) e = hooks.flushFault(path);
  if (::close(fd) != 0 && e == 0) e = errno;
  return e;
}

// The replacement both writers share: fill writes the unique temporary file beside the target
// (through its open descriptor or by name) and returns 0 or an errno.
static int replaceBeside(const std::string& path, const IoHooks& hooks, bool durable, bool byName,
                         const std::function<int(int fd, const std::string& tempPath)>& fill) {
  if (hooks.writeFault) {
    if (int e = hooks.writeFault(path)) return e;
  }
  const std::string target = resolveLinks(path);
  // A replaced file keeps its permission bits, set on the private copy once it is written; a new
  // file keeps those it was created with.
  struct stat st {};
  const bool replacing = ::stat(target.c_str(), &st) == 0;
  if (replacing && !S_ISREG(st.st_mode)) {
    if (int e = specialRefusal(st.st_mode)) return e;
    return writeInPlace(target, hooks, byName, fill);
  }
  // A file whose permission bits forbid writing is not replaced: the rename would do it
  // regardless of them, and root passes every access check.
  if (replacing && !modeAllowsWriting(st)) return EACCES;
  std::string tmpName;
  // The descriptor stays open while fill writes: the permission bits and the flush go to that
  // file whichever descriptor wrote it.
  int fd = createUniqueBeside(target, replacing ? 0600 : 0666, tmpName);
  if (fd < 0) return errno;
  int e = fill(fd, tmpName);
  if (e == 0 && replacing && ::fchmod(fd, st.st_mode & 07777) != 0) e = errno;
  if (e == 0 && hooks.flushFault) e = hooks.flushFault(path);
  if (e == 0 && durable && ::fsync(fd) != 0) e = errno;
  if (::close(fd) != 0 && e == 0) e = errno;
  // Whatever took the target's name meanwhile: only a file (or nothing) is renamed over.
  struct stat now {};
  if (e == 0 && ::lstat(target.c_str(), &now) == 0 && !S_ISREG(now.st_mode)) {
    e = specialRefusal(now.st_mode);
    if (e == 0) e = EAGAIN;  // a link, a device or a FIFO now
  }
  if (e == 0 && ::rename(tmpName.c_str(), target.c_str()) != 0) e = errno;
  if (e != 0) ::unlink(tmpName.c_str());
  return e;
}

int atomicWriteFile(const std::string& path, std::string_view bytes, const IoHooks& hooks, bool durable) {
  return replaceBeside(path, hooks, durable, false,
                       [bytes](int fd, const std::string&) { return writeAll(fd, bytes); });
}

int atomicWriteFileWith(const std::string& path, const std::function<int(const std::string& tempPath)>& fill,
                        const IoHooks& hooks, bool durable) {
  return replaceBeside(path, hooks, durable, true, [&fill](int, const std::string& temp) { return fill(temp); });
}

int atomicWriteFileFrom(const std::string& path, const std::function<int(int fd)>& fill, const IoHooks& hooks,
                        bool durable) {
  return replaceBeside(path, hooks, durable, false, [&fill](int fd, const std::string&) { return fill(fd); });
}

std::string writeFailureReason(const std::string& path, int err) {
  struct stat st {};
  const bool found = ::stat(path.c_str(), &st) == 0;
  if (err == ENXIO && found && S_ISFIFO(st.st_mode)) return "it is a FIFO without a reader";
  if (found && S_ISSOCK(st.st_mode)) return "it is a socket; outputs are not written into sockets";
  if (found && S_ISBLK(st.st_mode)) return "it is a block device; outputs are not written onto disks";
  if (err == EAGAIN) return "it was replaced by something else while it was written";
  return std::strerror(err);
}

bool fileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool isDirectory(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool canOpenForReading(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
  ::close(fd);
  return ok;
}

bool folderWritable(const std::string& folder, const IoHooks& hooks) {
  std::string dir = folder.empty() ? std::string("./") : withSeparator(folder);
  if (dir.back() != '/') dir += '/';
  if (hooks.writeFault && hooks.writeFault(dir + "x.$$$") != 0) return false;
  std::string tmpl = dir + "x.$$$.XXXXXX";
  int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(tmpl.c_str());
  return true;
}

bool canCreateFileAt(const std::string& path, const IoHooks& hooks) {
  if (path.empty() || lastComponent(path).empty()) return false;
  if (isDirectory(path)) return false;
  if (lastComponent(path).size() > NAME_MAX) return false;
  return folderWritable(folderForProbe(path), hooks);
}

std::string currentDirectory() {
  std::error_code ec;
  auto p = std::filesystem::current_path(ec);
  return ec ? std::string(".") : p.string();
}

static std::size_t lastSeparator(std::string_view path) { return path.find_last_of("/\\"); }

std::string lastComponent(std::string_view path) {
  std::size_t pos = lastSeparator(path);
  return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string directoryOf(std::string_view path) {
  std::size_t pos = lastSeparator(path);
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos + 1));
}

std::string stripExtension(std::string_view name) {
  std::size_t sep = lastSeparator(name);
  std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || (sep != std::string_view::npos && dot < sep)) return std::string(name);
  return std::string(name.substr(0, dot));
}

bool hasExtension(std::string_view path) { return lastComponent(path).find('.') != std::string::npos; }

std::string extensionOf(std::string_view path) {
  std::string last = lastComponent(path);
  std::size_t dot = last.rfind('.');
  return dot == std::string::npos ? std::string() : last.substr(dot + 1);
}

std::string withSeparator(std::string_view folder) {
  std::string out(folder);
  // Any last character but a separator gets one: folders here may end in ".", "-" or a
  // multi-byte letter, which a narrower rule would glue to the file name.
  if (!out.empty() && out.back() != '/' && out.back() != '\\') out += '/';
  return out;
}

std::string programDataDir() {
  if (const char* env = std::getenv("VELK_DATA_DIR"); env && *env) return withSeparator(env);
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    auto installed = exe.parent_path().parent_path() / "share" / "velk";
    if (std::filesystem::is_directory(installed, ec)) return withSeparator(installed.string());
  }
#ifdef VELK_SOURCE_DATA_DIR
  if (std::filesystem::is_directory(VELK_SOURCE_DATA_DIR, ec)) return withSeparator(VELK_SOURCE_DATA_DIR);
#endif
#ifdef VELK_INSTALL_DATA_DIR
  return withSeparator(VELK_INSTALL_DATA_DIR);
#else
  return "./";
#endif
}

namespace {

std::mutex tempMutex;
std::string tmpdirNoted;                    // the unusable TMPDIR already named on stderr
std::vector<std::string> freshTempFolders;  // made for this process only; removed at exit

void removeFreshTempFolders() {
  std::lock_guard<std::mutex> lock(tempMutex);
  for (const std::string& dir : freshTempFolders) {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  freshTempFolders.clear();
}

// True when dir is a folder (not a link) of this user that nobody else may use: then it is ours.
bool ownPrivateFolder(const std::string& dir) {
  ::mkdir(dir.c_str(), 0700);
  struct stat st {};
  if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return false;
  if ((st.st_mode & 077) != 0 && ::chmod(dir.c_str(), 0700) != 0) return false;
  return true;
}

}  // namespace

std::string temporaryBaseFolder() {
  const char* base = std::getenv("TMPDIR");
  if (!base || !*base) return "/tmp";
  std::string why;
  struct stat st {};
  if (*base != '/')
    why = "is not an absolute path";
  else if (::stat(base, &st) != 0)
    why = std::strerror(errno);
  else if (!S_ISDIR(st.st_mode))
    why = "is not a folder";
  else if (::access(base, W_OK | X_OK) != 0)
    why = std::strerror(errno);
  if (why.empty()) return base;
  std::lock_guard<std::mutex> lock(tempMutex);
  if (tmpdirNoted != base) {
    tmpdirNoted = base;
    std::fprintf(stderr, "wvelk: TMPDIR=%s cannot be used (%s); using /tmp\n", base, why.c_str());
  }
  return "/tmp";
}

std::string privateTempDir() {
  std::string root = temporaryBaseFolder();
  if (root.back() != '/') root += '/';
  const std::string dir = root + "velk-" + std::to_string(::getuid());
  if (ownPrivateFolder(dir)) return dir + "/";
  // Someone else holds that name (or it is a link): never use it. The same few spare names are
  // tried in turn, so runs reuse one folder instead of leaving a new one behind each time.
  for (int n = 1; n <= 4; ++n) {
    const std::string spare = dir + "." + std::to_string(n);
    if (ownPrivateFolder(spare)) return spare + "/";
  }
  // All taken: a fresh folder for this process, removed when it ends.
  std::lock_guard<std::mutex> lock(tempMutex);
  for (const std::string& fresh : freshTempFolders)
    if (fresh.compare(0, dir.size() + 1, dir + "-") == 0) return fresh + "/";
  std::string tmpl = dir + "-XXXXXX";
  if (!::mkdtemp(tmpl.data())) return root;
  if (freshTempFolders.empty()) std::atexit(removeFreshTempFolders);
  freshTempFolders.push_back(tmpl);
  return tmpl + "/";
}

// A relative VELK_CONFIG_DIR would make every working folder a configuration folder: only an
// absolute one counts (the start-up says when one is ignored).
std::string userConfigDir() {
  if (const char* v = std::getenv("VELK_CONFIG_DIR"); v && *v == '/') return withSeparator(v);
  std::string base;
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x == '/') {
    base = x;
  } else if (const char* h = std::getenv("HOME"); h && *h) {
    base = std::string(h) + "/.config";
  } else if (const struct passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir) {
    base = std::string(pw->pw_dir) + "/.config";
  } else {
    // No home at all: the private temporary folder rather than the working folder.
    return privateTempDir() + "config/";
  }
  return withSeparator(base) + "velk/";
}

int makePrivateFolders(const std::string& folder) {
  if (folder.empty()) return 0;  // the current folder
  std::string path;
  std::size_t pos = 0;
  while (pos <= folder.size()) {
    std::size_t slash = folder.find('/', pos);
    if (slash == std::string::npos) slash = folder.size();
    path = folder.substr(0, slash);
    pos = slash + 1;
    if (path.empty() || path.back() == '/') continue;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  }
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) return errno;
  return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

}  // namespace velk
