#pragma once
// Pixel checks the data-aware control tests share.
#include <QImage>
#include <QRect>

namespace kavri_test {

// A cell with nothing drawn in it is one colour inside its lines.
inline bool CellIsBlank(const QImage& image, const QRect& cell) {
  const QRect inner = cell.adjusted(2, 2, -3, -3);
  const QRgb first = image.pixel(inner.topLeft());
  for (int y = inner.top(); y <= inner.bottom(); ++y)
    for (int x = inner.left(); x <= inner.right(); ++x)
      if (image.pixel(x, y) != first) return false;
  return true;
}

}  // namespace kavri_test
