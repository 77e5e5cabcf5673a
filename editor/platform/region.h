// Regions with the window system's rules: a rectangle covers its left and top
// edges but not its right and bottom ones, polygons are filled by the winding
// rule with the same half-open pixel rule.
#pragma once

#include <QRegion>

#include <vector>

namespace plat {

struct Point {
  int x = 0;
  int y = 0;
};
inline bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const Point& a, const Point& b) { return !(a == b); }

// left, top inclusive; right, bottom exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};
inline bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }

class Region {
 public:
  Region() = default;  // empty

  // The pixels left <= x < right, top <= y < bottom (corners swapped into order).
  static Region FromRect(int left, int top, int right, int bottom);
  static Region FromRect(const Rect& r) { return FromRect(r.left, r.top, r.right, r.bottom); }
  // Winding-rule polygon; fewer than three points give the empty region. Parts
  // beyond kPolygonBound pixels from the origin are cut off.
  static constexpr int kPolygonBound = 8192;
  static Region Polygon(const Point* points, int count);
  static Region Polygon(const std::vector<Point>& points) {
    return Polygon(points.data(), static_cast<int>(points.size()));
  }

  void Unite(const Region& other);
  void Subtract(const Region& other);
  void Clear();  // back to empty (the handle is released)

  bool IsEmpty() const;
  // True when any pixel of the rectangle lies in the region; rectangles that
  // only share an edge with it do not meet it.
  bool IntersectsRect(int left, int top, int right, int bottom) const;
  bool IntersectsRect(const Rect& r) const { return IntersectsRect(r.left, r.top, r.right, r.bottom); }
  bool Contains(int x, int y) const;

  const QRegion& qregion() const { return region_; }

 private:
  explicit Region(const QRegion& r) : region_(r) {}
  QRegion region_;
};

}  // namespace plat
