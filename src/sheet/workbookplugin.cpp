// writeWorkbook and readWorkbookColumn in the core: the work is done by the workbook plug-in,
// loaded on the first call.
#include <cerrno>
#include <string>

#include "base/codepage.h"
#include "platform/plugins.h"
#include "sheet/sheetplugin.h"
#include "sheet/workbook.h"

namespace velk {

namespace {

const SheetPlugin* sheetPlugin(std::string* problem) {
  const PluginEntry entry = loadPlugin("sheet.so", "velk_sheet_plugin");
  const auto* table = static_cast<const SheetPlugin*>(entry.table);
  if (table && fitsThisProgram(*table)) return table;
  if (problem) *problem = table ? pluginDir() + "sheet.so: built for another version of the program" : entry.error;
  return nullptr;
}

}  // namespace

std::string sheetPluginProblem() {
  std::string problem;
  sheetPlugin(&problem);
  return problem;
}

int writeWorkbook(const std::string& path, const SheetData& data, const IoHooks& hooks, bool durable) {
  const SheetPlugin* table = sheetPlugin(nullptr);
  return table ? table->write(path, data, hooks, durable) : ELIBACC;
}

WorkbookColumn readWorkbookColumn(std::string_view bytes, std::string_view name, const WorkbookLimits& limits) {
  std::string problem;
  if (const SheetPlugin* table = sheetPlugin(&problem)) return table->read(bytes, name, limits);
  WorkbookColumn out;
  out.error = std::string(name) + ": " + oem("the workbook reader cannot be loaded: " + problem);
  return out;
}

}  // namespace velk
