// The host part's start state: the data directory and the private temporary folder.
#include "dialogs/context.h"

namespace velk {

Host::Host(UiServices& services) : ui(services) {
  programData = programDataDir();
  tempRoot = privateTempDir();
}

}  // namespace velk
