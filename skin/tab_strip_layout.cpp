#include "skin/tab_strip_layout.h"

#include <algorithm>

namespace kavri {

std::vector<int> TabStripWidths(const QStringList& captions, const std::vector<bool>& visible,
                                const std::function<int(const QString&)>& textWidth) {
  std::vector<int> widths(static_cast<size_t>(captions.size()), 0);
  for (size_t i = 0; i < widths.size(); ++i) {
    if (i < visible.size() && !visible[i]) continue;
    const QString& caption = captions[static_cast<qsizetype>(i)];
    widths[i] = std::max(caption.isEmpty() ? 80 : textWidth(caption) + 20, 15);
  }
  return widths;
}

int TabStripHit(const std::vector<int>& widths, int leftMargin, int tabHeight, QPoint point) {
  if (point.y() < 1 || point.y() >= tabHeight) return -1;
  int x = leftMargin;
  for (size_t i = 0; i < widths.size(); ++i) {
    if (point.x() > x && point.x() < x + widths[i]) return static_cast<int>(i);
    x += widths[i];
  }
  return -1;
}

}  // namespace kavri
