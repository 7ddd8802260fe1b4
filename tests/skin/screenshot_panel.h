#pragma once
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "skin/theme_style.h"

namespace kavri_test {

// Fills `area` with one control family in all its states for one style, from y = 0, and returns the
// height it used.
using TPanelFill = std::function<int(QWidget* area, kavri::TSkinUIStyle style)>;

// Registers a family for the screenshot panel; call from a namespace-scope initialiser:
//   static const bool kAdded = kavri_test::AddPanelSection(40, "Track bars", FillTrackBars);
bool AddPanelSection(int order, const std::string& title, TPanelFill fill);

// One column per themed style (on that style's form colour), the registered families stacked in order.
std::unique_ptr<QWidget> BuildSkinPanel();

// Helpers for putting a control into a state without a real mouse.
void SimulateMouseOn(QWidget* control);
void SimulatePressed(QWidget* control);

}  // namespace kavri_test
