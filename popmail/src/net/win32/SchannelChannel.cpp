#include "net/win32/SchannelChannel.h"

#include <algorithm>
#include <cstring>

#include "net/win32/CertificateCheck.h"
#include "net/win32/SocketIo.h"
#include "net/win32/SystemText.h"
#include "net/win32/TlsStatusText.h"

namespace popmail::net::win32 {
namespace {

constexpr ULONG kContextRequirements = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                                       ISC_REQ_CONFIDENTIALITY | ISC_REQ_EXTENDED_ERROR |
                                       ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM |
                                       ISC_REQ_MANUAL_CRED_VALIDATION | ISC_REQ_USE_SUPPLIED_CREDS;

constexpr DWORD kModernProtocols = SP_PROT_TLS1_2_CLIENT | SP_PROT_TLS1_3_CLIENT;

// Received bytes are read in chunks of one full record and more; at most
// this much waits for decryption (a record is at most about 16 KiB, a
// handshake flight with its certificates far less), so a hostile server
// cannot make the buffer grow without end.
constexpr std::size_t kReceiveChunk = 32 * 1024;
constexpr std::size_t kMaxBufferedBytes = 256 * 1024;

// Frees a buffer that SSPI allocated (ISC_REQ_ALLOCATE_MEMORY).
class ContextBuffer {
  public:
    explicit ContextBuffer(const SecBuffer& buffer) : buffer_(buffer) {}
    ~ContextBuffer() {
        if (buffer_.pvBuffer != nullptr) {
            ::FreeContextBuffer(buffer_.pvBuffer);
        }
    }
    ContextBuffer(const ContextBuffer&) = delete;
    ContextBuffer& operator=(const ContextBuffer&) = delete;
    std::string_view bytes() const {
        if (buffer_.pvBuffer == nullptr) {
            return {};
        }
        return {static_cast<const char*>(buffer_.pvBuffer), buffer_.cbBuffer};
    }

  private:
    SecBuffer buffer_;
};

SecBuffer Buffer(ULONG type, void* data = nullptr, std::size_t size = 0) {
    return SecBuffer{static_cast<ULONG>(size), type, data};
}

// A connection that the server resets during the handshake did not start
// TLS, as one it closes did not: most often the port serves plain POP3. The
// user is told to check the port and the encryption, as with OpenSSL, and
// the system's words follow. A time-out stays a time-out.
Failure AsHandshakeFailure(Failure failure) {
    if (failure.kind == FailureKind::NetworkError) {
        failure.kind = FailureKind::TlsFailed;
    }
    return failure;
}

}  // namespace

SchannelChannel::SchannelChannel(SOCKET socket, SchannelCredentials credentials,
                                 std::wstring targetName)
    : socket_(socket), credentials_(std::move(credentials)), targetName_(std::move(targetName)) {}

SchannelChannel::~SchannelChannel() {
    if (haveContext_) {
        SendCloseNotify();
        ::DeleteSecurityContext(&context_);
    }
}

Result<std::unique_ptr<SchannelChannel>> SchannelChannel::Handshake(SOCKET socket,
                                                                    const std::string& serverName,
                                                                    Deadline deadline) {
    auto credentials = SchannelCredentials::Acquire();
    if (!credentials) {
        return credentials.failure();
    }
    // RFC 6066: the server name indication carries host names only.
    std::wstring target = IpLiteralBytes(serverName) ? std::wstring() : ToWide(serverName);
    std::unique_ptr<SchannelChannel> channel(
        new SchannelChannel(socket, std::move(*credentials), std::move(target)));
    if (auto negotiated = channel->Negotiate(deadline); !negotiated) {
        return negotiated.failure();
    }
    if (auto checked = channel->CheckSession(serverName); !checked) {
        return checked.failure();
    }
    return channel;
}

Status SchannelChannel::Negotiate(Deadline deadline) {
    bool credentialsAsked = false;
    for (;;) {
        SecBuffer input[] = {Buffer(SECBUFFER_TOKEN, incoming_.data(), incoming_.size()),
                             Buffer(SECBUFFER_EMPTY)};
        SecBufferDesc inputs{SECBUFFER_VERSION, 2, input};
        SecBuffer output[] = {Buffer(SECBUFFER_TOKEN)};
        SecBufferDesc outputs{SECBUFFER_VERSION, 1, output};
        ULONG attributes = 0;
        const bool first = !haveContext_;
        const SECURITY_STATUS status = ::InitializeSecurityContextW(
            credentials_.handle(), first ? nullptr : &context_,
            targetName_.empty() ? nullptr : targetName_.data(), kContextRequirements, 0, 0,
            first ? nullptr : &inputs, 0, &context_, &outputs, &attributes, nullptr);
        const ContextBuffer token(output[0]);
        if (first && !FAILED(status)) {
            haveContext_ = true;
        }
        if (FAILED(status)) {
            SendWithoutWaiting(socket_, token.bytes());  // the alert, if any
        } else if (auto sent = SendAll(socket_, token.bytes(), deadline); !sent) {
            return AsHandshakeFailure(sent.failure());
        }
        if (status == SEC_E_INCOMPLETE_MESSAGE) {
            // Keep what arrived; the rest of the record is still on its way.
        } else if (FAILED(status)) {
            return TlsFailure(status);
        } else if (status == SEC_I_INCOMPLETE_CREDENTIALS && !credentialsAsked) {
            // The server asks for a client certificate. We have none; the
            // same input again goes on without one.
            credentialsAsked = true;
            continue;
        } else {
            KeepExtra(input[1]);
            if (status == SEC_E_OK) {
                return Ok();
            }
            if (status != SEC_I_CONTINUE_NEEDED) {
                return TlsFailure(status);
            }
            if (!incoming_.empty()) {
                continue;  // the next handshake message has arrived already
            }
        }
        auto received = ReceiveMore(deadline);
        if (!received) {
            return AsHandshakeFailure(received.failure());
        }
        if (*received == 0) {
            return Fail(FailureKind::TlsFailed, "connection closed during the handshake");
        }
    }
}

Status SchannelChannel::CheckSession(const std::string& serverName) {
    SecPkgContext_ConnectionInfo connection{};
    SECURITY_STATUS status =
        ::QueryContextAttributesW(&context_, SECPKG_ATTR_CONNECTION_INFO, &connection);
    if (status != SEC_E_OK) {
        return TlsFailure(status);
    }
    // Not only the credentials' word for it: Wine negotiates TLS 1.1 with
    // them. Nothing has been sent over the session yet.
    if ((connection.dwProtocol & kModernProtocols) == 0) {
        return Fail(FailureKind::TlsFailed, "unsupported protocol");
    }
    PCCERT_CONTEXT certificate = nullptr;
    status = ::QueryContextAttributesW(&context_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate);
    if (status != SEC_E_OK || certificate == nullptr) {
        return Fail(FailureKind::CertificateInvalid, "peer did not return a certificate");
    }
    Status verified = VerifyServerCertificate(certificate, serverName);
    ::CertFreeCertificateContext(certificate);
    if (!verified) {
        return verified;
    }
    status = ::QueryContextAttributesW(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_);
    if (status != SEC_E_OK) {
        return TlsFailure(status);
    }
    return Ok();
}

Result<std::size_t> SchannelChannel::ReceiveMore(Deadline deadline) {
    const std::size_t kept = incoming_.size();
    if (kept >= kMaxBufferedBytes) {
        return Fail(FailureKind::TlsFailed, "packet length too long");
    }
    incoming_.resize(kept + kReceiveChunk);
    auto received = ReceiveSome(socket_, incoming_.data() + kept, kReceiveChunk, deadline);
    incoming_.resize(kept + (received ? *received : 0));
    return received;
}

void SchannelChannel::KeepExtra(const SecBuffer& extra) {
    // SECBUFFER_EXTRA: the last cbBuffer bytes of the input were not used
    // and belong to the next record.
    if (extra.BufferType == SECBUFFER_EXTRA && extra.cbBuffer > 0 &&
        extra.cbBuffer <= incoming_.size()) {
        incoming_.erase(0, incoming_.size() - extra.cbBuffer);
    } else {
        incoming_.clear();
    }
}

Result<SchannelChannel::Decrypted> SchannelChannel::DecryptBuffered() {
    if (incoming_.empty()) {
        return Decrypted::NeedMore;
    }
    SecBuffer buffers[] = {Buffer(SECBUFFER_DATA, incoming_.data(), incoming_.size()),
                           Buffer(SECBUFFER_EMPTY), Buffer(SECBUFFER_EMPTY),
                           Buffer(SECBUFFER_EMPTY)};
    SecBufferDesc description{SECBUFFER_VERSION, 4, buffers};
    const SECURITY_STATUS status = ::DecryptMessage(&context_, &description, 0, nullptr);
    if (status == SEC_E_INCOMPLETE_MESSAGE) {
        return Decrypted::NeedMore;
    }
    if (status != SEC_E_OK && status != SEC_I_RENEGOTIATE && status != SEC_I_CONTEXT_EXPIRED) {
        return TlsFailure(status);
    }
    SecBuffer extra = Buffer(SECBUFFER_EMPTY);
    for (const SecBuffer& buffer : buffers) {
        if (buffer.BufferType == SECBUFFER_DATA && buffer.cbBuffer > 0) {
            // Decrypted in place, inside incoming_: copy it out first.
            if (plaintextRead_ == plaintext_.size()) {
                plaintext_.clear();
                plaintextRead_ = 0;
            }
            plaintext_.append(static_cast<const char*>(buffer.pvBuffer), buffer.cbBuffer);
        } else if (buffer.BufferType == SECBUFFER_EXTRA) {
            extra = buffer;
        }
    }
    KeepExtra(extra);
    if (status == SEC_I_CONTEXT_EXPIRED) {
        return Decrypted::Closed;  // the server's close_notify
    }
    // SEC_I_RENEGOTIATE: a handshake message after the handshake (a TLS 1.3
    // session ticket or key update), for InitializeSecurityContext.
    return status == SEC_I_RENEGOTIATE ? Decrypted::Renegotiate : Decrypted::Data;
}

Result<std::size_t> SchannelChannel::Read(char* buffer, std::size_t capacity, Deadline deadline) {
    for (;;) {
        if (plaintextRead_ < plaintext_.size()) {
            const std::size_t count = std::min(capacity, plaintext_.size() - plaintextRead_);
            std::memcpy(buffer, plaintext_.data() + plaintextRead_, count);
            plaintextRead_ += count;
            return count;
        }
        if (closed_) {
            return std::size_t{0};
        }
        auto step = DecryptBuffered();
        if (!step) {
            return step.failure();
        }
        switch (*step) {
            case Decrypted::Data:
                break;
            case Decrypted::Closed:
                closed_ = true;
                break;
            case Decrypted::Renegotiate:
                if (auto negotiated = Negotiate(deadline); !negotiated) {
                    return negotiated.failure();
                }
                break;
            case Decrypted::NeedMore: {
                auto received = ReceiveMore(deadline);
                if (!received) {
                    return received.failure();
                }
                // A connection ended without close_notify is an end too:
                // POP3 has its own end markers.
                closed_ = *received == 0;
                break;
            }
        }
    }
}

Status SchannelChannel::Write(std::string_view data, Deadline deadline) {
    while (!data.empty()) {
        const std::size_t length = std::min<std::size_t>(data.size(), sizes_.cbMaximumMessage);
        std::string record(sizes_.cbHeader + length + sizes_.cbTrailer, '\0');
        char* header = record.data();
        char* body = header + sizes_.cbHeader;
        std::memcpy(body, data.data(), length);
        SecBuffer buffers[] = {Buffer(SECBUFFER_STREAM_HEADER, header, sizes_.cbHeader),
                               Buffer(SECBUFFER_DATA, body, length),
                               Buffer(SECBUFFER_STREAM_TRAILER, body + length, sizes_.cbTrailer),
                               Buffer(SECBUFFER_EMPTY)};
        SecBufferDesc description{SECBUFFER_VERSION, 4, buffers};
        const SECURITY_STATUS status = ::EncryptMessage(&context_, 0, &description, 0);
        if (status != SEC_E_OK) {
            return TlsFailure(status);
        }
        const std::size_t total = buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer;
        if (auto sent = SendAll(socket_, std::string_view(record.data(), total), deadline); !sent) {
            return sent;
        }
        data.remove_prefix(length);
    }
    return Ok();
}

void SchannelChannel::SendCloseNotify() {
    DWORD shutdown = SCHANNEL_SHUTDOWN;
    SecBuffer control[] = {Buffer(SECBUFFER_TOKEN, &shutdown, sizeof shutdown)};
    SecBufferDesc controls{SECBUFFER_VERSION, 1, control};
    if (::ApplyControlToken(&context_, &controls) != SEC_E_OK) {
        return;
    }
    SecBuffer output[] = {Buffer(SECBUFFER_TOKEN)};
    SecBufferDesc outputs{SECBUFFER_VERSION, 1, output};
    ULONG attributes = 0;
    const SECURITY_STATUS status = ::InitializeSecurityContextW(
        credentials_.handle(), &context_, targetName_.empty() ? nullptr : targetName_.data(),
        kContextRequirements, 0, 0, nullptr, 0, &context_, &outputs, &attributes, nullptr);
    const ContextBuffer token(output[0]);
    if (!FAILED(status)) {
        SendWithoutWaiting(socket_, token.bytes());
    }
}

}  // namespace popmail::net::win32
