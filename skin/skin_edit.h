#pragma once
// Standard controls whose only skinning is a flat two-ring frame (border colour outside, background
// colour inside) in place of the native 3-D border: the bordered edit, check list box, list view and
// tree view. Everything else is the standard Qt control's.
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>
#include <functional>

#include "platform/tcolor.h"
#include "skin/style_apply.h"

class QAbstractScrollArea;

namespace kavri {

// Gives a scroll area a 2-pixel frame that the skin paints over with PaintScrollAreaBorder.
void PrepareBorderedScrollArea(QAbstractScrollArea* area);
// The two rings round the whole scroll area; call after the area's own paint.
void PaintScrollAreaBorder(QAbstractScrollArea* area, TColor borderColor);

class TSkinEdit : public QLineEdit, public TSkinStyleHooks {
  Q_OBJECT
 public:
  explicit TSkinEdit(QWidget* owner = nullptr);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor c);
  void ApplyContainerStyle(TSkinUIStyle style) override;
  QString Text() const { return text(); }
  void SetText(const QString& value) { setText(value); }
  // Runs on every change of the text, typed or set.
  std::function<void()> OnChange;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TColor borderColor_;
};

enum class TBorderStyle { bsNone, bsSingle };

class TSkinCheckListBox : public QListWidget, public TSkinStyleHooks {
  Q_OBJECT
 public:
  explicit TSkinCheckListBox(QWidget* owner = nullptr);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor c);
  void ApplyContainerStyle(TSkinUIStyle style) override;
  // The frame is always the skin's single flat one, one pixel of border width.
  TBorderStyle BorderStyle() const { return TBorderStyle::bsSingle; }
  void SetBorderStyle(TBorderStyle) {}
  int BorderWidth() const { return 1; }
  void SetBorderWidth(int) {}

  int AddItem(const QString& text, bool checked = false);
  bool Checked(int index) const;     // false outside the list
  void SetChecked(int index, bool checked);  // ignored outside the list
  std::function<void(int index)> OnClickCheck;  // the operator toggled an item's check

 protected:
  bool event(QEvent* event) override;

 private:
  TColor borderColor_;
  bool settingCheck_ = false;
};

// A tree widget with the skin's frame: the base of the list view and the tree view.
class TSkinBorderedTreeWidget : public QTreeWidget, public TSkinStyleHooks {
  Q_OBJECT
 public:
  explicit TSkinBorderedTreeWidget(QWidget* owner = nullptr);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor c);
  void ApplyContainerStyle(TSkinUIStyle style) override;

 protected:
  bool event(QEvent* event) override;

 private:
  TColor borderColor_;
};

// A report list: rows with columns.
class TSkinListView : public TSkinBorderedTreeWidget {
  Q_OBJECT
 public:
  explicit TSkinListView(QWidget* owner = nullptr);
};

class TSkinTreeView : public TSkinBorderedTreeWidget {
  Q_OBJECT
 public:
  explicit TSkinTreeView(QWidget* owner = nullptr);
};

}  // namespace kavri
