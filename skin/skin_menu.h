#pragma once
// Owner-drawn menus: TSkinPopupMenu (context menus) and TSkinMainMenu (a window's menu bar), both
// measured and drawn item by item in theme colours with a side bar, selection frame and check marks.
//
// How a window builds its menu bar:
//   auto* menu = new TSkinMainMenu(window);          // a QMenuBar; put it at the window's top
//   layout->setMenuBar(menu);
//   TSkinMenu* file = menu->AddMenu("&File");
//   file->AddItem("Open(&O)", [=] { ... }, QKeySequence("Ctrl+O"));
//   file->AddSeparator();                            // or AddItem("-")
//   QAction* loop = file->AddCheckItem("Loop(&L)", [=](bool on) { LoopFlag = on; });  // auto-check
//   loop->setChecked(true);                          // setting it from code runs no handler
//   TSkinMenu* more = file->AddSubMenu("More");
// A popup menu:
//   auto* popup = new TSkinPopupMenu(window);
//   popup->AddItem("Remove", [=] { ... });
//   popup->AttachTo(grid);                           // right click on the grid opens it
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <functional>

#include "platform/tcolor.h"
#include "skin/theme_style.h"

namespace kavri {

// The published settings both menus carry; a themed style overwrites all but the font settings.
struct TSkinMenuSettings {
  TSkinUIStyle UIStyle = TSkinUIStyle::Custom;
  int MenuItemHeight = 21;
  int SeparatorHeight = 21;
  TColor BarColor = 0x8000000F;  // clBtnFace
  int BarWidth = 0;
  TColor Color = 0xFFFFFF;
  TColor SeparatorColor = 0x808080;
  TColor SelectedBorderColor = 0x8000000D;  // clHighlight
  TColor SelectedColor = 0x8000000D;
  TColor SelectedFontColor = 0xFFFFFF;
  TColor FontColor = 0xFFFFFF;
  TColor BorderColor = 0;
  bool FlatMenu = false;
  QString FontName = "MS Sans Serif";
  int FontSize = 8;
  uint8_t FontCharset = 1;
  bool UseSystemFont = true;

  void ApplyStyle(TSkinUIStyle style);
  // Graphite menus keep their theme heights.
  void SetMenuItemHeight(int height);
  void SetSeparatorHeight(int height);
  QFont ItemFont() const;
};

// One item as the drawing sees it.
struct TMenuItemView {
  QString Caption;       // may hold '&' accelerator marks
  QString ShortcutText;  // empty when none
  bool Separator = false;
  bool Selected = false;
  bool Enabled = true;
  bool Checkable = false;
  bool Checked = false;
  bool Default = false;
  bool SubMenu = false;
  QPixmap Image;  // null when the item has none
};

// Item size: separators SeparatorHeight high, other items MenuItemHeight high and as wide as
// caption + shortcut text + BarWidth + 40.
QSize MeasureMenuItem(const TSkinMenuSettings& settings, const TMenuItemView& item);
// Paints one item into rect.
void DrawMenuItem(QPainter& canvas, const TSkinMenuSettings& settings, const QRect& rect, const TMenuItemView& item);
// The check-mark picture (16 x 16, white transparent).
QPixmap MenuCheckMark();

// Measures and draws menu items, the menu frame and menu-bar items from a menu's settings.
class TSkinMenuStyle : public QProxyStyle {
  Q_OBJECT
 public:
  explicit TSkinMenuStyle(const TSkinMenuSettings* settings, QObject* owner);

  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override;

 private:
  const TSkinMenuSettings* settings_;
};

// A drop-down or sub-menu drawn by the menu that owns it.
class TSkinMenu : public QMenu {
  Q_OBJECT
 public:
  explicit TSkinMenu(const QString& title, QWidget* parent, QStyle* itemStyle);

  // A caption of "-" makes a separator.
  QAction* AddItem(const QString& caption, std::function<void()> onClick = {}, const QKeySequence& shortcut = {});
  // The check mark toggles on each click before onClick runs with the new state.
  QAction* AddCheckItem(const QString& caption, std::function<void(bool checked)> onClick = {},
                        bool checked = false);
  QAction* AddSeparator();
  TSkinMenu* AddSubMenu(const QString& caption);
  // The first item with this caption (accelerator marks ignored), searching sub-menus too.
  QAction* FindItem(const QString& caption) const;

 protected:
  void SetItemStyle(QStyle* style);

 private:
  QStyle* itemStyle_;
};

class TSkinPopupMenu : public TSkinMenu {
  Q_OBJECT
 public:
  explicit TSkinPopupMenu(QWidget* owner = nullptr);

  const TSkinMenuSettings& Settings() const { return settings_; }
  TSkinMenuSettings& Settings() { return settings_; }
  TSkinUIStyle UIStyle() const { return settings_.UIStyle; }
  void SetUIStyle(TSkinUIStyle style);
  // The right mouse button on the widget opens this menu at the cursor.
  void AttachTo(QWidget* widget);
  void Popup(const QPoint& globalPos);

 private:
  TSkinMenuSettings settings_;
  TSkinMenuStyle* style_;
};

class TSkinMainMenu : public QMenuBar {
  Q_OBJECT
 public:
  explicit TSkinMainMenu(QWidget* owner = nullptr);
  ~TSkinMainMenu() override;

  const TSkinMenuSettings& Settings() const { return settings_; }
  TSkinMenuSettings& Settings() { return settings_; }
  TSkinUIStyle UIStyle() const { return settings_.UIStyle; }
  void SetUIStyle(TSkinUIStyle style);
  TSkinMenu* AddMenu(const QString& caption);
  // A drop-down placed before the bar entry `before` (at the end when null).
  TSkinMenu* InsertMenu(QAction* before, const QString& caption);
  // An entry on the bar itself that acts when clicked, without a drop-down.
  QAction* AddItem(const QString& caption, std::function<void()> onClick = {});
  // The first item with this caption on the bar or in any drop-down (accelerator marks ignored).
  QAction* FindItem(const QString& caption) const;

 private:
  TSkinMenuSettings settings_;
  TSkinMenuStyle* style_;
};

}  // namespace kavri
