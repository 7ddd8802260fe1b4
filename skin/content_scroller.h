#pragma once
// A working window's content in a scroll area of its own: the window's layout, and the controls laid
// over others by hand, move into it; the menu bar stays on the window. The window then never grows
// by itself (content that asks for more room scrolls instead), and a window larger than the screen
// can be opened at the screen's size with every control still in reach.
class QScrollArea;
class QWidget;

namespace kavri {

// Puts the window's content in a scroll area, once; returns that area. A window without a layout,
// or one whose layout fixes its size, is left as it is (null).
QScrollArea* ScrollWindowContent(QWidget* window);

// The scroll area the window's content was put in; null when it was not.
QScrollArea* ContentScroller(const QWidget* window);

}  // namespace kavri
