#pragma once
// The texts the user sees when a call fails.

#include <string>
#include <string_view>

#include "core/Failure.h"

namespace popmail {

// Short Japanese text naming the cause and the server, with the server's
// own -ERR text where there is one. `password` is scrubbed from anything
// quoted, in case a server echoes it.
std::string FailureText(const Failure& failure, std::string_view password);

// Makes a server's text safe to show: valid UTF-8, no control characters,
// at most kMaxQuotedServerText bytes.
std::string QuotableServerText(std::string_view text);

}  // namespace popmail
