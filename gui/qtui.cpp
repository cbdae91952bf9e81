#include "gui/qtui.h"

#include <QApplication>
#include <QCursor>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

#include "gui/text.h"
#include "gui/windows.h"

namespace velk::gui {

void QtUi::beep() { QApplication::beep(); }

void QtUi::setCursor(CursorShape shape) {
  if (shape == CursorShape::Busy) {
    if (busy_++ == 0) QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  } else {
    while (busy_ > 0) {
      QApplication::restoreOverrideCursor();
      --busy_;
    }
  }
}

PrinterInfo QtUi::printerInfo() {
  PrinterInfo info;
  const QPrinterInfo chosen = QPrinterInfo::printerInfo(chosenPrinter_);
  const QPrinterInfo def = chosen.isNull() ? QPrinterInfo::defaultPrinter() : chosen;
  if (def.isNull()) return info;
  QPrinter printer(def, QPrinter::HighResolution);
  info.name = oemText(def.printerName());
  info.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
  info.technology = 2;  // a raster printer
  const QRectF mm = printer.pageLayout().paintRect(QPageLayout::Millimeter);
  const QRect px = printer.pageLayout().paintRectPixels(printer.resolution());
  info.widthMm = static_cast<int>(mm.width());
  info.heightMm = static_cast<int>(mm.height());
  info.widthPx = px.width();
  info.heightPx = px.height();
  info.offsetLeftPx = px.left();
  info.offsetTopPx = px.top();
  info.dpiX = info.dpiY = printer.resolution();
  info.colors = def.supportedColorModes().contains(QPrinter::Color) ? 16777216 : 2;
  for (const QString& family : QFontDatabase::families()) info.fonts.push_back(oemText(family));
  return info;
}

void QtUi::setWindowTitle(const std::string& title) {
  if (env_.parent) env_.parent->setWindowTitle(qs(title));
}

std::optional<TextRequest::Result> QtUi::show(const TextRequest& request) { return run(env_, request); }
std::optional<RadioRequest::Result> QtUi::show(const RadioRequest& request) { return run(env_, request); }
std::optional<ListRequest::Result> QtUi::show(const ListRequest& request) { return run(env_, request); }
std::optional<YesNoRequest::Result> QtUi::show(const YesNoRequest& request) { return run(env_, request); }
std::optional<QuestionRequest::Result> QtUi::show(const QuestionRequest& request) { return run(env_, request); }
std::optional<MessageRequest::Result> QtUi::show(const MessageRequest& request) { return run(env_, request); }
std::optional<TextWindowRequest::Result> QtUi::show(const TextWindowRequest& request) { return run(env_, request); }
std::optional<FolderRequest::Result> QtUi::show(const FolderRequest& request) { return run(env_, request); }
std::optional<OpenFileRequest::Result> QtUi::show(const OpenFileRequest& request) { return run(env_, request); }
std::optional<SaveFileRequest::Result> QtUi::show(const SaveFileRequest& request) { return run(env_, request); }
std::optional<ExplanationRequest::Result> QtUi::show(const ExplanationRequest& request) { return run(env_, request); }
std::optional<DiagramLimitsRequest::Result> QtUi::show(const DiagramLimitsRequest& request) {
  return run(env_, request);
}
std::optional<InstallationAngleRequest::Result> QtUi::show(const InstallationAngleRequest& request) {
  return run(env_, request);
}
std::optional<SpringTextsRequest::Result> QtUi::show(const SpringTextsRequest& request) { return run(env_, request); }
std::optional<ChangeEntryRequest::Result> QtUi::show(const ChangeEntryRequest& request) { return run(env_, request); }
std::optional<DrawingInfoRequest::Result> QtUi::show(const DrawingInfoRequest& request) { return run(env_, request); }
std::optional<DocumentSetupRequest::Result> QtUi::show(const DocumentSetupRequest& request) {
  return run(env_, request);
}
std::optional<HelpImagesRequest::Result> QtUi::show(const HelpImagesRequest& request) { return run(env_, request); }
std::optional<SpringEndsRequest::Result> QtUi::show(const SpringEndsRequest& request) { return run(env_, request); }
std::optional<ApplicationRequest::Result> QtUi::show(const ApplicationRequest& request) { return run(env_, request); }
std::optional<CalcSettingsRequest::Result> QtUi::show(const CalcSettingsRequest& request) { return run(env_, request); }
std::optional<ConfigFormRequest::Result> QtUi::show(const ConfigFormRequest& request) { return run(env_, request); }
std::optional<ColorSelectRequest::Result> QtUi::show(const ColorSelectRequest& request) { return run(env_, request); }
std::optional<PrintConfigRequest::Result> QtUi::show(const PrintConfigRequest& request) { return run(env_, request); }
std::optional<PrinterInfoRequest::Result> QtUi::show(const PrinterInfoRequest& request) { return run(env_, request); }
std::optional<PrintMacroRequest::Result> QtUi::show(const PrintMacroRequest& request) { return run(env_, request); }
std::optional<ChoosePrinterRequest::Result> QtUi::show(const ChoosePrinterRequest& request) {
  return run(env_, request);
}
std::optional<FileOverviewRequest::Result> QtUi::show(const FileOverviewRequest& request) { return run(env_, request); }
std::optional<PlotFormRequest::Result> QtUi::show(const PlotFormRequest& request) { return run(env_, request); }
std::optional<BrowseRequest::Result> QtUi::show(const BrowseRequest& request) { return run(env_, request); }
std::optional<OnlineFormResult> QtUi::show(const OnlineFormRequest& request) { return run(env_, request); }
std::optional<ReportWindowRequest::Result> QtUi::show(const ReportWindowRequest& request) { return run(env_, request); }
std::optional<PrintTextRequest::Result> QtUi::show(const PrintTextRequest& request) { return run(env_, request); }
std::optional<PrintDrawingRequest::Result> QtUi::show(const PrintDrawingRequest& request) { return run(env_, request); }
std::optional<ExportPictureRequest::Result> QtUi::show(const ExportPictureRequest& request) {
  return run(env_, request);
}

}  // namespace velk::gui
