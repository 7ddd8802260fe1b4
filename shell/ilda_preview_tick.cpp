#include "shell/ilda_preview_tick.h"

#include <QPixmap>

namespace kavri {

void ShowNextIldaPreviewFrame(TIldaPreviewAnimation& animation, QImage& bitmap, QLabel* image, QLabel* pointCount,
                              bool paint) {
  int number = 0;
  const TILDAframe* frame = animation.Tick(number);
  if (!frame || !paint) return;
  TCanvas canvas(bitmap);
  DrawIldaPreviewFrame(canvas, *frame, number);
  image->setPixmap(QPixmap::fromImage(bitmap));
  pointCount->setNum(static_cast<int>(frame->points.size()));
}

}  // namespace kavri
