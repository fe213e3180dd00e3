#include "platform/posix/InterfaceConnection.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

namespace vantorel::posix {

bool IsNetworkInterface(unsigned int flags, int addressFamily) {
    constexpr unsigned int kUpAndRunning = IFF_UP | IFF_RUNNING;
    const bool hasAddress = addressFamily == AF_INET || addressFamily == AF_INET6;
    return (flags & kUpAndRunning) == kUpAndRunning && (flags & IFF_LOOPBACK) == 0 && hasAddress;
}

std::uint32_t InterfaceConnection::connectedState() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return 0;
    }
    bool connected = false;
    for (const ifaddrs* entry = list; entry != nullptr && !connected; entry = entry->ifa_next) {
        const int family = entry->ifa_addr != nullptr ? entry->ifa_addr->sa_family : AF_UNSPEC;
        connected = IsNetworkInterface(entry->ifa_flags, family);
    }
    freeifaddrs(list);
    return connected ? platform::ConnectionState::kLan : 0;
}

}  // namespace vantorel::posix
