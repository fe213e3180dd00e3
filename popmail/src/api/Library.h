#pragma once
// The library's one client, with the system network and the documented
// time-outs, shared by every RcvMail call of the process. How long it lives
// is the platform's part (api/posix, api/win32): a kept session must end
// without the library waiting for a thread where that could deadlock.

#include <memory>

#include "core/Client.h"
#include "core/Limits.h"
#include "core/SessionKeeper.h"
#include "net/Transport.h"

namespace popmail::api {

struct Library {
    std::unique_ptr<net::Network> network = net::MakeSystemNetwork();
    SessionKeeper keeper{kSessionKeepAlive};
    Client client{*network, keeper};
};

// Made at the first call.
Library& TheLibrary();

}  // namespace popmail::api
