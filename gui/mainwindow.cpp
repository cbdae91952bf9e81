#include "gui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>

#include "commands/menucommands.h"
#include "draw/displaylist.h"
#include "gui/graphicsview.h"
#include "gui/qtui.h"
#include "gui/text.h"
#include "session/session.h"

namespace velk::gui {

MainWindow::MainWindow(Session& ws, QtUi& ui) : ws_(ws), ui_(ui) {
  view_ = new GraphicsView(ws, this);
  setCentralWidget(view_);
  ui_.setMainWindow(this);
  ws_.display.invalidate = [this] { view_->invalidate(); };
  // The menu first: its height is part of the window's.
  renderMenu();
  // The configured graphics size is the drawing area's (resolution minus one in the list).
  resize(ws_.display.W + 1, ws_.display.H + 1 + menuBar()->sizeHint().height());
  if (QScreen* s = QApplication::primaryScreen()) {
    const QRect avail = s->availableGeometry();
    if (width() > avail.width() || height() > avail.height()) resize(size().boundedTo(avail.size()));
    move(avail.topLeft());
  }
  SetCaption(ws_);
  view_->setFocus();
}

MainWindow::~MainWindow() {
  ws_.display.invalidate = nullptr;
  ui_.setMainWindow(nullptr);
}

void MainWindow::renderMenu() {
  const MenuModel model = CurrentMenu(ws_);
  menuBar()->clear();
  actions_.clear();
  std::map<MenuId, QMenu*> menus;
  for (const MenuItem& item : model.items()) {
    if (!item.visible) continue;
    QMenu* parentMenu = item.parent ? menus[*item.parent] : nullptr;
    if (item.parent && !parentMenu) continue;  // below a hidden menu
    const QString caption = QString::fromStdString(item.caption);
    const bool hasChildren = !model.childrenOf(item.id).empty();
    if (hasChildren) {
      QMenu* m = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
      m->setEnabled(item.enabled);
      m->setObjectName(QString::fromLatin1(item.name.data(), static_cast<int>(item.name.size())));
      menus[item.id] = m;
      actions_[item.id] = m->menuAction();
      continue;
    }
    if (!parentMenu) continue;
    if (item.separator) {
      parentMenu->addSeparator();
      continue;
    }
    QAction* a = parentMenu->addAction(caption);
    a->setObjectName(QString::fromLatin1(item.name.data(), static_cast<int>(item.name.size())));
    a->setEnabled(item.enabled);
    if (item.checked) {
      a->setCheckable(true);
      a->setChecked(true);
    }
    if (!item.shortcut.empty())
      a->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut.data(), static_cast<int>(item.shortcut.size()))));
    const MenuId id = item.id;
    // Queued: the menu that triggered the action is rebuilt by the command.
    connect(
        a, &QAction::triggered, this, [this, id] { runCommand(id); }, Qt::QueuedConnection);
    actions_[id] = a;
  }
}

QAction* MainWindow::action(MenuId id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

bool MainWindow::runCommand(MenuId id) {
  const bool stay = RunMenuCommand(ws_, id);
  renderMenu();
  view_->invalidate();
  if (!stay) {
    closing_ = true;
    close();
    return false;
  }
  return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // File -> Exit has asked already; the window's close button asks here.
  if (!closing_ && !CloseQuery(ws_)) {
    ws_.abort = false;
    event->ignore();
    return;
  }
  // The window's size is kept with the configuration when the program ends, as the resolution
  // the constructor makes this very size from.
  const int rx = width() - 1;
  const int ry = height() - 1 - menuBar()->sizeHint().height();
  if (!isMinimized() && rx >= 1 && ry >= 1) {
    ws_.config.resolutionX = std::min(rx, 5000);
    ws_.config.resolutionY = std::min(ry, 5000);
  }
  event->accept();
}

}  // namespace velk::gui
