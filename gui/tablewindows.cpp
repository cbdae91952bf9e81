// The table browser, the online input form, the report text window and text printing.
#include "gui/windows.h"

namespace velk::gui {

std::optional<BrowseRequest::Result> run(const WindowEnv&, const BrowseRequest&) { return std::nullopt; }
std::optional<OnlineFormResult> run(const WindowEnv&, const OnlineFormRequest&) { return std::nullopt; }
std::optional<ReportWindowRequest::Result> run(const WindowEnv&, const ReportWindowRequest&) { return std::nullopt; }
std::optional<PrintTextRequest::Result> run(const WindowEnv&, const PrintTextRequest&) { return std::nullopt; }

}  // namespace velk::gui
