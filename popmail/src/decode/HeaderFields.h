// Finding fields in a raw header block (RFC 5322 section 2.2).
#pragma once

#include <string>
#include <string_view>

namespace popmail::decode {

// The raw, unfolded values of the first Subject, From and Date fields; empty
// when a field is missing. Each is cut at kMaxFieldValueBytes, and only the
// first kMaxHeaderBlockBytes of the block are read.
struct SummaryFields {
    std::string subject;
    std::string from;
    std::string date;
};

SummaryFields FindSummaryFields(std::string_view headerBlock);

// Removes the line breaks of folded lines (a CRLF or LF followed by a space
// or TAB); the whitespace that follows them stays. The result is cut at
// kMaxFieldValueBytes.
std::string Unfold(std::string_view rawValue);

}  // namespace popmail::decode
