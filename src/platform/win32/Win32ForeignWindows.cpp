#include "platform/win32/Win32ForeignWindows.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace vantorel::win32 {

namespace {

constexpr UINT kSendFlags = SMTO_ABORTIFHUNG | SMTO_NORMAL;

// Title buffers start at the classic caption size and double up to the
// longest text a window can hold.
constexpr std::size_t kFirstTitleChars = 256;
constexpr std::size_t kMostTitleChars = 0x10000;

// A flash time-out of 0 blinks at the system's cursor blink rate.
constexpr DWORD kBlinkRateTimeout = 0;

}  // namespace

platform::WindowHandle Win32ForeignWindows::foregroundWindow() {
    return FromHwnd(GetForegroundWindow());
}

platform::Point Win32ForeignWindows::cursorPos() {
    POINT point{};
    if (!GetCursorPos(&point)) {
        return {};
    }
    return {point.x, point.y};
}

platform::WindowHandle Win32ForeignWindows::windowFromPoint(platform::Point point) {
    return FromHwnd(WindowFromPoint(POINT{point.x, point.y}));
}

platform::WindowHandle Win32ForeignWindows::parent(platform::WindowHandle window) {
    HWND hwnd = ToHwnd(window);
    if (!IsWindow(hwnd)) {
        return 0;
    }
    // GetParent gives the owner only of an owned pop-up; an owned window
    // of another style is climbed through its owner all the same.
    HWND above = GetParent(hwnd);
    if (above == nullptr) {
        above = GetWindow(hwnd, GW_OWNER);
    }
    return FromHwnd(above);
}

bool Win32ForeignWindows::isWindow(platform::WindowHandle window) {
    return window != 0 && IsWindow(ToHwnd(window));
}

std::optional<std::string> Win32ForeignWindows::windowText(platform::WindowHandle window) {
    if (!isWindow(window)) {
        return std::nullopt;
    }
    // GetWindowTextW reads another program's caption from the system's own
    // copy without sending that program a message, so a target that is busy
    // at this moment still gives its real title rather than none.
    HWND hwnd = ToHwnd(window);
    std::wstring text(kFirstTitleChars, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const int copied = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
        if (copied == 0 && GetLastError() != ERROR_SUCCESS) {
            return std::nullopt;
        }
        const auto length = static_cast<std::size_t>(std::max(copied, 0));
        // A full buffer may hold a cut title: read again with more room.
        if (length + 1 < text.size() || text.size() >= kMostTitleChars) {
            text.resize(length);
            return Narrow(text);
        }
        text.assign(text.size() * 2, L'\0');
    }
}

bool Win32ForeignWindows::setWindowText(platform::WindowHandle window, std::string_view text) {
    if (!isWindow(window)) {
        return false;
    }
    const std::wstring wide = Widen(text);
    DWORD_PTR accepted = 0;
    if (!SendMessageTimeoutW(ToHwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()),
                             kSendFlags, kAnswerTimeoutMs, &accepted)) {
        return false;
    }
    return accepted != FALSE;
}

bool Win32ForeignWindows::flash(platform::WindowHandle window, int times) {
    if (!isWindow(window)) {
        return false;
    }
    FLASHWINFO flash{};
    flash.cbSize = sizeof(flash);
    flash.hwnd = ToHwnd(window);
    flash.dwFlags = FLASHW_CAPTION;
    flash.uCount = static_cast<UINT>(std::max(times, 0));
    flash.dwTimeout = kBlinkRateTimeout;
    // FlashWindowEx answers whether the caption was active before, not
    // whether it flashes: the window exists, so the request was made.
    FlashWindowEx(&flash);
    return true;
}

}  // namespace vantorel::win32
