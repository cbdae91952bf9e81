// Message explanations: the explanation window with saving an edited explanation, the message
// window and the printed message list.
#include "reportui/explanations.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <system_error>

#include "base/codepage.h"
#include "dialogs/configio.h"
#include "dialogs/dialogs.h"

namespace velk {

namespace {

constexpr uint16_t kExplanationHelp = 1970;
constexpr uint16_t kMessageWindowHelp = 2070;
constexpr uint16_t kMessageChoiceHelp = 1210;

std::string temporaryFolder(const ReportContext& ws) {
  return withSeparator(ws.config.tempDir.empty() ? ws.tempRoot : ws.config.tempDir);
}

bool samePath(const std::string& a, const std::string& b) {
  std::error_code ea, eb;
  const auto ca = std::filesystem::weakly_canonical(a, ea);
  const auto cb = std::filesystem::weakly_canonical(b, eb);
  if (ea || eb) return a == b;
  return ca == cb;
}

}  // namespace

std::string explanationFilePath(const CalcContext& ws) { return pltFolder(ws) + ws.start.shortName + ".err"; }

MessageExplanation ExplainMessage(const CalcContext& ws, int i) {
  return ExplainMessage(explanationFilePath(ws), ws.messages, i);
}
std::string CauseText(const CalcContext& ws, int i) { return ExplainMessage(ws, i).cause; }
std::string RemedyText(const CalcContext& ws, int i) { return ExplainMessage(ws, i).remedy; }

void ShowExplanation(ReportContext& ws, int i) {
  const std::string path = explanationFilePath(ws);
  CheckInputFile(ws, path);
  if (ws.abort) return;
  const std::optional<std::string> bytes = readWholeFile(path, kMaxExplanationFileBytes);
  if (!bytes) {  // vanished since the check
    CheckInputFile(ws, path);
    ws.abort = true;
    return;
  }
  const std::string message = CalcMessageAt(ws.messages, i);
  const ExplanationEntry entry = findExplanation(*bytes, message, kWindowMatchLength);
  if (!entry.found) {
    ShowTitled(ws, "Meldung", NoExplanationText());
    return;
  }
  ExplanationRequest request;
  request.message = message;
  request.cause = entry.cause;
  request.remedy = entry.remedy;
  request.helpNumber = kExplanationHelp;
  const std::optional<ExplanationResult> result = ws.ui.show(request);
  if (result && result->edited && AskQuestion(ws, "Save Changes ?"))
    SaveExplanation(ws, message, result->cause, result->remedy);
}

void SaveExplanation(ReportContext& ws, const std::string& message, const std::string& cause,
                     const std::string& remedy) {
  const std::string source = explanationFilePath(ws);
  const std::string work = temporaryFolder(ws) + ws.start.shortName + ".err";
  CheckInputFile(ws, source);
  if (ws.abort) return;
  int err = 0;
  const std::optional<std::string> bytes = readWholeFile(source, kMaxExplanationFileBytes + 1, &err);
  if (!bytes) {
    CheckInputFile(ws, source);
    ws.abort = true;
    return;
  }
  if (bytes->size() > kMaxExplanationFileBytes) {
    // Only a file read whole can be written back without losing its end.
    ShowError(ws, "Datei " + utf8ToCp850(source) + oem(" ist zu groß !"));
    ws.abort = true;
    return;
  }
  const std::optional<std::string> updated = replaceExplanation(*bytes, message, cause, remedy);
  if (!updated) {
    ShowError(ws, message + " not found.");
    ws.abort = true;
    return;
  }
  // The new file goes through the work copy in the temporary folder; when that folder is the
  // PLT folder itself the work copy is the file, which the atomic replacement covers as well.
  std::string content = *updated;
  const bool viaWorkCopy = !samePath(source, work);
  if (viaWorkCopy) {
    // A configured temporary folder may be shared: never write through a link planted there.
    ::unlink(work.c_str());
    if (int e = atomicWriteFile(work, content, ws.io)) return ReportIoError(ws, IoStage::Create, work, e);
    std::optional<std::string> copied = readWholeFile(work, content.size() + 1, &err);
    if (!copied || *copied != content) {
      ::unlink(work.c_str());
      return ReportIoError(ws, IoStage::Create, work, copied ? 0 : err);
    }
    content = std::move(*copied);
  }
  const int e = atomicWriteFile(source, content, ws.io);
  if (viaWorkCopy) ::unlink(work.c_str());
  if (e) ReportIoError(ws, IoStage::Create, source, e);
}

void ShowMessageWindow(ReportContext& ws) {
  if (ws.start.noGui) return;
  const int n = std::clamp(ws.messages.count, 0, kMaxCalcMessages);
  if (n == 0) {
    ShowInfo(ws, NoMessagesText());
    return;
  }
  for (int k = 1; k <= n; ++k) ws.choiceItems[static_cast<std::size_t>(k)] = CalcMessageAt(ws.messages, k);
  ws.choiceItems[static_cast<std::size_t>(n) + 1] = oem("Weiter/zurück...");
  SetHelpNumber(ws, kMessageWindowHelp);
  const uint16_t leave = static_cast<uint16_t>(n + 1);
  uint16_t choice = ws.config.helpLevel >= 2 ? 1 : leave;
  for (;;) {
    SetHelpNumber(ws, kMessageChoiceHelp);
    ChooseItem(ws, "Berechnungsmodul meldet Warnungen oder Fehler, siehe Ursache und Abhilfe.", n + 1, choice);
    if (ws.abort || choice >= leave) return;
    const int shown = choice;
    ShowExplanation(ws, shown);
    if (ws.abort || shown >= n) return;
    choice = static_cast<uint16_t>(shown + 1);
  }
}

}  // namespace velk
