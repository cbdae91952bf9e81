// Pictures of the program for the README, made by the program itself on the offscreen platform:
// the main window with quick view 1, the Goodman diagram, the front view and the online form.
// Usage: velk_screenshots OUTPUT-FOLDER [EXAMPLE.vlk]
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "commands/menucommands.h"
#include "commands/springfile.h"
#include "draw/displaylist.h"
#include "graphics/output.h"
#include "gui/mainwindow.h"
#include "gui/qtui.h"
#include "session/session.h"

// Under LeakSanitizer: what Qt, fontconfig and GLib keep until the process ends is theirs, not ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libQt6\nleak:libfontconfig\nleak:libglib\nleak:libdbus\nleak:libxcb\nleak:libX11\n";
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: velk_screenshots OUTPUT-FOLDER [EXAMPLE.vlk]\n";
    return 2;
  }
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  const std::string out = argv[1];
  const std::string example =
      argc > 2 ? argv[2] : std::string(VELK_SOURCE_DATA_DIR) + "/examples/drahtfeder_dynamisch.vlk";
  std::filesystem::create_directories(out);

  velk::gui::QtUi ui;
  velk::Session ws(ui);
  ui.setHelp(ws.help);
  ws.config.helpLevel = 1;
  velk::SetupWindowSize(ws);
  velk::SwitchLanguage(ws, 2);
  velk::readInputFile(ws, example);
  if (ws.abort) {
    std::cerr << "velk_screenshots: " << example << " could not be read\n";
    return 1;
  }
  velk::calculateLoadedSpring(ws);
  ws.abort = false;
  velk::gui::MainWindow w(ws, ui);
  w.resize(1024, 700);
  w.show();
  auto shot = [&](velk::MenuId id, const char* name) {
    w.runCommand(id);
    QApplication::processEvents();
    const std::string path = out + "/" + name + ".png";
    if (!w.grab().save(QString::fromStdString(path))) {
      std::cerr << "velk_screenshots: " << path << " could not be written\n";
      return false;
    }
    std::cout << path << "\n";
    return true;
  };
  bool ok = shot(velk::MenuId::ViewQuick1, "quick1") && shot(velk::MenuId::ViewGoodman, "goodman") &&
            shot(velk::MenuId::ViewDrawing0, "frontview");
  if (!ok) return 1;
  // The online form is modal: it is pictured while open, then left with Esc.
  QTimer::singleShot(300, [&] {
    QWidget* form = QApplication::activeModalWidget();
    if (!form) return;
    const std::string path = out + "/onlineform.png";
    form->grab().save(QString::fromStdString(path));
    std::cout << path << "\n";
    form->close();
  });
  w.runCommand(velk::MenuId::EditRecalculation);
  return 0;
}
