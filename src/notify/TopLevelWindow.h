#pragma once
// Window operations on other programs' windows.

#include "platform/ForeignWindows.h"

namespace vantorel {

// The outermost window of `window`, found by climbing parents and owners:
// a dialog owned by a main window yields that main window. A window with
// neither is returned unchanged, and 0 gives 0.
platform::WindowHandle TopLevelWindowOf(platform::ForeignWindows& windows,
                                        platform::WindowHandle window);

}  // namespace vantorel
