// What every window of the program needs from its surroundings: the main window it belongs to,
// the core's help provider and the scaling settings of the configuration.
#pragma once

#include <cstdint>

class QString;
class QWidget;

namespace velk {
class HelpProvider;
}

namespace velk::gui {

struct WindowEnv {
  QWidget* parent = nullptr;      // the main window; null before it exists
  HelpProvider* help = nullptr;   // "&Hilfetext", "Hilfe&bild" and tool tips; may be null
  int windowScalePercent = 100;   // "Input Window Scale %": the dialog's size
  int elementScalePercent = 100;  // the dialog elements' size
  // The printer chosen with "Drucker..." for the rest of the run (empty: the system's default);
  // owned by the UI services, null where nothing keeps a choice.
  QString* chosenPrinter = nullptr;
};

}  // namespace velk::gui
