// File helpers shared by the table engine's writers: whole-file replacement and whole-file reading.
// Used by the engine and by the table service; the messages are code page 850 sentences naming the file.
#pragma once

#include <string>
#include <string_view>

#include "dbf/dbf.h"

namespace velk::dbfio {

// Replaces path with bytes (platform atomicWriteFile: temp file beside the target, fsync, rename;
// permission bits and symbolic links kept). On failure the previous file is untouched.
DbfStatus replaceFile(const std::string& path, std::string_view bytes);

// Reads a whole file.
DbfStatus readFile(const std::string& path, std::string& bytes);

// The standard messages.
DbfStatus openError(const std::string& path, int err);
DbfStatus writeError(const std::string& path, int err);

}  // namespace velk::dbfio
