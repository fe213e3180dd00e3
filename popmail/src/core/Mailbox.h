#pragma once
// The mailbox commands on a logged-in session.

#include <functional>
#include <memory>
#include <vector>

#include "core/Failure.h"
#include "core/Session.h"
#include "core/Summary.h"

namespace popmail {

// STAT: the count and size the server reports. Remembers the count on the
// session. A reply without a plain "count size" is BadStatReply.
Result<MailboxStatus> Stat(Session& session);

// Another logged-in session whose STAT has been read, for the same fetch.
using SessionOpener = std::function<Result<std::unique_ptr<Session>>()>;

// The summaries of messages 1..count in order, from "TOP n 0", or from RETR
// where the server has no TOP or refuses it. Commands are pipelined when
// the server offers PIPELINING, with at most kMaxPipelinedBytes of commands
// ahead of their replies, and QUIT in the write of the last ones; a TOP
// refused after that is fetched again whole, with every other message, on
// a session from `reopen`. Without PIPELINING the caller ends the session.
Result<std::vector<MessageSummary>> FetchSummaries(Session& session, std::size_t count,
                                                   const SessionOpener& reopen);

}  // namespace popmail
