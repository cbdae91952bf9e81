// The name -> setter table behind /SET:name=value.
#include "shell/springsettings.h"

#include <cmath>
#include <functional>

#include "base/codepage.h"
#include "base/numfmt.h"

namespace velk {

namespace {

enum class Kind { Text, Number, Selector, YesNo };

struct Setting {
  const char* name;
  Kind kind;
  // Exactly one of these is used, after the kind.
  std::string Spring::*text = nullptr;
  std::size_t length = 0;
  Real Spring::*number = nullptr;
  uint16_t Spring::*selector = nullptr;
  int lowest = 0, highest = 65535;
};

Setting textSetting(const char* n, std::string Spring::*m, std::size_t len) {
  Setting s{n, Kind::Text};
  s.text = m;
  s.length = len;
  return s;
}
Setting numberSetting(const char* n, Real Spring::*m) {
  Setting s{n, Kind::Number};
  s.number = m;
  return s;
}
Setting selectorSetting(const char* n, uint16_t Spring::*m, int lo = 0, int hi = 65535) {
  Setting s{n, Kind::Selector};
  s.selector = m;
  s.lowest = lo;
  s.highest = hi;
  return s;
}

const std::vector<Setting>& table() {
  static const std::vector<Setting> t = {
      textSetting("bemerk1", &Spring::bemerk1, kLenBemerk),
      textSetting("bemerk2", &Spring::bemerk2, kLenBemerk),
      textSetting("zeichname", &Spring::zeichname, kLenZeichname),
      textSetting("zeichnr", &Spring::zeichnr, kLenZeichnr),
      textSetting("zeichname2", &Spring::zeichname2, kLenZeichname2),
      numberSetting("b", &Spring::b),
      numberSetting("t", &Spring::t),
      numberSetting("n0", &Spring::n0),
      numberSetting("ri", &Spring::ri),
      numberSetting("re", &Spring::re),
      numberSetting("alpha1", &Spring::alpha1),
      numberSetting("alpha2", &Spring::alpha2),
      numberSetting("theta", &Spring::theta),
      selectorSetting("matNoFlat", &Spring::matNoFlat),
      selectorSetting("formi", &Spring::formi),
      selectorSetting("forme", &Spring::forme),
      numberSetting("li", &Spring::li),
      numberSetting("le", &Spring::le),
      numberSetting("rbi", &Spring::rbi),
      numberSetting("rbe", &Spring::rbe),
      selectorSetting("crossSection", &Spring::crossSection, 1, 2),
      selectorSetting("matNoRound", &Spring::matNoRound),
      selectorSetting("statdyn", &Spring::statdyn, 1, 2),
      numberSetting("freq", &Spring::freq),
      Setting{"kugelstrahlen", Kind::YesNo},
  };
  return t;
}

std::string validNames() {
  std::string out;
  for (const std::string& n : springSettingNames()) out += (out.empty() ? "" : " ") + n;
  return out;
}

}  // namespace

std::vector<std::string> springSettingNames() {
  std::vector<std::string> names;
  for (const Setting& s : table()) names.push_back(s.name);
  return names;
}

std::string applySpringSetting(Spring& s, const std::string& name, const std::string& value) {
  for (const Setting& e : table()) {
    if (name != e.name) continue;
    std::string bad = "/SET:" + name;
    bad += "=" + value + ": ";
    switch (e.kind) {
      case Kind::Text: {
        std::string t = oem(value);
        for (char& c : t)
          if (c == '\r' || c == '\n') c = ' ';
        if (t.size() > e.length) t.resize(e.length);
        s.*e.text = t;
        return {};
      }
      case Kind::Number: {
        std::string t(trim(value));
        // One decimal comma, as typed in a German spreadsheet; a second one is no number.
        if (const auto c = t.find(','); c != std::string::npos && t.find('.') == std::string::npos) t[c] = '.';
        Real v = 0;
        if (!tryParseReal(t, v) || !std::isfinite(static_cast<double>(v))) return bad + "not a number";
        s.*e.number = v;
        return {};
      }
      case Kind::Selector: {
        long long v = 0;
        if (!tryParseInt(trim(value), v) || v < e.lowest || v > e.highest)
          return bad + "a whole number " + std::to_string(e.lowest) + ".." + std::to_string(e.highest) + " is expected";
        s.*e.selector = static_cast<uint16_t>(v);
        return {};
      }
      case Kind::YesNo: {
        const std::string v = upper(std::string(trim(value)));
        if (v != "J" && v != "N") return bad + "J or N is expected";
        s.kugelstrahlen = v[0];
        return {};
      }
    }
  }
  return "/SET:" + name + ": no such input; valid names: " + validNames();
}

}  // namespace velk
