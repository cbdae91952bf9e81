// Block files: the group-pair reader, bulge arcs, and blocks drawn on the screen device with
// transforms, nesting limit, missing files and garbage.
#include "draw/blockfile.h"

#include <cmath>
#include <random>

#include "draw/drawing.h"
#include "graphics/output.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

using Kind = BlockEntity::Kind;

TEST(BlockFileReader, ReadsEveryEntityKind) {
  const std::string text =
      "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n"
      "  0\r\nLINE\r\n  8\r\n1\r\n 10\r\n1,5\r\n 20\r\n2\r\n 11\r\n3\r\n 21\r\nxx\r\n"
      "  0\r\nCIRCLE\r\n 10\r\n1\r\n 20\r\n2\r\n 40\r\n3\r\n"
      "  0\r\nARC\r\n  8\r\nMITTE\r\n 10\r\n1\r\n 20\r\n2\r\n 40\r\n3\r\n 50\r\n10\r\n 51\r\n20\r\n"
      "  0\r\nTEXT\r\n  1\r\n Hallo; Welt \r\n 10\r\n4\r\n 20\r\n5\r\n"
      "  0\r\nSOLID\r\n 10\r\n1\r\n 20\r\n2\r\n 11\r\n3\r\n 21\r\n4\r\n 12\r\n5\r\n 22\r\n6\r\n 13\r\n7\r\n 23\r\n8\r\n"
      "  0\r\nINSERT\r\n  2\r\nSUB\r\n 10\r\n1\r\n 20\r\n2\r\n 50\r\n90\r\n"
      "  0\r\nPOLYLINE\r\n 70\r\n1\r\n  0\r\nVERTEX\r\n 10\r\n0\r\n 20\r\n0\r\n 42\r\n1\r\n"
      "  0\r\nVERTEX\r\n 10\r\n2\r\n 20\r\n0\r\n  0\r\nSEQEND\r\n"
      "  0\r\nVIEWPORT\r\n 10\r\n9\r\n"
      "  0\r\nENDSEC\r\n  0\r\nEOF\r\n  0\r\nLINE\r\n";
  const auto e = ParseBlockFile(text);
  ASSERT_EQ(e.size(), 7u);
  EXPECT_EQ(e[0].kind, Kind::Line);
  EXPECT_EQ(e[0].layer, "1");
  EXPECT_EQ((std::vector<Real>(e[0].v, e[0].v + 4)), (std::vector<Real>{1.5L, 2, 3, 0}));
  EXPECT_EQ(e[1].kind, Kind::Circle);
  EXPECT_EQ(e[1].layer, "0");
  EXPECT_EQ(e[2].kind, Kind::Arc);
  EXPECT_EQ(e[2].layer, "MITTE");
  EXPECT_EQ((std::vector<Real>(e[2].v, e[2].v + 5)), (std::vector<Real>{1, 2, 3, 10, 20}));
  EXPECT_EQ(e[3].kind, Kind::Text);
  EXPECT_EQ(e[3].text, " Hallo; Welt ");
  EXPECT_EQ((std::vector<Real>(e[3].v, e[3].v + 5)), (std::vector<Real>{4, 5, 3.5L, 1, 0}));  // defaults
  EXPECT_EQ(e[4].kind, Kind::Solid);
  EXPECT_EQ(e[4].v[7], 8);
  EXPECT_EQ(e[5].kind, Kind::Insert);
  EXPECT_EQ(e[5].text, "SUB");
  EXPECT_EQ((std::vector<Real>(e[5].v, e[5].v + 5)), (std::vector<Real>{1, 2, 1, 1, 90}));
  EXPECT_EQ(e[6].kind, Kind::Polyline);
  EXPECT_TRUE(e[6].closed);
  ASSERT_EQ(e[6].vertices.size(), 2u);
  EXPECT_EQ(e[6].vertices[0].bulge, 1);
}

TEST(BlockFileReader, PolylineWithoutVertexIsSkippedWithAMessage) {
  const auto e = ParseBlockFile("0\nPOLYLINE\n8\n2\n0\nLINE\n11\n5\n0\nPOLYLINE\n");
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].kind, Kind::Message);
  EXPECT_EQ(e[0].text, "Error in DXF File");
  EXPECT_EQ(e[1].kind, Kind::Line);
  EXPECT_EQ(e[1].v[2], 5);
  EXPECT_EQ(e[2].kind, Kind::Message);
}

TEST(BlockFileReader, GarbageNeverFails) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(static_cast<size_t>(rng() % 400), '\0');
    for (char& c : bytes) c = static_cast<char>(rng() % 3 == 0 ? "0\n8LINE,"[rng() % 8] : rng() % 256);
    const auto e = ParseBlockFile(bytes);
    EXPECT_LE(e.size(), bytes.size() / 2 + 1);
  }
  EXPECT_TRUE(ParseBlockFile("").empty());
  EXPECT_TRUE(ParseBlockFile("0").empty());
  EXPECT_EQ(ParseBlockFile("zz\nLINE\n10\n1e99999\n").size(), 1u);  // a bad group code counts as 0
  EXPECT_EQ(ParseBlockFile("zz\nLINE\n10\n1e99999\n")[0].v[0], 0);  // out of range reads as 0
}

TEST(BlockFileReader, BulgeArcs) {
  struct Case {
    Real x1, y1, x2, y2, bulge;
    Real cx, cy, r, start, end;
  };
  const Real t = std::tan(std::atan(1.0L) / 2);  // tan(22.5 degrees): the bulge of a quarter circle
  const Case cases[] = {
      {1, 0, -1, 0, 1, 0, 0, 1, 0, 180},   // half circle counter-clockwise through (0, 1)
      {1, 0, 0, 1, t, 0, 0, 1, 0, 90},     // quarter circle about the origin
      {1, 0, -1, 0, -1, 0, 0, 1, 180, 0},  // clockwise: the angles are swapped
      {0, 0, 2, 2, -t, 2, 0, 2, 90, 180},  // clockwise quarter about (2, 0)
  };
  for (const Case& c : cases) {
    const BulgeArc a = ArcFromBulge(c.x1, c.y1, c.x2, c.y2, c.bulge);
    ASSERT_TRUE(a.arc);
    EXPECT_TRUE(a.message.empty());
    EXPECT_NEAR(static_cast<double>(a.cx), c.cx, 1e-12);
    EXPECT_NEAR(static_cast<double>(a.cy), c.cy, 1e-12);
    EXPECT_NEAR(static_cast<double>(a.r), c.r, 1e-12);
    EXPECT_NEAR(std::remainder(static_cast<double>(a.start - c.start), 360.0), 0, 1e-9);
    EXPECT_NEAR(std::remainder(static_cast<double>(a.end - c.end), 360.0), 0, 1e-9);
  }
  const BulgeArc zero = ArcFromBulge(3, 4, 3, 4, 0.5L);
  EXPECT_EQ(zero.message, "GetArcCenter l12=0");
  EXPECT_EQ(zero.cx, 3);
  EXPECT_EQ(zero.r, 0);
  const BulgeArc flat = ArcFromBulge(0, 0, 1, 0, 0);
  EXPECT_FALSE(flat.arc);
  EXPECT_EQ(flat.message.rfind("Fehler in GetArcCenter (dphi = 0 ! ", 0), 0u);
}

class BlockDrawingTest : public SessionTest {
 protected:
  BlockDrawingTest() {
    temp = dir.file("tmp/");
    std::filesystem::create_directory(temp);
    ws.config.tempDir = temp;
    ws.display.W = 400;
    ws.display.H = 300;
    OpenDrawing(ws, DeviceCode::Screen);
    Window(ws.drawing, 0, 0, 398, 298);
  }
  void block(const std::string& name, const std::string& text) { writeFile(temp + "$" + name + ".dx$", text); }
  // Geometry records drawn since the mark.
  std::vector<std::string> drawn() {
    std::vector<std::string> out;
    for (size_t i = mark; i < ws.display.records.size(); ++i) {
      const std::string& r = ws.display.records[i];
      if (r.rfind("4;", 0) == 0 || r.rfind("3;", 0) == 0 || r.rfind("5;", 0) == 0 || r.rfind("6;", 0) == 0 ||
          r.rfind("7;", 0) == 0)
        out.push_back(r);
    }
    return out;
  }
  void setMark() { mark = ws.display.records.size(); }
  std::string temp;
  size_t mark = 0;
};

TEST_F(BlockDrawingTest, TransformRotatesScalesAndShifts) {
  block("B",
        "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n0\n0\nCIRCLE\n10\n1\n20\n1\n40\n1\n"
        "0\nARC\n10\n0\n20\n0\n40\n1\n50\n0\n51\n45\n0\nTEXT\n1\nT\n10\n1\n20\n0\n40\n2\n41\n0.5\n0\nEOF\n");
  setMark();
  Insert(ws.drawing, ws.diag, "B", 10, 20, 90, 2, 3);
  // (x, y) -> (10, 20) + R(90) (2x, 3y) = (10 - 3y, 20 + 2x).
  EXPECT_EQ(drawn(), (std::vector<std::string>{"4;10;20;10;22", "3;7;22;2", "5;8;18;12;22;10;22;8.5857864;21.414214",
                                               "6;10;22;T"}));
  // The text style: rotation 0 + 90, height 2 x 3, width 2 x 0.5 x 2, and 0.95 of it on screen.
  EXPECT_NE(std::find(ws.display.records.begin(), ws.display.records.end(), "9;6;1.9;2;90"), ws.display.records.end());
  EXPECT_FALSE(ws.abort);
}

TEST_F(BlockDrawingTest, PolylinesWithBulgesAndClosingSegment) {
  block("P",
        "0\nPOLYLINE\n8\n1\n70\n1\n0\nVERTEX\n10\n0\n20\n0\n42\n1\n0\nVERTEX\n10\n2\n20\n0\n"
        "0\nVERTEX\n10\n2\n20\n2\n0\nSEQEND\n0\nEOF\n");
  setMark();
  Insert(ws.drawing, ws.diag, "P", 0, 0, 0, 1, 1);
  // Half circle from (0, 0) to (2, 0) about (1, 0), clockwise is bulge < 0, here counter-clockwise:
  // from 180 to 0 degrees; then a line and the straight closing segment.
  const auto d = drawn();
  ASSERT_EQ(d.size(), 3u);
  const ParsedRecord arc = ParseRecord(d[0]);
  const double expected[8] = {0, -1, 2, 1, 0, 0, 2, 0};
  EXPECT_EQ(arc.code, 5);
  for (int i = 0; i < 8; ++i) EXPECT_NEAR(arc.f[i], expected[i], 1e-12) << i;
  EXPECT_EQ(d[1], "4;2;0;2;2");
  EXPECT_EQ(d[2], "4;2;2;0;0");
  // Layer 1 selected for the polyline: dash-dot.
  EXPECT_NE(std::find(ws.display.records.begin() + static_cast<long>(mark), ws.display.records.end(), "11;2"),
            ws.display.records.end());
}

TEST_F(BlockDrawingTest, SelfInsertingBlockStopsAtTheFifthLevel) {
  block("SELF", "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n0\n0\nINSERT\n2\nSELF\n10\n1\n20\n0\n0\nEOF\n");
  setMark();
  Insert(ws.drawing, ws.diag, "SELF", 0, 0, 0, 1, 1);
  EXPECT_EQ(ui.messages(MessageKind::Error), std::vector<std::string>{"error blockno.5"});
  EXPECT_EQ(drawn(), (std::vector<std::string>{"4;0;0;1;0", "4;1;0;2;0", "4;2;0;3;0", "4;3;0;4;0"}));
  EXPECT_FALSE(ws.abort);
  // Drawing goes on after the refused level.
  Line(ws.drawing, 5, 5, 6, 6);
  EXPECT_EQ(ws.display.records.back(), "4;5;5;6;6");
  EXPECT_EQ(ws.drawing.blockLevel, 0);
}

TEST_F(BlockDrawingTest, NestedInsertRestoresTheLayerAndMissingFilesAbort) {
  block("OUT", "0\nINSERT\n8\n3\n2\nIN\n10\n10\n20\n0\n41\n2\n0\nLINE\n8\n4\n10\n0\n20\n0\n11\n1\n21\n1\n0\nEOF\n");
  block("IN", "0\nLINE\n8\n2\n10\n0\n20\n0\n11\n1\n21\n0\n0\nEOF\n");
  setMark();
  Insert(ws.drawing, ws.diag, "OUT", 100, 100, 0, 1, 1);
  EXPECT_EQ(drawn(), (std::vector<std::string>{"4;110;100;112;100", "4;100;100;101;101"}));
  Insert(ws.drawing, ws.diag, "MISSING", 0, 0, 0, 1, 1);
  EXPECT_EQ(ui.messages(MessageKind::Error), std::vector<std::string>{"Invalid temp directory"});
  EXPECT_TRUE(ws.drawing.failed);  // the drawing is stopped
  ws.drawing.failed = false;
  Insert(ws.drawing, ws.diag, "../tmp/OUT", 0, 0, 0, 1, 1);  // names never leave the temporary folder
  EXPECT_TRUE(ws.drawing.failed);
}

TEST_F(BlockDrawingTest, MessagesOfBrokenBlocksAndTheEntityLimit) {
  block("BAD",
        "0\nPOLYLINE\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n"
        "0\nPOLYLINE\n0\nVERTEX\n10\n1\n20\n1\n42\n0.5\n0\nVERTEX\n10\n1\n20\n1\n0\nSEQEND\n");
  setMark();
  Insert(ws.drawing, ws.diag, "BAD", 0, 0, 0, 1, 1);
  EXPECT_EQ(ui.messages(MessageKind::Error), (std::vector<std::string>{"Error in DXF File", "GetArcCenter l12=0"}));
  EXPECT_EQ(drawn(), std::vector<std::string>{"4;0;0;1;1"});  // the zero-radius arc draws nothing
  // Four self-inserts per level would draw 4^4 copies; the limit cuts that short.
  block("FAN", "0\nLINE\n11\n1\n0\nINSERT\n2\nFAN\n0\nINSERT\n2\nFAN\n0\nINSERT\n2\nFAN\n0\nINSERT\n2\nFAN\n");
  ws.drawing.blockEntityLimit = 50;
  setMark();
  Insert(ws.drawing, ws.diag, "FAN", 0, 0, 0, 1, 1);
  EXPECT_LE(drawn().size(), 50u);
  EXPECT_EQ(ws.drawing.blockLevel, 0);
}

}  // namespace
}  // namespace velk::test
