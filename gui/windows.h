// Every window of the program as a Qt dialog: one function per request shape of the UI services.
// QtUi forwards to these; each file implements one group.
#pragma once

#include <optional>

#include "gui/windowenv.h"
#include "ui/onlineform.h"
#include "ui/uiservices.h"

namespace velk::gui {

// ---- Value dialogs, message boxes, file choosers and the small forms (gui/basicdialogs.cpp) ----
std::optional<TextRequest::Result> run(const WindowEnv& env, const TextRequest& request);
std::optional<RadioRequest::Result> run(const WindowEnv& env, const RadioRequest& request);
std::optional<ListRequest::Result> run(const WindowEnv& env, const ListRequest& request);
std::optional<YesNoRequest::Result> run(const WindowEnv& env, const YesNoRequest& request);
std::optional<QuestionRequest::Result> run(const WindowEnv& env, const QuestionRequest& request);
std::optional<MessageRequest::Result> run(const WindowEnv& env, const MessageRequest& request);
std::optional<TextWindowRequest::Result> run(const WindowEnv& env, const TextWindowRequest& request);
std::optional<FolderRequest::Result> run(const WindowEnv& env, const FolderRequest& request);
std::optional<OpenFileRequest::Result> run(const WindowEnv& env, const OpenFileRequest& request);
std::optional<SaveFileRequest::Result> run(const WindowEnv& env, const SaveFileRequest& request);
std::optional<ExplanationRequest::Result> run(const WindowEnv& env, const ExplanationRequest& request);
std::optional<DiagramLimitsRequest::Result> run(const WindowEnv& env, const DiagramLimitsRequest& request);
std::optional<InstallationAngleRequest::Result> run(const WindowEnv& env, const InstallationAngleRequest& request);
std::optional<SpringTextsRequest::Result> run(const WindowEnv& env, const SpringTextsRequest& request);
std::optional<ChangeEntryRequest::Result> run(const WindowEnv& env, const ChangeEntryRequest& request);
std::optional<DrawingInfoRequest::Result> run(const WindowEnv& env, const DrawingInfoRequest& request);
std::optional<DocumentSetupRequest::Result> run(const WindowEnv& env, const DocumentSetupRequest& request);
std::optional<HelpImagesRequest::Result> run(const WindowEnv& env, const HelpImagesRequest& request);

// ---- The input forms, the configuration dialog, the print forms, the plot form and the file overview
// (gui/formdialogs.cpp) ----
std::optional<SpringEndsRequest::Result> run(const WindowEnv& env, const SpringEndsRequest& request);
std::optional<ApplicationRequest::Result> run(const WindowEnv& env, const ApplicationRequest& request);
std::optional<CalcSettingsRequest::Result> run(const WindowEnv& env, const CalcSettingsRequest& request);
std::optional<ConfigFormRequest::Result> run(const WindowEnv& env, const ConfigFormRequest& request);
std::optional<ColorSelectRequest::Result> run(const WindowEnv& env, const ColorSelectRequest& request);
std::optional<PrintConfigRequest::Result> run(const WindowEnv& env, const PrintConfigRequest& request);
std::optional<PrinterInfoRequest::Result> run(const WindowEnv& env, const PrinterInfoRequest& request);
std::optional<PrintMacroRequest::Result> run(const WindowEnv& env, const PrintMacroRequest& request);
std::optional<FileOverviewRequest::Result> run(const WindowEnv& env, const FileOverviewRequest& request);
std::optional<PlotFormRequest::Result> run(const WindowEnv& env, const PlotFormRequest& request);

// ---- The table browser, the online input form, the report text window and text printing (gui/tablewindows.cpp) ----
std::optional<BrowseRequest::Result> run(const WindowEnv& env, const BrowseRequest& request);
std::optional<OnlineFormResult> run(const WindowEnv& env, const OnlineFormRequest& request);
std::optional<ReportWindowRequest::Result> run(const WindowEnv& env, const ReportWindowRequest& request);
std::optional<PrintTextRequest::Result> run(const WindowEnv& env, const PrintTextRequest& request);

// ---- Printing a drawing and exporting a picture (gui/printing.cpp) ----
std::optional<PrintDrawingRequest::Result> run(const WindowEnv& env, const PrintDrawingRequest& request);
std::optional<ChoosePrinterRequest::Result> run(const WindowEnv& env, const ChoosePrinterRequest& request);
std::optional<ExportPictureRequest::Result> run(const WindowEnv& env, const ExportPictureRequest& request);

}  // namespace velk::gui
