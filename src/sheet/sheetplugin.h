// The workbook plug-in's interface: lib/velk/plugins/sheet.so exports one C entry point,
// velk_sheet_plugin, returning this table. writeWorkbook and readWorkbookColumn load it on first
// use, so only the jobs that write or read a workbook load the workbook libraries.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "sheet/workbook.h"

namespace velk {

// Raised whenever the table or the types it passes change their meaning.
inline constexpr int kSheetPluginVersion = 1;

struct SheetPlugin {
  int version;
  // The layouts the plug-in was built with: a plug-in of another build is refused, not called.
  std::size_t sheetDataSize;
  std::size_t limitsSize;
  std::size_t columnSize;
  std::size_t hooksSize;
  int (*write)(const std::string& path, const SheetData& data, const IoHooks& hooks, bool durable);
  WorkbookColumn (*read)(std::string_view bytes, std::string_view name, const WorkbookLimits& limits);
};

constexpr SheetPlugin sheetPluginTable(decltype(SheetPlugin::write) write, decltype(SheetPlugin::read) read) {
  return SheetPlugin{kSheetPluginVersion,
                     sizeof(SheetData),
                     sizeof(WorkbookLimits),
                     sizeof(WorkbookColumn),
                     sizeof(IoHooks),
                     write,
                     read};
}

inline bool fitsThisProgram(const SheetPlugin& table) {
  return table.version == kSheetPluginVersion && table.sheetDataSize == sizeof(SheetData) &&
         table.limitsSize == sizeof(WorkbookLimits) && table.columnSize == sizeof(WorkbookColumn) &&
         table.hooksSize == sizeof(IoHooks) && table.write != nullptr && table.read != nullptr;
}

// Empty when the plug-in is loaded and fits; otherwise why not (one line, UTF-8).
std::string sheetPluginProblem();

}  // namespace velk

// Declared with the type the loader calls it through (an untyped table), so the call through
// the looked-up pointer is well defined; the table is a SheetPlugin.
extern "C" const void* velk_sheet_plugin();
