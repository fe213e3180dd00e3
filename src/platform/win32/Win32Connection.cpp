#include "platform/win32/Win32Connection.h"

// wininet.h needs the types of windows.h first.
#include <wininet.h>

namespace vantorel::win32 {

Win32Connection::Win32Connection() : query_(&InternetGetConnectedState) {}

std::uint32_t Win32Connection::connectedState() {
    // Cleared first, so that a call that writes nothing counts as offline.
    DWORD flags = 0;
    query_(&flags, 0);
    return flags;
}

}  // namespace vantorel::win32
