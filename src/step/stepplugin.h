// The STEP plug-in's interface: lib/velk/plugins/step.so exports one C entry point, velk_step_plugin,
// returning this table. WriteSpringStep loads it on first use; nothing else sees OpenCASCADE.
#pragma once

#include <cstddef>
#include <string>

#include "base/numfmt.h"
#include "data/spring.h"
#include "platform/files.h"
#include "step/stepmodel.h"

namespace velk {

// Raised whenever the table or the types it passes change their meaning.
inline constexpr int kStepPluginVersion = 1;

struct StepPlugin {
  int version;
  // The layouts the plug-in was built with: a plug-in of another build is refused, not called.
  std::size_t springSize;
  std::size_t hooksSize;
  StepResult (*write)(const Spring& s, Real phi, const std::string& path, const IoHooks& hooks);
};

constexpr StepPlugin stepPluginTable(StepResult (*write)(const Spring&, Real, const std::string&, const IoHooks&)) {
  return StepPlugin{kStepPluginVersion, sizeof(Spring), sizeof(IoHooks), write};
}

// True when table was built from the same interface as this program.
inline bool fitsThisProgram(const StepPlugin& table) {
  return table.version == kStepPluginVersion && table.springSize == sizeof(Spring) &&
         table.hooksSize == sizeof(IoHooks) && table.write != nullptr;
}

}  // namespace velk

// Declared with the type the loader calls it through (an untyped table), so the call through
// the looked-up pointer is well defined; the table is a StepPlugin.
extern "C" const void* velk_step_plugin();
