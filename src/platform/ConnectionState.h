#pragma once
// Whether the machine has a network connection.

#include <cstdint>

namespace vantorel::platform {

class ConnectionState {
  public:
    static constexpr std::uint32_t kModem = 0x01;
    static constexpr std::uint32_t kLan = 0x02;
    static constexpr std::uint32_t kProxy = 0x04;

    virtual ~ConnectionState() = default;

    // The connection flags word (kModem, kLan, kProxy and others the caller
    // ignores). 0 when the test fails or finds no connection.
    virtual std::uint32_t connectedState() = 0;
};

}  // namespace vantorel::platform
