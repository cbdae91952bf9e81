// Tests of the HP-GL/2 help image reader: the instructions it draws, the state it carries from
// one image to the next, encoded polylines, hostile input, and real HP-GL/2 from GNU plotutils.
#include "help/hpgl.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "draw/displaylist.h"
#include "support/fixture.h"
#include "support/run_process.h"

namespace velk {
namespace {

using test::SessionTest;

// A program of that name in PATH.
bool onPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::string dirs = path;
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string dir = dirs.substr(start, end - start);
    if (!dir.empty() && ::access((dir + "/" + name).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// One PE number: sign in the lowest bit, digits least significant first (what a plotter driver
// writes), independent of the reader's decoder.
std::string encodePe(long long n, bool base32) {
  unsigned long long v = n >= 0 ? 2ULL * n : 2ULL * static_cast<unsigned long long>(-n) + 1;
  const int bits = base32 ? 5 : 6;
  std::string out;
  for (;;) {
    const int d = static_cast<int>(v & ((1u << bits) - 1));
    v >>= bits;
    if (v == 0) {
      out += static_cast<char>((base32 ? 95 : 191) + d);
      return out;
    }
    out += static_cast<char>(63 + d);
  }
}

class HpglTest : public SessionTest {
 protected:
  // The records one file adds after the window is cleared and declared as the help display does.
  std::vector<std::string> draw(std::string_view bytes) {
    ClearDisplay(ws.display);
    Header(ws.display, 0, 0, 160, 120);
    const size_t mark = ws.display.records.size();
    DrawHpgl(ws, bytes);
    EXPECT_FALSE(ws.abort);
    return {ws.display.records.begin() + static_cast<long>(mark), ws.display.records.end()};
  }

  // Record fields as numbers (text records: the text in `text`).
  static ParsedRecord parsed(const std::string& record) { return ParseRecord(record); }
};

using Records = std::vector<std::string>;

TEST_F(HpglTest, ExamplesOfTheFormat) {
  struct Case {
    const char* name;
    std::string input;
    Records expected;
  };
  const std::vector<Case> cases = {
      {"two lines in pen 2", "SP2;PU400,400;PD800,400,800,800;", {"8;14", "4;10;10;20;10", "4;20;10;20;20"}},
      {"PD alone draws nothing", "PD;", {}},
      {"first point from the reset position", "PD;PA400,400;", {"8;0", "4;-999;-999;10;10"}},
      {"circle with the pen up", "SP1;PU400,400;CI40;", {"8;12", "3;10;10;1"}},
      {"label size and direction", "SP1;SI0.2,0.3;DI0,1;PU0,0;LBabc\x03", {"8;12", "9;3;2;2;90", "6;0;0;abc"}},
      {"character set 3 umlaut", "SP1;SI0.2,0.3;DI1,0;CS3;PU0,0;LBGru}n\x03", {"8;12", "9;3;2;2;0", "6;0;0;Gr\xfcn"}},
      {"character set 1 keeps the brace",
       "SP1;SI0.2,0.3;DI1,0;CS1;PU0,0;LBGru}n\x03",
       {"8;12", "9;3;2;2;0", "6;0;0;Gru}n"}},
      {"encoded move", "SP1;PU0,0;PE7<=ss;", {}},
      {"encoded absolute line", "SP1;PU0,0;PE7=ss;", {"8;12", "4;0;0;0.25;0.25"}},
      {"lower-case instructions", "sp1;pu400,400;pd800,800;", {"8;12", "4;10;10;20;20"}},
      {"other instructions are skipped",
       "IN;IP0,0,100,100;SC0,1,0,1;SP1;PU400,400;PD800,800;",
       {"8;12", "4;10;10;20;20"}},
      {"blanks and line breaks between characters", "S P1;P U4 00,\r\n400;PD 800 ,800;", {"8;12", "4;10;10;20;20"}},
      {"letters P and A dropped from coordinates", "SP1;PU0,0;PD P400,A400;", {"8;12", "4;0;0;10;10"}},
      {"signs and decimals", "SP1;PU-400,+400.5;PD0,0;", {"8;12", "4;-10;10.0125;0;0"}},
      {"unreadable numbers are 0", "SP1;PUx,1e;PD400,400;", {"8;12", "4;0;0;10;10"}},
      {"an x without y is ignored", "SP1;PU400,400;PD800;PD800,800;", {"8;12", "4;10;10;20;20"}},
      {"PU and PD take the rest of the list",
       "SP1;PD0,0,400,0;PU800,0;PA800,400;",
       {"8;12", "4;-999;-999;0;0", "4;0;0;10;0"}},
      {"a leading ; is passed over", ";SP1;;PU400,400;PD800,800;", {"8;12", "4;10;10;20;20"}},
      {"SP; selects pen 1", "SP3;SP;PU0,0;CI40;", {"8;12", "3;0;0;1"}},
      {"extra circle parameter", "SP1;PU0,0;CI40,5;PD400,0;", {"8;12", "3;0;0;1", "4;0;0;10;0"}},
  };
  for (const Case& c : cases) {
    ws.hpgl = HpglState{};
    EXPECT_EQ(draw(c.input), c.expected) << c.name;
  }
}

TEST_F(HpglTest, PenColours) {
  const std::vector<std::pair<int, int>> table = {{0, 0},  {1, 12}, {2, 14}, {3, 10},  {4, 11},   {5, 9},
                                                  {6, 13}, {7, 15}, {8, 8},  {16, 16}, {255, 255}};
  for (auto [pen, colour] : table) EXPECT_EQ(HpglPenColor(pen), colour) << pen;
  // The pen number is a byte: SP258 is pen 2.
  EXPECT_EQ(draw("SP258;PU0,0;CI40;"), (Records{"8;14", "3;0;0;1"}));
  // Pens beyond the palette write no colour record; the window keeps its colour.
  EXPECT_EQ(draw("SP17;PU0,0;CI40;"), (Records{"3;0;0;1"}));
}

TEST_F(HpglTest, LabelAngles) {
  EXPECT_DOUBLE_EQ(static_cast<double>(HpglLabelAngle(1, 0)), 0);
  EXPECT_DOUBLE_EQ(static_cast<double>(HpglLabelAngle(0, 1)), 90);
  EXPECT_DOUBLE_EQ(static_cast<double>(HpglLabelAngle(0, 0)), 90);
  EXPECT_DOUBLE_EQ(static_cast<double>(HpglLabelAngle(0, -2)), -90);
  EXPECT_NEAR(static_cast<double>(HpglLabelAngle(-1, 0)), 180, 1e-12);
  EXPECT_NEAR(static_cast<double>(HpglLabelAngle(1, 1)), 45, 1e-12);
}

TEST_F(HpglTest, Arcs) {
  // Centre (0, 10) mm, start (0, 0): a quarter counter-clockwise ends at (10, 10).
  Records r = draw("SP1;PU0,0;PD;AA0,400,90;");
  ASSERT_EQ(r.size(), 2u);
  ParsedRecord a = parsed(r[1]);
  ASSERT_EQ(a.code, kRecArc);
  const double ccw[8] = {-10, 0, 10, 20, 0, 0, 10, 10};
  for (int i = 0; i < 8; ++i) EXPECT_NEAR(a.f[i], ccw[i], 1e-9) << i;
  EXPECT_NEAR(static_cast<double>(ws.hpgl.x), 10, 1e-12);
  EXPECT_NEAR(static_cast<double>(ws.hpgl.y), 10, 1e-12);

  // A negative sweep ends at (-10, 10) and is drawn counter-clockwise from there to the start.
  r = draw("SP1;PU0,0;PD;AA0,400,-90;");
  ASSERT_EQ(r.size(), 2u);
  a = parsed(r[1]);
  const double cw[8] = {-10, 0, 10, 20, -10, 10, 0, 0};
  for (int i = 0; i < 8; ++i) EXPECT_NEAR(a.f[i], cw[i], 1e-9) << i;
  EXPECT_NEAR(static_cast<double>(ws.hpgl.x), -10, 1e-12);

  // With the pen up nothing is drawn, but the end still becomes the position.
  r = draw("SP1;PU0,0;AA0,400,180;");
  EXPECT_TRUE(r.empty());
  EXPECT_NEAR(static_cast<double>(ws.hpgl.y), 20, 1e-12);

  // A whole turn is a circle (the window's Arc would take equal angles as a chord).
  EXPECT_EQ(draw("SP1;PU0,0;PD;AA0,400,360;"), (Records{"8;12", "3;0;10;10"}));
  EXPECT_EQ(draw("SP1;PU0,0;PD;AA0,400,-720;"), (Records{"8;12", "3;0;10;10"}));
  // A zero sweep leaves a point.
  r = draw("SP1;PU0,0;PD;AA0,400,0;");
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(parsed(r[1]).code, kRecLine);
  // Sweeps beyond a turn end where the remainder ends.
  draw("SP1;PU0,0;PD;AA0,400,450;");
  EXPECT_NEAR(static_cast<double>(ws.hpgl.x), 10, 1e-9);
  EXPECT_NEAR(static_cast<double>(ws.hpgl.y), 10, 1e-9);
  // Too few parameters: nothing, and the next instruction is read normally.
  EXPECT_EQ(draw("SP1;PU0,0;PD;AA0,400;PD400,0;"), (Records{"8;12", "4;0;0;10;0"}));
  // A chord tolerance is passed over.
  r = draw("SP1;PU0,0;PD;AA0,400,90,5;PU0,0;CI40;");
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[2], "3;0;0;1");
}

TEST_F(HpglTest, Labels) {
  const std::string style = "SP1;SI0.2,0.3;DI1,0;CS3;PU0,0;";
  struct Case {
    const char* name;
    std::string label;
    std::string shown;  // Windows code page
  };
  const std::vector<Case> cases = {
      {"all umlauts", "A}O}U}a}o}u}", "\xc4\xd6\xdc\xe4\xf6\xfc"},
      {"brace after another letter or at the start", "}x}", "x"},
      {"a second brace", "u}}", "\xfc"},
      {"blanks kept, line breaks dropped", " a b\r\n c ", " a b c "},
      {"semicolon and comma are text", "a;b,c", "a;b,c"},
      {"empty label", "", ""},
  };
  for (const Case& c : cases) {
    const Records r = draw(style + "LB" + c.label + "\x03");
    ASSERT_EQ(r.size(), 3u) << c.name;
    EXPECT_EQ(r[2], "6;0;0;" + c.shown) << c.name;
  }
  // 255 characters are a label (the screen shows it empty, as it does every text that long);
  // 256 are not drawn, and everything up to the ETX belongs to the label.
  Records r = draw(style + "LB" + std::string(255, 'x') + "\x03");
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[2], "6;0;0;");
  r = draw(style + "LB" + std::string(300, 'x') + "PD400,0;\x03PD800,0;");
  EXPECT_EQ(r, (Records{"8;12", "4;0;0;20;0"}));
  // The label does not move the position; start-up size 5 cm.
  ws.hpgl = HpglState{};
  r = draw("SP1;PU400,0;LBab\x03PD800,0;");
  EXPECT_EQ(r, (Records{"8;12", "9;50;50;2;0", "6;10;0;ab", "4;10;0;20;0"}));
}

TEST_F(HpglTest, SizeAndDirectionWithoutParametersStay) {
  const Records r = draw("SP1;SI0.2,0.3;DI0,1;SI;DI;PU0,0;LBa\x03");
  EXPECT_EQ(r, (Records{"8;12", "9;3;2;2;90", "6;0;0;a"}));
}

TEST_F(HpglTest, StateCarriesOverToTheNextImage) {
  draw("SP3;PU400,400;PD;SI0.1,0.2;DI0,1;CS3;");
  const Records r = draw("PA400,400;LBa}\x03");
  // The position starts again at (-999, -999); pen, pen state, size, direction and set remain.
  EXPECT_EQ(r, (Records{"8;10", "4;-999;-999;10;10", "9;2;1;2;90", "6;10;10;\xe4"}));
  // An encoded polyline leaves the pen down for the next image too.
  ws.hpgl = HpglState{};
  draw("SP1;PE<=??;");
  EXPECT_TRUE(ws.hpgl.penDown);
}

TEST_F(HpglTest, EncodedPolylineRoundTrip) {
  // Strokes of known plotter points, as a driver writes them: the first point of each stroke is a
  // move ("<"), some are absolute ("="), the rest relative steps.
  const std::vector<std::vector<std::pair<long long, long long>>> strokes = {
      {{0, 0}, {1, 0}, {-1, 1}, {31, -32}, {63, 64}},
      {{4000, 4800}, {-4000, -4800}, {70000, 1}, {-70000, -1}},
      {{1048576, -1048575}, {0, 0}, {123, 456}},
  };
  for (bool base32 : {false, true}) {
    std::string pe = "SP1;PE";
    if (base32) pe += "7";
    std::vector<std::array<long long, 4>> expected;  // lines in plotter units
    std::pair<long long, long long> cur{0, 0};
    bool first = true;
    for (const auto& stroke : strokes) {
      for (size_t i = 0; i < stroke.size(); ++i) {
        const auto [x, y] = stroke[i];
        const bool absolute = first || (i == 1 && &stroke == &strokes[1]);
        if (i == 0) pe += "<";
        if (absolute) pe += "=";
        const long long dx = absolute ? x : x - cur.first, dy = absolute ? y : y - cur.second;
        pe += encodePe(dx, base32) + encodePe(dy, base32);
        if (i > 0) expected.push_back({cur.first, cur.second, x, y});
        cur = {x, y};
        first = false;
      }
    }
    pe += ";";
    const Records r = draw(pe);
    ASSERT_EQ(r.size(), expected.size() + 1) << (base32 ? "base 32" : "base 64");
    EXPECT_EQ(r[0], "8;12");
    for (size_t i = 0; i < expected.size(); ++i) {
      const ParsedRecord p = parsed(r[i + 1]);
      ASSERT_EQ(p.code, kRecLine);
      for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(p.f[k], expected[i][k] * 0.025, 1e-9)
            << "line " << i << " field " << k << (base32 ? " b32" : " b64");
    }
  }
}

TEST_F(HpglTest, EncodedPolylineFlags) {
  // ":" selects pens 1..15 (its number encoded like a coordinate); others are ignored.
  Records r = draw("SP1;PU0,0;PE:" + encodePe(3, false) + "=" + encodePe(400, false) + encodePe(0, false) + ":" +
                   encodePe(20, false) + encodePe(0, false) + encodePe(400, false) + ";");
  EXPECT_EQ(r, (Records{"8;10", "4;0;0;10;0", "4;10;0;10;10"}));
  // ">" and the character after it are passed over; a ";" there still ends the polyline.
  r = draw("SP1;PU0,0;PE>x=" + encodePe(400, false) + encodePe(0, false) + ";PE>;PD0,0;");
  EXPECT_EQ(r, (Records{"8;12", "4;0;0;10;0", "4;10;0;0;0"}));
  // Characters outside the digit ranges are ignored, also inside a number.
  r = draw("SP1;PU0,0;PE=\x01" + encodePe(400, false) + "\x05" + encodePe(0, false) + ";");
  EXPECT_EQ(r, (Records{"8;12", "4;0;0;10;0"}));
  // A number of more digits than any drawing needs reads as the bound (the sign still counts).
  r = draw("SP1;PU0,0;PE=" + std::string(15, '~') + "\xc0" + encodePe(0, false) + ";");
  EXPECT_EQ(r, (Records{"8;12", "4;0;0;-2.5e+13;0"}));
  // A number cut short by ";" is not drawn, and what follows is read as instructions.
  r = draw("SP1;PU0,0;PE=?;PD400,0;");
  EXPECT_EQ(r, (Records{"8;12", "4;0;0;10;0"}));
}

TEST_F(HpglTest, MissingFile) {
  const std::string name = dir.file("kein bild.plt");
  DrawHpglFile(ws, name);
  EXPECT_TRUE(ws.abort);
  const auto shown = ui.messages(MessageKind::Titled);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], oem(dir.file("keinbild.plt")) + " nicht gefunden !");
  EXPECT_TRUE(ws.display.records.empty());

  // An existing file leaves the flag cleared, even one that is empty or ends mid-instruction.
  test::writeFile(dir.file("bild.plt"), "SP1;PU400,400;PD800,800;PD12");
  ws.abort = true;
  DrawHpglFile(ws, dir.file("bild.plt"));
  EXPECT_FALSE(ws.abort);
  EXPECT_EQ(ws.display.records, (Records{"8;12", "4;10;10;20;20"}));
  test::writeFile(dir.file("leer.plt"), "");
  DrawHpglFile(ws, dir.file("leer.plt"));
  EXPECT_FALSE(ws.abort);
}

constexpr char kNul[] = "SP1;PU\0\0,4\0;PD;LBa\0b\x03PE\0\0;";

// Whatever the bytes, the reader returns, leaves the flag cleared and adds records in proportion
// to the input.
TEST_F(HpglTest, HostileInput) {
  std::string random;
  unsigned s = 12345;
  for (int i = 0; i < 200000; ++i) {
    s = s * 1103515245u + 12345u;
    random += static_cast<char>(s >> 23);
  }
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"endless label", "SP1;LB" + std::string(1 << 20, 'x')},
      {"number of 10000 digits", "SP1;PU" + std::string(10000, '9') + ",400;PD800,800;"},
      {"PE without ;", "SP1;PE" + std::string(100000, 'A')},
      {"PE of endless digits", "SP1;PE=" + std::string(100000, '?')},
      {"huge circle", "SP1;PU0,0;CI1e300;CI-1e4000;CI" + std::string(400, '9') + ";"},
      {"huge arc", "SP1;PU1e300,1e300;PD;AA-1e300,-1e300,1e300;AA0,0,1e4000;PD0,0;"},
      {"NUL bytes", std::string(kNul, sizeof kNul - 1)},
      {"only separators", std::string(5000, ';') + std::string(5000, ',')},
      {"commas as points", "SP1;PD" + std::string(100000, ',') + ";"},
      {"random bytes", random},
  };
  for (const auto& [name, bytes] : cases) {
    ws.hpgl = HpglState{};
    const Records r = draw(bytes);
    EXPECT_LE(r.size(), 4 + bytes.size()) << name;
    for (const std::string& rec : r) EXPECT_LE(rec.size(), 300u) << name;
  }
  // Values are held within 1e15 plotter units, so every record stays a finite double.
  EXPECT_EQ(draw("SP1;PU0,0;CI1e300;"), (Records{"8;12", "3;0;0;2.5e+13"}));
  // The over-long number reads as 0; what follows is read normally.
  ws.hpgl = HpglState{};
  EXPECT_EQ(draw("SP1;PU" + std::string(10000, '9') + ",400;PD800,800;"), (Records{"8;12", "4;0;10;20;20"}));
}

// A file that ends inside any instruction draws exactly what the whole file draws up to there:
// nothing incomplete is drawn.
TEST_F(HpglTest, EveryTruncationDrawsAPrefix) {
  const std::string full =
      "IN;SP2;PU400,400;PD800,400,800,800;CI40;SI0.2,0.3;DI0,1;CS3;LBGr}u}n\x03SP5;PU0,0;PD;"
      "AA0,400,90;AA0,400,-45,5;PE7<=ss" +
      encodePe(-40, true) + encodePe(13, true) + ":" + encodePe(3, true) + "ss;PA100,100;SP;PU;";
  ws.hpgl = HpglState{};
  const Records whole = draw(full);
  ASSERT_GT(whole.size(), 8u);
  for (size_t n = 0; n <= full.size(); ++n) {
    ws.hpgl = HpglState{};
    const Records part = draw(std::string_view(full).substr(0, n));
    ASSERT_LE(part.size(), whole.size()) << n;
    EXPECT_TRUE(std::equal(part.begin(), part.end(), whole.begin())) << "prefix of " << n << " bytes";
  }
}

// GNU plotutils writes real HP-GL/2 with instructions the reader skips (IN, IP, SC, PM, EA, LA,
// PW, WU, ...). The reader ignores the scaling, so its points come out in plotter units.
TEST_F(HpglTest, PlotutilsOutput) {
  if (!onPath("graph")) GTEST_SKIP() << "GNU plotutils (graph) not installed";
  std::string plot;
  const int rc = test::runProcess({"env", "HPGL_VERSION=2", "graph", "-T", "hpgl", "-X", "Winkel", "-Y", "Moment"},
                                  &plot, "0 0\n1 1\n2 4\n3 9\n4 16\n");
  ASSERT_EQ(rc, 0);
  for (const char* skipped : {"IN;", "IP", "SC", "PM", "EA", "LA", "PW", "WU"})
    EXPECT_NE(plot.find(skipped), std::string::npos) << skipped;
  test::writeFile(dir.file("graph.plt"), plot);
  ClearDisplay(ws.display);
  Header(ws.display, 0, 0, 160, 120);
  DrawHpglFile(ws, dir.file("graph.plt"));
  EXPECT_FALSE(ws.abort);

  // Every coordinate pair of a PA instruction in the file, in plotter units.
  std::set<std::pair<long, long>> points;
  long maxX = 0;
  const std::regex pa("PA([-0-9,]+);");
  for (auto it = std::sregex_iterator(plot.begin(), plot.end(), pa); it != std::sregex_iterator(); ++it) {
    std::vector<long> v;
    const std::string list = (*it)[1];
    size_t start = 0;
    while (start < list.size()) {
      size_t end = list.find(',', start);
      if (end == std::string::npos) end = list.size();
      v.push_back(std::strtol(list.substr(start, end - start).c_str(), nullptr, 10));
      start = end + 1;
    }
    for (size_t i = 0; i + 1 < v.size(); i += 2) {
      points.insert({v[i], v[i + 1]});
      maxX = std::max(maxX, v[i]);
    }
  }
  ASSERT_FALSE(points.empty());
  size_t lines = 0;
  double drawnMaxX = 0;
  for (const std::string& rec : ws.display.records) {
    const ParsedRecord p = ParseRecord(rec);
    if (p.code != kRecLine) continue;
    ++lines;
    for (int k = 0; k < 4; k += 2) {
      const long x = std::lround(p.f[k] / 0.025), y = std::lround(p.f[k + 1] / 0.025);
      EXPECT_NEAR(p.f[k], x * 0.025, 1e-9);
      EXPECT_TRUE(points.count({x, y})) << "line end " << x << "," << y << " is no point of the file";
      drawnMaxX = std::max(drawnMaxX, p.f[k]);
    }
  }
  EXPECT_GT(lines, 50u);
  EXPECT_NEAR(drawnMaxX, maxX * 0.025, 1e-9);
}

}  // namespace
}  // namespace velk
