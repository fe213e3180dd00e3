#pragma once
// Other programs' windows through user32. Titles are read and written with
// the wide calls and sent with a time limit, so that a hung program can
// neither hang this one nor lose characters of its title.

#include "platform/ForeignWindows.h"

namespace vantorel::win32 {

class Win32ForeignWindows : public platform::ForeignWindows {
  public:
    // How long a window may take to answer a title request.
    static constexpr unsigned kAnswerTimeoutMs = 2000;

    platform::WindowHandle foregroundWindow() override;
    platform::Point cursorPos() override;
    platform::WindowHandle windowFromPoint(platform::Point point) override;
    platform::WindowHandle parent(platform::WindowHandle window) override;
    bool isWindow(platform::WindowHandle window) override;
    std::optional<std::string> windowText(platform::WindowHandle window) override;
    bool setWindowText(platform::WindowHandle window, std::string_view text) override;
    // Flashes the caption through FlashWindowEx.
    bool flash(platform::WindowHandle window, int times) override;
};

}  // namespace vantorel::win32
