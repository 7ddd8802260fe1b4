#pragma once
#include <QImage>
#include <vector>

#include "platform/tcolor.h"

namespace kavri {

// A list of equally sized small pictures picked by index (tool bar and menu images).
class TImageList {
 public:
  TImageList(int width = 16, int height = 16) : FWidth(width), FHeight(height) {}
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Count() const { return static_cast<int>(FImages.size()); }
  // Adds one picture, or a strip of several side by side; returns the first new index.
  int Add(const QImage& picture);
  // As Add, with every pixel of the mask colour made transparent. A missing picture still takes its
  // index (drawn as nothing), so the indexes of the pictures after it hold.
  int AddMasked(const QImage& picture, TColor mask);
  // Null for an index outside the list.
  QImage Image(int index) const;

 private:
  int FWidth, FHeight;
  std::vector<QImage> FImages;
};

}  // namespace kavri
