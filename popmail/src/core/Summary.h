#pragma once
// The summary of one message that "LIST 1-N" answers: its subject, sender
// and date, each bounded.

#include <string_view>

#include "decode/Decode.h"

namespace popmail {

using decode::MessageSummary;

// Decodes the header block and keeps at most kMaxSummaryFieldBytes of each
// field (cut at a character boundary), so that a mailbox of huge headers
// cannot make a reply grow without bound.
MessageSummary SummaryOf(std::string_view headerBlock);

}  // namespace popmail
