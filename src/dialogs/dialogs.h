// Value requests, message boxes and file-name services on top of the UI services.
// Protocol: the caller sets the help number, calls the request; cancel sets ws.abort and
// leaves the value unchanged. Prompts and texts are code page 850.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dialogs/context.h"

namespace velk {

void SetHelpNumber(UiContext& ws, uint16_t number);

void EnterReal(UiContext& ws, const std::string& prompt, Real& value, Real lower, Real upper);
void EnterShortReal(UiContext& ws, const std::string& prompt, double& value, Real lower, Real upper);
void EnterInteger(UiContext& ws, const std::string& prompt, long& value, long bound1, long bound2);
void EnterInteger16(UiContext& ws, const std::string& prompt, uint16_t& value, long bound1, long bound2);
void EnterText(UiContext& ws, const std::string& prompt, int maxLength, std::string& text);
// Items 1..n of ws.choiceItems; n <= 7 radio dialog, otherwise list dialog.
void ChooseItem(UiContext& ws, const std::string& prompt, int n, uint16_t& choice);
// "J"/"N".
void AskYesNo(UiContext& ws, const std::string& prompt, char& answer);
void AskBoolean(UiContext& ws, const std::string& prompt, bool& flag);
// true for yes; cancel sets the abort flag and returns false.
bool AskQuestion(UiContext& ws, const std::string& question);

void ShowError(UiContext& ws, const std::string& text);
void ShowInfo(UiContext& ws, const std::string& text);
void ShowTitled(UiContext& ws, const std::string& caption, const std::string& text);
void BusyCursor(UiContext& ws);
void NormalCursor(UiContext& ws);
// setCaption's text: programTitle; when fileName is not empty "  -  " + fileName, and when the
// last path component of fileName has no "." also "." + fileExt (not when fileExt is empty).
// Encoding-neutral: the result is in the encoding of the arguments.
std::string windowTitle(std::string_view programTitle, std::string_view fileName, std::string_view fileExt);
// Sets the window title of the spring: windowTitle(program title, file name, fileExt).
void SetWindowTitle(UiContext& ws);

// File services (native paths).
void ChooseFolder(UiContext& ws, const std::string& start, std::string& result);
// kind 5: full path; otherwise the name without folder and extension (kind 4 also takes its
// extension as the default extension). folder becomes the chosen file's folder.
void ChooseFileToOpen(UiContext& ws, int kind, std::string& folder, const std::string& filter, std::string& result);
void ChooseFileFrom(UiContext& ws, const std::string& defaultFile, const std::string& filter, std::string& result);
// Resolves the name of a file to be written with extension ext (see the input file); result is
// the full path. Sets the abort flag on refusal or cancel.
void ChooseOutputFile(UiContext& ws, const std::string& name, const std::string& ext, std::string& result);
// Overwrite question and creation test (never touching an existing file).
void PrepareOutputFile(UiContext& ws, const std::string& name);
void CheckInputFile(UiContext& ws, const std::string& name);

// Shared text-file error checks: show the message for an I/O code and set the abort flag.
enum class IoStage { Write, Close, Create };
std::string ioErrorText(IoStage stage, int code);
void ReportIoError(UiContext& ws, IoStage stage, int code);
// The same message for a failed write of path with the errno err, followed by the file and the
// reason: "Diskette/Platte voll: s.txt (No space left on device)".
void ReportIoError(UiContext& ws, IoStage stage, const std::string& path, int err);

}  // namespace velk
