#pragma once
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/data/data_link.h"
#include "skin/skin_button.h"

class QTimer;

namespace kavri {

enum class TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
constexpr int kNavButtonCount = 10;
// A set of buttons, bit N for button N.
using TNavButtonSet = uint16_t;
constexpr TNavButtonSet kAllNavButtons = 1023;
constexpr TNavButtonSet NavBit(TNavigateBtn b) { return static_cast<TNavButtonSet>(1u << static_cast<int>(b)); }

class TSkinDBNavigator;
using ENavClick = std::function<void(TSkinDBNavigator* sender, TNavigateBtn button)>;

// One navigator button; prior and next repeat while held (first after 400 ms, then every 100 ms).
class TSkinNavButton : public TSkinButton {
  Q_OBJECT
 public:
  TSkinNavButton(TSkinDBNavigator* navigator, TNavigateBtn index);
  ~TSkinNavButton() override;
  TNavigateBtn Index() const { return index_; }
  bool AllowTimer() const { return allowTimer_; }
  void SetAllowTimer(bool value) { allowTimer_ = value; }
  // The repeat timer; null until the first press of a repeating button.
  QTimer* RepeatTimer() const { return timer_.get(); }
  void TimerExpired();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  TSkinDBNavigator* navigator_;
  TNavigateBtn index_;
  bool allowTimer_ = false;
  std::unique_ptr<QTimer> timer_;
};

// The navigator's link: forwards the set's changes while the navigator lives.
class TSkinNavDataLink : public TDataLink {
 public:
  explicit TSkinNavDataLink(TSkinDBNavigator* navigator) : navigator_(navigator) {}
  ~TSkinNavDataLink() override { navigator_ = nullptr; }

 protected:
  void EditingChanged() override;
  void DataSetChanged() override;
  void ActiveChanged() override;

 private:
  TSkinDBNavigator* navigator_;
};

// A row of ten record buttons working on the data set behind DataSource.
class TSkinDBNavigator : public QWidget, public TSkinStyleHooks {
  Q_OBJECT
 public:
  explicit TSkinDBNavigator(QWidget* owner = nullptr);
  ~TSkinDBNavigator() override;

  TDataSource* DataSource() const { return link_->DataSource(); }
  void SetDataSource(TDataSource* source);
  TSkinUIStyle UIStyle() const { return uiStyle_; }
  void SetUIStyle(TSkinUIStyle style);
  TNavButtonSet VisibleButtons() const { return visible_; }
  void SetVisibleButtons(TNavButtonSet buttons);
  // The operator's hint lines, one per button in order; a blank line keeps the standard hint.
  QStringList Hints() const { return hints_; }
  void SetHints(const QStringList& hints);
  bool ConfirmDelete() const { return confirmDelete_; }
  void SetConfirmDelete(bool value) { confirmDelete_ = value; }
  // Aligned to a side of its parent: the size is taken as given and spread over the buttons.
  bool Aligned() const { return aligned_; }
  void SetAligned(bool value);

  TSkinNavButton* Button(TNavigateBtn b) const { return buttons_[static_cast<int>(b)]; }
  TNavigateBtn FocusedButton() const { return focused_; }

  // Runs a button's action on the data set (asking first before a delete); errors go to the
  // standard error box.
  virtual void BtnClick(TNavigateBtn button);
  void ApplyContainerStyle(TSkinUIStyle style) override { SetUIStyle(style); }

  ENavClick OnClick;
  ENavClick BeforeAction;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  friend class TSkinNavButton;
  friend class TSkinNavDataLink;
  void InitButtons();
  void InitHints();
  int VisibleCount() const;
  void CalcMinSize(int& w, int& h) const;
  void SetSize(int& w, int& h);
  void DataChanged();
  void EditingChanged();
  void ActiveChanged();
  void ClickHandler(TSkinNavButton* sender);
  void BtnMouseDown(TSkinNavButton* sender);
  void MoveFocus(int step);

  std::unique_ptr<TSkinNavDataLink> link_;
  std::array<TSkinNavButton*, kNavButtonCount> buttons_{};
  TSkinUIStyle uiStyle_ = TSkinUIStyle::Navy;
  TNavButtonSet visible_ = kAllNavButtons;
  QStringList hints_;
  int buttonWidth_ = 0;
  TNavigateBtn focused_ = TNavigateBtn::nbFirst;
  bool confirmDelete_ = true;
  bool aligned_ = false;
  bool sizing_ = false;
};

}  // namespace kavri
