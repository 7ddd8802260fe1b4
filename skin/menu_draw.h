#pragma once
// Strokes shared by everything that owner-draws menus (the skinned popup and main menus and a
// themed menu bar). Stateless; the Graphite pictures come from the theme picture loader.
#include <QRect>

#include "platform/tcolor.h"

class QFont;
class QMenu;
class QPainter;
class QStyle;

namespace kavri {

// Gives a menu and every sub-menu below it, at any depth, the style that measures and draws its
// items; menus call it whenever items may have been added.
void Menu_SetItemEvent(QMenu* menu, QStyle* style);

void Menu_DrawBorder(QPainter& canvas, const QRect& rect, TColor colour);      // one-pixel frame
void Menu_DrawBackGround(QPainter& canvas, const QRect& rect, TColor colour);  // filled rect
// A separator line at Top + 2 from Left + leftOffset + 4 to Right - 2.
void Menu_DrawLineItem(QPainter& canvas, const QRect& rect, TColor colour, int leftOffset);
void Menu_DrawGraphiteLineItem(QPainter& canvas, const QRect& rect);
void Menu_DrawGraphiteSelectedItem(QPainter& canvas, const QRect& rect);
void Menu_DrawGraphiteNonSelectedItem(QPainter& canvas, const QRect& rect);
// The flat frame of a popped-up menu, drawn inside the menu window's own rectangle: a frame in the
// border colour, a white frame inside it, and the shadow colour along the outer top, right and
// bottom edges. Takes 3 pixels at the top and 2 on the other sides.
void Menu_DrawWindowBorder(QPainter& canvas, const QRect& windowRect, TColor border, TColor shadow);
// The desktop's menu font and menu text colour; false (font untouched) when there is none.
bool Menu_GetSystemFont(QFont& font, TColor* textColour = nullptr);

}  // namespace kavri
