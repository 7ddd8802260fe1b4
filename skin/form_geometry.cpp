#include "skin/form_geometry.h"

#include <algorithm>
#include <cmath>

namespace kavri {

TFormFrame FormFrameLayout(QSize client, int borderWidth, bool titleBarVisible) {
  const int w = client.width(), h = client.height(), bw = borderWidth;
  const int top = titleBarVisible ? 0 : bw;
  TFormFrame f;
  f.Panel = {bw, top, bw + std::max(w - 2 * bw, 0), top + std::max(h - bw - top, 0)};
  f.Left = {0, 0, bw, h};
  f.Bottom = {0, h - bw, w, h};
  f.Right = {w - bw, 0, w, h};
  // A pen of width bw centred on the window's top row: only its lower half lies inside.
  f.Top = {0, 0, w, (bw + 1) / 2};
  return f;
}

int FormWidthFor(int panelWidth, int borderWidth) { return panelWidth + 2 * borderWidth; }
int FormHeightFor(int panelHeight, int borderWidth, bool titleBarVisible) {
  return panelHeight + borderWidth + (titleBarVisible ? 0 : borderWidth);
}

Qt::Edges FormResizeEdges(QPoint p, QSize client) {
  const int w = client.width(), h = client.height();
  if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h) return {};
  const bool left = p.x() < kResizeRim, right = p.x() >= w - kResizeRim;
  const bool top = p.y() < kResizeRim, bottom = p.y() >= h - kResizeRim;
  if (top && left) return Qt::TopEdge | Qt::LeftEdge;
  if (top && right) return Qt::TopEdge | Qt::RightEdge;
  if (bottom && right) return Qt::BottomEdge | Qt::RightEdge;
  if (bottom && left) return Qt::BottomEdge | Qt::LeftEdge;
  if (left) return Qt::LeftEdge;
  if (top) return Qt::TopEdge;
  if (right) return Qt::RightEdge;
  if (bottom) return Qt::BottomEdge;
  return {};
}

QRegion RoundCornerRegion(QSize client, int r) {
  if (r <= 0 || client.isEmpty()) return {};
  const int w = client.width() + 1, h = client.height() + 1;
  // The corner ellipse is r x r, so its radius is r / 2; each of the top rows is cut by the arc.
  const double radius = r / 2.0;
  QRegion region;
  const int arcRows = std::min(static_cast<int>(std::ceil(radius)), h);
  for (int y = 0; y < arcRows; ++y) {
    const double dy = radius - (y + 0.5);
    const double dx = radius - std::sqrt(std::max(radius * radius - dy * dy, 0.0));
    const int inset = static_cast<int>(std::lround(dx));
    if (w - 2 * inset > 0) region += QRect(inset, y, w - 2 * inset, 1);
  }
  if (h > arcRows) region += QRect(0, arcRows, w, h - arcRows);
  region += QRect(0, h - 2 * r, 2 * r, 2 * r);
  region += QRect(w - 2 * r, h - 2 * r, 2 * r, 2 * r);
  return region & QRect(0, 0, w, h);
}

}  // namespace kavri
