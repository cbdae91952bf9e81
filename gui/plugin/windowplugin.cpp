// The window plug-in's entry point (lib/velk/plugins/window.so): the window and the PDF writer.
#include "gui/windowplugin.h"

#include "gui/windowedapp.h"

extern "C" __attribute__((visibility("default"))) const void* velk_window_plugin() {
  static const velk::gui::WindowPlugin table{velk::gui::kWindowPluginVersion, sizeof(velk::Session),
                                             &velk::gui::runWindowed, &velk::gui::runPdfJob};
  return &table;
}
