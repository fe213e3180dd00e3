#include "net/openssl/TlsChannel.h"

#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdint>

#include "net/openssl/SocketBio.h"
#include "net/posix/FdWait.h"

namespace popmail::net::openssl {
namespace {

using posix::Direction;
using posix::WaitFor;

constexpr std::size_t kErrorTextSize = 256;

bool IsIpLiteral(const std::string& name) {
    in6_addr address{};
    return ::inet_pton(AF_INET, name.c_str(), &address) == 1 ||
           ::inet_pton(AF_INET6, name.c_str(), &address) == 1;
}

std::string QueuedErrorText() {
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0) {
        return {};
    }
    char text[kErrorTextSize] = {};
    ERR_error_string_n(code, text, sizeof text);
    return text;
}

Failure CertificateFailure(long verifyResult) {
    const std::string reason = X509_verify_cert_error_string(verifyResult);
    switch (verifyResult) {
        case X509_V_ERR_HOSTNAME_MISMATCH:
        case X509_V_ERR_IP_ADDRESS_MISMATCH:
            return Fail(FailureKind::CertificateNameMismatch, reason);
        case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
        case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
        case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
        case X509_V_ERR_CERT_UNTRUSTED:
            return Fail(FailureKind::CertificateUntrusted, reason);
        case X509_V_ERR_CERT_HAS_EXPIRED:
        case X509_V_ERR_CERT_NOT_YET_VALID:
            return Fail(FailureKind::CertificateExpired, reason);
        default:
            return Fail(FailureKind::CertificateInvalid, reason);
    }
}

// SSL_set_tlsext_host_name without its macro's old-style cast.
bool SetServerNameIndication(SSL* ssl, const std::string& name) {
    return SSL_ctrl(ssl, SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name,
                    const_cast<char*>(name.c_str())) == 1;
}

}  // namespace

struct TlsChannel::Handles {
    int fd = -1;
    SSL_CTX* context = nullptr;
    SSL* ssl = nullptr;
    ~Handles() {
        if (ssl != nullptr) {
            // Best effort close_notify; the socket is non-blocking.
            ERR_clear_error();
            SSL_shutdown(ssl);
            ERR_clear_error();
            SSL_free(ssl);
        }
        SSL_CTX_free(context);
    }
};

TlsChannel::TlsChannel(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}
TlsChannel::~TlsChannel() = default;

namespace {

// One step of an OpenSSL call that may want to wait: waits as asked and
// says whether to retry.
enum class Next { Retry, Stop };

Result<Next> WaitAsAsked(SSL* ssl, int fd, int result, Deadline deadline) {
    switch (SSL_get_error(ssl, result)) {
        case SSL_ERROR_WANT_READ:
            if (auto waited = WaitFor(fd, Direction::Readable, deadline); !waited) {
                return waited.failure();
            }
            return Next::Retry;
        case SSL_ERROR_WANT_WRITE:
            if (auto waited = WaitFor(fd, Direction::Writable, deadline); !waited) {
                return waited.failure();
            }
            return Next::Retry;
        default:
            return Next::Stop;
    }
}

Result<std::unique_ptr<TlsChannel::Handles>> Prepare(int fd, const std::string& serverName);

}  // namespace

Result<std::unique_ptr<TlsChannel>> TlsChannel::Handshake(int fd, const std::string& serverName,
                                                          Deadline deadline) {
    auto handles = Prepare(fd, serverName);
    if (!handles) {
        return handles.failure();
    }
    SSL* ssl = (*handles)->ssl;
    for (;;) {
        ERR_clear_error();
        const int result = SSL_connect(ssl);
        if (result == 1) {
            break;
        }
        auto next = WaitAsAsked(ssl, fd, result, deadline);
        if (!next) {
            return next.failure();
        }
        if (*next == Next::Retry) {
            continue;
        }
        const long verifyResult = SSL_get_verify_result(ssl);
        if (verifyResult != X509_V_OK) {
            ERR_clear_error();
            return CertificateFailure(verifyResult);
        }
        std::string reason = QueuedErrorText();
        if (reason.empty()) {
            reason = "connection closed during the handshake";
        }
        return Fail(FailureKind::TlsFailed, reason);
    }
    return std::unique_ptr<TlsChannel>(new TlsChannel(std::move(*handles)));
}

namespace {

Result<std::unique_ptr<TlsChannel::Handles>> Prepare(int fd, const std::string& serverName) {
    ERR_clear_error();
    auto handles = std::make_unique<TlsChannel::Handles>();
    handles->fd = fd;
    handles->context = SSL_CTX_new(TLS_client_method());
    if (handles->context == nullptr) {
        return Fail(FailureKind::TlsFailed, QueuedErrorText());
    }
    SSL_CTX* context = handles->context;
    SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
    // POP3 has its own end markers, so a missing close_notify is no risk.
    SSL_CTX_set_options(context, SSL_OP_IGNORE_UNEXPECTED_EOF);
    SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
    if (SSL_CTX_set_default_verify_paths(context) != 1) {
        return Fail(FailureKind::TlsFailed, QueuedErrorText());
    }
    handles->ssl = SSL_new(context);
    SSL* ssl = handles->ssl;
    BIO* bio = NewSocketBio(fd);
    if (ssl == nullptr || bio == nullptr) {
        BIO_free(bio);
        return Fail(FailureKind::TlsFailed, QueuedErrorText());
    }
    SSL_set_bio(ssl, bio, bio);
    X509_VERIFY_PARAM* param = SSL_get0_param(ssl);
    bool named = false;
    if (IsIpLiteral(serverName)) {
        named = X509_VERIFY_PARAM_set1_ip_asc(param, serverName.c_str()) == 1;
    } else {
        X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
        named =
            SSL_set1_host(ssl, serverName.c_str()) == 1 && SetServerNameIndication(ssl, serverName);
    }
    if (!named) {
        return Fail(FailureKind::TlsFailed, QueuedErrorText());
    }
    return handles;
}

}  // namespace

Result<std::size_t> TlsChannel::Read(char* buffer, std::size_t capacity, Deadline deadline) {
    SSL* ssl = handles_->ssl;
    for (;;) {
        ERR_clear_error();
        errno = 0;
        std::size_t got = 0;
        const int result = SSL_read_ex(ssl, buffer, capacity, &got);
        if (result == 1) {
            return got;
        }
        const int error = SSL_get_error(ssl, result);
        if (error == SSL_ERROR_ZERO_RETURN) {
            return std::size_t{0};
        }
        auto next = WaitAsAsked(ssl, handles_->fd, result, deadline);
        if (!next) {
            return next.failure();
        }
        if (*next == Next::Stop) {
            if (error == SSL_ERROR_SYSCALL && ERR_peek_error() == 0) {
                // The socket ended without an error: the server closed it.
                if (errno == 0) {
                    return std::size_t{0};
                }
                return Fail(FailureKind::NetworkError, posix::ErrnoText(errno));
            }
            return Fail(FailureKind::TlsFailed, QueuedErrorText());
        }
    }
}

Status TlsChannel::Write(std::string_view data, Deadline deadline) {
    SSL* ssl = handles_->ssl;
    while (!data.empty()) {
        ERR_clear_error();
        std::size_t written = 0;
        const int result = SSL_write_ex(ssl, data.data(), data.size(), &written);
        if (result == 1) {
            data.remove_prefix(written);
            continue;
        }
        auto next = WaitAsAsked(ssl, handles_->fd, result, deadline);
        if (!next) {
            return next.failure();
        }
        if (*next == Next::Stop) {
            const std::string reason = QueuedErrorText();
            return Fail(FailureKind::NetworkError, reason.empty() ? "write failed" : reason);
        }
    }
    return Ok();
}

}  // namespace popmail::net::openssl
