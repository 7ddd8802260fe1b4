#pragma once
#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/tcolor.h"
#include "skin/style_apply.h"
#include "skin/theme_style.h"

class QTimer;

namespace kavri {

class TSkinCustomButton;
using TNotifyEvent = std::function<void(TSkinCustomButton* sender)>;

// The engine of every skinned push button, check box and radio button: tracks mouse and keyboard
// state, picks one of four state pictures and paints into an off-screen bitmap copied in one piece.
// Subclasses decide where pictures come from and how picture and caption are laid out.
class TSkinCustomButton : public QWidget, public TSkinStyleHooks {
  Q_OBJECT

 public:
  explicit TSkinCustomButton(QWidget* parent = nullptr);
  ~TSkinCustomButton() override;

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value);
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int value) { modalResult_ = value; }
  TSkinUIStyle UIStyle() const { return uiStyle_; }
  void SetUIStyle(TSkinUIStyle style);
  // Repeat interval of OnMouseContinuouslyDown while the left button is held; 0 (or less) means off.
  int MouseContinuouslyDownInterval() const { return repeatInterval_; }
  void SetMouseContinuouslyDownInterval(int ms) { repeatInterval_ = ms; }
  // Background when not Transparent; system colours allowed. ParentColor takes the parent's window colour.
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  void SetEnabled(bool value) { setEnabled(value); }

  // Names of the state pictures in the theme art.
  virtual QString GetPicNormal() const { return picNormal_; }
  virtual QString GetPicMouseOn() const { return picMouseOn_; }
  virtual QString GetPicMouseDown() const { return picMouseDown_; }
  virtual void SetPicNormal(const QString& name);
  virtual void SetPicMouseOn(const QString& name);
  virtual void SetPicMouseDown(const QString& name);
  // Where the named pictures come from: 0 is the program's own theme art (and reads back as 0). No
  // other picture module exists in this program, so any other handle finds no pictures.
  uintptr_t ResHandle() const { return resHandle_; }
  virtual void SetResHandle(uintptr_t handle) { resHandle_ = handle; update(); }
  bool PicTransparent() const { return picTransparent_; }
  void SetPicTransparent(bool value);

  bool MouseOn() const { return mouseOn_; }
  bool Pressed() const { return pressed_; }
  bool RepeatTimerActive() const { return repeatTimer_ != nullptr; }

  // What a click does: the form's modal result, then OnClick.
  virtual void Click();

  // The picture a paint would copy to the screen.
  QImage RenderFace();

  TNotifyEvent OnClick;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseExit;
  TNotifyEvent OnMouseContinuouslyDown;

  // Enter to the window's Default button, Escape to its Cancel button; true when one clicked.
  static bool DispatchDialogKey(QWidget* window, int key);

 protected:
  virtual void AutoSizeChanged();
  virtual void CaptionChanged() {}
  virtual void FontChanged() {}
  virtual void TransparentChanged() {}
  virtual void EnableChanged() {}
  virtual void UIStyleChanged();
  virtual void PaintPic(QImage& canvas, const QImage& picture);
  virtual void PaintText(QImage& canvas, const QString& caption);
  virtual void PaintFocus(QImage& canvas);
  virtual void PaintButtonNormal(QImage& picture);
  virtual void PaintButtonMouseOn(QImage& picture);
  virtual void PaintButtonMouseDown(QImage& picture);
  virtual void PaintButtonDisabled(QImage& picture);
  virtual void SetButtonPic(TSkinUIStyle style) = 0;

  // A picture by name from ResHandle; null when missing.
  QImage LoadNamedPicture(const QString& name) const;
  TColor BackgroundColor() const;
  TColor FontColor() const;
  // Draws text on one line with the caption's mnemonic underlined.
  void DrawCaption(QImage& canvas, const QRect& rect, int flags, const QString& text, TColor color);
  // The dotted focus frame, pixel by pixel.
  void DrawFocusFrame(QImage& canvas, const QRect& rect);
  QString PlainCaption() const;  // the caption without its ampersands

  // Field access for the picture name setters of subclasses.
  void StorePicNormal(const QString& n) { picNormal_ = n; }
  void StorePicMouseOn(const QString& n) { picMouseOn_ = n; }
  void StorePicMouseDown(const QString& n) { picMouseDown_ = n; }
  QString StoredPicNormal() const { return picNormal_; }
  QString StoredPicMouseOn() const { return picMouseOn_; }
  QString StoredPicMouseDown() const { return picMouseDown_; }
  void StoreUIStyle(TSkinUIStyle style) { uiStyle_ = style; }

  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void StopRepeatTimer();
  void InstallDialogKeyFilter();
  static bool IsActivationKey(int key);

  QString caption_;
  bool autoSize_ = false;
  bool tabStop_ = false;
  bool cancel_ = false;
  bool default_ = false;
  bool transparent_ = false;
  int modalResult_ = 0;
  TSkinUIStyle uiStyle_ = TSkinUIStyle::Custom;
  int repeatInterval_ = 100;
  TColor color_;
  bool parentColor_ = false;
  QString picNormal_, picMouseOn_, picMouseDown_;
  uintptr_t resHandle_ = 0;
  bool picTransparent_ = false;
  bool mouseOn_ = false;
  bool pressed_ = false;
  std::unique_ptr<QTimer> repeatTimer_;
  int shortcutId_ = 0;
};

}  // namespace kavri
