#pragma once
#include <QWidget>
#include <functional>

#include "platform/tcolor.h"
#include "skin/style_apply.h"

class QLabel;
class QTimer;
class QToolButton;

namespace kavri {

class TSkinImagePanel;

enum class TSkinSideChannelAlign : uint8_t { skinLeft = 0, skinRight = 1 };
enum class TSkinSideChannelPopupMode : uint8_t { skinMouseOn = 0, skinMouseClick = 1 };

// A side panel that slides out from a narrow bar at the left or right edge of its parent and slides
// back once the mouse has left it, unless pinned. Sliding runs from a timer: Pop and Push return at
// once, never run the event loop, and may be called again (or the channel deleted) mid-slide.
class TSkinSideChannel : public QWidget, public TSkinStyleHooks {
  Q_OBJECT
 public:
  static constexpr int kSlideStep = 15;
  static constexpr int kSlideIntervalMs = 10;
  static constexpr int kCloseCheckMs = 500;
  static constexpr int kMinOpenWidth = 50;

  explicit TSkinSideChannel(QWidget* parent = nullptr);

  void Pop(bool quick);   // open
  void Push(bool quick);  // close

  bool IsOpen() const { return width() > SideBarWidth(); }
  bool Moving() const { return FMoving; }

  int OpenWidth() const { return FWidth; }
  void SetWidth(int width);
  int SideBarWidth() const;
  void SetSideWidth(int width);
  TColor SideBarColor() const { return FSideBarColor; }
  void SetSideBarColor(TColor color);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  QString Caption() const { return FCaption; }
  void SetCaption(const QString& caption);
  Qt::Alignment Alignment() const;
  void SetAlignment(Qt::Alignment alignment);
  TSkinSideChannelAlign Align() const { return FAlign; }
  void SetAlign(TSkinSideChannelAlign align);
  bool StayOn() const { return FStayOn; }
  void SetStayOn(bool stayOn);
  TSkinSideChannelPopupMode PopupMode = TSkinSideChannelPopupMode::skinMouseOn;
  bool QuickMove = false;

  std::function<void(QObject*)> OnResize, OnPop, OnPush;
  // May refuse a new width before the channel's own rule (an open channel keeps at least 50).
  std::function<bool(QObject*, int newWidth)> OnCanResize;

  QToolButton* PinButton() const { return FPinButton; }
  QWidget* SideBar() const { return FLeftBar; }
  QString TopCaption() const;
  bool CloseCheckRunning() const;

  void ApplyContainerStyle(TSkinUIStyle style) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  enum class TSlide { None, Opening, Closing };
  void SlideStep();
  void FinishPop();
  void FinishPush();
  void PinClick();
  void CloseCheck();
  void Realign();
  void ResizeTo(int width);
  bool CanResize(int newWidth);

  QWidget* FLeftBar = nullptr;
  QLabel* FTopPanel = nullptr;
  QToolButton* FPinButton = nullptr;
  TSkinImagePanel* FBarButton = nullptr;
  QTimer* FTimer = nullptr;       // closes the channel once the mouse has left it
  QTimer* FSlideTimer = nullptr;  // one slide step per tick
  TSlide FSlide = TSlide::None;
  int FWidth = 200;
  bool FMoving = false;
  bool FInternalResize = false;
  QString FCaption;
  TSkinSideChannelAlign FAlign = TSkinSideChannelAlign::skinLeft;
  bool FStayOn = false;
  TColor FColor;
  TColor FSideBarColor;
};

}  // namespace kavri
