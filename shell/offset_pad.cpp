#include "shell/offset_pad.h"

#include <QMouseEvent>
#include <QPainter>

namespace kavri {

TOffsetPad::TOffsetPad(QWidget* parent) : QWidget(parent), picture_(256, 256, QImage::Format_RGB32) {
  setFixedSize(picture_.size());
  setCursor(Qt::CrossCursor);
  DrawMarker(128, 128);
}

void TOffsetPad::DrawMarker(int x, int y) {
  picture_.fill(Qt::black);
  QPainter painter(&picture_);
  painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DashLine));
  painter.drawLine(128, 0, 128, 255);
  painter.drawLine(0, 128, 255, 128);
  painter.setPen(QPen(QColor(0xFF, 0, 0), 1, Qt::SolidLine));
  painter.drawEllipse(QRect(QPoint(x - 3, y - 3), QPoint(x + 3, y + 3)));
  painter.end();
  update();
}

void TOffsetPad::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

void TOffsetPad::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && onMouseDown) onMouseDown(event->position().toPoint().x(), event->position().toPoint().y());
}

void TOffsetPad::mouseMoveEvent(QMouseEvent* event) {
  if (onMouseMove) onMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
}

void TOffsetPad::mouseReleaseEvent(QMouseEvent*) {
  if (onMouseUp) onMouseUp();
}

}  // namespace kavri
