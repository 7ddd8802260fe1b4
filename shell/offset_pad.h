#pragma once
// The offset pad of the "Settings" window: a black square with a grey cross through its centre and
// a red ring at the marker.
#include <QImage>
#include <QWidget>
#include <functional>

namespace kavri {

class TOffsetPad : public QWidget {
  Q_OBJECT
 public:
  explicit TOffsetPad(QWidget* parent = nullptr);

  void DrawMarker(int x, int y);
  const QImage& Picture() const { return picture_; }

  std::function<void(int x, int y)> onMouseDown;
  std::function<void(int x, int y)> onMouseMove;
  std::function<void()> onMouseUp;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace kavri
