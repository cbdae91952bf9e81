// The spring's selectors as kinds: every number the file can hold maps to a kind, the kinds the
// program writes go back to the numbers the file format has.
#include "data/springkinds.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

TEST(SpringKinds, NumbersReadAsKinds) {
  const struct {
    uint16_t n;
    CrossSection cross;
    EndKind end;
    Application application;
  } rows[] = {
      {1, CrossSection::Strip, EndKind::Clamped, Application::Static},
      {2, CrossSection::Wire, EndKind::Bent, Application::Dynamic},
      {0, CrossSection::Other, EndKind::Other, Application::Other},
      {3, CrossSection::Other, EndKind::Other, Application::Other},
      {65535, CrossSection::Other, EndKind::Other, Application::Other},
  };
  for (const auto& r : rows) {
    Spring s;
    s.crossSection = s.formi = s.statdyn = r.n;
    s.forme = r.n == 1 ? 2 : 1;  // the two ends are read apart
    EXPECT_EQ(crossSectionOf(s), r.cross) << r.n;
    EXPECT_EQ(innerEndOf(s), r.end) << r.n;
    EXPECT_EQ(outerEndOf(s), r.n == 1 ? EndKind::Bent : EndKind::Clamped) << r.n;
    EXPECT_EQ(applicationOf(s), r.application) << r.n;
  }
}

TEST(SpringKinds, SurfaceIsPlainOnlyForN) {
  Spring s;
  for (const char c : {'N', 'J', 'n', ' ', '\0'}) {
    s.kugelstrahlen = c;
    EXPECT_EQ(surfaceOf(s), c == 'N' ? Surface::Plain : Surface::ShotPeened) << static_cast<int>(c);
  }
}

TEST(SpringKinds, MaterialSourceRoundTripsAndKeepsOtherNumbers) {
  Spring s;
  EXPECT_EQ(materialSourceOf(s), MaterialSource::Other) << "the default 1: values typed in";
  for (const MaterialSource m : {MaterialSource::TableRecord, MaterialSource::EnteredWire}) {
    setMaterialSource(s, m);
    EXPECT_EQ(materialSourceOf(s), m);
  }
  EXPECT_EQ(s.matSource, 11);
  setMaterialSource(s, MaterialSource::TableRecord);
  EXPECT_EQ(s.matSource, 0);
  s.matSource = 7;
  setMaterialSource(s, MaterialSource::Other);
  EXPECT_EQ(s.matSource, 7) << "Other names no number of its own";
}

}  // namespace
}  // namespace velk
