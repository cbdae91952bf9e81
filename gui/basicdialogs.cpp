// Value dialogs, message boxes, file choosers and the small forms.
#include "gui/windows.h"

namespace velk::gui {

std::optional<TextRequest::Result> run(const WindowEnv&, const TextRequest&) { return std::nullopt; }
std::optional<RadioRequest::Result> run(const WindowEnv&, const RadioRequest&) { return std::nullopt; }
std::optional<ListRequest::Result> run(const WindowEnv&, const ListRequest&) { return std::nullopt; }
std::optional<YesNoRequest::Result> run(const WindowEnv&, const YesNoRequest&) { return std::nullopt; }
std::optional<QuestionRequest::Result> run(const WindowEnv&, const QuestionRequest&) { return std::nullopt; }
std::optional<MessageRequest::Result> run(const WindowEnv&, const MessageRequest&) { return std::nullopt; }
std::optional<TextWindowRequest::Result> run(const WindowEnv&, const TextWindowRequest&) { return std::nullopt; }
std::optional<FolderRequest::Result> run(const WindowEnv&, const FolderRequest&) { return std::nullopt; }
std::optional<OpenFileRequest::Result> run(const WindowEnv&, const OpenFileRequest&) { return std::nullopt; }
std::optional<SaveFileRequest::Result> run(const WindowEnv&, const SaveFileRequest&) { return std::nullopt; }
std::optional<ExplanationRequest::Result> run(const WindowEnv&, const ExplanationRequest&) { return std::nullopt; }
std::optional<DiagramLimitsRequest::Result> run(const WindowEnv&, const DiagramLimitsRequest&) { return std::nullopt; }
std::optional<InstallationAngleRequest::Result> run(const WindowEnv&, const InstallationAngleRequest&) { return std::nullopt; }
std::optional<SpringTextsRequest::Result> run(const WindowEnv&, const SpringTextsRequest&) { return std::nullopt; }
std::optional<ChangeEntryRequest::Result> run(const WindowEnv&, const ChangeEntryRequest&) { return std::nullopt; }
std::optional<DrawingInfoRequest::Result> run(const WindowEnv&, const DrawingInfoRequest&) { return std::nullopt; }
std::optional<DocumentSetupRequest::Result> run(const WindowEnv&, const DocumentSetupRequest&) { return std::nullopt; }
std::optional<HelpImagesRequest::Result> run(const WindowEnv&, const HelpImagesRequest&) { return std::nullopt; }

}  // namespace velk::gui
