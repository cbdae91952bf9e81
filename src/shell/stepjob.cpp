// The /STEP batch job: the unloaded spring's 3D model beside the caller.
#include "shell/stepjob.h"

#include <ostream>

#include "base/codepage.h"
#include "data/inputfile.h"
#include "dialogs/dialogs.h"
#include "shell/startup.h"
#include "step/stepmodel.h"

namespace velk {

int runStepJob(Session& ws, const std::string& inputArgument, std::ostream& err) {
  const std::string output = ws.spring.fileName + ".step";
  if (refuseJobOutput(ws, inputArgument, output, err)) return 2;
  const StepResult r = WriteSpringStep(ws.spring, 0, output, ws.io);
  if (!r.problem.empty()) {
    err << "wvelk: " << cp850ToUtf8(r.problem) << "\n";
    err << "wvelk: " << output << " was not written\n";
    return 2;
  }
  if (r.ioError != 0) {
    printWriteFailure(output, r.ioError, err);
    return 2;
  }
  return 0;
}

}  // namespace velk
