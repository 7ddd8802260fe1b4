#include "editor/preview_image.h"

#include <QMouseEvent>
#include <QPixmap>

namespace kavri {

TPreviewImage::TPreviewImage(QWidget* parent, const char* name)
    : QLabel(parent), bitmap_(kBitmapSize, kBitmapSize, QImage::Format_RGB32), canvas_(bitmap_) {
  setObjectName(name);
  setFixedSize(kShownSize, kShownSize);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Clear();
  Show();
}

TCanvas& TPreviewImage::Clear() {
  bitmap_.fill(Qt::black);
  canvas_.Pen = TPen{};
  canvas_.Brush = TBrush{};
  return canvas_;
}

void TPreviewImage::Show() { setPixmap(QPixmap::fromImage(bitmap_)); }

void TPreviewImage::mousePressEvent(QMouseEvent* event) {
  if (OnMouseDown) OnMouseDown(event->position().toPoint().x(), event->position().toPoint().y());
  QLabel::mousePressEvent(event);
}

}  // namespace kavri
