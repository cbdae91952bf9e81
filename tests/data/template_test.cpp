// The shipped template null.vlk holds exactly the start values.
// VELK_BLESS=1 rewrites it from the writer (review the change in git diff).
#include <cstdlib>

#include "data/inputfile.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

TEST(Template, ShippedNullVlkHoldsTheStartValues) {
  ScriptedUi ui;
  Session ws(ui);
  ws.spring.doc = Documentation{};  // a template carries no documentation of its own
  const std::string expected = inputFileBytes(ws.spring, ws.num());
  const std::string path = std::string(VELK_SOURCE_DATA_DIR) + "/null.vlk";
  if (const char* bless = std::getenv("VELK_BLESS"); bless && std::string(bless) == "1") writeFile(path, expected);
  const std::string shipped = readFile(path);
  EXPECT_EQ(shipped, expected) << "run with VELK_BLESS=1 to regenerate " << path;

  Session loaded(ui);
  loaded.spring.b = 1;
  parseInputFile(loaded.spring, loaded.num(), shipped);
  EXPECT_EQ(loaded.spring.b, 20);
  EXPECT_EQ(loaded.spring.matNoRound, 3);
  EXPECT_EQ(loaded.spring.freq, 1);
}

}  // namespace
}  // namespace velk::test
