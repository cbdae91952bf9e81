// Reads and writes the configuration file and the recent-files file, and checks the configured
// folders, with the user's answers where a file or folder fails.
#include "dialogs/configio.h"

#include <filesystem>

#include "base/codepage.h"
#include "base/textfile.h"
#include "dialogs/dialogs.h"

namespace velk {

namespace {

std::string workingFolder(const UiContext& ws) {
  return withSeparator(ws.start.startDir.empty() ? currentDirectory() : ws.start.startDir);
}

bool canList(const std::string& folder) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  return !ec;
}

// A configuration file in the working folder may come with a folder of someone else's springs
// and name programs to start: it is never read, and the user is told once where the read one is.
void noticeWorkingFolderConfiguration(UiContext& ws) {
  const std::string name = ws.start.shortName + ".cfg";
  const std::string here = workingFolder(ws) + name;
  std::error_code ec;
  if (!std::filesystem::exists(here, ec)) return;
  if (std::filesystem::equivalent(here, ws.start.configDir + name, ec)) return;
  ShowInfo(ws, utf8ToCp850(here) + " wird nicht gelesen; Konfiguration aus " + utf8ToCp850(ws.start.configDir));
}

}  // namespace

void ReadConfiguration(UiContext& ws) {
  noticeWorkingFolderConfiguration(ws);
  const std::string name = ws.start.shortName + ".cfg";
  std::optional<std::string> bytes = readWholeFile(ws.start.configDir + name, kMaxConfigFileBytes);
  if (!bytes) {
    applyFirstStartValues(ws, ws.screen);
    ws.abort = true;
    return;
  }
  readConfigurationFrom(ws, ws.screen, *bytes);
}

void WriteConfiguration(UiContext& ws) {
  const std::string bytes = configurationFileBytes(ws);
  const std::string path = configFilePath(ws);
  for (;;) {
    int err = makePrivateFolders(ws.start.configDir);
    if (err == 0) err = atomicWriteFile(path, bytes, ws.io);
    if (err == 0) return;
    const int code = ioCodeFromErrno(err);
    if (code == kIoWriteProtected)
      ShowError(ws, "Schreibschutz entfernen !");
    else if (code == 152)
      ShowError(ws, "Programmdiskette einlegen !");
    else
      ShowError(ws, "I/O-Error " + fmtInt(code));
    // The user may give up: a folder that stays write-protected would otherwise hold the
    // program in this loop for ever.
    if (!AskQuestion(ws, "Erneut versuchen ?")) {
      ws.abort = true;
      return;
    }
  }
}

void KeepConfiguration(UiContext& ws) {
  // Without a configuration folder the file would land in whatever folder is current.
  if (ws.start.configDir.empty()) return;
  const bool aborted = ws.abort;
  WriteConfiguration(ws);
  ws.abort = aborted;
}

std::string dbfFolder(const Settings& settings, const Host& host) {
  const std::string& dir = settings.config.dbfDir;
  return dir.empty() ? withSeparator(host.programData) : withSeparator(dir);
}

std::string pltFolder(const Settings& settings, const Host& host) {
  const std::string& dir = settings.config.pltDir;
  return dir.empty() ? withSeparator(host.programData) : withSeparator(dir);
}

void CheckFolders(UiContext& ws) {
  Configuration& c = ws.config;
  const std::string work = workingFolder(ws);
  if (c.tempDir.empty()) c.tempDir = ws.tempRoot;
  if (c.tempDir.empty()) c.tempDir = work;
  if (c.ediDir.empty()) c.ediDir = work;
  if (c.dataDir.empty()) c.dataDir = work;
  // Every configured folder ends in a separator, so that callers may append a file name.
  for (std::string* dir : {&c.cadDir, &c.dbfDir, &c.pltDir, &c.tempDir, &c.ediDir, &c.dataDir, &c.programDir})
    *dir = withSeparator(*dir);

  if (!folderWritable(c.cadDir, ws.io)) ShowError(ws, oem("ungültiger CAD Ordner konfiguriert"));
  if (!canList(dbfFolder(ws))) ShowError(ws, oem("ungültiger DBF Ordner konfiguriert"));
  if (!canList(pltFolder(ws))) ShowError(ws, oem("ungültiger PLT Ordner konfiguriert"));
  if (!folderWritable(c.tempDir, ws.io)) {
    const std::string message = oem("ungültiger Ordner für temporäre Dateien konfiguriert");
    ShowError(ws, message);
    for (;;) {
      std::string entered = utf8ToCp850(c.tempDir);
      EnterText(ws, oem("Ordner für temporäre Dateien"), 60, entered);
      if (ws.abort) {
        // Without a usable folder reports and exports would fail later: use the private one.
        if (folderWritable(ws.tempRoot, ws.io)) c.tempDir = ws.tempRoot;
        break;
      }
      const std::string folder = withSeparator(trim(cp850ToUtf8(entered)));
      if (!folder.empty() && folderWritable(folder, ws.io)) {
        c.tempDir = folder;
        break;
      }
      ShowError(ws, message);
    }
  }
  if (!folderWritable(c.ediDir, ws.io)) ShowError(ws, oem("ungültiger EDI Ordner konfiguriert"));
  if (!folderWritable(c.dataDir, ws.io)) ShowError(ws, oem("ungültiger Data Ordner konfiguriert"));
  // Folder problems never stop the start.
  ws.abort = false;
}

void ReadRecentFiles(UiContext& ws) {
  std::optional<std::string> bytes = readWholeFile(recentFilesPath(ws), kMaxConfigFileBytes);
  if (!bytes) {
    for (std::string& name : ws.start.recentFiles) name.clear();
    ws.abort = true;
    return;
  }
  readRecentFilesFrom(ws, *bytes);
}

void WriteRecentFiles(UiContext& ws) {
  int err = makePrivateFolders(ws.start.configDir);
  if (err == 0) err = atomicWriteFile(recentFilesPath(ws), recentFilesBytes(ws), ws.io);
  if (err != 0) ReportIoError(ws, IoStage::Create, recentFilesPath(ws), err);
}

}  // namespace velk
