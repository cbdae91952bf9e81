// The /STEP batch job: the 3D model of the spring as a STEP file.
#pragma once

#include <iosfwd>
#include <string>

#include "session/session.h"

namespace velk {

// Writes the 3D model of the unloaded spring into the bare name + ".step" in the current folder.
// The input file has been read. Returns the exit code: 0 written; 2 when the calculation is fatal
// (the messages go to err), when the spring has no model (the reason goes to err), when the output
// would overwrite the input file or may not be replaced, or when the file could not be written.
// Nothing is written in any of these cases.
int runStepJob(Session& ws, const std::string& inputArgument, std::ostream& err);

}  // namespace velk
