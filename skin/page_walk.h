#pragma once
// Walks over the pages of a page control by the visibility of their tabs.
#include <vector>

namespace kavri {

// The first visible page after i, else wrapping from 0 up to i - 1; -1 when none.
int FindNextVisiblePage(const std::vector<bool>& visible, int i);
// The first visible page before i going down, else from the last page down to i + 1; -1 when none.
int FindPrevVisiblePage(const std::vector<bool>& visible, int i);
// The nearest visible page before i (going down), else the first visible one after i; -1 when none.
int NearestVisiblePage(const std::vector<bool>& visible, int i);

}  // namespace kavri
