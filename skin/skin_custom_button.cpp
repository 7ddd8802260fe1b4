#include "skin/skin_custom_button.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPainter>
#include <QPointer>
#include <QTimer>

#include "skin/pixel_ops.h"
#include "skin/skin_draw.h"
#include "skin/skin_pictures.h"
#include "skin/system_colors.h"

namespace kavri {
namespace {

// Watches a window for Enter and Escape that no focused control took, for Default and Cancel buttons.
class TDialogKeyFilter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    return TSkinCustomButton::DispatchDialogKey(static_cast<QWidget*>(watched), key->key());
  }
};

constexpr char kFilterProperty[] = "kavriDialogKeyFilter";

}  // namespace

TSkinCustomButton::TSkinCustomButton(QWidget* parent) : QWidget(parent), color_(clBtnFace) {
  setAttribute(Qt::WA_OpaquePaintEvent);  // every paint covers the whole control: no erase first
  setAttribute(Qt::WA_Hover, false);
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
}

TSkinCustomButton::~TSkinCustomButton() = default;

void TSkinCustomButton::SetCaption(const QString& caption) {
  caption_ = caption;
  if (shortcutId_) releaseShortcut(shortcutId_);
  shortcutId_ = 0;
  QKeySequence mnemonic = QKeySequence::mnemonic(caption);
  if (!mnemonic.isEmpty()) shortcutId_ = grabShortcut(mnemonic);
  CaptionChanged();
  update();
}

void TSkinCustomButton::SetAutoSize(bool value) {
  autoSize_ = value;
  AutoSizeChanged();
  update();
}

void TSkinCustomButton::SetTabStop(bool value) {
  tabStop_ = value;
  setFocusPolicy(value ? Qt::TabFocus : Qt::NoFocus);
}

void TSkinCustomButton::SetCancel(bool value) {
  cancel_ = value;
  if (value) InstallDialogKeyFilter();
}

void TSkinCustomButton::SetDefault(bool value) {
  default_ = value;
  if (value) InstallDialogKeyFilter();
  update();
}

void TSkinCustomButton::SetTransparent(bool value) {
  transparent_ = value;
  TransparentChanged();
  update();
}

void TSkinCustomButton::SetUIStyle(TSkinUIStyle style) {
  uiStyle_ = style;
  SetButtonPic(style);
  UIStyleChanged();
  update();
}

void TSkinCustomButton::SetColor(TColor color) {
  color_ = color;
  parentColor_ = false;
  update();
}

void TSkinCustomButton::SetParentColor(bool value) {
  parentColor_ = value;
  update();
}

void TSkinCustomButton::SetPicNormal(const QString& name) {
  picNormal_ = name;
  AutoSizeChanged();
  update();
}

void TSkinCustomButton::SetPicMouseOn(const QString& name) {
  picMouseOn_ = name;
  update();
}

void TSkinCustomButton::SetPicMouseDown(const QString& name) {
  picMouseDown_ = name;
  update();
}

void TSkinCustomButton::SetPicTransparent(bool value) {
  picTransparent_ = value;
  update();
}

void TSkinCustomButton::UIStyleChanged() {
  if (uiStyle_ == TSkinUIStyle::Custom) SetAutoSize(true);
}

void TSkinCustomButton::AutoSizeChanged() {
  if (!autoSize_ || picNormal_.isEmpty()) return;
  QImage pic = LoadNamedPicture(picNormal_);
  if (!pic.isNull()) resize(pic.width(), pic.height());
}

QImage TSkinCustomButton::LoadNamedPicture(const QString& name) const {
  if (resHandle_ != 0 || name.isEmpty()) return {};
  return LoadSkinPicture(name.toStdString());
}

TColor TSkinCustomButton::BackgroundColor() const {
  if (parentColor_ && parentWidget()) return FromQColor(parentWidget()->palette().color(QPalette::Window));
  return ColorToRGB(color_);
}

TColor TSkinCustomButton::FontColor() const { return FromQColor(palette().color(QPalette::WindowText)); }

QString TSkinCustomButton::PlainCaption() const {
  QString out;
  for (int i = 0; i < caption_.size(); ++i) {
    if (caption_[i] == '&' && i + 1 < caption_.size()) ++i;
    out += caption_[i];
  }
  return out;
}

void TSkinCustomButton::PaintButtonNormal(QImage& picture) { picture = LoadNamedPicture(picNormal_); }
void TSkinCustomButton::PaintButtonMouseOn(QImage& picture) { picture = LoadNamedPicture(picMouseOn_); }
void TSkinCustomButton::PaintButtonMouseDown(QImage& picture) { picture = LoadNamedPicture(picMouseDown_); }
void TSkinCustomButton::PaintButtonDisabled(QImage& picture) { picture = LoadNamedPicture(picNormal_); }

void TSkinCustomButton::PaintPic(QImage& canvas, const QImage& picture) {
  if (picture.isNull() || picture.width() == 0 || picture.height() == 0) return;
  std::optional<TColor> mask;
  if (picTransparent_) mask = PixelAt(picture, 0, 0);
  const QImage& face = isEnabled() ? picture : GreyedPicture(picture, mask);
  CopyPixels(face, {0, 0, face.width(), face.height()}, canvas, 0, 0, mask);
}

void TSkinCustomButton::DrawCaption(QImage& canvas, const QRect& rect, int flags, const QString& text,
                                    TColor color) {
  QPainter painter(&canvas);
  painter.setFont(font());
  painter.setPen(ToQColor(color));
  painter.drawText(rect, flags | Qt::TextSingleLine | Qt::TextShowMnemonic, text);
}

void TSkinCustomButton::PaintText(QImage& canvas, const QString& caption) {
  QRect r(0, 0, width(), height());
  if (pressed_) r.translate(1, 1);
  const int flags = Qt::AlignCenter;
  if (!isEnabled()) {
    DrawCaption(canvas, r.translated(1, 1), flags, caption, clWhite);
    DrawCaption(canvas, r, flags, caption, clGray);
  } else {
    DrawCaption(canvas, r, flags, caption, FontColor());
  }
}

void TSkinCustomButton::DrawFocusFrame(QImage& canvas, const QRect& r) {
  // Every other pixel along the frame, like the platform's focus rectangle.
  const TColor ink = 0x3C3C3C;
  const int l = r.left(), t = r.top(), rr = r.left() + r.width() - 1, b = r.top() + r.height() - 1;
  if (rr < l || b < t) return;
  for (int x = l; x <= rr; x += 2) {
    SetPixelAt(canvas, x, t, ink);
    SetPixelAt(canvas, x, b, ink);
  }
  for (int y = t; y <= b; y += 2) {
    SetPixelAt(canvas, l, y, ink);
    SetPixelAt(canvas, rr, y, ink);
  }
}

void TSkinCustomButton::PaintFocus(QImage& canvas) {
  DrawFocusFrame(canvas, QRect(2, 2, width() - 4, height() - 4));
}

QImage TSkinCustomButton::RenderFace() {
  QImage picture;
  if (!isEnabled())
    PaintButtonDisabled(picture);
  else if (pressed_)
    PaintButtonMouseDown(picture);
  else if (mouseOn_)
    PaintButtonMouseOn(picture);
  else
    PaintButtonNormal(picture);
  QImage canvas = NewSkinBitmap(width(), height(), BackgroundColor());
  if (transparent_) DoTrans(canvas, this);
  PaintPic(canvas, picture);
  if (hasFocus() && tabStop_) PaintFocus(canvas);
  if (!caption_.isEmpty()) PaintText(canvas, caption_);
  return canvas;
}

void TSkinCustomButton::paintEvent(QPaintEvent*) {
  QImage face = RenderFace();
  QPainter painter(this);
  painter.drawImage(0, 0, face);
}

void TSkinCustomButton::enterEvent(QEnterEvent*) {
  mouseOn_ = true;
  update();
  if (OnMouseEnter) OnMouseEnter(this);
}

void TSkinCustomButton::leaveEvent(QEvent*) {
  mouseOn_ = false;
  pressed_ = false;
  StopRepeatTimer();
  update();
  if (OnMouseExit) OnMouseExit(this);
}

void TSkinCustomButton::StopRepeatTimer() { repeatTimer_.reset(); }

void TSkinCustomButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  pressed_ = true;
  // An interval of 0 would fire on every pass of the event loop; it means "no repeat".
  if (!repeatTimer_ && repeatInterval_ > 0) {
    repeatTimer_ = std::make_unique<QTimer>();
    repeatTimer_->setInterval(repeatInterval_);
    QPointer<TSkinCustomButton> self(this);
    connect(repeatTimer_.get(), &QTimer::timeout, this, [self] {
      if (self && self->OnMouseContinuouslyDown) self->OnMouseContinuouslyDown(self);
    });
    repeatTimer_->start();
  }
  update();
  event->accept();
}

void TSkinCustomButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  StopRepeatTimer();
  pressed_ = false;
  update();
  const QPoint p = event->position().toPoint();
  if (p.x() >= 0 && p.y() >= 0 && p.x() < width() && p.y() < height()) Click();
  event->accept();
}

void TSkinCustomButton::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (!InRect(p, {0, 0, width(), height()}) && (mouseOn_ || pressed_)) {
    mouseOn_ = false;
    pressed_ = false;
    update();
  }
  QWidget::mouseMoveEvent(event);
}

bool TSkinCustomButton::IsActivationKey(int key) {
  return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

void TSkinCustomButton::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) &&
      DispatchDialogKey(window(), key))
    return;
  if (IsActivationKey(key) && hasFocus() && isEnabled()) {
    if (!event->isAutoRepeat()) {
      pressed_ = true;
      update();
    }
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TSkinCustomButton::keyReleaseEvent(QKeyEvent* event) {
  if (IsActivationKey(event->key()) && !event->isAutoRepeat() && hasFocus() && pressed_ && isEnabled()) {
    pressed_ = false;
    update();
    Click();
    event->accept();
    return;
  }
  QWidget::keyReleaseEvent(event);
}

void TSkinCustomButton::focusInEvent(QFocusEvent* event) {
  update();
  QWidget::focusInEvent(event);
}

void TSkinCustomButton::focusOutEvent(QFocusEvent* event) {
  update();
  QWidget::focusOutEvent(event);
}

void TSkinCustomButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    EnableChanged();
    update();
  } else if (event->type() == QEvent::FontChange) {
    FontChanged();
    update();
  } else if (event->type() == QEvent::ParentChange) {
    if (default_ || cancel_) InstallDialogKeyFilter();
  }
  QWidget::changeEvent(event);
}

bool TSkinCustomButton::event(QEvent* event) {
  if (event->type() == QEvent::Shortcut) {  // the caption's accelerator
    if (isEnabled()) {
      QPointer<TSkinCustomButton> self(this);
      setFocus(Qt::ShortcutFocusReason);
      if (self) Click();
    }
    return true;
  }
  return QWidget::event(event);
}

void TSkinCustomButton::Click() {
  if (modalResult_ != 0) {
    if (auto* dialog = qobject_cast<QDialog*>(window()); dialog && dialog->isModal()) dialog->done(modalResult_);
  }
  if (OnClick) OnClick(this);
}

void TSkinCustomButton::InstallDialogKeyFilter() {
  QWidget* win = window();
  if (!win || win == this || win->property(kFilterProperty).toBool()) return;
  win->installEventFilter(new TDialogKeyFilter(win));
  win->setProperty(kFilterProperty, true);
}

bool TSkinCustomButton::DispatchDialogKey(QWidget* window, int key) {
  if (!window) return false;
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  const bool escape = key == Qt::Key_Escape;
  if (!enter && !escape) return false;
  for (TSkinCustomButton* b : window->findChildren<TSkinCustomButton*>()) {
    if (!((enter && b->default_) || (escape && b->cancel_))) continue;
    if (!b->isEnabled() || !b->isVisibleTo(window)) continue;
    b->Click();
    return true;
  }
  return false;
}

}  // namespace kavri
