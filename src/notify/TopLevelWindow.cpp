#include "notify/TopLevelWindow.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vantorel {

namespace {

// Owners can form a cycle on X11, and a broken window system could hand
// out an endless chain; no real window is nested this deep.
constexpr int kMostClimbSteps = 64;

// Windows handles are 32-bit values compared as signed numbers: one whose
// low 32 bits read as 0 or below names no window to climb to.
bool NamesAWindow(platform::WindowHandle handle) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(handle)) > 0;
}

}  // namespace

platform::WindowHandle TopLevelWindowOf(platform::ForeignWindows& windows,
                                        platform::WindowHandle window) {
    platform::WindowHandle top = window;
    std::vector<platform::WindowHandle> visited{top};
    platform::WindowHandle next = windows.parent(top);
    for (int step = 0; step < kMostClimbSteps; ++step) {
        const bool seen = std::find(visited.begin(), visited.end(), next) != visited.end();
        if (!NamesAWindow(next) || seen) {
            break;
        }
        top = next;
        visited.push_back(top);
        next = windows.parent(top);
    }
    return top;
}

}  // namespace vantorel
