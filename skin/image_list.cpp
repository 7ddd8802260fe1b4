#include "skin/image_list.h"

#include <algorithm>

namespace kavri {

int TImageList::Add(const QImage& picture) {
  const int first = Count();
  if (picture.isNull() || FWidth <= 0 || FHeight <= 0) return first;
  // Kept with their alpha: tool bar and menu pictures are drawn over the control's own face.
  const QImage source = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const int count = std::max(1, source.width() / FWidth);
  for (int i = 0; i < count; ++i) FImages.push_back(source.copy(i * FWidth, 0, FWidth, FHeight));
  return first;
}

int TImageList::AddMasked(const QImage& picture, TColor mask) {
  if (picture.isNull()) {
    FImages.emplace_back();
    return Count() - 1;
  }
  QImage keyed = picture.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = qRgb(GetRValue(mask), GetGValue(mask), GetBValue(mask));
  for (int y = 0; y < keyed.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    for (int x = 0; x < keyed.width(); ++x)
      if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) line[x] = 0;
  }
  return Add(keyed);
}

QImage TImageList::Image(int index) const {
  if (index < 0 || index >= Count()) return {};
  return FImages[static_cast<size_t>(index)];
}

}  // namespace kavri
