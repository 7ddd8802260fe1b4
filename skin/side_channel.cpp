#include "skin/side_channel.h"

#include <QCursor>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>
#include <QToolButton>

#include "skin/image_panel.h"
#include "skin/system_colors.h"
#include "skin/skin_draw.h"
#include "skin/skin_pictures.h"

namespace kavri {
namespace {

constexpr int kTopPanelHeight = 16;
constexpr int kPinWidth = 20;

void FillWith(QWidget* w, TColor color) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, ToQColor(ColorToRGB(color)));
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

}  // namespace

TSkinSideChannel::TSkinSideChannel(QWidget* parent) : QWidget(parent) {
  FLeftBar = new QWidget(this);
  FLeftBar->resize(10, height());
  FLeftBar->setMouseTracking(true);
  FTopPanel = new QLabel(this);
  FTopPanel->setMouseTracking(true);
  FTopPanel->resize(width(), kTopPanelHeight);
  FPinButton = new QToolButton(FTopPanel);
  FPinButton->setAutoRaise(true);
  FPinButton->setCheckable(true);
  FPinButton->resize(kPinWidth, kTopPanelHeight);
  FPinButton->setIcon(QPixmap::fromImage(LoadSkinPicture("SIDECHANNEL_BTN_NOONTOP")));
  connect(FPinButton, &QToolButton::clicked, this, &TSkinSideChannel::PinClick);
  FBarButton = new TSkinImagePanel(FLeftBar);
  FBarButton->SetAutoSize(true);
  FBarButton->SetPicture(LoadSkinPicture("SIDECHANNEL_BAR_NORMAL"));
  FBarButton->setMouseTracking(true);
  for (QObject* o : {static_cast<QObject*>(FLeftBar), static_cast<QObject*>(FTopPanel),
                     static_cast<QObject*>(FBarButton)})
    o->installEventFilter(this);

  FTimer = new QTimer(this);
  FTimer->setInterval(kCloseCheckMs);
  connect(FTimer, &QTimer::timeout, this, &TSkinSideChannel::CloseCheck);
  FSlideTimer = new QTimer(this);
  FSlideTimer->setInterval(kSlideIntervalMs);
  connect(FSlideTimer, &QTimer::timeout, this, &TSkinSideChannel::SlideStep);

  if (parent) parent->installEventFilter(this);
  SetAlign(TSkinSideChannelAlign::skinLeft);
  FColor = GetSkinFormColor(OwnerForm(parent));
  SetSideBarColor(FColor);
  FWidth = std::max(width(), kMinOpenWidth);
  Push(true);
}

int TSkinSideChannel::SideBarWidth() const { return FLeftBar->width(); }

void TSkinSideChannel::ResizeTo(int w) {
  FInternalResize = true;
  resize(w, height());
  FInternalResize = false;
  Realign();
}

void TSkinSideChannel::Pop(bool quick) {
  FMoving = true;
  FPinButton->setVisible(true);
  FSlide = TSlide::Opening;
  if (quick) {
    FinishPop();
    return;
  }
  FSlideTimer->start();
}

void TSkinSideChannel::Push(bool quick) {
  FMoving = true;
  FTimer->stop();
  FSlide = TSlide::Closing;
  if (quick) {
    FinishPush();
    return;
  }
  FSlideTimer->start();
}

void TSkinSideChannel::SlideStep() {
  if (FSlide == TSlide::Opening) {
    if (width() + kSlideStep < FWidth)
      ResizeTo(width() + kSlideStep);
    else
      FinishPop();
  } else if (FSlide == TSlide::Closing) {
    if (width() - kSlideStep > SideBarWidth())
      ResizeTo(width() - kSlideStep);
    else
      FinishPush();
  } else {
    FSlideTimer->stop();
  }
}

void TSkinSideChannel::FinishPop() {
  FSlideTimer->stop();
  FSlide = TSlide::None;
  ResizeTo(FWidth);
  // The close check runs only while the pin is up.
  if (!FPinButton->isChecked()) FTimer->start();
  FMoving = false;
  FTopPanel->setText(FCaption);
  if (OnPop) OnPop(this);
}

void TSkinSideChannel::FinishPush() {
  FSlideTimer->stop();
  FSlide = TSlide::None;
  ResizeTo(SideBarWidth());
  FPinButton->setVisible(false);
  FTopPanel->setText(QString());
  FMoving = false;
  if (OnPush) OnPush(this);
}

void TSkinSideChannel::CloseCheck() {
  const QRect onScreen(mapToGlobal(QPoint(0, 0)), size());
  const QPoint cursor = QCursor::pos();
  const bool inside = cursor.x() > onScreen.left() && cursor.x() < onScreen.right() + 1 &&
                      cursor.y() > onScreen.top() && cursor.y() < onScreen.bottom() + 1;
  if (!inside || !parentWidget()) Push(QuickMove);
}

bool TSkinSideChannel::CloseCheckRunning() const { return FTimer->isActive(); }

void TSkinSideChannel::PinClick() {
  const bool down = FPinButton->isChecked();
  if (down)
    FTimer->stop();
  else if (IsOpen() && !FMoving)
    FTimer->start();
  FPinButton->setIcon(QPixmap::fromImage(LoadSkinPicture(down ? "SIDECHANNEL_BTN_ONTOP" : "SIDECHANNEL_BTN_NOONTOP")));
  FStayOn = down;
}

void TSkinSideChannel::SetStayOn(bool stayOn) {
  FStayOn = stayOn;
  if (stayOn) {
    Pop(QuickMove);
    FPinButton->setChecked(true);
  } else {
    FPinButton->setChecked(false);
    Push(true);
  }
  PinClick();
}

void TSkinSideChannel::SetWidth(int w) { FWidth = w; }

void TSkinSideChannel::SetSideWidth(int w) {
  FLeftBar->resize(std::max(0, w), FLeftBar->height());
  Push(true);
}

void TSkinSideChannel::SetSideBarColor(TColor color) {
  FSideBarColor = color;
  FillWith(FLeftBar, color);
  FillWith(FTopPanel, color);
}

void TSkinSideChannel::SetColor(TColor color) {
  FColor = color;
  update();
}

void TSkinSideChannel::ApplyContainerStyle(TSkinUIStyle style) {
  SetColor(GetThemeColor(style, 9));
  SetSideBarColor(GetThemeColor(style, 9));
}

void TSkinSideChannel::SetCaption(const QString& caption) {
  FCaption = caption;
  if (IsOpen()) FTopPanel->setText(caption);
}

QString TSkinSideChannel::TopCaption() const { return FTopPanel->text(); }

Qt::Alignment TSkinSideChannel::Alignment() const { return FTopPanel->alignment(); }
void TSkinSideChannel::SetAlignment(Qt::Alignment alignment) { FTopPanel->setAlignment(alignment); }

void TSkinSideChannel::SetAlign(TSkinSideChannelAlign align) {
  FAlign = align;
  Realign();
}

void TSkinSideChannel::Realign() {
  if (QWidget* p = parentWidget()) {
    const int x = FAlign == TSkinSideChannelAlign::skinLeft ? 0 : p->width() - width();
    setGeometry(x, 0, width(), p->height());
  }
  const int bar = SideBarWidth();
  const bool left = FAlign == TSkinSideChannelAlign::skinLeft;
  FLeftBar->setGeometry(left ? 0 : width() - bar, 0, bar, height());
  const int panelLeft = left ? bar : 0;
  FTopPanel->setGeometry(panelLeft, 0, std::max(0, width() - bar), kTopPanelHeight);
  FPinButton->move(std::max(0, FTopPanel->width() - kPinWidth), 0);
}

bool TSkinSideChannel::CanResize(int newWidth) {
  if (OnCanResize && !OnCanResize(this, newWidth)) return false;
  return FMoving || !IsOpen() || newWidth >= kMinOpenWidth;
}

void TSkinSideChannel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!FInternalResize && event->size().width() != event->oldSize().width() && event->oldSize().width() >= 0) {
    // A resize from outside: refused below the open minimum, else remembered as the open width.
    if (!CanResize(event->size().width())) {
      ResizeTo(event->oldSize().width());
      return;
    }
    if (!FMoving && width() > SideBarWidth()) FWidth = width();
    if (OnResize) OnResize(this);
  }
  Realign();
}

bool TSkinSideChannel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget()) {
    if (event->type() == QEvent::Resize) Realign();
    return false;
  }
  switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Enter:
      if (watched == FBarButton && event->type() == QEvent::Enter)
        FBarButton->SetPicture(LoadSkinPicture("SIDECHANNEL_BAR_MOUSEON"));
      if (!IsOpen() && PopupMode == TSkinSideChannelPopupMode::skinMouseOn && FSlide != TSlide::Opening)
        Pop(QuickMove);
      break;
    case QEvent::Leave:
      if (watched == FBarButton) FBarButton->SetPicture(LoadSkinPicture("SIDECHANNEL_BAR_NORMAL"));
      break;
    case QEvent::MouseButtonRelease:
      if (watched != FTopPanel && PopupMode == TSkinSideChannelPopupMode::skinMouseClick && !IsOpen())
        Pop(QuickMove);
      break;
    default: break;
  }
  return false;
}

void TSkinSideChannel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) FTopPanel->setFont(font());
  QWidget::changeEvent(event);
}

void TSkinSideChannel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(ColorToRGB(FColor)));
}

}  // namespace kavri
