// The document part of the session: the spring, the material records it is calculated with and
// the messages of its last calculation. The calculation itself takes only this part and the
// number settings.
#pragma once

#include "data/materials.h"
#include "data/messages.h"
#include "data/spring.h"

namespace velk {

struct Document {
  Spring spring;
  Materials materials;
  CalcMessages messages;
};

}  // namespace velk
