// Driving modal Qt windows from a test: the window is opened by the code under test and runs its
// own event loop, so the test's actions are queued to run once it is up.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace velk::test {

// The topmost modal window, or the active window when none is modal.
inline QWidget* topWindow() {
  if (QWidget* w = QApplication::activeModalWidget()) return w;
  return QApplication::activeWindow();
}

// Runs open() (which shows a modal window and returns when it closes) while drive(window) acts
// as the user on the window that opened. drive must close the window; if it does not, the window
// is rejected after the actions so that the test cannot hang.
template <typename Open>
auto whileOpen(Open open, std::function<void(QWidget*)> drive) {
  struct State {
    bool finished = false, driven = false;
    QWidget* before = nullptr;
    std::function<void(QWidget*)> drive;
  };
  auto st = std::make_shared<State>();
  st->before = QApplication::activeModalWidget();
  st->drive = std::move(drive);
  std::shared_ptr<std::function<void()>> poll = std::make_shared<std::function<void()>>();
  std::weak_ptr<std::function<void()>> weak = poll;
  *poll = [st, weak] {
    if (st->finished || st->driven) return;
    QWidget* w = QApplication::activeModalWidget();
    if (!w || w == st->before) {
      if (auto p = weak.lock()) QTimer::singleShot(5, *p);
      return;
    }
    st->driven = true;
    st->drive(w);
    QApplication::processEvents();
    if (QApplication::activeModalWidget() == w) {
      if (auto* d = qobject_cast<QDialog*>(w))
        d->reject();
      else
        w->close();
      ADD_FAILURE() << "the window stayed open";
    }
  };
  QTimer::singleShot(0, *poll);
  auto result = open();
  st->finished = true;
  EXPECT_TRUE(st->driven) << "no modal window opened";
  return result;
}

// The first child of the window of type T whose text or object name is name (any when empty).
template <typename T>
T* findChildNamed(QWidget* w, const QString& name = {}) {
  for (T* c : w->findChildren<T*>()) {
    if (name.isEmpty() || c->objectName() == name) return c;
    if constexpr (requires { c->text(); }) {
      if (c->text() == name) return c;
    }
  }
  return nullptr;
}

}  // namespace velk::test
