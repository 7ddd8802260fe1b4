#include "engine/marked_points.h"

#include <algorithm>

namespace kavri {

bool HasMarkedPoints(const DrawingObject& list) {
  return std::any_of(list.Points().begin(), list.Points().end(),
                     [](const auto& p) { return p->state == kMarkedForDeletion; });
}

bool HasMarkedPoints(const Drawing& drawing) {
  return std::any_of(drawing.Objects().begin(), drawing.Objects().end(),
                     [](const auto& o) { return HasMarkedPoints(*o); });
}

size_t RemoveMarkedPoints(DrawingObject& list) {
  if (!HasMarkedPoints(list)) return 0;
  auto& points = list.Points();
  const size_t before = points.size();
  points.erase(std::remove_if(points.begin(), points.end(),
                              [](const auto& p) { return p->state == kMarkedForDeletion; }),
               points.end());
  return before - points.size();
}

size_t RemoveMarkedPoints(Drawing& drawing) {
  size_t removed = 0;
  for (auto& o : drawing.Objects()) removed += RemoveMarkedPoints(*o);
  return removed;
}

}  // namespace kavri
