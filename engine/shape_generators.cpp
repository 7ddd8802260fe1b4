#include "engine/shape_generators.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/numeric.h"

namespace kavri {

namespace {

struct TXY {
  int x;
  int y;
  bool operator==(const TXY&) const = default;
};

void Append(DrawingObject& list, int x, int y) {
  PointRecord p;
  p.x = x;
  p.y = y;
  list.Add(p);
}

void AppendAll(DrawingObject& list, const std::vector<TXY>& points) {
  for (const TXY& p : points) Append(list, p.x, p.y);
}

int Trunc(double v) { return TruncToInt(v); }

// Drops every point closer than `spacing` to the last point kept, walking from the first.
void ThinBySpacing(std::vector<TXY>& points, int spacing) {
  if (points.size() < 2) return;
  const int64_t limit = static_cast<int64_t>(spacing) * spacing;
  std::vector<TXY> kept{points.front()};
  for (size_t i = 1; i < points.size(); ++i) {
    const int64_t dx = points[i].x - kept.back().x, dy = points[i].y - kept.back().y;
    if (dx * dx + dy * dy >= limit) kept.push_back(points[i]);
  }
  points = std::move(kept);
}

void DropRepeats(std::vector<TXY>& points) {
  points.erase(std::unique(points.begin(), points.end()), points.end());
}

}  // namespace

void LineToPoints(int x0, int y0, int x1, int y1, int step, DrawingObject& list) {
  const int s = std::max(step, 1);
  const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  if (dy == 0 && dx > s) {
    if (x0 < x1)
      for (int x = x0 + s; x < x1; x += s) Append(list, x, y0);
    else
      for (int x = x0 - s; x > x1; x -= s) Append(list, x, y0);
    return;
  }
  if (dx == 0 && dy > s) {
    if (y0 < y1)
      for (int y = y0 + s; y < y1; y += s) Append(list, x0, y);
    else
      for (int y = y0 - s; y > y1; y -= s) Append(list, x0, y);
    return;
  }
  if (dx == 0 || dy == 0) return;
  const float k = static_cast<float>(y1 - y0) / static_cast<float>(x1 - x0);
  const float b = static_cast<float>(y0) - static_cast<float>(x0) * k;
  const double length = (y1 - y0) / std::sin(std::atan2(static_cast<double>(y1 - y0), static_cast<double>(x1 - x0)));
  const int64_t n = std::max<int64_t>(1, static_cast<int64_t>(std::trunc(length / s)));
  if (dy > dx && dy > s) {
    // A step that rounds down to 0 would never reach the end.
    const int d = static_cast<int>(std::max<int64_t>(1, dy / n));
    if (y0 < y1)
      for (int y = y0 + d; y < y1; y += d) Append(list, Trunc((static_cast<float>(y) - b) / k), y);
    else
      for (int y = y0 - d; y > y1; y -= d) Append(list, Trunc((static_cast<float>(y) - b) / k), y);
  } else if (dy <= dx && dx > s) {
    const int d = static_cast<int>(std::max<int64_t>(1, dx / n));
    if (x0 < x1)
      for (int x = x0 + d; x < x1; x += d) Append(list, x, Trunc(k * static_cast<float>(x) + b));
    else
      for (int x = x0 - d; x > x1; x -= d) Append(list, x, Trunc(k * static_cast<float>(x) + b));
  }
}

void EllipseToPoints(int x0, int y0, int x1, int y1, int minSpacing, DrawingObject& list) {
  const int a = std::abs(x1 - x0), bAxis = std::abs(y1 - y0);
  if (a == 0 || bAxis == 0) return;
  const int cx = x0 + (x1 - x0) / 2, cy = y0 + (y1 - y0) / 2;
  const double quarter = 1.5707963;
  const int n = Trunc(std::sqrt(static_cast<double>(a) * a + static_cast<double>(bAxis) * bAxis) * 0.2 + 2);
  const double step = quarter / n;
  const double a2 = static_cast<double>(a) * a, b2 = static_cast<double>(bAxis) * bAxis;

  std::vector<TXY> first, second, third, fourth;
  for (double t = 0; t < quarter; t += step) {
    const double tanT = std::tan(t);
    const double d = tanT * tanT / b2 + 1.0 / a2;
    if (d == 0) continue;
    const double x = 0.5 / std::sqrt(d), y = x * tanT;
    first.push_back({Trunc(cx + x), Trunc(cy + y)});
    second.push_back({Trunc(cx - x), Trunc(cy + y)});
    third.push_back({Trunc(cx - x), Trunc(cy - y)});
    fourth.push_back({Trunc(cx + x), Trunc(cy - y)});
  }
  first.push_back({cx, std::max(y0, y1)});
  third.push_back({cx, std::min(y0, y1)});
  std::vector<TXY> points = std::move(first);
  points.insert(points.end(), second.rbegin(), second.rend());
  points.insert(points.end(), third.begin(), third.end());
  points.insert(points.end(), fourth.rbegin(), fourth.rend());

  ThinBySpacing(points, minSpacing);
  DropRepeats(points);
  if (!points.empty() && !(points.front() == points.back())) points.push_back(points.front());
  AppendAll(list, points);
}

namespace {

double ArcAngle(int cx, int cy, int x, int y) {
  if (y == cy) return x > cx ? 0.0 : 3.1415926;  // the centre itself never comes here
  if (x == cx) return y > cy ? 1.5707963 : 4.7123889;
  return std::atan2(static_cast<double>(y - cy), static_cast<double>(x - cx));
}

}  // namespace

void ArcToPoints(int cx, int cy, int x1, int y1, int x2, int y2, int minSpacing, DrawingObject& list) {
  const double dx = static_cast<double>(cx) - x1, dy = static_cast<double>(cy) - y1;
  const double r2 = dx * dx + dy * dy;
  if (r2 == 0 || (x2 == cx && y2 == cy)) return;
  const double r = std::sqrt(r2);
  const double a1 = ArcAngle(cx, cy, x1, y1), a2 = ArcAngle(cx, cy, x2, y2);
  std::vector<TXY> points;
  if (a1 < a2)
    for (double t = a1; t <= a2; t += 0.001) points.push_back({Trunc(cx + r * std::cos(t)), Trunc(cy + r * std::sin(t))});
  else if (a2 < a1)
    for (double t = a1; t >= a2; t -= 0.001) points.push_back({Trunc(cx + r * std::cos(t)), Trunc(cy + r * std::sin(t))});
  ThinBySpacing(points, minSpacing);
  AppendAll(list, points);
}

void CircleToPoints(int cx, int cy, int x1, int y1, int sides, DrawingObject& list) {
  if (sides < 3) return;
  const double r = std::hypot(static_cast<double>(x1) - cx, static_cast<double>(y1) - cy);
  if (r == 0) return;
  const double side = 2 * r * std::sin(3.1416 / sides);
  double lastX = cx + r, lastY = cy;
  std::vector<TXY> points;
  for (double t = 0; t <= 6.2832; t += 0.001) {
    const double px = cx + r * std::cos(t), py = cy + r * std::sin(t);
    const double d = std::hypot(lastX - px, lastY - py);
    if (Trunc(side - d) == 0) {
      points.push_back({Trunc(px), Trunc(py)});
      lastX = px;
      lastY = py;
    }
  }
  if (!points.empty()) points.push_back(points.front());
  AppendAll(list, points);
}

}  // namespace kavri
