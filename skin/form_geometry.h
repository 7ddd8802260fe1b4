#pragma once
// Arithmetic of the themed form: where its panel sits in the window, the border strips around it, the
// resize edges near the window's rim and the window shape with round top corners.
#include <QPoint>
#include <QRegion>
#include <QSize>

#include "skin/pixel_ops.h"

namespace kavri {

struct TFormFrame {
  TPixelRect Panel;                   // the form panel inside the window's client area
  TPixelRect Left, Bottom, Right;     // border strips
  TPixelRect Top;                     // the top line, half the border width thick
};

// The panel starts at the window's top while the title bar shows (the bar is the top edge), else one
// border width down.
TFormFrame FormFrameLayout(QSize client, int borderWidth, bool titleBarVisible);

// The window size that gives the panel the asked width or height under FormFrameLayout.
int FormWidthFor(int panelWidth, int borderWidth);
int FormHeightFor(int panelHeight, int borderWidth, bool titleBarVisible);

// Which edges a point within 5 pixels of the client rim resizes: corners first, then the sides.
constexpr int kResizeRim = 5;
Qt::Edges FormResizeEdges(QPoint point, QSize client);

// Only the top corners are round: a rounded rectangle one pixel larger than the client area, with a
// corner ellipse of r x r, united with squares of 2r at both bottom corners. Empty for r <= 0.
QRegion RoundCornerRegion(QSize client, int r);

}  // namespace kavri
