#include "skin/image_list.h"


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

QImage TImageList::Image(int index) const {
  if (index < 0 || index >= Count()) return {};
  return FImages[static_cast<size_t>(index)];
}

}  // namespace kavri
