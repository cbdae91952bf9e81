// The production drawing: an independent DXF reader (python3-ezdxf) measures the outline and
// finds the title block's texts for every kind of end, strip and wire, metric and imperial; the
// sheet and scale chosen for small and large springs; springs that cannot be drawn.
#include "graphics/productiondrawing.h"

#include <algorithm>
#include <filesystem>

#include "cad/devices.h"
#include "calc/calc_fixture.h"
#include "draw/drawing.h"
#include "draw/springpath.h"
#include "graphics/output.h"
#include "graphics/recording_device.h"
#include "support/run_process.h"

namespace velk::test {
namespace {

// argv: groups of file, outline layer, expected outline length, drawing number, material,
// revision text. Prints per file: whether the outline is within 3 %, whether each text is
// found, and the audit's error count.
constexpr const char* kMeasure = R"(
import sys, os, math, ezdxf
a = sys.argv[1:]
def length(pts, closed):
    s = sum(math.dist(p, q) for p, q in zip(pts, pts[1:]))
    return s + (math.dist(pts[-1], pts[0]) if closed and len(pts) > 1 else 0)
for i in range(0, len(a), 6):
    name, layer, want, number, material, revision = a[i:i + 6]
    doc = ezdxf.readfile(name)
    total = 0.0
    texts = []
    for e in doc.modelspace():
        t = e.dxftype(); d = e.dxf
        if t == 'TEXT': texts.append(d.text)
        if d.layer != layer: continue
        if t == 'LINE': total += math.dist((d.start.x, d.start.y), (d.end.x, d.end.y))
        elif t == 'ARC': total += math.radians((d.end_angle - d.start_angle) % 360) * d.radius
        elif t == 'CIRCLE': total += 2 * math.pi * d.radius
        elif t == 'LWPOLYLINE': total += length([tuple(p) for p in e.get_points('xy')], e.closed)
        elif t == 'POLYLINE': total += length([(v.dxf.location.x, v.dxf.location.y) for v in e.vertices], e.is_closed)
    ok = abs(total - float(want)) <= 0.03 * float(want)
    joined = '\n'.join(texts)
    print(os.path.basename(name), 'outline' if ok else 'outline %.3f want %s' % (total, want),
          number in joined, material in joined, revision in joined, len(doc.audit().errors))
)";

class ProductionDrawingTest : public SessionTest {
 protected:
  void strip(int formi, int forme) {
    stripExample(ws);
    ends(formi, forme);
  }
  void wire(int formi, int forme) {
    wireExample(ws);
    ends(formi, forme);
  }
  void ends(int formi, int forme) {
    Spring& s = ws.spring;
    s.formi = static_cast<uint16_t>(formi);
    s.forme = static_cast<uint16_t>(forme);
    s.li = 20, s.rbi = 4, s.le = 30, s.rbe = 6;
  }
  void calculate() {
    ws.spring.matName = "Federstahl";
    CalculateSpring(ws);
    ASSERT_FALSE(ws.messages.fatal) << messageTexts(ws.messages)[0];
  }
};

TEST_F(ProductionDrawingTest, OutlineAndTitleTextsForEveryKindOfSpring) {
  const std::string python = pythonWithModules({"ezdxf"});
  ASSERT_FALSE(python.empty()) << "python3 with ezdxf is required";
  struct Case {
    bool wire;
    int formi, forme;
    int units;  // 0 metric, 1 imperial
  };
  const Case cases[] = {
      {false, 1, 1, 0}, {false, 2, 2, 0}, {false, 2, 1, 1}, {false, 1, 2, 1},
      {true, 1, 1, 1},  {true, 2, 1, 0},  {true, 1, 2, 0},  {true, 2, 2, 1},
  };
  std::vector<std::string> argv = {python, "-c", kMeasure};
  std::string want;
  int k = 0;
  for (const Case& c : cases) {
    ws.config.num.units = c.units;
    if (c.wire)
      wire(c.formi, c.forme);
    else
      strip(c.formi, c.forme);
    calculate();
    Spring& s = ws.spring;
    s.zeichnr = "ZN-4711-" + std::to_string(k);
    s.doc.changeCount = 2;
    s.doc.changes[0].designation = "erste Fassung";
    s.doc.changes[1].designation = "Schenkel verlaengert";
    ws.start.batchCad = true;
    s.fileName = "pd" + std::to_string(k++);
    DrawProductionDrawing(ws, DeviceCode::Dxf);
    ASSERT_FALSE(ws.abort);
    const std::string file = dir.file(s.fileName + ".dxf");
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    const Real side = c.wire ? s.t : s.b;
    const Real outline = 2 * s.L + 2 * (side + 2 * s.re);
    argv.insert(argv.end(),
                {file, LayerName(DrawingOptionsFor(ws), kLayerOutline), fmtFixed(NumberSettings{}, 0, 4, outline),
                 s.zeichnr, "Federstahl", "Schenkel verlaengert"});
    want += s.fileName + ".dxf outline True True True 0\n";
  }
  std::string out;
  ASSERT_EQ(runProcess(argv, &out), 0) << out;
  EXPECT_EQ(out, want);
}

TEST_F(ProductionDrawingTest, PaperAndScaleFollowTheSpringsSize) {
  struct Case {
    Real ri, re, t, b;
    int paper;
    const char* scale;
  };
  const Case cases[] = {
      {2, 8, 0.3L, 3, 4, "5:1"},     // a watch spring: enlarged
      {10, 40, 1, 10, 4, "1:1"},     // true size on A4
      {10, 60, 1, 20, 3, "1:1"},     // true size needs A3
      {50, 150, 2, 20, 3, "1:2"},    // reduced
      {200, 900, 5, 60, 3, "1:10"},  // beyond the usual series
  };
  for (const Case& c : cases) {
    stripExample(ws);
    Spring& s = ws.spring;
    s.ri = c.ri, s.re = c.re, s.t = c.t, s.b = c.b;
    const ProductionSheet sheet = PlanProductionSheet(s, CentreLine(s));
    ASSERT_TRUE(sheet.problem.empty());
    EXPECT_EQ(sheet.paper, c.paper) << c.re;
    EXPECT_EQ(ScaleText(sheet.scale), c.scale) << c.re;
  }
}

TEST_F(ProductionDrawingTest, SheetIsPaperSizeOverScaleAroundTrueSizeGeometry) {
  strip(2, 1);
  ws.spring.ri = 2, ws.spring.re = 8, ws.spring.t = 0.3L, ws.spring.b = 3;
  ws.spring.li = 3, ws.spring.rbi = 0.5L;
  calculate();
  // A free text of the drawing information: paper millimetres from the sheet's corner.
  ws.spring.doc.info.freeTextCount = 1;
  ws.spring.doc.info.freeTexts[0] = {30, 60, 5, 0, "geschliffen"};
  std::vector<Prim> prims;
  RecordScreen(ws, prims);
  DrawProductionDrawing(ws, DeviceCode::Screen);
  ASSERT_FALSE(ws.abort);
  const ProductionSheet sheet = PlanProductionSheet(ws.spring, CentreLine(ws.spring));
  const auto free = std::find_if(prims.begin(), prims.end(), [](const Prim& p) { return p.text == "geschliffen"; });
  ASSERT_NE(free, prims.end());
  EXPECT_NEAR(free->v[0], sheet.modelX(30), 1e-9L);
  EXPECT_NEAR(free->v[1], sheet.modelY(60), 1e-9L);
  EXPECT_NEAR(free->attr.height, 1, 1e-12L);  // 5 mm on paper at 5:1
  Real x1 = 1e9L, x2 = -1e9L, y1 = 1e9L, y2 = -1e9L;
  bool spiralStartsAtRi = false;
  for (const Prim& p : prims) {
    if (p.kind == Prim::Kind::Line && p.layer == kLayerSheet) {
      x1 = std::min({x1, p.v[0], p.v[2]}), x2 = std::max({x2, p.v[0], p.v[2]});
      y1 = std::min({y1, p.v[1], p.v[3]}), y2 = std::max({y2, p.v[1], p.v[3]});
    }
    // The spiral's centre line leaves the arbor at (ri, 0) in model millimetres.
    if (p.kind == Prim::Kind::Line && p.layer == kLayerCentreLine && std::fabs(p.v[0] - 2) < 1e-9L &&
        std::fabs(p.v[1]) < 1e-9L)
      spiralStartsAtRi = true;
  }
  EXPECT_TRUE(spiralStartsAtRi);
  // A4 at 5:1: the frame (297 - 30) x (210 - 20) mm on paper is a fifth of that in the model.
  EXPECT_NEAR(x2 - x1, 267 / 5.0L, 1e-6L);
  EXPECT_NEAR(y2 - y1, 190 / 5.0L, 1e-6L);
  bool scaleText = false;
  for (const Prim& p : prims) scaleText |= p.kind == Prim::Kind::Text && p.text == "5:1";
  EXPECT_TRUE(scaleText);
}

TEST_F(ProductionDrawingTest, SpringsWithoutCentreLineDrawNothingAndSayWhy) {
  ws.start.batchCad = true;
  ws.spring.fileName = "leer";
  // A bent end whose bend has no radius: the calculation stands, the drawing cannot.
  strip(2, 1);
  calculate();
  ws.spring.rbi = 0;
  DrawProductionDrawing(ws, DeviceCode::Dxf);
  EXPECT_TRUE(ws.abort);
  const auto errors = ui.messages(MessageKind::Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(u8(errors[0]), "Zeichnung nicht möglich: Abbiegeradius = 0 !");
  EXPECT_FALSE(std::filesystem::exists(dir.file("leer.dxf")));

  // A fatal calculation: the message window instead, nothing drawn.
  ws.abort = false;
  strip(1, 1);
  ws.spring.n0 = 0;
  CalculateSpring(ws);
  ASSERT_TRUE(ws.messages.fatal);
  ui.script({Answer::Cancel()});
  DrawProductionDrawing(ws, DeviceCode::Dxf);
  EXPECT_FALSE(std::filesystem::exists(dir.file("leer.dxf")));
}

}  // namespace
}  // namespace velk::test
