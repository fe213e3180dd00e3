#include "platform/win32/MessageTimers.h"

namespace vantorel::win32 {

namespace {
constexpr wchar_t kTimerClass[] = L"VantorelTimers";
}

TimerWindow::TimerWindow() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &TimerWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kTimerClass;
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                              nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TimerWindow::~TimerWindow() {
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

UINT_PTR TimerWindow::add(MessageTimer* timer) {
    const UINT_PTR id = nextId_++;
    timers_[id] = timer;
    return id;
}

void TimerWindow::remove(UINT_PTR id) {
    KillTimer(window_, id);
    timers_.erase(id);
}

LRESULT CALLBACK TimerWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        auto* self = reinterpret_cast<TimerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        const UINT_PTR id = wParam;
        // A message box in a tick lets further WM_TIMER messages through:
        // a timer whose tick is still running skips them.
        if (self != nullptr && self->timers_.count(id) != 0 && self->ticking_.insert(id).second) {
            self->timers_[id]->tick();
            // The tick may have destroyed the timer; only the id is used here.
            self->ticking_.erase(id);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

MessageTimer::MessageTimer(TimerWindow& window, std::string name, std::function<void()> onTick)
    : window_(window), name_(std::move(name)), onTick_(std::move(onTick)), id_(window.add(this)) {}

MessageTimer::~MessageTimer() {
    window_.remove(id_);
}

void MessageTimer::apply() {
    if (enabled_ && interval_ > 0) {
        // SetTimer on a running id starts its period afresh.
        SetTimer(window_.handle(), id_, interval_, nullptr);
        running_ = true;
    } else if (running_) {
        KillTimer(window_.handle(), id_);
        running_ = false;
    }
}

void MessageTimer::setInterval(std::uint32_t milliseconds) {
    const bool changed = milliseconds != interval_;
    interval_ = milliseconds;
    if (changed || !running_) {
        apply();
    }
}

void MessageTimer::setEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;  // enabling a running timer changes nothing
    }
    enabled_ = enabled;
    apply();
}

void MessageTimer::tick() {
    if (running_) {
        onTick_();
    }
}

}  // namespace vantorel::win32
