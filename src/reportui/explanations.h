// The explanation window of a calculation message, the message window and the printed message
// list (the explanation file itself: report/explanationfile.h).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "report/explanationfile.h"
#include "reportui/context.h"

namespace velk {

// PLT folder + short name + ".err".
std::string explanationFilePath(const CalcContext& ws);
// Cause and remedy of message i of the session's message list (report/explanationfile.h).
MessageExplanation ExplainMessage(const CalcContext& ws, int i);
std::string CauseText(const CalcContext& ws, int i);
std::string RemedyText(const CalcContext& ws, int i);

// The explanation window for message i: a missing file is reported through CheckInputFile
// (abort flag set), a message without entry with the box "Meldung". An edited window closed
// with OK asks "Save Changes ?"; yes saves, cancel sets the abort flag.
void ShowExplanation(ReportContext& ws, int i);

// Replaces cause and remedy of message's entry in the explanation file. The new file is made
// as a work copy in the folder for temporary files and then replaces the file atomically: any
// failure shows its message, sets the abort flag and leaves the file as it was. A message
// without entry shows message + " not found.".
void SaveExplanation(ReportContext& ws, const std::string& message, const std::string& cause,
                     const std::string& remedy);

// The message window: lets the user step through the messages of the last calculation and
// open the explanation of each. Nothing in a /NOGUI run; an information box for an empty list.
void ShowMessageWindow(ReportContext& ws);

// The message list with causes and remedies as a report in the text window (header "Error
// Messages", one sheet). An information box for an empty list; the message window instead
// after a fatal stop.
void PrintMessageList(ReportContext& ws);

}  // namespace velk
