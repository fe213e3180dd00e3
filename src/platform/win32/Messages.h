#pragma once
// Window messages private to the backend.

#include <windows.h>

#include <optional>

#include "platform/TrayShell.h"

namespace vantorel::win32 {

// The shell's callback for the tray icon: wParam the icon id, lParam the
// mouse message. A private message rather than WM_MOUSEMOVE, which a real
// window cannot tell from a real mouse move.
constexpr UINT kTrayCallbackMessage = WM_APP + 1;

// What a mouse message of the tray callback stands for: a left double-click
// or a right press. Every other message (moving over the icon, single
// clicks, releases, the middle button) is no action.
inline std::optional<platform::TrayAction> TrayActionOf(UINT mouseMessage) {
    switch (mouseMessage) {
        case WM_LBUTTONDBLCLK:
            return platform::TrayAction::DoubleClicked;
        case WM_RBUTTONDOWN:
            return platform::TrayAction::MenuRequested;
        default:
            return std::nullopt;
    }
}

}  // namespace vantorel::win32
