// The workspace's start state.
#include "core/workspace.h"

#include "data/documentation.h"

namespace velk {

Workspace::Workspace(UiServices& services) : ui(services) {
  programData = programDataDir();
  tempRoot = privateTempDir();
  initDocumentation(spring.doc, todayText(config.num));
}

}  // namespace velk
