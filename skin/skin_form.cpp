#include "skin/skin_form.h"

#include <QApplication>
#include <QChildEvent>
#include <QDialog>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <stdexcept>

#include "platform/dialog_service.h"
#include "skin/form_geometry.h"
#include "skin/image_panel.h"
#include "skin/skin_draw.h"
#include "skin/skin_menu.h"
#include "skin/skin_pictures.h"
#include "skin/skin_title_bar.h"
#include "skin/system_colors.h"

namespace kavri {
namespace {

QRect ToQRect(const TPixelRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

bool HasOtherSkinForm(const QWidget* form, const QWidget* self) {
  for (const QObject* child : form->children())
    if (child != self && qobject_cast<const TSkinForm*>(child)) return true;
  return false;
}

}  // namespace

TSkinForm::TSkinForm(QWidget* form) : QWidget(form), color_(clBtnFace), menuBarColor_(clBtnFace) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  if (!form) return;
  if (HasOtherSkinForm(form, this))
    throw std::runtime_error("Sorry, You can create only one TSkinForm component in one form!");
  form_ = form;
  form->setMinimumSize(125, 50);
  maximisedAtStart_ = form->isMaximized();
  normalBounds_ = maximisedAtStart_ ? form->normalGeometry() : form->geometry();
  sizeable_ = !qobject_cast<QDialog*>(form);
  titleBar_ = new TSkinTitleBar(this);
  SetUIStyle(TSkinUIStyle::Navy);
  SetCaption(form->windowTitle());
  if (form->isWindow()) {
    const TPixelRect work = GetWorkAreaRect();
    if (!work.IsEmpty()) form->setMaximumSize(work.Width(), work.Height());
    const bool shown = form->isVisible();
    form->setWindowFlags(form->windowFlags() | Qt::FramelessWindowHint);
    if (shown) form->show();  // changing the flags hides a shown window
    qApp->installEventFilter(this);  // the rim of the window resizes it, over whichever control
  }
  form->installEventFilter(this);
  AlignSelf();
  created_ = true;
}

TSkinForm::~TSkinForm() { ReleaseRimCursor(); }

void TSkinForm::ReleaseRimCursor() {
  if (rimCursor_) QGuiApplication::restoreOverrideCursor();
  rimCursor_ = false;
}

void TSkinForm::SetUIStyle(TSkinUIStyle style) {
  uiStyle_ = style;
  if (IsThemedStyle(style)) {
    borderColor_ = GetThemeColor(style, 2);
    borderWidth_ = GetThemeInt(style, 4);
    color_ = GetThemeColor(style, 3);
    menuBarColor_ = color_;
  }
  if (titleBar_) titleBar_->SetUIStyle(style);
  if (menu_ && menu_->UIStyle() != TSkinUIStyle::Custom) menu_->SetUIStyle(style);
  if (autoUpdateSub_) {
    SubContainerApplyUIStyle(this, style);
    ContainerApplyUIStyle(this, style);
  }
  AlignSelf();
  update();
  FitForm();
}

void TSkinForm::SetBorderColor(TColor color) {
  borderColor_ = color;
  AlignSelf();
}

void TSkinForm::SetBorderWidth(int width) {
  const QSize panel = size();
  borderWidth_ = std::max(width, 0);
  resize(panel);
  FitForm();
  AlignSelf();
}

void TSkinForm::SetColor(TColor color) {
  color_ = color;
  update();
}

bool TSkinForm::TitleBarVisible() const { return titleBar_ && !titleBar_->isHidden(); }

void TSkinForm::SetTitleBarVisible(bool visible) {
  if (!titleBar_) return;
  titleBar_->setVisible(visible);
  AlignSelf();
}

QString TSkinForm::Caption() const { return titleBar_ ? titleBar_->Caption() : QString(); }

void TSkinForm::SetCaption(const QString& caption) {
  if (titleBar_) titleBar_->SetCaption(caption);
  if (form_) form_->setWindowTitle(caption);
}

void TSkinForm::SetPanel(QWidget* panel) {
  if (panel == this) {
    Dialogs().ShowMessage("Sorry, you can't select the Form assign to FormPanel property", TMessageKind::Error);
    return;
  }
  formPanel_ = panel;
  if (!panel) return;
  if (panel->parentWidget() != this) panel->setParent(this);
  if (auto* frame = qobject_cast<QFrame*>(panel)) frame->setFrameShape(QFrame::NoFrame);
  if (auto* skinPanel = qobject_cast<TSkinCustomPanel*>(panel)) skinPanel->SetCaption(QString());
  panel->show();
  AlignBars();
}

void TSkinForm::SetMenu(TSkinMainMenu* menu) {
  if (menu_ && menu_ != menu && menu_->parentWidget() == this) menu_->hide();
  menu_ = menu;
  if (menu) {
    if (menu->parentWidget() != this) menu->setParent(this);
    menu->setFixedHeight(menuBarHeight_);
    menu->show();
  }
  AlignBars();
}

void TSkinForm::SetMenuBarColor(TColor color) {
  menuBarColor_ = color;
  if (menu_) menu_->update();
}

void TSkinForm::SetMenuBarHeight(int height) {
  menuBarHeight_ = height;
  if (menu_) menu_->setFixedHeight(height);
  AlignBars();
}

void TSkinForm::SetWidth(int w) {
  resize(w, height());
  FitForm();
}

void TSkinForm::SetHeight(int h) {
  resize(width(), h);
  FitForm();
}

void TSkinForm::FitForm() {
  if (!form_ || !created_) return;
  const QSize panel = size();
  form_->resize(FormWidthFor(panel.width(), borderWidth_),
                FormHeightFor(panel.height(), borderWidth_, TitleBarVisible()));
  AlignSelf();
}

void TSkinForm::AlignSelf() {
  if (form_) {
    const TFormFrame frame = FormFrameLayout(form_->size(), borderWidth_, TitleBarVisible());
    setGeometry(ToQRect(frame.Panel));
    form_->update();
  }
  AlignBars();
}

void TSkinForm::AlignBars() {
  int y = 0;
  if (TitleBarVisible()) {
    titleBar_->setGeometry(0, 0, width(), titleBar_->height());
    titleBar_->raise();
    y = titleBar_->height();
  }
  if (menu_ && menu_->parentWidget() == this && !menu_->isHidden()) {
    menu_->setGeometry(0, y, width(), menuBarHeight_);
    y += menuBarHeight_;
  }
  if (formPanel_ && formPanel_->parentWidget() == this) formPanel_->setGeometry(0, y, width(), std::max(height() - y, 0));
}

void TSkinForm::SetFormRoundCorner(int r) {
  roundCorner_ = r;
  if (!form_ || !form_->isWindow()) return;
  const QRegion region = RoundCornerRegion(form_->size(), r);
  if (region.isEmpty()) form_->clearMask(); else form_->setMask(region);
}

void TSkinForm::PaintFormBorder(QPainter& painter) const {
  const TFormFrame frame = FormFrameLayout(form_->size(), borderWidth_, TitleBarVisible());
  const QColor colour = ToQColor(ColorToRGB(borderColor_));
  for (const TPixelRect& r : {frame.Left, frame.Bottom, frame.Right, frame.Top})
    if (!r.IsEmpty()) painter.fillRect(ToQRect(r), colour);
}

void TSkinForm::paintEvent(QPaintEvent*) {
  QImage bitmap = NewSkinBitmap(std::max(width(), 1), std::max(height(), 1), ColorToRGB(color_));
  if (uiStyle_ == TSkinUIStyle::Graphite || uiStyle_ == TSkinUIStyle::Pearl) {
    const QImage tile = LoadSkinPicture(uiStyle_ == TSkinUIStyle::Graphite ? "GRAPHITE_FORM_BACKGROUND"
                                                                           : "PEARL_FORM_BACKGROUND");
    if (!tile.isNull()) TileDraw(bitmap, tile, {0, 0, width(), height()});
  }
  QPainter(this).drawImage(0, 0, bitmap);
}

void TSkinForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  AlignBars();
}

void TSkinForm::childEvent(QChildEvent* event) {
  QWidget::childEvent(event);
  if (event->type() == QEvent::ChildRemoved) AlignBars();
}

void TSkinForm::WindowStateChanged() {
  if (maximisedAtStart_ && !form_->isMaximized()) {
    maximisedAtStart_ = false;
    form_->setGeometry(normalBounds_);
  }
  if (titleBar_) titleBar_->ProcessMaxBtn();
  SetFormRoundCorner(roundCorner_);
  AlignSelf();
}

bool TSkinForm::HandleRimMouse(QWidget* receiver, QEvent* event) {
  const auto* mouse = static_cast<QMouseEvent*>(event);
  Qt::Edges edges;
  if (sizeable_ && !form_->isMaximized())
    edges = FormResizeEdges(receiver->mapTo(form_, mouse->position().toPoint()), form_->size());
  if (event->type() == QEvent::MouseButtonPress) {
    if (!edges || mouse->button() != Qt::LeftButton) return false;
    if (QWindow* handle = form_->windowHandle()) handle->startSystemResize(edges);
    return true;
  }
  const bool diagonal = (edges & (Qt::LeftEdge | Qt::RightEdge)) && (edges & (Qt::TopEdge | Qt::BottomEdge));
  const Qt::CursorShape shape =
      diagonal ? ((edges == (Qt::TopEdge | Qt::LeftEdge) || edges == (Qt::BottomEdge | Qt::RightEdge))
                      ? Qt::SizeFDiagCursor
                      : Qt::SizeBDiagCursor)
      : (edges & (Qt::LeftEdge | Qt::RightEdge)) ? Qt::SizeHorCursor
                                                 : Qt::SizeVerCursor;
  if (edges && !rimCursor_) QGuiApplication::setOverrideCursor(shape);
  else if (edges) QGuiApplication::changeOverrideCursor(shape);
  else if (rimCursor_) QGuiApplication::restoreOverrideCursor();
  rimCursor_ = bool(edges);
  return false;
}

bool TSkinForm::eventFilter(QObject* watched, QEvent* event) {
  if (!form_) return false;
  if (watched == form_) {
    switch (event->type()) {
      case QEvent::Resize: AlignSelf(); SetFormRoundCorner(roundCorner_); break;
      case QEvent::Paint: {
        QPainter painter(form_);
        PaintFormBorder(painter);
        break;
      }
      case QEvent::ActivationChange:
        if (titleBar_) titleBar_->SetFormActive(form_->isActiveWindow());
        break;
      case QEvent::WindowStateChange: WindowStateChanged(); break;
      // The resize cursor is application-wide: it must not follow the mouse out of this window.
      case QEvent::Leave:
      case QEvent::Hide: ReleaseRimCursor(); break;
      default: break;
    }
  }
  if ((event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress) && watched->isWidgetType()) {
    auto* receiver = static_cast<QWidget*>(watched);
    if (receiver->window() == form_ && form_->isWindow()) return HandleRimMouse(receiver, event);
  }
  return false;
}

}  // namespace kavri
