#pragma once
// The mailbox commands on a logged-in session.

#include <cstdint>
#include <string>
#include <vector>

#include "core/Failure.h"
#include "core/Session.h"

namespace popmail {

// STAT: the server's text after "+OK " ("3 456"). Remembers the count on
// the session. A reply without a plain "count size" is BadStatReply.
Result<std::string> Stat(Session& session);

// The summaries of messages 1..count in order, from "TOP n 0", or from RETR
// where the server has no TOP or refuses it. Commands are pipelined when
// the server offers PIPELINING, with at most kMaxPipelinedBytes of commands
// ahead of their replies.
Result<std::vector<std::string>> FetchSummaries(Session& session, std::size_t count);

}  // namespace popmail
