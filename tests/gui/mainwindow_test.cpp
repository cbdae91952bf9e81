// The main window: the menu as the core's model has it, the commands it runs, the drawing area's
// cached replay, keys and mouse.
#include "gui/mainwindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "commands/menucommands.h"
#include "commands/springfile.h"
#include "dialogs/configio.h"
#include "draw/displaylist.h"
#include "graphics/output.h"
#include "gui/graphicsview.h"
#include "gui/paintercanvas.h"
#include "gui/qtui.h"
#include "session/session.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

const std::string kExamples = std::string(VELK_SOURCE_DATA_DIR) + "/examples/";

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : ws(ui) {
    ws.config.dataDir = dir.path();
    ws.spring.dataDir = dir.path();
    ws.tempRoot = dir.file("private/");
    std::filesystem::create_directory(ws.tempRoot);
    ws.config.helpLevel = 0;  // no quick view after a calculation
    ui.setHelp(ws.help);
    SetupWindowSize(ws);
  }
  void load(const std::string& example) {
    std::filesystem::copy_file(kExamples + example, dir.file(example),
                               std::filesystem::copy_options::overwrite_existing);
    readInputFile(ws, dir.file(example));
    ASSERT_FALSE(ws.abort);
    calculateLoadedSpring(ws);
    ws.abort = false;
  }
  // The bounding box of the pixels that differ from the background.
  static QRect drawnBox(const QImage& img, QRgb background) {
    int l = img.width(), t = img.height(), r = -1, b = -1;
    for (int y = 0; y < img.height(); ++y) {
      const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
      for (int x = 0; x < img.width(); ++x)
        if ((line[x] & 0xFFFFFF) != (background & 0xFFFFFF)) {
          l = std::min(l, x), r = std::max(r, x), t = std::min(t, y), b = std::max(b, y);
        }
    }
    return r < 0 ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
  }

  TempDir dir;
  gui::QtUi ui;
  Session ws;
};

TEST_F(MainWindowTest, MenuIsTheModelsInEveryLanguage) {
  gui::MainWindow w(ws, ui);
  for (int language : {2, 3, 1}) {
    SwitchLanguage(ws, language);
    w.renderMenu();
    const MenuModel model = CurrentMenu(ws);
    for (const MenuItem& item : model.items()) {
      if (item.separator || !item.visible) continue;
      QAction* a = w.action(item.id);
      ASSERT_NE(a, nullptr) << item.name;
      EXPECT_EQ(a->text().toStdString(), item.caption) << item.name;
      EXPECT_EQ(a->isEnabled(), item.enabled) << item.name;
      EXPECT_EQ(a->shortcut().toString().toStdString(), std::string(item.shortcut)) << item.name;
    }
  }
  // The language items run the core's command: the menu follows at once.
  const QString english = w.action(MenuId::File)->text();
  w.runCommand(MenuId::HelpLanguageDeutsch);
  EXPECT_TRUE(w.action(MenuId::HelpLanguageDeutsch)->isChecked());
  w.runCommand(MenuId::HelpLanguageEnglish);
  EXPECT_TRUE(w.action(MenuId::HelpLanguageEnglish)->isChecked());
  EXPECT_EQ(ws.config.language, 2);
  (void)english;
}

// Leaving the program keeps the window's size: the next start opens it as large again, start
// after start (no creeping).
TEST_F(MainWindowTest, ClosingKeepsTheWindowSizeForTheNextStart) {
  ws.start.configDir = dir.file("config/");
  QSize left;
  {
    gui::MainWindow w(ws, ui);
    w.show();
    w.resize(640, 460);
    QApplication::processEvents();
    left = w.size();
    ASSERT_TRUE(w.close());
  }
  CloseDown(ws);
  for (int start = 0; start < 2; ++start) {
    Session next(ui);
    next.start = ws.start;
    ReadConfiguration(next);
    ASSERT_FALSE(next.abort);
    SetupWindowSize(next);
    gui::MainWindow w(next, ui);
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(w.size(), left) << "start " << start;
    ASSERT_TRUE(w.close());
    CloseDown(next);
  }
}

TEST_F(MainWindowTest, RecentFileEntryOpensTheSpring) {
  std::filesystem::copy_file(kExamples + "uhrfeder.vlk", dir.file("uhr.vlk"));
  ws.start.recentFiles[0] = dir.file("uhr.vlk");
  gui::MainWindow w(ws, ui);
  QAction* recent = w.action(MenuId::FileRecent1);
  ASSERT_NE(recent, nullptr);
  EXPECT_TRUE(recent->text().contains("uhr.vlk"));
  recent->trigger();
  QTest::qWait(20);  // the action runs queued
  EXPECT_EQ(ws.spring.fileName, "uhr");
  EXPECT_TRUE(w.windowTitle().contains("uhr")) << w.windowTitle().toStdString();
}

// Each view painted into the cached image: something is drawn, and it lies inside the area the
// drawing's world window maps to (texts and outlines may reach a few pixels beyond).
TEST_F(MainWindowTest, ViewsPaintInsideTheirWindow) {
  load("drahtfeder_dynamisch.vlk");
  gui::MainWindow w(ws, ui);
  w.resize(900, 640);
  w.show();
  const MenuId views[] = {MenuId::ViewQuick1,           MenuId::ViewQuick2,       MenuId::ViewCharLine,
                          MenuId::ViewGoodman,          MenuId::ViewHaighGoodman, MenuId::ViewRmt,
                          MenuId::ViewSigmaBt,          MenuId::ViewDrawing0,     MenuId::ViewDrawingSa,
                          MenuId::ViewProductionDrawing};
  const QRgb background = gui::rgbColor(ScreenReplayStyle(ws.config).background).rgb();
  for (MenuId id : views) {
    w.runCommand(id);
    const QImage& img = w.view().image();
    const QRect drawn = drawnBox(img, background);
    ASSERT_FALSE(drawn.isNull()) << static_cast<int>(id);
    const ViewMapping& m = w.view().mapping();
    const QRect window(QPoint(m.toDeviceX(m.vxmin), m.toDeviceY(m.vymax)),
                       QPoint(m.toDeviceX(m.vxmax), m.toDeviceY(m.vymin)));
    EXPECT_TRUE(img.rect().contains(window.adjusted(2, 2, -2, -2))) << static_cast<int>(id);
    EXPECT_TRUE(window.adjusted(-8, -8, 8, 8).contains(drawn)) << static_cast<int>(id);
    EXPECT_GT(drawn.width() * drawn.height(), window.width() * window.height() / 10) << static_cast<int>(id);
  }
}

TEST_F(MainWindowTest, RepaintComesFromTheCacheAndKeysZoom) {
  load("uhrfeder.vlk");
  gui::MainWindow w(ws, ui);
  w.resize(800, 600);
  w.show();
  w.runCommand(MenuId::ViewDrawing0);
  gui::GraphicsView& v = w.view();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
  v.image();
  const int replays = v.replays();
  v.repaint();
  v.repaint();
  EXPECT_EQ(v.replays(), replays) << "a repaint without a change replays nothing";

  const ViewMapping before = v.mapping();
  QTest::keyClick(&v, Qt::Key_Plus, Qt::KeypadModifier);
  v.image();
  EXPECT_LT(v.mapping().vxmax - v.mapping().vxmin, before.vxmax - before.vxmin);
  EXPECT_EQ(v.replays(), replays + 1);
  QTest::keyClick(&v, Qt::Key_Left);
  QTest::keyClick(&v, Qt::Key_Escape);
  EXPECT_EQ(v.mapping().vxmin, before.vxmin);
  EXPECT_EQ(v.mapping().vxmax, before.vxmax);

  // The rubber band: the dragged part fills the window; the right button goes back.
  QTest::mousePress(&v, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseMove(&v, QPoint(300, 250));
  QTest::mouseRelease(&v, Qt::LeftButton, {}, QPoint(300, 250));
  EXPECT_LT(v.mapping().vxmax - v.mapping().vxmin, (before.vxmax - before.vxmin) / 2);
  QTest::mouseClick(&v, Qt::RightButton, {}, QPoint(50, 50));
  EXPECT_EQ(v.mapping().vxmax - v.mapping().vxmin, before.vxmax - before.vxmin);
}

// Drives the modal windows that open one after the other while open() runs: the k-th window is
// handed to the k-th action. Returns how many windows were driven.
template <typename Open>
int driveEach(Open open, std::vector<std::function<void(QWidget*)>> actions) {
  // A QPointer: a form built anew may take the address of the one before it.
  auto state = std::make_shared<std::pair<std::size_t, QPointer<QWidget>>>(0, nullptr);
  auto timer = std::make_shared<QTimer>();
  timer->setInterval(5);
  QObject::connect(timer.get(), &QTimer::timeout, [state, actions] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || w == state->second.data()) return;
    state->second = w;
    if (state->first >= actions.size()) {
      // One window more than the script knows: closed, so the test cannot hang.
      ADD_FAILURE() << "unexpected window " << w->objectName().toStdString() << " " << w->windowTitle().toStdString();
      w->close();
      return;
    }
    actions[state->first++](w);
  });
  timer->start();
  open();
  timer->stop();
  return static_cast<int>(state->first);
}

// A dimensioning session in the online form: each showing is a new form; Down and Up move the
// focus row and take the texts over, Enter recalculates, Esc leaves. Every pass repaints the view.
TEST_F(MainWindowTest, DimensioningSessionThroughTheOnlineForm) {
  load("drahtfeder_dynamisch.vlk");
  ws.config.helpLevel = 1;  // the quick view follows every pass
  gui::MainWindow w(ws, ui);
  w.show();
  w.view().image();
  const int replays = w.view().replays();
  std::vector<QString> focused;
  auto focus = [&](QWidget* form) {
    // The form's own focus child: the window may not be active yet when the script reaches it.
    (void)QTest::qWaitFor([form] { return form->isActiveWindow(); }, 500);
    auto* edit = qobject_cast<QLineEdit*>(form->focusWidget());
    focused.push_back(edit ? edit->objectName() : QString());
    return edit ? edit : form->findChild<QLineEdit*>("ed_1");
  };
  const int shown = driveEach([&] { w.runCommand(MenuId::EditDimensioning); },
                              {
                                  [&](QWidget* f) {
                                    QLineEdit* e = focus(f);
                                    e->selectAll();
                                    QTest::keyClicks(e, "200");
                                    QTest::keyClick(e, Qt::Key_Down);
                                  },
                                  [&](QWidget* f) { QTest::keyClick(focus(f), Qt::Key_Up); },
                                  [&](QWidget* f) { QTest::keyClick(focus(f), Qt::Key_Return); },
                                  [&](QWidget* f) {
                                    QLineEdit* e = focus(f);
                                    e->selectAll();
                                    QTest::keyClicks(e, "999");  // not taken: Esc leaves
                                    QTest::keyClick(e, Qt::Key_Escape);
                                  },
                              });
  EXPECT_EQ(shown, 4);
  EXPECT_EQ(focused, (std::vector<QString>{"ed_1", "ed_2", "ed_1", "ed_1"}));
  EXPECT_NEAR(static_cast<double>(ws.spring.T1), 200.0, 1e-9);
  EXPECT_GE(w.view().replays(), replays + 3) << "each pass repaints the quick view";
}

}  // namespace
}  // namespace velk::test
