#include "platform/region.h"

#include <QPolygon>

#include <utility>

namespace plat {

Region Region::FromRect(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  return Region(QRegion(QRect(left, top, right - left, bottom - top)));
}

Region Region::Polygon(const Point* points, int count) {
  if (count < 3) return Region();
  QPolygon polygon;
  for (int i = 0; i < count; ++i) polygon << QPoint(points[i].x, points[i].y);
  // A region is kept as one band of rectangles per scan line, and building it takes
  // time growing faster than its height: a polygon reaching far beyond any canvas
  // (coordinates from a hand-made file) is cut to a generous bound first, so that
  // nothing on or near the canvas changes.
  const QRect bound(-kPolygonBound, -kPolygonBound, 2 * kPolygonBound, 2 * kPolygonBound);
  if (!bound.contains(polygon.boundingRect())) {
    QPolygon clipped = polygon.intersected(QPolygon(bound));
    if (clipped.size() < 3) return Region();
    return Region(QRegion(clipped, Qt::WindingFill));
  }
  return Region(QRegion(polygon, Qt::WindingFill));
}

void Region::Unite(const Region& other) { region_ += other.region_; }
void Region::Subtract(const Region& other) { region_ -= other.region_; }
void Region::Clear() { region_ = QRegion(); }
bool Region::IsEmpty() const { return region_.isEmpty(); }

bool Region::IntersectsRect(int left, int top, int right, int bottom) const {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (left == right || top == bottom) return false;  // an empty rectangle covers no pixel
  return region_.intersects(QRect(left, top, right - left, bottom - top));
}

bool Region::Contains(int x, int y) const { return region_.contains(QPoint(x, y)); }

}  // namespace plat
