#pragma once
// Non-blocking Winsock sockets with deadlines: the waits and the raw reads
// and writes that both the plain connection and the TLS channel use.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/Failure.h"
#include "net/Transport.h"
#include "net/win32/WindowsHeaders.h"

namespace popmail::net::win32 {

enum class Direction { Readable, Writable };

// Waits until `socket` is ready in `direction`; ReplyTimedOut when
// `deadline` passes first, NetworkError when the wait itself fails.
Status WaitFor(SOCKET socket, Direction direction, Deadline deadline);

// Waits for a connect() in progress to end. ConnectTimedOut when `deadline`
// passes, ConnectRefused or NetworkError when the connection failed.
Status WaitForConnect(SOCKET socket, Deadline deadline);

// Reads what has arrived, at least one byte, waiting until `deadline`;
// 0 when the peer closed the connection.
Result<std::size_t> ReceiveSome(SOCKET socket, char* buffer, std::size_t capacity,
                                Deadline deadline);

// Sends all of `data`, waiting for room until `deadline`.
Status SendAll(SOCKET socket, std::string_view data, Deadline deadline);

// Sends what the socket takes at once, without waiting (a farewell such as
// TLS close_notify that nobody must wait for).
void SendWithoutWaiting(SOCKET socket, std::string_view data);

}  // namespace popmail::net::win32
