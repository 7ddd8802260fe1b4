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

 private:
  TAttachedScrollBar FVBar;
};

}  // namespace kavri
