#include "core/Client.h"

#include <algorithm>

#include "core/Command.h"
#include "core/FailureText.h"
#include "core/Mailbox.h"

namespace popmail {
namespace {

bool HasForbiddenCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
}

std::string KeyOf(std::string_view host, std::string_view user, std::string_view password) {
    std::string key(host);
    key.append(1, '\0').append(user).append(1, '\0').append(password);
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
        if (std::unique_ptr<Session> kept = keeper_.Take(key_)) {
            kept->SetTotalDeadline(callEnd_);
            auto summaries = ListOn(*kept, count);
            // A server may drop a session kept waiting; then log in anew.
            if (summaries || !IsConnectionLoss(summaries.failure().kind)) {
                return summaries;
            }
        }
        auto session = Open(endpoints);
        if (!session) {
            return session.failure();
        }
        if (auto stat = popmail::Stat(**session); !stat) {
            (*session)->Quit(kQuitTimeout);
            return stat.failure();
        }
        return ListOn(**session, count);
    }

  private:
    static bool IsConnectionLoss(FailureKind kind) {
        return kind == FailureKind::ConnectionClosed || kind == FailureKind::NetworkError;
    }

    // The summaries on a session whose STAT is known, then QUIT.
    static Result<std::vector<MessageSummary>> ListOn(Session& session, std::size_t count) {
        if (*session.messageCount < count) {
            Failure failure = Fail(FailureKind::NotEnoughMessages,
                                   "メールボックス " + std::to_string(*session.messageCount) +
                                       " 通、要求 " + std::to_string(count) + " 通");
            failure.server = session.Server();
            session.Quit(kQuitTimeout);
            return failure;
        }
        auto summaries = FetchSummaries(session, count);
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
    // From here on: ending a session kept from before counts too.
    const net::Deadline callEnd = net::Clock::now() + options_.callTimeout;
    SecretMask secrets;
    secrets.AddPassword(user, password);
    if (HasForbiddenCharacter(host) || HasForbiddenCharacter(user) ||
        HasForbiddenCharacter(password)) {
        return FailureReply(Fail(FailureKind::ForbiddenCharacter), secrets);
    }
    auto parsed = ParseCommand(command);
    if (!parsed) {
        return FailureReply(parsed.failure(), secrets);
    }
    const std::string key = KeyOf(host, user, password);
    if (parsed->kind == Command::Kind::List && parsed->count == 0) {
        keeper_.EndParked();  // the check is over: end its session now
        return TextReply(std::string(kNoMessageText));
    }
    auto endpoints = ParseServerSetting(host, options_.ports);
    if (!endpoints) {
        return FailureReply(endpoints.failure(), secrets);
    }
    CommandRun run(network_, keeper_, options_, {std::string(user), std::string(password)}, key,
                   callEnd);
    const auto answer = [&secrets](auto result) {
        return result ? ListReply(std::move(result)) : FailureReply(result.failure(), secrets);
    };
    return parsed->kind == Command::Kind::Stat ? answer(run.Stat(*endpoints))
                                               : answer(run.List(*endpoints, parsed->count));
}

}  // namespace popmail
