#pragma once
#include <QWidget>
#include <functional>

#include "skin/style_apply.h"
#include "skin/theme_style.h"

namespace kavri {

class TSkinImageButton;

enum class TUDBtnType : uint8_t { btNext, btPrev };

// Two stacked arrow buttons that step a position between Min and Max: the upper one up (btNext), the
// lower one down (btPrev). A press steps once, holding the button repeats; OnClick follows every step
// with the position already changed, also when the position stood at its limit.
class TUpDown : public QWidget, public TSkinStyleHooks {
  Q_OBJECT
 public:
  explicit TUpDown(QWidget* parent = nullptr);

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  int Increment() const { return increment_; }
  // The range is kept in order by moving the other end along; the position follows into it.
  void SetMin(int value);
  void SetMax(int value);
  void SetPosition(int value);  // clamped to Min..Max
  void SetIncrement(int value) { increment_ = value; }
  TSkinUIStyle UIStyle() const { return style_; }
  void SetUIStyle(TSkinUIStyle style);

  // One step as a click on that button does.
  void Click(TUDBtnType button);

  std::function<void(TUpDown* sender, TUDBtnType button)> OnClick;

  TSkinImageButton* BtnUp() const { return up_; }
  TSkinImageButton* BtnDown() const { return down_; }

  void ApplyContainerStyle(TSkinUIStyle style) override { SetUIStyle(style); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlaceButtons();

  TSkinImageButton* up_;
  TSkinImageButton* down_;
  TSkinUIStyle style_ = TSkinUIStyle::Custom;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int increment_ = 1;
};

}  // namespace kavri
