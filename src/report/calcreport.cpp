// The calculation report: standard output and excerpt of the current spring.
// Values are formatted by the unit-aware number formats; labels are code page 850.
#include "report/calcreport.h"

#include <cmath>
#include <optional>
#include <string>

#include "base/codepage.h"
#include "base/numfmt.h"
#include "calc/fatigue.h"
#include "report/explanationfile.h"
#include "report/explanations.h"
#include "report/columntable.h"
#include "report/reportwriter.h"

namespace velk {
namespace {

bool roundWire(const Spring& s) { return s.crossSection == 2; }

const char* loadText(int statdyn) { return statdyn == 2 ? "dynamisch" : "statisch"; }

std::string endText(int form) { return form == 2 ? "abgebogen" : "eingespannt"; }

std::string angleText(const NumberSettings& n, Real x) { return fmtFixed(n, 4, 2, x); }

// The two lines naming the material of the spring's cross-section. The strip record's lines are
// cut to 51 and 41 characters; every line stays within the 72 characters of a framed row.
std::pair<std::string, std::string> materialLines(const ReportContext& ws) {
  if (roundWire(ws.spring)) {
    const WireRecord& w = ws.materials.wire;
    return {leftStr(w.name1 + " " + w.name2, 72), leftStr(w.name3 + " " + w.name4, 72)};
  }
  const StripRecord& r = ws.materials.strip;
  return {leftStr(r.name1 + " " + r.name2, 51), leftStr(r.name3 + " " + r.name4, 41)};
}

void writeMaterialLines(ReportContext& ws) {
  const auto [first, second] = materialLines(ws);
  WriteTextLine(ws, first);
  WriteTextLine(ws, second);
}

// Header block, fatal check, open and first page header. False when nothing is to be written.
bool startReport(ReportContext& ws) {
  const Spring& s = ws.spring;
  SetReportHeader(ws, std::string(kAppTitle) + " V" + kVersion + "  Spiralfederberechnung",
                  FormatNumberLine(s.zeichname, s.zeichnr), s.zeichname2, s.bemerk1, s.bemerk2, 0);
  if (ws.messages.fatal) {
    ShowMessageWindow(ws);
    return false;
  }
  OpenReport(ws, kDeviceAsk, s.fileName + ".TXT");
  if (ws.abort) return false;
  WritePageHeader(ws, 0, 0);
  return !ws.abort;
}

bool keep(ReportContext& ws) {
  KeepTogether(ws, 0);
  return !ws.abort;
}

// Lifetime in hours of a number of load cycles at the spring's frequency; empty when there is none
// to give (no usable frequency, or a result that is not finite).
std::string lifetimeText(const ReportContext& ws, Real cycles) {
  const std::optional<Real> h = LifetimeHours(cycles, ws.spring.freq);
  return h ? fmtSigN(ws.config.num, 2, *h) : std::string();
}

std::string millionsText(const ReportContext& ws, Real cycles) { return fmtSigN(ws.config.num, 2, cycles / 1e6L); }

void toleranceRows(ReportContext& ws) {
  const Spring& s = ws.spring;
  WriteValueRow(ws, "Toleranz Dauerfestigkeit", "tol", "%", fmtTolerance(ws.config.num, s.tolPlus, s.tolMinus));
  WriteTableRow(ws, "Lastspiele bis Bruch min/max", "N", "Mio", millionsText(ws, s.cyclesMin),
                millionsText(ws, s.cyclesMax));
}

void lifetimeRangeRow(ReportContext& ws) {
  const Spring& s = ws.spring;
  WriteTableRow(ws, "Lebensdauer min/max", "tN", "h", lifetimeText(ws, s.cyclesMin), lifetimeText(ws, s.cyclesMax));
}

}  // namespace

void WriteLifetimeSection(ReportContext& ws) {
  const Spring& s = ws.spring;
  if (s.statdyn != 2 || !(s.strokePerm > 0)) return;
  // A frequency too small to show (it would read "f=0Hz") or not finite gives no lifetime.
  const bool hasFrequency = std::isfinite(s.freq) && s.freq >= kLifetimeMinFrequency;
  if (s.fatigueRatio >= 1) {
    WriteValueRow(ws, "Lastspiele bis Bruch", "N", "", " > 10 Mio.");
    if (s.cyclesMin < 1e7L) toleranceRows(ws);
    WriteValueRow(ws, "Lebensdauer", "tN", "", "dauerfest");
    if (s.cyclesMin < 1e7L && hasFrequency) lifetimeRangeRow(ws);
    return;
  }
  WriteValueRow(ws, "Lastspiele bis Bruch", "N", "Mio", millionsText(ws, s.cyclesN));
  const bool tolerance = s.tolPlus != 0 || s.tolMinus != 0;
  if (tolerance) toleranceRows(ws);
  if (hasFrequency && s.cyclesN < 1e7L && LifetimeHours(s.cyclesN, s.freq)) {
    WriteValueRow(ws, "Lebensdauer (f=" + fmtSig(ws.config.num, s.freq) + "Hz)", "tN", "h",
                  lifetimeText(ws, s.cyclesN));
    if (tolerance) lifetimeRangeRow(ws);
  }
}

void WriteStandardReport(ReportContext& ws) {
  if (!startReport(ws)) return;
  const Spring& s = ws.spring;
  const NumberSettings& n = ws.config.num;
  const std::string len = unitLength(n), str = unitStress(n), ang = unitAngle(n), mom = unitMoment(n);

  // Main dimensions.
  WriteTextLine(ws, "");
  WriteSectionTitle(ws, "HAUPTABMESSUNGEN");
  WriteValueRow(ws, "Windungsradius innen", "ri", len, fmtLength(n, s.ri));
  WriteValueRow(ws, oem("Windungsradius außen"), "re", len, fmtLength(n, s.re));
  if (roundWire(s)) {
    WriteValueRow(ws, "Drahtdurchmesser", "d", len, fmtLength(n, s.t));
  } else {
    WriteValueRow(ws, "Band Breite", "b", len, fmtLength(n, s.b));
    WriteValueRow(ws, oem("Band Höhe"), "h", len, fmtLength(n, s.t));
  }
  WriteValueRow(ws, "Windungszahl", "n0", "", fmtSig(n, s.n0));
  WriteValueRow(ws, oem("Öffnungswinkel"), "delta 0", ang, angleText(n, s.delta0));
  WriteValueRow(ws, "Abstand zwischen den Windungen", "a0", len, fmtLength(n, s.a0));

  // Material.
  WriteTextLine(ws, "");
  WriteSectionTitle(ws, "WERKSTOFF");
  writeMaterialLines(ws);
  WriteTextLine(ws, ThinRule(ws));
  WriteValueRow(ws, oem("Elastizitätsmodul"), "E", str, fmtStressFixed(n, 6, 0, s.E));
  WriteValueRow(ws, "Dichte", "rho", "kg/dm^3", fmtFixed(n, 3, 2, s.rho));
  WriteValueRow(ws, "Zugfestigkeit", "Rm", str, fmtStressFixed(n, 4, 0, s.Rm));
  WriteValueRow(ws, "zul. Biegespannung", "sig.zul", str, fmtStressFixed(n, 4, 0, s.sigman));
  WriteValueRow(ws, "Betriebstemperatur", "theta", ang, fmtTempFixed(n, 4, 0, s.theta));
  WriteValueRow(ws, "E-Modul bei Betriebstemperatur", "E" + fmtFixed(n, 3, 0, s.theta), str,
                fmtStressFixed(n, 6, 0, s.Et));

  // Manufacture, load, treatment.
  WriteTextLine(ws, "");
  WriteSectionTitle(ws, "Herstellung   : kaltgeformt");
  WriteSectionTitle(ws, std::string("Beanspruchung : ") + loadText(s.statdyn));
  if (s.kugelstrahlen == 'J') WriteSectionTitle(ws, "Behandlung    : Feder kugelgestrahlt");
  if (!keep(ws)) return;

  // Spring ends.
  WriteTextLine(ws, "");
  WriteSectionTitle(ws, "FEDERENDEN");
  WriteValueRow(ws, "Federende innen", "", "", endText(s.formi));
  if (s.formi == 2) {
    WriteValueRow(ws, oem("Länge Federende innen"), "", len, fmtLength(n, s.li));
    WriteValueRow(ws, "Abbiegeradius Federende innen", "", len, fmtLength(n, s.rbi));
  }
  WriteValueRow(ws, oem("Federende außen"), "", "", endText(s.forme));
  if (s.forme == 2) {
    WriteValueRow(ws, oem("Länge Federende außen"), "", len, fmtLength(n, s.le));
    WriteValueRow(ws, oem("Abbiegeradius Federende außen"), "", len, fmtLength(n, s.rbe));
  }
  WriteTextLine(ws, "");
  if (!keep(ws)) return;

  // Moments: always in Nmm, whatever the unit system.
  WriteTextLine(ws, "");
  WriteSectionTitle(ws, "FEDERMOMENTE");
  WriteValueRow(ws, "Federmoment", "T1", "Nmm", fmtSig(n, s.T1));
  WriteValueRow(ws, "Federmoment", "T2", "Nmm", fmtSig(n, s.T2));
  WriteValueRow(ws, "Federmoment", "Tc", "Nmm", fmtSig(n, s.Tc));

  if (!keep(ws)) return;
  WriteTextLine(ws, "");
  WriteSectionTitle(ws, "FEDERWINKEL");
  WriteValueRow(ws, "Drehwinkel bei T1", "alpha 1", ang, angleText(n, s.alpha1));
  WriteValueRow(ws, "Drehwinkel bei T2", "alpha 2", ang, angleText(n, s.alpha2));
  WriteValueRow(ws, "Hubwinkel", "alfa h", ang, angleText(n, s.alphah));
  WriteValueRow(ws, "max. Drehwinkel", "alfa c", ang, angleText(n, s.alphac));
  WriteValueRow(ws, "Windungszahl", "n1", "", fmtSig(n, s.n1));
  WriteValueRow(ws, "Windungszahl", "n2", "", fmtSig(n, s.n2));
  WriteValueRow(ws, "Windungszahl", "nc", "", fmtSig(n, s.nc));
  WriteValueRow(ws, oem("Windungsradius außen"), "re1", len, fmtLength(n, s.re1));
  WriteValueRow(ws, oem("Windungsradius außen"), "re2", len, fmtLength(n, s.re2));
  WriteValueRow(ws, oem("Windungsradius außen"), "rec", len, fmtLength(n, s.rec));
  WriteValueRow(ws, "Abstand zwischen den Windungen", "a1", len, fmtLength(n, s.a1));
  WriteValueRow(ws, "Abstand zwischen den Windungen", "a2", len, fmtLength(n, s.a2));

  if (!keep(ws)) return;
  WriteTextLine(ws, "");
  WriteSectionTitle(ws, "EINBAUWINKEL");
  WriteValueRow(ws, "Schenkelwinkel", "delta 1", ang, angleText(n, s.delta1));
  WriteValueRow(ws, "Schenkelwinkel", "delta 2", ang, angleText(n, s.delta2));
  if (!keep(ws)) return;

  // Stresses.
  WriteTextLine(ws, "");
  WriteSectionTitle(ws, "SPANNUNGEN");
  WriteValueRow(ws, "Spannung bei T1", "sigma1", str, fmtStressFixed(n, 6, 0, s.sigma1));
  WriteValueRow(ws, "Spannung bei T2", "sigma2", str, fmtStressFixed(n, 6, 0, s.sigma2));
  WriteValueRow(ws, "Spannung bei Tc", "sigmac", str, fmtStressFixed(n, 6, 0, s.sigmac));
  WriteValueRow(ws, "zul.Spannung", "sigman", str, fmtStressFixed(n, 6, 0, s.sigman));
  WriteValueRow(ws, "korrigierte Spannung bei T1", "sigmaq1", str, fmtStressFixed(n, 6, 0, s.sigmaq1));
  WriteValueRow(ws, "korrigierte Spannung bei T2", "sigmaq2", str, fmtStressFixed(n, 6, 0, s.sigmaq2));
  WriteValueRow(ws, "Hubspannung", "sigmah", str, fmtStressFixed(n, 6, 0, s.sigmah));
  if (s.sighz > 0) WriteValueRow(ws, "Zul. Hubspannung", "sighz", str, fmtStressFixed(n, 6, 0, s.sighz));

  if (!keep(ws)) return;
  WriteTextLine(ws, "");
  WriteSectionTitle(ws, "KENNWERTE UND HERSTELLDATEN");
  WriteValueRow(ws, "Spannungsbeiwert", "kb", "", fmtFixed(n, 2, 3, s.kb));
  WriteValueRow(ws, "Federrate", "R(cM)", mom + "/" + ang, "  " + fmtMoment(n, s.cT));
  WriteValueRow(ws, "Federarbeit zwischen s1 und s2", "W", mom, fmtMoment(n, s.W));
  WriteValueRow(ws, oem("Flächenträgheitsmoment"), "Ib", "mm^4", fmtSig(n, s.Ib));
  WriteValueRow(ws, "Widerstandsmoment", "Wb", "mm^3", fmtSig(n, s.Wb));
  WriteValueRow(ws, oem("wirksame Länge"), "Lw", len, fmtLength(n, s.Lw));
  WriteValueRow(ws, oem("Bandlänge"), "L", len, fmtLength(n, s.L));
  if (s.m >= 100)
    WriteValueRow(ws, "Gewicht der Feder", "m", "g", fmtSig(n, s.m));
  else
    WriteValueRow(ws, oem("Gewicht/100 Stück"), "m", "g/100", fmtSig(n, 100 * s.m));

  WriteLifetimeSection(ws);

  if (ws.messages.count > 0) {
    if (!keep(ws)) return;
    WriteTextLine(ws, "");
    WriteMessageSection(ws);
  }
  EndPage(ws);
  CloseReport(ws);
}

void WriteExcerptReport(ReportContext& ws) {
  if (!startReport(ws)) return;
  const Spring& s = ws.spring;
  const NumberSettings& n = ws.config.num;
  const std::string len = unitLength(n), str = unitStress(n), ang = unitAngle(n), mom = unitMoment(n);

  WriteTextLine(ws, "");
  if (roundWire(s))
    WriteTextLine(ws, "d = " + fmtLength(n, s.t) + " " + len);
  else
    WriteTextLine(ws, "t = " + fmtLength(n, s.t) + "   b = " + fmtLength(n, s.b) + " " + len);
  WriteTextLine(ws, "");
  WriteTextLine(ws, "Ri = " + fmtLength(n, s.ri) + "   Re = " + fmtLength(n, s.re) + " " + len);
  WriteTextLine(ws, "");
  WriteTextLine(ws, "n0 = " + fmtSig(n, s.n0) + "   a0 = " + fmtLength(n, s.a0) + " " + len + "    E = " +
                        fmtStress(n, s.E) + " " + str);
  WriteRawLine(ws, "");
  WriteTextLine(ws, "T = " + fmtTempFixed(n, 4, 0, s.theta) + " " + unitTemp(n) + "       E t = " + fmtStress(n, s.Et) +
                        " " + str);
  WriteRawLine(ws, "");
  WriteTextLine(ws, "Rt = " + fmtMoment(n, s.cT) + " " + mom + "/" + ang);
  WriteRawLine(ws, "");
  WriteTextLine(ws, "Lw = " + fmtLength(n, s.Lw) + " " + len + "    m = " + fmtSig(n, s.m) + " g   sigma z = " +
                        fmtStressDec(n, 0, s.sigman) + " " + str);
  WriteTextLine(ws, "");

  // The load states.
  ColumnTable table;
  table.columns = {{"Einbauwinkel " + ang, 20}, {"Federwinkel " + ang, 16}, {"Drehmoment " + mom, 21},
                   {"Sigma " + str, 12}};
  table.ruleAfterRow = false;
  BeginColumnTable(ws, table);
  auto f41 = [&](Real x) { return fmtFixed(n, 4, 1, x); };
  auto moment = [&](Real x) { return fmtMomentFixed(n, 5, 2, x); };
  auto stress = [&](Real x) { return fmtStressFixed(n, 4, 0, x); };
  WriteColumnRow(ws, table, {"delta0=" + f41(s.delta0), "alpha0=" + f41(0), "T0=" + moment(0), "sigma0 =" + stress(0)});
  WriteColumnRow(ws, table, {"delta1=" + f41(s.delta1), "alpha1=" + f41(s.alpha1), "T1=" + moment(s.T1),
                             "sigmaq1=" + stress(s.sigmaq1)});
  WriteColumnRow(ws, table, {"", "alphah=" + f41(s.alphah), "Th=" + moment(s.T2 - s.T1),
                             "sigmaqh=" + stress(s.sigmaq2 - s.sigmaq1)});
  WriteColumnRow(ws, table, {"delta2=" + f41(s.delta2), "alpha2=" + f41(s.alpha2), "T2=" + moment(s.T2),
                             "sigmaq2=" + stress(s.sigmaq2)});
  WriteColumnRow(ws, table, {"deltan=" + f41(s.deltac), "alphac=" + f41(s.alphac), "Tc=" + moment(s.Tc),
                             "sigmac =" + stress(s.sigmac)});
  // The text devices go on without the table's end rule; HTML closes the table so the page
  // stays well-formed.
  if (IsHtmlDevice(CurrentDevice(ws))) EndColumnTable(ws, table);

  WriteRawLine(ws, "");
  WriteTextLine(ws, ThinRule(ws));
  writeMaterialLines(ws);
  WriteTextLine(ws, ThinRule(ws));
  if (ws.messages.count > 0) {
    WriteTextLine(ws, "");
    WriteMessageList(ws);
  }
  EndPage(ws);
  CloseReport(ws);
}

}  // namespace velk
