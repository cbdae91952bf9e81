// Material selection, table editing, the new-wire-material dialog and loading the records a
// spring file names. All table access goes through the table service (ws.table).
#include "calcservice/materialselect.h"

#include <cmath>

#include "base/codepage.h"
#include "calc/material.h"
#include "calcservice/context.h"
#include "data/springkinds.h"
#include "dialogs/dialogs.h"
#include "tables/tableservice.h"

namespace velk {

namespace {

constexpr const char* kStripTable = "velkwst.dbf";
constexpr const char* kWireTable = "talmwst.dbf";
constexpr const char* kStripFatal = "Fatal  : velkwst DBF error";
constexpr const char* kWireFatal = "Fatal  : TALMWST DBF error";

// Nearest integer of a finite value within +-1e15, else 0 (a table value that no integer field
// could hold is as good as missing).
long long roundToInt(Real x) {
  if (!std::isfinite(x) || std::fabs(x) > 1e15L) return 0;
  return std::llround(x);
}

// An "integer" field. Text that is not an integer but a number (a table edited with decimals,
// "206000.00") is rounded instead of read as 0, which would silently ruin the calculation.
long long intField(const CalcContext& ws, int pos) {
  const std::string text = trim(FieldText(ws.table, pos));
  long long v = 0;
  if (tryParseInt(text, v)) return v;
  return roundToInt(parseReal(text));
}

Real realField(const CalcContext& ws, int pos) { return parseReal(trim(FieldText(ws.table, pos))); }

std::string textField(const CalcContext& ws, int pos, int length) { return leftStr(FieldText(ws.table, pos), length); }

void readFatigue(const CalcContext& ws, int first, FatigueValues& f) {
  f.upper = intField(ws, first);
  f.upperDecrease = intField(ws, first + 1);
  f.stroke = intField(ws, first + 2);
  f.strokeDecrease = intField(ws, first + 3);
  f.m = realField(ws, first + 4);
}

void takeStrip(CalcContext& ws) {
  Spring& s = ws.spring;
  const StripRecord& r = ws.materials.strip;
  setMaterialSource(s, MaterialSource::TableRecord);
  s.matName = leftStr(r.name1, 50);
  s.E = static_cast<Real>(r.E);
  s.rho = r.rho;
}

void takeWire(CalcContext& ws) {
  Spring& s = ws.spring;
  const WireRecord& r = ws.materials.wire;
  setMaterialSource(s, MaterialSource::TableRecord);
  s.matName = leftStr(r.name1, 50);
  s.E = static_cast<Real>(r.E);
  s.G = static_cast<Real>(r.G);
  s.rho = r.rho;
}

// Decrease per decade of diameter between the values a at d0 and b at dx; 0 when either value or
// d0 is 0, and when dx equals d0 (no decade to divide by).
long long perDecade(Real a, Real b, Real dx, Real d0) {
  if (d0 == 0 || a == 0 || b == 0) return 0;
  const Real decades = Lg(dx / d0);
  if (!std::isfinite(decades) || decades == 0 || decades <= -1e29L) return 0;
  return roundToInt((a - b) / decades);
}

// One step of the dialog: help number, request; true when the user went on.
bool askReal(CalcContext& ws, const std::string& prompt, Real& value, Real lower, Real upper) {
  EnterReal(ws, prompt, value, lower, upper);
  return !ws.abort;
}

bool askText(CalcContext& ws, const std::string& prompt, int length, std::string& text) {
  EnterText(ws, prompt, length, text);
  return !ws.abort;
}

void writeWireRecord(CalcContext& ws, const WireRecord& r) {
  SetFieldText(ws.table, 1, r.name1);
  SetFieldText(ws.table, 2, r.name2);
  SetFieldText(ws.table, 3, r.name3);
  SetFieldText(ws.table, 4, r.name4);
  SetFieldInt(ws.table, 5, r.G);
  SetFieldInt(ws.table, 6, r.E);
  SetFieldFloat(ws.table, 7, r.rho);
  SetFieldInt(ws.table, 8, r.Rm0);
  SetFieldFloat(ws.table, 9, r.d0);
  SetFieldInt(ws.table, 10, r.Rmmax);
  SetFieldInt(ws.table, 11, r.kRm);
  SetFieldFloat(ws.table, 12, r.dG);
  const FatigueValues* sets[2] = {&r.plain, &r.peened};
  for (int k = 0; k < 2; ++k) {
    const int first = 13 + 5 * k;
    SetFieldInt(ws.table, first, sets[k]->upper);
    SetFieldInt(ws.table, first + 1, sets[k]->upperDecrease);
    SetFieldInt(ws.table, first + 2, sets[k]->stroke);
    SetFieldInt(ws.table, first + 3, sets[k]->strokeDecrease);
    SetFieldFloat(ws.table, first + 4, sets[k]->m);
  }
  SetFieldFloat(ws.table, 23, r.dmin);
  SetFieldFloat(ws.table, 24, r.dmax);
  SetFieldInt(ws.table, 25, r.Tmax);
  SetFieldText(ws.table, 26, r.field26);
  SetFieldInt(ws.table, 27, r.runningNo);
}

}  // namespace

void ReadStripRecord(const CalcContext& ws, StripRecord& r) {
  r.name1 = textField(ws, 1, 20);
  r.name2 = textField(ws, 2, 30);
  r.name3 = textField(ws, 3, 20);
  r.name4 = textField(ws, 4, 20);
  r.E = intField(ws, 5);
  r.rho = realField(ws, 6);
  r.Rm0 = intField(ws, 7);
  r.t0 = realField(ws, 8);
  r.Rmmax = intField(ws, 9);
  r.kRm = intField(ws, 10);
  r.tG = realField(ws, 11);
  readFatigue(ws, 12, r.plain);
  readFatigue(ws, 17, r.peened);
  r.tmin = realField(ws, 22);
  r.tmax = realField(ws, 23);
  r.Tmax = intField(ws, 24);
  r.field25 = realField(ws, 25);
  r.field26 = realField(ws, 26);
  r.f = realField(ws, 27);
  r.field28 = textField(ws, 28, 15);
  r.field29 = intField(ws, 29);
}

void ReadWireRecord(const CalcContext& ws, WireRecord& r) {
  r.name1 = textField(ws, 1, 50);
  r.name2 = textField(ws, 2, 30);
  r.name3 = textField(ws, 3, 20);
  r.name4 = textField(ws, 4, 20);
  r.G = intField(ws, 5);
  r.E = intField(ws, 6);
  r.rho = realField(ws, 7);
  r.Rm0 = intField(ws, 8);
  r.d0 = realField(ws, 9);
  r.Rmmax = intField(ws, 10);
  r.kRm = intField(ws, 11);
  r.dG = realField(ws, 12);
  readFatigue(ws, 13, r.plain);
  readFatigue(ws, 18, r.peened);
  r.dmin = realField(ws, 23);
  r.dmax = realField(ws, 24);
  r.Tmax = intField(ws, 25);
  r.field26 = textField(ws, 26, 50);
  r.runningNo = intField(ws, 27);
}

void SelectMaterial(CalcContext& ws) {
  switch (crossSectionOf(ws.spring)) {
    case CrossSection::Strip:
      return SelectStripMaterial(ws);
    case CrossSection::Wire:
      return SelectWireMaterial(ws);
    case CrossSection::Other:
      return;
  }
}

void SelectStripMaterial(CalcContext& ws) {
  if (!OpenTable(ws.table, ws.diag, ws, ws, kStripTable)) {
    ws.abort = true;
    AddCalcMessage(ws.messages, kStripFatal);
    return;
  }
  BuildIndex(ws.table, ws, ws, FieldName(ws.table, 1), "velkwst");
  SetBrowseTitles(ws.table, "", "Material");
  if (ws.spring.matNoFlat > 0) GoRecord(ws.table, ws.messages, ws.spring.matNoFlat);
  SetHelpNumber(ws, kHelpMaterialBrowser);
  BrowseTable(ws, 1);
  if (!ws.abort) {
    ws.spring.matNoFlat = static_cast<uint16_t>(RecNo(ws.table));
    ReadStripRecord(ws, ws.materials.strip);
  }
  CloseTable(ws.table);
  if (!ws.abort) takeStrip(ws);
}

void SelectWireMaterial(CalcContext& ws) {
  if (!OpenTable(ws.table, ws.diag, ws, ws, kWireTable)) {
    ws.abort = true;
    AddCalcMessage(ws.messages, kWireFatal);
    return;
  }
  SetBrowseTitles(ws.table, "", "Material");
  if (ws.spring.matNoRound != 0) {
    BuildIndex(ws.table, ws, ws, FieldName(ws.table, 1), "talmwst");
    GoRecord(ws.table, ws.messages, ws.spring.matNoRound);
  }
  SetHelpNumber(ws, kHelpMaterialBrowser);
  BrowseTable(ws, 1);
  if (!ws.abort) {
    ws.spring.matNoRound = static_cast<uint16_t>(RecNo(ws.table));
    ReadWireRecord(ws, ws.materials.wire);
  }
  CloseTable(ws.table);
  // A cancelled browser copies nothing: the material values stay those of the spring.
  if (!ws.abort) takeWire(ws);
}

void EditStripTable(CalcContext& ws) {
  if (!OpenTable(ws.table, ws.diag, ws, ws, kStripTable)) {
    ws.abort = true;
    AddCalcMessage(ws.messages, kStripFatal);
    return;
  }
  SetBrowseTitles(ws.table, "", "Material");
  SetHelpNumber(ws, kHelpMaterialBrowser);
  BrowseTable(ws, 2);
  CloseTable(ws.table);
}

void EditWireTable(CalcContext& ws) {
  SetHelpNumber(ws, kHelpNewMaterialQuestion);
  char answer = 'N';
  AskYesNo(ws, "Neuen Werkstoff eintragen ?", answer);
  if (ws.abort) return;
  if (answer == 'J') {
    EnterWireMaterial(ws);
    if (ws.abort) return;
  }
  if (!OpenTable(ws.table, ws.diag, ws, ws, kWireTable)) {
    ws.abort = true;
    AddCalcMessage(ws.messages, kWireFatal);
    return;
  }
  SetBrowseTitles(ws.table, "", "Material");
  SetHelpNumber(ws, kHelpMaterialBrowser);
  BrowseTable(ws, 2);
  if (!ws.abort) ReadWireRecord(ws, ws.materials.wire);
  CloseTable(ws.table);
}

void EnterWireMaterial(CalcContext& ws) {
  Spring& s = ws.spring;
  const WireRecord& current = ws.materials.wire;
  const NumberSettings& num = ws.num();
  const std::string stress = oem("  [N/mm²]");

  SetHelpNumber(ws, 5050);
  if (!askText(ws, "Werkstoff", 50, s.matName)) return;
  setMaterialSource(s, MaterialSource::EnteredWire);
  SetHelpNumber(ws, 5060);
  if (!askReal(ws, oem("Elastizitätsmodul E") + stress, s.E, 10, 1e8L)) return;
  SetHelpNumber(ws, 5070);
  if (!askReal(ws, "Schubmodul G" + stress, s.G, 10, 1e8L)) return;
  SetHelpNumber(ws, 5080);
  if (!askReal(ws, "Dichte rho  [kg/dm^3]", s.rho, 0.1L, 100)) return;

  SetHelpNumber(ws, 4010);
  std::string name2 = current.name2, name3 = current.name3, name4 = current.name4;
  if (!askText(ws, "Name 2", 30, name2) || !askText(ws, "Name 3", 20, name3) || !askText(ws, "Name 4", 20, name4))
    return;

  SetHelpNumber(ws, 4020);
  Real d0 = current.d0;
  if (!askReal(ws, "Drahtdurchmesser d0", d0, 0.01L, 100)) return;
  Real Rm0 = static_cast<Real>(current.Rm0);
  if (!askReal(ws, "Zugfestigkeit Rm0 bei d= " + fmtSig(num, d0) + " mm" + stress, Rm0, 1, 1e4L)) return;
  Real dx = 10;
  if (!askReal(ws, "Drahtdurchmesser dx", dx, 0.01L, 100)) return;
  Real Rmx = 500;
  if (!askReal(ws, "Zugfestigkeit Rmx bei d= " + fmtSig(num, dx) + " mm" + stress, Rmx, 1, 1e4L)) return;
  Real Rmmax = static_cast<Real>(current.Rmmax);
  if (!askReal(ws, oem("Max. Zugfestigkeit Rm max (bei d=0.1mm) [N/mm²]"), Rmmax, 0, 1e4L)) return;

  SetHelpNumber(ws, 4030);
  Real dmin = current.dmin;
  if (!askReal(ws, "Drahtdurchmesser dmin [mm]", dmin, 0, 1e3L)) return;
  Real dmax = current.dmax;
  if (!askReal(ws, "Drahtdurchmesser dmax [mm]", dmax, dmin, 1e3L)) return;
  Real Tmax = static_cast<Real>(current.Tmax);
  if (!askReal(ws, oem("Max. Betriebstemperatur Tmax [°C]"), Tmax, 0, 1e3L)) return;

  SetHelpNumber(ws, 4040);
  Real tauo0 = 0.56L * Rm0;
  if (!askReal(ws, "zul. Schubspannung tauo0 bei d = " + fmtSig(num, d0) + " mm" + stress, tauo0, 0, 1e4L)) return;
  Real dx2 = dx;
  if (!askReal(ws, "Drahtdurchmesser dx", dx2, 0.01L, 100)) return;
  Real tauox = 0.56L * Rmx;
  if (!askReal(ws, "zul. Schubspannung tauo bei d = " + fmtSig(num, dx2) + " mm" + stress, tauox, 0, 1e4L)) return;
  Real tauh0 = 0.3L * Rm0;
  if (!askReal(ws, oem("zulässige Hubspannung tauh0 bei d=") + fmtSig(num, d0) + ", tau u=0" + stress, tauh0, 0, 1e4L))
    return;
  Real tauhx = 0.3L * Rmx;
  if (!askReal(ws, oem("zulässige Hubspannung tauhx bei d = ") + fmtSig(num, dx2) + " mm" + stress, tauhx, 0, 1e4L))
    return;
  Real tauulim = (tauo0 - tauh0) * 4 / 3;
  if (!askReal(ws, "zul. Schubspannung tau u lim. bei d = " + fmtSig(num, d0) + " mm" + stress, tauulim, 0, 1e4L))
    return;

  if (!OpenTable(ws.table, ws.diag, ws, ws, kWireTable)) {
    ws.abort = true;
    AddCalcMessage(ws.messages, kWireFatal);
    return;
  }
  WireRecord r;
  r.name1 = s.matName;
  r.name2 = name2;
  r.name3 = name3;
  r.name4 = name4;
  r.G = roundToInt(s.G);
  r.E = roundToInt(s.E);
  r.rho = s.rho;
  r.Rm0 = roundToInt(Rm0);
  r.d0 = d0;
  r.Rmmax = roundToInt(Rmmax);
  r.kRm = perDecade(Rm0, Rmx, dx, d0);
  r.dG = d0;
  r.plain.upper = roundToInt(tauo0);
  r.plain.upperDecrease = perDecade(tauo0, tauox, dx2, d0);
  r.plain.stroke = roundToInt(tauh0);
  r.plain.strokeDecrease = perDecade(tauh0, tauhx, dx2, d0);
  r.plain.m = tauulim > 0 ? (tauo0 - tauh0) / tauulim : 0;
  r.dmin = dmin;
  r.dmax = dmax;
  r.Tmax = roundToInt(Tmax);
  r.runningNo = RecCount(ws.table) + 1;
  ws.materials.wire = r;
  writeWireRecord(ws, r);
  if (!AppendRecord(ws.table, ws.diag, ws)) ws.abort = true;
  CloseTable(ws.table);
}

MaterialLoadResult LoadMaterialRecords(CalcContext& ws) {
  MaterialLoadResult result;
  const bool abortBefore = ws.abort;
  const CrossSection cross = crossSectionOf(ws.spring);

  // Opens a table, positions on record n by GoRecord's rules and reads it; messages only for the
  // table of the spring's cross-section.
  auto load = [&](const char* table, long long n, bool ours, const char* fatal, auto read) {
    if (!OpenTableReadOnly(ws.table, ws.diag, ws, ws, table, false) || RecCount(ws.table) == 0) {
      CloseTable(ws.table);
      if (ours) result.messages.push_back(fatal);
      return false;
    }
    const long long count = RecCount(ws.table);
    if (n > count) {
      if (ours) result.messages.push_back("DBF #" + fmtInt(n) + " not found.");
      n = count;
    }
    if (n < 1) n = 1;
    ws.table.recNo = static_cast<std::uint32_t>(n);
    read();
    CloseTable(ws.table);
    return true;
  };
  result.stripLoaded = load(kStripTable, ws.spring.matNoFlat, cross == CrossSection::Strip, kStripFatal,
                            [&] { ReadStripRecord(ws, ws.materials.strip); });
  result.wireLoaded = load(kWireTable, ws.spring.matNoRound, cross == CrossSection::Wire, kWireFatal,
                           [&] { ReadWireRecord(ws, ws.materials.wire); });
  if (cross == CrossSection::Strip && result.stripLoaded) takeStrip(ws);
  if (cross == CrossSection::Wire && result.wireLoaded) takeWire(ws);
  ws.abort = abortBefore;
  return result;
}

}  // namespace velk
