#pragma once
// A panel that turns its window into a skinned one: the window loses the system's frame and gets the
// panel's own title bar, border, background and menu bar; the window's controls live in the panel. New
// skinned controls on that window take the panel's style.
//
//   auto* dialog = new QDialog;
//   auto* skin = new TSkinForm(dialog);        // one per window
//   skin->SetUIStyle(TSkinUIStyle::Azure);
//   skin->SetCaption("Options");
//   skin->SetMenu(menu);                        // a TSkinMainMenu: shown as the menu bar
//   new TSkinButton(skin);                      // controls are children of the panel
#include <QPointer>
#include <QRect>
#include <QWidget>

#include "platform/tcolor.h"
#include "skin/skin_menu.h"
#include "skin/style_apply.h"
#include "skin/theme_style.h"

namespace kavri {

class TSkinTitleBar;

class TSkinForm : public QWidget, public TSkinFormStyleSource {
  Q_OBJECT
 public:
  // `form` is the window the panel skins; without one the panel stays inert. A second panel on the
  // same window throws std::runtime_error.
  explicit TSkinForm(QWidget* form);
  ~TSkinForm() override;

  TSkinUIStyle UIStyle() const { return uiStyle_; }
  void SetUIStyle(TSkinUIStyle style);
  bool UIStyleAutoUpdateSub() const { return autoUpdateSub_; }
  void SetUIStyleAutoUpdateSub(bool value) { autoUpdateSub_ = value; }
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor color);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int width);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool TitleBarVisible() const;
  void SetTitleBarVisible(bool visible);
  QString Caption() const;
  void SetCaption(const QString& caption);
  // The window can be resized from its edges (a window created with a fixed size cannot).
  bool Sizeable() const { return sizeable_; }
  void SetSizeable(bool value) { sizeable_ = value; }

  // A panel made to fill the area below the title and menu bars. The form panel itself is refused
  // with an error box.
  QWidget* FormPanel() const { return formPanel_; }
  void SetPanel(QWidget* panel);

  TSkinMainMenu* Menu() const { return menu_; }
  void SetMenu(TSkinMainMenu* menu);
  TColor MenuBarColor() const { return menuBarColor_; }
  void SetMenuBarColor(TColor color);
  int MenuBarHeight() const { return menuBarHeight_; }
  void SetMenuBarHeight(int height);

  // The panel's size; setting one fits the window around it.
  int Width() const { return width(); }
  int Height() const { return height(); }
  void SetWidth(int w);
  void SetHeight(int h);

  TSkinTitleBar* TitleBar() const { return titleBar_; }
  QWidget* Form() const { return form_; }
  // Shapes the window with round top corners (square for 0).
  void SetFormRoundCorner(int r);

  // Places the panel in the window and its bars in the panel.
  void AlignSelf();

  TSkinUIStyle FormUIStyle() const override { return uiStyle_; }
  TColor FormColor() const override { return color_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void childEvent(QChildEvent* event) override;

 private:
  void PaintFormBorder(QPainter& painter) const;
  void AlignBars();
  void FitForm();
  void WindowStateChanged();
  bool HandleRimMouse(QWidget* receiver, QEvent* event);
  void ReleaseRimCursor();

  QWidget* form_ = nullptr;
  TSkinTitleBar* titleBar_ = nullptr;
  QPointer<TSkinMainMenu> menu_;
  QPointer<QWidget> formPanel_;
  TSkinUIStyle uiStyle_ = TSkinUIStyle::Custom;
  bool autoUpdateSub_ = false;
  TColor borderColor_ = 0;
  int borderWidth_ = 1;
  TColor color_;
  TColor menuBarColor_;
  int menuBarHeight_ = 22;
  bool sizeable_ = true;
  QRect normalBounds_;
  bool maximisedAtStart_ = false;
  int roundCorner_ = 0;
  bool rimCursor_ = false;
  bool created_ = false;  // no refit of the window while the constructor sets the first style
};

}  // namespace kavri
