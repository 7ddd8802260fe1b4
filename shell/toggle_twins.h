#pragma once
// A check tool button and its auto-check menu item that switch one thing: a click on either sets
// the other to match and applies the new state.
#include <QAction>
#include <functional>

#include "skin/tool_bar.h"

namespace kavri {

void BindToggleTwins(TSkinToolButton* button, QAction* item, std::function<void(bool on)> apply);

}  // namespace kavri
