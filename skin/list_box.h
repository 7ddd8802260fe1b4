#pragma once
#include <QListWidget>

#include "skin/attached_scroll.h"

namespace kavri {

// A list box with a flat two-colour frame and a skinned vertical bar laid over its own; the bar is
// hidden while every item fits.
class TSkinListBox : public TScrollBarHost<QListWidget> {
  Q_OBJECT
 public:
  explicit TSkinListBox(QWidget* parent = nullptr);

  TSkinScrollBar* VScrollBar() const { return FVBar.Bar(); }
  void SetVScrollBar(TSkinScrollBar* bar);

  void UpdateScrollBarsPos() override;
  void UpdateScrollBars() override;

  // The box keeps the width its layout gives it, whatever it holds: a name longer than that scrolls
  // sideways, so that re-reading a list never makes its window grow. A base width makes it exactly
  // that wide; without one it asks for kDefaultWidth and takes what its layout gives it.
  void SetBaseWidth(int width);
  static constexpr int kDefaultWidth = 200;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 private:
  TAttachedScrollBar FVBar;
  int FBaseWidth = 0;
};

}  // namespace kavri
