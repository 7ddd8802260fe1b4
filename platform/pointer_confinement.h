#pragma once
// Holds the pointer inside a rectangle of a window, where the window system can: on X11 an active
// pointer grab confined to that rectangle, so the pointer cannot leave it until released. Elsewhere
// (offscreen, other platforms) Confine is refused and the caller keeps the clicks itself.
//
//   TPointerConfinement confinement;
//   if (!confinement.Confine(window, rectInWindow)) widget->grabMouse();
//   ...
//   confinement.Release();
#include <QRect>
#include <cstdint>

class QWindow;

namespace kavri {

class TPointerConfinement {
 public:
  TPointerConfinement() = default;
  ~TPointerConfinement() { Release(); }
  TPointerConfinement(const TPointerConfinement&) = delete;
  TPointerConfinement& operator=(const TPointerConfinement&) = delete;

  // Whether this platform can confine the pointer at all.
  static bool Possible();
  // Confines the pointer to `rect` (in the window's own logical coordinates) of the shown `window`; when
  // it is held already, the held area moves to `rect` where the window now stands. False where the
  // platform cannot confine, or when the window system refuses (a button is held down, or another
  // program holds the pointer); nothing is held then.
  bool Confine(QWindow* window, const QRect& rect);
  // Lets the pointer go; nothing when it is not held.
  void Release();
  // Drops the area without a release, which would also end a grab another part of this program (a
  // popup menu) has taken in place of ours; a grab still ours ends with its area.
  void Forget();
  // `logical` in device pixels at `ratio`, rounded inwards so that the area never reaches past it.
  static QRect DeviceArea(const QRect& logical, double ratio);
  bool Active() const { return area_ != 0; }

 private:
  uint32_t area_ = 0;  // the X window the pointer is confined to; 0 when not held
};

}  // namespace kavri
