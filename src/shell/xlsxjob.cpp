// The /XLSX batch job: the standard report through the tab-separated destination, turned into a
// workbook beside the caller; the destination's text file in the temporary folder is removed.
#include "shell/xlsxjob.h"

#include <cstdio>
#include <ostream>

#include "base/codepage.h"
#include "commands/spreadsheetlink.h"
#include "data/inputfile.h"
#include "sheet/sheetplugin.h"
#include "shell/startup.h"

namespace velk {

int runXlsxJob(Session& ws, const std::string& inputArgument, std::ostream& err) {
  const std::string output = ws.spring.fileName + ".xlsx";
  if (refuseJobOutput(ws, inputArgument, output, err)) return 2;
  if (const std::string problem = sheetPluginProblem(); !problem.empty()) {
    err << "wvelk: the workbook writer cannot be loaded: " << problem << "\n";
    return 2;
  }
  std::string path = output;
  std::string tab;
  const int e = WriteReportWorkbook(ws, path, &tab);
  if (!tab.empty()) std::remove(tab.c_str());
  if (e != 0) {
    err << "wvelk: " << output << " was not written\n";
    return 2;
  }
  return 0;
}

}  // namespace velk
