// The workspace: the one owner of all process-wide state (spring, configuration, flags,
// dialog state, start-up state). Built fresh by every test and passed by reference.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "calc/material.h"
#include "calc/messages.h"
#include "config/config.h"
#include "data/spring.h"
#include "dialogs/onlinetable.h"
#include "dialogs/uiservices.h"
#include "graphics/diagram.h"
#include "graphics/drawing.h"
#include "help/hpgl.h"
#include "platform/files.h"
#include "platform/process.h"
#include "report/reportstate.h"
#include "tables/tableservice.h"

namespace velk {

// Program identity.
inline constexpr const char* kAppTitle = "VELK";
inline constexpr const char* kProgramTitle = "VELK - Spiralfedern";
inline constexpr const char* kVersion = "3.4";
inline constexpr const char* kShortName = "velk";

constexpr int kChoiceItems = 135;

struct StartupState {
  std::string startDir;              // working folder at start
  std::string configDir;             // folder of velk.cfg / velk.cff (with trailing "/")
  std::string shortName = kShortName;  // names the configuration files; "Import.." may change it
  bool startedWithFile = false;
  bool batchCad = false;
  bool noGui = false;  // "/NOGUI" on the command line: nothing is shown, messages go to stderr
  std::array<std::string, 4> recentFiles{};
};

struct Workspace {
  explicit Workspace(UiServices& ui);

  UiServices& ui;
  Spring spring;
  Configuration config;
  CalcMessages messages;
  Materials materials;
  TableService table;  // the one open dBASE table
  ScreenMetrics screen;
  StartupState start;
  IoHooks io;

  // The program's data directory (shipped tables, help, template) and private temp folder.
  std::string programData;
  std::string tempRoot;

  bool abort = false;
  bool errorMessagesEnabled = true;
  bool overwritePrompt = true;
  uint16_t helpNumber = 0;
  // Shared choice-item table, 1-based (index 0 unused).
  std::array<std::string, kChoiceItems + 1> choiceItems{};
  // Exchange area of the online input form (design modes).
  OnlineTable online;
  // Drawing layer (current device and shared state) and the graphics window's display list.
  DrawingState drawing;
  DisplayList display;
  // Diagram layer of the current sheet, with the user limits that outlive it.
  DiagramState diagram;
  // Help images: the HP-GL/2 reader's state, which carries over from one image to the next.
  HpglState hpgl;
  // Help images (help/imagebrowser.h): where the browser window was left, kept for the run.
  int helpImagesLeft = 1, helpImagesTop = 1;

  // Report writer's page state (report/reportwriter.h).
  ReportState report;
  // Plot program output (cad/plotprogram.h): the current plot command line, 1-based index into
  // config.plotCommandLines; chosen in the device dialog, started by the plot device's Finish.
  int plotCommandLine = 1;

  // Starts external programs; tests set its hook so nothing is launched.
  ProgramLauncher programs;

  const NumberSettings& num() const { return config.num; }
};

}  // namespace velk
