#include "core/OAuthSasl.h"

#include <algorithm>
#include <cctype>

#include "core/Encoding.h"
#include "core/JsonFields.h"

namespace popmail {
namespace {

constexpr char kFieldSeparator = '\x01';  // RFC 7628 kvsep
constexpr std::string_view kTokenPunctuation = "-._~+/";
// RFC 6750 error codes, and the HTTP status codes XOAUTH2 servers send.
constexpr std::string_view kInvalidToken = "invalid_token";
constexpr std::string_view kInvalidTokenHttp = "401";
constexpr std::string_view kInsufficientScope = "insufficient_scope";
constexpr std::string_view kInsufficientScopeHttp = "403";
// The -ERR code that only repeats that the login failed: the challenge's
// status says why, so that code must not replace it with "wrong password".
constexpr std::string_view kAuthResponseCode = "AUTH";

// RFC 5801 saslname: "," and "=" escaped.
std::string SaslName(std::string_view name) {
    std::string escaped;
    for (char c : name) {
        if (c == ',') {
            escaped += "=2C";
        } else if (c == '=') {
            escaped += "=3D";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

FailureKind KindOfStatus(std::string_view status) {
    if (status == kInvalidToken || status == kInvalidTokenHttp) {
        return FailureKind::TokenInvalid;
    }
    if (status == kInsufficientScope || status == kInsufficientScopeHttp) {
        return FailureKind::TokenScope;
    }
    return FailureKind::TokenRefused;
}

}  // namespace

std::optional<OAuthMechanism> ChooseOAuthMechanism(const Capabilities& capabilities) {
    if (capabilities.sasl.count(std::string(MechanismName(OAuthMechanism::OAuthBearer))) > 0) {
        return OAuthMechanism::OAuthBearer;
    }
    if (capabilities.sasl.count(std::string(MechanismName(OAuthMechanism::XOAuth2))) > 0) {
        return OAuthMechanism::XOAuth2;
    }
    return std::nullopt;
}

std::string_view MechanismName(OAuthMechanism mechanism) {
    return mechanism == OAuthMechanism::OAuthBearer ? "OAUTHBEARER" : "XOAUTH2";
}

bool IsBearerToken(std::string_view token) {
    const std::size_t body = token.find_last_not_of('=') + 1;
    if (token.empty() || body == 0) {
        return false;
    }
    return std::all_of(token.begin(), token.begin() + static_cast<long>(body), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
               kTokenPunctuation.find(c) != std::string_view::npos;
    });
}

std::string OAuthClientResponse(OAuthMechanism mechanism, const TokenLoginTarget& target,
                                std::string_view token) {
    const std::string bearer = "auth=Bearer " + std::string(token);
    if (mechanism == OAuthMechanism::XOAuth2) {
        return "user=" + target.user + kFieldSeparator + bearer + kFieldSeparator + kFieldSeparator;
    }
    return "n,a=" + SaslName(target.user) + "," + kFieldSeparator + "host=" + target.host +
           kFieldSeparator + "port=" + std::to_string(target.port) + kFieldSeparator + bearer +
           kFieldSeparator + kFieldSeparator;
}

std::string_view ErrorChallengeAnswer(OAuthMechanism mechanism) {
    static constexpr char kSeparatorOnly[] = {kFieldSeparator, '\0'};
    return mechanism == OAuthMechanism::OAuthBearer ? std::string_view(kSeparatorOnly, 1)
                                                    : std::string_view();
}

OAuthErrorStatus ParseErrorChallenge(std::string_view base64) {
    const auto json = Base64Decode(base64);
    if (!json) {
        return {};
    }
    const auto fields = JsonObjectFields(*json);
    if (!fields) {
        return {};
    }
    OAuthErrorStatus status;
    if (auto found = fields->find("status"); found != fields->end()) {
        status.status = found->second;
    }
    if (auto found = fields->find("scope"); found != fields->end()) {
        status.scope = found->second;
    }
    return status;
}

Failure TokenRefusal(const std::optional<OAuthErrorStatus>& challenge, const StatusLine& refusal) {
    const FailureKind kind =
        challenge ? KindOfStatus(challenge->status) : FailureKind::TokenRefused;
    // The challenge's status and the -ERR after it are both the server's words.
    std::string reply;
    if (challenge && !challenge->status.empty()) {
        reply = challenge->status;
        if (kind == FailureKind::TokenScope && !challenge->scope.empty()) {
            reply += "（必要なスコープ: " + challenge->scope + "）";
        }
        reply += " ";
    }
    reply += "-ERR " + refusal.text;
    const std::string code = refusal.code == kAuthResponseCode ? std::string() : refusal.code;
    return FailWithReply(kind, std::move(reply), code);
}

}  // namespace popmail
