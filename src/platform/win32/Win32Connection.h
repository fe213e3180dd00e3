#pragma once
// The machine's connection state as WinINet reports it.

#include "platform/ConnectionState.h"

namespace vantorel::win32 {

class Win32Connection : public platform::ConnectionState {
  public:
    std::uint32_t connectedState() override;
};

}  // namespace vantorel::win32
