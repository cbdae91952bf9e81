// The calculation report: standard output and excerpt of the current spring.
// Values are formatted by the unit-aware number formats; labels are code page 850.
#include "report/calcreport.h"

#include <cmath>
#include <optional>
#include <string>

#include "base/codepage.h"
#include "base/numfmt.h"
#include "calc/fatigue.h"
#include "report/columntable.h"
#include "report/explanationfile.h"
#include "report/reportwriter.h"

namespace velk {
namespace {

bool roundWire(const Spring& s) { return s.crossSection == 2; }

const char* loadText(int statdyn) { return statdyn == 2 ? "dynamisch" : "statisch"; }

std::string endText(int form) { return form == 2 ? "abgebogen" : "eingespannt"; }

std::string angleText(const NumberSettings& n, Real x) { return fmtFixed(n, 4, 2, x); }

// The two lines naming the material of the spring's cross-section. The strip record's lines are
// cut to 51 and 41 characters; every line stays within the 72 characters of a framed row.
std::pair<std::string, std::string> materialLines(const Document& doc) {
  if (roundWire(doc.spring)) {
    const WireRecord& w = doc.materials.wire;
    return {leftStr(w.name1 + " " + w.name2, 72), leftStr(w.name3 + " " + w.name4, 72)};
  }
  const StripRecord& r = doc.materials.strip;
  return {leftStr(r.name1 + " " + r.name2, 51), leftStr(r.name3 + " " + r.name4, 41)};
}

void writeMaterialLines(ReportState& r, const Document& doc) {
  const auto [first, second] = materialLines(doc);
  WriteTextLine(r, first);
  WriteTextLine(r, second);
}

// The first page header. False when nothing more is to be written.
bool startReport(ReportState& r) {
  WritePageHeader(r, 0, 0);
  return !r.failed;
}

bool keep(ReportState& r) {
  KeepTogether(r, 0);
  return !r.failed;
}

// Lifetime in hours of a number of load cycles at the spring's frequency; empty when there is none
// to give (no usable frequency, or a result that is not finite).
std::string lifetimeText(const Document& doc, const Settings& settings, Real cycles) {
  const std::optional<Real> h = LifetimeHours(cycles, doc.spring.freq);
  return h ? fmtSigN(settings.config.num, 2, *h) : std::string();
}

std::string millionsText(const Settings& settings, Real cycles) {
  return fmtSigN(settings.config.num, 2, cycles / 1e6L);
}

void toleranceRows(ReportState& r, const Document& doc, const Settings& settings) {
  const Spring& s = doc.spring;
  WriteValueRow(r, "Toleranz Dauerfestigkeit", "tol", "%", fmtTolerance(settings.config.num, s.tolPlus, s.tolMinus));
  WriteTableRow(r, "Lastspiele bis Bruch min/max", "N", "Mio", millionsText(settings, s.cyclesMin),
                millionsText(settings, s.cyclesMax));
}

void lifetimeRangeRow(ReportState& r, const Document& doc, const Settings& settings) {
  const Spring& s = doc.spring;
  WriteTableRow(r, "Lebensdauer min/max", "tN", "h", lifetimeText(doc, settings, s.cyclesMin),
                lifetimeText(doc, settings, s.cyclesMax));
}

}  // namespace

void SetCalcReportHeader(ReportState& r, const Spring& s) {
  SetReportHeader(r, std::string(kAppTitle) + " V" + kVersion + "  Spiralfederberechnung",
                  FormatNumberLine(s.zeichname, s.zeichnr), s.zeichname2, s.bemerk1, s.bemerk2, 0);
}

void WriteLifetimeSection(ReportState& r, const Document& doc, const Settings& settings) {
  const Spring& s = doc.spring;
  if (s.statdyn != 2 || !(s.strokePerm > 0)) return;
  // A frequency too small to show (it would read "f=0Hz") or not finite gives no lifetime.
  const bool hasFrequency = std::isfinite(s.freq) && s.freq >= kLifetimeMinFrequency;
  if (s.fatigueRatio >= 1) {
    WriteValueRow(r, "Lastspiele bis Bruch", "N", "", " > 10 Mio.");
    if (s.cyclesMin < 1e7L) toleranceRows(r, doc, settings);
    WriteValueRow(r, "Lebensdauer", "tN", "", "dauerfest");
    if (s.cyclesMin < 1e7L && hasFrequency) lifetimeRangeRow(r, doc, settings);
    return;
  }
  WriteValueRow(r, "Lastspiele bis Bruch", "N", "Mio", millionsText(settings, s.cyclesN));
  const bool tolerance = s.tolPlus != 0 || s.tolMinus != 0;
  if (tolerance) toleranceRows(r, doc, settings);
  if (hasFrequency && s.cyclesN < 1e7L && LifetimeHours(s.cyclesN, s.freq)) {
    WriteValueRow(r, "Lebensdauer (f=" + fmtSig(settings.config.num, s.freq) + "Hz)", "tN", "h",
                  lifetimeText(doc, settings, s.cyclesN));
    if (tolerance) lifetimeRangeRow(r, doc, settings);
  }
}

bool WriteStandardReportPages(ReportState& r, const Document& doc, const Settings& settings) {
  if (!startReport(r)) return false;
  const Spring& s = doc.spring;
  const NumberSettings& n = settings.config.num;
  const std::string len = unitLength(n), str = unitStress(n), ang = unitAngle(n), mom = unitMoment(n);

  // Main dimensions.
  WriteTextLine(r, "");
  WriteSectionTitle(r, "HAUPTABMESSUNGEN");
  WriteValueRow(r, "Windungsradius innen", "ri", len, fmtLength(n, s.ri));
  WriteValueRow(r, oem("Windungsradius außen"), "re", len, fmtLength(n, s.re));
  if (roundWire(s)) {
    WriteValueRow(r, "Drahtdurchmesser", "d", len, fmtLength(n, s.t));
  } else {
    WriteValueRow(r, "Band Breite", "b", len, fmtLength(n, s.b));
    WriteValueRow(r, oem("Band Höhe"), "h", len, fmtLength(n, s.t));
  }
  WriteValueRow(r, "Windungszahl", "n0", "", fmtSig(n, s.n0));
  WriteValueRow(r, oem("Öffnungswinkel"), "delta 0", ang, angleText(n, s.delta0));
  WriteValueRow(r, "Abstand zwischen den Windungen", "a0", len, fmtLength(n, s.a0));

  // Material.
  WriteTextLine(r, "");
  WriteSectionTitle(r, "WERKSTOFF");
  writeMaterialLines(r, doc);
  WriteTextLine(r, ThinRule(r));
  WriteValueRow(r, oem("Elastizitätsmodul"), "E", str, fmtStressFixed(n, 6, 0, s.E));
  WriteValueRow(r, "Dichte", "rho", "kg/dm^3", fmtFixed(n, 3, 2, s.rho));
  WriteValueRow(r, "Zugfestigkeit", "Rm", str, fmtStressFixed(n, 4, 0, s.Rm));
  WriteValueRow(r, "zul. Biegespannung", "sig.zul", str, fmtStressFixed(n, 4, 0, s.sigman));
  WriteValueRow(r, "Betriebstemperatur", "theta", ang, fmtTempFixed(n, 4, 0, s.theta));
  WriteValueRow(r, "E-Modul bei Betriebstemperatur", "E" + fmtFixed(n, 3, 0, s.theta), str,
                fmtStressFixed(n, 6, 0, s.Et));

  // Manufacture, load, treatment.
  WriteTextLine(r, "");
  WriteSectionTitle(r, "Herstellung   : kaltgeformt");
  WriteSectionTitle(r, std::string("Beanspruchung : ") + loadText(s.statdyn));
  if (s.kugelstrahlen == 'J') WriteSectionTitle(r, "Behandlung    : Feder kugelgestrahlt");
  if (!keep(r)) return false;

  // Spring ends.
  WriteTextLine(r, "");
  WriteSectionTitle(r, "FEDERENDEN");
  WriteValueRow(r, "Federende innen", "", "", endText(s.formi));
  if (s.formi == 2) {
    WriteValueRow(r, oem("Länge Federende innen"), "", len, fmtLength(n, s.li));
    WriteValueRow(r, "Abbiegeradius Federende innen", "", len, fmtLength(n, s.rbi));
  }
  WriteValueRow(r, oem("Federende außen"), "", "", endText(s.forme));
  if (s.forme == 2) {
    WriteValueRow(r, oem("Länge Federende außen"), "", len, fmtLength(n, s.le));
    WriteValueRow(r, oem("Abbiegeradius Federende außen"), "", len, fmtLength(n, s.rbe));
  }
  WriteTextLine(r, "");
  if (!keep(r)) return false;

  // Moments: always in Nmm, whatever the unit system.
  WriteTextLine(r, "");
  WriteSectionTitle(r, "FEDERMOMENTE");
  WriteValueRow(r, "Federmoment", "T1", "Nmm", fmtSig(n, s.T1));
  WriteValueRow(r, "Federmoment", "T2", "Nmm", fmtSig(n, s.T2));
  WriteValueRow(r, "Federmoment", "Tc", "Nmm", fmtSig(n, s.Tc));

  if (!keep(r)) return false;
  WriteTextLine(r, "");
  WriteSectionTitle(r, "FEDERWINKEL");
  WriteValueRow(r, "Drehwinkel bei T1", "alpha 1", ang, angleText(n, s.alpha1));
  WriteValueRow(r, "Drehwinkel bei T2", "alpha 2", ang, angleText(n, s.alpha2));
  WriteValueRow(r, "Hubwinkel", "alfa h", ang, angleText(n, s.alphah));
  WriteValueRow(r, "max. Drehwinkel", "alfa c", ang, angleText(n, s.alphac));
  WriteValueRow(r, "Windungszahl", "n1", "", fmtSig(n, s.n1));
  WriteValueRow(r, "Windungszahl", "n2", "", fmtSig(n, s.n2));
  WriteValueRow(r, "Windungszahl", "nc", "", fmtSig(n, s.nc));
  WriteValueRow(r, oem("Windungsradius außen"), "re1", len, fmtLength(n, s.re1));
  WriteValueRow(r, oem("Windungsradius außen"), "re2", len, fmtLength(n, s.re2));
  WriteValueRow(r, oem("Windungsradius außen"), "rec", len, fmtLength(n, s.rec));
  WriteValueRow(r, "Abstand zwischen den Windungen", "a1", len, fmtLength(n, s.a1));
  WriteValueRow(r, "Abstand zwischen den Windungen", "a2", len, fmtLength(n, s.a2));

  if (!keep(r)) return false;
  WriteTextLine(r, "");
  WriteSectionTitle(r, "EINBAUWINKEL");
  WriteValueRow(r, "Schenkelwinkel", "delta 1", ang, angleText(n, s.delta1));
  WriteValueRow(r, "Schenkelwinkel", "delta 2", ang, angleText(n, s.delta2));
  if (!keep(r)) return false;

  // Stresses.
  WriteTextLine(r, "");
  WriteSectionTitle(r, "SPANNUNGEN");
  WriteValueRow(r, "Spannung bei T1", "sigma1", str, fmtStressFixed(n, 6, 0, s.sigma1));
  WriteValueRow(r, "Spannung bei T2", "sigma2", str, fmtStressFixed(n, 6, 0, s.sigma2));
  WriteValueRow(r, "Spannung bei Tc", "sigmac", str, fmtStressFixed(n, 6, 0, s.sigmac));
  WriteValueRow(r, "zul.Spannung", "sigman", str, fmtStressFixed(n, 6, 0, s.sigman));
  WriteValueRow(r, "korrigierte Spannung bei T1", "sigmaq1", str, fmtStressFixed(n, 6, 0, s.sigmaq1));
  WriteValueRow(r, "korrigierte Spannung bei T2", "sigmaq2", str, fmtStressFixed(n, 6, 0, s.sigmaq2));
  WriteValueRow(r, "Hubspannung", "sigmah", str, fmtStressFixed(n, 6, 0, s.sigmah));
  if (s.sighz > 0) WriteValueRow(r, "Zul. Hubspannung", "sighz", str, fmtStressFixed(n, 6, 0, s.sighz));

  if (!keep(r)) return false;
  WriteTextLine(r, "");
  WriteSectionTitle(r, "KENNWERTE UND HERSTELLDATEN");
  WriteValueRow(r, "Spannungsbeiwert", "kb", "", fmtFixed(n, 2, 3, s.kb));
  WriteValueRow(r, "Federrate", "R(cM)", mom + "/" + ang, "  " + fmtMoment(n, s.cT));
  WriteValueRow(r, "Federarbeit zwischen s1 und s2", "W", mom, fmtMoment(n, s.W));
  WriteValueRow(r, oem("Flächenträgheitsmoment"), "Ib", "mm^4", fmtSig(n, s.Ib));
  WriteValueRow(r, "Widerstandsmoment", "Wb", "mm^3", fmtSig(n, s.Wb));
  WriteValueRow(r, oem("wirksame Länge"), "Lw", len, fmtLength(n, s.Lw));
  WriteValueRow(r, oem("Bandlänge"), "L", len, fmtLength(n, s.L));
  if (s.m >= 100)
    WriteValueRow(r, "Gewicht der Feder", "m", "g", fmtSig(n, s.m));
  else
    WriteValueRow(r, oem("Gewicht/100 Stück"), "m", "g/100", fmtSig(n, 100 * s.m));

  WriteLifetimeSection(r, doc, settings);

  if (doc.messages.count > 0) {
    if (!keep(r)) return false;
    WriteTextLine(r, "");
    WriteMessageSection(r, doc.messages);
  }
  EndPage(r);
  return !r.failed;
}

bool WriteExcerptReportPages(ReportState& r, const Document& doc, const Settings& settings) {
  if (!startReport(r)) return false;
  const Spring& s = doc.spring;
  const NumberSettings& n = settings.config.num;
  const std::string len = unitLength(n), str = unitStress(n), ang = unitAngle(n), mom = unitMoment(n);

  WriteTextLine(r, "");
  if (roundWire(s))
    WriteTextLine(r, "d = " + fmtLength(n, s.t) + " " + len);
  else
    WriteTextLine(r, "t = " + fmtLength(n, s.t) + "   b = " + fmtLength(n, s.b) + " " + len);
  WriteTextLine(r, "");
  WriteTextLine(r, "Ri = " + fmtLength(n, s.ri) + "   Re = " + fmtLength(n, s.re) + " " + len);
  WriteTextLine(r, "");
  WriteTextLine(r, "n0 = " + fmtSig(n, s.n0) + "   a0 = " + fmtLength(n, s.a0) + " " + len +
                       "    E = " + fmtStress(n, s.E) + " " + str);
  WriteRawLine(r, "");
  WriteTextLine(r, "T = " + fmtTempFixed(n, 4, 0, s.theta) + " " + unitTemp(n) + "       E t = " + fmtStress(n, s.Et) +
                       " " + str);
  WriteRawLine(r, "");
  WriteTextLine(r, "Rt = " + fmtMoment(n, s.cT) + " " + mom + "/" + ang);
  WriteRawLine(r, "");
  WriteTextLine(r, "Lw = " + fmtLength(n, s.Lw) + " " + len + "    m = " + fmtSig(n, s.m) +
                       " g   sigma z = " + fmtStressDec(n, 0, s.sigman) + " " + str);
  WriteTextLine(r, "");

  // The load states.
  ColumnTable table;
  table.columns = {
      {"Einbauwinkel " + ang, 20}, {"Federwinkel " + ang, 16}, {"Drehmoment " + mom, 21}, {"Sigma " + str, 12}};
  table.ruleAfterRow = false;
  BeginColumnTable(r, table);
  auto f41 = [&](Real x) { return fmtFixed(n, 4, 1, x); };
  auto moment = [&](Real x) { return fmtMomentFixed(n, 5, 2, x); };
  auto stress = [&](Real x) { return fmtStressFixed(n, 4, 0, x); };
  WriteColumnRow(r, table, {"delta0=" + f41(s.delta0), "alpha0=" + f41(0), "T0=" + moment(0), "sigma0 =" + stress(0)});
  WriteColumnRow(
      r, table,
      {"delta1=" + f41(s.delta1), "alpha1=" + f41(s.alpha1), "T1=" + moment(s.T1), "sigmaq1=" + stress(s.sigmaq1)});
  WriteColumnRow(
      r, table,
      {"", "alphah=" + f41(s.alphah), "Th=" + moment(s.T2 - s.T1), "sigmaqh=" + stress(s.sigmaq2 - s.sigmaq1)});
  WriteColumnRow(
      r, table,
      {"delta2=" + f41(s.delta2), "alpha2=" + f41(s.alpha2), "T2=" + moment(s.T2), "sigmaq2=" + stress(s.sigmaq2)});
  WriteColumnRow(
      r, table,
      {"deltan=" + f41(s.deltac), "alphac=" + f41(s.alphac), "Tc=" + moment(s.Tc), "sigmac =" + stress(s.sigmac)});
  // The text devices go on without the table's end rule; HTML closes the table so the page
  // stays well-formed.
  if (IsHtmlDevice(CurrentDevice(r))) EndColumnTable(r, table);

  WriteRawLine(r, "");
  WriteTextLine(r, ThinRule(r));
  writeMaterialLines(r, doc);
  WriteTextLine(r, ThinRule(r));
  if (doc.messages.count > 0) {
    WriteTextLine(r, "");
    WriteMessageList(r, doc.messages);
  }
  EndPage(r);
  return !r.failed;
}

}  // namespace velk
