#pragma once
// Widths of the tabs on a tab strip and which tab a point falls on.
#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace kavri {

// One width per tab: caption width + 20 (80 for an empty caption), at least 15; 0 for a hidden tab.
// `visible` may be shorter than the captions: missing flags count as visible.
std::vector<int> TabStripWidths(const QStringList& captions, const std::vector<bool>& visible,
                                const std::function<int(const QString&)>& textWidth);

// The tab whose span x < X < x + width holds the point, tabs laid from leftMargin on, and
// 1 <= Y < tabHeight; -1 when none.
int TabStripHit(const std::vector<int>& widths, int leftMargin, int tabHeight, QPoint point);

}  // namespace kavri
