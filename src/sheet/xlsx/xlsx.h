// The workbook library's side of the workbook interface: writing through libxlsxwriter and
// reading through libzip and expat. Only the workbook plug-in (lib/velk/plugins/sheet.so) and the
// workbook reader's fuzz target link it; the program reaches it through writeWorkbook and
// readWorkbookColumn (sheet/workbook.h), which load the plug-in on first use.
#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"
#include "sheet/workbook.h"

namespace velk {

int writeWorkbookXlsx(const std::string& path, const SheetData& data, const IoHooks& hooks, bool durable);

WorkbookColumn readWorkbookColumnXlsx(std::string_view bytes, std::string_view name, const WorkbookLimits& limits);

}  // namespace velk
