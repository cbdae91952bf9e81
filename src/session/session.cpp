// The session's start state and the services it wires into its lower parts.
#include "session/session.h"

#include "cad/devices.h"
#include "data/documentation.h"
#include "help/helptext.h"
#include "help/imagebrowser.h"
#include "reportui/reportservice.h"

namespace velk {

namespace {

// The windows' "&Hilfetext" / "Hilfe&bild" buttons and tool tips.
class SessionHelp final : public HelpProvider {
 public:
  explicit SessionHelp(Session& ws) : ws_(ws) {}
  void showHelpText(uint16_t helpNumber) override { ShowHelp(ws_, helpNumber, 1); }
  void showHelpImage(uint16_t helpNumber) override { ShowHelp(ws_, helpNumber, 2); }
  void showHelpImages() override {
    // The browser may leave the abort flag set; the window that asked stays open regardless.
    const bool abort = ws_.abort;
    ShowHelpImages(ws_);
    ws_.abort = abort;
  }
  std::string hint(uint16_t helpNumber) override {
    if (ws_.config.helpLevel != 1 && ws_.config.helpLevel != 2) return {};
    return HelpHint(ws_, helpNumber);
  }

 private:
  Session& ws_;
};

}  // namespace

Session::Session(UiServices& services) : HelpContext(services), helpProvider_(std::make_unique<SessionHelp>(*this)) {
  help = helpProvider_.get();
  printTableListing = [this](int mode) { PrintTableListing(*this, mode); };
  InstallStandardDevices(*this);
  initDocumentation(spring.doc, todayText(config.num));
}

Session::~Session() = default;

}  // namespace velk
