#include "net/win32/SocketIo.h"

#include <algorithm>
#include <climits>

#include "net/win32/SystemText.h"

namespace popmail::net::win32 {
namespace {

// select() is called again at least this often, so that a far deadline
// cannot overflow its time-out.
constexpr long long kLongestSingleWaitMs = 60'000;
constexpr long kMillisecondsPerSecond = 1'000;
constexpr long kMicrosecondsPerMillisecond = 1'000;

// recv() and send() take int lengths.
constexpr std::size_t kLargestTransfer = INT_MAX;

long long MillisecondsLeft(Deadline deadline) {
    return std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
}

timeval Timeval(long long milliseconds) {
    const long capped = static_cast<long>(std::min(milliseconds, kLongestSingleWaitMs));
    timeval value{};
    value.tv_sec = capped / kMillisecondsPerSecond;
    value.tv_usec = (capped % kMillisecondsPerSecond) * kMicrosecondsPerMillisecond;
    return value;
}

// A set holding only `socket` (FD_SET's macro casts in the old style).
fd_set SetOf(SOCKET socket) {
    fd_set set{};
    set.fd_count = 1;
    set.fd_array[0] = socket;
    return set;
}

bool WouldBlock(int error) {
    return error == WSAEWOULDBLOCK || error == WSAEINTR;
}

Failure NetworkFailure(int error) {
    return Fail(FailureKind::NetworkError, SystemErrorText(static_cast<unsigned long>(error)));
}

}  // namespace

Status WaitFor(SOCKET socket, Direction direction, Deadline deadline) {
    for (;;) {
        const long long left = MillisecondsLeft(deadline);
        if (left <= 0) {
            return Fail(FailureKind::ReplyTimedOut);
        }
        fd_set set = SetOf(socket);
        timeval timeout = Timeval(left);
        const int ready =
            ::select(0, direction == Direction::Readable ? &set : nullptr,
                     direction == Direction::Writable ? &set : nullptr, nullptr, &timeout);
        if (ready > 0) {
            // Errors and closed connections are reported by the call that follows.
            return Ok();
        }
        if (ready == SOCKET_ERROR) {
            return NetworkFailure(WSAGetLastError());
        }
    }
}

Status WaitForConnect(SOCKET socket, Deadline deadline) {
    // A connect in progress ends writable (connected) or in the exception
    // set (failed); Winsock reports no failure through writability.
    for (;;) {
        const long long left = MillisecondsLeft(deadline);
        if (left <= 0) {
            return Fail(FailureKind::ConnectTimedOut);
        }
        fd_set writable = SetOf(socket);
        fd_set failed = SetOf(socket);
        timeval timeout = Timeval(left);
        const int ready = ::select(0, nullptr, &writable, &failed, &timeout);
        if (ready == SOCKET_ERROR) {
            return NetworkFailure(WSAGetLastError());
        }
        if (ready == 0) {
            continue;
        }
        int error = 0;
        int length = sizeof error;
        if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) !=
            0) {
            error = WSAGetLastError();
        }
        if (error == 0) {
            if (failed.fd_count == 0) {
                return Ok();
            }
            error = WSAECONNREFUSED;  // failed, and the reason already taken
        }
        if (error == WSAECONNREFUSED) {
            return Fail(FailureKind::ConnectRefused);
        }
        if (error == WSAETIMEDOUT) {
            return Fail(FailureKind::ConnectTimedOut);
        }
        return NetworkFailure(error);
    }
}

Result<std::size_t> ReceiveSome(SOCKET socket, char* buffer, std::size_t capacity,
                                Deadline deadline) {
    const int wanted = static_cast<int>(std::min(capacity, kLargestTransfer));
    for (;;) {
        const int got = ::recv(socket, buffer, wanted, 0);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        const int error = WSAGetLastError();
        if (!WouldBlock(error)) {
            return NetworkFailure(error);
        }
        if (auto waited = WaitFor(socket, Direction::Readable, deadline); !waited) {
            return waited.failure();
        }
    }
}

Status SendAll(SOCKET socket, std::string_view data, Deadline deadline) {
    while (!data.empty()) {
        const int length = static_cast<int>(std::min(data.size(), kLargestTransfer));
        const int sent = ::send(socket, data.data(), length, 0);
        if (sent >= 0) {
            data.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        const int error = WSAGetLastError();
        if (!WouldBlock(error)) {
            return NetworkFailure(error);
        }
        if (auto waited = WaitFor(socket, Direction::Writable, deadline); !waited) {
            return waited.failure();
        }
    }
    return Ok();
}

void SendWithoutWaiting(SOCKET socket, std::string_view data) {
    const int length = static_cast<int>(std::min(data.size(), kLargestTransfer));
    if (length > 0) {
        ::send(socket, data.data(), length, 0);
    }
}

}  // namespace popmail::net::win32
