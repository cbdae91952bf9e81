// The input forms, the configuration dialog, the print forms, the plot form and the file overview.
#include "gui/windows.h"

namespace velk::gui {

std::optional<SpringEndsRequest::Result> run(const WindowEnv&, const SpringEndsRequest&) { return std::nullopt; }
std::optional<ApplicationRequest::Result> run(const WindowEnv&, const ApplicationRequest&) { return std::nullopt; }
std::optional<CalcSettingsRequest::Result> run(const WindowEnv&, const CalcSettingsRequest&) { return std::nullopt; }
std::optional<ConfigFormRequest::Result> run(const WindowEnv&, const ConfigFormRequest&) { return std::nullopt; }
std::optional<ColorSelectRequest::Result> run(const WindowEnv&, const ColorSelectRequest&) { return std::nullopt; }
std::optional<PrintConfigRequest::Result> run(const WindowEnv&, const PrintConfigRequest&) { return std::nullopt; }
std::optional<PrinterInfoRequest::Result> run(const WindowEnv&, const PrinterInfoRequest&) { return std::nullopt; }
std::optional<PrintMacroRequest::Result> run(const WindowEnv&, const PrintMacroRequest&) { return std::nullopt; }
std::optional<FileOverviewRequest::Result> run(const WindowEnv&, const FileOverviewRequest&) { return std::nullopt; }
std::optional<PlotFormRequest::Result> run(const WindowEnv&, const PlotFormRequest&) { return std::nullopt; }

}  // namespace velk::gui
