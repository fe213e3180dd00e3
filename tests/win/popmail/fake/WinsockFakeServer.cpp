// The scriptable fake POP3 server of popmail/tests/fake on Winsock, for the
// same protocol tests under Wine. It has no TLS side: the tests that need
// one are left out on Windows (see ../CMakeLists.txt), and Schannel is
// tested against real TLS servers instead.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>

#include <climits>
#include <stdexcept>

#include "fake/FakePop3Server.h"
#include "fake/FakeServerLimits.h"

namespace popmail::testing {
namespace {

constexpr int kBacklog = 8;
// A send that finds the socket full tries again this often: under Wine a
// blocking send() can wait for ever once the client has reset the
// connection, while a fresh attempt reports the reset at once.
constexpr int kSendRetryMs = 50;
constexpr long kMillisecondsPerSecond = 1'000;
constexpr long kMicrosecondsPerMillisecond = 1'000;
constexpr WORD kWinsockVersion = MAKEWORD(2, 2);

// Winsock, started once for the test process.
void StartWinsock() {
    static const bool started = [] {
        WSADATA data{};
        return WSAStartup(kWinsockVersion, &data) == 0;
    }();
    if (!started) {
        throw std::runtime_error("fake server: WSAStartup failed");
    }
}

// The shared header keeps sockets in an int, as on POSIX. Winsock's
// handles are small numbers; one that is not fails loudly here.
int AsInt(SOCKET socket) {
    if (socket == INVALID_SOCKET || socket > static_cast<SOCKET>(INT_MAX)) {
        throw std::runtime_error("fake server: socket handle out of range");
    }
    return static_cast<int>(socket);
}

SOCKET AsSocket(int fd) {
    return static_cast<SOCKET>(fd);
}

int Listen(int& port) {
    StartWinsock();
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (listener == INVALID_SOCKET ||
        bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener, kBacklog) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("fake server: cannot listen");
    }
    port = ntohs(address.sin_port);
    return AsInt(listener);
}

fd_set SetOf(int fd) {
    fd_set set{};
    set.fd_count = 1;
    set.fd_array[0] = AsSocket(fd);
    return set;
}

timeval Timeval(int waitMs) {
    timeval timeout{};
    timeout.tv_sec = waitMs / kMillisecondsPerSecond;
    timeout.tv_usec = (waitMs % kMillisecondsPerSecond) * kMicrosecondsPerMillisecond;
    return timeout;
}

bool Readable(int fd, int waitMs) {
    fd_set set = SetOf(fd);
    timeval timeout = Timeval(waitMs);
    return select(0, &set, nullptr, nullptr, &timeout) > 0;
}

void WaitWritable(int fd, int waitMs) {
    fd_set writable = SetOf(fd);
    fd_set failed = SetOf(fd);
    timeval timeout = Timeval(waitMs);
    select(0, nullptr, &writable, &failed, &timeout);
}

void MakeNonBlocking(SOCKET socket) {
    u_long nonBlocking = 1;
    ioctlsocket(socket, FIONBIO, &nonBlocking);
}

int Receive(int fd, char* buffer, int capacity) {
    return recv(AsSocket(fd), buffer, capacity, 0);
}

}  // namespace

struct Peer::Tls {};

Peer::Peer(int fd, std::function<void(std::string)> record) : fd_(fd), record_(std::move(record)) {}

Peer::~Peer() {
    Close();
}

void Peer::Close() {
    tls_.reset();
    if (fd_ >= 0) {
        closesocket(AsSocket(fd_));
        fd_ = -1;
    }
}

void Peer::Reset() {
    tls_.reset();
    if (fd_ >= 0) {
        // A zero linger time makes the close a reset.
        const linger abort{1, 0};
        setsockopt(AsSocket(fd_), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort),
                   sizeof abort);
        closesocket(AsSocket(fd_));
        fd_ = -1;
    }
}

bool Peer::Send(std::string_view bytes) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kSocketWaitMs);
    while (!bytes.empty() && fd_ >= 0) {
        const int sent = send(AsSocket(fd_), bytes.data(), static_cast<int>(bytes.size()), 0);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent == 0 || WSAGetLastError() != WSAEWOULDBLOCK ||
            std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        WaitWritable(fd_, kSendRetryMs);
    }
    return fd_ >= 0;
}

int Peer::ReadSome(char* buffer, int capacity) {
    if (fd_ < 0 || !Readable(fd_, kSocketWaitMs)) {
        return 0;
    }
    return Receive(fd_, buffer, capacity);
}

bool Peer::MoreArrivesWithin(std::chrono::milliseconds wait) {
    if (!buffered_.empty()) {
        return true;
    }
    return fd_ >= 0 && Readable(fd_, static_cast<int>(wait.count()));
}

bool Peer::StartTls(const TlsIdentity& /*identity*/) {
    return false;  // no TLS side on Windows (see the top of this file)
}

bool Peer::ClientClosesWithin(std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::string chunk(kChunk, '\0');
    while (fd_ >= 0 && std::chrono::steady_clock::now() < deadline) {
        if (!Readable(fd_, static_cast<int>(wait.count()))) {
            return false;
        }
        const int got = Receive(fd_, chunk.data(), kChunk);
        if (got <= 0) {
            return true;
        }
        buffered_.append(chunk.data(), static_cast<std::size_t>(got));
    }
    return false;
}

FakePop3Server::FakePop3Server() {
    listener_ = Listen(port_);
}

FakePop3Server::~FakePop3Server() {
    Wait();
    closesocket(AsSocket(listener_));
}

int FakePop3Server::AcceptClient() {
    if (!Readable(listener_, kSocketWaitMs)) {
        return -1;
    }
    const SOCKET accepted = accept(AsSocket(listener_), nullptr, nullptr);
    if (accepted == INVALID_SOCKET) {
        return -1;
    }
    MakeNonBlocking(accepted);
    return AsInt(accepted);
}

int RefusingPort() {
    // The socket is never closed: the port stays ours until the program ends.
    StartWinsock();
    const SOCKET bound = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (bound == INVALID_SOCKET ||
        bind(bound, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        getsockname(bound, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("fake server: cannot bind a port");
    }
    return ntohs(address.sin_port);
}

}  // namespace popmail::testing
