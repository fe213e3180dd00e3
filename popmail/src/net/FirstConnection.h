#pragma once
// Connecting to a host name that resolves to several addresses: each is
// tried in turn until one answers. Shared by the socket layers of every
// platform so they agree on which failure the user is told.

#include <memory>

#include "core/Failure.h"
#include "net/Transport.h"

namespace popmail::net {

// Walks the resolver's list from `head` (each node's next in `ai_next`) and
// returns the first connection `connectTo(address)` makes. The failure is
// "refused" only when every address refused; otherwise it is the most telling
// other failure, and a time-out ends the search, as the deadline has passed.
template <typename Address, typename ConnectTo>
Result<std::unique_ptr<Connection>> ConnectToFirst(const Address* head, ConnectTo connectTo) {
    Failure failure = Fail(FailureKind::ConnectRefused);
    for (const Address* address = head; address != nullptr; address = address->ai_next) {
        Result<std::unique_ptr<Connection>> connection = connectTo(*address);
        if (connection) {
            return connection;
        }
        if (connection.failure().kind != FailureKind::ConnectRefused ||
            failure.kind == FailureKind::ConnectRefused) {
            failure = connection.failure();
        }
        if (failure.kind == FailureKind::ConnectTimedOut) {
            break;
        }
    }
    return failure;
}

}  // namespace popmail::net
