#pragma once
// Waiting on a non-blocking socket with a deadline.

#include "core/Failure.h"
#include "net/Transport.h"

namespace popmail::net::posix {

enum class Direction { Readable, Writable };

// Waits until `fd` is ready in `direction`; ReplyTimedOut when `deadline`
// passes first, NetworkError when the wait itself fails.
Status WaitFor(int fd, Direction direction, Deadline deadline);

// The text of errno value `error` for failure details.
std::string ErrnoText(int error);

}  // namespace popmail::net::posix
