// Printing the calculation message list with causes and remedies (menu "Error Messages")
// through the report writer's screen device.
#include "dialogs/dialogs.h"
#include "reportui/explanations.h"
#include "reportui/reportservice.h"

namespace velk {

void PrintMessageList(ReportContext& ws) {
  if (ws.messages.count <= 0) {
    ShowInfo(ws, NoMessagesText());
    return;
  }
  const Spring& s = ws.spring;
  SetReportHeader(ws.report, std::string(kAppTitle) + " V" + kVersion, "Error Messages", s.titleLine, s.bemerk1,
                  s.bemerk2, 1);
  // After a fatal stop the list is explained in the window instead.
  if (ws.messages.fatal) {
    ShowMessageWindow(ws);
    return;
  }
  OpenReport(ws, ReportDevice::Screen, s.fileName + ".txt");
  if (ws.abort) return;
  PrintMessagesOnly(ws.report, ws.messages);
  if (ReportStopped(ws)) return;
  CloseReport(ws);
}

}  // namespace velk
