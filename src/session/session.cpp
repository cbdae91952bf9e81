// The session's start state.
#include "session/session.h"

#include "cad/devices.h"
#include "data/documentation.h"

namespace velk {

Session::Session(UiServices& services) : HelpContext(services) {
  InstallStandardDevices(drawing);
  initDocumentation(spring.doc, todayText(config.num));
}

}  // namespace velk
