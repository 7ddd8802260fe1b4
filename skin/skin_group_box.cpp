#include "skin/skin_group_box.h"

#include <QEvent>
#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>

#include "skin/skin_check_box.h"
#include "skin/style_apply.h"
#include "skin/system_colors.h"

namespace kavri {

TSkinCustomGroupBox::TSkinCustomGroupBox(QWidget* owner) : TSkinCustomPanel(owner) {
  resize(185, 105);
  const TSkinUIStyle s = GetSkinFormStyle(OwnerForm(owner));
  borderColor_ = GetThemeColor(s, 8);
  fontColor_ = GetThemeColor(s, 10);
  SetTransparent(true);
}

void TSkinCustomGroupBox::SetCaption(const QString& caption) { caption_ = caption; update(); }
void TSkinCustomGroupBox::SetBorderColor(TColor c) { borderColor_ = c; update(); }
void TSkinCustomGroupBox::SetFontColor(TColor c) { fontColor_ = c; update(); }

void TSkinCustomGroupBox::SetEnabled(bool enabled) {
  setEnabled(enabled);  // Qt disables the children with the box
  update();
}

int TSkinCustomGroupBox::FontHeight() const { return QFontInfo(font()).pixelSize(); }

QRect TSkinCustomGroupBox::GetClient() const {
  const QRect c = rect();
  return QRect(QPoint(c.left() + 3, c.top() + FontHeight()), QPoint(c.right() - 2, c.bottom() - 2));
}

void TSkinCustomGroupBox::changeEvent(QEvent* event) {
  TSkinCustomPanel::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange) update();
}

void TSkinCustomGroupBox::paintEvent(QPaintEvent* event) {
  TSkinCustomPanel::paintEvent(event);
  QPainter p(this);
  p.setFont(font());
  const int h = FontHeight();
  // Exclusive right/bottom as the frame was laid out.
  const int left = 0, top = h / 2 + 1, right = width(), bottom = height();
  const int textWidth = caption_.isEmpty() ? 0 : p.fontMetrics().horizontalAdvance(caption_);
  const int gapEnd = caption_.isEmpty() ? left : left + 6 + textWidth;
  p.setPen(ToQColor(ColorToRGB(borderColor_)));
  const QPoint path[] = {{left + 2, top}, {left, top}, {left, bottom - 1}, {right - 1, bottom - 1},
                         {right - 1, top}, {std::max(gapEnd, left), top}};
  p.drawPolyline(path, 6);
  if (!caption_.isEmpty()) {
    p.setPen(isEnabled() ? ToQColor(ColorToRGB(fontColor_)) : QColor(0x80, 0x80, 0x80));
    p.drawText(QPoint(5, p.fontMetrics().ascent()), caption_);
  }
}

void TSkinGroupBox::ApplyContainerStyle(TSkinUIStyle style) {
  SetBorderColor(GetThemeColor(style, 8));
  SetFontColor(GetThemeColor(style, 10));
  SetColor(GetThemeColor(style, 9));
}

// ---- check group ----

TSkinCheckGroup::TSkinCheckGroup(QWidget* owner) : TSkinCustomGroupBox(owner) {
  SetCaption("skinCheckGroup");
  SetUIStyle(GetSkinFormStyle(OwnerForm(owner)));
  SetTransparent(false);
  SetParentColor(true);
}

void TSkinCheckGroup::SetItems(const QStringList& items) {
  items_ = items;
  ItemChanged();
}

void TSkinCheckGroup::SetColumns(int columns) {
  if (columns < 1) return;
  columns_ = columns;
  ArrangeButtons();
}

void TSkinCheckGroup::SetTopMargin(int margin) {
  if (margin < 0) return;
  topMargin_ = margin;
  ArrangeButtons();
}

void TSkinCheckGroup::SetParentColor(bool value) {
  parentColor_ = value;
  if (value) SetColor(GetSkinFormColor(OwnerForm(parentWidget())));
  for (TSkinCheckBox* b : buttons_) b->SetColor(Color());
}

void TSkinCheckGroup::SetUIStyle(TSkinUIStyle style) {
  uiStyle_ = style;
  // Custom reads 0 from the theme: a black frame and caption (and background unless the parent's).
  SetBorderColor(GetThemeColor(style, 8));
  SetFontColor(GetThemeColor(style, 10));
  if (!parentColor_) SetColor(GetThemeColor(style, 9));
  for (TSkinCheckBox* b : buttons_) {
    b->SetUIStyle(style);
    b->SetColor(Color());
  }
}

void TSkinCheckGroup::SetTransparent(bool transparent) {
  TSkinCustomGroupBox::SetTransparent(transparent);
  for (TSkinCheckBox* b : buttons_) b->SetTransparent(transparent);
}

bool TSkinCheckGroup::GetChecked(int index) const {
  return index >= 0 && index < buttons_.size() && buttons_[index]->Checked();
}

void TSkinCheckGroup::SetChecked(int index, bool value) {
  if (index >= 0 && index < buttons_.size()) buttons_[index]->SetChecked(value);
}

TSkinCheckBox* TSkinCheckGroup::Button(int index) const {
  return index >= 0 && index < buttons_.size() ? buttons_[index] : nullptr;
}

TSkinCheckBox* TSkinCheckGroup::CreateAButton() { return new TSkinCheckBox(this); }

void TSkinCheckGroup::DoClick() {
  NewClick();
  if (OnClick) OnClick();
}

void TSkinCheckGroup::ItemChanged() {
  UpdateButtons();
  ArrangeButtons();
}

bool TSkinCheckGroup::UpdateButtons() {
  const int d = static_cast<int>(items_.size()) - static_cast<int>(buttons_.size());
  for (int i = 0; i < d; ++i) {
    TSkinCheckBox* b = CreateAButton();
    b->setParent(this);
    b->SetAutoSize(true);
    b->SetUIStyle(uiStyle_);
    b->SetTransparent(Transparent());
    b->SetColor(Color());
    b->OnClick = [this](TSkinCustomButton*) { DoClick(); };
    b->show();
    buttons_.append(b);
  }
  for (int i = 0; i < -d; ++i) delete buttons_.takeLast();
  for (int i = 0; i < buttons_.size(); ++i) buttons_[i]->SetCaption(items_[i]);
  return d > 0;
}

void TSkinCheckGroup::ArrangeButtons() {
  const int n = static_cast<int>(buttons_.size());
  if (n == 0) return;
  const int c = std::max(columns_, 1);
  const QRect client = GetClient();
  const int top = client.top() + topMargin_;
  const int avail = client.bottom() + 1 - top;
  const int rows = (n + c - 1) / c;
  const int columnWidth = (width() - 10) / c;
  const int rowHeight = avail / rows;
  const int y0 = (avail % rows) / 2 + top;
  for (int i = 0; i < n; ++i) buttons_[i]->move((i / rows) * columnWidth + 8, (i % rows) * rowHeight + y0);
}

void TSkinCheckGroup::resizeEvent(QResizeEvent* event) {
  TSkinCustomGroupBox::resizeEvent(event);
  ArrangeButtons();
}

void TSkinCheckGroup::mousePressEvent(QMouseEvent* event) {
  pressedOnGroup_ = event->button() == Qt::LeftButton;
  event->accept();
}

void TSkinCheckGroup::mouseReleaseEvent(QMouseEvent* event) {
  // Only a click that began and ended on the group itself; a button's click reports through DoClick.
  const bool click = pressedOnGroup_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressedOnGroup_ = false;
  event->accept();
  if (click) DoClick();
}

// ---- radio group ----

TSkinRadioGroup::TSkinRadioGroup(QWidget* owner) : TSkinCheckGroup(owner) { SetCaption("skinRadioGroup"); }

TSkinCheckBox* TSkinRadioGroup::CreateAButton() { return new TSkinRadioButton(this); }

int TSkinRadioGroup::GetItemIndex() const {
  for (int i = 0; i < ButtonCount(); ++i)
    if (Button(i)->Checked()) return i;
  return -1;
}

void TSkinRadioGroup::SetItemIndex(int value) {
  if (value > static_cast<int>(Items().size()) - 1 || value < -1) return;
  if (value == -1) {
    for (int i = 0; i < ButtonCount(); ++i) Button(i)->SetChecked(false);
    return;
  }
  SetChecked(value, true);
}

}  // namespace kavri
