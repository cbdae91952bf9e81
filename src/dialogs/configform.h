// The configuration dialog's rules: what each page shows, what its "<", "..." and preset buttons
// do, and how the result is applied. The window's request and result are in ui/configform.h.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/config.h"
#include "ui/configform.h"

namespace velk {

// ---- Report devices offered by name ----

// deviceNames[i] is the choice text of report device i + 1 (devices 1..7; 8 and 9 are never
// offered). The name of a device that is not offered is empty; an unknown name gives 0.
std::string DeviceNameForCode(const std::vector<std::string>& deviceNames, int code);
int DeviceCodeForName(const std::vector<std::string>& deviceNames, std::string_view name);

// What the core does for the choosers; the caller implements it with its dialogs. Every method
// answers nullopt when the user cancels, and the field keeps its text.
class ConfigFormChoosers {
 public:
  virtual ~ConfigFormChoosers() = default;
  // Folder selection starting at start (native paths).
  virtual std::optional<std::string> chooseFolder(const std::string& start) = 0;
  // Open-file dialog starting in the folder of current; filter in "text|pattern" form.
  virtual std::optional<std::string> chooseFile(const std::string& current, const std::string& filter) = 0;
  // The plot configuration form for the line (its result is the new line).
  virtual std::optional<std::string> configurePlotLine(const std::string& line) = 0;
  // A text entry with the prompt and maxLength characters for the line.
  virtual std::optional<std::string> enterText(const std::string& prompt, int maxLength, const std::string& text) = 0;
};

// What the request is built from besides the configuration.
struct ConfigFormContext {
  std::string applicationTitle = "VELK";
  std::string programTitle = "VELK - Spiralfedern";
  std::string workingDir;                // native, with "/"
  std::string configDir;                 // native, with "/": where "Import.." starts
  std::string defaultTempDir;            // native: what "<" of "Temporärer Ordner" puts in
  std::vector<std::string> deviceNames;  // DeviceChoiceText(1..7), code page 850
  std::string fileName;                  // the input file's name for "file name " + name + " ?"
  std::string dateTime;                  // today's date and time for the date check box
  ScreenMetrics screen;
  int mainWindowWidth = 1024;      // outer width of the main window
  int mainClientWidth = 1024 - 8;  // its client width
  // The tool tip of a help number (HelpHint); used when the help level is above 0. May be empty.
  std::function<std::string(std::uint16_t)> helpHint;
  // The choosers; null: the "...", "Config" and "Edit" buttons change nothing. Never owned; it
  // must outlive the request.
  ConfigFormChoosers* choosers = nullptr;
};

ConfigFormRequest MakeConfigFormRequest(const Configuration& config, const ConfigFormContext& ctx, int page = 0);

// The controls filled from a configuration (numbers formatted with its own number settings).
ConfigFormValues ConfigFormValuesFrom(const Configuration& c, const std::vector<std::string>& deviceNames);

// What a "<" or fill button puts into the values. base: the configuration the window was filled
// from (for values a proposal derives from when a field cannot be read).
ConfigFormValues ProposeConfigValues(ConfigProposal p, const ConfigFormValues& v, const Configuration& base,
                                     const ConfigFormContext& ctx);
// What a chooser puts into the values (line: 0..4 for the plot command lines).
ConfigFormValues ChooseConfigValue(ConfigChooser which, int line, const ConfigFormValues& v,
                                   ConfigFormChoosers& choosers);

// ---- Applying the result ----

// Copies every control of result.values into c. A field whose text is unchanged from
// request.values keeps its value exactly; a changed number is checked: text that is not a
// number gives "Ungültige Eingabe "<text>" !", a number outside its range "Gültiger
// Wertebereich: <lo> .. <hi> !", and in both cases the field keeps its previous value.
// Returns those messages (code page 850) in page order; empty when everything was taken.
// Call it only for the exits Ok and Save.
std::vector<std::string> ApplyConfigForm(Configuration& c, const ConfigFormRequest& request,
                                         const ConfigFormResult& result);

// Where "Import.." points the program: the chosen file's folder becomes the configuration
// folder, its name without extension (at most 25 characters) the short name.
struct ConfigImportTarget {
  std::string configDir;  // with "/"; empty for a bare file name (the current folder)
  std::string shortName;
};
ConfigImportTarget ImportTargetFor(std::string_view path);

// What changed between two configurations that the running program must act on.
struct ConfigChanges {
  bool windowSize = false;    // resolution: resize the graphics window
  bool background = false;    // background colour of the graphics window
  bool numberFormat = false;  // units, decimals, separators, date, angle, special characters
  bool redraw = false;        // anything the result view shows: redraw it
  bool folders = false;       // a folder: CheckFolders (completes and checks them)
};
ConfigChanges ConfigChangesBetween(const Configuration& before, const Configuration& after);

// What the caller does after the window closed (cancel: nothing at all).
//   Ok:     ApplyConfigForm, WriteConfiguration when writeFile, then act on `changes`.
//   Save:   ApplyConfigForm, WriteConfiguration when writeFile, act on `changes`, show the
//           window again on result.page.
//   Import: set the configuration folder and short name to `import`, ReadConfiguration,
//           CheckFolders, act on ConfigChangesBetween(before, after reading), show the window
//           again on result.page with the values read.
// When ApplyConfigForm returned messages, the caller shows them (ShowError each) and the
// window opens again on result.page, and the file is not written.
struct ConfigFormFollowUp {
  bool writeFile = false;
  bool reopen = false;
  std::optional<ConfigImportTarget> import;
  ConfigChanges changes;
};
// before/after: the configuration before and after ApplyConfigForm (equal for Import).
ConfigFormFollowUp ConfigFormAfter(const Configuration& before, const Configuration& after,
                                   const ConfigFormResult& result, const std::vector<std::string>& messages);

// The whole of the above for what the window returned: cancel (nullopt) and Import leave c
// untouched; Ok and Save apply the controls. messages: those of ApplyConfigForm.
struct ConfigFormOutcome {
  ConfigFormFollowUp followUp;
  std::vector<std::string> messages;
};
ConfigFormOutcome FinishConfigForm(Configuration& c, const ConfigFormRequest& request,
                                   const std::optional<ConfigFormResult>& result);

}  // namespace velk
