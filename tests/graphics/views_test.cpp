// Result views: every sheet for a strip and a wire spring in metric and imperial units (key items
// and golden display lists), the Quick 2 table, the fatigue lines, strength over thickness, the
// empty sheet, the message window instead of a view, and the diagram selection.
#include "graphics/views.h"

#include <cmath>
#include <set>

#include "cad/devices.h"
#include "calc/calc_fixture.h"
#include "graphics/diagram.h"
#include "graphics/recording_device.h"

namespace velk::test {
namespace {

bool Contains(const std::vector<Prim>& prims, const std::string& text) { return FindText(prims, text) != nullptr; }

// Whether some text shows the unit label u: "... u", "... u ...", "[u]" or "u/".
bool ShowsUnit(const std::vector<Prim>& prims, const std::string& u) {
  for (const Prim& p : prims) {
    const std::string& t = p.text;
    if (t.size() > u.size() && t.compare(t.size() - u.size() - 1, u.size() + 1, " " + u) == 0) return true;
    if (t.find(" " + u + " ") != std::string::npos || t.find("[" + u + "]") != std::string::npos ||
        t.find(" " + u + "/") != std::string::npos)
      return true;
  }
  return false;
}

class ViewsTest : public SessionTest {
 protected:
  void strip() {
    stripExample(ws);
    ws.spring.matName = "Teststahl";
    ws.materials.strip.name2 = "1.4310";
    ws.materials.strip.name3 = "X10CrNi18-8";
    ws.materials.strip.name4 = "EN 10151";
    ws.spring.zeichname = "Spiralfeder";
    ws.spring.zeichnr = "4711";
    ws.spring.bemerk1 = "Bemerkung 1";
    calculate();
  }
  void wire() {
    wireExample(ws);
    ws.spring.matName = "Testdraht";
    ws.materials.wire.name2 = "DIN EN 10270-1";
    calculate();
  }
  void calculate() {
    CalculateSpring(ws);
    ASSERT_FALSE(ws.messages.fatal) << messageTexts(ws.messages)[0];
  }
  // The sheet as primitives with layers (device 3 records instead of drawing).
  const std::vector<Prim>& draw(ViewKind kind) {
    prims.clear();
    RecordScreen(ws, prims);
    ShowView(ws, kind, DeviceCode::Screen);
    InstallStandardDevices(ws);
    return prims;
  }
  std::vector<Prim> prims;
};

TEST_F(ViewsTest, EverySheetForStripAndWireInBothUnitsHasItsKeyItems) {
  struct Kind {
    ViewKind kind;
    std::vector<std::string> texts;
  };
  const Kind kinds[] = {
      {ViewKind::Quick1, {"Federkennlinie", "Tc", "T2", "T1", "Federende aussen : eingespannt"}},
      {ViewKind::Characteristic, {"Federkennlinie", "Tc", " "}},
      {ViewKind::Goodman, {"Goodman-Diagramm", "sigma1", "sigma2", "Dauerfestigkeitsschaubild (Goodman-Diagramm)"}},
      {ViewKind::Quick2, {"Federkennlinie", "Meldungen", "Rm = f(t)"}},
      {ViewKind::Strength, {"Rm = f(t)"}},
      {ViewKind::BendingStress, {"Sigma b zul = f(t)", " sigma 1", " sigma 2"}},
      {ViewKind::Haigh, {"Haigh-Goodman-Diagramm", "sigma 1", "sigma h"}},
  };
  for (int spring = 0; spring < 2; ++spring) {
    for (int units = 0; units < 2; ++units) {
      Session w(ui);  // fresh state per combination
      ws.spring = w.spring;
      ws.materials = w.materials;
      ws.config.num.units = units;
      if (spring == 0)
        strip();
      else
        wire();
      const bool metric = units == 0;
      for (const Kind& k : kinds) {
        const std::string where = std::string(spring ? "wire" : "strip") + (metric ? " metric" : " imperial") +
                                  " kind " + std::to_string(ViewNumber(k.kind));
        const auto& p = draw(k.kind);
        ASSERT_FALSE(ws.abort) << where;
        ASSERT_GT(p.size(), 20u) << where;
        EXPECT_TRUE(AllFinite(p)) << where;
        for (const std::string& t : k.texts) {
          if (t == "Rm = f(t)" && k.kind == ViewKind::Quick2) continue;  // (not on Quick 2)
          EXPECT_TRUE(Contains(p, t)) << where << ": " << t;
        }
        EXPECT_EQ(Contains(p, "Rm = f(t)"), k.kind == ViewKind::Strength) << where;
        for (const Prim& x : p)
          EXPECT_TRUE(x.text.find("nan") == std::string::npos && x.text.find("inf") == std::string::npos)
              << where << ": " << x.text;
        // The unit labels of the system of units, never the other's.
        if (k.kind != ViewKind::Goodman && k.kind != ViewKind::Haigh) {  // (their lengths carry no unit)
          EXPECT_EQ(ShowsUnit(p, "mm"), metric) << where;
          EXPECT_EQ(ShowsUnit(p, "in"), !metric) << where;
        }
        EXPECT_EQ(ShowsUnit(p, "MPa"), metric) << where;
        EXPECT_EQ(ShowsUnit(p, "psi"), !metric) << where;
      }
      // Value block A: the strip's width and thickness, the wire's diameter, in display units.
      const auto& a = draw(ViewKind::Characteristic);
      if (spring == 0) {
        EXPECT_TRUE(Contains(a, metric ? "b  = 20 mm" : "b  = 0.7874 in"));
        EXPECT_TRUE(Contains(a, metric ? "t  = 1 mm" : "t  = 0.0394 in"));
      } else {
        EXPECT_TRUE(Contains(a, metric ? "d  = 2 mm" : "d  = 0.0787 in"));
        EXPECT_FALSE(Contains(a, metric ? "b  = 20 mm" : "b  = 0.7874 in"));
      }
    }
  }
}

TEST_F(ViewsTest, GoldenDisplayLists) {
  const char* names[] = {"", "quick1", "characteristic", "goodman", "quick2", "strength", "bending", "haigh"};
  PinWindowSize(ws);
  strip();
  for (int kind = 1; kind <= 7; ++kind) {
    ShowView(ws, *ViewKindFromNumber(kind), DeviceCode::Screen);
    ExpectGolden(std::string("strip_metric_") + names[kind], NormalizedDisplayList(ws));
  }
  ws.config.num.units = 1;
  wire();
  for (int kind = 1; kind <= 7; ++kind) {
    ShowView(ws, *ViewKindFromNumber(kind), DeviceCode::Screen);
    ExpectGolden(std::string("wire_imperial_") + names[kind], NormalizedDisplayList(ws));
  }
}

TEST_F(ViewsTest, CharacteristicIsPlottedFromInternalValuesInEitherUnits) {
  strip();
  const Spring& s = ws.spring;
  for (int units = 0; units < 2; ++units) {
    ws.config.num.units = units;
    const auto& p = draw(ViewKind::Characteristic);
    const NiceScale x = NiceRange(0, std::max(s.alpha2, s.alphac), 6);
    const NiceScale y = NiceRange(0, toDisplayMoment(ws.num(), std::max(s.T2, s.Tc)), 6);
    // The dotted characteristic line from (0, 0) to (alphac, Tc), area 90 x 90 at (12, 10).
    bool found = false;
    for (const Prim& l : Only(p, Prim::Kind::Line, 17)) {
      if (l.style != 1 || l.v[0] != 12 || l.v[1] != 10) continue;
      if (std::fabs(l.v[2] - (12 + s.alphac / x.max * 90)) > 1e-9L) continue;
      EXPECT_NEAR(l.v[3], 10 + toDisplayMoment(ws.num(), s.Tc) / y.max * 90, 1e-9L) << units;
      found = true;
    }
    EXPECT_TRUE(found) << units;
    // Dashed Tc guide lines in layer 16, the T2 ones in layer 21, the T1 ones in layer 20.
    EXPECT_EQ(Only(p, Prim::Kind::Line, 16).size(), 2u);
    EXPECT_EQ(Only(p, Prim::Kind::Line, 21).size(), 2u);
    EXPECT_EQ(Only(p, Prim::Kind::Line, 20).size(), 2u);
    for (const Prim& l : Only(p, Prim::Kind::Line, 16)) EXPECT_EQ(l.style, 3);
  }
}

TEST_F(ViewsTest, QuickTwoTableHasARowPerPositionAndTheDynamicStroke) {
  for (int dynamic = 0; dynamic < 2; ++dynamic) {
    strip();
    ws.spring.statdyn = dynamic ? 2 : 1;
    calculate();
    const auto& p = draw(ViewKind::Quick2);
    std::set<long long> rowTops;
    for (const Prim& t : Only(p, Prim::Kind::Text, 18)) rowTops.insert(std::llround(t.v[1] * 1000));
    EXPECT_EQ(rowTops.size(), dynamic ? 6u : 5u);  // title row + 4 or 5 rows
    EXPECT_EQ(Contains(p, " sig.qh:" + fmtStress(ws.num(), ws.spring.sigmah)), dynamic == 1);
    EXPECT_EQ(Contains(p, "sigma h zul.: " + fmtStress(ws.num(), ws.spring.sighz)), dynamic == 1);
    const Prim* d0 = FindText(p, " d.0:" + fmtFixedDec(ws.num(), 1, ws.spring.delta0));
    ASSERT_TRUE(d0);
    EXPECT_DOUBLE_EQ(d0->v[0], 78);
    EXPECT_DOUBLE_EQ(d0->v[1], 78 - 4.4L - 1.5L * 2.2L);
    const Prim* title = FindText(p, "  sigma [MPa]");
    ASSERT_TRUE(title);
    EXPECT_DOUBLE_EQ(title->v[0], 78 + 2 * 19.8L);
    // The frame: every line in layer 17 lies within the table's columns.
    for (const Prim& l : Only(p, Prim::Kind::Line, 17)) {
      if (l.style == 1 || l.v[1] > 78.0001L || l.v[1] < 40) continue;
      if (l.v[0] < 77.9999L) continue;  // (diagram lines lie left of the table)
      EXPECT_LE(l.v[2], 78 + 4 * 19.8L + 1e-9L);
    }
  }
}

TEST_F(ViewsTest, MessageBlocksWithAndWithoutMessages) {
  strip();
  ClearCalcMessages(ws.messages);
  auto p = draw(ViewKind::Quick2);
  EXPECT_TRUE(Contains(p, " - keine -"));
  p = draw(ViewKind::Quick1);
  EXPECT_FALSE(Contains(p, "Meldungen"));

  AddCalcMessage(ws.messages, "Warnung: n < 2 !");
  AddCalcMessage(ws.messages, "Fehler : a0 < 0 !");
  p = draw(ViewKind::Quick1);
  const Prim* head = FindText(p, "Meldungen");
  ASSERT_TRUE(head);
  EXPECT_EQ(head->layer, 21);
  EXPECT_EQ(head->v, (std::vector<Real>{78, 103}));
  const Prim* second = FindText(p, "Fehler : a0 < 0 !");
  ASSERT_TRUE(second);
  EXPECT_EQ(second->layer, 19);
  EXPECT_DOUBLE_EQ(second->v[1], 103 - 2 * 1.6L * 2.0L * 1.05L);  // Quick 1 spaces its lines by 1.05
  p = draw(ViewKind::Quick2);
  EXPECT_FALSE(Contains(p, " - keine -"));
  EXPECT_TRUE(Contains(p, "Warnung: n < 2 !"));
}

// Sheet coordinates of the fatigue diagrams: area 90 x 85 at (15, 20), both axes 0..1600.
Real GX(Real v) { return 15 + v / 1600 * 90; }
Real GY(Real v) { return 20 + v / 1600 * 85; }

TEST_F(ViewsTest, GoodmanLinesOfTheWorkedExample) {
  strip();  // t = t0 = tG: sigma o 1000, sigma h0 500, m 0.5 (not shot peened)
  const auto& p = draw(ViewKind::Goodman);
  EXPECT_TRUE(Contains(p, "1600"));
  EXPECT_FALSE(Contains(p, "1800"));
  const auto l7 = Only(p, Prim::Kind::Line, 18), l6 = Only(p, Prim::Kind::Line, 21), l5 = Only(p, Prim::Kind::Line, 29);
  ASSERT_EQ(l7.size(), 2u);
  ASSERT_GE(l6.size(), 2u);
  ASSERT_EQ(l5.size(), 2u);
  const Real eps = 1e-9L;
  EXPECT_NEAR(l7[0].v[0], GX(0), eps);
  EXPECT_NEAR(l7[0].v[1], GY(625), eps);
  EXPECT_NEAR(l7[0].v[3], GY(1250), eps);
  EXPECT_NEAR(l7[1].v[2], GX(1250), eps);
  EXPECT_NEAR(l7[1].v[3], GY(1250), eps);
  EXPECT_NEAR(l6[0].v[1], GY(781.25L), eps);
  EXPECT_NEAR(l6[1].v[3], GY(1250), eps);
  EXPECT_NEAR(l5[0].v[1], GY(937.5L), eps);
  EXPECT_NEAR(l5[1].v[3], GY(1250), eps);
  EXPECT_TRUE(Contains(p, "  10 Mill.Lastsp."));
  EXPECT_TRUE(Contains(p, "   1Mio."));
  EXPECT_TRUE(Contains(p, " 100000"));
  EXPECT_TRUE(Contains(p, "sig.oz= " + fmtStressFixed(ws.num(), 4, 0, 1250)));
  EXPECT_TRUE(Contains(p, "Teststahl, nicht kugelgestrahlt"));
  // Dynamic load: the lifetime lines of the data block.
  EXPECT_TRUE(Contains(p, "N = " + fmtSig(ws.num(), ws.spring.cyclesN / 1e6L) + " Mill.Lastsp."));

  // The working points on the bending level: circles of 12 stress units.
  const auto circles = Only(p, Prim::Kind::Circle, 21);
  ASSERT_EQ(circles.size(), 2u);
  EXPECT_NEAR(circles[0].v[0], GX(ws.spring.sigmaq1), eps);
  EXPECT_NEAR(circles[1].v[1], GY(ws.spring.sigmaq2), eps);
  EXPECT_NEAR(circles[0].v[2], 12.0L / 1600 * 85, eps);
}

TEST_F(ViewsTest, HaighLinesRunDownToTheStressAxis) {
  strip();
  const auto& p = draw(ViewKind::Haigh);
  const auto l7 = Only(p, Prim::Kind::Line, 18);
  ASSERT_EQ(l7.size(), 2u);
  const Real eps = 1e-9L;
  EXPECT_NEAR(l7[0].v[1], GY(625), eps);   // (0, 1.25 sigma h0)
  EXPECT_NEAR(l7[0].v[2], GX(1250), eps);  // knee at 1.25 su = 1250
  EXPECT_NEAR(l7[0].v[3], GY(0), eps);     // sigma o - su = 0
  EXPECT_NEAR(l7[1].v[2], GX(1250), eps);  // (1.25 sigma o, 0)
  const Prim* label = FindText(p, "10 Mill.Lastsp.");
  ASSERT_TRUE(label);
  EXPECT_NEAR(label->attr.angle, std::atan2(1000.0L - 500 - 1000, 1000.0L) * 180 / 3.14159265358979323846L, 1e-9L);
  EXPECT_NEAR(label->v[1], GY(625 + 30), eps);
}

TEST_F(ViewsTest, FatigueSheetWithoutUsableValuesShowsTheNoticeAndNoLines) {
  struct Case {
    const char* what;
    FatigueValues plain;
    Real tG;
  };
  const Case cases[] = {
      {"no fatigue values (tG = 0)", {1000, 100, 500, 50, 0.5L}, 0},
      {"slope m = 0", {1000, 100, 500, 50, 0}, 1},
  };
  for (const Case& c : cases) {
    for (ViewKind kind : {ViewKind::Goodman, ViewKind::Haigh}) {
      strip();
      ws.materials.strip.plain = c.plain;
      ws.materials.strip.peened = c.plain;
      ws.materials.strip.tG = c.tG;
      ws.spring.strokePerm = 77;
      const auto& p = draw(kind);
      EXPECT_TRUE(AllFinite(p)) << c.what;
      EXPECT_TRUE(Contains(p, oem("Für diesen Werkstoff sind keine Daten verfügbar !"))) << c.what;
      EXPECT_TRUE(Only(p, Prim::Kind::Line, 18).empty()) << c.what;
      EXPECT_TRUE(Only(p, Prim::Kind::Line, 29).empty()) << c.what;
      EXPECT_EQ(ws.spring.strokePerm, 0) << c.what;
      EXPECT_FALSE(Contains(p, "sig.hz= " + fmtStressFixed(ws.num(), 4, 0, ws.spring.sighz))) << c.what;
    }
  }
}

TEST_F(ViewsTest, StrengthOverThicknessAndAMissingMaximumThickness) {
  strip();
  ws.materials.strip.tmax = 0;
  const auto& p = draw(ViewKind::Strength);
  EXPECT_EQ(ws.materials.strip.tmax, 5);  // written back
  EXPECT_TRUE(Contains(p, "5"));
  EXPECT_FALSE(Contains(p, "6"));
  EXPECT_EQ(ws.diagram.xmax, 5);
  EXPECT_EQ(ws.diagram.ymax, 3000);
  // The curve (layer 16) starts at t = 0.02 with Rm of the strength law and stays in the area.
  const auto curve = Only(p, Prim::Kind::Line, 16);
  ASSERT_GT(curve.size(), 50u);
  EXPECT_NEAR(curve[0].v[0], 12 + 0.02L / 5 * 95, 1e-9L);
  EXPECT_NEAR(curve[0].v[1], 15 + (1800 - 300 * std::log10(0.02L)) / 3000 * 90, 1e-9L);
  for (const Prim& l : curve) EXPECT_LE(l.v[2], 12 + 95 * 1.01L);

  // Kind 6: permissible stress 0.75 Rm; the spring's stresses at its thickness with markers.
  const auto& q = draw(ViewKind::BendingStress);
  EXPECT_EQ(ws.diagram.ymax, 2000);
  const auto c6 = Only(q, Prim::Kind::Line, 16);
  ASSERT_FALSE(c6.empty());
  EXPECT_NEAR(c6[0].v[1], 15 + 0.75L * (1800 - 300 * std::log10(0.02L)) / 2000 * 90, 1e-9L);
  const auto marks = Only(q, Prim::Kind::Circle, 19);
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(marks[0].v[2], 0.7L);
  EXPECT_NEAR(marks[0].v[0], 12 + 1.0L / 5 * 95, 1e-9L);
}

TEST_F(ViewsTest, StrengthCurveEndsForAbsurdMaximumThickness) {
  strip();
  for (Real tmax : {1e300L, std::numeric_limits<Real>::infinity(), std::nanl(""), -3.0L}) {
    ws.materials.strip.tmax = tmax;
    const auto& p = draw(ViewKind::Strength);
    EXPECT_TRUE(AllFinite(p)) << tmax;
    EXPECT_LE(Only(p, Prim::Kind::Line, 16).size(), 1001u) << tmax;
  }
}

TEST_F(ViewsTest, ViewNumbersConvertBothWaysAndNoOtherNumberIsAView) {
  for (int n = 1; n <= 7; ++n) {
    const std::optional<ViewKind> kind = ViewKindFromNumber(n);
    ASSERT_TRUE(kind) << n;
    EXPECT_EQ(ViewNumber(*kind), n);
  }
  for (long long n : {0LL, -1LL, 8LL, 9LL, 1LL << 40}) EXPECT_FALSE(ViewKindFromNumber(n)) << n;
  for (long long n = 0; n <= 5; ++n) EXPECT_EQ(DeviceNumber(*DeviceCodeFromNumber(n)), n);
  for (long long n : {-1LL, 6LL, 9LL}) EXPECT_FALSE(DeviceCodeFromNumber(n)) << n;
}

TEST_F(ViewsTest, FatalCalculationShowsTheMessageWindowInstead) {
  strip();
  ws.spring.n0 = 0;
  CalculateSpring(ws);
  ASSERT_TRUE(ws.messages.fatal);
  ws.display.records = {"sentinel"};
  ui.script({Answer::Cancel()});  // the message window's choice of messages
  ShowView(ws, ViewKind::Goodman, DeviceCode::Screen);
  ASSERT_EQ(ui.requests().size(), 1u);
  EXPECT_EQ(ui.requests()[0].items[0], "Fatal  : n = 0 !");
  EXPECT_EQ(ws.display.records, std::vector<std::string>{"sentinel"});
}

TEST_F(ViewsTest, DefaultNames) {
  EXPECT_EQ(ViewDefaultName(ViewKind::Quick1), "VELKQUIK");
  EXPECT_EQ(ViewDefaultName(ViewKind::Characteristic), "VELKLINE");
  EXPECT_EQ(ViewDefaultName(ViewKind::Goodman), "GOODMAN");
  for (ViewKind k : {ViewKind::Quick2, ViewKind::Strength, ViewKind::BendingStress, ViewKind::Haigh})
    EXPECT_EQ(ViewDefaultName(k), "VELK");
}

TEST_F(ViewsTest, ChooseDiagramOffersTheSelectionUntilBack) {
  strip();
  ui.script({Answer::Choice(3),  // Goodman-Diagramm
             Answer::Choice(3),  // device dialog: screen
             Answer::Choice(2),  // Federkennlinie
             Answer::Cancel(),   // device dialog cancelled: back to the selection
             Answer::Choice(8)});
  ChooseDiagram(ws);
  ASSERT_EQ(ui.requests().size(), 5u);
  const Request& sel = ui.requests()[0];
  EXPECT_EQ(sel.kind, Request::Kind::List);
  EXPECT_EQ(sel.prompt, oem("Diagrammtyp wählen"));
  EXPECT_EQ(sel.helpNumber, 5500);
  EXPECT_EQ(sel.items, (std::vector<std::string>{"Quick 1", "Federkennlinie", "Goodman-Diagramm", "Quick 2",
                                                 "Rm = f(t)", "Sigma b = f(t)", "Haigh-Goodman", oem("zurück...")}));
  EXPECT_EQ(ui.requests()[1].prompt, "CAD-Code");
  EXPECT_EQ(ui.requests()[4].items, sel.items);  // the selection again, not the device entries
  bool goodman = false;
  for (const std::string& r : ws.display.records) goodman = goodman || r.find("Goodman-Diagramm") != std::string::npos;
  EXPECT_TRUE(goodman);
}

}  // namespace
}  // namespace velk::test
