// /SET:name=value: inputs of the spring record set by their JSON names.
#include <gtest/gtest.h>

#include "base/codepage.h"
#include "shell/springsettings.h"

namespace velk::test {
namespace {

TEST(SpringSettings, ValuesAreReadOrRefusedWithTheValidNames) {
  struct Case {
    const char* name;
    const char* value;
    bool ok;
  } cases[] = {
      {"t", "0.7", true},
      {"t", "0,7", true},
      {"n0", " 9 ", true},
      {"t", "0.3 mm", false},
      {"t", "1.000,5", false},
      {"t", "", false},
      {"t", "inf", false},
      {"zeichname", "Probe ä", true},
      {"crossSection", "2", true},
      {"crossSection", "3", false},
      {"statdyn", "x", false},
      {"kugelstrahlen", "j", true},
      {"kugelstrahlen", "X", false},
      {"T", "1", false},
      {"dicke", "1", false},
  };
  for (const Case& c : cases) {
    Spring s;
    const Spring before = s;
    const std::string why = applySpringSetting(s, c.name, c.value);
    EXPECT_EQ(why.empty(), c.ok) << c.name << "=" << c.value << ": " << why;
    if (!c.ok) {
      EXPECT_NE(why.find(c.name), std::string::npos) << why;
      EXPECT_EQ(s.t, before.t);
      EXPECT_EQ(s.crossSection, before.crossSection);
    }
  }
  Spring s;
  EXPECT_EQ(applySpringSetting(s, "t", "0,7"), "");
  EXPECT_NEAR(static_cast<double>(s.t), 0.7, 1e-12);
  EXPECT_EQ(applySpringSetting(s, "zeichname", "Probe ä"), "");
  EXPECT_EQ(cp850ToUtf8(s.zeichname), "Probe ä");
  EXPECT_NE(applySpringSetting(s, "titleLine", "x"), "") << "composed by the calculation, no input";
  EXPECT_EQ(applySpringSetting(s, "kugelstrahlen", "j"), "");
  EXPECT_EQ(s.kugelstrahlen, 'J');
  const std::string unknown = applySpringSetting(s, "dicke", "1");
  for (const char* n : {"t", "n0", "zeichname", "freq", "matNoFlat"})
    EXPECT_NE(unknown.find(std::string(" ") + n), std::string::npos) << n << " missing in: " << unknown;
}

}  // namespace
}  // namespace velk::test
