#pragma once
// The connection state from the network interfaces: any interface other
// than loopback that is up and running and has an address counts as a
// local network connection.

#include <cstdint>

#include "platform/ConnectionState.h"

namespace vantorel::posix {

// True when an interface with these getifaddrs flags and this address
// family (AF_UNSPEC for none) connects the machine to a network.
bool IsNetworkInterface(unsigned int flags, int addressFamily);

class InterfaceConnection : public platform::ConnectionState {
  public:
    // kLan when a network interface is found; 0 otherwise, or when the
    // interfaces cannot be listed.
    std::uint32_t connectedState() override;
};

}  // namespace vantorel::posix
