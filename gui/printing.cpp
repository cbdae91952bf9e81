// Printing a drawing and exporting a picture.
#include "gui/windows.h"

namespace velk::gui {

std::optional<PrintDrawingRequest::Result> run(const WindowEnv&, const PrintDrawingRequest&) { return std::nullopt; }
std::optional<ExportPictureRequest::Result> run(const WindowEnv&, const ExportPictureRequest&) { return std::nullopt; }

}  // namespace velk::gui
