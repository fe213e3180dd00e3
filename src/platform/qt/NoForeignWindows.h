#pragma once
// Other programs' windows where they cannot be reached (no X11 session):
// there is no window to write into, so announcements are skipped while
// checking goes on.

#include "platform/ForeignWindows.h"

namespace vantorel::qt {

class NoForeignWindows : public platform::ForeignWindows {
  public:
    platform::WindowHandle foregroundWindow() override { return 0; }
    platform::Point cursorPos() override { return {}; }
    platform::WindowHandle windowFromPoint(platform::Point /*point*/) override { return 0; }
    platform::WindowHandle parent(platform::WindowHandle /*window*/) override { return 0; }
    bool isWindow(platform::WindowHandle /*window*/) override { return false; }
    std::optional<std::string> windowText(platform::WindowHandle /*window*/) override {
        return std::nullopt;
    }
    bool setWindowText(platform::WindowHandle /*window*/, std::string_view /*text*/) override {
        return false;
    }
    bool flash(platform::WindowHandle /*window*/, int /*times*/) override { return false; }
};

}  // namespace vantorel::qt
