#pragma once
// Timers on a hidden message-only window: each timer is a SetTimer id of
// that window, and WM_TIMER runs its tick on the user-interface thread.

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>

#include "platform/WindowFramework.h"

namespace vantorel::win32 {

class MessageTimer;

class TimerWindow {
  public:
    TimerWindow();
    ~TimerWindow();
    TimerWindow(const TimerWindow&) = delete;
    TimerWindow& operator=(const TimerWindow&) = delete;

    HWND handle() const { return window_; }
    UINT_PTR add(MessageTimer* timer);
    void remove(UINT_PTR id);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    UINT_PTR nextId_ = 1;
    std::map<UINT_PTR, MessageTimer*> timers_;
    std::set<UINT_PTR> ticking_;
};

class MessageTimer : public platform::Timer {
  public:
    MessageTimer(TimerWindow& window, std::string name, std::function<void()> onTick);
    ~MessageTimer() override;
    MessageTimer(const MessageTimer&) = delete;
    MessageTimer& operator=(const MessageTimer&) = delete;

    // A new period restarts a running timer with it; 0 stops the ticks
    // while the timer stays enabled.
    void setInterval(std::uint32_t milliseconds) override;
    std::uint32_t interval() override { return interval_; }
    void setEnabled(bool enabled) override;
    bool enabled() override { return enabled_; }

    // Runs the tick while the timer runs. The timer may be destroyed in it.
    void tick();

  private:
    void apply();

    TimerWindow& window_;
    std::string name_;
    std::function<void()> onTick_;
    UINT_PTR id_;
    std::uint32_t interval_ = 0;
    bool enabled_ = false;
    bool running_ = false;  // SetTimer is in force
};

}  // namespace vantorel::win32
