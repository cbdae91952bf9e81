// Start values of the documentation records.
#include "data/documentation.h"

namespace velk {

void initDocumentation(Documentation& d, const std::string& today) {
  d = Documentation{};
  d.info.creationDate = today;
  d.info.checkDate = today;
  d.info.standardsDate = today;
}

}  // namespace velk
