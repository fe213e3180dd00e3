#pragma once
// Opaque handles and small value types shared by the platform interfaces.

#include <cstdint>

namespace vantorel::platform {

// A window of any program, as the platform names it (an HWND on Windows, an
// X11 window id on Linux). 0 names no window.
using WindowHandle = std::uint64_t;

// An icon image as the platform names it. 0 names no icon.
using IconHandle = std::uint64_t;

// A position in screen pixels.
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

}  // namespace vantorel::platform
