#pragma once
// The themed form's own title bar: picture sections (left, client, right), the caption and the window
// buttons (control box at the left; close, maximise, minimise and any extra ones from the right).
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/tcolor.h"
#include "skin/theme_style.h"
#include "skin/title_bar_layout.h"

namespace kavri {

class TSkinPopupMenu;
class TSkinTitleBar;

struct TSkinTitleBarSection {
  int Width = 10;
  TSkinTitleBarAlign Align = TSkinTitleBarAlign::skinLeft;
  QImage Picture;
  bool Stretch = false;
  bool AutoSize = false;  // as wide as the picture
};

struct TSkinTitleBarButton {
  TSkinTitleBarBtnType ButtonType = TSkinTitleBarBtnType::skinCustom;
  bool Transparent = false;  // magenta shows the bar through
  int Top = 2;
  TSkinUIStyle UIStyle = TSkinUIStyle::Navy;
  QPointer<TSkinPopupMenu> ControlBoxMenu;  // clears itself when the menu goes
  QImage PicNormal, PicMouseOn, PicMouseDown;
};

using TTitleBarButtonEvent = std::function<void(TSkinTitleBar* sender, int index)>;

class TSkinTitleBar : public QWidget {
  Q_OBJECT
 public:
  explicit TSkinTitleBar(QWidget* parent = nullptr);

  TSkinUIStyle UIStyle() const { return uiStyle_; }
  void SetUIStyle(TSkinUIStyle style);

  const std::vector<TSkinTitleBarSection>& Sections() const { return sections_; }
  int AddSection(const TSkinTitleBarSection& section);  // index of the new section, -1 if refused
  bool SetSectionAlign(int index, TSkinTitleBarAlign align);  // one client section at most
  void ClearSections();

  const std::vector<TSkinTitleBarButton>& Buttons() const { return buttons_; }
  TSkinTitleBarButton& Button(int index) { return buttons_.at(index); }
  int AddButton(TSkinTitleBarBtnType type);  // -1 if refused
  bool SetButtonType(int index, TSkinTitleBarBtnType type);  // one control box at most
  void RemoveButton(int index);
  // Where each button is drawn, in collection order.
  std::vector<TPixelRect> ButtonRects() const;
  int ButtonAt(QPoint point) const;  // -1 when none

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  int ButtonInterval() const { return buttonInterval_; }
  void SetButtonInterval(int value);
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  QFont Font() const { return font(); }
  void SetFont(const QFont& font) { setFont(font); update(); }
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor color);
  bool FormActive() const { return formActive_; }
  void SetFormActive(bool active);
  int LeftBtnXOffset() const { return leftOffset_; }
  void SetLeftBtnXOffset(int value);
  int RightBtnXOffset() const { return rightOffset_; }
  void SetRightBtnXOffset(int value);
  bool DrawAppIcon() const { return drawAppIcon_; }
  void SetDrawAppIcon(bool value);
  int CornerRound() const { return cornerRound_; }

  // What a click on button `index` does (window buttons act on the window, the others fire events).
  void DoClick(int index);
  // The maximise buttons show the restore pictures while the window is maximised.
  void ProcessMaxBtn();

  // The bar as it paints itself.
  QImage Render() const;

  TTitleBarButtonEvent OnCustomBtnsClick;
  TTitleBarButtonEvent OnHelpBtnClick;

 protected:
  virtual void DrawSectionsTo(QImage& bitmap) const;
  virtual void DrawButtons(QImage& bitmap) const;

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void UpdateButtonStyle(TSkinTitleBarButton& button) const;
  void ApplyAutoSize();
  void ApplyRoundCorner();
  TTitleButtonsPlace PlaceButtons() const;

  TSkinUIStyle uiStyle_ = TSkinUIStyle::Custom;
  std::vector<TSkinTitleBarSection> sections_;
  std::vector<TSkinTitleBarButton> buttons_;
  bool autoSize_ = false;
  int buttonInterval_ = 0;
  QString caption_;
  TColor fontColor_ = clWhite;
  bool formActive_ = false;
  int leftOffset_ = 0, rightOffset_ = 0;
  bool drawAppIcon_ = false;
  bool pressed_ = false;
  int hot_ = -1;
  int cornerRound_ = 0;
};

}  // namespace kavri
