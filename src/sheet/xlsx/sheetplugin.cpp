// The workbook plug-in's entry point.
#include "sheet/sheetplugin.h"

#include "sheet/xlsx/xlsx.h"

namespace {
constexpr velk::SheetPlugin kTable = velk::sheetPluginTable(&velk::writeWorkbookXlsx, &velk::readWorkbookColumnXlsx);
}  // namespace

extern "C" __attribute__((visibility("default"))) const void* velk_sheet_plugin() { return &kTable; }
