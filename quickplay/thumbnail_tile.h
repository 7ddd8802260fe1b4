#pragma once
// One 64 x 64 tile of Quick play's thumbnail grid: shows a picture, tells of clicks and double
// clicks.
#include <QLabel>
#include <functional>

namespace kavri {

class TThumbnailTile : public QLabel {
  Q_OBJECT
 public:
  explicit TThumbnailTile(QWidget* parent = nullptr);

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace kavri
