#include "skin/skin_check_box.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPointer>
#include <algorithm>

#include "skin/pixel_ops.h"
#include "skin/skin_pictures.h"

namespace kavri {

// ---- two-state base

TSkinCustomButtonEx::TSkinCustomButtonEx(QWidget* parent) : TSkinCustomButton(parent) {
  SetParentColor(true);
  SetTabStop(true);
  // The style's pictures are set by the concrete class once it exists (it chooses which elements).
  StoreUIStyle(GetSkinFormStyle(OwnerForm(parent)));
  resize(93, height());
}

void TSkinCustomButtonEx::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  CheckStateChanged();
  update();
}

void TSkinCustomButtonEx::Click() {
  QPointer<TSkinCustomButtonEx> self(this);
  if (isEnabled() && isVisible()) setFocus(Qt::OtherFocusReason);
  DoClick();
  if (self) TSkinCustomButton::Click();
}

int TSkinCustomButtonEx::LineHeight() const { return QFontInfo(font()).pixelSize() + 2; }

void TSkinCustomButtonEx::ApplyAutoSize() {
  if (!AutoSize() || sizing_) return;
  sizing_ = true;
  const int ph = GetPicHeight(), pw = GetPicWidth();
  resize(pw + 8 + QFontMetrics(font()).horizontalAdvance(PlainCaption()), std::max(LineHeight(), ph) + 4);
  sizing_ = false;
}

void TSkinCustomButtonEx::AutoSizeChanged() { ApplyAutoSize(); }
void TSkinCustomButtonEx::CaptionChanged() { ApplyAutoSize(); }
void TSkinCustomButtonEx::FontChanged() { ApplyAutoSize(); }

void TSkinCustomButtonEx::resizeEvent(QResizeEvent* event) {
  TSkinCustomButton::resizeEvent(event);
  ApplyAutoSize();
}

void TSkinCustomButtonEx::UIStyleChanged() { SetButtonPic(UIStyle()); }

void TSkinCustomButtonEx::PaintPic(QImage& canvas, const QImage& picture) {
  if (picture.isNull()) return;
  std::optional<TColor> mask;
  if (PicTransparent()) mask = PixelAt(picture, 0, 0);
  // Never greyed: the disabled look comes from the disabled pictures.
  CopyPixels(picture, {0, 0, picture.width(), picture.height()}, canvas, 1, (height() - GetPicHeight()) / 2, mask);
}

void TSkinCustomButtonEx::PaintText(QImage& canvas, const QString& caption) {
  const int lh = LineHeight();
  captionRect_ = QRect(QPoint(GetPicWidth() + 4, (height() - lh) / 2), QPoint(width() - 1, height() - 1));
  DrawCaption(canvas, captionRect_, Qt::AlignLeft | Qt::AlignTop, caption, isEnabled() ? FontColor() : clGray);
}

void TSkinCustomButtonEx::PaintFocus(QImage& canvas) {
  // The caption rectangle is laid out by PaintText, which runs after this in a paint.
  const int lh = LineHeight();
  QRect r(QPoint(GetPicWidth() + 4, (height() - lh) / 2), QPoint(width() - 1, height() - 1));
  DrawFocusFrame(canvas, r.adjusted(-1, 0, 0, 0));
}

// ---- check box

TSkinCheckBox::TSkinCheckBox(QWidget* parent) : TSkinCustomButtonEx(parent) {
  SetPicTransparent(false);
  SetCaption("skinCheckBox");
  resize(width(), 17);
  SetUIStyle(UIStyle());
}

void TSkinCheckBox::ApplyContainerStyle(TSkinUIStyle style) {
  if (UIStyle() != TSkinUIStyle::Custom) SetUIStyle(style);
}

void TSkinCheckBox::TransparentChanged() { SetPicTransparent(false); }
void TSkinCheckBox::EnableChanged() { SetButtonPic(UIStyle()); }

void TSkinCheckBox::UIStyleChanged() {
  TSkinCustomButtonEx::UIStyleChanged();
  switch (UIStyle()) {
    case TSkinUIStyle::Graphite:
    case TSkinUIStyle::Pearl: SetTransparent(true); break;
    case TSkinUIStyle::Custom: break;
    default: SetTransparent(false); break;
  }
}

void TSkinCheckBox::SetButtonPic(TSkinUIStyle style) {
  // Custom keeps whatever names the box holds.
  if (style == TSkinUIStyle::Custom) return;
  SetResHandle(0);
  const int first = FirstPictureElement();  // disabled checked; +1 disabled unchecked; +2.. enabled
  const int offset = Checked() ? 0 : 1;
  const int normal = isEnabled() ? first + 2 + offset : first + offset;
  auto name = [style](int element) { return QString::fromStdString(GetThemeString(style, element)); };
  TSkinCustomButton::SetPicNormal(name(normal));
  TSkinCustomButton::SetPicMouseOn(name(first + 4 + offset));
  TSkinCustomButton::SetPicMouseDown(name(first + 6 + offset));
}

void TSkinCheckBox::DoClick() {
  SetChecked(!Checked());
  Toggle();
}

void TSkinCheckBox::CheckStateChanged() { SetButtonPic(UIStyle()); }

int TSkinCheckBox::GetPicWidth() const { return LoadSkinPicture(GetThemeString(UIStyle(), 30)).width(); }
int TSkinCheckBox::GetPicHeight() const { return LoadSkinPicture(GetThemeString(UIStyle(), 30)).height(); }

// ---- radio button

TSkinRadioButton::TSkinRadioButton(QWidget* parent) : TSkinCheckBox(parent) {
  SetPicTransparent(true);
  SetCaption("skinRadioButton");
  SetUIStyle(UIStyle());  // again, now that the radio pictures are chosen
}

void TSkinRadioButton::TransparentChanged() { SetPicTransparent(true); }

void TSkinRadioButton::DoClick() {
  if (!Checked()) SetChecked(true);
}

void TSkinRadioButton::CheckStateChanged() {
  if (Checked()) UnCheckGroup();
  TSkinCheckBox::CheckStateChanged();
}

void TSkinRadioButton::UnCheckGroup() {
  QWidget* parent = parentWidget();
  if (!parent) return;
  for (QObject* child : parent->children()) {
    auto* radio = qobject_cast<TSkinRadioButton*>(child);
    if (radio && radio != this && radio->GroupIndex() == groupIndex_) radio->SetChecked(false);
  }
}

}  // namespace kavri
