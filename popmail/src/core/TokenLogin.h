#pragma once
// Logging in with an OAuth 2.0 access token on an encrypted session: AUTH
// with OAUTHBEARER or XOAUTH2 (RFC 5034, RFC 7628), the error challenge
// answered, a refusal turned into its failure.

#include "core/Failure.h"
#include "core/ServerSetting.h"
#include "core/Session.h"

namespace popmail {

// Logs in as `credentials.user` with the token in `credentials.password`.
// The caller has made sure the session is encrypted.
Status LogInWithToken(Session& session, const Credentials& credentials, const Endpoint& endpoint);

}  // namespace popmail
