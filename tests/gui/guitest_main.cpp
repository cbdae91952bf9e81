// The window tests' entry: one QApplication on the offscreen platform for every test.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// Under LeakSanitizer: what Qt, fontconfig and GLib keep until the process ends is theirs, not ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libQt6\nleak:libfontconfig\nleak:libglib\nleak:libdbus\nleak:libxcb\nleak:libX11\n";
}

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
