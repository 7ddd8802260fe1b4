#include "skin/menu_draw.h"

#include <QAction>
#include <QApplication>
#include <QFont>
#include <QMenu>
#include <QPainter>
#include <QPalette>

#include "skin/system_colors.h"
#include "skin/skin_pictures.h"

namespace kavri {

namespace {
QColor Rgb(TColor c) { return ToQColor(ColorToRGB(c)); }

// The top rows of a Graphite picture stretched over the rect.
void DrawGraphiteStrip(QPainter& canvas, const QRect& rect, const char* name, int rows) {
  const QImage picture = LoadSkinPicture(name);
  if (picture.isNull() || rect.isEmpty()) return;
  const QRect source(0, 0, picture.width(), std::min(rows, picture.height()));
  canvas.drawImage(rect, picture, source);
}
}  // namespace

void Menu_SetItemEvent(QMenu* menu, QStyle* style) {
  if (!menu) return;
  if (menu->style() != style) menu->setStyle(style);
  for (QAction* action : menu->actions())
    if (QMenu* sub = action->menu()) Menu_SetItemEvent(sub, style);
}

void Menu_DrawBorder(QPainter& canvas, const QRect& rect, TColor colour) {
  canvas.save();
  canvas.setPen(Rgb(colour));
  canvas.setBrush(Qt::NoBrush);
  canvas.drawRect(rect.adjusted(0, 0, -1, -1));
  canvas.restore();
}

void Menu_DrawBackGround(QPainter& canvas, const QRect& rect, TColor colour) {
  canvas.fillRect(rect, Rgb(colour));
}

void Menu_DrawLineItem(QPainter& canvas, const QRect& rect, TColor colour, int leftOffset) {
  canvas.save();
  canvas.setPen(Rgb(colour));
  const int y = rect.top() + 2;
  // The end point (Right - 2, exclusive) is not drawn.
  canvas.drawLine(rect.left() + leftOffset + 4, y, rect.left() + rect.width() - 3, y);
  canvas.restore();
}

void Menu_DrawGraphiteLineItem(QPainter& canvas, const QRect& rect) {
  DrawGraphiteStrip(canvas, rect, "GRAPHITE_MENU_BAR", 12);
}

void Menu_DrawGraphiteSelectedItem(QPainter& canvas, const QRect& rect) {
  DrawGraphiteStrip(canvas, rect, "GRAPHITE_MENU_SELECT", 20);
}

void Menu_DrawGraphiteNonSelectedItem(QPainter& canvas, const QRect& rect) {
  DrawGraphiteStrip(canvas, rect, "GRAPHITE_MENU_BAR", 20);
}

void Menu_DrawWindowBorder(QPainter& canvas, const QRect& windowRect, TColor border, TColor shadow) {
  // In exclusive right/bottom coordinates, as the frame was designed.
  const int l = windowRect.left(), t = windowRect.top();
  const int r = l + windowRect.width(), b = t + windowRect.height();
  canvas.save();
  canvas.setBrush(Qt::NoBrush);
  canvas.setPen(Rgb(border));
  canvas.drawRect(QRect(QPoint(l, t + 1), QPoint(r - 3, b - 3)));  // a stroke covers right + 1
  canvas.setPen(Qt::white);
  canvas.drawRect(QRect(QPoint(l + 1, t + 2), QPoint(r - 4, b - 4)));
  canvas.setPen(Rgb(shadow));
  canvas.drawLine(l, b - 1, r - 2, b - 1);  // bottom
  canvas.drawLine(r - 1, b - 1, r - 1, t + 1);  // right
  canvas.drawLine(r - 1, t, l + 1, t);  // top
  canvas.restore();
}

bool Menu_GetSystemFont(QFont& font, TColor* textColour) {
  if (!qApp) return false;
  font = QApplication::font("QMenu");
  if (textColour) *textColour = FromQColor(QApplication::palette("QMenu").color(QPalette::Active, QPalette::Text));
  return true;
}

}  // namespace kavri
