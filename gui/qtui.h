// The Qt implementation of the UI services: every window of the program, the cursor, the beep and
// the main window's title.
#pragma once

#include <QString>
#include <functional>

#include "gui/windowenv.h"
#include "ui/uiservices.h"

namespace velk::gui {

class QtUi : public UiServices {
 public:
  QtUi() { env_.chosenPrinter = &chosenPrinter_; }
  QtUi(const QtUi&) = delete;
  QtUi& operator=(const QtUi&) = delete;

  // The window the dialogs belong to, and where the title goes.
  void setMainWindow(QWidget* window) { env_.parent = window; }
  void setHelp(HelpProvider* help) { env_.help = help; }
  void setScale(int windowPercent, int elementPercent) {
    env_.windowScalePercent = windowPercent;
    env_.elementScalePercent = elementPercent;
  }
  const WindowEnv& env() const { return env_; }

  void beep() override;
  void setCursor(CursorShape shape) override;
  void setWindowTitle(const std::string& title) override;
  PrinterInfo printerInfo() override;

  std::optional<TextRequest::Result> show(const TextRequest& request) override;
  std::optional<RadioRequest::Result> show(const RadioRequest& request) override;
  std::optional<ListRequest::Result> show(const ListRequest& request) override;
  std::optional<YesNoRequest::Result> show(const YesNoRequest& request) override;
  std::optional<QuestionRequest::Result> show(const QuestionRequest& request) override;
  std::optional<MessageRequest::Result> show(const MessageRequest& request) override;
  std::optional<TextWindowRequest::Result> show(const TextWindowRequest& request) override;
  std::optional<FolderRequest::Result> show(const FolderRequest& request) override;
  std::optional<OpenFileRequest::Result> show(const OpenFileRequest& request) override;
  std::optional<SaveFileRequest::Result> show(const SaveFileRequest& request) override;
  std::optional<ExplanationRequest::Result> show(const ExplanationRequest& request) override;
  std::optional<DiagramLimitsRequest::Result> show(const DiagramLimitsRequest& request) override;
  std::optional<InstallationAngleRequest::Result> show(const InstallationAngleRequest& request) override;
  std::optional<SpringTextsRequest::Result> show(const SpringTextsRequest& request) override;
  std::optional<ChangeEntryRequest::Result> show(const ChangeEntryRequest& request) override;
  std::optional<DrawingInfoRequest::Result> show(const DrawingInfoRequest& request) override;
  std::optional<DocumentSetupRequest::Result> show(const DocumentSetupRequest& request) override;
  std::optional<HelpImagesRequest::Result> show(const HelpImagesRequest& request) override;
  std::optional<SpringEndsRequest::Result> show(const SpringEndsRequest& request) override;
  std::optional<ApplicationRequest::Result> show(const ApplicationRequest& request) override;
  std::optional<CalcSettingsRequest::Result> show(const CalcSettingsRequest& request) override;
  std::optional<ConfigFormRequest::Result> show(const ConfigFormRequest& request) override;
  std::optional<ColorSelectRequest::Result> show(const ColorSelectRequest& request) override;
  std::optional<PrintConfigRequest::Result> show(const PrintConfigRequest& request) override;
  std::optional<PrinterInfoRequest::Result> show(const PrinterInfoRequest& request) override;
  std::optional<PrintMacroRequest::Result> show(const PrintMacroRequest& request) override;
  std::optional<ChoosePrinterRequest::Result> show(const ChoosePrinterRequest& request) override;
  std::optional<FileOverviewRequest::Result> show(const FileOverviewRequest& request) override;
  std::optional<PlotFormRequest::Result> show(const PlotFormRequest& request) override;
  std::optional<BrowseRequest::Result> show(const BrowseRequest& request) override;
  std::optional<OnlineFormResult> show(const OnlineFormRequest& request) override;
  std::optional<ReportWindowRequest::Result> show(const ReportWindowRequest& request) override;
  std::optional<PrintTextRequest::Result> show(const PrintTextRequest& request) override;
  std::optional<PrintDrawingRequest::Result> show(const PrintDrawingRequest& request) override;
  std::optional<ExportPictureRequest::Result> show(const ExportPictureRequest& request) override;

 private:
  WindowEnv env_;
  QString chosenPrinter_;
  int busy_ = 0;  // override cursors set
};

}  // namespace velk::gui
