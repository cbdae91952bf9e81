// The files behind a report: numbered temporary files reserved exclusively, final files
// replaced atomically, and the line-by-line copy into the Windows code page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace velk {

struct NumberSettings;

// An open file descriptor, closed when the handle goes.
class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(int fd) : fd_(fd) {}
  FileHandle(FileHandle&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
  FileHandle& operator=(FileHandle&& o) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes the descriptor; returns 0 or the errno of close.
  int reset();

 private:
  int fd_ = -1;
};

// A numbered temporary file ("$OUT3.TMP", "$$$1.txt") held for the time of one report. The
// file is created exclusively and carries an exclusive lock while it is held, so a second
// process working in the same folder (two batch jobs at once) takes the next free number and
// never writes into this file. A file of that name left behind by a process that died holds
// no lock and is taken over. The file is removed when the reservation ends (discard or
// destruction), so the numbers never run out.
class ReservedFile {
 public:
  ReservedFile() = default;
  ReservedFile(ReservedFile&&) noexcept = default;
  ReservedFile& operator=(ReservedFile&& o) noexcept;
  ReservedFile(const ReservedFile&) = delete;
  ReservedFile& operator=(const ReservedFile&) = delete;
  ~ReservedFile() { discard(); }

  bool held() const { return fd_.valid(); }
  const std::string& path() const { return path_; }
  int number() const { return number_; }
  // Replaces the file's contents with bytes (through the held descriptor, so the lock and the
  // name stay ours). Returns 0 or the errno.
  int write(std::string_view bytes);
  // Removes the file (when it is still the one we created) and gives up the reservation.
  void discard();
  // Gives the file (contents already written) the name target, replacing any file of that
  // name, and gives up the reservation. Returns 0 or the errno (the reservation then stays).
  int renameTo(const std::string& target);

 private:
  friend ReservedFile reserveNumberedFile(const std::string&, std::string_view, std::string_view, int, int,
                                          const IoHooks&, int&);
  std::string path_;
  FileHandle fd_;
  int number_ = 0;
};

// Reserves folder + prefix + n + suffix for the first n = first, first + 1, ... (at most tries
// numbers) that is free. On failure the result holds nothing and err is set: the errno of the
// failed creation (ENOSPC, EACCES, ... or an injected fault), or EEXIST when every number
// tried is in use by a running report.
ReservedFile reserveNumberedFile(const std::string& folder, std::string_view prefix, std::string_view suffix, int first,
                                 int tries, const IoHooks& hooks, int& err);

// Writes a finished output file. A regular (or missing) file is replaced atomically (temporary
// file beside it, then rename), so a failure leaves the previous file as it was and no
// half-written file appears. A character device or a FIFO with a reader (a printer port, a
// link to /dev/null) is written directly; it is never replaced. Returns 0 or the errno, as
// atomicWriteFile.
int writeOutputFile(const std::string& path, std::string_view bytes, const IoHooks& hooks, bool durable = true);

// The Windows form of a report text: every line converted as the display conversion converts
// (Windows-1252, or transliterated with plain characters) and ended with CR LF. Unlike a
// single display text, a line of 255 characters or more is converted in full, never dropped.
std::string windowsCopy(const NumberSettings& settings, std::string_view text);
// One text in the Windows code page, any length (see windowsCopy).
std::string windowsText(const NumberSettings& settings, std::string_view text);

// The lines of a text (CR LF, LF or CR ends a line; a last line without end counts).
std::vector<std::string> splitLines(std::string_view text);

}  // namespace velk
