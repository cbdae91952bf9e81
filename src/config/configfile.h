// The bytes of the configuration file (short name + ".cfg") and of the recent-files file
// (".cff"): reading them into the settings and writing them from the settings.
#pragma once

#include <string>
#include <string_view>

#include "config/settings.h"

namespace velk {

// Largest part of a configuration or recent-files file that is read; the rest is ignored.
constexpr std::size_t kMaxConfigFileBytes = 1u << 20;

// The menu language of a locale name such as "fr_CH.UTF-8" ("de" German, "en" English, "fr",
// "it", "sv", "pt", "ro", "ko", "es" their own); any other locale, "C" and "POSIX" English.
int languageForLocale(std::string_view locale);
// The language of the desktop: the first set of LC_ALL, LC_MESSAGES and LANG, as the C library
// chooses the messages' language.
int languageForLocale(std::string_view lcAll, std::string_view lcMessages, std::string_view lang);

// start.startDir = the current directory; start.configDir = the user's configuration folder
// (userConfigDir()), never the working folder; start.desktopLanguage from the environment.
void InitConfigLocation(Settings& ws);

// configDir + shortName + ".cfg".
std::string configFilePath(const Settings& ws);
// configDir + shortName + ".cff".
std::string recentFilesPath(const Settings& ws);

// The reader proper on the bytes of a file: every row with its corrections, then the
// resolution rule. Survives any bytes.
void readConfigurationFrom(Settings& ws, const ScreenMetrics& screen, std::string_view bytes);
// The first-start values (no file at all): screen-derived resolution, text window and dialog scale,
// CAD texts as ANSI, the desktop's language.
void applyFirstStartValues(Settings& ws, const ScreenMetrics& screen);

// The bytes WriteConfiguration saves: CR LF lines, code page 850 keys, reals always with ".".
std::string configurationFileBytes(const Settings& ws);

// The recent-files file: a session line, then the four remembered names.
void readRecentFilesFrom(Settings& ws, std::string_view bytes);
std::string recentFilesBytes(const Settings& ws);

}  // namespace velk
