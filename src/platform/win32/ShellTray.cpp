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
    for (auto& [key, icon] : icons_) {
        NOTIFYICONDATAW remove{};
        remove.cbSize = sizeof(remove);
        remove.hWnd = key.first;
        remove.uID = key.second;
        notify_(NIM_DELETE, &remove);
    }
    for (auto& [key, icon] : markedIcons_) {
        DestroyIcon(icon);
    }
    if (listener_ != nullptr) {
        KillTimer(listener_, kRetryTimerId);
        SetWindowLongPtrW(listener_, GWLP_USERDATA, 0);
        DestroyWindow(listener_);
    }
}

NOTIFYICONDATAW ShellTray::WideRecord(const platform::NotifyIconRecord& record) {
    using R = platform::NotifyIconRecord;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = ToHwnd(record.window);
    data.uID = record.id;
    if (record.flags & R::kFlagMessage) {
        data.uFlags |= NIF_MESSAGE;
        data.uCallbackMessage = kTrayCallbackMessage;
    }
    if (record.flags & R::kFlagIcon) {
        data.uFlags |= NIF_ICON;
        data.hIcon = ToHicon(record.icon);
    }
    if (record.flags & R::kFlagTip) {
        data.uFlags |= NIF_TIP;
        CopyTip(Widen(record.tip), data.szTip, std::size(data.szTip));
    }
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
    for (const auto& [key, icon] : icons_) {
        if (icon.shown) {
            NOTIFYICONDATAW data = BalloonRecord(key.first, key.second, title, text);
            return notify_(NIM_MODIFY, &data) != FALSE;
        }
    }
    return false;
}

void ShellTray::dropMarkedIcon(const Key& key) {
    const auto it = markedIcons_.find(key);
    if (it != markedIcons_.end()) {
        DestroyIcon(it->second);
        markedIcons_.erase(it);
    }
}

NOTIFYICONDATAW ShellTray::markedRecord(const platform::NotifyIconRecord& record) {
    NOTIFYICONDATAW data = WideRecord(record);
    const Key key{data.hWnd, data.uID};
    if ((data.uFlags & NIF_ICON) == 0) {
        return data;
    }
    HICON marked = record.mark.kind == platform::TrayMark::Kind::None
                       ? nullptr
                       : MarkedIcon(data.hIcon, record.mark);
    // The shell copies the icon it is given, so the one it showed before
    // may go now.
    dropMarkedIcon(key);
    if (marked != nullptr) {
        markedIcons_[key] = marked;
        data.hIcon = marked;
    }
    return data;
}

bool ShellTray::modify(const platform::NotifyIconRecord& record) {
    NOTIFYICONDATAW data = markedRecord(record);
    const auto it = icons_.find({data.hWnd, data.uID});
    if (it == icons_.end()) {
        return false;
    }
    // Remembered, so that an icon added again (a new taskbar) shows the
    // state as it is now.
    Icon& icon = it->second;
    if (data.uFlags & NIF_ICON) {
        icon.data.hIcon = data.hIcon;
    }
    if (data.uFlags & NIF_TIP) {
        std::copy(std::begin(data.szTip), std::end(data.szTip), std::begin(icon.data.szTip));
    }
    if (!icon.shown) {
        return false;  // shown with the next attempt to add it
    }
    return notify_(NIM_MODIFY, &data) != FALSE;
}

bool ShellTray::notifyIcon(platform::NotifyIconMessage message,
                           const platform::NotifyIconRecord& record) {
    if (message == platform::NotifyIconMessage::Modify) {
        return modify(record);
    }
    NOTIFYICONDATAW data =
        message == platform::NotifyIconMessage::Add ? markedRecord(record) : WideRecord(record);
    const Key key{data.hWnd, data.uID};
    if (message == platform::NotifyIconMessage::Add) {
        const bool added = notify_(NIM_ADD, &data) != FALSE;
        // Remembered even when the shell refused it for want of a taskbar,
        // so that it appears once the taskbar is there; a second add of a
        // shown icon changes nothing, as in the shell.
        Icon& icon = icons_.try_emplace(key, Icon{data, false}).first->second;
        // The icon made for the mark of the earlier record has gone: the
        // remembered one is the one just made.
        icon.data.hIcon = data.hIcon;
        icon.shown = icon.shown || added;
        if (!icon.shown) {
            afterAttempt();
        }
        return added;
    }
    icons_.erase(key);
    const bool deleted = notify_(NIM_DELETE, &data) != FALSE;
    dropMarkedIcon(key);
    return deleted;
}

bool ShellTray::available() {
    for (const auto& [key, icon] : icons_) {
        if (!icon.shown) {
            return false;
        }
    }
    return true;
}

void ShellTray::watchAvailability(std::function<void()> appeared) {
    appeared_ = std::move(appeared);
}

bool ShellTray::show(Icon& icon) {
    // The taskbar message is broadcast to every program and may come while
    // our icon is still there (another program sent it, or the shell kept
    // its icons): an add then fails, and an update that succeeds says the
    // icon is shown after all, so no retry runs for an icon on the screen.
    return notify_(NIM_ADD, &icon.data) != FALSE || notify_(NIM_MODIFY, &icon.data) != FALSE;
}

void ShellTray::addAgain() {
    for (auto& [key, icon] : icons_) {
        icon.shown = show(icon);
    }
    afterAttempt();
}

void ShellTray::retry() {
    for (auto& [key, icon] : icons_) {
        if (!icon.shown) {
            icon.shown = show(icon);
        }
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
    if (appeared_ && (waited || !icons_.empty())) {
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
