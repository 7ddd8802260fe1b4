#pragma once
// The editor's 512 x 512 drawing surface. The background colour, background picture and grid are
// kept as a ready layer, rebuilt only when one of them changes; a redraw copies that layer and
// draws the drawing's objects over it. Tool previews that lie under the objects are drawn by each
// redraw between the layer and the objects; those over the objects are drawn at paint time, so
// they come and go without a redraw.
//
//   canvas->SetBackColor(BackColor);
//   canvas->SetGridSteps(GridStep1, GridStep2);
//   canvas->OnMouseDown = [this](const TCanvasMouse& m) { tools.Press(m.Button, m.Ctrl, m.X, m.Y); };
//   canvas->OnDrawUnderObjects = [this](TCanvas& c) { DrawBox(c); };  // drawn by Redraw
//   canvas->OnDrawOverlay = [this](TCanvas& c) { tools.DrawPreview(c); };
//   Label6->setText(QString::number(canvas->Redraw(EditorDrawing, ShowPoints, BlankColor)));
//   canvas->SetConfined(true);  // while a tool waits for its next press
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "engine/drawing.h"
#include "platform/canvas.h"
#include "platform/pointer_confinement.h"

namespace kavri {

// A mouse event in canvas pixels.
struct TCanvasMouse {
  int X = 0;
  int Y = 0;
  Qt::MouseButton Button = Qt::NoButton;  // the button pressed or released; none on a move
  Qt::MouseButtons Buttons;                // the buttons held after the event
  bool Ctrl = false;
};

class TEditorCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit TEditorCanvas(QWidget* parent = nullptr);  // object name "Image90"

  // The layer's inputs; setting a value equal to the current one keeps the layer.
  void SetBackColor(int paletteIndex);
  void SetGridSteps(int step1, int step2);
  // None when null.
  void SetBackPicture(const QImage& picture);
  int BackColor() const { return backColor_; }

  // Removes the points marked for deletion from the drawing, then draws the layer and every
  // object (selected points marked; point-kind markers when showPoints; blanked moves in
  // blankColor). Returns the drawing's point count after the removal.
  size_t Redraw(Drawing& drawing, bool showPoints, int blankColor);

  // The canvas picture as the last redraw left it, without the previews over the objects.
  const QImage& Image() const { return image_; }
  const QImage& Layer() const { return layer_; }

  // While confined the pointer cannot leave the canvas's shown part (on X11), or, where the
  // platform cannot hold it there, the canvas takes every click and drops those outside it; moves are reported
  // clamped to the canvas. Hiding, closing or leaving the window, or a modal box, ends it.
  void SetConfined(bool confined);
  bool Confined() const { return confined_; }
  // Whether the window system itself keeps the pointer on the canvas.
  bool PointerHeld() const { return pointer_.Active(); }

  std::function<void(const TCanvasMouse&)> OnMouseDown;
  std::function<void(const TCanvasMouse&)> OnMouseMove;
  std::function<void(const TCanvasMouse&)> OnMouseUp;
  // Draws previews between the layer and the objects at every redraw.
  std::function<void(TCanvas&)> OnDrawUnderObjects;
  // Draws previews over the canvas picture; call update() when they change.
  std::function<void(TCanvas&)> OnDrawOverlay;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RebuildLayerIfStale();
  void Report(const std::function<void(const TCanvasMouse&)>& handler, QMouseEvent* event);
  void ReleaseConfinement();
  void HoldPointer();
  void HoldPointerAgain();
  bool ConfineToShownPart();
  bool OutsideWhileConfined(const QMouseEvent* event) const;

  QImage layer_;
  QImage image_;
  QImage overlaid_;  // scratch for painting previews, kept to avoid an allocation per paint
  QImage backPicture_;
  int backColor_ = 0;
  int gridStep1_ = 0;
  int gridStep2_ = 0;
  bool layerStale_ = true;
  bool confined_ = false;
  TPointerConfinement pointer_;
  QPointer<QWidget> watchedWindow_;
  QTimer follow_;
};

}  // namespace kavri
