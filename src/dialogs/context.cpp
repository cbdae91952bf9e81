// The host part's start state (the data directory and the private temporary folder) and the
// diagnostics sink's window.
#include "dialogs/context.h"

namespace velk {

Host::Host(UiServices& services) : ui(services) {
  programData = programDataDir();
  tempRoot = privateTempDir();
}

UiContext::UiContext(UiServices& services) : Host(services) {
  diag.setListener([this](const Diagnostic& d) {
    switch (d.severity) {
      case Severity::Error:
        if (errorMessagesEnabled) ui.show(MessageRequest{MessageKind::Error, d.caption, d.text});
        break;
      case Severity::Info:
        ui.show(MessageRequest{MessageKind::Info, d.caption, d.text});
        break;
      case Severity::Titled:
        ui.show(MessageRequest{MessageKind::Titled, d.caption, d.text});
        break;
    }
  });
}

}  // namespace velk
