#pragma once
// Errors as values: every step of the client returns either its result or a
// Failure that says what went wrong. FailureText() turns one into the short
// Japanese text the user sees.

#include <string>
#include <utility>
#include <variant>

namespace popmail {

enum class FailureKind {
    // Refused before anything is sent.
    MissingHost,
    BadServerSetting,
    ForbiddenCharacter,  // CR, LF or NUL in host, user or password
    BadAccessToken,      // empty, or not an RFC 6750 bearer token
    UnknownCommand,
    ListTooLarge,
    // Reaching the server.
    ResolveFailed,
    ConnectRefused,
    ConnectTimedOut,
    NetworkError,
    // Talking to it.
    ReplyTimedOut,
    DeadlineExceeded,
    ConnectionClosed,
    ReplyTooLarge,
    ProtocolError,
    // Encryption.
    TlsFailed,
    CertificateNameMismatch,
    CertificateUntrusted,
    CertificateExpired,
    CertificateInvalid,
    TlsNotOffered,
    TlsNotOfferedForToken,  // a token is sent only over TLS, whatever the setting
    StlsRefused,
    // Login.
    NoLoginMethod,
    LoginRefused,
    // Login with an OAuth 2.0 access token.
    NoOAuthMechanism,
    TokenInvalid,  // invalid_token: expired, revoked or not the server's
    TokenScope,    // insufficient_scope
    TokenRefused,  // any other refusal
    // Mailbox commands.
    CommandRefused,
    BadStatReply,
    NotEnoughMessages,
};

struct Failure {
    FailureKind kind;
    // A technical detail in the system's or the TLS library's words, or what
    // was refused before anything was sent; may be empty.
    std::string detail;
    // The RFC 2449 response code of a -ERR reply ("IN-USE", "SYS/TEMP"...).
    std::string responseCode;
    // What the user can do about it, in place of the usual advice of the
    // kind; may be empty.
    std::string advice;
    // The server ("host:port") the failure happened with; may be empty.
    std::string server;
    // The server's own reply that ended the exchange ("-ERR ..."); may be empty.
    std::string reply;
};

inline Failure Fail(FailureKind kind, std::string detail = {}, std::string code = {}) {
    return Failure{kind, std::move(detail), std::move(code), {}, {}, {}};
}

// A failure whose cause is the server's reply `line`, quoted as it came.
inline Failure FailWithReply(FailureKind kind, std::string line, std::string code = {}) {
    return Failure{kind, {}, std::move(code), {}, {}, std::move(line)};
}

// A value or a Failure.
template <typename T>
class Result {
  public:
    Result(T value) : content_(std::move(value)) {}
    Result(Failure failure) : content_(std::move(failure)) {}

    bool ok() const { return std::holds_alternative<T>(content_); }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<T>(content_); }
    const T& value() const { return std::get<T>(content_); }
    T& operator*() { return value(); }
    T* operator->() { return &value(); }
    const Failure& failure() const { return std::get<Failure>(content_); }

  private:
    std::variant<T, Failure> content_;
};

struct Done {};
using Status = Result<Done>;
inline Status Ok() {
    return Done{};
}

}  // namespace popmail
