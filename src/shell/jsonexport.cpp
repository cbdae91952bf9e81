// Results as JSON.
#include "shell/jsonexport.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <ostream>
#include <vector>

#include "base/codepage.h"

namespace velk {

std::optional<std::string> jsonNumber(Real x) {
  // Only what a double holds reads back as a number everywhere; beyond it parsers give infinity.
  if (!std::isfinite(x) || std::fabs(x) > static_cast<Real>(std::numeric_limits<double>::max())) return std::nullopt;
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 21);
  if (res.ec != std::errc()) return std::nullopt;
  return std::string(buf, res.ptr);
}

std::string jsonString(const std::string& oemText) {
  const std::string utf8 = cp850ToUtf8(oemText);
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          static const char* hex = "0123456789abcdef";
          out += "\\u00";
          out += hex[c >> 4];
          out += hex[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

namespace {

// Writes "key": value pairs with the commas between them. A real that no JSON number holds is
// left out and its key noted in dropped.
class JsonObject {
 public:
  JsonObject(std::ostream& out, int indent, std::vector<std::string>& dropped)
      : out_(out), indent_(indent), dropped_(dropped) {
    out_ << "{";
  }
  void raw(const char* key, const std::string& value) {
    out_ << (first_ ? "\n" : ",\n") << std::string(indent_ + 2, ' ') << '"' << key << "\": " << value;
    first_ = false;
  }
  void real(const char* key, Real x) {
    if (const std::optional<std::string> n = jsonNumber(x))
      raw(key, *n);
    else
      dropped_.push_back(key);
  }
  void integer(const char* key, long long n) { raw(key, std::to_string(n)); }
  void text(const char* key, const std::string& s) { raw(key, jsonString(s)); }
  void flag(const char* key, bool b) { raw(key, b ? "true" : "false"); }
  void close() { out_ << "\n" << std::string(indent_, ' ') << "}"; }
  std::ostream& stream() { return out_; }
  std::vector<std::string>& dropped() { return dropped_; }

 private:
  std::ostream& out_;
  int indent_;
  std::vector<std::string>& dropped_;
  bool first_ = true;
};

// The spring's reals in the order written, each with its unit and whether the calculation
// produces it (a result; left out when the calculation is fatal).
struct RealKey {
  const char* key;
  Real Spring::*member;
  const char* unit;
  bool result;
};

constexpr const char* kMm = "mm";
constexpr const char* kDeg = "degree";
constexpr const char* kStress = "N/mm^2";
constexpr const char* kMoment = "Nmm";
constexpr const char* kNone = "1";

const RealKey kSpringReals[] = {
    {"b", &Spring::b, kMm, false},
    {"t", &Spring::t, kMm, false},
    {"ri", &Spring::ri, kMm, false},
    {"re", &Spring::re, kMm, false},
    {"n0", &Spring::n0, kNone, false},
    {"alpha1", &Spring::alpha1, kDeg, false},
    {"alpha2", &Spring::alpha2, kDeg, false},
    {"theta", &Spring::theta, "degC", false},
    {"freq", &Spring::freq, "1/s", false},
    {"li", &Spring::li, kMm, false},
    {"rbi", &Spring::rbi, kMm, false},
    {"le", &Spring::le, kMm, false},
    {"rbe", &Spring::rbe, kMm, false},
    {"T1", &Spring::T1, kMoment, false},
    {"T2", &Spring::T2, kMoment, false},
    {"Tc", &Spring::Tc, kMoment, false},
    {"alphah", &Spring::alphah, kDeg, false},
    {"alphac", &Spring::alphac, kDeg, false},
    {"b_t", &Spring::b_t, kNone, false},
    {"a0_t", &Spring::a0_t, kNone, false},
    {"a0", &Spring::a0, kMm, true},
    {"a1", &Spring::a1, kMm, true},
    {"a2", &Spring::a2, kMm, true},
    {"n1", &Spring::n1, kNone, true},
    {"n2", &Spring::n2, kNone, true},
    {"nc", &Spring::nc, kNone, true},
    {"re1", &Spring::re1, kMm, true},
    {"re2", &Spring::re2, kMm, true},
    {"rec", &Spring::rec, kMm, true},
    {"delta0", &Spring::delta0, kDeg, true},
    {"delta1", &Spring::delta1, kDeg, true},
    {"delta2", &Spring::delta2, kDeg, true},
    {"deltac", &Spring::deltac, kDeg, true},
    {"Lw", &Spring::Lw, kMm, true},
    {"L", &Spring::L, kMm, true},
    {"Ib", &Spring::Ib, "mm^4", true},
    {"Wb", &Spring::Wb, "mm^3", true},
    {"cT", &Spring::cT, "Nmm/degree", true},
    {"W", &Spring::W, kMoment, true},
    {"m", &Spring::m, "g", true},
    {"kb", &Spring::kb, kNone, true},
    {"sigma1", &Spring::sigma1, kStress, true},
    {"sigma2", &Spring::sigma2, kStress, true},
    {"sigmac", &Spring::sigmac, kStress, true},
    {"sigmaq1", &Spring::sigmaq1, kStress, true},
    {"sigmaq2", &Spring::sigmaq2, kStress, true},
    {"sigmah", &Spring::sigmah, kStress, true},
    {"sigman", &Spring::sigman, kStress, true},
    {"sighz", &Spring::sighz, kStress, true},
    {"Et", &Spring::Et, kStress, true},
    {"E", &Spring::E, kStress, false},
    {"G", &Spring::G, kStress, false},
    {"rho", &Spring::rho, "kg/dm^3", false},
    {"Rm", &Spring::Rm, kStress, true},
    {"strokePerm", &Spring::strokePerm, kStress, true},
    {"fatigueRatio", &Spring::fatigueRatio, kNone, true},
    {"cyclesN", &Spring::cyclesN, kNone, true},
    {"cyclesMin", &Spring::cyclesMin, kNone, true},
    {"cyclesMax", &Spring::cyclesMax, kNone, true},
    {"tolPlus", &Spring::tolPlus, "%", false},
    {"tolMinus", &Spring::tolMinus, "%", false},
    {"deltaDraw", &Spring::deltaDraw, kDeg, false},
};

// The units of the material record's values (as the tables store them).
const std::pair<const char*, const char*> kMaterialUnits[] = {
    {"E", kStress},
    {"G", kStress},
    {"rho", "kg/dm^3"},
    {"Rm0", kStress},
    {"Rmmax", kStress},
    {"kRm", kStress},
    {"t0", kMm},
    {"d0", kMm},
    {"tG", kMm},
    {"dG", kMm},
    {"tmin", kMm},
    {"tmax", kMm},
    {"dmin", kMm},
    {"dmax", kMm},
    {"Tmax", "degC"},
    {"upper", kStress},
    {"upperDecrease", kStress},
    {"stroke", kStress},
    {"strokeDecrease", kStress},
};

// True when every result of the spring is a number JSON can hold.
bool resultsRepresentable(const Spring& s) {
  for (const RealKey& k : kSpringReals)
    if (k.result && !jsonNumber(s.*k.member)) return false;
  return true;
}

void writeSpring(const Spring& s, bool withResults, JsonObject& o) {
  o.text("zeichname", s.zeichname);
  o.text("zeichname2", s.zeichname2);
  o.text("zeichnr", s.zeichnr);
  o.text("titleLine", s.titleLine);
  o.text("bemerk1", s.bemerk1);
  o.text("bemerk2", s.bemerk2);
  o.integer("crossSection", s.crossSection);
  o.integer("statdyn", s.statdyn);
  o.integer("formi", s.formi);
  o.integer("forme", s.forme);
  o.text("kugelstrahlen", std::string(1, s.kugelstrahlen));
  o.integer("matNoFlat", s.matNoFlat);
  o.integer("matNoRound", s.matNoRound);
  for (const RealKey& k : kSpringReals)
    if (withResults || !k.result) o.real(k.key, s.*k.member);
  o.text("matName", s.matName);
  o.integer("matSource", s.matSource);
}

void writeUnits(JsonObject& o) {
  o.raw("spring", "");
  {
    JsonObject spring(o.stream(), 4, o.dropped());
    for (const RealKey& k : kSpringReals) spring.text(k.key, k.unit);
    spring.close();
  }
  o.raw("material", "");
  JsonObject material(o.stream(), 4, o.dropped());
  for (const auto& [key, unit] : kMaterialUnits) material.text(key, unit);
  material.close();
}

void writeFatigue(JsonObject& o, const char* key, const FatigueValues& f) {
  o.raw(key, "");
  JsonObject v(o.stream(), 4, o.dropped());
  v.integer("upper", f.upper);
  v.integer("upperDecrease", f.upperDecrease);
  v.integer("stroke", f.stroke);
  v.integer("strokeDecrease", f.strokeDecrease);
  v.real("m", f.m);
  v.close();
}

void writeMaterial(const Session& ws, JsonObject& o) {
  if (ws.spring.crossSection == 2) {
    const WireRecord& r = ws.materials.wire;
    o.text("table", "talmwst.dbf");
    o.integer("record", ws.spring.matNoRound);
    o.text("name1", r.name1);
    o.text("name2", r.name2);
    o.text("name3", r.name3);
    o.text("name4", r.name4);
    o.integer("G", r.G);
    o.integer("E", r.E);
    o.real("rho", r.rho);
    o.integer("Rm0", r.Rm0);
    o.real("d0", r.d0);
    o.integer("Rmmax", r.Rmmax);
    o.integer("kRm", r.kRm);
    o.real("dG", r.dG);
    writeFatigue(o, "notShotPeened", r.plain);
    writeFatigue(o, "shotPeened", r.peened);
    o.real("dmin", r.dmin);
    o.real("dmax", r.dmax);
    o.integer("Tmax", r.Tmax);
  } else {
    const StripRecord& r = ws.materials.strip;
    o.text("table", "velkwst.dbf");
    o.integer("record", ws.spring.matNoFlat);
    o.text("name1", r.name1);
    o.text("name2", r.name2);
    o.text("name3", r.name3);
    o.text("name4", r.name4);
    o.integer("E", r.E);
    o.real("rho", r.rho);
    o.integer("Rm0", r.Rm0);
    o.real("t0", r.t0);
    o.integer("Rmmax", r.Rmmax);
    o.integer("kRm", r.kRm);
    o.real("tG", r.tG);
    writeFatigue(o, "notShotPeened", r.plain);
    writeFatigue(o, "shotPeened", r.peened);
    o.real("tmin", r.tmin);
    o.real("tmax", r.tmax);
    o.integer("Tmax", r.Tmax);
    o.real("f", r.f);
  }
}

}  // namespace

bool writeJson(const Session& ws, std::ostream& out) {
  std::vector<std::string> dropped;
  // A fatal calculation has no results; neither has one whose results no JSON number holds.
  const bool representable = resultsRepresentable(ws.spring);
  const bool fatal = ws.messages.fatal || !representable;
  JsonObject top(out, 0, dropped);
  top.integer("schemaVersion", kJsonSchemaVersion);
  top.text("program", kAppTitle);
  top.text("version", kVersion);
  top.raw("spring", "");
  {
    JsonObject spring(out, 2, dropped);
    writeSpring(ws.spring, !fatal, spring);
    spring.close();
  }
  top.raw("material", "");
  {
    JsonObject material(out, 2, dropped);
    writeMaterial(ws, material);
    material.close();
  }
  top.raw("units", "");
  {
    JsonObject units(out, 2, dropped);
    writeUnits(units);
    units.close();
  }
  std::vector<std::string> messages(ws.messages.entries.begin(), ws.messages.entries.begin() + ws.messages.count);
  if (!representable) messages.push_back(oem("Ergebnis ungültig"));
  for (const std::string& key : dropped) messages.push_back(key + ": keine Zahl");
  std::string list = "[";
  for (std::size_t i = 0; i < messages.size(); ++i) list += (i ? ", " : "") + jsonString(messages[i]);
  top.raw("messages", list + "]");
  top.flag("fatal", fatal);
  top.close();
  out << "\n";
  return representable && dropped.empty();
}

}  // namespace velk
