// The main window: the menu rendered from the core's menu model, the drawing area, the caption.
// Every menu item runs the core's command; the menu is rendered anew after each.
#pragma once

#include <QMainWindow>
#include <map>

#include "commands/menumodel.h"

class QAction;
class QMenu;

namespace velk {
class Session;
}

namespace velk::gui {

class GraphicsView;
class QtUi;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(Session& ws, QtUi& ui);
  ~MainWindow() override;

  GraphicsView& view() { return *view_; }
  // Runs the command of the item as the menu does; false when the window closed (File -> Exit).
  bool runCommand(MenuId id);
  // Renders the menu of the core's model (language, recent files, message count).
  void renderMenu();
  // The action of a menu item as rendered now (tests).
  QAction* action(MenuId id) const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Session& ws_;
  QtUi& ui_;
  GraphicsView* view_ = nullptr;
  std::map<MenuId, QAction*> actions_;
  bool closing_ = false;  // File -> Exit already asked
};

}  // namespace velk::gui
