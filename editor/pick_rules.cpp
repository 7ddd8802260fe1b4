#include "editor/pick_rules.h"

namespace kavri {

bool WithinReach(const PointRecord& q, int px, int py) {
  return px - 5 < q.x && q.x < px + 5 && py - 5 < q.y && q.y < py + 5;
}

bool InBox(const PointRecord& q, const PointRecord& a, const PointRecord& b) {
  const long long ax = a.x - q.x, bx = b.x - q.x, ay = a.y - q.y, by = b.y - q.y;
  return ax * bx < 1 && ay * by < 1;
}

bool SegmentHit(const PointRecord& a, const PointRecord& b, int px, int py) {
  const double ca = static_cast<double>(a.y) - b.y;
  const double cb = static_cast<double>(b.x) - a.x;
  const double cc = static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
  const double norm = ca * ca + cb * cb;
  if (norm == 0) return WithinReach(a, px, py);
  const double side = ca * px + cb * py + cc;
  const double d2 = side * side / norm;
  const long long betweenX = static_cast<long long>(a.x - px) * (b.x - px);
  const long long betweenY = static_cast<long long>(a.y - py) * (b.y - py);
  return d2 < 5 && (betweenX < 0 || betweenY < 0);
}

size_t FirstHitSegment(const DrawingObject& object, int px, int py) {
  for (size_t i = 1; i < object.Count(); ++i)
    if (SegmentHit(object[i - 1], object[i], px, py)) return i;
  return 0;
}

}  // namespace kavri
