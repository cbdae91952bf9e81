// Printing the calculation message list with causes and remedies (menu "Error Messages")
// through the report writer's screen device.
#include "report/explanations.h"

#include "dialogs/dialogs.h"
#include "report/reportwriter.h"

namespace velk {

void PrintMessageList(ReportContext& ws) {
  if (ws.messages.count <= 0) {
    ShowInfo(ws, NoMessagesText());
    return;
  }
  const Spring& s = ws.spring;
  SetReportHeader(ws, std::string(kAppTitle) + " V" + kVersion, "Error Messages", s.titleLine, s.bemerk1, s.bemerk2, 1);
  // After a fatal stop the list is explained in the window instead.
  if (ws.messages.fatal) {
    ShowMessageWindow(ws);
    return;
  }
  OpenReport(ws, 1, s.fileName + ".txt");
  if (ws.abort) return;
  PrintMessagesOnly(ws);
  if (ws.abort) return;
  CloseReport(ws);
}

}  // namespace velk
