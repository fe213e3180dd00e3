#include "platform/win32/ShellTray.h"

#include <algorithm>

#include "platform/win32/Handles.h"
#include "platform/win32/Messages.h"
#include "platform/win32/TrayMarkIcon.h"
#include "platform/win32/WideText.h"

namespace vantorel::win32 {

namespace {

constexpr wchar_t kListenerClass[] = L"VantorelTaskbarListener";
constexpr UINT_PTR kRetryTimerId = 1;

// `text` cut to fit `capacity` characters with its NUL, never inside a
// surrogate pair.
void CopyTip(const std::wstring& text, wchar_t* field, std::size_t capacity) {
    std::size_t length = std::min(text.size(), capacity - 1);
    if (length > 0 && length < text.size() && IS_HIGH_SURROGATE(text[length - 1])) {
        --length;
    }
    std::copy_n(text.begin(), length, field);
    field[length] = L'\0';
}

}  // namespace

ShellTray::ShellTray() : ShellTray(&Shell_NotifyIconW, kRetryMs) {}

ShellTray::ShellTray(NotifyFunction notify, UINT retryMs) : notify_(notify), retryMs_(retryMs) {
    // The "taskbar created" message is broadcast to top-level windows only:
    // a hidden top-level window of our own listens for it.
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &ShellTray::ListenerProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kListenerClass;
    RegisterClassW(&windowClass);
    listener_ = CreateWindowExW(WS_EX_TOOLWINDOW, kListenerClass, L"", WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, instance, nullptr);
    if (listener_ != nullptr) {
        SetWindowLongPtrW(listener_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
}

ShellTray::~ShellTray() {
    remove();
    if (listener_ != nullptr) {
        KillTimer(listener_, kRetryTimerId);
        SetWindowLongPtrW(listener_, GWLP_USERDATA, 0);
        DestroyWindow(listener_);
    }
}

NOTIFYICONDATAW ShellTray::LookRecord(HWND owner, const platform::TrayLook& look) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = kIconId;
    data.uFlags = NIF_ICON | NIF_TIP;
    data.hIcon = ToHicon(look.icon);
    CopyTip(Widen(look.tip), data.szTip, std::size(data.szTip));
    return data;
}

NOTIFYICONDATAW ShellTray::AddRecord(HWND owner, const platform::TrayLook& look) {
    NOTIFYICONDATAW data = LookRecord(owner, look);
    data.uFlags |= NIF_MESSAGE;
    data.uCallbackMessage = kTrayCallbackMessage;
    return data;
}

NOTIFYICONDATAW ShellTray::BalloonRecord(HWND window, UINT id, const std::string& title,
                                         const std::string& text) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = id;
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_INFO;
    CopyTip(Widen(title), data.szInfoTitle, std::size(data.szInfoTitle));
    CopyTip(Widen(text), data.szInfo, std::size(data.szInfo));
    return data;
}

bool ShellTray::balloon(const std::string& title, const std::string& text) {
    if (!icon_ || !icon_->shown) {
        return false;
    }
    NOTIFYICONDATAW data = BalloonRecord(icon_->data.hWnd, kIconId, title, text);
    return notify_(NIM_MODIFY, &data) != FALSE;
}

void ShellTray::dropMarkedIcon() {
    if (markedIcon_ != nullptr) {
        DestroyIcon(markedIcon_);
        markedIcon_ = nullptr;
    }
}

NOTIFYICONDATAW ShellTray::markedRecord(NOTIFYICONDATAW data, const platform::TrayMark& mark) {
    HICON marked =
        mark.kind == platform::TrayMark::Kind::None ? nullptr : MarkedIcon(data.hIcon, mark);
    // The shell copies the icon it is given, so the one it showed before
    // may go now.
    dropMarkedIcon();
    if (marked != nullptr) {
        markedIcon_ = marked;
        data.hIcon = marked;
    }
    return data;
}

bool ShellTray::show(platform::WindowHandle owner, const platform::TrayLook& look) {
    const HWND window = ToHwnd(owner);
    if (icon_ && icon_->data.hWnd != window) {
        return false;
    }
    NOTIFYICONDATAW data = markedRecord(AddRecord(window, look), look.mark);
    const bool added = notify_(NIM_ADD, &data) != FALSE;
    // Remembered even when the shell refused it for want of a taskbar, so
    // that it appears once the taskbar is there; a second show of a shown
    // icon changes nothing, as in the shell.
    if (!icon_) {
        icon_ = Icon{data, false};
    }
    // The icon made for the mark of the earlier look has gone: the
    // remembered one is the one just made.
    icon_->data.hIcon = data.hIcon;
    icon_->shown = icon_->shown || added;
    if (!icon_->shown) {
        afterAttempt();
    }
    return added;
}

bool ShellTray::update(const platform::TrayLook& look) {
    if (!icon_) {
        return false;
    }
    NOTIFYICONDATAW data = markedRecord(LookRecord(icon_->data.hWnd, look), look.mark);
    // Remembered, so that an icon added again (a new taskbar) shows the
    // state as it is now.
    icon_->data.hIcon = data.hIcon;
    std::copy(std::begin(data.szTip), std::end(data.szTip), std::begin(icon_->data.szTip));
    if (!icon_->shown) {
        return false;  // shown with the next attempt to add it
    }
    return notify_(NIM_MODIFY, &data) != FALSE;
}

bool ShellTray::remove() {
    if (!icon_) {
        return false;
    }
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = icon_->data.hWnd;
    data.uID = kIconId;
    icon_.reset();
    const bool deleted = notify_(NIM_DELETE, &data) != FALSE;
    dropMarkedIcon();
    return deleted;
}

bool ShellTray::available() {
    return !icon_ || icon_->shown;
}

void ShellTray::watchAvailability(std::function<void()> appeared) {
    appeared_ = std::move(appeared);
}

bool ShellTray::offer(Icon& icon) {
    // The taskbar message is broadcast to every program and may come while
    // our icon is still there (another program sent it, or the shell kept
    // its icons): an add then fails, and an update that succeeds says the
    // icon is shown after all, so no retry runs for an icon on the screen.
    return notify_(NIM_ADD, &icon.data) != FALSE || notify_(NIM_MODIFY, &icon.data) != FALSE;
}

void ShellTray::addAgain() {
    if (icon_) {
        icon_->shown = offer(*icon_);
    }
    afterAttempt();
}

void ShellTray::retry() {
    if (icon_ && !icon_->shown) {
        icon_->shown = offer(*icon_);
    }
    afterAttempt();
}

void ShellTray::afterAttempt() {
    if (!available()) {
        if (!retrying_ && listener_ != nullptr) {
            retrying_ = SetTimer(listener_, kRetryTimerId, retryMs_, nullptr) != 0;
        }
        return;
    }
    const bool waited = retrying_;
    if (retrying_) {
        KillTimer(listener_, kRetryTimerId);
        retrying_ = false;
    }
    // A new taskbar is a tray that has come back, whether or not an icon
    // had to wait for it.
    if (appeared_ && (waited || icon_)) {
        appeared_();
    }
}

LRESULT CALLBACK ShellTray::ListenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* tray = reinterpret_cast<ShellTray*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (tray != nullptr && message == tray->taskbarCreated_) {
        tray->addAgain();
        return 0;
    }
    if (tray != nullptr && message == WM_TIMER && wParam == kRetryTimerId) {
        tray->retry();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace vantorel::win32
