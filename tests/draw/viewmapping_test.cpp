// The graphics window's view mapping (square pixels, keys, rubber band, double click, following
// the list, the printer's page) and the replay through it onto a recording canvas.
#include "draw/viewmapping.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "draw/displaylist.h"
#include "graphics/recording_canvas.h"

namespace velk::test {
namespace {

std::string windowRecord(int px1, int py1, int px2, int py2, Real x1, Real y1, Real x2, Real y2) {
  return "10;" + std::to_string(px1) + ";" + std::to_string(py1) + ";" + std::to_string(px2) + ";" +
         std::to_string(py2) + ";" + FormatRecordReal(x1) + ";" + FormatRecordReal(y1) + ";" + FormatRecordReal(x2) +
         ";" + FormatRecordReal(y2);
}

// A list as the drawing code leaves it after Header (x1, y1, x2, y2) on a W x H window.
DisplayList drawing(int W, int H, Real x1, Real y1, Real x2, Real y2, std::vector<std::string> more = {}) {
  DisplayList list;
  list.W = W;
  list.H = H;
  list.records.push_back(windowRecord(1, 1, W - 1, H - 1, x1, y1, x2, y2));
  list.records.insert(list.records.end(), more.begin(), more.end());
  list.windowSerial = 1;
  return list;
}

ViewMapping adopted(const DisplayList& list) {
  ViewMapping v;
  v.adopt(list);
  return v;
}

std::array<int, 4> zoom(const ViewMapping& v) { return {v.zx1, v.zy1, v.zx2, v.zy2}; }

// The first "ellipse l t r b" line of a replay log.
std::array<int, 4> firstEllipse(const std::string& log) {
  std::array<int, 4> e{-1, -1, -1, -1};
  const size_t at = log.find("ellipse ");
  if (at == std::string::npos) return e;
  std::istringstream in(log.substr(at + 8));
  in >> e[0] >> e[1] >> e[2] >> e[3];
  return e;
}

TEST(ViewMapping, KeepAspectGivesSquarePixelsOnEveryWindowShape) {
  struct Case {
    const char* what;
    int W, H;  // client size minus one
    Real x1, y1, x2, y2;
  };
  const Case cases[] = {
      {"4:3, diagram sheet", 639, 479, 0, 0, 160, 120},   {"4:3, tall drawing", 639, 479, 0, 0, 100, 300},
      {"16:9, diagram sheet", 1279, 719, 0, 0, 160, 120}, {"16:9, logo", 1279, 719, -1, -1, 38, 33},
      {"1016x678, sheet", 1015, 677, 0, 0, 160, 120},     {"1016x678, wide drawing", 1015, 677, -50, 0, 450, 80},
  };
  for (const Case& c : cases) {
    const Real cx = (c.x1 + c.x2) / 2, cy = (c.y1 + c.y2) / 2, r = (c.y2 - c.y1) / 4;
    const DisplayList list =
        drawing(c.W, c.H, c.x1, c.y1, c.x2, c.y2,
                {"3;" + FormatRecordReal(cx) + ";" + FormatRecordReal(cy) + ";" + FormatRecordReal(r)});
    const ViewMapping v = adopted(list);
    EXPECT_EQ(v.sx, v.sy) << c.what;
    // The whole world window is visible, anchored at the viewport's bottom-left corner, and
    // fills the viewport in one direction.
    EXPECT_EQ(v.toDeviceX(c.x1), 1) << c.what;
    EXPECT_EQ(v.toDeviceY(c.y1), c.H - 1) << c.what;
    EXPECT_LE(v.toDeviceX(c.x2), c.W - 1) << c.what;
    EXPECT_GE(v.toDeviceY(c.y2), 1) << c.what;
    EXPECT_TRUE(v.toDeviceX(c.x2) >= c.W - 2 || v.toDeviceY(c.y2) <= 2) << c.what;
    // A circle of the drawing comes out round.
    RecordingCanvas canvas;
    ASSERT_EQ(Replay(list, v, canvas), ReplayStatus::Done);
    const auto e = firstEllipse(canvas.log);
    EXPECT_NEAR(e[2] - e[0], e[3] - e[1], 1) << c.what << "\n" << canvas.log;
    EXPECT_GT(e[2] - e[0], 10) << c.what;
  }
  // A client area of another size than the nominal window: still square.
  ViewMapping v = adopted(drawing(1015, 677, 0, 0, 160, 120));
  v.fitClient(1920, 1080);
  EXPECT_EQ(v.sx, v.sy);
  EXPECT_LE(v.toDeviceX(160), 1919);
  EXPECT_GE(v.toDeviceY(120), 0);
  EXPECT_NEAR(v.toDeviceY(0), 1078, 1);
}

TEST(ViewMapping, WithoutKeepAspectEachAxisHasItsOwnScale) {
  DisplayList list = drawing(400, 300, 0, 0, 1, 1);
  list.records = {"10;0;0;200;300;0;0;10;10"};
  list.keepAspect = false;
  const ViewMapping v = adopted(list);
  EXPECT_EQ(zoom(v), (std::array<int, 4>{0, 0, 200, 300}));
  EXPECT_NEAR(static_cast<double>(v.sx), 20, 1e-12);
  EXPECT_NEAR(static_cast<double>(v.sy), 30, 1e-12);
  // The rubber band on the whole window: x' = R(X / 400 * 400), y' = R((300 - Y) / 300 * 300).
  list.records = {"10;0;0;400;300;0;0;400;300"};
  ViewMapping w = adopted(list);
  EXPECT_TRUE(w.zoomToBand(300, 50, 100, 200));
  EXPECT_EQ(zoom(w), (std::array<int, 4>{100, 100, 300, 250}));
  EXPECT_NEAR(static_cast<double>(w.vxmin), 100, 1e-9);
  EXPECT_NEAR(static_cast<double>(w.vymax), 250, 1e-9);
}

// A 400 x 300 window with the world 0..398 x 0..298: one world unit is one pixel.
class ViewKeysTest : public ::testing::Test {
 protected:
  DisplayList list = drawing(400, 300, 0, 0, 398, 298);
  ViewMapping v = adopted(list);
};

TEST_F(ViewKeysTest, ArrowsAndPagesPan) {
  const auto start = zoom(v);
  EXPECT_EQ(start, (std::array<int, 4>{1, 1, 399, 299}));
  struct Step {
    ViewKey key;
    std::array<int, 4> after;
  };
  const Step steps[] = {
      {ViewKey::Up, {1, -2, 399, 296}},        // R(0.01 * 298) = 3
      {ViewKey::PageDown, {1, 13, 399, 311}},  // R(0.05 * 298) = 15
      {ViewKey::Left, {5, 13, 403, 311}},      // R(0.01 * 398) = 4
      {ViewKey::Right, {1, 13, 399, 311}},    {ViewKey::PageUp, {1, -2, 399, 296}},
      {ViewKey::Down, {1, 1, 399, 299}},      {ViewKey::Right, {-3, 1, 395, 299}},
  };
  for (const Step& s : steps) {
    EXPECT_TRUE(v.applyKey(s.key, 0.01L, 1.2L));
    EXPECT_EQ(zoom(v), s.after) << static_cast<int>(s.key);
  }
  // Panning moves the picture: a world point moves by the pan on the device.
  EXPECT_EQ(v.toDeviceX(100), 101 + 4);
  EXPECT_FALSE(v.applyKey(ViewKey::Other, 0.01L, 1.2L));
  EXPECT_EQ(zoom(v), (std::array<int, 4>{-3, 1, 395, 299}));
  for (ViewKey reset : {ViewKey::Escape, ViewKey::F5}) {
    v.applyKey(ViewKey::Up, 0.01L, 1.2L);
    EXPECT_TRUE(v.applyKey(reset, 0.01L, 1.2L));
    EXPECT_EQ(zoom(v), start);
  }
}

TEST_F(ViewKeysTest, ZoomInThenOutReturnsWithinRounding) {
  const ViewMapping start = v;
  EXPECT_TRUE(v.applyKey(ViewKey::Plus, 0.01L, 1.2L));
  EXPECT_EQ(zoom(v), (std::array<int, 4>{34, 26, 366, 274}));  // centre (200, 150), halves 166 and 124
  EXPECT_NEAR(static_cast<double>(v.sx), 398.0 / 332, 1e-12);
  EXPECT_EQ(v.sx, v.sy);
  EXPECT_TRUE(v.applyKey(ViewKey::Minus, 0.01L, 1.2L));
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(zoom(v)[i], zoom(start)[i], 2) << i;
  EXPECT_NEAR(static_cast<double>(v.vxmin), static_cast<double>(start.vxmin), 2);
  EXPECT_NEAR(static_cast<double>(v.vymax), static_cast<double>(start.vymax), 2);
  // Several steps in and as many out: the rounding does not add up.
  for (int i = 0; i < 5; ++i) v.zoomIn(1.2L);
  for (int i = 0; i < 5; ++i) v.zoomOut(1.2L);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(zoom(v)[i], zoom(start)[i], 5) << i;
  // Factors that make no sense change nothing.
  const auto before = zoom(v);
  v.zoomIn(0);
  v.zoomOut(-1);
  EXPECT_EQ(zoom(v), before);
}

TEST_F(ViewKeysTest, PanningAndZoomingOutForeverStaysDefined) {
  for (int i = 0; i < 400; ++i) {
    v.applyKey(ViewKey::PageUp, 0.5L, 1.2L);
    v.applyKey(ViewKey::Minus, 0.5L, 3);
  }
  EXPECT_LE(zoom(v)[2], 1000000000);
  EXPECT_GE(zoom(v)[1], -1000000000);
  EXPECT_TRUE(std::isfinite(v.sx) && std::isfinite(v.vymin));
}

TEST(ViewMapping, RubberBandShowsTheDraggedWorldArea) {
  ViewMapping v = adopted(drawing(400, 300, 0, 0, 100, 100));  // square world in a 4:3 window
  // The world rectangle 20..60 x 30..50 on screen.
  const int X1 = v.toDeviceX(20), X2 = v.toDeviceX(60);
  const int Y1 = v.toDeviceY(50), Y2 = v.toDeviceY(30);
  // A band that shares an x or a y coordinate does nothing.
  const ViewMapping before = v;
  EXPECT_FALSE(v.zoomToBand(X1, Y1, X1, Y2));
  EXPECT_FALSE(v.zoomToBand(X1, Y1, X2, Y1));
  EXPECT_EQ(v, before);
  ASSERT_TRUE(v.zoomToBand(X2, Y2, X1, Y1));  // corners in any order
  EXPECT_EQ(v.sx, v.sy);
  EXPECT_NEAR(static_cast<double>(v.vxmin), 20, 0.5);
  EXPECT_NEAR(static_cast<double>(v.vymin), 30, 0.5);
  // All of the dragged area is visible, and it fills the window in x (40 wide, 20 high).
  EXPECT_GE(v.toDeviceY(50), 0);
  EXPECT_NEAR(v.toDeviceX(60), 399, 3);
}

TEST(ViewMapping, MouseProtocolAndDoubleClickRestoringTheDrawing) {
  ViewMapping v = adopted(drawing(400, 300, 0, 0, 100, 100));
  const ViewMapping fresh = v;
  ViewMouse mouse;
  // Press and release on one spot (the first half of a double click): no zoom.
  EXPECT_FALSE(mouse.leftDown(50, 50));
  EXPECT_FALSE(mouse.leftUp(v, 50, 50));
  EXPECT_EQ(v, fresh);
  // A drag zooms; the band follows the mouse.
  mouse.leftDown(100, 100);
  mouse.move(150, 180);
  EXPECT_EQ((std::array<int, 4>{mouse.startX, mouse.startY, mouse.endX, mouse.endY}),
            (std::array<int, 4>{100, 100, 150, 180}));
  EXPECT_TRUE(mouse.leftUp(v, 200, 200));
  EXPECT_NE(zoom(v), zoom(fresh));
  v.applyKey(ViewKey::Left, 0.01L, 1.2L);
  // Right button: the zoom rectangle is the whole viewport again.
  EXPECT_TRUE(mouse.rightDown(v));
  EXPECT_EQ(v, fresh);
  // Double click after zooming and panning: the whole drawing as it was first shown.
  v.zoomIn(1.2L);
  v.applyKey(ViewKey::Up, 0.01L, 1.2L);
  mouse.leftDown(10, 10);
  EXPECT_TRUE(mouse.doubleClick(v));
  EXPECT_FALSE(mouse.bandActive);
  EXPECT_EQ(v, fresh);
  // Also from a window that was zoomed and then lost its viewport to another window record.
  v.zoomIn(2);
  ASSERT_TRUE(v.applyWindow(0, 0, 400, 300, 0, 0, 1, 1));
  v.showWholeDrawing();
  EXPECT_EQ(v, fresh);
}

TEST(ViewMapping, FollowsOnlyNewDrawings) {
  DisplayList list = drawing(400, 300, 0, 0, 100, 100);
  ViewMapping v;
  EXPECT_TRUE(v.follow(list));
  const ViewMapping fresh = v;
  EXPECT_EQ((std::array<Real, 4>{v.savedLimit[0], v.savedLimit[1], v.savedLimit[2], v.savedLimit[3]}),
            (std::array<Real, 4>{0, 0, 100, 100}));
  v.zoomIn(2);
  // The same drawing repainted: the zoom stays.
  EXPECT_FALSE(v.follow(list));
  EXPECT_NE(zoom(v), zoom(fresh));
  // A new drawing starts unzoomed on its own window.
  list.records.push_back(windowRecord(1, 1, 399, 299, 0, 0, 160, 120));
  ++list.windowSerial;
  EXPECT_TRUE(v.follow(list));
  EXPECT_EQ(zoom(v), zoom(fresh));
  EXPECT_EQ(v.xmax, 160);
  EXPECT_EQ(v.savedLimit[2], 160);
  // A list without any window record leaves the mapping's window alone.
  DisplayList empty;
  empty.windowSerial = 9;
  EXPECT_TRUE(v.follow(empty));
  EXPECT_EQ(v.xmax, 160);
}

TEST(ViewMapping, PrinterMappingPlacesTheWindowOnThePageWithSquarePixels) {
  const DisplayList list = drawing(400, 300, 0, 0, 398, 298, {"4;0;0;398;298", "12;2", "6;0;0;T"});
  const ViewMapping screen = adopted(list);
  PrintPage page;
  page.pageWidth = 2100;
  page.pageHeight = 2970;
  page.marginX = 10;
  page.marginY = 20;
  const ViewMapping p = PrinterMapping(screen, page);
  EXPECT_EQ(p.sx, p.sy);
  // Margins: 10 mm = 100 pixels, 20 mm = 200 pixels (a millimetre is 2100 / 210 pixels); the
  // window's 400 pixels across become the page width, so a world unit is 5.25 pixels both ways.
  EXPECT_NEAR(static_cast<double>(p.sx), 5.25, 1e-12);
  EXPECT_EQ(p.toDeviceX(0), 105);
  EXPECT_EQ(p.toDeviceX(398), 2195);
  EXPECT_EQ(p.toDeviceY(0), 3160);  // R(200 + 299 * 9.9)
  EXPECT_EQ(p.toDeviceY(298), 3160 - 1564);
  // The screen mapping is untouched, and a zoom of the screen carries over to the page.
  EXPECT_EQ(screen, adopted(list));
  ViewMapping zoomed = screen;
  zoomed.zoomIn(2);
  const ViewMapping pz = PrinterMapping(zoomed, page);
  EXPECT_EQ(pz.vxmin, zoomed.vxmin);
  EXPECT_NEAR(static_cast<double>(pz.sx / p.sx), static_cast<double>(zoomed.sx / screen.sx), 1e-9);
  // A printer replay: the frame of the world window first, pens four times as wide, text drawn.
  ReplayStyle style;
  style.penWidthFactor = 4;
  style.frame = true;
  style.frameInColor = true;
  style.monochrome = true;
  style.background = 0xFFFFFF;  // paper
  RecordingCanvas printer;
  ASSERT_EQ(Replay(list, p, printer, style), ReplayStatus::Done);
  EXPECT_EQ(printer.log.substr(0, printer.log.find("line 105 3160 2195 1596\n")),
            "pen 000000\nbrush FFFFFF\ntextcolor 000000\nwidth 4\npen 00FFFF\n"
            "line 105 3160 105 1596\nline 105 1596 2195 1596\nline 2195 1596 2195 3160\nline 2195 3160 105 3160\n");
  EXPECT_NE(printer.log.find("width 8\n"), std::string::npos) << printer.log;
  EXPECT_NE(printer.log.find("textcolor 000000\ntext 105 "), std::string::npos) << printer.log;
  // A page without size leaves the mapping on the screen's pixels rather than dividing by zero.
  EXPECT_EQ(PrinterMapping(screen, PrintPage{}).sx, screen.sx);
}

TEST(Replay, DegenerateWindowStopsTheReplayWithItsStatus) {
  const DisplayList good = drawing(400, 300, 0, 0, 398, 298, {"4;0;0;10;10"});
  DisplayList bad = good;
  bad.records.push_back("10;1;1;399;299;5;0;5;10");  // no width
  bad.records.push_back("4;0;0;20;20");
  bad.records.push_back("8;4");
  const ViewMapping v = adopted(good);
  RecordingCanvas before, canvas;
  ASSERT_EQ(Replay(good, v, before), ReplayStatus::Done);
  EXPECT_EQ(Replay(bad, v, canvas), ReplayStatus::DegenerateWindow);
  EXPECT_EQ(canvas.log, before.log);  // nothing after the degenerate record
  // A degenerate window in height stops it as well, also as the first record.
  DisplayList first = good;
  first.records.insert(first.records.begin(), "10;1;1;399;299;0;3;10;3");
  RecordingCanvas c2;
  EXPECT_EQ(Replay(first, v, c2), ReplayStatus::DegenerateWindow);
  EXPECT_EQ(c2.log.find("line"), std::string::npos);
}

TEST(Replay, ReadsTheListAndMappingOnlyAndPassesPauses) {
  const DisplayList list = drawing(400, 300, 0, 0, 398, 298,
                                   {"4;10;20;30;40", "13;7", "13;99999", "13;-5", "10;0;0;400;300;0;0;100;100",
                                    "4;0;0;1;1", "77;1;2", "4;1;2;3", "6;1;2;a;b"});
  const DisplayList copy = list;
  ViewMapping v = adopted(list);
  v.zoomIn(1.2L);
  const ViewMapping vcopy = v;
  RecordingCanvas first, second;
  EXPECT_EQ(Replay(list, v, first), ReplayStatus::Done);
  EXPECT_EQ(Replay(list, v, second), ReplayStatus::Done);
  EXPECT_EQ(first.log, second.log);  // no state kept between replays
  EXPECT_EQ(list.records, copy.records);
  EXPECT_EQ(list.windowSerial, copy.windowSerial);
  EXPECT_EQ(v, vcopy);
  // Pauses reach the canvas in order, within 0..10000 ms; the replay does not wait itself.
  const size_t p7 = first.log.find("pause 7\n");
  ASSERT_NE(p7, std::string::npos) << first.log;
  EXPECT_EQ(first.log.substr(p7, 28), "pause 7\npause 10000\npause 0\n");
  EXPECT_NE(first.log.find("[a;b]"), std::string::npos);
}

TEST(Replay, ZoomAppliesToEveryWindowRecord) {
  // The zoom rectangle is applied again at each window record, so zooming survives a list with
  // several windows.
  const DisplayList list =
      drawing(400, 300, 0, 0, 398, 298, {"4;0;0;398;298", "10;1;1;399;299;0;0;398;298", "4;0;0;398;298"});
  ViewMapping v = adopted(list);
  v.zoomIn(2);
  RecordingCanvas c;
  ASSERT_EQ(Replay(list, v, c), ReplayStatus::Done);
  const size_t a = c.log.find("line "), b = c.log.find("line ", a + 1);
  ASSERT_NE(b, std::string::npos);
  EXPECT_EQ(c.log.substr(a, c.log.find('\n', a) - a), c.log.substr(b, c.log.find('\n', b) - b));
  EXPECT_EQ(c.log.substr(a, c.log.find('\n', a) - a),
            "line " + std::to_string(v.toDeviceX(0)) + " " + std::to_string(v.toDeviceY(0)) + " " +
                std::to_string(v.toDeviceX(398)) + " " + std::to_string(v.toDeviceY(298)));
}

}  // namespace
}  // namespace velk::test
