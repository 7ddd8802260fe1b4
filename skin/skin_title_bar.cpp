#include "skin/skin_title_bar.h"

#include <QApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWindow>

#include "platform/dialog_service.h"
#include "skin/pixel_ops.h"
#include "skin/skin_draw.h"
#include "skin/skin_form.h"
#include "skin/skin_menu.h"
#include "skin/skin_pictures.h"
#include "skin/style_apply.h"
#include "skin/system_colors.h"

namespace kavri {
namespace {

QImage ThemePicture(TSkinUIStyle style, int element) {
  return LoadSkinPicture(GetThemeString(style, element));
}

// First picture element of each window button type (normal, mouse-on, mouse-down follow).
int ButtonPictureElement(TSkinTitleBarBtnType type, bool maximised) {
  switch (type) {
    case TSkinTitleBarBtnType::skinMax: return maximised ? 63 : 51;
    case TSkinTitleBarBtnType::skinMin: return 54;
    case TSkinTitleBarBtnType::skinClose: return 48;
    case TSkinTitleBarBtnType::skinHelp: return 57;
    case TSkinTitleBarBtnType::skinControlBox: return 60;
    case TSkinTitleBarBtnType::skinCustom: break;
  }
  return 0;
}

}  // namespace

TSkinTitleBar::TSkinTitleBar(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  resize(parent ? parent->width() : 200, 24);
  QFont f("Tahoma", 8);
  f.setBold(true);
  setFont(f);
  for (TSkinTitleBarBtnType type : {TSkinTitleBarBtnType::skinControlBox, TSkinTitleBarBtnType::skinClose,
                                    TSkinTitleBarBtnType::skinMax, TSkinTitleBarBtnType::skinMin})
    AddButton(type);
  SetUIStyle(GetSkinFormStyle(OwnerForm(parent)));
}

void TSkinTitleBar::SetUIStyle(TSkinUIStyle style) {
  uiStyle_ = style;
  sections_.clear();
  if (IsThemedStyle(style)) {
    sections_.push_back({10, TSkinTitleBarAlign::skinLeft, ThemePicture(style, 45), false, true});
    sections_.push_back({10, TSkinTitleBarAlign::skinRight, ThemePicture(style, 47), false, true});
    sections_.push_back({10, TSkinTitleBarAlign::skinClient, ThemePicture(style, 46), true, false});
    leftOffset_ = GetThemeInt(style, 67);
    rightOffset_ = GetThemeInt(style, 68);
    if (QWidget* form = window(); form && form != this) form->setMinimumWidth(GetThemeInt(style, 6));
    cornerRound_ = GetThemeInt(style, 7);
    ApplyRoundCorner();
  }
  for (TSkinTitleBarButton& b : buttons_) {
    b.UIStyle = style;
    UpdateButtonStyle(b);
  }
  SetAutoSize(true);
  update();
}

void TSkinTitleBar::ApplyRoundCorner() {
  if (auto* form = qobject_cast<TSkinForm*>(parentWidget())) form->SetFormRoundCorner(cornerRound_);
}

void TSkinTitleBar::UpdateButtonStyle(TSkinTitleBarButton& b) const {
  if (!IsThemedStyle(b.UIStyle)) return;
  b.Transparent = GetThemeBool(b.UIStyle, 66);
  b.Top = GetThemeInt(b.UIStyle, 69);
  const QWidget* form = window();
  const int first = ButtonPictureElement(b.ButtonType, form && form != this && form->isMaximized());
  if (first == 0) return;  // custom buttons keep their pictures
  b.PicNormal = ThemePicture(b.UIStyle, first);
  b.PicMouseOn = ThemePicture(b.UIStyle, first + 1);
  b.PicMouseDown = ThemePicture(b.UIStyle, first + 2);
}

void TSkinTitleBar::ProcessMaxBtn() {
  for (TSkinTitleBarButton& b : buttons_)
    if (b.ButtonType == TSkinTitleBarBtnType::skinMax) UpdateButtonStyle(b);
  update();
}

int TSkinTitleBar::AddSection(const TSkinTitleBarSection& section) {
  if (section.Align == TSkinTitleBarAlign::skinClient) {
    sections_.push_back({section.Width, TSkinTitleBarAlign::skinLeft, section.Picture, section.Stretch,
                         section.AutoSize});
    if (!SetSectionAlign(static_cast<int>(sections_.size()) - 1, TSkinTitleBarAlign::skinClient)) {
      sections_.pop_back();
      return -1;
    }
  } else {
    sections_.push_back(section);
  }
  ApplyAutoSize();
  update();
  return static_cast<int>(sections_.size()) - 1;
}

bool TSkinTitleBar::SetSectionAlign(int index, TSkinTitleBarAlign align) {
  if (index < 0 || index >= static_cast<int>(sections_.size())) return false;
  if (align == TSkinTitleBarAlign::skinClient) {
    for (const TSkinTitleBarSection& s : sections_) {
      if (&s != &sections_[index] && s.Align == TSkinTitleBarAlign::skinClient) {
        Dialogs().ShowMessage("Sorry, only one section's Align property can be \"skinClient\"",
                              TMessageKind::Error);
        return false;
      }
    }
  }
  sections_[index].Align = align;
  update();
  return true;
}

void TSkinTitleBar::ClearSections() {
  sections_.clear();
  update();
}

int TSkinTitleBar::AddButton(TSkinTitleBarBtnType type) {
  buttons_.push_back({});
  buttons_.back().UIStyle = uiStyle_ == TSkinUIStyle::Custom ? TSkinUIStyle::Navy : uiStyle_;
  const int index = static_cast<int>(buttons_.size()) - 1;
  if (!SetButtonType(index, type)) {
    buttons_.pop_back();
    return -1;
  }
  return index;
}

bool TSkinTitleBar::SetButtonType(int index, TSkinTitleBarBtnType type) {
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return false;
  if (type == TSkinTitleBarBtnType::skinControlBox) {
    for (const TSkinTitleBarButton& b : buttons_) {
      if (b.ButtonType == TSkinTitleBarBtnType::skinControlBox) {
        Dialogs().ShowMessage("Sorry, only one button's ButtonType property can be \"skinControlBox\"",
                              TMessageKind::Error);
        return false;
      }
    }
  }
  buttons_[index].ButtonType = type;
  UpdateButtonStyle(buttons_[index]);
  update();
  return true;
}

void TSkinTitleBar::RemoveButton(int index) {
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return;
  buttons_.erase(buttons_.begin() + index);
  hot_ = -1;
  update();
}

void TSkinTitleBar::SetAutoSize(bool value) {
  autoSize_ = value && !sections_.empty();
  ApplyAutoSize();
}

void TSkinTitleBar::ApplyAutoSize() {
  if (autoSize_ && !sections_.empty() && !sections_.front().Picture.isNull())
    resize(width(), sections_.front().Picture.height());
}

void TSkinTitleBar::SetButtonInterval(int value) { buttonInterval_ = value; update(); }
void TSkinTitleBar::SetCaption(const QString& caption) { caption_ = caption; update(); }
void TSkinTitleBar::SetFontColor(TColor color) { fontColor_ = color; update(); }
void TSkinTitleBar::SetFormActive(bool active) { formActive_ = active; update(); }
void TSkinTitleBar::SetLeftBtnXOffset(int value) { leftOffset_ = value; update(); }
void TSkinTitleBar::SetRightBtnXOffset(int value) { rightOffset_ = value; update(); }
void TSkinTitleBar::SetDrawAppIcon(bool value) { drawAppIcon_ = value; update(); }

TTitleButtonsPlace TSkinTitleBar::PlaceButtons() const {
  std::vector<TTitleButtonShape> shapes;
  for (const TSkinTitleBarButton& b : buttons_)
    shapes.push_back({b.ButtonType, b.PicNormal.width(), b.PicNormal.height(), b.Top});
  return PlaceTitleButtons(shapes, width(), leftOffset_, rightOffset_, buttonInterval_, drawAppIcon_);
}

std::vector<TPixelRect> TSkinTitleBar::ButtonRects() const { return PlaceButtons().Buttons; }

int TSkinTitleBar::ButtonAt(QPoint point) const {
  const std::vector<TPixelRect> rects = ButtonRects();
  for (size_t i = 0; i < rects.size(); ++i) {
    const TPixelRect& r = rects[i];
    if (!r.IsEmpty() && point.x() >= r.Left && point.x() < r.Right && point.y() >= r.Top && point.y() < r.Bottom)
      return static_cast<int>(i);
  }
  return -1;
}

void TSkinTitleBar::DrawSectionsTo(QImage& bitmap) const {
  std::vector<TTitleSectionShape> shapes;
  for (const TSkinTitleBarSection& s : sections_)
    shapes.push_back({s.AutoSize && !s.Picture.isNull() ? s.Picture.width() : s.Width, s.Align});
  const std::vector<TPixelRect> rects = PlaceTitleSections(shapes, width(), height());
  for (size_t i = 0; i < sections_.size(); ++i) {
    const TSkinTitleBarSection& s = sections_[i];
    const TPixelRect& r = rects[i];
    if (r.IsEmpty() || s.Picture.isNull()) continue;
    const TPixelRect whole{0, 0, s.Picture.width(), s.Picture.height()};
    if (s.Stretch || s.Align == TSkinTitleBarAlign::skinClient) {
      StretchPixels(s.Picture, whole, bitmap, r);
    } else {
      CopyPixels(s.Picture, {0, 0, r.Width(), r.Height()}, bitmap, r.Left, r.Top);
    }
  }
}

void TSkinTitleBar::DrawButtons(QImage& bitmap) const {
  const TTitleButtonsPlace place = PlaceButtons();
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const TSkinTitleBarButton& b = buttons_[i];
    const TPixelRect& r = place.Buttons[i];
    if (b.ButtonType == TSkinTitleBarBtnType::skinControlBox && drawAppIcon_) {
      QPainter p(&bitmap);
      p.drawPixmap(r.Left, r.Top, QApplication::windowIcon().pixmap(16, 16));
      continue;
    }
    const bool hot = hot_ == static_cast<int>(i);
    const QImage& pic = hot && pressed_ ? b.PicMouseDown : hot ? b.PicMouseOn : b.PicNormal;
    if (pic.isNull()) continue;
    CopyPixels(ToSkinBitmap(pic), {0, 0, pic.width(), pic.height()}, bitmap, r.Left, r.Top,
               b.Transparent ? std::optional<TColor>(kMaskMagenta) : std::nullopt);
  }
  if (caption_.isEmpty()) return;
  QPainter p(&bitmap);
  p.setFont(font());
  const QFontMetrics fm = p.fontMetrics();
  const QString text = FitTitleCaption(caption_, place.CaptionRight - place.CaptionLeft,
                                       [&fm](const QString& t) { return fm.horizontalAdvance(t); });
  TColor colour = fontColor_;
  if (!formActive_) colour = ColorToRGB(clInactiveCaption);
  else if (uiStyle_ == TSkinUIStyle::Graphite) colour = clBlack;
  p.setPen(ToQColor(colour));
  const int top = uiStyle_ == TSkinUIStyle::Navy ? 4 : (height() - fm.height()) / 2;
  p.drawText(QPoint(place.CaptionLeft, top + fm.ascent()), text);
}

QImage TSkinTitleBar::Render() const {
  QImage bitmap = NewSkinBitmap(std::max(width(), 1), std::max(height(), 1), ColorToRGB(clBtnFace));
  DrawSectionsTo(bitmap);
  DrawButtons(bitmap);
  return bitmap;
}

void TSkinTitleBar::paintEvent(QPaintEvent*) { QPainter(this).drawImage(0, 0, Render()); }

void TSkinTitleBar::DoClick(int index) {
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return;
  QWidget* form = window();
  if (!form || form == this) return;
  const TPixelRect work = GetWorkAreaRect();
  if (!work.IsEmpty()) form->setMaximumSize(work.Width(), work.Height());
  switch (buttons_[index].ButtonType) {
    case TSkinTitleBarBtnType::skinMax:
      if (form->isMaximized()) form->showNormal(); else form->showMaximized();
      ProcessMaxBtn();
      ApplyRoundCorner();
      break;
    case TSkinTitleBarBtnType::skinMin: form->showMinimized(); break;
    case TSkinTitleBarBtnType::skinClose: form->close(); break;  // may delete this bar
    case TSkinTitleBarBtnType::skinControlBox:
      if (TSkinPopupMenu* menu = buttons_[index].ControlBoxMenu) menu->Popup(mapToGlobal(QPoint(0, height())));
      break;
    case TSkinTitleBarBtnType::skinHelp:
      if (OnHelpBtnClick) OnHelpBtnClick(this, index);
      break;
    case TSkinTitleBarBtnType::skinCustom:
      if (OnCustomBtnsClick) OnCustomBtnsClick(this, index);
      break;
  }
}

void TSkinTitleBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = true;
  hot_ = ButtonAt(event->position().toPoint());
  update();
  QWidget* form = window();
  if (hot_ < 0 && form && form != this && !form->isMaximized()) {
    // The window system moves the window; the press ends there.
    pressed_ = false;
    if (QWindow* handle = form->windowHandle()) handle->startSystemMove();
  }
}

void TSkinTitleBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int index = ButtonAt(event->position().toPoint());
  const bool wasPressed = pressed_;
  pressed_ = false;
  update();
  if (wasPressed && index >= 0) DoClick(index);
}

void TSkinTitleBar::mouseMoveEvent(QMouseEvent* event) {
  hot_ = ButtonAt(event->position().toPoint());
  update();
}

void TSkinTitleBar::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || ButtonAt(event->position().toPoint()) >= 0) return;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i].ButtonType == TSkinTitleBarBtnType::skinMax) {
      DoClick(static_cast<int>(i));
      return;
    }
  }
}

void TSkinTitleBar::leaveEvent(QEvent*) {
  hot_ = -1;
  update();
}

}  // namespace kavri
