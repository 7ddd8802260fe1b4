#pragma once
// Where the title bar puts its picture sections, its buttons and its caption.
#include <QString>
#include <functional>
#include <vector>

#include "skin/pixel_ops.h"

namespace kavri {

enum class TSkinTitleBarAlign : uint8_t { skinLeft, skinRight, skinClient };
enum class TSkinTitleBarBtnType : uint8_t { skinMax, skinMin, skinClose, skinHelp, skinControlBox, skinCustom };

struct TTitleSectionShape {
  int Width = 10;
  TSkinTitleBarAlign Align = TSkinTitleBarAlign::skinLeft;
};

// One rectangle per section, in section order. Left sections pile up from the left edge, right ones
// from the right edge (one that no longer fits is skipped: empty rect); the client section fills what
// lies between once all others are placed.
std::vector<TPixelRect> PlaceTitleSections(const std::vector<TTitleSectionShape>& sections, int barWidth,
                                           int barHeight);

struct TTitleButtonShape {
  TSkinTitleBarBtnType Type = TSkinTitleBarBtnType::skinCustom;
  int PicWidth = 0, PicHeight = 0;
  int Top = 2;
};

struct TTitleButtonsPlace {
  std::vector<TPixelRect> Buttons;  // per button, in collection order
  int CaptionLeft = 6;               // where the caption starts
  int CaptionRight = 0;              // left of the leftmost right-hand button (bar width without one)
};

// Right-hand buttons go right to left in collection order, one pixel plus `interval` apart, starting at
// barWidth + 1 + rightOffset; the control box sits at leftOffset (as a 16 x 16 program icon 3 pixels in
// when appIcon is set) and moves the caption past itself.
TTitleButtonsPlace PlaceTitleButtons(const std::vector<TTitleButtonShape>& buttons, int barWidth, int leftOffset,
                                     int rightOffset, int interval, bool appIcon);

// The caption when it fits in `room` pixels, else its first two characters and "...".
QString FitTitleCaption(const QString& caption, int room, const std::function<int(const QString&)>& textWidth);

}  // namespace kavri
