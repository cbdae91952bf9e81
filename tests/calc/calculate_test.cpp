// The calculation core: hand-worked examples, fatal stops, the checks and their order, the helper
// operations, independence from earlier runs, and survival of absurd inputs.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

#include "calc/calc_fixture.h"

namespace velk::test {
namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr Real kNaN = std::numeric_limits<Real>::quiet_NaN();
constexpr Real kInf = std::numeric_limits<Real>::infinity();

// Relative comparison in extended precision (exact rows such as 1e3000 compare equal).
void expectRel(const char* what, Real actual, Real expected, Real rel = 1e-14L) {
  EXPECT_LE(std::fabs(actual - expected), std::fabs(expected) * rel + 1e-12L)
      << what << ": " << static_cast<double>(actual) << " instead of " << static_cast<double>(expected);
}

class Calculate : public SessionTest {};

TEST_F(Calculate, StripExampleByHand) {
  stripExample(ws);  // b 20, t 1, ri 10, re 60, n0 5, alpha 360/720, 20 °C, E 200000, dynamic, ends clamped
  CalculateSpring(ws);
  const Spring& s = ws.spring;
  const struct {
    const char* name;
    Real actual, expected;
  } rows[] = {
      {"Et", s.Et, 200000},                                  // (3620 - 20) * 200000 / 3600
      {"alphah", s.alphah, 360},                             // 720 - 360
      {"Rm", s.Rm, 1800},                                    // t = t0: Rm0
      {"sigman", s.sigman, 1350},                            // 0.75 * 1800
      {"a0", s.a0, 9},                                       // (60 - 10) / 5 - 1
      {"Lw", s.Lw, 350 * kPi},                               // pi * 5 * (60 + 10)
      {"L", s.L, 350 * kPi},                                 // clamped ends add nothing
      {"Ib", s.Ib, 20.0L / 12},                              // 20 * 1^3 / 12
      {"Wb", s.Wb, 20.0L / 6},                               // 20 * 1^2 / 6
      {"cT", s.cT, 1e6L / 189000},                           // 200000 * (5/3) / (350 pi) * pi / 180
      {"T1", s.T1, 360e6L / 189000},                         // 360 * cT = 1904.76
      {"T2", s.T2, 720e6L / 189000},                         // 720 * cT = 3809.52
      {"n1", s.n1, 6},                                       // 5 + 360/360
      {"n2", s.n2, 7},                                       // 5 + 720/360
      {"re1", s.re1, 350.0L / 6 - 10},                       // 350 pi / (6 pi) - 10
      {"re2", s.re2, 40},                                    // 350 pi / (7 pi) - 10
      {"a1", s.a1, (350.0L / 6 - 20) / 6 - 1},               // (re1 - 10) / 6 - 1 = 5.3889
      {"a2", s.a2, 30.0L / 7 - 1},                           // (40 - 10) / 7 - 1
      {"nc", s.nc, std::sqrt(450.0L) - 10},                  // sqrt(10^2 + 350 pi / pi) - 10 = 11.2132
      {"alphac", s.alphac, (std::sqrt(450.0L) - 15) * 360},  // (nc - 5) * 360 = 2236.75
      {"rec", s.rec, std::sqrt(450.0L)},                     // nc * 1 + 10
      {"Tc", s.Tc, 11834.673210659859L},                     // alphac * cT
      {"sigma1", s.sigma1, 571.42857142857143L},             // 6 * T1 / (1 * 20)
      {"sigma2", s.sigma2, 1142.8571428571429L},             // 6 * T2 / 20
      {"sigmac", s.sigmac, 3550.4019631979576L},             // 6 * Tc / 20
      {"kb", s.kb, 1.069L},                                  // dynamic: 1.02 + 0.49 * 1 / 10
      {"sigmaq1", s.sigmaq1, 610.85714285714286L},           // 1.069 * sigma1
      {"sigmaq2", s.sigmaq2, 1221.7142857142857L},           // 1.069 * sigma2
      {"sigmah", s.sigmah, 610.85714285714286L},             // sigmaq2 - sigmaq1
      {"strokePerm", s.strokePerm, 255.65714285714286L},     // su = (1000-500)/0.5 > sq1 = 488.69: 500 + 0.5 sq1 - sq1
      {"fatigueRatio", s.fatigueRatio, 0.52315247895229186L},  // strokePerm / (0.8 * sigmah)
      {"cyclesN", s.cyclesN, 136700.91722470806L},             // 10^(11 - 4 (500 + sq2 - strokePerm - sq1) / 500)
      {"cyclesMin", s.cyclesMin, 108021.0940193862L},          // the same with 0.95 * strokePerm
      {"cyclesMax", s.cyclesMax, 172995.2926298151L},          // the same with 1.05 * strokePerm
      {"sighz", s.sighz, 319.57142857142857L},                 // 1.25 * strokePerm
      {"delta0", s.delta0, 360},                               // integer n0
      {"delta1", s.delta1, 0},                                 // 360 - 360
      {"delta2", s.delta2, -360},                              // 360 - 720, not normalized
      {"deltac", s.deltac, -1876.7532368147133L},              // 360 - alphac
      {"m", s.m, 172.63051631475914L},                         // 350 pi * 1 * 20 * 7.85 * 0.001
      {"W", s.W, 17951.958020513104L},                         // (T2 * 720 - T1 * 360) * pi / 360
  };
  for (const auto& r : rows) expectRel(r.name, r.actual, r.expected);
  EXPECT_EQ(messageTexts(ws.messages), std::vector<std::string>{"Warnung: Sig.c>Sig.zul !"});
  EXPECT_FALSE(ws.messages.fatal);
}

TEST_F(Calculate, WireExampleByHand) {
  wireExample(ws);  // d 2, ri 10, re 50, n0 4.25, alpha 90/270, 80 °C, E 206000, inner end bent (rbi 4, li 10), static
  CalculateSpring(ws);
  const Spring& s = ws.spring;
  const Real lg2 = std::log10(2.0L);
  const struct {
    const char* name;
    Real actual, expected;
  } rows[] = {
      {"Et", s.Et, 3540.0L * 206000 / 3600},            // (3620 - 80) * 206000 / 3600 = 202566.67
      {"Rm", s.Rm, 2000 - 300 * lg2},                   // 2000 - 300 lg(2 / 1), below the cap 2500
      {"sigman", s.sigman, 0.7L * (2000 - 300 * lg2)},  // 0.7 Rm for a wire
      {"a0", s.a0, 40 / 4.25L - 2},                     // (50 - 10) / 4.25 - 2
      {"Lw", s.Lw, 255 * kPi},                          // pi * 4.25 * 60
      {"L", s.L, 255 * kPi + 10},                       // + li of the bent inner end; the clamped outer end adds 0
      {"Ib", s.Ib, kPi / 4},                            // pi / 64 * 2^4
      {"Wb", s.Wb, kPi / 4},                            // pi / 32 * 2^3
      {"cT", s.cT, 3.4661326354148826L},                // Et * (pi/4) / (255 pi) * pi / 180
      {"T1", s.T1, 311.95193718733944L},                // 90 * cT
      {"T2", s.T2, 935.85581156201831L},                // 270 * cT
      {"re1", s.re1, 255 / 4.5L - 10},                  // 255 pi / (4.5 pi) - 10
      {"re2", s.re2, 41},                               // 255 pi / (5 pi) - 10
      {"a1", s.a1, (255 / 4.5L - 20) / 4.5L - 2},       // (re1 - 10) / 4.5 - 2
      {"a2", s.a2, 4.2L},                               // (41 - 10) / 5 - 2
      {"nc", s.nc, std::sqrt(152.5L) - 5},              // sqrt(5^2 + 255 pi / (2 pi)) - 5
      {"alphac", s.alphac, (std::sqrt(152.5L) - 9.25L) * 360},  // (nc - 4.25) * 360
      {"rec", s.rec, 2 * std::sqrt(152.5L)},                    // 2 nc + 10
      {"sigma1", s.sigma1, 397.18954248366013L},                // 32/pi * T1 / 8
      {"sigma2", s.sigma2, 1191.5686274509804L},                // 32/pi * T2 / 8
      {"sigmac", s.sigmac, 4923.7030240740931L},                // 32/pi * Tc / 8
      {"kb", s.kb, 1.265L},                       // bent inner end: 1.02 + 0.49 * 2 / 4; static: no inner factor
      {"sigmah", s.sigmah, 1004.8895424836601L},  // 1.265 * (sigma2 - sigma1)
      {"strokePerm", s.strokePerm, 193.77501002072251L},  // su = 1087 > sq1 = 401.96: (450 - 50 lg2) + 0.4 sq1 - sq1
      {"sighz", s.sighz, 242.21876252590314L},            // 1.25 * strokePerm
      {"fatigueRatio", s.fatigueRatio, 10},               // static
      {"cyclesN", s.cyclesN, 0},                          // static
      {"delta0", s.delta0, 270},                          // 360 - 360 * 0.25
      {"delta2", s.delta2, 0},                            // 270 - 270
      {"m", s.m, 20.003095633187422L},                    // pi/4 * 2^2 * L * 7.85 * 0.001
      {"W", s.W, 1960.0518282817004L},                    // (T2 * 270 - T1 * 90) * pi / 360 = 180 pi cT
  };
  for (const auto& r : rows) expectRel(r.name, r.actual, r.expected);
  EXPECT_EQ(s.rbe, 0);  // the clamped outer end is cleared; the bent inner end keeps its values
  EXPECT_EQ(s.le, 0);
  EXPECT_EQ(s.rbi, 4);
  EXPECT_EQ(s.li, 10);
  EXPECT_EQ(messageTexts(ws.messages),
            (std::vector<std::string>{"Fehler : Sig.q2>Sig.zul !", "Warnung: Sig.c>Sig.zul !"}));
}

TEST_F(Calculate, ResultsDoNotDependOnEarlierRuns) {
  // Wire A (with stale values of its clamped end), strip B, wire A again, in one session.
  ws.materials.strip = testStrip();
  wireExample(ws);
  CalculateSpring(ws);
  const Spring firstA = ws.spring;
  const CalcMessages firstMsgs = ws.messages;

  stripExample(ws);
  ws.spring.kugelstrahlen = 'J';
  ws.spring.alpha1 = -30;
  ws.spring.formi = 2, ws.spring.rbi = 3, ws.spring.li = 4;
  CalculateSpring(ws);
  ASSERT_GT(changedReals(firstA, ws.spring).size(), 30u);

  wireExample(ws);  // A's inputs again; B's results stay in the record until overwritten
  CalculateSpring(ws);
  EXPECT_EQ(changedReals(firstA, ws.spring), std::vector<std::string>{});
  EXPECT_EQ(ws.spring.titleLine, firstA.titleLine);
  EXPECT_EQ(messageTexts(ws.messages), messageTexts(firstMsgs));
  EXPECT_EQ(ws.messages.fatal, firstMsgs.fatal);

  // A run on its own results changes nothing either.
  const Spring again = ws.spring;
  CalculateSpring(ws);
  EXPECT_EQ(changedReals(again, ws.spring), std::vector<std::string>{});
}

// The calculation needs the document and the number settings only: a bare document with a decimal
// comma gives the session's results, and its messages format their numbers with that comma.
TEST_F(Calculate, ABareDocumentGivesTheSessionsResults) {
  ws.materials.strip = testStrip();
  stripExample(ws);
  ws.spring.t = 0.01L;  // below the record's tmin: a warning that carries a number
  CalculateSpring(ws);
  Document doc;
  doc.spring = ws.spring;
  doc.materials = ws.materials;
  NumberSettings comma = ws.num();
  comma.decimalComma = 2;
  CalculateSpring(doc, comma);
  EXPECT_EQ(changedReals(ws.spring, doc.spring), std::vector<std::string>{});
  const std::vector<std::string> session = messageTexts(ws.messages), bare = messageTexts(doc.messages);
  ASSERT_EQ(bare.size(), session.size());
  bool sawComma = false;
  for (std::size_t i = 0; i < bare.size(); ++i) {
    std::string pointed = bare[i];
    std::replace(pointed.begin(), pointed.end(), ',', '.');
    EXPECT_EQ(pointed, session[i]);
    sawComma = sawComma || bare[i] != session[i];
  }
  EXPECT_TRUE(sawComma) << "the limit in the warning uses the given number settings";
}

// Stops: the message, the fatal flag, and exactly which reals the run was allowed to write.
TEST_F(Calculate, FatalStopsLeaveLaterResultsUnchanged) {
  const auto upTo = [](std::vector<std::string> more) {
    std::vector<std::string> all = {"Et", "alphah", "Rm", "sigman"};  // steps 3 to 5 always run
    all.insert(all.end(), more.begin(), more.end());
    return all;
  };
  const std::string invalidInput = u8(InvalidInputMessage());
  const std::string invalidResult = u8(InvalidResultMessage());
  const std::vector<std::string> throughN = {"a0", "Lw", "L", "Ib", "Wb", "cT", "T1", "T2", "n1", "n2"};
  const struct {
    const char* name;
    std::function<void(Spring&)> change;
    std::vector<std::string> messages;
    std::vector<std::string> written;
  } rows[] = {
      {"n0 = 0", [](Spring& s) { s.n0 = 0; }, {"Fatal  : n = 0 !"}, upTo({})},
      {"t = 0", [](Spring& s) { s.t = 0; }, {"Fatal  : t <= 0 !", "Fatal  : t = 0 !"}, upTo({})},
      {"lw = 0",
       [](Spring& s) { s.re = -10; },
       {"Fehler : a < 0 !", "Fatal  : lw = 0 !"},
       upTo({"a0", "Lw", "L", "Ib", "Wb"})},
      {"n1 = 0", [](Spring& s) { s.alpha1 = -1800; }, {"Fatal  : n1 = 0 !"}, upTo(throughN)},
      {"n2 = 0", [](Spring& s) { s.alpha2 = -1800; }, {"Fatal  : n2 = 0 !"}, upTo(throughN)},
      {"n0 NaN", [](Spring& s) { s.n0 = kNaN; }, {invalidInput}, {}},
      {"t infinite", [](Spring& s) { s.t = -kInf; }, {invalidInput}, {}},
      {"E NaN", [](Spring& s) { s.E = kNaN; }, {invalidInput}, {}},
      {"rbe infinite", [](Spring& s) { s.rbe = kInf; }, {invalidInput}, {}},
      // A negative number of turns: the closed-spiral root gets a negative radicand.
      {"n0 < 0",
       [](Spring& s) { s.n0 = -5; },
       {"Fehler : a < 0 !", invalidResult},
       upTo({"a0", "Lw", "L", "Ib", "Wb", "cT", "T1", "T2", "n1", "n2", "re1", "re2", "a1", "a2"})},
      // Inputs beyond the sane range stop like inputs that are no number.
      {"t huge", [](Spring& s) { s.t = 1e4000L; }, {invalidInput}, {}},
      {"alpha2 1e300", [](Spring& s) { s.alpha2 = 1e300L; }, {invalidInput}, {}},
      {"alpha1 -1e16", [](Spring& s) { s.alpha1 = -1e16L; }, {invalidInput}, {}},
      {"frequency 1e300", [](Spring& s) { s.freq = 1e300L; }, {invalidInput}, {}},
      // Inputs within it whose results are not: the second moment of area of a 1e6 mm strip.
      {"Ib beyond the range",
       [](Spring& s) { s.t = 1e6L; },
       {"Fehler : a < 0 !", invalidResult},
       upTo({"a0", "Lw", "L"})},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Session w(ui);
    stripExample(w);
    Spring& s = w.spring;
    for (const auto& [name, f] : realFields())  // results no step can reproduce by chance
      if (!isInputReal(name)) s.*f = -777.5L;
    row.change(s);
    const Spring before = s;
    CalculateSpring(w);
    EXPECT_EQ(messageTexts(w.messages), row.messages);
    EXPECT_TRUE(w.messages.fatal);
    std::vector<std::string> expected = row.written;
    std::vector<std::string> actual = changedReals(before, s);
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(s.titleLine, titleLineFromCalculation(s));
  }
}

TEST_F(Calculate, ChecksAddTheirMessagesInTableOrder) {
  // Base: a quiet strip (t 0.5, b 10, ri 10, re 40, n0 10, alpha 90/360, static) without findings.
  const auto base = [](Session& w) {
    stripExample(w);
    Spring& s = w.spring;
    w.materials.strip.Rm0 = 2500;
    s.statdyn = 1;
    s.t = 0.5L, s.b = 10, s.ri = 10, s.re = 40, s.n0 = 10, s.alpha1 = 90, s.alpha2 = 360;
  };
  const struct {
    const char* name;
    std::function<void(Session&)> change;
    std::vector<std::string> messages;
  } rows[] = {
      {"quiet", [](Session&) {}, {}},
      // re 15: turns touching unloaded (a0 = 0), so the spiral cannot close any further (alphac = 0).
      {"a0 = 0",
       [](Session& w) { w.spring.re = 15; },
       {"Fehler : a < 0 !", "Fehler : a0 < 0 !", "Fehler : a1 < 0 !", "Fehler : a2 < 0 !", "Fehler : al.2>al.c !",
        "Fehler : al.1>al.c !"}},
      {"alpha2 beyond closing",
       [](Session& w) { w.spring.alpha2 = 3000; },
       {"Fehler : a2 < 0 !", "Fehler : al.2>al.c !"}},
      {"permissible stress tiny",
       [](Session& w) { w.materials.strip.f = 0.01L; },
       {"Fehler : Sig.1>Sig.zul !", "Fehler : Sig.2>Sig.zul !", "Fehler : Sig.q1>Sig.zul !",
        "Fehler : Sig.q2>Sig.zul !", "Warnung: Sig.c>Sig.zul !"}},
      {"n0 < 2", [](Session& w) { w.spring.n0 = 1.5L; }, {"Warnung: Sig.c>Sig.zul !", "Warnung: n < 2 !"}},
      {"t > b", [](Session& w) { w.spring.b = 0.4L; }, {"Fehler : t > b !"}},
      {"wire: t > b as well",
       [](Session& w) {
         w.materials.wire = testWire();
         w.materials.wire.Rm0 = 2500;
         w.spring.crossSection = 2;
         w.spring.b = 0.4L;
       },
       {"Fehler : t > b !"}},
      {"outer bent, rbe 0",
       [](Session& w) { w.spring.forme = 2, w.spring.rbe = 0, w.spring.le = 5; },
       {"Fatal  : rbe = 0 !", "Fehler : rbe<d !", "Warnung: rbe<1.5*d !"}},
      {"outer bent, rbe 0.6 > le",
       [](Session& w) { w.spring.forme = 2, w.spring.rbe = 0.6L, w.spring.le = 0.5L; },
       {"Warnung: rbe<1.5*d !", "Fehler : lbe<rbe !"}},
      {"inner bent, rbi 0.4",
       [](Session& w) { w.spring.formi = 2, w.spring.rbi = 0.4L, w.spring.li = 10; },
       {"Fehler : rbi<d !", "Warnung: rbi<1.5*d !"}},
      {"inner bent, rbi > li",
       [](Session& w) { w.spring.formi = 2, w.spring.rbi = 2, w.spring.li = 1; },
       {"Fehler : lbi<rbi !"}},
      {"both bent, radii 0",
       [](Session& w) { w.spring.formi = w.spring.forme = 2; },
       {"Fatal  : rbe = 0 !", "Fehler : rbe<d !", "Warnung: rbe<1.5*d !", "Fatal  : rbi = 0 !", "Fehler : rbi<d !",
        "Warnung: rbi<1.5*d !"}},
      {"temperature above Tmax", [](Session& w) { w.spring.theta = 200; }, {"Warnung: T>Tmax (150°C)"}},
      {"too thick for the table", [](Session& w) { w.materials.strip.tmax = 0.4L; }, {"Warnung: d>dmax (0.4)"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Session w(ui);
    base(w);
    row.change(w);
    CalculateSpring(w);
    EXPECT_EQ(messageTexts(w.messages), row.messages);
    EXPECT_FALSE(w.messages.fatal);  // none of these is a fatal stop, not even "Fatal  : rbe = 0 !"
  }
}

TEST_F(Calculate, SettledInputsAndCorrectionFactor) {
  const struct {
    const char* name;
    std::function<void(Spring&)> change;
    std::function<void(const Spring&)> check;
  } rows[] = {
      {"alpha2 = 0 becomes 20", [](Spring& s) { s.alpha2 = 0, s.alpha1 = 5; },
       [](const Spring& s) {
         EXPECT_EQ(s.alpha2, 20);
         EXPECT_EQ(s.alphah, 15);
       }},
      {"b = 0 becomes 10 t", [](Spring& s) { s.b = 0, s.t = 1.5L; },
       [](const Spring& s) {
         EXPECT_EQ(s.b, 15);
         EXPECT_EQ(s.Ib, 15 * 1.5L * 1.5L * 1.5L / 12);
       }},
      {"theta 20: Et = E", [](Spring& s) { s.E = 123456; }, [](const Spring& s) { EXPECT_EQ(s.Et, 123456); }},
      {"clamped, static", [](Spring& s) { s.statdyn = 1; }, [](const Spring& s) { EXPECT_EQ(s.kb, 1); }},
      {"clamped, dynamic", [](Spring& s) { s.statdyn = 2, s.t = 2, s.ri = 7; },
       [](const Spring& s) { EXPECT_EQ(s.kb, 1.02L + 0.49L * 2 / 7); }},
      {"clamped, static, alpha1 < 0", [](Spring& s) { s.statdyn = 1, s.alpha1 = -10; },
       [](const Spring& s) { EXPECT_EQ(s.kb, EdgeFactor(10, 1)); }},
      {"both bent: the smaller radius", [](Spring& s) { s.statdyn = 1, s.formi = s.forme = 2, s.rbi = 5, s.rbe = 2; },
       [](const Spring& s) {
         EXPECT_EQ(s.kb, EdgeFactor(2, 1));
         EXPECT_EQ(s.rbi, 5);
         EXPECT_EQ(s.rbe, 2);
       }},
      {"outer bent only", [](Spring& s) { s.statdyn = 1, s.forme = 2, s.rbe = 3, s.le = 9, s.rbi = 4, s.li = 8; },
       [](const Spring& s) {
         EXPECT_EQ(s.kb, EdgeFactor(3, 1));
         EXPECT_EQ(s.rbi, 0);
         EXPECT_EQ(s.li, 0);
         EXPECT_EQ(s.L, s.Lw + 9);
       }},
      {"bent end factor below the winding factor", [](Spring& s) { s.statdyn = 2, s.formi = 2, s.rbi = 50, s.li = 60; },
       [](const Spring& s) { EXPECT_EQ(s.kb, EdgeFactor(10, 1)); }},
      {"unknown end form clears both ends", [](Spring& s) { s.formi = 3, s.forme = 2, s.rbe = 3, s.le = 9; },
       [](const Spring& s) {
         EXPECT_EQ(s.rbe, 0);
         EXPECT_EQ(s.le, 0);
         EXPECT_EQ(s.L, s.Lw);
       }},
      {"n0 5.25: delta0 270", [](Spring& s) { s.n0 = 5.25L; },
       [](const Spring& s) {
         EXPECT_EQ(s.delta0, 270);
         EXPECT_EQ(s.delta1, -90);
         EXPECT_EQ(s.delta2, -450);
       }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Session w(ui);
    stripExample(w);
    row.change(w.spring);
    CalculateSpring(w);
    row.check(w.spring);
  }
}

TEST_F(Calculate, TemperatureOfZeroModulusEndsInTheFatigueStop) {
  stripExample(ws);
  ws.spring.theta = 3620;
  CalculateSpring(ws);
  EXPECT_EQ(ws.spring.Et, 0);
  EXPECT_EQ(ws.spring.cT, 0);
  EXPECT_EQ(ws.spring.T2, 0);
  EXPECT_TRUE(ws.messages.fatal);
  EXPECT_EQ(messageTexts(ws.messages).front(), "Fehler : sigma2=0 !");
}

// Whatever the inputs, the run ends, stores only finite reals within the sane range, and says so
// when it could not calculate.
TEST_F(Calculate, AbsurdInputsNeverLeaveNonFiniteResults) {
  const Real values[] = {0, -0.0L, 1e-4000L, -1e-300L, 1e300L, -1e300L, 1e4000L, -1e4900L, kNaN, kInf, -kInf, 3620, 1};
  Real Spring::*const inputs[] = {&Spring::b,      &Spring::t,      &Spring::ri,    &Spring::re, &Spring::n0,
                                  &Spring::alpha1, &Spring::alpha2, &Spring::theta, &Spring::li, &Spring::rbi,
                                  &Spring::le,     &Spring::rbe,    &Spring::E,     &Spring::rho};
  Session w(ui);
  for (uint16_t cross : {uint16_t{1}, uint16_t{2}, uint16_t{0}}) {
    for (Real Spring::*field : inputs) {
      for (Real v : values) {
        w.spring = Spring();
        stripExample(w);
        w.materials.wire = testWire();
        Spring& s = w.spring;
        s.crossSection = cross;
        s.formi = s.forme = 2, s.rbi = s.rbe = 2, s.li = s.le = 5;
        s.*field = v;
        CalculateSpring(w);
        const bool inputFinite = ResultInRange(v);
        for (const auto& [name, f] : realFields()) {
          if (f == field && !inputFinite) continue;
          // Every stored real is finite and within the sane range of its quantity.
          const bool cycles = std::string_view(name).rfind("cycles", 0) == 0;
          const Real x = s.*f;
          EXPECT_TRUE(cycles ? CycleCountInRange(x) : ResultInRange(x))
              << name << " after input " << static_cast<double>(v);
        }
        if (!inputFinite) {
          EXPECT_TRUE(w.messages.fatal);
        }
        ASSERT_LE(w.messages.count, kMaxCalcMessages);
      }
    }
  }
}

TEST(CalcHelpers, NormalizeAngle) {
  const struct {
    Real in, out;
  } rows[] = {
      {0, 0},         {360, 360}, {-360, 360}, {-720, 360},     {-90, 270},
      {-1e-30L, 360}, {400, 40},  {720, 0},    {1080.5L, 0.5L}, {180, 180},
  };
  for (const auto& r : rows) EXPECT_EQ(NormalizeAngle(r.in), r.out) << static_cast<double>(r.in);

  // The same results as stepping by 360 for every ordinary angle.
  const auto stepping = [](Real a) {
    if (a < 0)
      while (!(a > 0)) a += 360;
    else if (a > 360)
      while (!(a < 360)) a -= 360;
    return a;
  };
  for (int i = -20000; i <= 20000; ++i) {
    const Real a = i * 0.37L;
    ASSERT_EQ(NormalizeAngle(a), stepping(a)) << static_cast<double>(a);
  }

  // Huge values end within the range instead of stepping forever; NaN and infinities stay NaN.
  for (Real huge : {1e300L, -1e300L, 1e4900L, -1e4900L}) {
    const Real n = NormalizeAngle(huge);
    EXPECT_TRUE(n >= 0 && n <= 360) << static_cast<double>(n);
  }
  EXPECT_TRUE(std::isnan(NormalizeAngle(kNaN)));
  EXPECT_TRUE(std::isnan(NormalizeAngle(kInf)));
  EXPECT_TRUE(std::isnan(NormalizeAngle(-kInf)));
}

TEST(CalcHelpers, PowerNamed) {
  const struct {
    Real base, exponent, out;
    bool message;
  } rows[] = {
      {10, 7, 1e7L, false},       {0, 5, 0, false},           {0, -5, 0, false},     {2, 0.5L, std::sqrt(2.0L), false},
      {-2, 3, 8, true},           {10, 5000, 1e3000L, false}, {10, -5000, 0, false}, {1, 1e9L, 1, false},
      {10, 1302, 1e1302L, false},  // exponent * ln 10 = 2997.9: still computed
  };
  for (const auto& r : rows) {
    CalcMessages msgs;
    const Real v = PowerNamed(msgs, "Load cycles", r.base, r.exponent);
    expectRel("power", v, r.out);
    EXPECT_EQ(msgs.count, r.message ? 1 : 0);
    if (r.message) {
      EXPECT_EQ(msgs.entries[0], "Load cycles (pow)");
    }
  }
}

TEST(CalcHelpers, IntPowerEdgeFactorBendingStressSection) {
  EXPECT_EQ(IntPower(2, 10), 1024);
  EXPECT_EQ(IntPower(3, 5), 243);
  EXPECT_EQ(IntPower(2, -2), 0.25L);
  EXPECT_EQ(IntPower(7.5L, 0), 1);
  EXPECT_EQ(IntPower(0, 0), 1);
  EXPECT_EQ(IntPower(-1, INT_MIN), 1);
  EXPECT_EQ(IntPower(-1, INT_MAX), -1);
  EXPECT_EQ(IntPower(2, INT_MIN), 0);
  EXPECT_TRUE(std::isinf(IntPower(0, -1)));
  EXPECT_TRUE(std::isfinite(IntPower(1.0000001L, INT_MAX)));

  EXPECT_EQ(EdgeFactor(0, 1), 1);
  EXPECT_EQ(EdgeFactor(5, 0), 1);
  EXPECT_EQ(EdgeFactor(10, 1), 1.02L + 0.49L / 10);

  Spring strip;
  strip.b = 20, strip.t = 2;
  EXPECT_EQ(BendingStress(strip, 400), 6 * 400 / (4 * 20.0L));
  Spring wire = strip;
  wire.crossSection = 2;
  expectRel("wire stress", BendingStress(wire, 400), 32 / kPi * 400 / 8);

  HeadlessUi ui(HeadlessUi::Mode::Batch);
  Session w(ui);
  w.spring.b = 20, w.spring.t = 2;
  SectionProperties(w.spring);
  EXPECT_EQ(w.spring.Ib, 20 * 8 / 12.0L);
  EXPECT_EQ(w.spring.Wb, 20 * 4 / 6.0L);
  w.spring.crossSection = 2;
  SectionProperties(w.spring);
  expectRel("Ib wire", w.spring.Ib, kPi / 4);
  expectRel("Wb wire", w.spring.Wb, kPi / 4);
}

TEST(CalcHelpers, TitleLineCutsEachPieceToItsColumn) {
  Spring s;
  s.zeichname = "Feder";
  s.zeichnr = "4711";
  EXPECT_EQ(titleLineFromCalculation(s), "Feder   Zeichn.Nr.: 4711");
  s.zeichname = std::string(30, 'N');  // longer than stored names can be
  s.zeichnr = std::string(30, '9');
  EXPECT_EQ(titleLineFromCalculation(s), std::string(28, 'N') + "Zeichn.Nr.: " + std::string(18, '9'));
}

}  // namespace
}  // namespace velk::test
