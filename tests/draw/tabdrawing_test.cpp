// Tab-separated drawing file: the exact lines in both decimal settings, arcs that become
// circles, texts with tabs and line breaks, and the commit that leaves no file on abort.
#include "draw/tabdrawing.h"

#include <clocale>
#include <cmath>

#include "graphics/output.h"
#include "support/fixture.h"

namespace velk::test {
namespace {

class TabDrawingTest : public SessionTest {
 protected:
  TabDrawingTest() {
    ws.start.batchCad = true;
    ws.spring.fileName = "feder";
    ws.config.decimalsDxf = 2;
  }
  std::string path() const { return dir.file("feder.txt"); }
};

TEST_F(TabDrawingTest, ExactLinesInBothDecimalSettings) {
  const std::string old = std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, "de_DE.UTF-8");  // the process locale never matters
  for (int comma : {1, 2}) {
    ws.config.num.decimalComma = comma;
    OpenDrawing(ws, DeviceCode::Tab);
    ASSERT_FALSE(ws.abort);
    Window(ws.drawing, -10, -5, 150, 110.5L);
    Tables(ws.drawing, DrawingKind::Drawing);
    BeginEntities(ws.drawing, ws.diag);
    SetOrigin(ws.drawing, 1, 2);
    SetLayer(ws.drawing, 3);
    Line(ws.drawing, -1, -2, 9, 3);
    Circle(ws.drawing, 0, 0, 2.5L);
    Arc(ws.drawing, 0, 0, 30, 120, 10);
    Arc(ws.drawing, 0, 0, 0, 360, 1);
    Arc(ws.drawing, 0, 0, 10, 10, 1);
    Arc(ws.drawing, 0, 0, 360, 1e-6L, 1);
    Solid(ws.drawing, 0, 0, 1, 0, 0, 1, 1, 1);
    SetTextJustify(ws.drawing, 2, 0);  // right: 3 characters, height 5, width factor 0.7 -> x - 10.5
    TextStyle(ws.drawing, 2, 0, 5, 0);
    Text(ws.drawing, oem("ä\tb"), 0, 0);
    Text(ws.drawing, "c\r\nd", 0, 0);
    EndEntities(ws.drawing);
    FinishDrawing(ws);
    ASSERT_FALSE(ws.abort);
    std::string expected =
        "MINMAX\t-10.00\t-5.00\t150.00\t110.50\r\n"
        "SECTION ENTITIES\r\n"
        "LINE\t0.00\t0.00\t10.00\t5.00\r\n"
        "CIRCLE\t1.00\t2.00\t2.50\r\n"
        "ARC\t1.00\t2.00\t10.00\t30.00\t120.00\r\n"
        "CIRCLE\t1.00\t2.00\t1.00\r\n"
        "CIRCLE\t1.00\t2.00\t1.00\r\n"
        "CIRCLE\t1.00\t2.00\t1.00\r\n"
        "SOLID\t1.00\t2.00\t2.00\t2.00\t1.00\t3.00\t2.00\t3.00\r\n"
        "TEXT\t-9.50\t2.00\t" +
        oem("ä") +
        "\tb\r\n"
        "TEXT\t-13.00\t2.00\tc  d\r\n"
        "EOF\r\n";
    if (comma == 2) expected = pointToComma(expected);
    EXPECT_EQ(readFile(path()), expected) << "decimal setting " << comma;
  }
  std::setlocale(LC_ALL, old.c_str());
}

TEST_F(TabDrawingTest, NumbersAndTextConversion) {
  NumberSettings s;
  s.decimalComma = 2;
  std::string out;
  TabDrawingWriter w(out, 3, s);
  EXPECT_EQ(w.number(-0.5L), "-0,500");
  EXPECT_EQ(w.number(std::numeric_limits<Real>::infinity()), "0,000");
  EXPECT_EQ(w.number(std::nanl("")), "0,000");
  EXPECT_EQ(w.number(-1e-9L), "0,000");

  ws.config.decimalsDxf = 0;  // outside 1..32: 6 decimals
  ws.config.num.cadTextMode = 3;
  OpenDrawing(ws, DeviceCode::Tab);
  Window(ws.drawing, 0, 0, 1, 1);
  BeginEntities(ws.drawing, ws.diag);
  Text(ws.drawing, oem("Länge"), 0.5L, 0);
  FinishDrawing(ws);
  EXPECT_NE(readFile(path()).find("TEXT\t0.500000\t0.000000\tLaenge\r\n"), std::string::npos);
}

TEST_F(TabDrawingTest, AbortedOrFailedDrawingKeepsThePreviousFile) {
  writeFile(path(), "old");
  OpenDrawing(ws, DeviceCode::Tab);
  Window(ws.drawing, 0, 0, 1, 1);
  Line(ws.drawing, 0, 0, 1, 1);
  ws.abort = true;
  FinishDrawing(ws);
  EXPECT_EQ(readFile(path()), "old");
  ws.abort = false;
  OpenDrawing(ws, DeviceCode::Tab);
  Window(ws.drawing, 0, 0, 1, 1);
  ws.io.writeFault = [](std::string_view) { return ENOSPC; };
  FinishDrawing(ws);
  EXPECT_TRUE(ws.abort);
  ASSERT_EQ(ui.messages(MessageKind::Error).size(), 1u);
  EXPECT_EQ(readFile(path()), "old");
  size_t files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) files += !e.is_directory();
  EXPECT_EQ(files, 1u);
}

}  // namespace
}  // namespace velk::test
