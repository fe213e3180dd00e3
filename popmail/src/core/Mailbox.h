#pragma once
// The mailbox commands on a logged-in session.

#include <vector>

#include "core/Failure.h"
#include "core/Session.h"
#include "core/Summary.h"

namespace popmail {

// STAT: the count and size the server reports. Remembers the count on the
// session. A reply without a plain "count size" is BadStatReply.
Result<MailboxStatus> Stat(Session& session);

// The summaries of messages 1..count in order, from "TOP n 0", or from RETR
// where the server has no TOP or refuses it. Commands are pipelined when
// the server offers PIPELINING, with at most kMaxPipelinedBytes of commands
// ahead of their replies.
Result<std::vector<MessageSummary>> FetchSummaries(Session& session, std::size_t count);

}  // namespace popmail
