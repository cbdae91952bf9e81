// WriteSpringStep in the core: the model is made by the STEP plug-in, loaded on the first call.
#include "step/stepmodel.h"

#include "base/codepage.h"
#include "platform/plugins.h"
#include "step/stepplugin.h"

namespace velk {

StepResult WriteSpringStep(const Spring& s, Real phi, const std::string& path, const IoHooks& hooks) {
  const PluginEntry entry = loadPlugin("step.so", "velk_step_plugin");
  const auto* table = static_cast<const StepPlugin*>(entry.table);
  if (table && fitsThisProgram(*table)) return table->write(s, phi, path, hooks);
  StepResult result;
  const std::string why = table ? pluginDir() + "step.so: built for another version of the program" : entry.error;
  result.problem = oem("the STEP writer cannot be loaded: " + why);
  return result;
}

}  // namespace velk
