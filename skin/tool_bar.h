#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

#include "platform/tcolor.h"
#include "skin/image_list.h"
#include "skin/style_apply.h"

namespace kavri {

class TSkinToolBar;

enum class TToolButtonStyle : uint8_t { tbsButton, tbsCheck, tbsSeparator };

// How a tool button is drawn: the bar's own flat faces for hot, pressed and checked buttons, the
// standard look otherwise.
enum class TToolButtonLook : uint8_t { Standard, Hot, Down };
TToolButtonLook ToolButtonLook(bool hot, bool pressed, bool checked);

class TSkinToolButton : public QWidget {
  Q_OBJECT
 public:
  explicit TSkinToolButton(TSkinToolBar* bar);

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& caption);
  // Check buttons stay down after a click; Down on a plain button shows it pressed.
  bool Down() const { return FDown; }
  void SetDown(bool down);
  TToolButtonStyle Style() const { return FStyle; }
  void SetStyle(TToolButtonStyle style);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  QString Hint() const { return toolTip(); }
  void SetHint(const QString& hint) { setToolTip(hint); }

  std::function<void(QObject*)> OnClick;

  bool Hot() const { return FHot; }
  bool Pressed() const { return FMousePressed || (FDown && FStyle != TToolButtonStyle::tbsCheck); }
  bool Checked() const { return FDown && FStyle == TToolButtonStyle::tbsCheck; }
  TToolButtonLook Look() const { return ToolButtonLook(FHot, Pressed(), Checked()); }

  void Click();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  TSkinToolBar* FBar;
  QString FCaption;
  bool FDown = false;
  TToolButtonStyle FStyle = TToolButtonStyle::tbsButton;
  int FImageIndex = -1;
  bool FHot = false;
  bool FMousePressed = false;
};

// A flat tool bar whose hot, pressed and checked buttons are drawn in theme colours.
class TSkinToolBar : public QWidget, public TSkinStyleHooks {
  Q_OBJECT
 public:
  explicit TSkinToolBar(QWidget* parent = nullptr);

  TSkinToolButton* AddButton(const QString& caption = QString(), int imageIndex = -1,
                             TToolButtonStyle style = TToolButtonStyle::tbsButton);

  TSkinUIStyle UIStyle() const { return FUIStyle; }
  void SetUIStyle(TSkinUIStyle style);
  TColor ButtonColor() const { return FButtonColor; }
  void SetButtonColor(TColor color);
  TColor ButtonBorderColor() const { return FButtonBorderColor; }
  void SetButtonBorderColor(TColor color);
  TColor ButtonDownColor() const { return FButtonDownColor; }
  void SetButtonDownColor(TColor color);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool transparent);
  bool ShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool show);
  // Not owned; they must outlive the bar's painting.
  const TImageList* Images() const { return FImages; }
  void SetImages(const TImageList* images);
  const TImageList* HotImages() const { return FHotImages; }
  void SetHotImages(const TImageList* images);
  int ButtonWidth() const { return FButtonWidth; }
  int ButtonHeight() const { return FButtonHeight; }
  void SetButtonSize(int width, int height);

  void ApplyContainerStyle(TSkinUIStyle style) override { SetUIStyle(style); }

  // One button's face as the bar draws it.
  QImage RenderButton(const TSkinToolButton* button) const;
  void Relayout();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void childEvent(QChildEvent* event) override;

 private:
  void DrawFlatButton(QImage& canvas, const TSkinToolButton* button, bool down) const;
  void DrawStandardButton(QImage& canvas, const TSkinToolButton* button) const;
  void DrawCaption(QImage& canvas, const TSkinToolButton* button, int y) const;

  TSkinUIStyle FUIStyle = TSkinUIStyle::Custom;
  TColor FButtonColor = 0xEFEFEF;
  TColor FButtonBorderColor = 0x474747;
  TColor FButtonDownColor = 0xD8D8D8;
  TColor FColor;
  bool FTransparent = false;
  bool FShowCaptions = false;
  const TImageList* FImages = nullptr;
  const TImageList* FHotImages = nullptr;
  int FButtonWidth = 23;
  int FButtonHeight = 22;
};

}  // namespace kavri
