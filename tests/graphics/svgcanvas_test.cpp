// The SVG canvas: arcs turn the way the window draws them, texts are escaped, nothing
// non-finite or out of XML's character set reaches the document.
#include "graphics/svgcanvas.h"

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
  EXPECT_NE(d.find("transform=\"rotate(-90 10 20)\""), std::string::npos) << d;
  EXPECT_NE(d.find("fill=\"#FF0000\""), std::string::npos);
  EXPECT_NE(d.find("<rect x=\"0\" y=\"0\" width=\"100\" height=\"100\" fill=\"#000000\"/>"), std::string::npos);
}

}  // namespace
}  // namespace velk::test
