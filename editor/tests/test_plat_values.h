// How failed expectations print the layer's points and rectangles: both values in full.
#pragma once

#include "platform/region.h"

#include <ostream>

namespace plat {

inline void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }

inline void PrintTo(const Rect& r, std::ostream* os) {
  *os << "{" << r.left << "," << r.top << " - " << r.right << "," << r.bottom << "}";
}

}  // namespace plat
