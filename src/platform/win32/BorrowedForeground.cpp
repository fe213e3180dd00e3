#include "platform/win32/BorrowedForeground.h"

#include <array>
#include <cwchar>

namespace vantorel::win32 {
namespace {

constexpr int kClassNameLength = 64;

// The shell's own windows: the taskbars, the tray overflow and the desktop.
bool IsShellWindow(HWND window) {
    constexpr std::array<const wchar_t*, 5> kShellClasses = {
        L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd", L"NotifyIconOverflowWindow", L"Progman",
        L"WorkerW"};
    wchar_t className[kClassNameLength] = {};
    GetClassNameW(window, className, kClassNameLength);
    for (const wchar_t* shell : kShellClasses) {
        if (std::wcscmp(className, shell) == 0) {
            return true;
        }
    }
    return false;
}

// A window the user could have been working in: shown, not minimised, not
// a tool palette, not the shell's.
bool IsOrdinaryWindow(HWND window) {
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    return IsWindowVisible(window) && !IsIconic(window) && (exStyle & WS_EX_TOOLWINDOW) == 0 &&
           !IsShellWindow(window);
}

struct Search {
    HWND except;
    HWND found;
};

BOOL CALLBACK FirstOrdinary(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (window != search->except && IsOrdinaryWindow(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND UserWindowBehind(HWND front, HWND except) {
    if (front == nullptr || front == except) {
        return nullptr;
    }
    if (!IsShellWindow(front)) {
        return front;
    }
    // EnumWindows goes from the top of the Z order down.
    Search search{except, nullptr};
    EnumWindows(FirstOrdinary, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BorrowedForeground::BorrowedForeground(HWND borrower)
    : borrower_(borrower), owner_(UserWindowBehind(GetForegroundWindow(), borrower)) {
    SetForegroundWindow(borrower_);
}

void BorrowedForeground::giveBack(bool itemChosen) const {
    if (owner_ == nullptr || !IsWindow(owner_)) {
        return;
    }
    // Closing the menu may hand the focus to whichever window the window
    // manager picks, not necessarily the borrower.
    if (itemChosen || GetForegroundWindow() == borrower_) {
        SetForegroundWindow(owner_);
    }
}

}  // namespace vantorel::win32
