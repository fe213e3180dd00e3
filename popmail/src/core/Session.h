#pragma once
// One authenticated POP3 session (RFC 1939 TRANSACTION state) and the line
// I/O on it. Open() runs the state machine from connecting to logging in.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Failure.h"
#include "core/LineReader.h"
#include "core/Response.h"
#include "core/SecretMask.h"
#include "core/ServerSetting.h"
#include "net/Transport.h"

namespace popmail {

// What `password` holds: a password, or an OAuth 2.0 access token, which
// is only ever sent over TLS and only through SASL OAUTHBEARER or XOAUTH2.
enum class Secret { Password, AccessToken };

struct Credentials {
    std::string user;
    std::string password;
    Secret secret = Secret::Password;
};

struct SessionTimeouts {
    std::chrono::milliseconds connect;
    std::chrono::milliseconds reply;
};

class Session {
  public:
    // Connects to the endpoints in order (the next one only when the
    // current one refuses and allows it), secures the connection as the
    // endpoint demands and logs in. Every wait ends by `total` at the latest.
    // Where the server offers PIPELINING, a password login (USER and PASS,
    // AUTH PLAIN with its initial response, APOP) is sent together with the
    // STAT that always follows it (see `statSent`).
    static Result<std::unique_ptr<Session>> Open(net::Network& network,
                                                 const std::vector<Endpoint>& endpoints,
                                                 const Credentials& credentials,
                                                 const SessionTimeouts& timeouts,
                                                 net::Deadline total);

    Session(std::unique_ptr<net::Connection> connection, std::string server,
            const SessionTimeouts& timeouts, net::Deadline total);

    // Sends command lines (each with its CR LF) in one write.
    Status Send(std::string_view lines);
    // The next status line, which starts a reply: from now on the whole
    // reply, its data lines included, must arrive within the reply time-out.
    // A line that is neither +OK, -ERR nor "+ " is a ProtocolError.
    Result<StatusLine> ReadStatus();
    // The next line of a multi-line reply, at most `cap` bytes, within the
    // time left to the reply that ReadStatus started.
    Result<std::string> ReadDataLine(std::size_t cap);
    // Skips the next line of a multi-line reply; true for the end marker.
    Result<bool> SkipDataLine();
    // The lines of a multi-line reply after its +OK, end marker removed.
    Result<std::vector<std::string>> ReadDataLines(std::size_t lineCap, std::size_t maxLines);

    // Starts TLS: drops anything received before, then runs the handshake.
    Status StartTls(const std::string& serverName);

    // Sends `lines` and QUIT after them in one write.
    Status SendThenQuit(std::string_view lines);
    bool QuitSent() const { return quitSent_; }
    // Sends QUIT (unless it went out already) and waits at most `wait` for
    // its reply; the session is unusable afterwards.
    void Quit(std::chrono::milliseconds wait);

    // `failure` with everything this session sent during login (a SASL
    // response, an APOP digest, the password) masked in its server text.
    Failure Masked(Failure failure) const;

    void SetTotalDeadline(net::Deadline total) { total_ = total; }
    // False once any exchange failed: such a session is never reused.
    bool Usable() const { return usable_; }
    bool Encrypted() const { return connection_->Encrypted(); }
    const std::string& Server() const { return server_; }

    Capabilities capabilities;
    std::optional<std::string> apopTimestamp;
    // Message count of the last STAT on this session (one maildrop state).
    std::optional<std::uint64_t> messageCount;
    // STAT went out in the same write as the login: its reply comes next.
    bool statSent = false;

  private:
    net::Deadline ReplyDeadline() const;
    // Marks the session unusable, names the server and tells a passed
    // total deadline from a slow reply.
    Failure Broken(Failure failure);

    std::unique_ptr<net::Connection> connection_;
    LineReader reader_;
    std::string server_;
    SessionTimeouts timeouts_;
    net::Deadline total_;
    net::Deadline replyEnd_;  // of the reply being read
    SecretMask sent_;
    bool usable_ = true;
    bool quitSent_ = false;
};

}  // namespace popmail
