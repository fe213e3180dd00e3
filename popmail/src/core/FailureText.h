#pragma once
// The texts the user sees when a call fails.

#include <string>
#include <string_view>

#include "core/Failure.h"
#include "core/SecretMask.h"

namespace popmail {

// One short Japanese sentence saying what went wrong and what to check, with
// the server ("host:port"), then the server's own reply after
// "サーバーの応答: " and a system or TLS text after "詳細: ", where there are
// some. Everything quoted passes through `secrets`, in case a server echoes
// the password or a login command.
std::string FailureText(const Failure& failure, const SecretMask& secrets);

// Makes a server's text safe to show: valid UTF-8, no control characters,
// at most kMaxQuotedServerText bytes.
std::string QuotableServerText(std::string_view text);

}  // namespace popmail
