#include "core/Client.h"

#include <algorithm>
#include <optional>

#include "core/Command.h"
#include "core/FailureText.h"
#include "core/Mailbox.h"
#include "core/OAuthSasl.h"
#include "core/SecretMask.h"

namespace popmail {
namespace {

bool HasForbiddenCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
}

// The SASL messages of a token login separate their fields with a control
// character (^A): a user name holding one could add fields of its own.
bool HasControlCharacter(std::string_view text) {
    constexpr unsigned char kFirstPrintable = 0x20;
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < kFirstPrintable; });
}

// Sessions are shared only between calls with the same login, secret kind
// included.
std::string KeyOf(std::string_view host, const Credentials& credentials) {
    std::string key(host);
    key.append(1, '\0').append(credentials.user).append(1, '\0').append(credentials.password);
    key.append(1, '\0').append(credentials.secret == Secret::AccessToken ? "token" : "password");
    return key;
}

class CommandRun {
  public:
    // Every wait of the run ends by `callEnd`.
    CommandRun(net::Network& network, SessionKeeper& keeper, const ClientOptions& options,
               Credentials credentials, std::string key, net::Deadline callEnd)
        : network_(network),
          keeper_(keeper),
          options_(options),
          credentials_(std::move(credentials)),
          key_(std::move(key)),
          callEnd_(callEnd) {}

    Result<MailboxStatus> Stat(const std::vector<Endpoint>& endpoints) {
        // A STAT starts a check: it always reads the mailbox anew.
        keeper_.EndParked();
        auto session = Open(endpoints);
        if (!session) {
            return session.failure();
        }
        auto status = popmail::Stat(**session);
        if (!status) {
            (*session)->Quit(kQuitTimeout);  // only where the session is still sound
            return status.failure();
        }
        keeper_.Park(key_, std::move(*session));
        return status;
    }

    Result<std::vector<MessageSummary>> List(const std::vector<Endpoint>& endpoints,
                                             std::size_t count) {
        const SessionOpener reopen = [this, &endpoints, count] {
            return OpenForList(endpoints, count);
        };
        if (std::unique_ptr<Session> kept = keeper_.Take(key_)) {
            kept->SetTotalDeadline(callEnd_);
            auto summaries = ListOn(*kept, count, reopen);
            // A server may drop a session kept waiting; then log in anew.
            if (summaries || !IsConnectionLoss(summaries.failure().kind)) {
                return summaries;
            }
        }
        auto session = OpenForList(endpoints, count);
        if (!session) {
            return session.failure();
        }
        return ListOn(**session, count, reopen);
    }

  private:
    static bool IsConnectionLoss(FailureKind kind) {
        return kind == FailureKind::ConnectionClosed || kind == FailureKind::NetworkError;
    }

    // A new session whose STAT shows at least `count` messages.
    Result<std::unique_ptr<Session>> OpenForList(const std::vector<Endpoint>& endpoints,
                                                 std::size_t count) {
        auto session = Open(endpoints);
        if (!session) {
            return session.failure();
        }
        if (auto stat = popmail::Stat(**session); !stat) {
            (*session)->Quit(kQuitTimeout);
            return stat.failure();
        }
        if (auto enough = HoldsEnough(**session, count); !enough) {
            return enough.failure();
        }
        return session;
    }

    // Fails, and ends the session, where its STAT shows fewer than `count`.
    static Status HoldsEnough(Session& session, std::size_t count) {
        if (*session.messageCount >= count) {
            return Ok();
        }
        Failure failure = Fail(FailureKind::NotEnoughMessages,
                               "メールボックス " + std::to_string(*session.messageCount) +
                                   " 通、要求 " + std::to_string(count) + " 通");
        failure.server = session.Server();
        session.Quit(kQuitTimeout);
        return failure;
    }

    // The summaries on a session whose STAT is known, then QUIT.
    static Result<std::vector<MessageSummary>> ListOn(Session& session, std::size_t count,
                                                      const SessionOpener& reopen) {
        if (auto enough = HoldsEnough(session, count); !enough) {
            return enough.failure();
        }
        auto summaries = FetchSummaries(session, count, reopen);
        session.Quit(kQuitTimeout);
        return summaries;
    }

    Result<std::unique_ptr<Session>> Open(const std::vector<Endpoint>& endpoints) {
        return Session::Open(network_, endpoints, credentials_,
                             {options_.connectTimeout, options_.replyTimeout}, callEnd_);
    }

    net::Network& network_;
    SessionKeeper& keeper_;
    const ClientOptions& options_;
    Credentials credentials_;
    std::string key_;
    net::Deadline callEnd_;
};

// What failure texts of a call must not show, besides what its session
// sent: the password or the access token in any encoding.
SecretMask MaskFor(const Credentials& credentials) {
    SecretMask secrets;
    if (credentials.secret == Secret::AccessToken) {
        secrets.AddAccessToken(credentials.password);
    } else {
        secrets.AddPassword(credentials.user, credentials.password);
    }
    return secrets;
}

// Refusals of a token login before anything is sent.
std::optional<Failure> TokenLoginRefusal(const Credentials& credentials) {
    if (credentials.secret != Secret::AccessToken) {
        return std::nullopt;
    }
    if (HasControlCharacter(credentials.user)) {
        return Fail(FailureKind::ForbiddenCharacter);
    }
    if (!IsBearerToken(credentials.password)) {
        return Fail(FailureKind::BadAccessToken);
    }
    return std::nullopt;
}

Reply TextReply(std::string text) {
    Reply reply;
    reply.text = std::move(text);
    return reply;
}

Reply FailureReply(const Failure& failure, const SecretMask& secrets) {
    return TextReply(FailureText(failure, secrets));
}

Reply ListReply(Result<MailboxStatus> status) {
    Reply reply;
    reply.isList = true;
    reply.status = *status;
    return reply;
}

Reply ListReply(Result<std::vector<MessageSummary>> summaries) {
    Reply reply;
    reply.isList = true;
    reply.summaries = std::move(*summaries);
    return reply;
}

}  // namespace

Reply Client::Run(std::string_view host, std::string_view user, std::string_view password,
                  std::string_view command) {
    return RunAs(host, {std::string(user), std::string(password), Secret::Password}, command);
}

Reply Client::RunWithToken(std::string_view host, std::string_view user,
                           std::string_view accessToken, std::string_view command) {
    return RunAs(host, {std::string(user), std::string(accessToken), Secret::AccessToken}, command);
}

Reply Client::RunAs(std::string_view host, const Credentials& credentials,
                    std::string_view command) {
    // From here on: ending a session kept from before counts too.
    const net::Deadline callEnd = net::Clock::now() + options_.callTimeout;
    const SecretMask secrets = MaskFor(credentials);
    if (HasForbiddenCharacter(host) || HasForbiddenCharacter(credentials.user) ||
        HasForbiddenCharacter(credentials.password)) {
        return FailureReply(Fail(FailureKind::ForbiddenCharacter), secrets);
    }
    if (auto refused = TokenLoginRefusal(credentials)) {
        return FailureReply(*refused, secrets);
    }
    auto parsed = ParseCommand(command);
    if (!parsed) {
        return FailureReply(parsed.failure(), secrets);
    }
    const std::string key = KeyOf(host, credentials);
    if (parsed->kind == Command::Kind::List && parsed->count == 0) {
        keeper_.EndParked();  // the check is over: end its session now
        return TextReply(std::string(kNoMessageText));
    }
    auto endpoints = ParseServerSetting(host, options_.ports);
    if (!endpoints) {
        return FailureReply(endpoints.failure(), secrets);
    }
    CommandRun run(network_, keeper_, options_, credentials, key, callEnd);
    const auto answer = [&secrets](auto result) {
        return result ? ListReply(std::move(result)) : FailureReply(result.failure(), secrets);
    };
    return parsed->kind == Command::Kind::Stat ? answer(run.Stat(*endpoints))
                                               : answer(run.List(*endpoints, parsed->count));
}

}  // namespace popmail
