#include "quickplay/thumbnail_tile.h"

#include <QMouseEvent>

#include "quickplay/thumbnail_grid.h"

namespace kavri {

TThumbnailTile::TThumbnailTile(QWidget* parent) : QLabel(parent) { setFixedSize(kThumbnailSide, kThumbnailSide); }

void TThumbnailTile::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && OnClick) OnClick();
  QLabel::mousePressEvent(event);
}

void TThumbnailTile::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick();
  QLabel::mouseDoubleClickEvent(event);
}

}  // namespace kavri
