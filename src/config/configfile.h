// The configuration file (short name + ".cfg"), the recent-files file (".cff") and the check
// of the configured folders at start-up.
#pragma once

#include <string>
#include <string_view>

#include "core/workspace.h"

namespace velk {

// Largest part of a configuration or recent-files file that is read; the rest is ignored.
constexpr std::size_t kMaxConfigFileBytes = 1u << 20;

// start.startDir = the current directory, start.configDir = that folder with "/".
void InitConfigLocation(Workspace& ws);

// configDir + shortName + ".cfg".
std::string configFilePath(const Workspace& ws);
// configDir + shortName + ".cff".
std::string recentFilesPath(const Workspace& ws);

// Reads the configuration file of start.configDir; when it cannot be opened there, the one of
// fallbackConfigDir(), which then becomes the configuration folder. Values the file does not
// reach keep their current values. When neither file exists the first-start values are set
// and the abort flag is raised, so that the caller knows no configuration exists.
void ReadConfiguration(Workspace& ws);
// The reader proper on the bytes of a file: every row with its corrections, then the
// resolution rule. Survives any bytes.
void readConfigurationFrom(Workspace& ws, std::string_view bytes);
// The first-start values (no file at all): screen-derived resolution, text window and dialog scale.
void applyFirstStartValues(Workspace& ws);

// The bytes WriteConfiguration saves: CR LF lines, code page 850 keys, reals always with ".".
std::string configurationFileBytes(const Workspace& ws);
// Saves the configuration file atomically. A failure shows its message and asks whether to
// try again; no or cancel stops with the abort flag and the previous file untouched.
void WriteConfiguration(Workspace& ws);

// Completes empty folders and reports each unusable one; asks for a new temporary folder
// when that one is unusable. Never stops the start: the abort flag is clear afterwards.
void CheckFolders(Workspace& ws);
// The effective folders of the material tables and of help/message files, with trailing "/":
// the configured folder, or the program's data directory when none is configured.
std::string dbfFolder(const Workspace& ws);
std::string pltFolder(const Workspace& ws);

// The recent-files file: a session line, then the four remembered names. A missing file
// clears the four names and sets the abort flag.
void ReadRecentFiles(Workspace& ws);
void readRecentFilesFrom(Workspace& ws, std::string_view bytes);
std::string recentFilesBytes(const Workspace& ws);
// Failure: the file-creation message and the abort flag; the previous file stays.
void WriteRecentFiles(Workspace& ws);

}  // namespace velk
