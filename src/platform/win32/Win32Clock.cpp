#include "platform/win32/Win32Clock.h"

#include <windows.h>

namespace vantorel::win32 {

platform::ClockTime Win32Clock::now() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return {local.wHour, local.wMinute};
}

}  // namespace vantorel::win32
