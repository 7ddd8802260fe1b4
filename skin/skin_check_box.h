#pragma once
#include <QRect>

#include "skin/skin_custom_button.h"

namespace kavri {

// Two-state button: picture at the left, caption beside it.
class TSkinCustomButtonEx : public TSkinCustomButton {
  Q_OBJECT

 public:
  explicit TSkinCustomButtonEx(QWidget* parent = nullptr);

  bool Checked() const { return checked_; }
  // Changes the state and its pictures without OnClick: code that sets a box does not run its handler.
  void SetChecked(bool value);

  void Click() override;
  QRect CaptionRect() const { return captionRect_; }

 protected:
  virtual void DoClick() {}
  virtual void CheckStateChanged() {}
  virtual int GetPicWidth() const = 0;
  virtual int GetPicHeight() const = 0;

  void AutoSizeChanged() override;
  void CaptionChanged() override;
  void FontChanged() override;
  void UIStyleChanged() override;
  void PaintPic(QImage& canvas, const QImage& picture) override;
  void PaintText(QImage& canvas, const QString& caption) override;
  void PaintFocus(QImage& canvas) override;
  void resizeEvent(QResizeEvent* event) override;

  int LineHeight() const;

 private:
  void ApplyAutoSize();
  bool checked_ = false;
  bool sizing_ = false;
  QRect captionRect_;
};

enum TCheckBoxState : uint8_t { cbUnchecked = 0, cbChecked = 1, cbGrayed = 2 };

class TSkinCheckBox : public TSkinCustomButtonEx {
  Q_OBJECT

 public:
  explicit TSkinCheckBox(QWidget* parent = nullptr);

  TCheckBoxState GetState() const { return Checked() ? cbChecked : cbUnchecked; }
  void SetState(TCheckBoxState state) { SetChecked(state == cbChecked); }

  void ApplyContainerStyle(TSkinUIStyle style) override;

 protected:
  virtual void Toggle() {}
  // Theme element of the first check box picture (disabled checked); radio buttons start 8 later.
  virtual int FirstPictureElement() const { return 27; }

  void TransparentChanged() override;
  void EnableChanged() override;
  void UIStyleChanged() override;
  void SetButtonPic(TSkinUIStyle style) override;
  void DoClick() override;
  void CheckStateChanged() override;
  int GetPicWidth() const override;
  int GetPicHeight() const override;
};

class TSkinRadioButton : public TSkinCheckBox {
  Q_OBJECT

 public:
  explicit TSkinRadioButton(QWidget* parent = nullptr);

  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int index) { groupIndex_ = index; }
  // Unchecks every other radio button among the parent's direct children with the same GroupIndex.
  void UnCheckGroup();

 protected:
  int FirstPictureElement() const override { return 35; }
  void TransparentChanged() override;
  void DoClick() override;
  void CheckStateChanged() override;

 private:
  int groupIndex_ = 0;
};

}  // namespace kavri
