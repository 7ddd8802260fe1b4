#include "engine/render.h"

#include <algorithm>

#include "engine/colour_tables.h"
#include "engine/marked_points.h"
#include "platform/picture_loader.h"

namespace kavri {

namespace {

constexpr TColor kGridGrey = 0x808080;
constexpr TColor kMarkerRed = 0x0000FF;

TColor PaletteColour(int index) { return ColorIndexToTColor(static_cast<uint8_t>(std::clamp(index, 0, 255))); }

void SolidPen(TCanvas& canvas, TColor colour) {
  canvas.Pen.Color = colour;
  canvas.Pen.Width = 1;
  canvas.Pen.Style = TPenStyle::Solid;
}

// One step of the path: the line (or move) to (x, y) of point i in the point's colour, a blanked
// move in the blanking colour or invisible when that is 0.
void PathStep(TCanvas& canvas, const PointRecord& p, int x, int y, bool first, int blankColor) {
  SolidPen(canvas, PaletteColour(p.colour));
  if (p.blanked != 0) {
    if (blankColor != 0)
      canvas.Pen.Color = PaletteColour(blankColor);
    else
      canvas.MoveTo(x, y);
  }
  if (first)
    canvas.MoveTo(x, y);
  else
    canvas.LineTo(x, y);
}

void RedSquare(TCanvas& canvas, int x, int y, int half) {
  SolidPen(canvas, kMarkerRed);
  canvas.Brush.Color = kMarkerRed;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Rectangle(x - half, y - half, x + half, y + half);
  canvas.Brush.Style = TBrushStyle::Clear;
}

template <typename Marker>
void DrawPath(TCanvas& canvas, const DrawingObject& list, int blankColor, int divisor, Marker marker) {
  const int d = std::max(divisor, 1);
  bool first = true;
  for (const auto& point : list.Points()) {
    const PointRecord& p = *point;
    if (p.state == kMarkedForDeletion) continue;
    const int x = p.x / d, y = p.y / d;
    PathStep(canvas, p, x, y, first, blankColor);
    first = false;
    marker(p, x, y);
  }
}

}  // namespace

void DrawEditorGrid(TCanvas& canvas, const QImage* picture, int stepX, int stepY, int backColor) {
  canvas.Brush.Color = PaletteColour(backColor);
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.FillRect(0, 0, kEditorCanvasSize, kEditorCanvasSize);
  if (picture && !picture->isNull()) canvas.Draw(0, 0, *picture);

  SolidPen(canvas, kGridGrey);
  if (stepX >= 1 && stepY >= 1)
    for (int x = 0; x < 511; x += stepX)
      for (int y = 0; y < 511; y += stepY) canvas.Ellipse(x - 1, y - 1, x + 1, y + 1);

  canvas.Pen.Style = TPenStyle::Dash;
  canvas.MoveTo(256, 0);
  canvas.LineTo(256, 510);
  canvas.MoveTo(0, 256);
  canvas.LineTo(510, 256);
  canvas.Pen.Style = TPenStyle::Solid;
  canvas.Brush.Style = TBrushStyle::Clear;
}

bool DrawEditorGrid(TCanvas& canvas, bool withBackground, const std::string& pictureFile, int stepX, int stepY,
                    int backColor, std::string* error) {
  QImage picture;
  const bool pictureOk = !withBackground || LoadPicture(pictureFile, &picture, error);
  DrawEditorGrid(canvas, picture.isNull() ? nullptr : &picture, stepX, stepY, backColor);
  return pictureOk;
}

void DrawPointLists(TCanvas& canvas, const DrawingObject& list, int blankColor, int divisor) {
  DrawPath(canvas, list, blankColor, divisor, [](const PointRecord&, int, int) {});
}

void DrawPointListsMarked(TCanvas& canvas, const DrawingObject& list, int blankColor, int divisor) {
  DrawPath(canvas, list, blankColor, divisor, [&](const PointRecord&, int x, int y) { RedSquare(canvas, x, y, 2); });
}

void DrawEditorPoints(TCanvas& canvas, const DrawingObject& list, bool showSelection, bool showKinds,
                      int blankColor) {
  DrawPath(canvas, list, blankColor, 1, [&](const PointRecord& p, int x, int y) {
    if (showSelection && p.state == 1) {
      RedSquare(canvas, x, y, 3);
      return;
    }
    const TColor colour = PaletteColour(p.colour);
    SolidPen(canvas, colour);
    canvas.Brush.Color = colour;
    canvas.Brush.Style = TBrushStyle::Clear;
    if (showKinds && p.kind == 2)
      canvas.Rectangle(x - 2, y - 2, x + 2, y + 2);
    else if (showKinds && (p.kind == 0 || p.kind == 1))
      canvas.Ellipse(x - 2, y - 2, x + 2, y + 2);
    if (p.kind >= 3) canvas.Ellipse(x - 3, y - 3, x + 3, y + 3);
  });
}

}  // namespace kavri
