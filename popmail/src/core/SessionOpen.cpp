// The opening of a session as a state machine: one state per step of the
// dialogue, one handler per state, each returning the next state or a
// Failure.

#include <string>

#include "core/Encoding.h"
#include "core/Limits.h"
#include "core/LoginMethod.h"
#include "core/Session.h"
#include "core/TokenLogin.h"

namespace popmail {
namespace {

enum class OpenState {
    Connect,
    ImplicitTls,
    Greeting,
    Capa,
    Stls,
    ChooseLogin,
    AuthPlain,
    AuthPlainContinue,
    UserPass,
    Apop,
    TokenLogin,
    LoginReply,
    LoggedIn,
};

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kStat = "STAT\r\n";

class Opener {
  public:
    Opener(net::Network& network, const std::vector<Endpoint>& endpoints,
           const Credentials& credentials, const SessionTimeouts& timeouts, net::Deadline total)
        : network_(network),
          endpoints_(endpoints),
          credentials_(credentials),
          timeouts_(timeouts),
          total_(total) {}

    Result<std::unique_ptr<Session>> Run() {
        OpenState state = OpenState::Connect;
        while (state != OpenState::LoggedIn) {
            auto next = Step(state);
            if (!next) {
                // A server may quote what it refused: never what was sent.
                return session_ ? session_->Masked(next.failure()) : next.failure();
            }
            state = *next;
        }
        return std::move(session_);
    }

  private:
    Result<OpenState> Step(OpenState state) {
        switch (state) {
            case OpenState::Connect:
                return OnConnect();
            case OpenState::ImplicitTls:
                return OnImplicitTls();
            case OpenState::Greeting:
                return OnGreeting();
            case OpenState::Capa:
                return OnCapa();
            case OpenState::Stls:
                return OnStls();
            case OpenState::ChooseLogin:
                return OnChooseLogin();
            case OpenState::AuthPlain:
                return OnAuthPlain();
            case OpenState::AuthPlainContinue:
                return OnAuthPlainContinue();
            case OpenState::UserPass:
                return OnUserPass();
            case OpenState::Apop:
                return OnApop();
            case OpenState::TokenLogin:
                return OnTokenLogin();
            case OpenState::LoginReply:
                return OnLoginReply();
            case OpenState::LoggedIn:
                break;
        }
        return OpenState::LoggedIn;
    }

    const Endpoint& Current() const { return endpoints_[endpointIndex_]; }

    Failure Named(Failure failure) const {
        failure.server = EndpointLabel(Current());
        return failure;
    }

    // A -ERR reply as a failure of `kind`, keeping the server's text and code.
    Failure Refused(FailureKind kind, const StatusLine& status) const {
        return Named(FailWithReply(kind, "-ERR " + status.text, status.code));
    }

    Result<OpenState> OnConnect() {
        for (;;) {
            const auto deadline = std::min(net::Clock::now() + timeouts_.connect, total_);
            auto connection = network_.Connect(Current().host, Current().port, deadline);
            if (connection) {
                session_ = std::make_unique<Session>(std::move(*connection),
                                                     EndpointLabel(Current()), timeouts_, total_);
                return Current().security == Security::ImplicitTls ? OpenState::ImplicitTls
                                                                   : OpenState::Greeting;
            }
            const bool refused = connection.failure().kind == FailureKind::ConnectRefused;
            if (!refused || !Current().nextOnRefusal || endpointIndex_ + 1 >= endpoints_.size()) {
                return Named(connection.failure());
            }
            ++endpointIndex_;
        }
    }

    Result<OpenState> OnImplicitTls() {
        if (auto started = session_->StartTls(Current().host); !started) {
            return started.failure();
        }
        return OpenState::Greeting;
    }

    Result<OpenState> OnGreeting() {
        auto greeting = session_->ReadStatus();
        if (!greeting) {
            return greeting.failure();
        }
        if (greeting->kind != StatusLine::Kind::Ok) {
            return Refused(FailureKind::CommandRefused, *greeting);
        }
        session_->apopTimestamp = ApopTimestamp(greeting->text);
        return OpenState::Capa;
    }

    Result<OpenState> OnCapa() {
        if (auto sent = session_->Send("CAPA\r\n"); !sent) {
            return sent.failure();
        }
        auto status = session_->ReadStatus();
        if (!status) {
            return status.failure();
        }
        session_->capabilities = Capabilities{};
        if (status->kind == StatusLine::Kind::Ok) {
            auto lines = session_->ReadDataLines(kMaxStatusLineBytes, kMaxCapaLines);
            if (!lines) {
                return lines.failure();
            }
            session_->capabilities = ParseCapabilities(*lines);
        }
        if (session_->Encrypted()) {
            return OpenState::ChooseLogin;
        }
        const bool stlsOffered = session_->capabilities.stls;
        if (Current().security == Security::StlsIfOffered && !stlsOffered) {
            return OpenState::ChooseLogin;  // the user allowed this with pop3://
        }
        // A server without CAPA may still know STLS; one that lists its
        // capabilities without STLS does not.
        if (!stlsOffered && session_->capabilities.known) {
            return TlsNotOffered();
        }
        return OpenState::Stls;
    }

    bool WithToken() const { return credentials_.secret == Secret::AccessToken; }

    Failure TlsNotOffered() const {
        // pop3:// allows an unencrypted password, never an unencrypted token.
        if (WithToken()) {
            return Named(Fail(FailureKind::TlsNotOfferedForToken));
        }
        Failure failure = Named(Fail(FailureKind::TlsNotOffered));
        failure.advice = "暗号化なしでログインしてよい場合だけ、サーバーを pop3://" +
                         HostForAdvice() + " と書いてください";
        return failure;
    }

    std::string HostForAdvice() const {
        const Endpoint& endpoint = Current();
        const bool ipv6 = endpoint.host.find(':') != std::string::npos;
        std::string host = ipv6 ? "[" + endpoint.host + "]" : endpoint.host;
        if (endpoint.port != kPlainPort) {
            host += ":" + std::to_string(endpoint.port);
        }
        return host;
    }

    Result<OpenState> OnStls() {
        if (auto sent = session_->Send("STLS\r\n"); !sent) {
            return sent.failure();
        }
        auto status = session_->ReadStatus();
        if (!status) {
            return status.failure();
        }
        if (status->kind != StatusLine::Kind::Ok) {
            if (!session_->capabilities.stls) {
                return TlsNotOffered();
            }
            return Refused(FailureKind::StlsRefused, *status);
        }
        if (auto started = session_->StartTls(Current().host); !started) {
            return started.failure();
        }
        return OpenState::Capa;  // RFC 2595: capabilities may change
    }

    Result<OpenState> OnChooseLogin() {
        if (WithToken()) {
            // Reached unencrypted only where pop3:// met a server without STLS.
            return session_->Encrypted() ? Result<OpenState>(OpenState::TokenLogin)
                                         : Result<OpenState>(TlsNotOffered());
        }
        switch (ChooseLogin(session_->capabilities, session_->Encrypted(),
                            session_->apopTimestamp.has_value())) {
            case LoginMethod::SaslPlain:
                return OpenState::AuthPlain;
            case LoginMethod::UserPass:
                return OpenState::UserPass;
            case LoginMethod::Apop:
                return OpenState::Apop;
            case LoginMethod::None:
                break;
        }
        return Named(Fail(FailureKind::NoLoginMethod));
    }

    // With PIPELINING the STAT that follows every login goes in the login's
    // own write: a refused login ends the connection before its reply is read.
    std::string WithStat(std::string lines) {
        if (session_->capabilities.pipelining) {
            lines += kStat;
            session_->statSent = true;
        }
        return lines;
    }

    std::string PlainResponse() const {
        // RFC 4616: authorization id (empty), user, password.
        return Base64Encode(std::string(1, '\0') + credentials_.user + '\0' +
                            credentials_.password);
    }

    Result<OpenState> OnAuthPlain() {
        const std::string withResponse = "AUTH PLAIN " + PlainResponse() + std::string(kCrLf);
        // RFC 5034: an initial response only while the line stays short.
        if (withResponse.size() <= kMaxAuthLineBytes) {
            if (auto sent = session_->Send(WithStat(withResponse)); !sent) {
                return sent.failure();
            }
            return OpenState::LoginReply;
        }
        if (auto sent = session_->Send("AUTH PLAIN\r\n"); !sent) {
            return sent.failure();
        }
        return OpenState::AuthPlainContinue;
    }

    Result<OpenState> OnAuthPlainContinue() {
        auto status = session_->ReadStatus();
        if (!status) {
            return status.failure();
        }
        if (status->kind == StatusLine::Kind::Err) {
            return Refused(FailureKind::LoginRefused, *status);
        }
        if (status->kind != StatusLine::Kind::Continuation) {
            return Named(FailWithReply(FailureKind::ProtocolError, "+OK " + status->text));
        }
        if (auto sent = session_->Send(PlainResponse() + std::string(kCrLf)); !sent) {
            return sent.failure();
        }
        return OpenState::LoginReply;
    }

    Result<OpenState> OnUserPass() {
        const std::string user = "USER " + credentials_.user + std::string(kCrLf);
        const std::string pass = "PASS " + credentials_.password + std::string(kCrLf);
        const bool pipelined = session_->capabilities.pipelining;
        if (auto sent = session_->Send(pipelined ? WithStat(user + pass) : user); !sent) {
            return sent.failure();
        }
        auto status = session_->ReadStatus();
        if (!status) {
            return status.failure();
        }
        if (status->kind != StatusLine::Kind::Ok) {
            return Refused(FailureKind::LoginRefused, *status);
        }
        if (!pipelined) {
            if (auto sent = session_->Send(pass); !sent) {
                return sent.failure();
            }
        }
        return OpenState::LoginReply;
    }

    Result<OpenState> OnApop() {
        const std::string digest = Md5Hex(*session_->apopTimestamp + credentials_.password);
        if (auto sent = session_->Send(
                WithStat("APOP " + credentials_.user + " " + digest + std::string(kCrLf)));
            !sent) {
            return sent.failure();
        }
        return OpenState::LoginReply;
    }

    Result<OpenState> OnTokenLogin() {
        if (auto loggedIn = LogInWithToken(*session_, credentials_, Current()); !loggedIn) {
            return loggedIn.failure();
        }
        return OpenState::LoggedIn;
    }

    Result<OpenState> OnLoginReply() {
        auto status = session_->ReadStatus();
        if (!status) {
            return status.failure();
        }
        if (status->kind == StatusLine::Kind::Continuation) {
            return Named(FailWithReply(FailureKind::ProtocolError, "+ " + status->text));
        }
        if (status->kind != StatusLine::Kind::Ok) {
            // The connection ends here without another command.
            return Refused(FailureKind::LoginRefused, *status);
        }
        return OpenState::LoggedIn;
    }

    net::Network& network_;
    const std::vector<Endpoint>& endpoints_;
    const Credentials& credentials_;
    SessionTimeouts timeouts_;
    net::Deadline total_;
    std::size_t endpointIndex_ = 0;
    std::unique_ptr<Session> session_;
};

}  // namespace

Result<std::unique_ptr<Session>> Session::Open(net::Network& network,
                                               const std::vector<Endpoint>& endpoints,
                                               const Credentials& credentials,
                                               const SessionTimeouts& timeouts,
                                               net::Deadline total) {
    return Opener(network, endpoints, credentials, timeouts, total).Run();
}

}  // namespace popmail
