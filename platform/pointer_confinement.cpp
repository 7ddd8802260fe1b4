#include "platform/pointer_confinement.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace kavri {

namespace {

xcb_connection_t* XcbConnection() {
  if (QGuiApplication::platformName() != "xcb") return nullptr;
  const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

template <typename T>
std::unique_ptr<T, decltype(&std::free)> Reply(T* reply) {
  return {reply, &std::free};
}

}  // namespace

bool TPointerConfinement::Possible() { return XcbConnection() != nullptr; }

QRect TPointerConfinement::DeviceArea(const QRect& logical, double ratio) {
  const int left = static_cast<int>(std::ceil(logical.x() * ratio));
  const int top = static_cast<int>(std::ceil(logical.y() * ratio));
  const int right = static_cast<int>(std::floor((logical.x() + logical.width()) * ratio));
  const int bottom = static_cast<int>(std::floor((logical.y() + logical.height()) * ratio));
  return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

bool TPointerConfinement::Confine(QWindow* window, const QRect& logicalRect) {
  xcb_connection_t* connection = XcbConnection();
  const QRect rect = window ? DeviceArea(logicalRect, window->devicePixelRatio()) : QRect();  // X speaks device pixels
  if (!connection || !window || !window->isVisible() || rect.isEmpty()) {
    Release();
    return false;
  }
  const auto windowId = static_cast<xcb_window_t>(window->winId());
  const auto geometry = Reply(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, windowId), nullptr));
  const auto corner = geometry ? Reply(xcb_translate_coordinates_reply(
                                       connection,
                                       xcb_translate_coordinates(connection, windowId, geometry->root,
                                                                 static_cast<int16_t>(rect.x()),
                                                                 static_cast<int16_t>(rect.y())),
                                       nullptr))
                               : Reply<xcb_translate_coordinates_reply_t>(nullptr);
  if (!corner) {
    Release();
    return false;
  }
  if (area_ != 0) {
    // Held already: the area takes its new place and size, and the server brings the pointer into
    // it; the grab goes on without a moment in which the pointer is free.
    const uint32_t place[] = {static_cast<uint32_t>(corner->dst_x), static_cast<uint32_t>(corner->dst_y),
                              static_cast<uint32_t>(rect.width()), static_cast<uint32_t>(rect.height())};
    xcb_configure_window(connection, area_,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT,
                         place);
    xcb_flush(connection);
    return true;
  }
  const xcb_window_t root = geometry->root;

  // The pointer is held inside an input-only window of the rectangle's place and size, kept under
  // every other window so it never takes a click itself; the window manager leaves it alone.
  const xcb_window_t area = xcb_generate_id(connection);
  const uint32_t overrideRedirect = 1;
  xcb_create_window(connection, 0, area, root, corner->dst_x, corner->dst_y, static_cast<uint16_t>(rect.width()),
                    static_cast<uint16_t>(rect.height()), 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                    XCB_CW_OVERRIDE_REDIRECT, &overrideRedirect);
  const uint32_t below = XCB_STACK_MODE_BELOW;
  xcb_configure_window(connection, area, XCB_CONFIG_WINDOW_STACK_MODE, &below);
  xcb_map_window(connection, area);
  // The program's own windows still get their events as usual (owner events); the grab only keeps
  // the pointer in the rectangle.
  const uint16_t events = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION;
  const auto grab = Reply(xcb_grab_pointer_reply(
      connection,
      xcb_grab_pointer(connection, 1, windowId, events, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, area, XCB_NONE,
                       XCB_CURRENT_TIME),
      nullptr));
  if (!grab || grab->status != XCB_GRAB_STATUS_SUCCESS) {
    xcb_destroy_window(connection, area);
    xcb_flush(connection);
    return false;
  }
  area_ = area;
  return true;
}

void TPointerConfinement::Release() {
  if (area_ == 0) return;
  if (xcb_connection_t* connection = XcbConnection()) {
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    xcb_destroy_window(connection, area_);
    xcb_flush(connection);
  }
  area_ = 0;
}

void TPointerConfinement::Forget() {
  if (area_ == 0) return;
  if (xcb_connection_t* connection = XcbConnection()) {
    xcb_destroy_window(connection, area_);
    xcb_flush(connection);
  }
  area_ = 0;
}

}  // namespace kavri
