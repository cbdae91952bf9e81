// Spring drawing: the spiral's chords, front view ends and window, side view, the installation-angle
// dialog, golden display lists, and degenerate springs (n = 0, NaN, 1e7 turns).
#include "graphics/springdrawing.h"

#include <cmath>
#include <limits>

#include "calc/calc_fixture.h"
#include "graphics/output.h"
#include "graphics/recording_device.h"

namespace velk::test {
namespace {

constexpr Real kPi = 3.141592653589793238462643383279502884L;

class SpringDrawingTest : public SessionTest {
 protected:
  void strip() {
    stripExample(ws);
    CalculateSpring(ws);
    ASSERT_FALSE(ws.messages.fatal);
  }
  void wire() {
    wireExample(ws);
    CalculateSpring(ws);
    ASSERT_FALSE(ws.messages.fatal);
  }
  void record() {
    prims.clear();
    RecordScreen(ws, prims);
  }
  void openRecording() {
    record();
    OpenDrawing(ws, DeviceCode::Screen);
    Window(ws.drawing, -100, -100, 100, 100);
    BeginEntities(ws.drawing, ws.diag);
    prims.clear();
  }
  std::vector<Prim> prims;
};

TEST_F(SpringDrawingTest, SpiralOfTwoAndAHalfTurns) {
  openRecording();
  DrawSpiral(ws, 10, 2.5L, 4);
  ASSERT_EQ(prims.size(), 180u);  // 179 chords of 5 degrees, then the final chord
  EXPECT_EQ(prims[0].v[0], 10);
  EXPECT_EQ(prims[0].v[1], 0);
  const Real r1 = 10 + 4.0L / 72;
  EXPECT_NEAR(prims[0].v[2], r1 * std::cos(5 * kPi / 180), 1e-15L);
  const Prim& last = prims[178];
  const Real r895 = 10 + 4 * 895.0L / 360;
  EXPECT_NEAR(last.v[2], r895 * std::cos(895 * kPi / 180), 1e-12L);
  EXPECT_NEAR(last.v[3], r895 * std::sin(895 * kPi / 180), 1e-12L);
  EXPECT_NEAR(prims[179].v[2], -(10 + 4 * 2.5L), 1e-12L);  // 900 degrees at r0 + p n
  EXPECT_NEAR(prims[179].v[3], 0, 1e-12L);
}

TEST_F(SpringDrawingTest, SpiralStepCountsAndBounds) {
  struct Case {
    Real n;
    size_t lines;
  };
  const Case cases[] = {
      {5, 360},                                       // 359 chords to 1795 degrees + final
      {0.01L, 2},                                     // the step is taken at least once
      {-1, 2},                                        // as computed: one step, then the final chord
      {1e7L, static_cast<size_t>(kMaxSpiralChords)},  // coarser steps
  };
  for (const Case& c : cases) {
    openRecording();
    DrawSpiral(ws, 10, c.n, 2);
    EXPECT_EQ(prims.size(), c.lines) << c.n;
    ASSERT_FALSE(prims.empty());
    const Real r = 10 + 2 * c.n, a = 360 * c.n * kPi / 180;
    EXPECT_NEAR(prims.back().v[2], r * std::cos(a), 1e-9L * std::fabs(r)) << c.n;
    EXPECT_TRUE(AllFinite(prims)) << c.n;
  }
  for (Real bad : {std::nanl(""), std::numeric_limits<Real>::infinity()}) {
    openRecording();
    DrawSpiral(ws, 10, bad, 2);
    DrawSpiral(ws, bad, 2, 2);
    DrawSpiral(ws, 10, 2, bad);
    EXPECT_TRUE(prims.empty());
  }
}

TEST_F(SpringDrawingTest, UnloadedFrontViewOfTheStrip) {
  strip();
  record();
  ws.spring.deltaDraw = 12;  // replaced by delta0 when no angle is asked
  DrawSpring(ws, SpringView::Front, DeviceCode::Screen, false);
  ASSERT_FALSE(ws.abort);
  const Spring& s = ws.spring;
  EXPECT_EQ(s.deltaDraw, s.delta0);
  // Square window 2.2 (re + t) wide about the winding axis.
  const Real B = 1.1L * (s.re + s.t);
  EXPECT_EQ(ws.drawing.x1, -B);
  EXPECT_EQ(ws.drawing.y2, B);
  // Centre line in layer 1, both edges and the ends in layer 5.
  const auto centre = Only(prims, Prim::Kind::Line, 1), edges = Only(prims, Prim::Kind::Line, 5);
  EXPECT_EQ(centre.size(), 360u);  // n0 = 5 turns
  EXPECT_EQ(edges.size(), 2 * 360u + 2);
  EXPECT_EQ(centre[0].style, 2);  // dash-dot
  // The centre line ends on the outer radius re (phi = 0), in the direction of the outer end.
  EXPECT_NEAR(centre.back().v[2], s.re, 1e-9L);
  EXPECT_NEAR(centre.back().v[3], 0, 1e-9L);
  const Prim& inner = edges[edges.size() - 2];
  EXPECT_EQ(inner.v, (std::vector<Real>{s.ri - s.t / 2, 0, s.ri + s.t / 2, 0}));
  const Prim& outer = edges.back();
  // An integer n0 gives delta0 = 360 and the outer end at w = 360 degrees.
  EXPECT_NEAR(outer.v[0], s.re + s.t / 2, 1e-9L);
  EXPECT_NEAR(outer.v[2], s.re - s.t / 2, 1e-9L);
  EXPECT_NEAR(outer.v[1], 0, 1e-9L);
}

TEST_F(SpringDrawingTest, InstallationAngleDialogTurnsTheSpring) {
  wire();  // n0 = 4.25: delta0 = 270
  const Spring& s = ws.spring;
  // The preset button "delta 2".
  ui.script({Answer::Acting<InstallationAngleRequest>(
      [](const InstallationAngleRequest& q) { return InstallationAngleResult{q.presets.at(1)}; })});
  record();
  DrawSpring(ws, SpringView::Front, DeviceCode::Screen, true);
  ASSERT_FALSE(ws.abort);
  ASSERT_EQ(ui.shown<InstallationAngleRequest>().size(), 1u);
  const InstallationAngleRequest q = ui.shown<InstallationAngleRequest>()[0];
  EXPECT_EQ(q.caption, "VELK");
  EXPECT_EQ(q.helpNumber, 6610);
  EXPECT_EQ(q.value, fmtSig(ws.num(), 45));  // the last deltaDraw
  EXPECT_EQ(q.presets, (std::vector<std::string>{fmtSig(ws.num(), s.deltac), fmtSig(ws.num(), s.delta2),
                                                 fmtSig(ws.num(), s.delta1), fmtSig(ws.num(), s.delta0)}));
  EXPECT_EQ(q.trackMin, std::lround(std::nearbyint(s.deltac + 0.5L)));
  EXPECT_EQ(q.trackMax, 270);  // R(269.5), halves to even
  EXPECT_EQ(s.deltaDraw, s.delta2);
  // Turned by phi = delta0 - delta2 = alpha2: n = n0 + alpha2 / 360 turns; the outer end at
  // w = phi + 360 - delta0 on the contracted radius ra = Lw / (pi n) - ri.
  const Real n = s.n0 + s.alpha2 / 360, ra = s.Lw / (kPi * n) - s.ri;
  const auto centre = Only(prims, Prim::Kind::Line, 1);
  EXPECT_NEAR(centre.back().v[2], ra * std::cos(360 * n * kPi / 180), 1e-9L);
  const Real w = (s.alpha2 + 360 - 270) * kPi / 180;
  const Prim outer = Only(prims, Prim::Kind::Line, 5).back();
  EXPECT_NEAR(outer.v[0], (ra + s.t / 2) * std::cos(w), 1e-9L);
  EXPECT_NEAR(outer.v[1], (ra + s.t / 2) * std::sin(w), 1e-9L);

  // A typed angle with a decimal comma; cancel draws nothing and aborts.
  ui.script({Answer::With(InstallationAngleResult{"100,5"})});
  DrawSpring(ws, SpringView::Front, DeviceCode::Screen, true);
  EXPECT_EQ(s.deltaDraw, 100.5L);
  prims.clear();
  ui.script({Answer::Cancel()});
  DrawSpring(ws, SpringView::Front, DeviceCode::Screen, true);
  EXPECT_TRUE(ws.abort);
  EXPECT_TRUE(prims.empty());
  EXPECT_EQ(s.deltaDraw, 100.5L);
}

TEST_F(SpringDrawingTest, SideViewOfAWireSetsTheWidthToTheDiameter) {
  wire();
  record();
  DrawSpring(ws, SpringView::Side, DeviceCode::Screen, false);
  const Spring& s = ws.spring;
  EXPECT_EQ(s.b, s.t);
  const auto axis = Only(prims, Prim::Kind::Line, 1), outline = Only(prims, Prim::Kind::Line, 5);
  ASSERT_EQ(axis.size(), 1u);
  EXPECT_EQ(axis[0].v, (std::vector<Real>{-0.1L * s.t, 0, 1.1L * s.t, 0}));
  ASSERT_EQ(outline.size(), 4u);
  EXPECT_EQ(outline[0].v, (std::vector<Real>{0, -s.re, 0, s.re}));
  EXPECT_EQ(outline[1].v, (std::vector<Real>{0, s.re, s.t, s.re}));
}

TEST_F(SpringDrawingTest, GoldenDisplayLists) {
  PinWindowSize(ws);
  strip();
  DrawSpring(ws, SpringView::Front, DeviceCode::Screen, false);
  ExpectGolden("strip_front", NormalizedDisplayList(ws));
  DrawSpring(ws, SpringView::Side, DeviceCode::Screen, false);
  ExpectGolden("strip_side", NormalizedDisplayList(ws));
  ws.config.num.units = 1;  // drawings are in millimetres whatever the units
  wire();
  DrawSpring(ws, SpringView::Front, DeviceCode::Screen, false);
  ExpectGolden("wire_front", NormalizedDisplayList(ws));
  DrawSpring(ws, SpringView::Side, DeviceCode::Screen, false);
  ExpectGolden("wire_side", NormalizedDisplayList(ws));
}

TEST_F(SpringDrawingTest, DegenerateSpringsSayWhyAndDrawNothing) {
  struct Case {
    const char* what;
    Real n0, delta0;
    const char* typedAngle;  // nullptr: drawn unloaded
  };
  const Real nan = std::nanl("");
  const Case cases[] = {
      {"n0 = 0", 0, 360, nullptr},
      {"turned back to n = 0", 5, 360, "2160"},
      {"n0 not a number", nan, 360, nullptr},
      {"opening angle not a number", 5, nan, nullptr},
  };
  for (const Case& c : cases) {
    strip();
    Spring& s = ws.spring;
    s.n0 = c.n0;  // as a design mode could leave it, without a new calculation
    s.delta0 = c.delta0;
    ui.clearRequests();
    ws.display.records = {"sentinel"};
    if (c.typedAngle) ui.script({Answer::With(InstallationAngleResult{c.typedAngle})});
    DrawSpring(ws, SpringView::Front, DeviceCode::Screen, c.typedAngle != nullptr);
    EXPECT_TRUE(ws.abort) << c.what;
    EXPECT_EQ(ws.display.records, std::vector<std::string>{"sentinel"}) << c.what;
    const auto errors = ui.messages(MessageKind::Error);
    ASSERT_EQ(errors.size(), 1u) << c.what;
    EXPECT_NE(errors[0].find("Vorderansicht"), std::string::npos) << c.what;
    ws.abort = false;
  }
}

TEST_F(SpringDrawingTest, HugeNumberOfTurnsDrawsInBoundedTime) {
  strip();
  ws.spring.n0 = 1e7L;
  ws.spring.delta0 = 360;
  record();
  DrawSpring(ws, SpringView::Front, DeviceCode::Screen, false);
  EXPECT_FALSE(ws.abort);
  EXPECT_LE(prims.size(), 3 * (static_cast<size_t>(kMaxSpiralChords) + 2) + 2);
  EXPECT_TRUE(AllFinite(prims));
}

TEST_F(SpringDrawingTest, FatalCalculationShowsTheMessageWindowInstead) {
  strip();
  ws.spring.t = 0;
  CalculateSpring(ws);
  ASSERT_TRUE(ws.messages.fatal);
  ws.display.records = {"sentinel"};
  ui.script({Answer::Cancel()});
  DrawSpring(ws, SpringView::Front, DeviceCode::Screen, true);  // not even the angle is asked
  ASSERT_EQ(ui.requests().size(), 1u);
  EXPECT_EQ(ui.requests()[0].kind, Request::Kind::Radio);
  EXPECT_EQ(ws.display.records, std::vector<std::string>{"sentinel"});
}

}  // namespace
}  // namespace velk::test
