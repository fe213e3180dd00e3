#include "core/TokenLogin.h"

#include "core/Encoding.h"
#include "core/Limits.h"
#include "core/OAuthSasl.h"

namespace popmail {
namespace {

constexpr std::string_view kCrLf = "\r\n";

class TokenExchange {
  public:
    TokenExchange(Session& session, OAuthMechanism mechanism, std::string response)
        : session_(session), mechanism_(mechanism), response_(std::move(response)) {}

    Status Run() {
        if (auto sent = SendAuth(); !sent) {
            return sent;
        }
        auto reply = session_.ReadStatus();
        if (!reply) {
            return reply.failure();
        }
        switch (reply->kind) {
            case StatusLine::Kind::Ok:
                return Ok();
            case StatusLine::Kind::Continuation:
                return AnswerErrorChallenge(*reply);
            default:
                return Named(TokenRefusal(std::nullopt, *reply));
        }
    }

  private:
    Failure Named(Failure failure) const {
        failure.server = session_.Server();
        return failure;
    }

    Failure Unexpected(const StatusLine& status) const {
        const std::string_view keyword = status.kind == StatusLine::Kind::Ok ? "+OK " : "+ ";
        return Named(FailWithReply(FailureKind::ProtocolError, std::string(keyword) + status.text));
    }

    // AUTH with the response as its initial response while the line stays
    // within RFC 5034's 255 octets; otherwise after the server's "+ ".
    Status SendAuth() {
        const std::string name(MechanismName(mechanism_));
        const std::string withResponse = "AUTH " + name + " " + response_ + std::string(kCrLf);
        if (withResponse.size() <= kMaxAuthLineBytes) {
            return session_.Send(withResponse);
        }
        if (auto sent = session_.Send("AUTH " + name + std::string(kCrLf)); !sent) {
            return sent;
        }
        auto prompt = session_.ReadStatus();
        if (!prompt) {
            return prompt.failure();
        }
        if (prompt->kind == StatusLine::Kind::Err) {
            return Named(TokenRefusal(std::nullopt, *prompt));
        }
        if (prompt->kind != StatusLine::Kind::Continuation) {
            return Unexpected(*prompt);
        }
        return session_.Send(response_ + std::string(kCrLf));
    }

    // The server refused the token: answer its challenge as the mechanism
    // demands, then read the -ERR that ends the exchange.
    Status AnswerErrorChallenge(const StatusLine& challenge) {
        const OAuthErrorStatus status = ParseErrorChallenge(challenge.text);
        const std::string answer = Base64Encode(ErrorChallengeAnswer(mechanism_));
        if (auto sent = session_.Send(answer + std::string(kCrLf)); !sent) {
            return sent;
        }
        auto refusal = session_.ReadStatus();
        if (!refusal) {
            return refusal.failure();
        }
        if (refusal->kind != StatusLine::Kind::Err) {
            return Unexpected(*refusal);
        }
        return Named(TokenRefusal(status, *refusal));
    }

    Session& session_;
    OAuthMechanism mechanism_;
    std::string response_;
};

}  // namespace

Status LogInWithToken(Session& session, const Credentials& credentials, const Endpoint& endpoint) {
    const auto mechanism = ChooseOAuthMechanism(session.capabilities);
    if (!mechanism) {
        Failure failure = Fail(FailureKind::NoOAuthMechanism);
        failure.server = session.Server();
        return failure;
    }
    const TokenLoginTarget target{credentials.user, endpoint.host, endpoint.port};
    const std::string response =
        Base64Encode(OAuthClientResponse(*mechanism, target, credentials.password));
    return TokenExchange(session, *mechanism, response).Run();
}

}  // namespace popmail
