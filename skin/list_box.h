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
  ~TSkinListBox() override;

  TSkinScrollBar* VScrollBar() const { return FVBar.Bar(); }
  void SetVScrollBar(TSkinScrollBar* bar);

  void UpdateScrollBarsPos() override;
  void UpdateScrollBars() override;

  // The box is never narrower than its widest item needs (the text with its margins, the frame and
  // the bar laid over the right edge), so no name is shown cut, up to kMaxItemsWidth: a longer name
  // is cut rather than pushing its window off the screen. A base width makes it exactly that wide
  // while its items need less; without one the layout gives it what is left.
  void SetBaseWidth(int width);
  int ItemsWidth() const;
  static constexpr int kMaxItemsWidth = 320;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void ItemsChanged();

  TAttachedScrollBar FVBar;
  int FBaseWidth = 0;
  mutable int FWidestItem = -1;  // text width of the widest item; -1 until measured again
};

}  // namespace kavri
