// The settings part of the session: the configuration values, where they came from, and the
// state of the start (working folder, recent files). Plain data; reading and writing them is
// in config/configfile.h (bytes) and dialogs/configio.h (files, with the user's answers).
#pragma once

#include <array>
#include <string>

#include "base/identity.h"
#include "config/config.h"

namespace velk {

struct StartupState {
  std::string startDir;                // working folder at start
  std::string configDir;               // folder of velk.cfg / velk.cff (with trailing "/")
  std::string shortName = kShortName;  // names the configuration files; "Import.." may change it
  bool startedWithFile = false;
  bool batchCad = false;
  bool noGui = false;  // "/NOGUI" on the command line: nothing is shown, messages go to stderr
  std::array<std::string, 4> recentFiles{};
  // The menu language a new configuration starts in (the desktop's locale; 0 German when unknown).
  int desktopLanguage = 0;
};

struct Settings {
  Configuration config;
  StartupState start;

  const NumberSettings& num() const { return config.num; }
};

}  // namespace velk
