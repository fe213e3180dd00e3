#pragma once
// The window framework on Win32: dialogs from the generated resources,
// timers on a message window, message boxes, and the message loop that
// runs the program.

#include <windows.h>

#include <exception>
#include <set>
#include <string>

#include "platform/AppInfo.h"
#include "platform/WindowFramework.h"
#include "platform/win32/MessageTimers.h"

namespace vantorel::win32 {

// The dots per inch of the monitor the window is on (per-monitor aware),
// or of the screen where the system cannot tell.
int WindowDpi(HWND window);

class Win32Ui : public platform::WindowFramework {
  public:
    Win32Ui(HINSTANCE instance, platform::Diagnostics& diagnostics);

    std::unique_ptr<platform::Form> createForm(const platform::FormLayout& layout,
                                               platform::FormEvents& events) override;
    std::unique_ptr<platform::Timer> createTimer(std::string_view name,
                                                 std::function<void()> onTick) override;
    void messageBox(std::string_view text, std::string_view caption,
                    platform::MessageIcon icon) override;
    // 1440 / the dpi of the program's first window (15 at 96 dpi).
    void quit() override;

    // Runs the message loop until quit(); returns the exit code.
    int run();

    HINSTANCE instance() const { return instance_; }

    // Runs an event of the program. A failure nothing in the program
    // handled ends the program with a message, as an unhandled run-time
    // error does; it must not travel on through the system's window code.
    template <typename Event>
    void raise(Event event) {
        try {
            event();
        } catch (const std::exception& failure) {
            unhandledFailure(failure.what());
        }
    }
    void unhandledFailure(const std::string& what);

    void warn(const std::string& message) { diagnostics_.warn(message); }
    // Open dialogs get the dialog keys (Tab, Enter, Escape, access keys).
    void addDialog(HWND window);
    void removeDialog(HWND window);

  private:
    bool dialogMessage(MSG& message);

    HINSTANCE instance_;
    platform::Diagnostics& diagnostics_;
    TimerWindow timerWindow_;
    std::set<HWND> dialogs_;
};

}  // namespace vantorel::win32
