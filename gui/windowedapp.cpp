#include "gui/windowedapp.h"

#include <QApplication>
#include <QScreen>
#include <cstdlib>

#include "commands/menucommands.h"
#include "gui/mainwindow.h"
#include "gui/qtui.h"
#include "session/session.h"
#include "shell/startup.h"

namespace velk::gui {

bool displayAvailable() {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

// What the screen offers, for the configured graphics size of 0 and the dialogs.
static ScreenMetrics screenMetrics() {
  ScreenMetrics m;
  QScreen* s = QApplication::primaryScreen();
  if (!s) return m;
  const QRect full = s->geometry();
  const QRect avail = s->availableGeometry();
  m.width = full.width();
  m.height = full.height();
  m.dpiX = static_cast<int>(s->logicalDotsPerInchX());
  m.dpiY = static_cast<int>(s->logicalDotsPerInchY());
  m.mainWindowHeight = avail.height();
  m.mainClientHeight = avail.height() - 46;
  return m;
}

int runWindowed(int& argc, char** argv, const std::vector<std::string>& args) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("wvelk"));
  QApplication::setOrganizationName(QStringLiteral("velk"));
  QtUi ui;
  Session ws(ui);
  ws.screen = screenMetrics();
  ui.setHelp(ws.help);
  const StartOutcome out = runStartup(ws, args);
  if (out.kind != StartOutcome::Kind::OpenWindow) return out.exitCode;
  ui.setScale(ws.config.inputWindowScale, ws.config.dialogElementsScale);
  MainWindow window(ws, ui);
  window.show();
  Refresh(ws);
  const int code = app.exec();
  CloseDown(ws);
  return code;
}

}  // namespace velk::gui
