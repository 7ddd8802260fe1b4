#include "quickplay/text_roll_window.h"

#include <cmath>

#include "engine/transforms.h"

namespace kavri {

void BuildTextRollWindowH(const TPlayDrawing& outlines, size_t first, size_t last, int heightFactor, bool largeSize,
                          TPlayDrawing& window) {
  window.Clear();
  const double scaleX = largeSize ? 1.0 : 12.0, scaleY = largeSize ? 1.0 : 9.0;
  const int lower = 128 - 128 / heightFactor;
  for (size_t c = first; c <= last && c < outlines.ObjectCount(); ++c) {
    window.BeginObject();
    for (PointRecord p : outlines.Object(c)) {
      p.x = static_cast<int32_t>(std::trunc(p.x / scaleX));
      p.y = static_cast<int32_t>(std::trunc(p.y / scaleY + lower));
      window.Append(p);
    }
  }
}

void BuildTextRollWindowV(const TPlayDrawing& outlines, size_t first, size_t end, TPlayDrawing& window) {
  window.Clear();
  for (size_t line = first; line < end && line < outlines.ObjectCount(); ++line) {
    window.BeginObject();
    for (const PointRecord& p : outlines.Object(line)) window.Append(p);
  }
}

namespace {

enum class TEdge { None, Left, Right, Top, Bottom };

struct TEdgeCut {
  TEdge edge;

  bool Vertical() const { return edge == TEdge::Left || edge == TEdge::Right; }
  // Below 0 beyond the edge, 0 on it, above 0 inside.
  int Side(const PointRecord& p) const {
    const int32_t c = Vertical() ? p.x : p.y;
    const bool low = edge == TEdge::Left || edge == TEdge::Top;
    const int32_t inside = low ? c : 255 - c;
    return inside < 0 ? -1 : inside > 0 ? 1 : 0;
  }
  void Cross(const PointRecord& a, const PointRecord& b, int& x, int& y) const {
    switch (edge) {
      case TEdge::Left: ClipToLeftEdge(a.x, a.y, b.x, b.y, x, y); return;
      case TEdge::Right: ClipToRightEdge(a.x, a.y, b.x, b.y, x, y); return;
      case TEdge::Top: ClipToTopEdge(a.x, a.y, b.x, b.y, x, y); return;
      case TEdge::Bottom: ClipToBottomEdge(a.x, a.y, b.x, b.y, x, y); return;
      case TEdge::None: return;
    }
  }
};

// Appends one window list, placed, as a frame list cut at the edge.
template <class Place>
void AppendPlacedList(std::span<const PointRecord> list, Place place, TEdgeCut cut, TPlayDrawing& frame) {
  frame.BeginObject();
  PointRecord a;
  bool first = true;
  for (const PointRecord& stored : list) {
    PointRecord b = place(stored);
    if (cut.edge == TEdge::None) {
      frame.Append(b);
      continue;
    }
    const int sideB = cut.Side(b);
    if (!first) {
      const int sideA = cut.Side(a);
      if (sideA * sideB < 0 && !b.blanked) {
        PointRecord edge;
        cut.Cross(a, b, edge.x, edge.y);
        edge.kind = 2;  // an edge point is a line point like the stroke's own
        edge.colour = a.colour;
        edge.blanked = sideA < 0 ? 1 : 0;
        frame.Append(edge);
      } else if (sideA < 0 && sideB == 0) {
        b.blanked = 1;
      }
    }
    first = false;
    a = b;
    if (sideB >= 0) frame.Append(b);
  }
}

template <class Place>
void ClipTextWindow(const TPlayDrawing& window, TEdge firstEdge, TEdge lastEdge, Place place, TPlayDrawing& frame) {
  frame.Clear();
  const size_t count = window.ObjectCount();
  for (size_t j = 0; j < count; ++j) {
    const TEdge edge = j == 0 ? firstEdge : (j + 1 == count ? lastEdge : TEdge::None);
    AppendPlacedList(window.Object(j), [&](PointRecord p) { return place(static_cast<int32_t>(j), p); }, {edge}, frame);
  }
}

}  // namespace

void ClipTextWindowH(const TPlayDrawing& window, int offset, int rowsOrColumns, TPlayDrawing& frame) {
  ClipTextWindow(window, TEdge::Left, TEdge::Right,
                 [&](int32_t j, PointRecord p) {
                   p.x = j * 256 / rowsOrColumns + p.x - offset;
                   return p;
                 },
                 frame);
}

void ClipTextWindowV(const TPlayDrawing& window, int offset, int rowsOrColumns, TPlayDrawing& frame) {
  ClipTextWindow(window, TEdge::Top, TEdge::Bottom,
                 [&](int32_t j, PointRecord p) {
                   p.y = j * 512 / rowsOrColumns + p.y + offset;
                   return p;
                 },
                 frame);
}

}  // namespace kavri
