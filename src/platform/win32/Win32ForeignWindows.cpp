#include "platform/win32/Win32ForeignWindows.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace vantorel::win32 {

namespace {

constexpr UINT kSendFlags = SMTO_ABORTIFHUNG | SMTO_NORMAL;

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

std::string Win32ForeignWindows::windowText(platform::WindowHandle window) {
    HWND hwnd = ToHwnd(window);
    if (!isWindow(window)) {
        return {};
    }
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, kSendFlags, kAnswerTimeoutMs, &length) ||
        length == 0) {
        return {};
    }
    // The reported length may exceed the text (it can count ANSI bytes):
    // keep what was copied.
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             kSendFlags, kAnswerTimeoutMs, &copied)) {
        return {};
    }
    text.resize(std::min<std::size_t>(copied, length));
    return Narrow(text);
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

bool Win32ForeignWindows::flashWindow(const platform::FlashInfo& info) {
    if (!isWindow(info.window)) {
        return false;
    }
    FLASHWINFO flash{};
    flash.cbSize = sizeof(flash);
    flash.hwnd = ToHwnd(info.window);
    flash.dwFlags = info.flags;
    flash.uCount = info.count;
    flash.dwTimeout = info.timeoutMs;
    // FlashWindowEx answers whether the caption was active before, not
    // whether it flashes: the window exists, so the request was made.
    FlashWindowEx(&flash);
    return true;
}

}  // namespace vantorel::win32
