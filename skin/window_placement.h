#pragma once
// Where a top-level window opens: every window lies inside the screen's available area (the work
// area, without panels), frame included. A working window larger than the area opens at the area's
// size with its content scrolling; any other one wider or taller than the area starts at its
// top-left, so that its title bar and top-left controls can be reached.
#include <cstdint>
#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

namespace kavri {

enum class TWindowPlacement : uint8_t {
  // A working window: where it stood (centred on the screen the first time), moved inside the area.
  // Its content scrolls (ScrollWindowContent), so it never grows by itself and is never larger than
  // the area: larger content opens it at the area's size.
  KeepOnScreen,
  CentreOnOpener,  // a dialog: centred on the window that opened it
  CentreOnScreen,  // centred on the screen, as the splash, the about box and the skinned dialogs
};

// The frame's top-left inside `available` that is nearest to `frame`'s; a frame larger than the area
// (in width or height) starts at the area's top-left.
QPoint FitInside(const QRect& frame, const QRect& available);

// The top-left of the window's frame (outer rectangle, window manager's frame included). `placedBefore`
// says whether `frame` holds a position of the window's own; `opener` is the opening window's frame,
// null when there is none.
QPoint PlacedFrameTopLeft(const QRect& frame, const QRect& available, TWindowPlacement placement,
                          bool placedBefore, const QRect& opener);

// Moves a top-level window (not yet shown, or hidden) to its place on the opener's screen, or on the
// primary screen without an opener. A window manager's frame is measured on the window once it has
// been shown, else on the opener or another framed window already shown; frameless windows have none.
void PlaceWindow(QWidget* window, TWindowPlacement placement, QWidget* opener);

// The width a framed window needs for its window manager to show `title` whole in the title bar, with
// the bar's icon and buttons beside it. The manager's own font is unknown; the desktop's font, bold,
// with room to spare, stands in for it.
int TitleFitWidth(const QString& title);

// Places and shows a window that is not showing (nothing happens to one that is), and places it
// again when it changed size as it opened.
void ShowPlaced(QWidget* window, TWindowPlacement placement, QWidget* opener);

}  // namespace kavri
