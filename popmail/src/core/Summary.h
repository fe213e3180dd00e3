#pragma once
// The LIST element of one message: "Subject:" subject TAB "From:" sender
// TAB "Date:" date, from its raw header block.

#include <string>
#include <string_view>

namespace popmail {

// Decodes the header block and keeps at most kMaxSummaryFieldBytes of each
// field (cut at a character boundary), so the three markers stay intact.
std::string SummaryOf(std::string_view headerBlock);

}  // namespace popmail
