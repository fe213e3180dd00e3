#pragma once
// Window messages private to the backend.

#include <windows.h>

namespace vantorel::win32 {

// The shell's callback for the tray icon: wParam the icon id, lParam the
// mouse message. The program's own record asks for WM_MOUSEMOVE, which a
// real window cannot tell from a real mouse move; the backend uses this
// message instead and hands the code straight to the form.
constexpr UINT kTrayCallbackMessage = WM_APP + 1;

}  // namespace vantorel::win32
