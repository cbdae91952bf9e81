// Diagram layer: nice ranges, tick counts, mapping, clipping, arrows, axes with ticks, labels and
// grid, the sheet header and the limits dialog.
#include "graphics/diagram.h"

#include <cmath>
#include <limits>

#include "graphics/output.h"
#include "graphics/recording_device.h"

namespace velk::test {
namespace {

constexpr Real kInf = std::numeric_limits<Real>::infinity();
const Real kNaN = std::nanl("");

TEST(NiceRange, Table) {
  struct Case {
    Real lo, hi, min, max, step;
  };
  const Case cases[] = {
      {0, 86, 0, 90, 10},
      {0, 800, 0, 800, 100},
      {0, 130, 0, 140, 20},
      {0, 0, -1, 1, 0.5L},
      {0, 100, 0, 100, 20},
      {0, 1600, 0, 1600, 200},
      {0, 5, 0, 5, 1},
      {0, 3000, 0, 3000, 500},
      {10, 86, 10, 90, 10},
      {-50, 50, -60, 60, 20},
      {100, 0, 0, 100, 20},  // reversed limits are ordered
      {0, 0.0002L, 0, 0.0002L, 0.00005L},
  };
  for (const Case& c : cases) {
    const NiceScale s = NiceRange(c.lo, c.hi, 6);
    EXPECT_NEAR(s.min, c.min, 1e-9L * std::fabs(c.step)) << c.lo << ".." << c.hi;
    EXPECT_NEAR(s.max, c.max, 1e-9L * std::fabs(c.step)) << c.lo << ".." << c.hi;
    EXPECT_NEAR(s.step, c.step, 1e-12L * c.step) << c.lo << ".." << c.hi;
  }
}

TEST(NiceRange, AbsurdLimitsGiveAFiniteRangeWithFewSteps) {
  const Real cases[][2] = {
      {kNaN, 100},         {0, kInf},    {-kInf, kInf},  {1e30L, 1e30L}, {1e300L, 1e300L * (1 + 1e-18L)},
      {-1e4900L, 1e4900L}, {0, 1e-300L}, {-1e-7L, 1e-7L}};
  for (const auto& c : cases) {
    const NiceScale s = NiceRange(c[0], c[1], 6);
    ASSERT_TRUE(std::isfinite(s.min) && std::isfinite(s.max) && std::isfinite(s.step)) << c[0] << ".." << c[1];
    EXPECT_GT(s.step, 0);
    EXPECT_GT(s.max, s.min);
    const int ticks = TickCount(s.min, s.max, s.step);
    EXPECT_GE(ticks, 2) << c[0] << ".." << c[1];
    EXPECT_LE(ticks, 100) << c[0] << ".." << c[1];
  }
  // A non-finite limit counts as 0.
  const NiceScale s = NiceRange(kNaN, 100, 6);
  EXPECT_EQ(s.min, 0);
  EXPECT_NEAR(s.max, 100, 1e-12L);  // a multiple of a step that is a power of ten by powl
}

TEST(TickCount, CountsTicksAndRefusesAbsurdRanges) {
  EXPECT_EQ(TickCount(0, 90, 10), 10);
  EXPECT_EQ(TickCount(0, 1, 0.2L), 6);  // 0.2 does not add up to 1 exactly
  EXPECT_EQ(TickCount(-1, 1, 0.5L), 5);
  EXPECT_EQ(TickCount(0, 2e-5L, 5e-6L), 5);  // a tiny range keeps all its ticks
  EXPECT_EQ(TickCount(0, 1e9L, 1), 0);
  EXPECT_EQ(TickCount(0, 10, 0), 0);
  EXPECT_EQ(TickCount(0, 10, -1), 0);
  EXPECT_EQ(TickCount(0, kInf, 1), 0);
  EXPECT_EQ(TickCount(kNaN, 10, 1), 0);
  EXPECT_EQ(TickCount(10, 0, 1), 0);
}

TEST(ClipToRange, Table) {
  DiagramState d;
  d.xmin = 0, d.xmax = 100, d.ymin = 0, d.ymax = 100;
  struct Case {
    const char* what;
    Real x1, y1, x2, y2;
    bool drawn;
    Real ex1, ey1, ex2, ey2;
  };
  const Case cases[] = {
      {"inside", 10, 10, 90, 90, true, 10, 10, 90, 90},
      {"within the 1 % margin", -0.5L, 50, 100.9L, 50, true, -0.5L, 50, 100.9L, 50},
      {"inside to far right", 50, 50, 250, 50, true, 50, 50, 100, 50},
      {"far below to inside keeps its direction", 50, -100, 50, 50, true, 50, 0, 50, 50},
      {"inside to far up-right through the corner", 50, 50, 150, 150, true, 50, 50, 100, 100},
      {"on the right border leaving through the top", 100, 50, 90, 200, true, 100, 50, 100 - 10.0L / 3, 100},
      {"both outside, crossing", -50, 50, 150, 50, false, 0, 0, 0, 0},
      {"margin point to far outside", -0.5L, 50, -500, 50, false, 0, 0, 0, 0},
      {"not finite", 50, 50, kInf, 50, false, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    Real x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
    ASSERT_EQ(ClipToRange(d, x1, y1, x2, y2), c.drawn) << c.what;
    if (!c.drawn) continue;
    EXPECT_NEAR(x1, c.ex1, 1e-12L) << c.what;
    EXPECT_NEAR(y1, c.ey1, 1e-12L) << c.what;
    EXPECT_NEAR(x2, c.ex2, 1e-12L) << c.what;
    EXPECT_NEAR(y2, c.ey2, 1e-12L) << c.what;
  }
}

class DiagramTest : public SessionTest {
 protected:
  void open() {
    RecordScreen(ws, prims);
    OpenDrawing(ws, DeviceCode::Screen);
    ASSERT_FALSE(ws.abort);
    Window(ws.drawing, 0, 0, 160, 120);
    BeginEntities(ws.drawing, ws.diag);
    prims.clear();  // the footer line
    DiagramReset(ws);
  }
  std::vector<Prim> prims;
};

TEST_F(DiagramTest, MappingAndScaleRange) {
  SetArea(ws, 60, 60);
  SetAreaOrigin(ws, 10, 50);
  SetRange(ws, 0, 100, 0, 200);
  EXPECT_DOUBLE_EQ(SheetX(ws, 50), 40);
  EXPECT_DOUBLE_EQ(SheetY(ws, 100), 80);
  ws.diagram.xstep = 20;
  ScaleRange(ws, 2, 0.5L);  // display units -> internal units
  EXPECT_EQ(ws.diagram.xmax, 50);
  EXPECT_EQ(ws.diagram.xstep, 10);
  EXPECT_EQ(ws.diagram.ymax, 400);
  EXPECT_DOUBLE_EQ(SheetX(ws, 25), 40);
  ScaleRange(ws, 0, kNaN);  // useless factors change nothing
  EXPECT_EQ(ws.diagram.xmax, 50);
  EXPECT_EQ(ws.diagram.ymax, 400);
  EXPECT_TRUE(std::isnan(SheetX(ws, kInf)));
  SetRange(ws, 5, 5, 0, 1);
  EXPECT_TRUE(std::isnan(SheetX(ws, 5)));
}

TEST_F(DiagramTest, DataLineToClipsAndNeverPassesNonFiniteValues) {
  open();
  SetRange(ws, 0, 160, 0, 120);  // data = sheet
  DataMoveTo(ws, 80, 60);
  DataLineTo(ws, 1000, 60);   // ends on the right border
  DataLineTo(ws, 2000, 500);  // both outside: nothing
  DataLineTo(ws, kNaN, 1);    // nothing
  DataLineTo(ws, 10, 10);     // from NaN: nothing
  DataLineTo(ws, 20, 20);     // inside again
  DataCircle(ws, kInf, 0, 1);
  DataText(ws, "x", kNaN, 0);
  const auto lines = Only(prims, Prim::Kind::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].v, (std::vector<Real>{80, 60, 160, 60}));
  EXPECT_EQ(lines[1].v, (std::vector<Real>{10, 10, 20, 20}));
  EXPECT_EQ(prims.size(), 2u);
}

TEST_F(DiagramTest, ArrowCorners) {
  open();
  struct Case {
    int kind;
    std::vector<Real> corners;
  };
  const Case cases[] = {
      {1, {100, 50, 92, 51, 92, 49, 100, 50}},
      {2, {100, 50, 101, 42, 99, 42, 100, 50}},
      {3, {100, 50, 108, 51, 108, 49, 100, 50}},
      {4, {100, 50, 101, 58, 99, 58, 100, 50}},
  };
  for (const Case& c : cases) {
    prims.clear();
    Arrow(ws, c.kind, 100, 50, 8);
    ASSERT_EQ(prims.size(), 1u) << c.kind;
    EXPECT_EQ(prims[0].kind, Prim::Kind::Solid);
    EXPECT_EQ(prims[0].v, c.corners) << c.kind;
  }
  prims.clear();
  Arrow(ws, 0, 100, 50, 8);
  Arrow(ws, 5, 100, 50, 8);
  EXPECT_TRUE(prims.empty());
}

TEST_F(DiagramTest, AxesDrawTicksLabelsTitlesArrowsAndGrid) {
  open();
  SetArea(ws, 90, 90);
  SetAreaOrigin(ws, 12, 10);
  Axes(ws, "alpha", "T", "Federkennlinie", 1, 0, 86, 0, 800);
  EXPECT_EQ(ws.drawing.kind, DrawingKind::Diagram);
  const DiagramState& d = ws.diagram;
  EXPECT_EQ(d.xmax, 90);
  EXPECT_EQ(d.ymax, 800);
  EXPECT_EQ(d.xstep, 10);

  // Title centred above the area (layer 4), scaled text style f = max(0.9, 0.5625).
  const Prim* title = FindText(prims, "Federkennlinie");
  ASSERT_TRUE(title);
  EXPECT_EQ(title->layer, 4);
  EXPECT_DOUBLE_EQ(title->v[0], 12 + 45 - 14 * 3.5L / 2);
  EXPECT_DOUBLE_EQ(title->v[1], 10 + 90 + 3);
  EXPECT_DOUBLE_EQ(title->attr.height, 3.5L * 0.9L);

  // Both axes contain 0: two arrows of size 0.04 W / 0.04 H at the lengthened axis ends.
  const auto arrows = Only(prims, Prim::Kind::Solid);
  ASSERT_EQ(arrows.size(), 2u);
  EXPECT_DOUBLE_EQ(arrows[0].v[0], 12 + 94.5L);
  EXPECT_DOUBLE_EQ(arrows[0].v[2], 12 + 94.5L - 3.6L);
  EXPECT_DOUBLE_EQ(arrows[1].v[1], 10 + 94.5L);

  // Labels 0..90 and 0..800 in the axis number format, in layer 17.
  for (int v = 0; v <= 90; v += 10) EXPECT_TRUE(FindText(prims, fmtInt(v))) << v;
  for (int v = 0; v <= 800; v += 100) EXPECT_TRUE(FindText(prims, fmtInt(v))) << v;
  EXPECT_FALSE(FindText(prims, "100") && FindText(prims, "100")->v[1] < 10);  // no x label beyond 90
  const Prim* label = FindText(prims, "30");
  ASSERT_TRUE(label);
  EXPECT_EQ(label->layer, 17);
  EXPECT_DOUBLE_EQ(label->v[0], 12 + (30 - 0.03L * 90) / 90 * 90);
  EXPECT_TRUE(FindText(prims, "alpha"));
  EXPECT_TRUE(FindText(prims, "T"));

  // Dotted grid: a vertical line on every x tick, a horizontal one on every y tick.
  int vertical = 0, horizontal = 0;
  for (const Prim& p : Only(prims, Prim::Kind::Line, 17)) {
    if (p.style != 1) continue;
    if (p.v[0] == p.v[2] && p.v[1] == 10 && p.v[3] == 100) ++vertical;
    if (p.v[1] == p.v[3] && p.v[0] == 12 && p.v[2] == 102) ++horizontal;
  }
  EXPECT_EQ(vertical, 10);
  EXPECT_EQ(horizontal, 9);
}

TEST_F(DiagramTest, RangeWithoutZeroHasNoAxisLinesButTicksAtItsBorders) {
  open();
  Axes(ws, "x", "y", "t", 1, 10, 86, 500, 800);
  EXPECT_TRUE(Only(prims, Prim::Kind::Solid).empty());
  EXPECT_EQ(ws.diagram.xmin, 10);
  EXPECT_EQ(ws.diagram.ymin, 500);
  // The x ticks hang below the lower border, the y ticks left of the left border.
  int xTicks = 0, yTicks = 0;
  for (const Prim& p : Only(prims, Prim::Kind::Line, 17)) {
    if (p.style == 1) continue;
    if (p.v[0] == p.v[2] && p.v[1] == 0) ++xTicks;
    if (p.v[1] == p.v[3] && p.v[0] == 0) ++yTicks;
  }
  EXPECT_EQ(xTicks, 9);  // 10..90
  EXPECT_EQ(yTicks, 7);  // 500..800 by 50
}

TEST_F(DiagramTest, LargeValuesAreLabelledInEngineeringNotation) {
  open();
  Axes(ws, "x", "y", "t", 1, 0, 0.00004L, 0, 200000);
  EXPECT_TRUE(FindText(prims, "5E-6"));     // below 1e-5
  EXPECT_TRUE(FindText(prims, "0.00001"));  // from 1e-5 on: three significant digits
  EXPECT_TRUE(FindText(prims, "50E3"));     // from 10000 on
  EXPECT_TRUE(FindText(prims, "200E3"));
}

TEST_F(DiagramTest, LimitsDialogOverridesTheRanges) {
  open();
  ws.config.askDiagramLimits = true;
  ws.diagram.offerLimits = true;
  ui.script({Answer::With(DiagramLimitsResult{{"0", "45,5", "0", "1000"}})});
  Axes(ws, "alpha", "T", "Federkennlinie", 1, 0, 86, 0, 800);
  ASSERT_EQ(ui.shown<DiagramLimitsRequest>().size(), 1u);
  const DiagramLimitsRequest q = ui.shown<DiagramLimitsRequest>()[0];
  EXPECT_EQ(q.caption, "Federkennlinie");
  EXPECT_EQ(q.xTitle, "alpha");
  EXPECT_EQ(q.yTitle, "T");
  EXPECT_EQ(q.helpNumber, 1950);
  EXPECT_EQ(q.values, (std::vector<std::string>{"0", "1", "0", "1"}));  // the stored user limits
  EXPECT_EQ(q.automatic, (std::vector<std::string>{"0", "90", "0", "800"}));
  EXPECT_EQ(ws.diagram.user.xmax, 45.5L);
  EXPECT_EQ(ws.diagram.user.ymax, 1000);
  EXPECT_EQ(ws.diagram.xmax, 50);
  EXPECT_EQ(ws.diagram.xstep, 5);
  EXPECT_EQ(ws.diagram.ymax, 1000);
  // The vertical grid follows the x ticks of the user range: 0, 5, ..., 50.
  int vertical = 0;
  for (const Prim& p : Only(prims, Prim::Kind::Line, 17))
    if (p.style == 1 && p.v[0] == p.v[2]) ++vertical;
  EXPECT_EQ(vertical, 11);

  // Next time the stored limits are offered; "Calculate" takes the automatic ranges.
  ui.script({Answer::Acting<DiagramLimitsRequest>(
      [](const DiagramLimitsRequest& q) { return DiagramLimitsResult{q.automatic}; })});
  Axes(ws, "alpha", "T", "Federkennlinie", 1, 0, 86, 0, 800);
  EXPECT_EQ(ui.shown<DiagramLimitsRequest>()[1].values, (std::vector<std::string>{"0", "45.5", "0", "1000"}));
  EXPECT_EQ(ws.diagram.xmax, 90);
  EXPECT_EQ(ws.diagram.user.xmax, 90);
}

TEST_F(DiagramTest, CancelledLimitsDialogKeepsTheAutomaticRanges) {
  open();
  ws.config.askDiagramLimits = true;
  ws.diagram.offerLimits = true;
  ui.script({Answer::Cancel()});
  Axes(ws, "x", "y", "t", 1, 0, 86, 0, 800);
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ws.diagram.xmax, 90);
  EXPECT_EQ(ws.diagram.user.xmax, 1);
}

TEST_F(DiagramTest, LimitsDialogOnlyWhenConfiguredOfferedAndNotInABatchJob) {
  open();
  ws.config.askDiagramLimits = true;
  ws.diagram.offerLimits = false;  // opened directly on the screen
  Axes(ws, "x", "y", "t", 1, 0, 86, 0, 800);
  ws.diagram.offerLimits = true;
  ws.start.batchCad = true;
  Axes(ws, "x", "y", "t", 1, 0, 86, 0, 800);
  ws.start.batchCad = false;
  ws.start.noGui = true;
  Axes(ws, "x", "y", "t", 1, 0, 86, 0, 800);
  ws.start.noGui = false;
  ws.config.askDiagramLimits = false;
  Axes(ws, "x", "y", "t", 1, 0, 86, 0, 800);
  EXPECT_TRUE(ui.shown<DiagramLimitsRequest>().empty());
}

TEST_F(DiagramTest, HeaderWritesTheThreeDrawingLines) {
  open();
  ws.spring.titleLine = "Feder   Zeichn.Nr.: 42";
  ws.spring.bemerk1 = "eins";
  ws.spring.bemerk2 = "zwei";
  DiagramHeader(ws);
  const auto texts = Only(prims, Prim::Kind::Text, 19);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, "Feder   Zeichn.Nr.: 42");
  EXPECT_EQ(texts[0].v, (std::vector<Real>{78, 116}));
  EXPECT_EQ(texts[2].text, "zwei");
  EXPECT_DOUBLE_EQ(texts[2].v[1], 116 - 2 * 1.6L * 2.2L);
}

}  // namespace
}  // namespace velk::test
