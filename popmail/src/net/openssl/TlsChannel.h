#pragma once
// TLS over a connected non-blocking socket, with OpenSSL. The certificate
// is verified against OpenSSL's default trust store (so SSL_CERT_FILE and
// SSL_CERT_DIR work) and must name the server.

#include <memory>
#include <string>
#include <string_view>

#include "core/Failure.h"
#include "net/Transport.h"

namespace popmail::net::openssl {

class TlsChannel {
  public:
    // Runs the handshake on `fd` (which stays owned by the caller).
    static Result<std::unique_ptr<TlsChannel>> Handshake(int fd, const std::string& serverName,
                                                         Deadline deadline);
    ~TlsChannel();
    TlsChannel(const TlsChannel&) = delete;
    TlsChannel& operator=(const TlsChannel&) = delete;

    Result<std::size_t> Read(char* buffer, std::size_t capacity, Deadline deadline);
    Status Write(std::string_view data, Deadline deadline);

    // The OpenSSL objects, opaque outside TlsChannel.cpp.
    struct Handles;

  private:
    explicit TlsChannel(std::unique_ptr<Handles> handles);
    std::unique_ptr<Handles> handles_;
};

}  // namespace popmail::net::openssl
