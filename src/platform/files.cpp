// File-system services of the core, on POSIX.
#include "platform/files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

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
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (err) *err = errno;
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    if (err) *err = EISDIR;
    return std::nullopt;
  }
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
    if (!target.empty() && target[0] != '/') target = directoryOf(current) + target;
    current = target;
  }
  return current;
}

static std::string folderForProbe(const std::string& path) {
  std::string dir = directoryOf(path);
  return dir.empty() ? std::string("./") : dir;
}

int atomicWriteFile(const std::string& path, std::string_view bytes, const IoHooks& hooks, bool durable) {
  if (hooks.writeFault) {
    if (int e = hooks.writeFault(path)) return e;
  }
  const std::string target = resolveLinks(path);
  std::string tmpl = folderForProbe(target) + "." + lastComponent(target) + ".XXXXXX";
  int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  mode_t mode = 0666;
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  int e = writeAll(fd, bytes);
  if (e == 0 && ::fchmod(fd, mode) != 0) e = errno;
  if (e == 0 && durable && ::fsync(fd) != 0) e = errno;
  if (::close(fd) != 0 && e == 0) e = errno;
  if (e == 0 && ::rename(tmpl.c_str(), target.c_str()) != 0) e = errno;
  if (e != 0) ::unlink(tmpl.c_str());
  return e;
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

static std::size_t lastSeparator(std::string_view path) {
  return path.find_last_of("/\\");
}

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

bool hasExtension(std::string_view path) {
  return lastComponent(path).find('.') != std::string::npos;
}

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

std::string privateTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string root = (base && *base) ? std::string(base) : std::string("/tmp");
  if (root.back() != '/') root += '/';
  std::string dir = root + "velk-" + std::to_string(::getuid());
  ::mkdir(dir.c_str(), 0700);
  struct stat st {};
  if (::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()) {
    if ((st.st_mode & 077) != 0) ::chmod(dir.c_str(), 0700);
    return dir + "/";
  }
  // Someone else owns that name (or it is a link): never use it; take a fresh private folder.
  std::string tmpl = dir + "-XXXXXX";
  if (::mkdtemp(tmpl.data())) return tmpl + "/";
  return root;
}

std::string fallbackConfigDir() {
  std::string base;
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) {
    base = x;
  } else if (const char* h = std::getenv("HOME"); h && *h) {
    base = std::string(h) + "/.config";
  } else {
    base = ".config";
  }
  if (base.back() != '/') base += '/';
  return base + "velk/";
}

}  // namespace velk
