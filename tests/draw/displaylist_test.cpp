// Display list: record format and read-back, deduplication, arcs as chords, window records, and
// the replay of a drawing onto a recording canvas for the screen and the printer.
#include "draw/displaylist.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>

#include "draw/svgcanvas.h"
#include "draw/viewmapping.h"
#include "graphics/output.h"
#include "graphics/recording_canvas.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

class DisplayListTest : public SessionTest {
 protected:
  DisplayListTest() {
    // A 400 x 300 window; with the world 0..398 x 0..298 one world unit is one pixel.
    ws.display.W = 400;
    ws.display.H = 300;
  }
  void header() { Header(ws.display, 0, 0, 398, 298); }
  std::vector<std::string>& rec() { return ws.display.records; }
};

TEST_F(DisplayListTest, RecordFormatIsTheSameUnderAGermanLocale) {
  const std::string old = std::setlocale(LC_ALL, nullptr);
  ASSERT_TRUE(std::setlocale(LC_ALL, "de_DE.UTF-8"));
  char probe[8];
  std::snprintf(probe, sizeof probe, "%.1f", 5.5);
  EXPECT_STREQ(probe, "5,5");
  DisplayLine(ws.display, 0, 0, 10, 5.5L);
  DisplayCircle(ws.display, -1.25L, 1e20L, 123456789.0L);
  DisplayCircle(ws.display, 0.000012345678912L, -0.0L, 1.0L / 3);
  std::setlocale(LC_ALL, old.c_str());
  ASSERT_EQ(rec().size(), 3u);
  EXPECT_EQ(rec()[0], "4;0;0;10;5.5");
  EXPECT_EQ(rec()[1], "3;-1.25;1e+20;1.2345679e+08");
  EXPECT_EQ(rec()[2], "3;1.2345679e-05;0;0.33333333");
  // Read back to within the written 8 digits.
  const ParsedRecord p = ParseRecord(rec()[1]);
  EXPECT_TRUE(p.complete);
  EXPECT_EQ(p.code, 3);
  EXPECT_DOUBLE_EQ(p.f[1], 1e20);
  EXPECT_DOUBLE_EQ(p.f[2], 123456790.0);
}

TEST_F(DisplayListTest, NonFiniteValuesAreNeverWritten) {
  const Real inf = std::numeric_limits<Real>::infinity();
  DisplayLine(ws.display, 0, 0, inf, 1);
  DisplayCircle(ws.display, std::nanl(""), 0, 1);
  DisplayArc(ws.display, 0, 0, 0, inf, 5);
  OutTextXY(ws.display, "x", inf, 0);
  EXPECT_TRUE(rec().empty());
}

TEST_F(DisplayListTest, ParseRecordHandlesEveryShape) {
  struct Case {
    const char* text;
    int code;
    bool complete;
    int count;
  };
  const Case cases[] = {
      {"4;1;2;3;4", 4, true, 4},   {"4;1;2;3", 4, false, 3},     {"4;1;x;3;4", 4, false, 3},
      {"4;1;2;3;4;5", 4, true, 4}, {"99;1;2", 0, false, 0},      {"abc", 0, false, 0},
      {"", 0, false, 0},           {"8", 8, false, 0},           {"8;nan", 8, false, 0},
      {"8;inf", 8, false, 0},      {"4.5;1;2;3;4", 0, false, 0}, {"6;1;2", 6, false, 2},
      {"6;1;2;", 6, true, 2},      {";;;", 0, false, 0},         {"10;1;1;1;1;1;1;1", 10, false, 7},
  };
  for (const Case& c : cases) {
    const ParsedRecord p = ParseRecord(c.text);
    EXPECT_EQ(p.code, c.code) << c.text;
    EXPECT_EQ(p.complete, c.complete) << c.text;
    EXPECT_EQ(p.count, c.count) << c.text;
  }
  const ParsedRecord t = ParseRecord("6;1.5;-2;a;b;;c");
  EXPECT_TRUE(t.complete);
  EXPECT_EQ(t.text, "a;b;;c");
}

TEST_F(DisplayListTest, ColourStyleAndWidthRecordsOnlyOnChange) {
  SetColor(ws.display, 5);
  SetColor(ws.display, 5);
  SetColor(ws.display, 17);  // above 16: nothing written, but it becomes current
  SetColor(ws.display, 5);
  SetDisplayLineStyle(ws.display, 2);
  SetDisplayLineStyle(ws.display, 2);
  SetLineWidth(ws.display, 3);
  SetLineWidth(ws.display, 3);
  SetColorAcad(ws.display, 1);  // DXF colour 1 is palette 12
  EXPECT_EQ(rec(), (std::vector<std::string>{"8;5", "8;5", "11;2", "12;3", "8;12"}));
  // A cleared list records its first colour again even when it did not change.
  ClearDisplay(ws.display);
  SetColor(ws.display, 12);
  SetDisplayLineStyle(ws.display, 2);
  EXPECT_EQ(rec(), (std::vector<std::string>{"8;12", "11;2"}));
}

TEST_F(DisplayListTest, ColorTurboAndPalette) {
  const int expected[][2] = {{0, 0},  {1, 12}, {2, 14}, {3, 10},  {4, 11},  {5, 9},  {6, 13},
                             {7, 15}, {8, 1},  {15, 8}, {16, 12}, {17, 14}, {31, 9}, {255, 9}};
  for (auto [n, p] : expected) EXPECT_EQ(GetColorTurbo(n), p) << n;
  EXPECT_EQ(PaletteColor(1), 0x000080u);
  EXPECT_EQ(PaletteColor(8), 0xB0B0B0u);
  EXPECT_EQ(PaletteColor(13), 0xFF00FFu);
  EXPECT_EQ(PaletteColor(16), 0x000000u);
  EXPECT_EQ(LineStyleFromName("Strichpunkt"), 2);
  EXPECT_EQ(LineStyleFromName("HIDDEN"), 3);
  EXPECT_EQ(LineStyleFromName("PUNKT"), 1);
  EXPECT_EQ(LineStyleFromName("CONTINUOUS"), 0);
}

TEST_F(DisplayListTest, ArcsBelowFourDegreesBecomeChords) {
  DisplayArc(ws.display, 0, 0, 10, 13.9L, 100);
  DisplayArc(ws.display, 0, 0, 10, 14, 100);
  DisplayArc(ws.display, 0, 0, 358, 1, 100);  // sweep 3 through 0 degrees
  DisplayArc(ws.display, 0, 0, 90, 0, 10);    // sweep 270
  ASSERT_EQ(rec().size(), 4u);
  EXPECT_EQ(rec()[0].substr(0, 2), "4;");
  EXPECT_EQ(rec()[1].substr(0, 2), "5;");
  EXPECT_EQ(rec()[2].substr(0, 2), "4;");
  const ParsedRecord arc = ParseRecord(rec()[3]);
  EXPECT_EQ((std::vector<double>(arc.f, arc.f + 8)), (std::vector<double>{-10, -10, 10, 10, arc.f[4], 10, 10, 0}));
  EXPECT_NEAR(arc.f[4], 0, 1e-12);
  const ParsedRecord chord = ParseRecord(rec()[0]);
  EXPECT_NEAR(chord.f[0], 100 * std::cos(10 * M_PI / 180), 1e-5);
  EXPECT_NEAR(chord.f[3], 100 * std::sin(13.9 * M_PI / 180), 1e-5);
}

TEST_F(DisplayListTest, WindowRecordsAndTheirSerial) {
  const unsigned long long serial = ws.display.windowSerial;
  Header(ws.display, 0, 0, 100, 50);
  // The line style 0 of Header is the window's current style already: no record.
  EXPECT_EQ(rec(), std::vector<std::string>{"10;1;1;399;299;0;0;100;50"});
  EXPECT_TRUE(ws.display.keepAspect);
  SetWindow(ws.display, false, false, 0, 0, 0.5L, 1, 0, 0, 10, 10);
  EXPECT_EQ(rec().back(), "10;0;0;200;300;0;0;10;10");
  EXPECT_FALSE(ws.display.keepAspect);
  EXPECT_EQ(ws.display.windowSerial, serial + 2);  // each window starts a new view
  EXPECT_FALSE(ws.abort);
}

TEST_F(DisplayListTest, DegenerateWindowSetsAbort) {
  header();
  EXPECT_FALSE(SetWindow(ws.display, true, true, 0, 0, 1, 1, 5, 0, 5, 10));
  EXPECT_EQ(rec().back(), "10;1;1;399;299;5;0;5;10");
  ws.abort = false;
  // The replay stops at the degenerate record and says so; the caller sets the abort flag.
  DisplayLine(ws.display, 0, 0, 1, 1);
  ViewMapping view;
  view.follow(ws.display);
  RecordingCanvas c;
  EXPECT_EQ(Replay(ws.display, view, c, ScreenReplayStyle(ws.config)), ReplayStatus::DegenerateWindow);
  EXPECT_EQ(c.log.find("line"), std::string::npos);
  // The SVG picture of such a list sets the abort flag.
  RenderDisplayListSvg(ws);
  EXPECT_TRUE(ws.abort);
}

TEST_F(DisplayListTest, ReplayTranscript) {
  ws.config.graphicsTextWidth = 0.8L;
  header();
  DisplayLine(ws.display, 10, 20, 30, 40);
  SetColor(ws.display, 12);
  DisplayCircle(ws.display, 50, 50, 10);
  DisplayArc(ws.display, 100, 100, 0, 90, 10);
  SetDisplayLineStyle(ws.display, 3);
  SetLineWidth(ws.display, 2);
  DisplaySolid(ws.display, 0, 0, 10, 0, 10, 10, 0, 10);
  SetTextStyleRecord(ws.display, 2, 0, 5, 4);
  OutTextXY(ws.display, "a;b", 10, 10);
  SetTextStyleRecord(ws.display, 2, 90, 5, 4);
  OutTextXY(ws.display, "up", 100, 100);
  SetColor(ws.display, 0);
  SleepMs(ws.display, 7);
  rec().push_back("77;1;2");     // unknown code: ignored
  rec().push_back("4;1;2;3");    // missing field: ignored
  rec().push_back("4;1;2;x;4");  // not a number: ignored
  ViewMapping view;
  view.follow(ws.display);
  RecordingCanvas c;
  EXPECT_EQ(Replay(ws.display, view, c, ScreenReplayStyle(ws.config)), ReplayStatus::Done);
  EXPECT_EQ(c.log,
            "pen 000080\nbrush 000080\ntextcolor 000080\nwidth 1\n"
            "line 11 279 31 259\n"
            "pen FF0000\nbrush FF0000\ntextcolor FF0000\n"
            "ellipse 41 239 61 259\n"
            "arc 91 189 111 209 111 199 101 189\n"
            "style 3\nwidth 2\n"
            "polygon 1 299 11 299 11 289 1 289\n"
            "textcolor FF0000\ntext 11 283 h8 w4 e0 [a;b]\n"
            "textcolor FF0000\ntext 95 199 h8 w4 e900 [up]\n"
            "pen 000000\nbrush 000000\ntextcolor 000000\n"  // colour 0: the (black) background
            "pause 7\n");
  EXPECT_FALSE(ws.abort);
}

TEST_F(DisplayListTest, MonochromeScreenAndPrinterStyles) {
  header();
  SetColor(ws.display, 12);
  DisplayLine(ws.display, 0, 0, 398, 298);
  SetLineWidth(ws.display, 2);
  OutTextXY(ws.display, "T", 0, 0);
  ws.config.colorGraphics = false;
  ws.config.printMode = 2;  // colour printer
  ws.config.printBorder = true;
  ViewMapping view;
  view.follow(ws.display);
  RecordingCanvas screen, printer;
  Replay(ws.display, view, screen, ScreenReplayStyle(ws.config));
  // Monochrome on the black window: white pen and text, black brush.
  EXPECT_NE(screen.log.find("pen FFFFFF\nbrush 000000\ntextcolor FFFFFF\nline 1 299 399 1\n"), std::string::npos)
      << screen.log;
  EXPECT_NE(screen.log.find("textcolor FFFFFF\ntext 1 "), std::string::npos) << screen.log;
  PrintPage page;
  page.pageWidth = 2100;
  page.pageHeight = 2970;
  Replay(ws.display, PrinterMapping(view, page), printer, PrinterReplayStyle(ws.config));
  // The frame in colour 1 (the screen is monochrome), then the drawing in the printer's colours,
  // pens four times as wide.
  EXPECT_EQ(printer.log.substr(0, printer.log.find("line")), "pen 000080\nbrush 000080\ntextcolor 000080\nwidth 4\n");
  EXPECT_NE(printer.log.find("pen FF0000\nbrush FF0000\ntextcolor FF0000\nline 5 "), std::string::npos) << printer.log;
  EXPECT_NE(printer.log.find("width 8\ntextcolor FF0000\ntext 5 "), std::string::npos) << printer.log;
}

// Colour 15 (white, drawing-layer colour 7) turns black on a light background, for lines and
// texts; monochrome output draws in the colour that shows; colour 0 is the background. The
// printer's background is its white paper whatever the window's colour.
TEST_F(DisplayListTest, ColoursShowOnTheBackground) {
  header();
  SetColorAcad(ws.display, 7);
  DisplayLine(ws.display, 0, 0, 10, 10);
  OutTextXY(ws.display, "T", 0, 0);
  SetColor(ws.display, 14);
  DisplayLine(ws.display, 0, 0, 20, 20);
  SetColor(ws.display, 0);
  DisplayLine(ws.display, 0, 0, 30, 30);
  const auto replay = [this](const ReplayStyle& style) {
    ViewMapping view;
    view.follow(ws.display);
    RecordingCanvas c;
    EXPECT_EQ(Replay(ws.display, view, c, style), ReplayStatus::Done);
    return c.log;
  };
  const auto drawn = [](const std::string& pen, const std::string& brush, const std::string& text) {
    return "pen " + pen + "\nbrush " + brush + "\ntextcolor " + text + "\n";
  };
  struct Case {
    int background;
    const char* bg;
    const char* white;  // colour 15 and the monochrome ink
  };
  const Case cases[] = {
      {0x000000, "000000", "FFFFFF"}, {0x000080, "000080", "FFFFFF"},
      {0x7F7F7F, "7F7F7F", "FFFFFF"},  // luma 127 of 255: dark
      {0x808080, "808080", "000000"},  // luma 128: light
      {0xFFFF00, "FFFF00", "000000"}, {0xFFFFFF, "FFFFFF", "000000"},
  };
  for (const Case& k : cases) {
    ws.config.backgroundColor = k.background;
    ws.config.colorGraphics = true;
    const std::string color = replay(ScreenReplayStyle(ws.config));
    EXPECT_NE(color.find(drawn(k.white, k.white, k.white) + "line 1 299 11 289\ntextcolor " + k.white + "\ntext "),
              std::string::npos)
        << k.bg << "\n"
        << color;
    EXPECT_NE(color.find(drawn("FFFF00", "FFFF00", "FFFF00") + "line 1 299 21 279\n"), std::string::npos) << k.bg;
    EXPECT_NE(color.find(drawn(k.bg, k.bg, k.bg) + "line 1 299 31 269\n"), std::string::npos) << k.bg;
    ws.config.colorGraphics = false;
    const std::string mono = replay(ScreenReplayStyle(ws.config));
    EXPECT_NE(mono.find(drawn(k.white, k.bg, k.white) + "line 1 299 21 279\n"), std::string::npos) << k.bg << mono;
    EXPECT_NE(mono.find("textcolor " + std::string(k.white) + "\ntext "), std::string::npos) << k.bg << mono;
  }

  ws.config.backgroundColor = 0x000000;
  ws.config.colorGraphics = true;
  ws.config.printMode = 2;  // colour printer
  const std::string paper = replay(PrinterReplayStyle(ws.config));
  EXPECT_NE(paper.find(drawn("000000", "000000", "000000") + "line 1 299 11 289\ntextcolor 000000\ntext "),
            std::string::npos)
      << paper;
  EXPECT_NE(paper.find(drawn("FFFFFF", "FFFFFF", "FFFFFF") + "line 1 299 31 269\n"), std::string::npos) << paper;
  ws.config.printMode = 1;
  const std::string monoPaper = replay(PrinterReplayStyle(ws.config));
  EXPECT_NE(monoPaper.find(drawn("000000", "FFFFFF", "000000") + "line 1 299 21 279\n"), std::string::npos)
      << monoPaper;
}

}  // namespace
}  // namespace velk::test
