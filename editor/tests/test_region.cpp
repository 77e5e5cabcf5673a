// Regions: half-open rectangles, winding polygons, union and subtraction.
#include "platform/region.h"

#include <gtest/gtest.h>

#include <QPolygon>

using plat::Point;
using plat::Region;

TEST(Region, RectangleCoversLeftTopButNotRightBottom) {
  Region r = Region::FromRect(100, 100, 130, 130);
  EXPECT_TRUE(r.Contains(100, 100));
  EXPECT_TRUE(r.Contains(129, 129));
  EXPECT_FALSE(r.Contains(130, 115));
  EXPECT_FALSE(r.Contains(115, 130));
  EXPECT_FALSE(r.Contains(99, 115));
  // Corners given in the wrong order name the same rectangle.
  Region swapped = Region::FromRect(130, 130, 100, 100);
  EXPECT_TRUE(swapped.Contains(100, 100));
  EXPECT_FALSE(swapped.Contains(130, 130));
}

TEST(Region, RectanglesSharingAnEdgeOrCornerDoNotMeet) {
  Region r = Region::FromRect(100, 100, 130, 130);
  struct Case {
    int l, t, r, b;
    bool meets;
  } cases[] = {
      {130, 100, 160, 130, false},  // right neighbour
      {70, 100, 100, 130, false},   // left neighbour
      {100, 70, 130, 100, false},   // above
      {100, 130, 130, 160, false},  // below
      {130, 130, 160, 160, false},  // corner
      {129, 100, 160, 130, true},   // one column of overlap
      {100, 129, 130, 160, true},   // one row of overlap
      {129, 129, 131, 131, true},   // one pixel
      {110, 110, 120, 120, true},   // inside
      {0, 0, 500, 500, true},       // around
      {115, 115, 115, 125, false},  // empty rectangle
  };
  for (const Case& c : cases)
    EXPECT_EQ(r.IntersectsRect(c.l, c.t, c.r, c.b), c.meets) << c.l << "," << c.t << "," << c.r << "," << c.b;
}

TEST(Region, BondHitPolygonCoversItsHalfOpenArea) {
  // The hit polygon of a horizontal bond from (131,115) to (199,115).
  const Point pts[4] = {{199, 123}, {199, 107}, {131, 107}, {131, 123}};
  Region r = Region::Polygon(pts, 4);
  EXPECT_TRUE(r.Contains(131, 107));
  EXPECT_TRUE(r.Contains(198, 122));
  EXPECT_TRUE(r.Contains(165, 115));
  EXPECT_FALSE(r.Contains(199, 115));
  EXPECT_FALSE(r.Contains(165, 123));
  EXPECT_FALSE(r.Contains(130, 115));
  EXPECT_FALSE(r.Contains(165, 106));
  EXPECT_EQ(r.qregion().boundingRect(), QRect(131, 107, 68, 16));
}

TEST(Region, PolygonFillsByTheWindingRule) {
  // A five-pointed star drawn in one stroke: its centre is wound twice.
  const std::vector<Point> star = {{100, 10}, {40, 190}, {190, 70}, {10, 70}, {160, 190}};
  QPolygon q;
  for (const Point& p : star) q << QPoint(p.x, p.y);
  ASSERT_FALSE(QRegion(q, Qt::OddEvenFill).contains(QPoint(100, 110)));  // the case tells the rules apart
  Region r = Region::Polygon(star);
  EXPECT_TRUE(r.Contains(100, 110));
  EXPECT_TRUE(r.Contains(100, 30));
  EXPECT_FALSE(r.Contains(20, 180));
}

TEST(Region, TooFewPointsGiveTheEmptyRegion) {
  const Point pts[2] = {{0, 0}, {10, 10}};
  EXPECT_TRUE(Region::Polygon(pts, 2).IsEmpty());
  EXPECT_TRUE(Region().IsEmpty());
  EXPECT_FALSE(Region().IntersectsRect(-1000, -1000, 1000, 1000));
}

TEST(Region, UniteSubtractAndClear) {
  Region occupied;
  occupied.Unite(Region::FromRect(0, 0, 30, 30));
  occupied.Unite(Region::FromRect(100, 0, 142, 30));
  EXPECT_TRUE(occupied.IntersectsRect(20, 10, 40, 20));
  EXPECT_TRUE(occupied.IntersectsRect(141, 29, 200, 200));
  EXPECT_FALSE(occupied.IntersectsRect(30, 0, 100, 30));  // the gap between them

  occupied.Subtract(Region::FromRect(0, 0, 30, 30));
  EXPECT_FALSE(occupied.IntersectsRect(0, 0, 30, 30));
  EXPECT_TRUE(occupied.Contains(100, 0));

  // Copies are independent values.
  Region copy = occupied;
  occupied.Clear();
  EXPECT_TRUE(occupied.IsEmpty());
  EXPECT_TRUE(copy.Contains(100, 0));
}

// A slanted strip far taller than any canvas (coordinates from a hand-made
// file) is built quickly and still holds its points near the canvas.
TEST(Region, FarReachingPolygonIsCutToTheBound) {
  const plat::Point strip[] = {{0, -1000000}, {10, -1000000}, {1010, 1000000}, {1000, 1000000}};
  const plat::Region r = plat::Region::Polygon(strip, 4);
  EXPECT_TRUE(r.Contains(505, 0));
  EXPECT_FALSE(r.Contains(400, 0));
  EXPECT_FALSE(r.Contains(505, 9000));
}
