#include "net/posix/FdWait.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace popmail::net::posix {

Status WaitFor(int fd, Direction direction, Deadline deadline) {
    pollfd entry{};
    entry.fd = fd;
    entry.events = direction == Direction::Readable ? POLLIN : POLLOUT;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return Fail(FailureKind::ReplyTimedOut);
        }
        const int timeoutMs = static_cast<int>(std::min<long long>(left.count(), 60'000));
        const int ready = ::poll(&entry, 1, timeoutMs);
        if (ready > 0) {
            // Errors and hang-ups are reported by the read or write that follows.
            return Ok();
        }
        if (ready < 0 && errno != EINTR) {
            return Fail(FailureKind::NetworkError, ErrnoText(errno));
        }
    }
}

std::string ErrnoText(int error) {
    // GNU strerror_r: thread-safe, returns the text (maybe not in `buffer`).
    constexpr std::size_t kTextSize = 128;
    char buffer[kTextSize] = {};
    return ::strerror_r(error, buffer, sizeof buffer);
}

}  // namespace popmail::net::posix
