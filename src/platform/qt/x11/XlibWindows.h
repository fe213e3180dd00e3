#pragma once
// Other programs' windows on an X11 desktop, through Xlib. This header
// names no Xlib type (Xlib's macros break Qt's headers): the display is
// passed as an opaque pointer.
//
// Window handles are X window ids. A program's window is its client
// window, the one carrying WM_STATE, never the frame a window manager puts
// around it. Every call that changes something reaches the server before
// it returns; a window that vanished gives 0, "" or false.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/ForeignWindows.h"

namespace vantorel::x11 {

class XlibWindows final : public platform::ForeignWindows {
  public:
    // Runs `task` once, `milliseconds` from now, on the calling thread's
    // event loop (QTimer::singleShot in the program).
    using Scheduler = std::function<void(int milliseconds, std::function<void()> task)>;

    // The blink period of a flash, as the cursor blinks.
    static constexpr std::uint32_t kBlinkMs = 500;

    // Works over `display`, an Xlib Display* the caller owns and keeps open
    // longer than this object. It is used for requests only; events on it
    // are left to their reader. X errors of these requests are caught here.
    XlibWindows(void* display, Scheduler scheduler);

    // Opens a connection of its own (for tests and tools), on which X errors
    // never end the program; null when the display cannot be opened.
    // An empty name means $DISPLAY.
    static std::unique_ptr<XlibWindows> open(const std::string& displayName, Scheduler scheduler);

    // Ends every caption flash still running, so no window stays urgent.
    ~XlibWindows() override;
    XlibWindows(const XlibWindows&) = delete;
    XlibWindows& operator=(const XlibWindows&) = delete;

    platform::WindowHandle foregroundWindow() override;
    platform::Point cursorPos() override;
    platform::WindowHandle windowFromPoint(platform::Point point) override;
    platform::WindowHandle parent(platform::WindowHandle window) override;
    bool isWindow(platform::WindowHandle window) override;

    // Reads _NET_WM_NAME, or WM_NAME when that is missing, and keeps both
    // properties as they are, so that writing this same text back later
    // restores them exactly.
    std::optional<std::string> windowText(platform::WindowHandle window) override;

    // Writes _NET_WM_NAME and WM_NAME. Given the text windowText() last read
    // from this window, puts back the properties it found instead, including
    // the absence of one.
    bool setWindowText(platform::WindowHandle window, std::string_view text) override;

    // Makes the caption ask for attention for `times` blink periods (at
    // least one, at most a minute's worth), or until the window becomes the
    // active one. False for the active window, whose caption window managers
    // do not flash.
    bool flash(platform::WindowHandle window, int times) override;

    // The display this object works over (an Xlib Display*).
    void* display() const;

  private:
    struct Impl;
    explicit XlibWindows(std::shared_ptr<Impl> impl);

    std::shared_ptr<Impl> impl_;
};

}  // namespace vantorel::x11
