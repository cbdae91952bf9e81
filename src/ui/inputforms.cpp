// The enable rules of the input forms' controls.
#include "ui/inputforms.h"

namespace velk {

SpringEndsEnabled springEndsEnabled(const SpringEndsResult& c) {
  const bool inner = c.formiIndex == 1;
  const bool outer = c.formeIndex == 1;
  return {inner, inner, outer, outer};
}

bool frequencyEnabled(const ApplicationResult& c) { return c.statdynIndex == 1; }

}  // namespace velk
