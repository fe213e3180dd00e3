#pragma once
// The SASL side of logging in with an OAuth 2.0 access token: which
// mechanism, what the client sends, and what a refusal means.
//
//   OAUTHBEARER (RFC 7628), preferred:
//     n,a=USER,^Ahost=HOST^Aport=PORT^Aauth=Bearer TOKEN^A^A
//   XOAUTH2 (the older form the large providers introduced):
//     user=USER^Aauth=Bearer TOKEN^A^A
// A refused token gets an error challenge, "+ " and the Base64 of a JSON
// status ({"status":"invalid_token",...}). The client must answer it (RFC
// 7628 section 3.2.3: a single ^A; XOAUTH2: an empty response) before the
// server sends its -ERR.

#include <optional>
#include <string>
#include <string_view>

#include "core/Failure.h"
#include "core/Response.h"

namespace popmail {

enum class OAuthMechanism { OAuthBearer, XOAuth2 };

// The mechanism to use from CAPA's SASL line: OAUTHBEARER where offered.
std::optional<OAuthMechanism> ChooseOAuthMechanism(const Capabilities& capabilities);

std::string_view MechanismName(OAuthMechanism mechanism);

// True for an RFC 6750 b64token: letters, digits, "-._~+/", then "=" only
// at the end. Anything else could break the SASL message apart.
bool IsBearerToken(std::string_view token);

struct TokenLoginTarget {
    std::string user;
    std::string host;
    int port = 0;
};

// The client's SASL message (before Base64) carrying `token`.
std::string OAuthClientResponse(OAuthMechanism mechanism, const TokenLoginTarget& target,
                                std::string_view token);

// What the client answers to an error challenge (before Base64).
std::string_view ErrorChallengeAnswer(OAuthMechanism mechanism);

// The JSON status of an error challenge, as far as it could be read.
struct OAuthErrorStatus {
    std::string status;  // "invalid_token", "insufficient_scope", "401"...
    std::string scope;   // the scope the server asks for, if it says
};

// The status in the Base64 text of an error challenge; empty fields where
// the challenge cannot be read.
OAuthErrorStatus ParseErrorChallenge(std::string_view base64);

// The failure for a refused token: its kind from the challenge's status
// (when there was one), with the server's -ERR line.
Failure TokenRefusal(const std::optional<OAuthErrorStatus>& challenge, const StatusLine& refusal);

}  // namespace popmail
