// The help part of the session (the HP-GL/2 reader's state, which carries over from one help
// image to the next, and where the image browser was left) and what the help windows take.
#pragma once

#include "graphics/context.h"
#include "help/hpgl.h"

namespace velk {

struct HelpState {
  HpglState hpgl;
  int helpImagesLeft = 1, helpImagesTop = 1;
};

struct HelpContext : OutputContext, HelpState {
  using OutputContext::OutputContext;
};

}  // namespace velk
