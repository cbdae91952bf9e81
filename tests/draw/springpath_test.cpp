// The centre line with its ends: lengths against the calculation's L, tangents that run on,
// the directions of the legs, and the springs that have no centre line.
#include "draw/springpath.h"

#include <cmath>
#include <limits>

#include "calc/calc_fixture.h"

namespace velk::test {
namespace {

constexpr Real kPi = 3.141592653589793238462643383279502884L;

class SpringPathTest : public SessionTest {
 protected:
  void bent(int formi, int forme) {
    stripExample(ws);
    ws.spring.formi = formi;
    ws.spring.forme = forme;
    ws.spring.li = 20;
    ws.spring.rbi = 4;
    ws.spring.le = 30;
    ws.spring.rbe = 6;
    CalculateSpring(ws);
    ASSERT_FALSE(ws.messages.fatal);
  }
};

TEST_F(SpringPathTest, LengthIsTheCalculatedLengthForEveryEndForm) {
  for (int fi : {1, 2})
    for (int fe : {1, 2}) {
      bent(fi, fe);
      const SpringPath p = CentreLine(ws.spring);
      ASSERT_TRUE(p.problem.empty()) << p.problem;
      EXPECT_EQ(p.innerBent, fi == 2);
      EXPECT_EQ(p.outerBent, fe == 2);
      // The spiral's true length exceeds pi n0 (ri + re) by its radial growth only (0.13 % at a
      // pitch of 10 mm on ri = 10 mm).
      EXPECT_NEAR(PathLength(p), ws.spring.L, 2e-3L * ws.spring.L) << fi << fe;
      // Each piece starts where the one before ends, in the same direction.
      for (std::size_t i = 1; i < p.pieces.size(); ++i) {
        const PathPiece& a = p.pieces[i - 1];
        const PathPiece& b = p.pieces[i];
        EXPECT_NEAR(a.to.x, b.from.x, 1e-9L);
        EXPECT_NEAR(a.to.y, b.from.y, 1e-9L);
        const PathPoint ta = PieceTangent(a, 1), tb = PieceTangent(b, 0);
        EXPECT_NEAR(ta.x * tb.x + ta.y * tb.y, 1, 1e-9L) << "piece " << i;
        EXPECT_NEAR(PiecePoint(b, 0).x, b.from.x, 1e-9L);
        EXPECT_NEAR(PiecePoint(b, 1).y, b.to.y, 1e-9L);
      }
    }
}

TEST_F(SpringPathTest, InnerLegPointsToTheArborOuterLegOutwards) {
  bent(2, 2);
  const SpringPath p = CentreLine(ws.spring);
  ASSERT_EQ(p.pieces.size(), 5u);
  EXPECT_NEAR(p.innerLeg, 20 - kPi * 2, 1e-12L);
  EXPECT_NEAR(p.outerLeg, 30 - kPi * 3, 1e-12L);
  // Seen from the end of the spiral it leaves, the inner leg runs towards the axis, the outer
  // leg away from it (the path runs from the inner tip, so the inner leg is travelled inwards-out;
  // square to the spiral, which climbs 9 degrees at the inner end of this coarse pitch).
  const PathPoint in = p.pieces.front().from, out = p.pieces.back().to;
  auto radialCosine = [](const PathPiece& leg, PathPoint end) {
    const PathPoint d = PieceTangent(leg, 0);
    return (d.x * end.x + d.y * end.y) / std::hypot(end.x, end.y);
  };
  EXPECT_GT(radialCosine(p.pieces.front(), p.pieces[2].from), 0.98L);
  EXPECT_GT(radialCosine(p.pieces.back(), p.pieces[2].to), 0.98L);
  const std::vector<PathPoint> poly = PathPolyline(p);
  EXPECT_NEAR(poly.front().x, in.x, 1e-12L);
  EXPECT_NEAR(poly.back().y, out.y, 1e-12L);
  Real sum = 0;
  for (std::size_t i = 1; i < poly.size(); ++i) sum += std::hypot(poly[i].x - poly[i - 1].x, poly[i].y - poly[i - 1].y);
  EXPECT_NEAR(sum, PathLength(p), 2e-3L * PathLength(p));
  EXPECT_LE(PathPolyline(p, 5, 100).size(), 100u);
}

TEST_F(SpringPathTest, TurnedSpringKeepsItsLength) {
  bent(2, 2);
  const SpringPath unloaded = CentreLine(ws.spring);
  const SpringPath wound = CentreLine(ws.spring, 270);
  ASSERT_TRUE(wound.problem.empty());
  const PathPiece& spiral = wound.pieces[2];
  EXPECT_NEAR(spiral.a1, 360 * ws.spring.n0 + 270, 1e-9L);
  EXPECT_NEAR(PathLength(wound), PathLength(unloaded), 2e-3L * PathLength(unloaded));
  // Opened by more than its turns, the spring has no centre line.
  EXPECT_FALSE(CentreLine(ws.spring, -360 * ws.spring.n0).problem.empty());
}

TEST_F(SpringPathTest, DegenerateSpringsHaveNoPath) {
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  struct Case {
    Real n0, t, ri, rbi;
  };
  for (const Case& c : {Case{0, 1, 10, 4}, Case{-3, 1, 10, 4}, Case{5, 0, 10, 4}, Case{nan, 1, 10, 4},
                        Case{5, 1, 10, 0}, Case{5, 1, 0, 4}}) {
    bent(2, 1);
    ws.spring.n0 = c.n0;
    ws.spring.t = c.t;
    ws.spring.ri = c.ri;
    ws.spring.rbi = c.rbi;
    const SpringPath p = CentreLine(ws.spring);
    EXPECT_FALSE(p.problem.empty()) << c.n0 << " " << c.t << " " << c.ri << " " << c.rbi;
    EXPECT_TRUE(p.pieces.empty());
  }
}

}  // namespace
}  // namespace velk::test
