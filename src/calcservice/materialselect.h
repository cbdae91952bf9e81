// Choosing, browsing and entering materials: the strip table "velkwst.dbf" and the wire table
// "talmwst.dbf" through the table service, and loading the records a spring file names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calc/material.h"

namespace velk {

struct CalcContext;

// Help numbers of the material dialogs.
constexpr uint16_t kHelpMaterialBrowser = 9590;
constexpr uint16_t kHelpNewMaterialQuestion = 4050;

// Strip for crossSection 1, wire for 2, nothing otherwise.
void SelectMaterial(CalcContext& ws);
// Browser in selection mode. Confirmed: matNo* = the chosen record, the record is read, matSource = 0,
// matName, E, (G,) rho taken from it. Cancelled: nothing changes, the abort flag stays set.
// A table that cannot be opened: the calculation message "Fatal  : velkwst DBF error" /
// "Fatal  : TALMWST DBF error" and the abort flag.
void SelectStripMaterial(CalcContext& ws);
void SelectWireMaterial(CalcContext& ws);
// Browser in edit mode on the strip table; nothing is copied into the program.
void EditStripTable(CalcContext& ws);
// "Neuen Werkstoff eintragen ?" (default no), on yes EnterWireMaterial; then the browser in edit
// mode on the wire table, whose current record is read into the wire record on OK.
void EditWireTable(CalcContext& ws);
// The 19-step dialog for a new wire material, then the record appended to the wire table.
// A cancel at any step writes nothing (steps 1 to 4 have already changed matName, E, G, rho).
void EnterWireMaterial(CalcContext& ws);

// The current record of the open table (ws.table) read into a record: texts cut to their lengths,
// integer and real fields parsed (empty or invalid text gives 0).
void ReadStripRecord(const CalcContext& ws, StripRecord& r);
void ReadWireRecord(const CalcContext& ws, WireRecord& r);

// What LoadMaterialRecords found: the calculation messages the caller appends after the calculation
// (for the table of the spring's cross-section only), and which records were loaded.
struct MaterialLoadResult {
  std::vector<std::string> messages;
  bool stripLoaded = false;
  bool wireLoaded = false;
};
// Loads the strip record matNoFlat and the wire record matNoRound from their tables without the
// browser (read-only, no copy; a number beyond the table gives its last record, below 1 the first).
// For the spring's cross-section the values a confirmed selection takes (matSource = 0, matName,
// E, G for wire, rho) are set. matNoFlat/matNoRound and the abort flag are left as they were; no
// message box is shown. A table that cannot be opened or has no records keeps its record as it was
// and reports "Fatal  : velkwst DBF error" / "Fatal  : TALMWST DBF error"; a number beyond the table
// reports "DBF #" + n + " not found.".
MaterialLoadResult LoadMaterialRecords(CalcContext& ws);

}  // namespace velk
