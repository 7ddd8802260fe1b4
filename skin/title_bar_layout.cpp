#include "skin/title_bar_layout.h"

namespace kavri {

std::vector<TPixelRect> PlaceTitleSections(const std::vector<TTitleSectionShape>& sections, int barWidth,
                                           int barHeight) {
  std::vector<TPixelRect> rects(sections.size());
  int left = -1, right = barWidth + 1;
  int client = -1;
  for (size_t i = 0; i < sections.size(); ++i) {
    const TTitleSectionShape& s = sections[i];
    switch (s.Align) {
      case TSkinTitleBarAlign::skinLeft:
        rects[i] = {left + 1, 0, left + 1 + s.Width, barHeight};
        left += s.Width;
        break;
      case TSkinTitleBarAlign::skinRight:
        if (s.Width <= barWidth - left) {
          rects[i] = {right - 1 - s.Width, 0, right - 1, barHeight};
          right -= s.Width;
        }
        break;
      case TSkinTitleBarAlign::skinClient: client = static_cast<int>(i); break;
    }
  }
  if (client >= 0) rects[client] = {left + 1, 0, right - 1, barHeight};
  return rects;
}

TTitleButtonsPlace PlaceTitleButtons(const std::vector<TTitleButtonShape>& buttons, int barWidth, int leftOffset,
                                     int rightOffset, int interval, bool appIcon) {
  TTitleButtonsPlace place;
  place.Buttons.resize(buttons.size());
  place.CaptionRight = barWidth;
  int x = barWidth + 1 + rightOffset;
  int captionStart = 0;
  for (size_t i = 0; i < buttons.size(); ++i) {
    const TTitleButtonShape& b = buttons[i];
    if (b.Type == TSkinTitleBarBtnType::skinControlBox) {
      if (appIcon) {
        place.Buttons[i] = {leftOffset + 3, b.Top, leftOffset + 3 + 16, b.Top + 16};
        captionStart = leftOffset + 21;
      } else {
        place.Buttons[i] = {leftOffset, b.Top, leftOffset + b.PicWidth, b.Top + b.PicHeight};
        captionStart = leftOffset + b.PicWidth + 5;
      }
      continue;
    }
    x -= b.PicWidth + 1 + interval;
    place.Buttons[i] = {x, b.Top, x + b.PicWidth, b.Top + b.PicHeight};
    place.CaptionRight = x;
  }
  place.CaptionLeft = captionStart == 0 ? 6 : captionStart;
  return place;
}

QString FitTitleCaption(const QString& caption, int room, const std::function<int(const QString&)>& textWidth) {
  if (textWidth(caption) <= room) return caption;
  return caption.left(2) + "...";
}

}  // namespace kavri
