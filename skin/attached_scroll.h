#pragma once
#include <QPointer>
#include <QRect>
#include <optional>

#include <QEvent>

#include "skin/scroll_bar.h"
#include "skin/skin_edit.h"
#include "skin/style_apply.h"

class QAbstractScrollArea;
class QScrollBar;

namespace kavri {

// A skinned scroll bar laid over one native bar of a memo or list box, kept in step with it both
// ways: the native state is copied to the skinned bar (without that copy scrolling anything back),
// and a move of the skinned bar scrolls the control.
class TAttachedScrollBar {
 public:
  enum class TWhenUnavailable { HideThumb, HideBar };

  TAttachedScrollBar(QAbstractScrollArea* control, Qt::Orientation orientation, TWhenUnavailable mode);
  // A bar that outlives its control is handed back as a detach leaves it: its handler would reach
  // a control that is gone.
  ~TAttachedScrollBar() { Attach(nullptr); }
  TAttachedScrollBar(const TAttachedScrollBar&) = delete;
  TAttachedScrollBar& operator=(const TAttachedScrollBar&) = delete;

  TSkinScrollBar* Bar() const { return FBar.data(); }
  // Releases the previous bar (handler cleared, LineButton 0, Max 100, enabled) and takes the new one.
  void Attach(TSkinScrollBar* bar);
  // Lays the bar over the control: `area` is where it goes, in the control's parent coordinates.
  void Place(const QRect& area);
  // Copies the native bar's state: thumb length, availability, range and position. Cheap when
  // nothing changed, so callers may call it on every repaint request.
  void Follow();
  bool UserChanging() const { return FUserChanging; }

 private:
  void UserMoved();
  QScrollBar* Native() const;

  QAbstractScrollArea* FControl;
  Qt::Orientation FOrientation;
  TWhenUnavailable FMode;
  QPointer<TSkinScrollBar> FBar;
  bool FUserChanging = false;
  struct TSnapshot {
    bool available;
    int min, max, page, value, track;
    bool operator==(const TSnapshot&) const = default;
  };
  std::optional<TSnapshot> FLast;
};

// The memo and the list box: a scroll area with the flat two-ring frame that keeps its attached bars
// laid over it and in step with it.
template <typename TBase>
class TScrollBarHost : public TBase, public TSkinStyleHooks {
 public:
  explicit TScrollBarHost(QWidget* parent) : TBase(parent), FBorderColor(GetBorderColor(OwnerForm(parent))) {
    PrepareBorderedScrollArea(this);
  }

  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor color) {
    FBorderColor = color;
    this->update();
  }
  TColor Color() const { return FromQColor(this->palette().color(QPalette::Base)); }
  void ApplyContainerStyle(TSkinUIStyle style) override { SetBorderColor(GetThemeColor(style, 8)); }

  // Lays the bars over the control's edges, then follows the native state.
  virtual void UpdateScrollBarsPos() = 0;
  virtual void UpdateScrollBars() = 0;

 protected:
  bool event(QEvent* e) override {
    const bool handled = TBase::event(e);
    if (e->type() == QEvent::Paint) PaintScrollAreaBorder(this, FBorderColor);
    return handled;
  }
  void resizeEvent(QResizeEvent* e) override {
    TBase::resizeEvent(e);
    UpdateScrollBarsPos();
  }
  void moveEvent(QMoveEvent* e) override {
    TBase::moveEvent(e);
    UpdateScrollBarsPos();
  }
  void changeEvent(QEvent* e) override {
    TBase::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) UpdateScrollBars();
  }

 private:
  TColor FBorderColor;
};

}  // namespace kavri
