#pragma once
// The program's tray icon with the mark of its state drawn over it, made
// pixel by pixel on a 32-bit bitmap (the shell takes any HICON).

#include <windows.h>

#include "platform/TrayShell.h"

namespace vantorel::win32 {

// A new icon of `base`'s size: `base` with `mark` in its lower right corner
// (a red badge with the count for new mail, an orange one with "!" for a
// failed check, a grey one with two bars over a greyed icon for a pause).
// nullptr when `base` cannot be read or the icon cannot be made; the
// caller destroys the icon with DestroyIcon.
HICON MarkedIcon(HICON base, const platform::TrayMark& mark);

}  // namespace vantorel::win32
