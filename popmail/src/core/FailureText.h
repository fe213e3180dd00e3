#pragma once
// The texts the user sees when a call fails.

#include <string>
#include <string_view>

#include "core/Failure.h"
#include "core/SecretMask.h"

namespace popmail {

// Short Japanese text naming the cause and the server, with the server's
// own -ERR text where there is one. Everything quoted passes through
// `secrets`, in case a server echoes the password or a login command.
std::string FailureText(const Failure& failure, const SecretMask& secrets);

// Makes a server's text safe to show: valid UTF-8, no control characters,
// at most kMaxQuotedServerText bytes.
std::string QuotableServerText(std::string_view text);

}  // namespace popmail
