#include "skin/page_walk.h"

#include <algorithm>

namespace kavri {
namespace {

bool Visible(const std::vector<bool>& visible, int i) {
  return i >= 0 && i < static_cast<int>(visible.size()) && visible[i];
}

// The first visible page in [from, to) walking by step (+1 or -1, `to` exclusive).
int Walk(const std::vector<bool>& visible, int from, int to, int step) {
  for (int j = from; j != to; j += step)
    if (Visible(visible, j)) return j;
  return -1;
}

}  // namespace

int FindNextVisiblePage(const std::vector<bool>& visible, int i) {
  const int n = static_cast<int>(visible.size());
  if (i + 1 < n) {
    if (int j = Walk(visible, i + 1, n, 1); j >= 0) return j;
  }
  return i > 0 ? Walk(visible, 0, std::min(i, n), 1) : -1;
}

int FindPrevVisiblePage(const std::vector<bool>& visible, int i) {
  const int n = static_cast<int>(visible.size());
  if (i > 0) {
    if (int j = Walk(visible, std::min(i, n) - 1, -1, -1); j >= 0) return j;
  }
  return i + 1 < n ? Walk(visible, n - 1, std::max(i, -1), -1) : -1;
}

int NearestVisiblePage(const std::vector<bool>& visible, int i) {
  const int n = static_cast<int>(visible.size());
  if (i > 0) {
    if (int j = Walk(visible, std::min(i, n) - 1, -1, -1); j >= 0) return j;
  }
  return i + 1 < n ? Walk(visible, std::max(i + 1, 0), n, 1) : -1;
}

}  // namespace kavri
