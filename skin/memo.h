#pragma once
#include <QPlainTextEdit>

#include "skin/attached_scroll.h"

namespace kavri {

// A multi-line edit with a flat two-colour frame and skinned scroll bars laid over its own.
class TSkinMemo : public TScrollBarHost<QPlainTextEdit> {
  Q_OBJECT
 public:
  explicit TSkinMemo(QWidget* parent = nullptr);

  TSkinScrollBar* VScrollBar() const { return FVBar.Bar(); }
  TSkinScrollBar* HScrollBar() const { return FHBar.Bar(); }
  void SetVScrollBar(TSkinScrollBar* bar);
  void SetHScrollBar(TSkinScrollBar* bar);

  void UpdateScrollBarsPos() override;
  void UpdateScrollBars() override;

 private:
  void UpdateNativeBars();

  TAttachedScrollBar FVBar, FHBar;
};

}  // namespace kavri
