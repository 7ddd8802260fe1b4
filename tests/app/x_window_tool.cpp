// Finds a top-level window on the X display by its exact title and acts on it as a window manager
// or a person would: saves a picture of it and asks it to close (WM_DELETE_WINDOW).
//
//   kavri_x_window --title TEXT [--dialog] [--timeout SECONDS] [--click X,Y]... [--region X,Y,W,H]
//                  [--key NAME]... [--until-lit X,Y,W,H] [--until-same [X,Y,W,H,]FILE.png]
//                  [--screenshot FILE.png] [--close] [--frame] [--screen-shot FILE.png] [--raise] [--quick]
//                  [--move X,Y]... [--pointer] [--not-dialog] [--place X,Y,W,H] [--wheel N]
//
// --click presses and releases the left button at X,Y inside the window through the XTest
// extension, as a real mouse would, in the order given; --key types a key (X key name, or names
// joined by "+" for a key typed with others held, as "Control_L+a") the same way;
// --move then moves the pointer towards X,Y inside the window the same way, without a click, in
// the order given; --wheel then turns the mouse wheel N notches down (up when negative) where the
// pointer is; --pointer prints "pointer X Y", where the pointer then is in the window;
// --until-lit waits, up to the timeout again, until a part of the window shows anything but black;
// --until-same waits the same way until the window (or its --region) shows exactly the picture in
// the file, or, given X,Y,W,H, until that part of the window shows what the same part of the
// picture shows; the window is looked for again on each look, so a box that opens late over a
// window of its title is found when it comes; --dialog takes only a dialog window (a box) with the
// title, not the window it belongs to; --not-dialog takes only a window that is not a box, as the
// window a box of its title belongs to;
// --place first asks, as another program would, that the window stand at X,Y on the screen with a
// content of W x H (the window manager decides, as it would for that program), and waits, up to the
// timeout again, until the window has that size and its place has settled;
// --raise first brings the window to the front with the keyboard focus, as a click on its task bar
// entry would (the window manager is asked through _NET_ACTIVE_WINDOW), so that clicks and keys reach
// it past the windows that covered it; --quick is for a window shown a while ago: no moment to settle
// before it is used, and a shorter look for its picture to stop changing after the clicks;
// each click and key is handled by the program, and what it opened is on the screen, before the
// next one is sent (see Settle); a window the tool has not found before is first given half a
// second from when it was found;
// --region cuts the screenshot to a part of the window; --frame prints "frame X Y W H" (the window
// with the window manager's frame, on the screen) and "screen W H"; --screen-shot saves the whole
// screen.
//
// Exit status: 0 done, 2 no such window within the timeout, 3 cannot open the display, 4 cannot
// save the screenshot, 5 the part stayed black, 6 the picture stayed different, 7 the window did
// not take the size asked for, 1 bad use.
// Qt first: the X headers define names (Status) that Qt's headers refuse to follow.
#include <QImage>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <poll.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// A property of the window as its bytes (32-bit items come as longs); false when it has none of
// that type.
bool ReadProperty(Display* display, Window window, const char* name, Atom type, std::string* bytes) {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False, type, &actual, &format,
                         &count, &after, &data) != Success ||
      !data)
    return false;
  bytes->assign(reinterpret_cast<char*>(data), count * (format == 32 ? sizeof(long) : format / 8));
  XFree(data);
  return true;
}

std::string WindowTitle(Display* display, Window window) {
  std::string title;
  if (ReadProperty(display, window, "_NET_WM_NAME", XInternAtom(display, "UTF8_STRING", False), &title)) return title;
  char* name = nullptr;
  if (XFetchName(display, window, &name) && name) {
    title = name;
    XFree(name);
  }
  return title;
}

bool IsDialog(Display* display, Window window) {
  std::string types;
  if (!ReadProperty(display, window, "_NET_WM_WINDOW_TYPE", XA_ATOM, &types)) return false;
  const Atom dialog = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  for (size_t at = 0; at + sizeof(long) <= types.size(); at += sizeof(long)) {
    long type = 0;
    std::memcpy(&type, types.data() + at, sizeof type);
    if (static_cast<Atom>(type) == dialog) return true;
  }
  return false;
}

bool IsMapped(Display* display, Window window) {
  XWindowAttributes attributes;
  return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

// Windows come and go while the tree is walked (a box closing, a tooltip): a request about one that
// has gone fails and the walk takes it for "not this window", instead of the tool ending on it.
int IgnoreVanishedWindows(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
  char text[256];
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "X error: %s (request %d)\n", text, error->request_code);
  std::exit(1);
}

bool notDialog = false;  // --not-dialog

// Top-level windows are the root's children when no window manager reparents them, one level
// further down when one does. Of several with the title, the topmost: a question box that a
// window opens shares its title.
Window FindWindow(Display* display, Window parent, const std::string& wanted, bool dialog, int depth) {
  Window root = 0, parentOut = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, parent, &root, &parentOut, &children, &count)) return 0;
  Window found = 0;
  for (unsigned int i = count; i-- > 0 && !found;) {  // the tree lists children bottom to top
    if (WindowTitle(display, children[i]) == wanted && IsMapped(display, children[i]) &&
        (!dialog || IsDialog(display, children[i])) && !(notDialog && IsDialog(display, children[i])))
      found = children[i];
  }
  for (unsigned int i = count; i-- > 0 && !found && depth > 0;) {
    found = FindWindow(display, children[i], wanted, dialog, depth - 1);
  }
  if (children) XFree(children);
  return found;
}

// One 8-bit colour channel of a true-colour pixel.
int Channel(unsigned long pixel, unsigned long mask) {
  if (!mask) return 0;
  const unsigned long value = (pixel & mask) >> __builtin_ctzl(mask);
  const unsigned long top = mask >> __builtin_ctzl(mask);
  return static_cast<int>(value * 255 / top);
}

struct TWindowRegion {
  int x = 0, y = 0, width = 0, height = 0;  // width 0: the whole window
};

QImage Picture(Display* display, Window window, TWindowRegion region) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return {};
  if (region.width <= 0) region = {0, 0, attributes.width, attributes.height};
  XImage* image = XGetImage(display, window, region.x, region.y, region.width, region.height, AllPlanes, ZPixmap);
  if (!image) return {};
  QImage picture(region.width, region.height, QImage::Format_RGB32);
  for (int y = 0; y < region.height; ++y) {
    for (int x = 0; x < region.width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      picture.setPixel(x, y, qRgb(Channel(pixel, image->red_mask), Channel(pixel, image->green_mask),
                                  Channel(pixel, image->blue_mask)));
    }
  }
  XDestroyImage(image);
  return picture;
}

bool SaveScreenshot(Display* display, Window window, TWindowRegion region, const std::string& path) {
  const QImage picture = Picture(display, window, region);
  return !picture.isNull() && picture.save(QString::fromStdString(path), "PNG");
}

// Whether a part of the window shows anything but black, as a preview does once it draws.
bool RegionLit(Display* display, Window window, TWindowRegion region) {
  XImage* image = XGetImage(display, window, region.x, region.y, region.width, region.height, AllPlanes, ZPixmap);
  if (!image) return false;
  bool lit = false;
  for (int y = 0; y < region.height && !lit; ++y)
    for (int x = 0; x < region.width && !lit; ++x) lit = (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
  XDestroyImage(image);
  return lit;
}

// Pixels of a part of the window (the whole window for width 0) that differ from a part of the
// same size of `picture`; -1 when the part lies outside either or their sizes differ.
long DifferingPixels(Display* display, Window window, TWindowRegion windowPart, const QImage& picture,
                     TWindowRegion picturePart) {
  const QImage shown = Picture(display, window, windowPart);
  if (shown.isNull() || picturePart.x < 0 || picturePart.y < 0 || shown.width() != picturePart.width ||
      shown.height() != picturePart.height || picturePart.x + picturePart.width > picture.width() ||
      picturePart.y + picturePart.height > picture.height())
    return -1;
  long differing = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      if ((shown.pixel(x, y) & 0xFFFFFF) != (picture.pixel(picturePart.x + x, picturePart.y + y) & 0xFFFFFF))
        ++differing;
  return differing;
}

// Milliseconds on the machine's steady clock, the same for every process.
long SteadyMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000L + now.tv_nsec / 1000000L;
}

// Waits up to `ms` for an event that `wanted` picks; other events are dropped. False on the limit.
template <class Wanted>
bool NextEvent(Display* display, long ms, Wanted wanted) {
  const long end = SteadyMs() + ms;
  for (;;) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (wanted(event)) return true;
    }
    const long left = end - SteadyMs();
    if (left <= 0) return false;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(std::min(left, 20L)));
  }
}

// The window's program has handled every event sent to it before this returns (or the limit
// passed, or the window went): the program answers a window manager's ping (_NET_WM_PING) on its
// event thread, in turn with the clicks and keys before it. A second and a third ping wait for
// what the program did on handling them (events it posted to itself, a box it opened) to be done
// too. Then the window manager's work on what was mapped or moved is waited for: no change of the
// top-level windows for a moment.
void Settle(Display* display, Window window) {
  static long token = 0;
  const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
  const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask | StructureNotifyMask);  // the answer comes to the root
  XSelectInput(display, window, StructureNotifyMask);
  bool gone = false;
  for (int round = 0; round < 3 && !gone; ++round) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(ping);
    event.xclient.data.l[1] = ++token;
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    // A busy program answers late: long enough for it, yet a program that never answers costs
    // no more than this.
    const bool answered = NextEvent(display, 5000, [&](const XEvent& e) {
      if ((e.type == UnmapNotify && e.xunmap.window == window) ||
          (e.type == DestroyNotify && e.xdestroywindow.window == window)) {
        gone = true;
        return true;
      }
      return e.type == ClientMessage && e.xclient.message_type == protocols &&
             e.xclient.data.l[0] == static_cast<long>(ping) && e.xclient.data.l[1] == token;
    });
    if (!answered) break;
  }
  const long end = SteadyMs() + 500;
  while (SteadyMs() < end && NextEvent(display, 40, [&](const XEvent& e) {
           return e.type == MapNotify || e.type == UnmapNotify || e.type == ConfigureNotify ||
                  e.type == ReparentNotify || e.type == DestroyNotify || e.type == CreateNotify;
         })) {
  }
  XSelectInput(display, root, NoEventMask);
  if (!gone) XSelectInput(display, window, NoEventMask);
}

// Waits, up to `limitMs`, until the window's picture has not changed for `stillMs`: some of the
// program's controls follow the mouse, or repaint, on a timer rather than on the event itself.
void WaitUntilStill(Display* display, Window window, long stillMs, long limitMs) {
  const long start = SteadyMs();
  std::string last;
  long changed = start;
  for (;;) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return;
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) return;
    std::string now(image->data, static_cast<size_t>(image->bytes_per_line) * image->height);
    XDestroyImage(image);
    const long at = SteadyMs();
    if (now != last) {
      last = std::move(now);
      changed = at;
    } else if (at - changed >= stillMs) {
      return;
    }
    if (at - start >= limitMs) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
}

// How long ago the tool first found the window (0 now, when this is the first time): the
// windows found are kept on the root window with the time, the most recent 64.
long WindowAge(Display* display, Window window) {
  const Atom seenAtom = XInternAtom(display, "_KAVRI_X_WINDOW_SEEN", False);
  std::string bytes;
  std::vector<long> seen;
  if (ReadProperty(display, DefaultRootWindow(display), "_KAVRI_X_WINDOW_SEEN", XA_INTEGER, &bytes)) {
    seen.resize(bytes.size() / sizeof(long));
    std::memcpy(seen.data(), bytes.data(), seen.size() * sizeof(long));
  }
  const long now = SteadyMs();
  for (size_t i = 0; i + 1 < seen.size(); i += 2)
    if (seen[i] == static_cast<long>(window)) return now - seen[i + 1];
  seen.push_back(static_cast<long>(window));
  seen.push_back(now);
  if (seen.size() > 128) seen.erase(seen.begin(), seen.end() - 128);
  XChangeProperty(display, DefaultRootWindow(display), seenAtom, XA_INTEGER, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(seen.data()), static_cast<int>(seen.size()));
  return 0;
}

// Two presses at one place come no closer than a double click, as separate clicks by a person do,
// also when they come from two runs of the tool: the last press is kept on the root window.
void KeepApartFromLastPress(Display* display, int screenX, int screenY) {
  const Atom last = XInternAtom(display, "_KAVRI_X_WINDOW_LAST_PRESS", False);
  std::string bytes;
  if (ReadProperty(display, DefaultRootWindow(display), "_KAVRI_X_WINDOW_LAST_PRESS", XA_INTEGER, &bytes) &&
      bytes.size() == 3 * sizeof(long)) {
    long was[3];
    std::memcpy(was, bytes.data(), sizeof was);
    const long since = SteadyMs() - was[2];
    if (std::abs(was[0] - screenX) <= 8 && std::abs(was[1] - screenY) <= 8 && since >= 0 && since < 600)
      std::this_thread::sleep_for(std::chrono::milliseconds(600 - since));
  }
  const long now[3] = {screenX, screenY, SteadyMs()};
  XChangeProperty(display, DefaultRootWindow(display), last, XA_INTEGER, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(now), 3);
}

void MoveTo(Display* display, Window window, int x, int y) {
  int screenX = 0, screenY = 0;
  Window child = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &screenX, &screenY, &child);
  XTestFakeMotionEvent(display, -1, screenX, screenY, CurrentTime);
  XSync(display, False);
}

// The program sees the move, then the press and the release, in that order: it has handled them
// all, and what they opened is on the screen, when this returns.
void ClickAt(Display* display, Window window, int x, int y) {
  int screenX = 0, screenY = 0;
  Window child = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &screenX, &screenY, &child);
  KeepApartFromLastPress(display, screenX, screenY);
  MoveTo(display, window, x, y);
  Settle(display, window);
  // Held and let go as a hand does: a control that looks at the buttons on a timer sees both.
  XTestFakeButtonEvent(display, 1, True, CurrentTime);
  XSync(display, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  XTestFakeButtonEvent(display, 1, False, CurrentTime);
  XSync(display, False);
  Settle(display, window);
}

// Where the pointer is, in the window's coordinates.
std::pair<int, int> PointerIn(Display* display, Window window) {
  Window root = 0, child = 0;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned int mask = 0;
  XQueryPointer(display, window, &root, &child, &rootX, &rootY, &x, &y, &mask);
  return {x, y};
}

// Types one key (an X key name such as "n" or "Return") into the window, which must have the focus;
// "Shift_L+k" holds the keys before the last while it is typed. The program has handled it when
// this returns, so a key that opens a box gives the box the keys after it.
void TypeKey(Display* display, Window window, const std::string& combination, bool quick) {
  std::vector<KeyCode> codes;
  for (size_t start = 0;;) {
    const size_t plus = combination.find('+', start);
    const std::string name = combination.substr(start, plus == std::string::npos ? plus : plus - start);
    codes.push_back(XKeysymToKeycode(display, XStringToKeysym(name.c_str())));
    if (plus == std::string::npos) break;
    start = plus + 1;
  }
  for (KeyCode code : codes) XTestFakeKeyEvent(display, code, True, CurrentTime);
  for (size_t i = codes.size(); i-- > 0;) XTestFakeKeyEvent(display, codes[i], False, CurrentTime);
  XSync(display, False);
  const long typed = SteadyMs();
  Settle(display, window);
  const long left = (quick ? 40 : 100) - (SteadyMs() - typed);
  if (left > 0) std::this_thread::sleep_for(std::chrono::milliseconds(left));
}

// The window as the window manager framed it: its ancestor that is a child of the root.
TWindowRegion OuterFrame(Display* display, Window window) {
  const Window root = DefaultRootWindow(display);
  for (;;) {
    Window rootOut = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &rootOut, &parent, &children, &count)) break;
    if (children) XFree(children);
    if (parent == root || parent == 0) break;
    window = parent;
  }
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes)) return {};
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child);
  return {x - attributes.border_width, y - attributes.border_width, attributes.width + 2 * attributes.border_width,
          attributes.height + 2 * attributes.border_width};
}

Window ActiveWindow(Display* display) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  Window active = 0;
  if (XGetWindowProperty(display, DefaultRootWindow(display), XInternAtom(display, "_NET_ACTIVE_WINDOW", False), 0, 1,
                         False, XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
      data && count == 1)
    active = *reinterpret_cast<Window*>(data);
  if (data) XFree(data);
  return active;
}

// Asks the window manager to activate the window (source 2: a pager, which managers obey); without
// one answering within a second, raises the window and gives it the focus directly.
void Raise(Display* display, Window window) {
  if (ActiveWindow(display) == window) return;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = 2;
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XSync(display, False);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (ActiveWindow(display) != window && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  if (ActiveWindow(display) != window) {
    XRaiseWindow(display, window);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
  }
  Settle(display, window);
}

// The window's content: its place on the screen and its size.
TWindowRegion ContentOnScreen(Display* display, Window window) {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes)) return {};
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
  return {x, y, attributes.width, attributes.height};
}

// Asks for the window's place and size as another program would, then waits until the size is
// there and the place has stayed the same for a moment (a window manager moves a frame after
// resizing it); false when that does not happen before the deadline.
bool Place(Display* display, Window window, TWindowRegion wanted, double timeout) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
  XMoveResizeWindow(display, window, wanted.x, wanted.y, static_cast<unsigned>(wanted.width),
                    static_cast<unsigned>(wanted.height));
  XSync(display, False);
  TWindowRegion last{-1, -1, -1, -1};
  int steady = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const TWindowRegion now = ContentOnScreen(display, window);
    const bool same = now.x == last.x && now.y == last.y && now.width == last.width && now.height == last.height;
    steady = same ? steady + 1 : 0;
    last = now;
    if (now.width == wanted.width && now.height == wanted.height && steady >= 4) return true;
  }
  return false;
}

void SendDeleteWindow(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

}  // namespace

int main(int argc, char** argv) {
  std::string title, screenshot, screenShot, samePicture;
  double timeout = 20;
  bool close = false, frame = false, dialog = false, raise = false, pointer = false;
  int wheel = 0;
  std::vector<std::pair<int, int>> clicks, moves;
  std::vector<std::string> keys;
  bool quick = false;
  TWindowRegion region, litRegion, samePart, place;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--title" && i + 1 < argc) {
      title = argv[++i];
    } else if (arg == "--timeout" && i + 1 < argc) {
      timeout = std::atof(argv[++i]);
    } else if (arg == "--screenshot" && i + 1 < argc) {
      screenshot = argv[++i];
    } else if (arg == "--dialog") {
      dialog = true;
    } else if (arg == "--close") {
      close = true;
    } else if (arg == "--quick") {
      quick = true;
    } else if (arg == "--raise") {
      raise = true;
    } else if (arg == "--frame") {
      frame = true;
    } else if (arg == "--screen-shot" && i + 1 < argc) {
      screenShot = argv[++i];
    } else if (arg == "--click" && i + 1 < argc) {
      int x = 0, y = 0;
      if (std::sscanf(argv[++i], "%d,%d", &x, &y) != 2) return 1;
      clicks.emplace_back(x, y);
    } else if (arg == "--move" && i + 1 < argc) {
      int x = 0, y = 0;
      if (std::sscanf(argv[++i], "%d,%d", &x, &y) != 2) return 1;
      moves.emplace_back(x, y);
    } else if (arg == "--not-dialog") {
      notDialog = true;
    } else if (arg == "--place" && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%d,%d,%d,%d", &place.x, &place.y, &place.width, &place.height) != 4) return 1;
    } else if (arg == "--wheel" && i + 1 < argc) {
      wheel = std::atoi(argv[++i]);
    } else if (arg == "--pointer") {
      pointer = true;
    } else if (arg == "--key" && i + 1 < argc) {
      keys.push_back(argv[++i]);
    } else if (arg == "--until-lit" && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%d,%d,%d,%d", &litRegion.x, &litRegion.y, &litRegion.width, &litRegion.height) != 4)
        return 1;
    } else if (arg == "--until-same" && i + 1 < argc) {
      // A leading X,Y,W,H names the part to compare; without it the whole picture is compared.
      int used = 0;
      if (std::sscanf(argv[++i], "%d,%d,%d,%d,%n", &samePart.x, &samePart.y, &samePart.width, &samePart.height,
                      &used) != 4 ||
          used == 0) {
        samePart = {};
        used = 0;
      }
      samePicture = argv[i] + used;
    } else if (arg == "--region" && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%d,%d,%d,%d", &region.x, &region.y, &region.width, &region.height) != 4) return 1;
    } else {
      std::fprintf(stderr, "unknown argument %s\n", arg.c_str());
      return 1;
    }
  }
  if (title.empty()) return 1;
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "cannot open the X display\n");
    return 3;
  }
  XSetErrorHandler(IgnoreVanishedWindows);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
  Window window = 0;
  while (!(window = FindWindow(display, DefaultRootWindow(display), title, dialog, 2))) {
    if (std::chrono::steady_clock::now() > deadline) {
      std::fprintf(stderr, "no window titled \"%s\"\n", title.c_str());
      XCloseDisplay(display);
      return 2;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  std::printf("found window 0x%lx titled \"%s\"\n", window, title.c_str());
  // Let the window paint and settle before its picture is taken or it is used; its frame alone
  // can be read at once.
  const bool measureOnly = frame && place.width == 0 && wheel == 0 && clicks.empty() && keys.empty() && moves.empty() && !pointer &&
                           screenshot.empty() && screenShot.empty() && litRegion.width == 0 && !raise && !close;
  if (!measureOnly && !quick) {
    // A window just shown goes on setting itself up (its lists, what a chosen row sets) after it
    // paints, off its events: it is used once it is half a second old, as a person would, and
    // still. A window seen before by the tool is old enough.
    const long age = WindowAge(display, window), found = SteadyMs();
    Settle(display, window);
    WaitUntilStill(display, window, 150, 500);
    const long left = 500 - age - (SteadyMs() - found);
    if (left > 0) std::this_thread::sleep_for(std::chrono::milliseconds(left));
  }
  if (raise) Raise(display, window);
  if (place.width > 0 && !Place(display, window, place, timeout)) {
    std::fprintf(stderr, "the window did not take the size asked for\n");
    XCloseDisplay(display);
    return 7;
  }
  for (const auto& [x, y] : clicks) ClickAt(display, window, x, y);
  for (const std::string& key : keys) TypeKey(display, window, key, quick);
  if (!keys.empty()) WaitUntilStill(display, window, 80, 250);
  for (const auto& [x, y] : moves) MoveTo(display, window, x, y);
  for (int notch = 0; notch < std::abs(wheel); ++notch) {
    const unsigned button = wheel > 0 ? 5 : 4;
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (!moves.empty() || wheel != 0) Settle(display, window);
  if (!clicks.empty()) WaitUntilStill(display, window, 80, quick ? 100 : 300);
  if (pointer) {
    const auto [x, y] = PointerIn(display, window);
    std::printf("pointer %d %d\n", x, y);
  }
  int status = 0;
  if (litRegion.width > 0) {
    const auto litDeadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
    while (!RegionLit(display, window, litRegion) && std::chrono::steady_clock::now() < litDeadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!RegionLit(display, window, litRegion)) {
      std::fprintf(stderr, "the region stayed black\n");
      status = 5;
    }
  }
  if (!samePicture.empty()) {
    const QImage picture(QString::fromStdString(samePicture));
    // The same part of window and picture, or the window's region against the whole picture.
    const bool part = samePart.width > 0;
    const TWindowRegion picturePart = part ? samePart : TWindowRegion{0, 0, picture.width(), picture.height()};
    const auto sameDeadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
    long differing = -1;
    for (;;) {
      if (const Window top = FindWindow(display, DefaultRootWindow(display), title, dialog, 2)) window = top;
      differing = picture.isNull() ? -1
                                   : DifferingPixels(display, window, part ? samePart : region, picture, picturePart);
      if (differing == 0 || std::chrono::steady_clock::now() > sameDeadline) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (differing != 0) {
      std::fprintf(stderr, "the window differs from %s (%ld pixels; -1: sizes differ or outside the window)\n",
                   samePicture.c_str(), differing);
      status = 6;
    }
  }
  if (!screenshot.empty() && !SaveScreenshot(display, window, region, screenshot)) {
    std::fprintf(stderr, "cannot save a picture of the window to %s\n", screenshot.c_str());
    status = 4;
  }
  if (frame) {
    const TWindowRegion outer = OuterFrame(display, window);
    std::printf("frame %d %d %d %d\nscreen %d %d\n", outer.x, outer.y, outer.width, outer.height,
                DisplayWidth(display, DefaultScreen(display)), DisplayHeight(display, DefaultScreen(display)));
  }
  if (!screenShot.empty() && !SaveScreenshot(display, DefaultRootWindow(display), {}, screenShot)) {
    std::fprintf(stderr, "cannot save a picture of the screen to %s\n", screenShot.c_str());
    status = 4;
  }
  if (close) SendDeleteWindow(display, window);
  XCloseDisplay(display);
  return status;
}
