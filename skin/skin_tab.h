#pragma once
// A framed area under a skinned tab strip: TSkinTab is the common base, TSkinTabControl the one whose
// tabs are plain strings (the page control builds on the same base with pages).
#include <QFont>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/tcolor.h"
#include "skin/style_apply.h"
#include "skin/theme_style.h"

namespace kavri {

class TSkinTab;

// The strip of tabs at the top of a TSkinTab.
class TSkinTabControlTopPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TSkinTabControlTopPanel(TSkinTab* tabControl);

  TSkinUIStyle UIStyle() const { return uiStyle_; }
  void SetUIStyle(TSkinUIStyle style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  const QStringList& Tabs() const { return tabs_; }
  void SetTabs(const QStringList& tabs);
  int TabIndex() const { return tabIndex_; }
  // With no tabs the index becomes -1; -1 up to the last tab is taken and reported to the owner;
  // anything else only repaints.
  void SetTabIndex(int index);
  // Marks no tab, without reporting to the owner (its page went).
  void ClearTabIndex();
  int LeftMargin() const { return leftMargin_; }
  void SetLeftMargin(int margin);
  void SetTabVisible(const std::vector<bool>& visible);
  // Widths of the tabs as last painted, one per tab (0 for a hidden tab).
  const std::vector<int>& TabWidths() const { return tabWidths_; }
  int TabAt(QPoint point) const;

  QImage Render();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  TSkinTab* tabControl_;
  TSkinUIStyle uiStyle_ = TSkinUIStyle::Custom;
  TColor color_ = 0xFFFFFF;
  QString activeTab_, inactiveTab_, line_;
  QStringList tabs_{"Tab1"};
  int tabIndex_ = 0;
  int leftMargin_ = 10;
  std::vector<int> tabWidths_;
  int tabHeight_ = 0;
  std::vector<bool> tabVisible_;
};

using TTabActiveNotify = std::function<void(TSkinTab* sender, int index)>;

class TSkinTab : public QWidget, public TSkinStyleHooks {
  Q_OBJECT
 public:
  explicit TSkinTab(QWidget* parent = nullptr);

  TSkinUIStyle UIStyle() const { return uiStyle_; }
  void SetUIStyle(TSkinUIStyle style);  // Custom is ignored
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor color);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  QFont Font() const { return tabFont_; }
  void SetFont(const QFont& font);
  int LeftMargin() const { return topPanel_->LeftMargin(); }
  void SetLeftMargin(int margin) { topPanel_->SetLeftMargin(margin); }
  TSkinTabControlTopPanel* TopPanel() const { return topPanel_; }

  virtual void SetTabIndex(int index);
  // A tab was chosen on the strip.
  virtual void TabActive(int index);
  virtual void UpdateUIStyle(TSkinUIStyle style);

  void ApplyContainerStyle(TSkinUIStyle style) override { SetUIStyle(style); }

  TTabActiveNotify OnTabActive;

 protected:
  virtual void BorderColorChanged() {}
  virtual void ColorChanged() {}
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;
  // Below the strip.
  QRect ClientArea() const;

 private:
  TSkinUIStyle uiStyle_ = TSkinUIStyle::Custom;
  TColor borderColor_ = 0;
  TColor color_ = 0xFFFFFF;
  QFont tabFont_;
  TSkinTabControlTopPanel* topPanel_;
};

class TSkinTabControl : public TSkinTab {
  Q_OBJECT
 public:
  explicit TSkinTabControl(QWidget* parent = nullptr) : TSkinTab(parent) {}

  const QStringList& Tabs() const { return TopPanel()->Tabs(); }
  void SetTabs(const QStringList& tabs) { TopPanel()->SetTabs(tabs); }
  int TabIndex() const { return TopPanel()->TabIndex(); }

  void ApplySubContainerStyle(TSkinUIStyle style) override { UpdateUIStyle(style); }
};

}  // namespace kavri
