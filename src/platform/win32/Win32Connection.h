#pragma once
// The machine's connection state as WinINet reports it.

#include <windows.h>

#include "platform/ConnectionState.h"

namespace vantorel::win32 {

class Win32Connection : public platform::ConnectionState {
  public:
    // The system's InternetGetConnectedState, or a stand-in with its shape.
    using QueryFunction = BOOL(WINAPI*)(LPDWORD flags, DWORD reserved);

    Win32Connection();
    explicit Win32Connection(QueryFunction query) : query_(query) {}

    // The flags word only: the call's result is FALSE on a local network
    // without a way to the Internet (an intranet mail server), whose LAN
    // flag still counts as connected.
    std::uint32_t connectedState() override;

  private:
    QueryFunction query_;
};

}  // namespace vantorel::win32
