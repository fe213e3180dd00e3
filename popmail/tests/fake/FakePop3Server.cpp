#include "fake/FakePop3Server.h"
#include "fake/FakeServerLimits.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace popmail::testing {
namespace {

int Listen(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(fd, 8) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("fake server: cannot listen");
    }
    port = ntohs(address.sin_port);
    return fd;
}

bool Readable(int fd, int waitMs) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, waitMs) > 0;
}

}  // namespace

struct Peer::Tls {
    SSL_CTX* context = nullptr;
    SSL* ssl = nullptr;
    ~Tls() {
        SSL_free(ssl);
        SSL_CTX_free(context);
    }
};

Peer::Peer(int fd, std::function<void(std::string)> record) : fd_(fd), record_(std::move(record)) {}

Peer::~Peer() {
    Close();
}

void Peer::Close() {
    tls_.reset();
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void Peer::Reset() {
    tls_.reset();
    if (fd_ >= 0) {
        // A zero linger time makes the close a reset.
        const linger abort{1, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        ::close(fd_);
        fd_ = -1;
    }
}

bool Peer::Send(std::string_view bytes) {
    while (!bytes.empty() && fd_ >= 0) {
        const int sent =
            tls_ ? SSL_write(tls_->ssl, bytes.data(), static_cast<int>(bytes.size()))
                 : static_cast<int>(::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL));
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return fd_ >= 0;
}

int Peer::ReadSome(char* buffer, int capacity) {
    if (fd_ < 0) {
        return 0;
    }
    if (tls_ && SSL_pending(tls_->ssl) > 0) {
        return SSL_read(tls_->ssl, buffer, capacity);
    }
    if (!Readable(fd_, kSocketWaitMs)) {
        return 0;
    }
    return tls_ ? SSL_read(tls_->ssl, buffer, capacity)
                : static_cast<int>(::recv(fd_, buffer, static_cast<std::size_t>(capacity), 0));
}

bool Peer::MoreArrivesWithin(std::chrono::milliseconds wait) {
    if (!buffered_.empty()) {
        return true;
    }
    if (tls_ && SSL_pending(tls_->ssl) > 0) {
        return true;
    }
    return fd_ >= 0 && Readable(fd_, static_cast<int>(wait.count()));
}

bool Peer::StartTls(const TlsIdentity& identity) {
    buffered_.clear();
    auto tls = std::make_unique<Tls>();
    tls->context = SSL_CTX_new(TLS_server_method());
    if (SSL_CTX_use_certificate_chain_file(tls->context, identity.certificateFile.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(tls->context, identity.keyFile.c_str(), SSL_FILETYPE_PEM) !=
            1) {
        return false;
    }
    tls->ssl = SSL_new(tls->context);
    SSL_set_fd(tls->ssl, fd_);
    if (SSL_accept(tls->ssl) != 1) {
        return false;
    }
    tls_ = std::move(tls);
    return true;
}

bool Peer::ClientClosesWithin(std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    char chunk[kChunk];
    while (fd_ >= 0 && std::chrono::steady_clock::now() < deadline) {
        if (!Readable(fd_, static_cast<int>(wait.count()))) {
            return false;
        }
        const int got = tls_ ? SSL_read(tls_->ssl, chunk, kChunk)
                             : static_cast<int>(::recv(fd_, chunk, kChunk, 0));
        if (got <= 0) {
            return true;
        }
        buffered_.append(chunk, static_cast<std::size_t>(got));
    }
    return false;
}

FakePop3Server::FakePop3Server() {
    listener_ = Listen(port_);
}

FakePop3Server::~FakePop3Server() {
    Wait();
    ::close(listener_);
}

int FakePop3Server::AcceptClient() {
    if (!Readable(listener_, kSocketWaitMs)) {
        return -1;
    }
    return ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
}

int RefusingPort() {
    // The socket is never closed: the port stays ours until the program ends.
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("fake server: cannot bind a port");
    }
    return ntohs(address.sin_port);
}

}  // namespace popmail::testing
