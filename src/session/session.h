// The session: the one owner of all process-wide state, composed of its parts (host services,
// settings, interaction state, table, document, report and output state, help state). Built
// fresh by every test and passed by reference; lower layers take only the part they need.
#pragma once

#include "help/context.h"

namespace velk {

struct Session : HelpContext {
  // Installs the standard drawing devices and starts the documentation record with today.
  explicit Session(UiServices& ui);
};

}  // namespace velk
