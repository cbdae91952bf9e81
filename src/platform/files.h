// File-system services of the core: whole-file reads, atomic replacement, probes, folders.
// Paths are native byte strings (UTF-8 on this platform); "/" is the separator, "\" is accepted when splitting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velk {

// Seam for tests: lets a test make writes fail as a full disk or a write-protected folder
// would (root ignores permission bits, so a chmod alone proves nothing).
struct IoHooks {
  // Called with the final path before a file is written; a non-zero errno fails the write.
  std::function<int(std::string_view path)> writeFault;
  // Called with the final path once every byte is written, before the flush and the close; a
  // non-zero errno fails the write there (as a full disk found by fsync or close would).
  std::function<int(std::string_view path)> flushFault;
};

// Pascal-style I/O result codes the messages are keyed on.
constexpr int kIoDiskFull = 101;
constexpr int kIoBadNumber = 106;
constexpr int kIoWriteProtected = 150;
int ioCodeFromErrno(int err);

// Reads a whole regular file; at most maxBytes (the rest is ignored). nullopt when it cannot be
// opened or is no regular file (a FIFO is refused without waiting); *err receives errno then.
std::optional<std::string> readWholeFile(const std::string& path, std::size_t maxBytes = 64u << 20, int* err = nullptr);

// Replaces path with bytes: writes a fresh unique temporary file in the same folder (created with
// O_EXCL|O_NOFOLLOW), checks every write, flushes it, keeps the old file's permission bits, and
// renames it over the target (through a symbolic link to its target) only when it is complete.
// A file whose permission bits forbid writing is not replaced (EACCES). The temporary name is
// short (".velk-tmp.XXXXXX"), so any legal target name works. On failure the previous file is
// untouched, the temporary file removed, and the errno is returned.
// An output that is (or links to) a character device or a FIFO is written into as it is, never
// renamed over or removed (a link to /dev/null discards the output); a FIFO without a reader is
// refused with ENXIO rather than waited for; a socket or a block device is refused (EOPNOTSUPP),
// a folder too (EISDIR). writeFailureReason says which.
// durable = false skips the flush to the disk before the rename (files in the private temporary
// folder, which need no durability: the rename still never shows a half-written file).
int atomicWriteFile(const std::string& path, std::string_view bytes, const IoHooks& hooks = {}, bool durable = true);
// The same replacement (write-protected files refused as above) for a file that a library writes
// by name: fill receives the unique temporary file (created, empty) and returns 0 or an errno;
// nothing is renamed after a failure. For a device or FIFO the library writes a private file in
// the temporary folder whose bytes are then copied into it.
int atomicWriteFileWith(const std::string& path, const std::function<int(const std::string& tempPath)>& fill,
                        const IoHooks& hooks = {}, bool durable = true);
// The same for a writer that streams into the open descriptor fill receives.
int atomicWriteFileFrom(const std::string& path, const std::function<int(int fd)>& fill, const IoHooks& hooks = {},
                        bool durable = true);
// Why writing path failed with err, for a message after the file's name: strerror's text, or
// what the output is when that is the reason (a FIFO without a reader, a socket, a block device).
std::string writeFailureReason(const std::string& path, int err);

// Writes all bytes to an open descriptor; returns 0 or the errno.
int writeAll(int fd, std::string_view bytes);

enum class FileKind { Missing, Regular, Directory, Other };
// What path names (following links); Other for FIFOs, sockets and devices.
FileKind fileKind(const std::string& path);
std::uint64_t fileSize(const std::string& path);  // 0 when missing

// Why an output file must not be replaced (empty when it may): permission bits that forbid
// writing (checked by the bits, so also for root), a symbolic link owned by another user or
// lying in a folder others can write (one planted to redirect the output), or an output that is
// (or links to) a folder, a socket or a block device. A character device or a FIFO is no reason:
// atomicWriteFile writes into it.
std::string outputRefusal(const std::string& path);

bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);
bool canOpenForReading(const std::string& path);
// True when a file can be created in folder: creates and removes a unique probe file.
bool folderWritable(const std::string& folder, const IoHooks& hooks = {});
// True when the file could be created at path (probe file beside it; the path itself is never touched).
bool canCreateFileAt(const std::string& path, const IoHooks& hooks = {});
std::string currentDirectory();

// Name parts. lastComponent looks at the text after the last "/" or "\".
std::string lastComponent(std::string_view path);
std::string directoryOf(std::string_view path);     // with trailing "/", empty when none
std::string stripExtension(std::string_view name);  // of the last component only
bool hasExtension(std::string_view path);           // a "." in the last component
std::string extensionOf(std::string_view path);     // without the dot
// Appends "/" to a non-empty folder that does not end in a separator.
std::string withSeparator(std::string_view folder);

// The program's data directory (material tables, help, template): VELK_DATA_DIR when set,
// else <exe>/../share/velk when present, else the source tree's share folder.
std::string programDataDir();
// The temporary folder: TMPDIR when it names a folder (absolute) this process can write into, else
// /tmp; an unusable TMPDIR is named on stderr once, with the reason.
std::string temporaryBaseFolder();
// The private temporary folder <temporaryBaseFolder()>/velk-<uid>, created with mode 0700. When
// another user holds that name, velk-<uid>.1 .. .4 (reused by later runs), and when those are
// taken too a fresh velk-<uid>-XXXXXX that is removed when the process ends.
std::string privateTempDir();
// The folder of the configuration and the recent files (with trailing "/"): VELK_CONFIG_DIR when
// set, else $XDG_CONFIG_HOME/velk/ (an absolute XDG_CONFIG_HOME only), else ~/.config/velk/.
// Never the working folder: a configuration names programs to start.
std::string userConfigDir();
// Creates folder and any missing parents, each new one with mode 0700 (nothing of an existing
// folder changes; an empty folder is the current one). Returns 0 or the errno of the first failure.
int makePrivateFolders(const std::string& folder);

}  // namespace velk
