#pragma once
#include <QImage>
#include <QWidget>

#include "platform/tcolor.h"
#include "skin/orientation.h"
#include "skin/style_apply.h"

namespace kavri {

// Percentage shown on a progress bar: (position - min) * 100 / (max - min), 0 when min = max; not
// clamped, so a position past Max shows more than 100. Taken in 64 bits (ranges of file sizes).
int64_t ProgressPercent(int position, int min, int max);

// Filled length of a bar whose usable length is `span` pixels; 1 at least (an empty bar still shows
// a one-pixel start), `span` when the position lies past Max.
int ProgressFillLength(int position, int min, int max, int span);

class TSkinProgressBar : public QWidget, public TSkinStyleHooks {
  Q_OBJECT
 public:
  static constexpr int kThickness = 12;

  explicit TSkinProgressBar(QWidget* parent = nullptr);

  int Max() const { return FMax; }
  int Min() const { return FMin; }
  int Position() const { return FPosition; }
  void SetMax(int value);
  void SetMin(int value);
  void SetPosition(int value);
  void StepIt() { StepBy(1); }
  void StepBy(int delta);

  TSkinUIStyle UIStyle() const { return FUIStyle; }
  void SetUIStyle(TSkinUIStyle style);
  TSkinProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TSkinProgressBarOrientation orientation);

  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor color);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  TColor CaptionColor() const { return FCaptionColor; }
  void SetCaptionColor(TColor color);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool show);
  bool SmartShowCaption() const { return FSmartShowCaption; }
  void SetSmartShowCaption(bool smart);
  const QImage& Picture() const { return FPicture; }
  void SetPicture(const QImage& picture);

  // The percentage text, e.g. "50%".
  QString Text() const { return FText; }

  // Only sizes 12 thick are accepted: the thickness is held fixed, the length follows resizes.
  bool CanResize(int width, int height) const;

  void ApplyContainerStyle(TSkinUIStyle style) override;

  // Paints the bar as the screen shows it (tests and the screenshot panel use it too).
  QImage Render();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void UpdateProgress();
  void UpdatePicture();

  int FMax = 100;
  int FMin = 0;
  int FPosition = 50;
  TSkinUIStyle FUIStyle = TSkinUIStyle::Custom;
  TSkinProgressBarOrientation FOrientation = TSkinProgressBarOrientation::skinHorizontal;
  TColor FBorderColor = 0;
  TColor FColor;
  QImage FPicture;
  bool FShowCaption = true;
  TColor FCaptionColor = 0;
  bool FSmartShowCaption = false;
  QString FText;
};

}  // namespace kavri
