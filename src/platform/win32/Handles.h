#pragma once
// Window and icon handles between the program's numbers and Win32's types.

#include <windows.h>

#include <cstdint>

#include "platform/Handles.h"

namespace vantorel::win32 {

inline HWND ToHwnd(platform::WindowHandle handle) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle));
}

inline platform::WindowHandle FromHwnd(HWND window) {
    return static_cast<platform::WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

inline HICON ToHicon(platform::IconHandle handle) {
    return reinterpret_cast<HICON>(static_cast<std::uintptr_t>(handle));
}

inline platform::IconHandle FromHicon(HICON icon) {
    return static_cast<platform::IconHandle>(reinterpret_cast<std::uintptr_t>(icon));
}

}  // namespace vantorel::win32
