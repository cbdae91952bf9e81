// The parts of the session the user-interface layer works with: the host services (the window
// services, I/O hooks, program launcher, screen, folders) and the interaction state (abort flag,
// help number, the shared choice items, the online form's exchange area).
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "base/diagnostics.h"
#include "config/settings.h"
#include "data/document.h"
#include "platform/files.h"
#include "platform/process.h"
#include "ui/onlineform.h"
#include "ui/uiservices.h"

namespace velk {

constexpr int kChoiceItems = 135;

// What the program gets from the machine it runs on. Tests replace the window services with a
// scripted one, the I/O hooks with injected faults and the launcher's hook with a recorder.
struct Host {
  explicit Host(UiServices& services);

  UiServices& ui;
  IoHooks io;
  ProgramLauncher programs;
  ScreenMetrics screen;
  // Help texts and images for the windows' help buttons; set by the session (none in a bare
  // context: the buttons then do nothing).
  HelpProvider* help = nullptr;
  // The program's data directory (shipped tables, help, template) and private temp folder.
  std::string programData;
  std::string tempRoot;
};

// State of the conversation with the user, shared by every command.
struct Interaction {
  bool abort = false;
  bool errorMessagesEnabled = true;
  bool overwritePrompt = true;
  uint16_t helpNumber = 0;
  // Shared choice-item table, 1-based (index 0 unused).
  std::array<std::string, kChoiceItems + 1> choiceItems{};
  // Exchange area of the online input form (design modes).
  OnlineTable online;
  // Command lines named by a spring file that the user has allowed to start in this session
  // (each the argument vector as it is started).
  std::set<std::vector<std::string>> confirmedCommands;
};

// What the value requests, message boxes and file-name services take: the host services, the
// settings, the interaction state and the document (whose file the file services name), and the
// diagnostics sink whose messages it shows.
struct UiContext : Host, Settings, Interaction, Document {
  // Installs the sink's listener: errors (unless switched off) and notices as message boxes.
  explicit UiContext(UiServices& services);
  UiContext(const UiContext&) = delete;
  UiContext& operator=(const UiContext&) = delete;

  Diagnostics diag;
};

}  // namespace velk
