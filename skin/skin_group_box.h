#pragma once
// A framed container with its caption in the frame's top edge, and the check and radio groups built
// on it: one skinned check box (radio button) per item, laid out in columns.
//
// Windows read and set a radio group's choice with ItemIndex()/SetItemIndex(); OnClick runs once per
// operator click (on a button or on the group), never when code sets the index.
#include <QList>
#include <QStringList>
#include <functional>

#include "skin/image_panel.h"
#include "skin/theme_style.h"

namespace kavri {

class TSkinCheckBox;

class TSkinCustomGroupBox : public TSkinCustomPanel {
  Q_OBJECT
 public:
  explicit TSkinCustomGroupBox(QWidget* owner = nullptr);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor c);
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor c);
  // Enables or disables the box and every control in it.
  void SetEnabled(bool enabled);
  // Where children are laid out: inside the frame, below the caption.
  QRect GetClient() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  int FontHeight() const;

 private:
  QString caption_;
  TColor borderColor_ = 0;
  TColor fontColor_ = 0;
};

class TSkinGroupBox : public TSkinCustomGroupBox {
  Q_OBJECT
 public:
  explicit TSkinGroupBox(QWidget* owner = nullptr) : TSkinCustomGroupBox(owner) {}
  void ApplyContainerStyle(TSkinUIStyle style) override;
};

class TSkinCheckGroup : public TSkinCustomGroupBox {
  Q_OBJECT
 public:
  explicit TSkinCheckGroup(QWidget* owner = nullptr);

  QStringList Items() const { return items_; }
  void SetItems(const QStringList& items);
  int Columns() const { return columns_; }
  void SetColumns(int columns);  // below 1 is ignored: the layout needs a column
  int TopMargin() const { return topMargin_; }
  void SetTopMargin(int margin);  // negative is ignored
  TSkinUIStyle UIStyle() const { return uiStyle_; }
  void SetUIStyle(TSkinUIStyle style);
  void ApplyContainerStyle(TSkinUIStyle style) override { SetUIStyle(style); }
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  void SetTransparent(bool transparent) override;

  bool GetChecked(int index) const;      // false outside the items
  void SetChecked(int index, bool value);  // ignored outside the items; runs no OnClick
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TSkinCheckBox* Button(int index) const;

  std::function<void()> OnClick;

 protected:
  virtual void NewClick() {}
  virtual TSkinCheckBox* CreateAButton();
  void DoClick();
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void ItemChanged();
  bool UpdateButtons();
  void ArrangeButtons();

  QStringList items_;
  QList<TSkinCheckBox*> buttons_;
  int columns_ = 1;
  int topMargin_ = 8;
  TSkinUIStyle uiStyle_ = TSkinUIStyle::Navy;
  bool parentColor_ = true;
  bool pressedOnGroup_ = false;
};

class TSkinRadioGroup : public TSkinCheckGroup {
  Q_OBJECT
 public:
  explicit TSkinRadioGroup(QWidget* owner = nullptr);

  // The first checked button, -1 when none is or there are no items.
  int GetItemIndex() const;
  int ItemIndex() const { return GetItemIndex(); }
  // -1 unchecks all; 0..count-1 checks that item (the others uncheck); anything else changes nothing.
  void SetItemIndex(int value);

 protected:
  TSkinCheckBox* CreateAButton() override;
};

}  // namespace kavri
