// Results as JSON.
#include "shell/jsonexport.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>

#include "base/codepage.h"

namespace velk {

std::string jsonNumber(Real x) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 21);
  std::string text = res.ec == std::errc() ? std::string(buf, res.ptr) : std::string("nan");
  if (!std::isfinite(x) || std::fabs(x) > static_cast<Real>(std::numeric_limits<double>::max()))
    return "\"" + text + "\"";
  // Values too small for a double would read back as 0 or a denormal: keep their digits too.
  if (x != 0 && std::fabs(x) < static_cast<Real>(std::numeric_limits<double>::min())) return "\"" + text + "\"";
  return text;
}

std::string jsonString(const std::string& oemText) {
  const std::string utf8 = cp850ToUtf8(oemText);
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
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

// Writes "key": value pairs with the commas between them.
class JsonObject {
 public:
  JsonObject(std::ostream& out, int indent) : out_(out), indent_(indent) { out_ << "{"; }
  void raw(const char* key, const std::string& value) {
    out_ << (first_ ? "\n" : ",\n") << std::string(indent_ + 2, ' ') << '"' << key << "\": " << value;
    first_ = false;
  }
  void real(const char* key, Real x) { raw(key, jsonNumber(x)); }
  void integer(const char* key, long long n) { raw(key, std::to_string(n)); }
  void text(const char* key, const std::string& s) { raw(key, jsonString(s)); }
  void flag(const char* key, bool b) { raw(key, b ? "true" : "false"); }
  void close() { out_ << "\n" << std::string(indent_, ' ') << "}"; }
  std::ostream& stream() { return out_; }

 private:
  std::ostream& out_;
  int indent_;
  bool first_ = true;
};

void writeSpring(const Spring& s, JsonObject& o) {
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
  const std::pair<const char*, Real> reals[] = {
      {"b", s.b},           {"t", s.t},           {"ri", s.ri},         {"re", s.re},
      {"n0", s.n0},         {"alpha1", s.alpha1}, {"alpha2", s.alpha2}, {"theta", s.theta},
      {"freq", s.freq},     {"li", s.li},         {"rbi", s.rbi},       {"le", s.le},
      {"rbe", s.rbe},       {"T1", s.T1},         {"T2", s.T2},         {"Tc", s.Tc},
      {"alphah", s.alphah}, {"alphac", s.alphac}, {"b_t", s.b_t},       {"a0_t", s.a0_t},
      {"a0", s.a0},         {"a1", s.a1},         {"a2", s.a2},         {"n1", s.n1},
      {"n2", s.n2},         {"nc", s.nc},         {"re1", s.re1},       {"re2", s.re2},
      {"rec", s.rec},       {"delta0", s.delta0}, {"delta1", s.delta1}, {"delta2", s.delta2},
      {"deltac", s.deltac}, {"Lw", s.Lw},         {"L", s.L},           {"Ib", s.Ib},
      {"Wb", s.Wb},         {"cT", s.cT},         {"W", s.W},           {"m", s.m},
      {"kb", s.kb},         {"sigma1", s.sigma1}, {"sigma2", s.sigma2}, {"sigmac", s.sigmac},
      {"sigmaq1", s.sigmaq1}, {"sigmaq2", s.sigmaq2}, {"sigmah", s.sigmah}, {"sigman", s.sigman},
      {"sighz", s.sighz},   {"Et", s.Et},         {"E", s.E},           {"G", s.G},
      {"rho", s.rho},       {"Rm", s.Rm},         {"strokePerm", s.strokePerm},
      {"fatigueRatio", s.fatigueRatio}, {"cyclesN", s.cyclesN}, {"cyclesMin", s.cyclesMin},
      {"cyclesMax", s.cyclesMax}, {"tolPlus", s.tolPlus}, {"tolMinus", s.tolMinus},
      {"deltaDraw", s.deltaDraw},
  };
  for (const auto& [key, value] : reals) o.real(key, value);
  o.text("matName", s.matName);
  o.integer("matSource", s.matSource);
}

void writeFatigue(JsonObject& o, const char* key, const FatigueValues& f) {
  o.raw(key, "");
  JsonObject v(o.stream(), 4);
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

void writeJson(const Session& ws, std::ostream& out) {
  JsonObject top(out, 0);
  top.text("program", kAppTitle);
  top.text("version", kVersion);
  top.raw("spring", "");
  {
    JsonObject spring(out, 2);
    writeSpring(ws.spring, spring);
    spring.close();
  }
  top.raw("material", "");
  {
    JsonObject material(out, 2);
    writeMaterial(ws, material);
    material.close();
  }
  std::string list = "[";
  for (int i = 0; i < ws.messages.count; ++i) list += (i ? ", " : "") + jsonString(ws.messages.entries[i]);
  top.raw("messages", list + "]");
  top.flag("fatal", ws.messages.fatal);
  top.close();
  out << "\n";
}

}  // namespace velk
