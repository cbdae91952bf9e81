// Value requests, message boxes and file-name services.
#include "dialogs/dialogs.h"

#include <algorithm>
#include <vector>

#include "base/codepage.h"
#include "platform/files.h"

namespace velk {

void SetHelpNumber(UiContext& ws, uint16_t number) { ws.helpNumber = number; }

// The shared re-ask loop of the numeric entries. parse returns false for a non-number;
// inRange checks the bounds; rangeText is the message shown for an out-of-range value.
template <typename Parse, typename InRange, typename Store>
static void enterNumber(UiContext& ws, const std::string& prompt, int maxLength, std::string offered, Parse parse,
                        InRange inRange, const std::string& rangeText, Store store) {
  const std::string original = offered;
  for (;;) {
    const std::optional<TextResult> typed =
        ws.ui.show(TextRequest{"Eingabe", prompt, offered, maxLength, ws.helpNumber});
    if (!typed) {
      ws.abort = true;
      return;
    }
    const std::string& text = typed->text;
    // An unchanged text keeps the exact stored value: no re-parsing, so no rounding.
    if (text == original) {
      ws.abort = false;
      return;
    }
    auto parsed = parse(text);
    if (!parsed) {
      ws.ui.beep();
      ShowError(ws, "Ung" + oem("ü") + "ltige Eingabe \"" + text + "\" !");
      offered = original;
      continue;
    }
    if (!inRange(*parsed)) {
      ws.ui.beep();
      ShowError(ws, oem("Gültiger Wertebereich: ") + rangeText + " !");
      offered = text;
      continue;
    }
    store(*parsed);
    ws.abort = false;
    return;
  }
}

static std::optional<Real> parseDialogReal(const std::string& text) {
  std::string s = text;
  if (auto c = s.find(','); c != std::string::npos) s[c] = '.';
  Real v = 0;
  if (!tryParseReal(trim(s), v)) return std::nullopt;
  return v;
}

static std::optional<long long> parseDialogInt(const std::string& text) {
  long long v = 0;
  if (!tryParseInt(trim(text), v)) return std::nullopt;
  return v;
}

void EnterReal(UiContext& ws, const std::string& prompt, Real& value, Real lower, Real upper) {
  const NumberSettings& s = ws.num();
  enterNumber(
      ws, prompt, 30, fmtSig(s, value), parseDialogReal, [&](Real v) { return v >= lower && v <= upper; },
      fmtSig(s, lower) + " .. " + fmtSig(s, upper), [&](Real v) { value = v; });
}

void EnterShortReal(UiContext& ws, const std::string& prompt, double& value, Real lower, Real upper) {
  Real wide = value;
  bool changed = false;
  const NumberSettings& s = ws.num();
  enterNumber(
      ws, prompt, 30, fmtSig(s, wide), parseDialogReal, [&](Real v) { return v >= lower && v <= upper; },
      fmtSig(s, lower) + " .. " + fmtSig(s, upper),
      [&](Real v) {
        wide = v;
        changed = true;
      });
  if (changed) value = static_cast<double>(wide);
}

template <typename T>
static void enterIntegerImpl(UiContext& ws, const std::string& prompt, T& value, long b1, long b2) {
  long lo = std::min(b1, b2), hi = std::max(b1, b2);
  enterNumber(
      ws, prompt, 12, fmtInt(static_cast<long long>(value)), parseDialogInt,
      [&](long long v) { return v >= lo && v <= hi; }, fmtInt(lo) + " .. " + fmtInt(hi),
      [&](long long v) { value = static_cast<T>(v); });
}

void EnterInteger(UiContext& ws, const std::string& prompt, long& value, long bound1, long bound2) {
  enterIntegerImpl(ws, prompt, value, bound1, bound2);
}

void EnterInteger16(UiContext& ws, const std::string& prompt, uint16_t& value, long bound1, long bound2) {
  // A 16-bit variable can hold only 0..65535 whatever the caller's bounds say.
  enterIntegerImpl(ws, prompt, value, std::clamp(bound1, 0L, 65535L), std::clamp(bound2, 0L, 65535L));
}

void EnterText(UiContext& ws, const std::string& prompt, int maxLength, std::string& text) {
  const std::optional<TextResult> typed =
      ws.ui.show(TextRequest{"Eingabe", prompt, leftStr(text, maxLength), maxLength, ws.helpNumber});
  if (!typed) {
    ws.abort = true;
    return;
  }
  text = leftStr(typed->text, maxLength);
  ws.abort = false;
}

void ChooseItem(UiContext& ws, const std::string& prompt, int n, uint16_t& choice) {
  n = std::clamp(n, 0, kChoiceItems);
  if (n == 0) {
    ws.abort = true;
    return;
  }
  if (choice == 0 || choice > n) choice = 1;
  std::vector<std::string> items(ws.choiceItems.begin() + 1, ws.choiceItems.begin() + 1 + n);
  const int index = choice;
  const std::optional<ChoiceResult> chosen =
      n <= 7 ? ws.ui.show(RadioRequest{prompt, std::move(items), index, ws.helpNumber})
             : ws.ui.show(ListRequest{prompt, std::move(items), index, ws.helpNumber});
  if (!chosen) {
    ws.abort = true;
    return;
  }
  ws.abort = false;
  choice = static_cast<uint16_t>(std::clamp(chosen->index, 1, n));
}

void AskYesNo(UiContext& ws, const std::string& prompt, char& answer) {
  const bool yes = !(answer == 'N' || answer == 'n');
  const std::optional<YesNoResult> said = ws.ui.show(YesNoRequest{prompt, yes, ws.helpNumber});
  if (!said) {
    ws.abort = true;
    return;
  }
  ws.abort = false;
  answer = said->yes ? 'J' : 'N';
}

void AskBoolean(UiContext& ws, const std::string& prompt, bool& flag) {
  char a = flag ? 'J' : 'N';
  AskYesNo(ws, prompt, a);
  if (!ws.abort) flag = a != 'N';
}

bool AskQuestion(UiContext& ws, const std::string& question) {
  const std::optional<YesNoResult> said = ws.ui.show(QuestionRequest{kProgramTitle, question});
  if (said) return said->yes;
  ws.abort = true;
  return false;
}

void ShowError(UiContext& ws, const std::string& text) { ws.diag.error(text); }

void ShowInfo(UiContext& ws, const std::string& text) { ws.diag.info(text); }

void ShowTitled(UiContext& ws, const std::string& caption, const std::string& text) { ws.diag.titled(caption, text); }

void BusyCursor(UiContext& ws) { ws.ui.setCursor(CursorShape::Busy); }
void NormalCursor(UiContext& ws) { ws.ui.setCursor(CursorShape::Normal); }

std::string windowTitle(std::string_view programTitle, std::string_view fileName, std::string_view fileExt) {
  std::string title(programTitle);
  if (fileName.empty()) return title;
  title += "  -  ";
  title += fileName;
  if (!hasExtension(fileName) && !fileExt.empty()) {
    title += '.';
    title += fileExt;
  }
  return title;
}

void SetWindowTitle(UiContext& ws) {
  const Spring& s = ws.spring;
  ws.ui.setWindowTitle(windowTitle(kProgramTitle, oem(s.fileName), s.fileExt));
}

void ChooseFolder(UiContext& ws, const std::string& start, std::string& result) {
  FolderRequest q;
  q.start = isDirectory(start) ? start : std::string();
  const std::optional<FileResult> chosen = ws.ui.show(q);
  result = chosen ? chosen->path : start;
  ws.abort = false;
}

static std::string withoutTrailingSeparator(std::string folder) {
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

void ChooseFileToOpen(UiContext& ws, int kind, std::string& folder, const std::string& filter, std::string& result) {
  OpenFileRequest q;
  q.folder = withoutTrailingSeparator(folder);
  q.filter = filter + "|" + filter;
  const std::optional<FileResult> chosen = ws.ui.show(q);
  if (!chosen) {
    result.clear();
    ws.abort = true;
    return;
  }
  ws.abort = false;
  const std::string& path = chosen->path;
  folder = directoryOf(path);
  if (kind == 5) {
    result = path;
  } else {
    result = stripExtension(lastComponent(path));
    if (kind == 4) {
      std::string ext = extensionOf(path);
      if (ext.size() == 3) ws.spring.fileExt = ext;
    }
  }
}

void ChooseFileFrom(UiContext& ws, const std::string& defaultFile, const std::string& filter, std::string& result) {
  OpenFileRequest q;
  q.folder = withoutTrailingSeparator(directoryOf(defaultFile));
  q.filter = filter + "|" + filter;
  q.defaultName = lastComponent(defaultFile);
  const std::optional<FileResult> chosen = ws.ui.show(q);
  if (!chosen) {
    result = defaultFile;
    ws.abort = true;
    return;
  }
  ws.abort = false;
  result = chosen->path;
}

static bool containsAktuell(const std::string& name) {
  return lower(lastComponent(name)).find("aktuell") != std::string::npos;
}

void ChooseOutputFile(UiContext& ws, const std::string& name, const std::string& ext, std::string& result) {
  if (ws.start.startedWithFile) {
    if (ws.config.archiveMode && !containsAktuell(name)) {
      ShowError(ws, oem("File- und User- Befehle sind im Archivierungsmodus nicht möglich."));
      ws.abort = true;
      return;
    }
    ws.start.startedWithFile = false;
  }
  ws.abort = false;
  if (!name.empty()) {
    result = hasExtension(name) ? name : withSeparator(ws.spring.dataDir) + name + "." + ext;
  } else {
    SaveFileRequest q;
    q.folder = withoutTrailingSeparator(ws.spring.dataDir);
    q.filter = "*." + ext + "|*." + ext;
    const std::optional<FileResult> chosen = ws.ui.show(q);
    if (!chosen) {
      ws.abort = true;
      return;
    }
    std::string dir = directoryOf(chosen->path);
    std::string bare = stripExtension(lastComponent(chosen->path));
    result = withSeparator(dir) + bare + "." + ext;
    ws.spring.dataDir = dir;
    ws.spring.fileName = bare;
  }
  PrepareOutputFile(ws, result);
}

void PrepareOutputFile(UiContext& ws, const std::string& name) {
  ws.abort = false;
  if (fileExists(name) && !containsAktuell(name) && ws.overwritePrompt) {
    SetHelpNumber(ws, 3055);
    bool yes = AskQuestion(ws, oem(name) + " " + "existiert bereits" + ".   " + oem("überschreiben") + " ?");
    if (!yes) {
      ws.abort = true;
      return;
    }
  }
  // Creation test with a probe beside the file: the file itself is never created or removed here.
  if (!canCreateFileAt(name, ws.io)) {
    ShowError(ws, oem("Ungültiger Dateiname \"") + oem(name) + "\" !");
    ws.abort = true;
  }
}

void CheckInputFile(UiContext& ws, const std::string& name) {
  if (!canOpenForReading(name)) {
    ShowError(ws, "Datei " + oem(trim(name)) + " " + "nicht gefunden oder kein Zugriffsrecht" + " !");
    ws.abort = true;
  }
}

std::string ioErrorText(IoStage stage, int code) {
  switch (stage) {
    case IoStage::Write:
      if (code == 100) return "Lesefehler";
      if (code == kIoDiskFull) return "Diskette/Platte voll";
      if (code == kIoBadNumber) return "Falsches numerisches Format";
      return "Fehler bei Zugriff auf Diskette/Platte";
    case IoStage::Close:
      if (code == kIoDiskFull) return "Diskette/Platte voll";
      return oem("Fehler beim Schließen einer Datei");
    case IoStage::Create:
      if (code == kIoDiskFull) return "Diskette/Platte voll";
      return "file write error";
  }
  return "file write error";
}

void ReportIoError(UiContext& ws, IoStage stage, int code) {
  ShowError(ws, ioErrorText(stage, code));
  ws.abort = true;
}

void ReportIoError(UiContext& ws, IoStage stage, const std::string& path, int err) {
  std::string text = ioErrorText(stage, ioCodeFromErrno(err));
  if (!path.empty()) text += ": " + oem(path);
  if (err != 0) text += " (" + oem(writeFailureReason(path, err)) + ")";
  ShowError(ws, text);
  ws.abort = true;
}

}  // namespace velk
