#include "net/openssl/SocketBio.h"

#include <sys/socket.h>

#include <cerrno>
#include <cstdint>

namespace popmail::net::openssl {
namespace {

int FdOf(BIO* bio) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(BIO_get_data(bio)));
}

bool WouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

int SocketWrite(BIO* bio, const char* data, int length) {
    BIO_clear_retry_flags(bio);
    const ssize_t sent = ::send(FdOf(bio), data, static_cast<std::size_t>(length), MSG_NOSIGNAL);
    if (sent < 0 && WouldBlock(errno)) {
        BIO_set_retry_write(bio);
    }
    return static_cast<int>(sent);
}

int SocketRead(BIO* bio, char* buffer, int capacity) {
    BIO_clear_retry_flags(bio);
    const ssize_t got = ::recv(FdOf(bio), buffer, static_cast<std::size_t>(capacity), 0);
    if (got < 0 && WouldBlock(errno)) {
        BIO_set_retry_read(bio);
    }
    return static_cast<int>(got);
}

long SocketControl(BIO* /*bio*/, int command, long /*number*/, void* /*pointer*/) {
    // OpenSSL flushes after each record; the socket has nothing to flush.
    return command == BIO_CTRL_FLUSH ? 1 : 0;
}

int SocketCreate(BIO* bio) {
    BIO_set_init(bio, 1);
    return 1;
}

const BIO_METHOD* SocketMethod() {
    // Made once per process and kept: OpenSSL holds on to it for every BIO.
    static BIO_METHOD* const method = [] {
        BIO_METHOD* made =
            BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "popmail socket");
        if (made != nullptr) {
            BIO_meth_set_write(made, SocketWrite);
            BIO_meth_set_read(made, SocketRead);
            BIO_meth_set_ctrl(made, SocketControl);
            BIO_meth_set_create(made, SocketCreate);
        }
        return made;
    }();
    return method;
}

}  // namespace

BIO* NewSocketBio(int fd) {
    const BIO_METHOD* method = SocketMethod();
    if (method == nullptr) {
        return nullptr;
    }
    BIO* bio = BIO_new(method);
    if (bio != nullptr) {
        BIO_set_data(bio, reinterpret_cast<void*>(static_cast<std::intptr_t>(fd)));
    }
    return bio;
}

}  // namespace popmail::net::openssl
