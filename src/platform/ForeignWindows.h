#pragma once
// Other programs' windows: which one the user works in or points at, its
// parent or owner, its title, and a caption flash.

#include <optional>
#include <string>
#include <string_view>

#include "platform/Handles.h"

namespace vantorel::platform {

class ForeignWindows {
  public:
    virtual ~ForeignWindows() = default;

    // The window the user is working in; 0 when there is none.
    virtual WindowHandle foregroundWindow() = 0;

    // The mouse pointer's position in screen pixels; (0, 0) when unknown.
    virtual Point cursorPos() = 0;

    // The window under `point` (often a child control); 0 when none.
    virtual WindowHandle windowFromPoint(Point point) = 0;

    // The window's parent, or the owner of an owned top-level window;
    // 0 when it has neither or `window` is not a window.
    virtual WindowHandle parent(WindowHandle window) = 0;

    // True when `window` names an existing window.
    virtual bool isWindow(WindowHandle window) = 0;

    // The window's whole title; "" when it has none. No value when the title
    // could not be read (the window went away meanwhile, or the read
    // failed): the caller then knows nothing of the title, not that it is
    // empty.
    virtual std::optional<std::string> windowText(WindowHandle window) = 0;

    // Shows `text` in the window's title bar. Returns false when the window
    // is gone or does not answer in time; nothing else happens then.
    virtual bool setWindowText(WindowHandle window, std::string_view text) = 0;

    // Flashes the window's caption `times` times at the system's blink rate
    // and returns at once. Returns false when nothing flashes (not a window,
    // or the platform cannot flash it).
    virtual bool flash(WindowHandle window, int times) = 0;
};

}  // namespace vantorel::platform
