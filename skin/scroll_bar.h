#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

#include "platform/tcolor.h"
#include "skin/orientation.h"
#include "skin/style_apply.h"

namespace kavri {

class TSkinImageButton;
class TSkinScrollTrackBar;

// A skinned scroll bar: decrement button, track with a stretchable thumb, increment button. Stands
// alone or lies over the native bar of a memo or list box, which keeps it in step.
class TSkinScrollBar : public QWidget, public TSkinStyleHooks {
  Q_OBJECT
 public:
  explicit TSkinScrollBar(QWidget* parent = nullptr);

  int Max() const;
  int Min() const;
  int Position() const;
  void SetMax(int value);
  void SetMin(int value);
  void SetPosition(int value);
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(uint16_t value) { FSmallChange = value; }
  int PageSize() const;
  void SetPageSize(int value);
  int LargeChange() const { return PageSize(); }
  void SetLargeChange(uint16_t value);
  int LineButton() const { return FLineButton; }
  void SetLineButton(int value);
  TSkinProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TSkinProgressBarOrientation orientation);
  TSkinUIStyle UIStyle() const { return FUIStyle; }
  void SetUIStyle(TSkinUIStyle style);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  bool GetSliderVisible() const;
  void SetSliderVisible(bool visible);

  // Runs with the inner track as sender when the position changes (from code, the buttons or the track).
  void SetOnChange(std::function<void(QObject*)> handler);
  bool HasOnChange() const;

  TSkinScrollTrackBar* TrackBar() const { return FTrackBar; }
  TSkinImageButton* BtnInc() const { return FBtnInc; }
  TSkinImageButton* BtnDec() const { return FBtnDec; }
  int ThumbLength() const;

  void ApplyContainerStyle(TSkinUIStyle style) override { SetUIStyle(style); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Horizontal() const { return FOrientation == TSkinProgressBarOrientation::skinHorizontal; }
  void Step(int delta);
  void PlaceTrackBarAndButton();
  void UpdatePictures();
  void UpdateSliderPic();

  TSkinScrollTrackBar* FTrackBar = nullptr;
  TSkinImageButton* FBtnInc = nullptr;
  TSkinImageButton* FBtnDec = nullptr;
  QImage FSliderLeft, FSliderCenter, FSliderRight;
  TSkinUIStyle FUIStyle = TSkinUIStyle::Custom;
  TSkinProgressBarOrientation FOrientation = TSkinProgressBarOrientation::skinVertical;
  uint16_t FSmallChange = 1;
  int FLineButton = 0;
  TColor FColor;
  bool FPlacing = false;
};

}  // namespace kavri
