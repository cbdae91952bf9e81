// The SVG canvas: arcs turn the way the window draws them, texts are escaped, nothing
// non-finite or out of XML's character set reaches the document.
#include "draw/svgcanvas.h"

#include <gtest/gtest.h>

namespace velk::test {
namespace {

TEST(SvgCanvas, ArcsTurnCounterClockwiseOnTheScreen) {
  SvgCanvas c(200, 100, 0xFFFFFF);
  // Circle of radius 10 about (50, 50): from the ray to the right to the ray upwards is a
  // quarter turn counter-clockwise on the screen (y downwards).
  c.arc(40, 40, 60, 60, 70, 50, 50, 20);
  // From upwards to the right the long way round.
  c.arc(40, 40, 60, 60, 50, 20, 70, 50);
  // Equal rays: the whole ellipse.
  c.arc(40, 40, 60, 60, 70, 50, 70, 50);
  const std::string d = c.document();
  EXPECT_NE(d.find("<path d=\"M60,50 A10,10 0 0,0 50,40\""), std::string::npos) << d;
  EXPECT_NE(d.find("<path d=\"M50,40 A10,10 0 1,0 60,50\""), std::string::npos) << d;
  EXPECT_NE(d.find("<ellipse cx=\"50\" cy=\"50\" rx=\"10\" ry=\"10\""), std::string::npos) << d;
}

TEST(SvgCanvas, TextsAreEscapedAndRotated) {
  SvgCanvas c(100, 100, 0x000000);
  FontSpec f;
  f.cellHeight = 12;
  f.escapement = 900;
  f.face = "Arial";
  c.setTextColor(0xFF0000);
  c.text(10, 20, std::string("a<b&c\x01\"d\xE4"), f);
  const std::string d = c.document();
  EXPECT_NE(d.find(">a&lt;b&amp;c&quot;d\xC3\xA4</text>"), std::string::npos) << d;
  // Rotated about the reference point, the text's top-left corner.
  EXPECT_NE(d.find("<text transform=\"translate(10 20) rotate(-90)\" y=\""), std::string::npos) << d;
  EXPECT_NE(d.find("fill=\"#FF0000\""), std::string::npos);
  EXPECT_NE(d.find("<rect x=\"0\" y=\"0\" width=\"100\" height=\"100\" fill=\"#000000\"/>"), std::string::npos);
}

// Viewers differ in what they honour: the document places each text by a baseline and a stretch
// of its own, from the cell's top-left corner, height and character width.
TEST(SvgCanvas, TextsCarryTheirBaselineAndWidth) {
  SvgCanvas c(300, 100, 0x000000);
  FontSpec f;
  f.face = "Arial";
  f.cellHeight = 23;
  f.charWidth = 7;
  c.text(10, 20, "abc", f);
  f.charWidth = 0;  // no width: the face's own
  c.text(10, 50, "abc", f);
  const std::string d = c.document();
  EXPECT_EQ(d.find("dominant-baseline"), std::string::npos) << d;
  EXPECT_EQ(d.find("textLength"), std::string::npos) << d;
  // Font size cell / 1.15 = 20, baseline 0.8 cells below the top, the average character width
  // (0.507 em) stretched to 7 pixels: 7 / 10.14.
  EXPECT_NE(d.find("<text transform=\"translate(10 20) scale(0.69 1)\" y=\"18.4\" font-size=\"20\""), std::string::npos)
      << d;
  EXPECT_NE(d.find("<text transform=\"translate(10 50)\" y=\"18.4\" font-size=\"20\""), std::string::npos) << d;
}

}  // namespace
}  // namespace velk::test
