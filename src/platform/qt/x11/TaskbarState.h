#pragma once
// Keeping one of the program's own windows out of the task bar. This header
// names no Xlib type (Xlib's macros break Qt's headers): the display is
// passed as an opaque pointer.

namespace vantorel::x11 {

// Asks, before `window` is first mapped, that task bars and pagers leave it
// out (_NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER, as EWMH lets
// a client set them on a window not yet mapped). States already on the
// window stay. `display` is an Xlib Display*; the request reaches the server
// before this returns.
void KeepOffTaskbar(void* display, unsigned long window);

}  // namespace vantorel::x11
