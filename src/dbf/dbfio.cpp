// File helpers shared by the table engine's writers: whole-file replacement and whole-file reading.
// Thin wrappers over the platform file services that turn errno into the engine's status values.
#include "dbf/dbfio.h"

#include <cerrno>
#include <cstdint>

#include "base/codepage.h"
#include "platform/files.h"

namespace velk::dbfio {

namespace {
// Text files and index files the engine reads whole are small; a larger one is cut here, which keeps
// memory bounded whatever a path names (a device, a huge file).
constexpr std::size_t kMaxReadBytes = std::size_t{256} << 20;
}  // namespace

DbfStatus openError(const std::string& path, int err) {
  return {oem("Datei ") + path + oem(" nicht gefunden oder kein Zugriffsrecht !"), err};
}

DbfStatus writeError(const std::string& path, int err) {
  return {oem("Datei ") + path + oem(" kann nicht geschrieben werden."), err};
}

DbfStatus replaceFile(const std::string& path, std::string_view bytes) {
  if (int err = atomicWriteFile(path, bytes)) return writeError(path, err);
  return {};
}

DbfStatus readFile(const std::string& path, std::string& bytes) {
  int err = 0;
  std::optional<std::string> text = readWholeFile(path, kMaxReadBytes, &err);
  if (!text) {
    bytes.clear();
    return openError(path, err);
  }
  bytes = std::move(*text);
  return {};
}

}  // namespace velk::dbfio
