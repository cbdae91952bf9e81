// Start values and the text rules of the spring record.
#include "data/spring.h"

#include "support/fixture.h"

namespace velk::test {
namespace {

TEST(Spring, ResetRestoresStartValuesButKeepsWorkingState) {
  Spring s;
  s.b = 1;
  s.crossSection = 2;
  s.kugelstrahlen = 'J';
  s.kb = 3;
  s.sigmaq1 = 500;
  s.fileName = "x";
  s.dataDir = "/d";
  resetToStartValues(s);
  EXPECT_EQ(s.b, 20);
  EXPECT_EQ(s.crossSection, 1);
  EXPECT_EQ(s.kugelstrahlen, 'N');
  EXPECT_EQ(s.kb, 1);
  EXPECT_EQ(s.sigmaq1, 0);
  EXPECT_EQ(s.matNoRound, 3);
  EXPECT_EQ(s.rho, 7.85L);
  EXPECT_EQ(s.fileName, "x");
  EXPECT_EQ(s.dataDir, "/d");
}

TEST(Spring, TextDialogStoreRulesAndBothTitleForms) {
  Spring s;
  SpringTexts t{std::string(30, 'N'), std::string(40, 'Z'), "4711-0815-ABCDEFGHIJ", "b1", "b2"};
  storeSpringTexts(s, t);
  EXPECT_EQ(s.zeichname.size(), 25u);
  EXPECT_EQ(s.zeichname2.size(), 30u);
  EXPECT_EQ(s.zeichnr, "4711-0815-ABCDEFGH");
  EXPECT_TRUE(s.modified);
  EXPECT_EQ(s.titleLine, std::string(25, 'N') + "  Zeichn.Nr.: 4711-0815-ABCDEFGH");
  EXPECT_EQ(titleLineFromCalculation(s), std::string(25, 'N') + "   Zeichn.Nr.: 4711-0815-ABCDEFGH");
  EXPECT_LE(titleLineFromCalculation(s).size(), 65u);
}

}  // namespace
}  // namespace velk::test
