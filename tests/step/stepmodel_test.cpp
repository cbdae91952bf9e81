// The 3D model as STEP: every written file read back by OpenCASCADE as one valid solid of the
// right volume and width, for both sections and all end forms; springs without a model write
// nothing and leave an older file alone.
#include "step/stepmodel.h"

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <limits>

#include "calc/calc_fixture.h"
#include "calc/calculate.h"
#include "draw/springpath.h"
#include "step_readback.h"

namespace velk::test {
namespace {

constexpr Real kPi = 3.141592653589793238462643383279502884L;

struct Case {
  const char* name;
  int crossSection;
  int formi, forme;
  int units;  // 0 metric, 1 imperial: the model is in millimetres either way
  Real phi;   // turned from the unloaded position, degrees
};

class StepModelTest : public SessionTest {
 protected:
  void load(const Case& c) {
    if (c.crossSection == 2)
      wireExample(ws);
    else
      stripExample(ws);
    Spring& s = ws.spring;
    s.formi = c.formi;
    s.forme = c.forme;
    s.li = 20, s.rbi = 4;
    s.le = 30, s.rbe = 6;
    s.zeichname = oem("Spiralfeder Größe 3");
    s.zeichnr = "SF-4711";
    ws.config.num.units = c.units;
    CalculateSpring(ws);
    ASSERT_FALSE(ws.messages.fatal);
  }
};

TEST_F(StepModelTest, EveryWrittenFileIsOneValidSolidOfTheSpring) {
  const Case cases[] = {
      {"strip clamped", 1, 1, 1, 0, 0},    {"strip bent", 1, 2, 2, 0, 0},          {"strip inner bent", 1, 2, 1, 1, 0},
      {"strip outer bent", 1, 1, 2, 0, 0}, {"wire clamped", 2, 1, 1, 1, 0},        {"wire bent", 2, 2, 2, 0, 0},
      {"wire outer bent", 2, 1, 2, 0, 0},  {"strip bent turned", 1, 2, 2, 1, -90},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    load(c);
    const Spring& s = ws.spring;
    const std::string path = dir.file(std::string(c.name) + ".step");
    const StepResult result = WriteSpringStep(s, c.phi, path);
    ASSERT_TRUE(result.written()) << u8(result.problem) << " " << result.ioError;
    const ReadBack r = readStep(path);
    ASSERT_TRUE(r.read);
    EXPECT_EQ(r.solids, 1);
    EXPECT_TRUE(r.valid);
    const Real area = c.crossSection == 2 ? kPi * s.t * s.t / 4 : s.b * s.t;
    // The centre line's length; for the unloaded spring it is the calculated L.
    const Real length = PathLength(CentreLine(s, c.phi));
    if (c.phi == 0) {
      EXPECT_NEAR(length, s.L, 2e-3L * s.L);
    }
    EXPECT_NEAR(r.volume, area * length, 0.02L * area * length);
    const Real width = c.crossSection == 2 ? s.t : s.b;
    EXPECT_NEAR(r.zMax - r.zMin, width, 1e-3L * width);
    EXPECT_NEAR(r.zMax, width / 2, 1e-3L * width);
    // The outermost point lies near the outer radius (or beyond it on a bent outer leg).
    EXPECT_GT(r.xMax, 0.9L * s.re);
  }
}

TEST_F(StepModelTest, ProductCarriesTheDrawingNameAndNumber) {
  load({"strip", 1, 2, 2, 0, 0});
  const std::string path = dir.file("feder.step");
  ASSERT_TRUE(WriteSpringStep(ws.spring, 0, path).written());
  const std::string text = readFile(path);
  EXPECT_NE(text.find("AUTOMOTIVE_DESIGN"), std::string::npos) << text.substr(0, 600);  // AP214
  // The German letters spelled out in ASCII.
  EXPECT_NE(text.find("PRODUCT('SF-4711','Spiralfeder Groesse 3','SF-4711'"), std::string::npos)
      << text.substr(0, 2000);
  EXPECT_NE(text.find("'SF-4711'"), std::string::npos);
  EXPECT_NE(text.find("'feder.step'"), std::string::npos);
  EXPECT_EQ(text.find("velk-tmp"), std::string::npos);
}

TEST_F(StepModelTest, SpringsWithoutAModelWriteNothing) {
  struct Bad {
    const char* name;
    void (*spoil)(Spring&);
    const char* says;
  };
  const Bad bad[] = {
      {"n0 zero", [](Spring& s) { s.n0 = 0; }, "n0 <= 0"},
      {"t negative", [](Spring& s) { s.t = -1; }, "t <= 0"},
      {"b zero", [](Spring& s) { s.b = 0; }, "b <= 0"},
      {"re not finite", [](Spring& s) { s.re = std::numeric_limits<Real>::infinity(); }, "ungültig"},
      {"bend radius zero", [](Spring& s) { s.rbe = 0; }, "Abbiegeradius"},
      {"bend inside the section", [](Spring& s) { s.rbi = s.t / 2; }, "Abbiegeradius <= t/2"},
      {"a million turns", [](Spring& s) { s.n0 = 1e6L; }, "mehr als 1000 Windungen"},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.name);
    load({"strip", 1, 2, 2, 0, 0});
    const std::string path = dir.file("alt.step");
    writeFile(path, "older file");
    b.spoil(ws.spring);
    const StepResult r = WriteSpringStep(ws.spring, 0, path);
    EXPECT_FALSE(r.written());
    EXPECT_EQ(r.ioError, 0);
    EXPECT_EQ(u8(r.problem).rfind("3D-Modell nicht möglich: ", 0), 0u) << u8(r.problem);
    EXPECT_NE(u8(r.problem).find(b.says), std::string::npos) << u8(r.problem);
    EXPECT_EQ(readFile(path), "older file");
  }
}

TEST_F(StepModelTest, FailedWriteKeepsTheOlderFile) {
  load({"wire", 2, 1, 1, 0, 0});
  const std::string path = dir.file("alt.step");
  writeFile(path, "older file");
  IoHooks full;
  full.writeFault = [](std::string_view) { return ENOSPC; };
  const StepResult r = WriteSpringStep(ws.spring, 0, path, full);
  EXPECT_TRUE(r.problem.empty());
  EXPECT_EQ(r.ioError, ENOSPC);
  EXPECT_EQ(readFile(path), "older file");
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    EXPECT_EQ(entry.path().filename().string().rfind(".velk-tmp", 0), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace velk::test
