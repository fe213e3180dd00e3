#include "platform/win32/Win32Connection.h"

#include <windows.h>
// wininet.h needs the types of windows.h first.
#include <wininet.h>

namespace vantorel::win32 {

std::uint32_t Win32Connection::connectedState() {
    DWORD flags = 0;
    if (!InternetGetConnectedState(&flags, 0)) {
        return 0;  // offline, whatever else the flags say
    }
    return flags;
}

}  // namespace vantorel::win32
