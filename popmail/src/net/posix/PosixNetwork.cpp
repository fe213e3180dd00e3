// The system network on POSIX systems: non-blocking TCP sockets waited on
// with poll(), TLS through OpenSSL.

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "net/FirstConnection.h"
#include "net/Transport.h"
#include "net/openssl/TlsChannel.h"
#include "net/posix/FdWait.h"

namespace popmail::net {
namespace {

using posix::Direction;
using posix::ErrnoText;
using posix::WaitFor;

class PosixConnection final : public Connection {
  public:
    explicit PosixConnection(int fd) : fd_(fd) {}
    ~PosixConnection() override {
        tls_.reset();  // sends close_notify while the socket is still open
        ::close(fd_);
    }
    PosixConnection(const PosixConnection&) = delete;
    PosixConnection& operator=(const PosixConnection&) = delete;

    Result<std::size_t> Read(char* buffer, std::size_t capacity, Deadline deadline) override {
        if (tls_) {
            return tls_->Read(buffer, capacity, deadline);
        }
        for (;;) {
            const ssize_t got = ::recv(fd_, buffer, capacity, 0);
            if (got >= 0) {
                return static_cast<std::size_t>(got);
            }
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                return Fail(FailureKind::NetworkError, ErrnoText(errno));
            }
            if (auto waited = WaitFor(fd_, Direction::Readable, deadline); !waited) {
                return waited.failure();
            }
        }
    }

    Status Write(std::string_view data, Deadline deadline) override {
        if (tls_) {
            return tls_->Write(data, deadline);
        }
        while (!data.empty()) {
            const ssize_t sent = ::send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
            if (sent >= 0) {
                data.remove_prefix(static_cast<std::size_t>(sent));
                continue;
            }
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                return Fail(FailureKind::NetworkError, ErrnoText(errno));
            }
            if (auto waited = WaitFor(fd_, Direction::Writable, deadline); !waited) {
                return waited.failure();
            }
        }
        return Ok();
    }

    Status StartTls(const std::string& serverName, Deadline deadline) override {
        auto channel = openssl::TlsChannel::Handshake(fd_, serverName, deadline);
        if (!channel) {
            return channel.failure();
        }
        tls_ = std::move(*channel);
        return Ok();
    }

    bool Encrypted() const override { return tls_ != nullptr; }

  private:
    int fd_;
    std::unique_ptr<openssl::TlsChannel> tls_;
};

struct AddressList {
    addrinfo* head = nullptr;
    ~AddressList() {
        if (head != nullptr) {
            ::freeaddrinfo(head);
        }
    }
};

// Every write is a whole flight of commands: Nagle's algorithm would hold
// back the second of two writes in a row (STLS's Finished, then CAPA) until
// the server acknowledged the first, a round trip. Best effort.
void SendWithoutDelay(int fd) {
    const int on = 1;
    (void)::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// One connection attempt to one address: the socket, or why it failed.
Result<int> ConnectTo(const addrinfo& address, Deadline deadline) {
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                            address.ai_protocol);
    if (fd < 0) {
        return Fail(FailureKind::NetworkError, ErrnoText(errno));
    }
    SendWithoutDelay(fd);
    int error = 0;
    if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
        error = errno;
        if (error == EINPROGRESS) {
            if (auto waited = WaitFor(fd, Direction::Writable, deadline); !waited) {
                ::close(fd);
                return Fail(FailureKind::ConnectTimedOut);
            }
            socklen_t length = sizeof error;
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
                error = errno;
            }
        }
    }
    if (error == 0) {
        return fd;
    }
    ::close(fd);
    if (error == ECONNREFUSED) {
        return Fail(FailureKind::ConnectRefused);
    }
    return Fail(FailureKind::NetworkError, ErrnoText(error));
}

class PosixNetwork final : public Network {
  public:
    Result<std::unique_ptr<Connection>> Connect(const std::string& host, int port,
                                                Deadline deadline) override {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_NUMERICSERV;
        AddressList addresses;
        const std::string service = std::to_string(port);
        // getaddrinfo cannot be given a time-out; the resolver's own
        // time-outs bound it.
        const int resolved = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &addresses.head);
        if (resolved != 0) {
            return Fail(FailureKind::ResolveFailed, ::gai_strerror(resolved));
        }
        return ConnectToFirst(
            addresses.head, [&](const addrinfo& address) -> Result<std::unique_ptr<Connection>> {
                auto fd = ConnectTo(address, deadline);
                if (!fd) {
                    return fd.failure();
                }
                return std::unique_ptr<Connection>(std::make_unique<PosixConnection>(*fd));
            });
    }
};

}  // namespace

std::unique_ptr<Network> MakeSystemNetwork() {
    return std::make_unique<PosixNetwork>();
}

}  // namespace popmail::net
