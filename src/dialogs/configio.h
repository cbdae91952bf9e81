// The configuration file and the recent-files file on disk, and the check of the configured
// folders at start-up: the parts that talk to the user when a file or a folder fails.
#pragma once

#include <string>

#include "config/configfile.h"
#include "dialogs/context.h"

namespace velk {

// Reads the configuration file of start.configDir only. A configuration file lying in the working
// folder (start.startDir) is not read: one info line says so. Values the file does not reach
// keep their current values. When there is no file the first-start values are set and the
// abort flag is raised, so that the caller knows no configuration exists.
void ReadConfiguration(UiContext& ws);

// Saves the configuration file atomically, creating the configuration folder (0700) first. A failure shows its message
// and asks whether to try again; no or cancel stops with the abort flag and the previous file untouched.
void WriteConfiguration(UiContext& ws);

// Keeps a setting the user chose (settings OK, a language or unit switch, leaving the program):
// WriteConfiguration when the configuration has a folder, the abort flag as it was before.
void KeepConfiguration(UiContext& ws);

// Completes empty folders and reports each unusable one; asks for a new temporary folder
// when that one is unusable. Never stops the start: the abort flag is clear afterwards.
void CheckFolders(UiContext& ws);
// The effective folders of the material tables and of help/message files, with trailing "/":
// the configured folder, or the program's data directory when none is configured.
std::string dbfFolder(const Settings& settings, const Host& host);
std::string pltFolder(const Settings& settings, const Host& host);
inline std::string dbfFolder(const UiContext& ws) { return dbfFolder(ws, ws); }
inline std::string pltFolder(const UiContext& ws) { return pltFolder(ws, ws); }

// The recent-files file: a session line, then the four remembered names. A missing file
// clears the four names and sets the abort flag.
void ReadRecentFiles(UiContext& ws);

// Creates the configuration folder (0700) when missing. Failure: the file-creation message and the abort flag; the
// previous file stays.
void WriteRecentFiles(UiContext& ws);

}  // namespace velk
