// The views and drawings on the DXF device as a batch job writes them: an independent reader
// (python3-ezdxf) finds the same entities the screen device received, all of them finite.
#include <map>

#include "calc/calc_fixture.h"
#include "graphics/output.h"
#include "graphics/recording_device.h"
#include "graphics/springdrawing.h"
#include "graphics/views.h"
#include "support/run_process.h"

namespace velk::test {
namespace {

// Counts the entities by type and layer; "bad" counts coordinates that are not finite.
constexpr const char* kEzdxfCount = R"(
import sys, math, ezdxf
for name in sys.argv[1:]:
    doc = ezdxf.readfile(name)
    counts = {}
    bad = 0
    for e in doc.modelspace():
        t = e.dxftype(); d = e.dxf
        pts = []
        if t == 'LINE': pts = [d.start, d.end]
        elif t == 'CIRCLE': pts = [d.center]
        elif t == 'TEXT': pts = [d.insert]
        elif t == 'SOLID': pts = [d.get('vtx%d' % i) for i in range(4)]
        bad += sum(1 for p in pts for c in (p[0], p[1]) if not math.isfinite(c))
        key = t + ' ' + d.layer
        counts[key] = counts.get(key, 0) + 1
    for k in sorted(counts): print(k, counts[k])
    print('bad', bad)
    print('audit', len(doc.audit().errors))
)";

std::string kindName(Prim::Kind k) {
  switch (k) {
    case Prim::Kind::Line:
      return "LINE";
    case Prim::Kind::Circle:
      return "CIRCLE";
    case Prim::Kind::Arc:
      return "ARC";
    case Prim::Kind::Solid:
      return "SOLID";
    case Prim::Kind::Text:
      return "TEXT";
  }
  return "?";
}

TEST(ViewsDxf, EzdxfFindsWhatTheScreenReceived) {
  const std::string python = pythonWithModules({"ezdxf"});
  ASSERT_FALSE(python.empty()) << "python3 with ezdxf is required";
  TempDir dir;
  std::vector<std::string> argv = {python, "-c", kEzdxfCount};
  std::string want;
  for (int run = 0; run < 4; ++run) {  // strip and wire, metric and imperial
    const int spring = run % 2, units = run / 2;
    for (int item = 1; item <= 9; ++item) {  // views 1..7, then the front and the side view
      ScriptedUi ui;
      Session ws(ui);
      ws.config.num.units = units;
      if (spring == 0)
        stripExample(ws);
      else
        wireExample(ws);
      ws.spring.matName = "Werkstoff";
      CalculateSpring(ws);
      ASSERT_FALSE(ws.messages.fatal);
      auto draw = [&](DeviceCode device) {
        if (item <= 7)
          ShowView(ws, *ViewKindFromNumber(item), device);
        else
          DrawSpring(ws, item == 8 ? SpringView::Front : SpringView::Side, device, false);
      };
      std::vector<Prim> prims;
      RecordScreen(ws, prims);
      draw(DeviceCode::Screen);
      ASSERT_FALSE(ws.abort);

      ws.start.batchCad = true;  // named after the input file, no save dialog
      ws.spring.dataDir = dir.path();
      ws.spring.fileName = std::string(spring ? "wire" : "strip") + (units ? "-in" : "") + std::to_string(item);
      draw(DeviceCode::Dxf);
      ASSERT_FALSE(ws.abort);
      argv.push_back(dir.file(ws.spring.fileName + ".dxf"));

      std::map<std::string, int> expected;
      for (const Prim& p : prims) ++expected[kindName(p.kind) + " " + LayerName(DrawingOptionsFor(ws), p.layer)];
      --expected["TEXT 30"];  // the screen's footer line
      if (expected["TEXT 30"] == 0) expected.erase("TEXT 30");
      for (const auto& [k, n] : expected) want += k + " " + std::to_string(n) + "\n";
      want += "bad 0\naudit 0\n";
    }
  }
  std::string out;
  ASSERT_EQ(runProcess(argv, &out), 0) << out;
  EXPECT_EQ(out, want);
}

}  // namespace
}  // namespace velk::test
