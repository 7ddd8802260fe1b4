#pragma once
// The 256 x 256 preview the import and rotation windows draw into and show beside their controls.
#include <QImage>
#include <QLabel>
#include <functional>

#include "platform/canvas.h"

namespace kavri {

class TPreviewImage : public QLabel {
  Q_OBJECT
 public:
  static constexpr int kBitmapSize = 256;
  static constexpr int kShownSize = 255;

  TPreviewImage(QWidget* parent, const char* name);
  // The bitmap to draw on; Show() puts what was drawn on screen.
  QImage& Bitmap() { return bitmap_; }
  // Fills the bitmap black.
  TCanvas& Clear();
  void Show();

  // Any mouse button, in bitmap pixels.
  std::function<void(int x, int y)> OnMouseDown;

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage bitmap_;
  TCanvas canvas_;
};

}  // namespace kavri
