#pragma once
// TLS over a connected non-blocking socket, with Schannel (SSPI). The
// handshake sends the server name (SNI) for host names, accepts TLS 1.2 or
// newer only, and checks the certificate with CertificateCheck.

#include <memory>
#include <string>
#include <string_view>

#include "core/Failure.h"
#include "net/Transport.h"
#include "net/win32/SchannelCredentials.h"
#include "net/win32/WindowsHeaders.h"

namespace popmail::net::win32 {

class SchannelChannel {
  public:
    // Runs the handshake on `socket` (which stays owned by the caller).
    static Result<std::unique_ptr<SchannelChannel>> Handshake(SOCKET socket,
                                                              const std::string& serverName,
                                                              Deadline deadline);
    // Sends close_notify if the socket takes it at once.
    ~SchannelChannel();
    SchannelChannel(const SchannelChannel&) = delete;
    SchannelChannel& operator=(const SchannelChannel&) = delete;

    // At least one byte of plaintext, 0 when the server closed the connection.
    Result<std::size_t> Read(char* buffer, std::size_t capacity, Deadline deadline);
    Status Write(std::string_view data, Deadline deadline);

  private:
    SchannelChannel(SOCKET socket, SchannelCredentials credentials, std::wstring targetName);

    // One decryption step over the buffered records.
    enum class Decrypted { Data, NeedMore, Closed, Renegotiate };

    Status Negotiate(Deadline deadline);
    Status CheckSession(const std::string& serverName);
    Result<std::size_t> ReceiveMore(Deadline deadline);
    Result<Decrypted> DecryptBuffered();
    void KeepExtra(const SecBuffer& extra);
    void SendCloseNotify();

    SOCKET socket_;
    SchannelCredentials credentials_;
    std::wstring targetName_;  // empty for IP literals: no SNI for addresses
    CtxtHandle context_{};
    bool haveContext_ = false;
    SecPkgContext_StreamSizes sizes_{};
    std::string incoming_;   // received, not yet decrypted
    std::string plaintext_;  // decrypted, not yet read
    std::size_t plaintextRead_ = 0;
    bool closed_ = false;
};

}  // namespace popmail::net::win32
