#pragma once
#include <QImage>
#include <QPoint>
#include <string>

#include "platform/tcolor.h"
#include "skin/pixel_ops.h"

class QObject;
class QPainter;
class QWidget;

namespace kavri {

// Nine-slice drawing of a picture into rect (callers pass a rect whose top-left is (0, 0)): the top and
// left corners keep half the picture, the bottom and right corners one pixel less, and the middle row and
// column stretch. Edges and centre always treat magenta as transparent; corners only when transparent.
void SpitDraw(const QImage& bitmap, QImage& canvas, TPixelRect rect, bool transparent);

// Three-slice drawing: the picture is three equal columns; the ends are drawn 1:1 at the rect's left and
// right, the middle stretched between them. The mask colour is the picture's top-left pixel.
void SpitDrawHorizontal(const QImage& bitmap, QImage& canvas, TPixelRect rect, bool transparent);

// Repeats the picture from the canvas origin until rect's width and height are covered.
void TileDraw(QImage& canvas, const QImage& picture, TPixelRect rect);

// Paints the control's parent (its background and its own painting, not its other children) under the
// control into canvas, which is the control's off-screen bitmap. Nothing without a parent.
void DoTrans(QImage& canvas, QWidget* control);

// Two one-pixel rings round the whole area: outer colour outermost, inner colour one pixel inside.
// System colours are resolved first.
void DrawControlBorder(QImage& canvas, TColor outer, TColor inner);
// The same on a widget; call it at the end of that widget's own paintEvent.
void DrawControlBorder(QWidget* control, TColor outer, TColor inner);
void DrawControlBorder(QPainter& painter, int width, int height, TColor outer, TColor inner);

void RoundPicture(QImage& bitmap);   // quarter turn counter-clockwise: (x, y) -> (y, W-1-x)
void RoundPicture3(QImage& bitmap);  // quarter turn clockwise: (x, y) -> (H-1-y, x)
void RoundPicture2(QImage& bitmap);  // top to bottom mirror: (x, y) -> (x, H-1-y)

// All four edges inclusive.
bool InRect(QPoint point, TPixelRect rect);
bool InRect(int x, int y, TPixelRect rect);

TPixelRect GetWorkAreaRect();
void PlaceControl(QWidget* control, QPoint point);
void PlaceControl(QWidget* control, TPixelRect rect);
std::string PCharToStr(const char* text);
// Whether the object's class declares a property of that name, ignoring case.
bool IsHasProperty(const QObject* object, const std::string& name);
// Lets the parent show through the widget where it paints nothing.
void SetWinControlTransparent(QWidget* control);
// Shapes the window to the picture's pixels that differ from the transparent colour.
void SetBitmapWindow(QWidget* window, const QImage& bitmap, TColor transparentColor);

}  // namespace kavri
