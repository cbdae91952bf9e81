// The /XLSX batch job: the standard report as a workbook.
#pragma once

#include <iosfwd>
#include <string>

#include "session/session.h"

namespace velk {

// Writes the standard report as a workbook (the rows of the tab-separated report, numbers as
// number cells) into the bare name + ".xlsx" in the current folder. The input file has been
// read. Returns the exit code: 0 written, 2 when the calculation is fatal (the messages go to
// err), when the output would overwrite the input file, or when the workbook could not be
// written.
int runXlsxJob(Session& ws, const std::string& inputArgument, std::ostream& err);

}  // namespace velk
