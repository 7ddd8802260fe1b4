#pragma once
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <functional>

#include "platform/tcolor.h"
#include "skin/image_panel.h"
#include "skin/orientation.h"
#include "skin/style_apply.h"

class QTimer;

namespace kavri {

// The skinned slider: a bar picture with a separate thumb child that is dragged. The windows change
// the value through SetPosition and react through OnChange, which also runs for changes from code.
class TSkinTrackBar : public QWidget, public TSkinStyleHooks {
  Q_OBJECT
 public:
  static constexpr int kPageRepeatMs = 500;

  explicit TSkinTrackBar(QWidget* parent = nullptr);
  ~TSkinTrackBar() override;

  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int Position() const { return FPosition; }
  int PageSize() const { return FPageSize; }
  void SetPosition(int value);
  void SetMin(int value);
  void SetMax(int value);
  void SetPageSize(int value);  // 0..100; anything else is ignored

  TSkinProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TSkinProgressBarOrientation orientation);
  TSkinUIStyle UIStyle() const { return FUIStyle; }
  void SetUIStyle(TSkinUIStyle style);
  TColor Color() const { return FColor; }
  virtual void SetColor(TColor color);

  const QImage& BarImage() const { return FBarImage; }
  void SetBarImage(const QImage& picture);
  const QImage& SliderImage() const;
  virtual void SetSliderImage(const QImage& picture);

  // Runs with the track bar as sender whenever the position changes.
  std::function<void(QObject*)> OnChange;

  TSkinImagePanel* Slider() const { return FSlider; }
  bool Dragging() const { return FMouseDown; }
  bool PageRepeating() const { return FTimer != nullptr; }

  void ApplyContainerStyle(TSkinUIStyle style) override { SetUIStyle(style); }

  // The bar as it paints itself, thumb included.
  QImage Render();

 protected:
  virtual void UpdatePicture();
  void UpdateControl();
  // Places the thumb for the current position and reports a changed position.
  void UpdateSlider();
  void SetSize();
  QPoint GetSliderPosFromPosition() const;
  int64_t GetPositionFromSliderPos(int x, int y) const;

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool Horizontal() const { return FOrientation == TSkinProgressBarOrientation::skinHorizontal; }
  int Along(QPoint p) const { return Horizontal() ? p.x() : p.y(); }
  int TrackLength() const { return Horizontal() ? width() : height(); }
  int SliderLength() const;
  void PageStep();
  void StopPageRepeat();

  QImage FBarImage;
  QTimer* FTimer = nullptr;
  TSkinImagePanel* FSlider = nullptr;
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FLastPos = 0;
  TSkinProgressBarOrientation FOrientation = TSkinProgressBarOrientation::skinHorizontal;
  TSkinUIStyle FUIStyle = TSkinUIStyle::Custom;
  TColor FColor;
  bool FMouseDown = false;
  int FMouseDownPos = 0;
  int FPageSize = 10;
  QImage FBarBmp;
  QPoint FPressPoint;  // where the page-repeating button is, in client coordinates
};

// The track of the skinned scroll bar: its thumb may be hidden and takes the size of its picture.
class TSkinScrollTrackBar : public TSkinTrackBar {
  Q_OBJECT
 public:
  explicit TSkinScrollTrackBar(QWidget* parent = nullptr) : TSkinTrackBar(parent) {}
  bool GetSliderVisible() const;
  void SetSliderVisible(bool visible);
  void UpdateSliderSize();
};

}  // namespace kavri
