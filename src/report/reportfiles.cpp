// Numbered temporary files with exclusive creation and locks, atomic output files, and the
// conversion of report texts into their Windows form.
#include "report/reportfiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/codepage.h"
#include "base/numfmt.h"

namespace velk {

FileHandle& FileHandle::operator=(FileHandle&& o) noexcept {
  if (this != &o) {
    reset();
    fd_ = o.fd_;
    o.fd_ = -1;
  }
  return *this;
}

int FileHandle::reset() {
  if (fd_ < 0) return 0;
  const int r = ::close(fd_);
  fd_ = -1;
  return r == 0 ? 0 : errno;
}

namespace {

// True when path still names the file open on fd (nobody removed or replaced it).
bool sameFile(int fd, const std::string& path) {
  struct stat a {
  }, b{};
  if (::fstat(fd, &a) != 0 || ::lstat(path.c_str(), &b) != 0) return false;
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && S_ISREG(b.st_mode);
}

}  // namespace

ReservedFile& ReservedFile::operator=(ReservedFile&& o) noexcept {
  if (this != &o) {
    discard();
    path_ = std::move(o.path_);
    fd_ = std::move(o.fd_);
    number_ = o.number_;
    o.path_.clear();
  }
  return *this;
}

int ReservedFile::write(std::string_view bytes) {
  if (!fd_.valid()) return EBADF;
  if (::ftruncate(fd_.get(), 0) != 0) return errno;
  if (::lseek(fd_.get(), 0, SEEK_SET) < 0) return errno;
  return writeAll(fd_.get(), bytes);
}

void ReservedFile::discard() {
  if (fd_.valid()) {
    // Removed while the lock is still held, so nobody can take over a file we are removing.
    if (!path_.empty() && sameFile(fd_.get(), path_)) ::unlink(path_.c_str());
    fd_.reset();
  }
  path_.clear();
  number_ = 0;
}

int ReservedFile::renameTo(const std::string& target) {
  if (!fd_.valid() || path_.empty()) return EBADF;
  if (!sameFile(fd_.get(), path_)) return ENOENT;
  // Renamed while the lock is still held, so nobody can take the file over in between.
  if (::rename(path_.c_str(), target.c_str()) != 0) return errno;
  const int e = fd_.reset();
  if (e != 0) ::unlink(target.c_str());  // a copy that may lack its end is no copy
  path_.clear();
  number_ = 0;
  return e;
}

ReservedFile reserveNumberedFile(const std::string& folder, std::string_view prefix, std::string_view suffix, int first,
                                 int tries, const IoHooks& hooks, int& err) {
  ReservedFile r;
  err = EEXIST;
  for (int n = first; n < first + tries; ++n) {
    const std::string path = folder + std::string(prefix) + fmtInt(n) + std::string(suffix);
    if (hooks.writeFault) {
      if (int e = hooks.writeFault(path)) {
        err = e;
        return r;
      }
    }
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0 && errno != EEXIST) {
      err = errno;
      return r;
    }
    if (fd < 0) {
      // Taken: in use by a running report (locked), or left behind by one that died.
      fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
      if (fd < 0) continue;
    }
    FileHandle handle(fd);
    // Whoever holds the lock owns the file. A file we just created can still lose the lock to
    // a process that found it a moment earlier; then that process has it and we go on.
    if (::flock(handle.get(), LOCK_EX | LOCK_NB) != 0) continue;
    if (!sameFile(handle.get(), path)) continue;  // removed or replaced meanwhile
    if (::ftruncate(handle.get(), 0) != 0) {
      err = errno;
      return r;
    }
    r.path_ = path;
    r.fd_ = std::move(handle);
    r.number_ = n;
    err = 0;
    return r;
  }
  return r;
}

int writeOutputFile(const std::string& path, std::string_view bytes, const IoHooks& hooks, bool durable) {
  return atomicWriteFile(path, bytes, hooks, durable);
}

std::string windowsText(const NumberSettings& settings, std::string_view text) {
  // The display conversion refuses texts of 255 characters or more; it maps byte by byte, so
  // a long text is converted in pieces it accepts.
  constexpr std::size_t kPiece = 254;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); i += kPiece) out += toDisplay(settings, text.substr(i, kPiece));
  return out;
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string windowsCopy(const NumberSettings& settings, std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const std::string& line : splitLines(text)) {
    out += windowsText(settings, line);
    out += "\r\n";
  }
  return out;
}

}  // namespace velk
