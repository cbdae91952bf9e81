#include "gui/windowedapp.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTimer>
#include <cstdlib>
#include <iostream>

#include "commands/menucommands.h"
#include "gui/graphicsview.h"
#include "gui/mainwindow.h"
#include "gui/printing.h"
#include "gui/qtui.h"
#include "gui/text.h"
#include "platform/files.h"
#include "session/session.h"
#include "shell/startup.h"

namespace velk::gui {

// What the screen offers, for the configured graphics size of 0 and the dialogs.
// VmRSS of this process in KiB (0 when unknown).
static long residentKiB() {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  return 0;
}

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

// A batch job's stderr carries the job's own messages only: Qt's start-up notes and warnings
// (such as "XDG_RUNTIME_DIR not set" under cron or su -) are dropped; what fails says so itself.
static void batchQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << "wvelk: " << text.toStdString() << "\n";
}

int runPdfJob(Session& ws, const std::string& inputArgument, int view) {
  // Qt's fonts need an application object; no window is shown, so no display is needed.
  if (!displayAvailable()) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Without a runtime folder (cron, su -) Qt would make runtime-<user> in the temporary folder and
  // leave it there: the private temporary folder (ours, mode 0700) serves instead.
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); !runtime || !*runtime) {
    std::string own = privateTempDir();
    if (own.size() > 1 && own.back() == '/') own.pop_back();
    ::setenv("XDG_RUNTIME_DIR", own.c_str(), 1);
  }
  // Held until after the application object is gone, so its teardown is quiet too.
  struct QuietQt {
    QtMessageHandler previous = qInstallMessageHandler(batchQtMessages);
    ~QuietQt() { qInstallMessageHandler(previous); }
  } quiet;
  int argc = 1;
  char name[] = "wvelk";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);
  auto write = [](const PrintDrawingRequest& request, const std::string& path) -> int {
    return writePdf(request, qpath(path));
  };
  return velk::runPdfJob(ws, inputArgument, view, write, std::cerr);
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
  for (const std::string& n : out.notes) std::cerr << "wvelk: " << n << "\n";
  if (out.kind != StartOutcome::Kind::OpenWindow) return out.exitCode;
  ui.setScale(ws.config.inputWindowScale, ws.config.dialogElementsScale);
  MainWindow window(ws, ui);
  window.show();
  Refresh(ws);
  if (std::getenv("VELK_EXIT_AFTER_PAINT")) {
    // Start-up figures: the first paint, the resident memory of the idle window, then the end.
    QTimer::singleShot(0, &window, [&window] {
      window.view().repaint();
      QApplication::processEvents();
      std::cerr << "velk: painted; " << residentKiB() << " KiB resident\n";
      QApplication::quit();
    });
  }
  const int code = app.exec();
  CloseDown(ws);
  return code;
}

}  // namespace velk::gui
