// Small pieces the menu commands share: what the input forms take from the session, and the quick
// view drawn after each pass of a design mode.
#pragma once

#include <string>

#include "base/identity.h"
#include "dialogs/inputforms.h"
#include "draw/drawing.h"
#include "graphics/views.h"
#include "session/session.h"

namespace velk {

// What the input forms take: the program title, the help level and the tool tips.
inline InputFormContext FormContext(const Session& ws) {
  InputFormContext c;
  c.appTitle = kAppTitle;
  c.helpLevel = ws.config.helpLevel;
  HelpProvider* help = ws.help;
  c.hint = [help](uint16_t number) { return help ? help->hint(number) : std::string(); };
  return c;
}

// The quick view after each pass of a design mode (the design table calls it only when the help
// level asks for it). While a pass ended fatally the view would open the message window over the
// online form at every pass; the form lists the messages itself, so nothing is drawn then.
inline void QuickViewOfPass(Session& ws) {
  if (ws.messages.fatal) return;
  ShowView(ws, ViewKind::Quick1, DeviceCode::Screen);
}

}  // namespace velk
