// Bounds that keep hostile header input cheap: every scan is linear in these
// sizes, and no summary grows beyond them whatever the server sends.
#pragma once

#include <cstddef>

namespace popmail::decode {

// Only this much of a header block is searched for Subject, From and Date.
// Real header blocks, long Received chains included, stay well under it.
inline constexpr std::size_t kMaxHeaderBlockBytes = 256 * 1024;

// One field's value, after unfolding, is cut at this many bytes before it is
// decoded. A line longer than this ends up cut the same way.
inline constexpr std::size_t kMaxFieldValueBytes = 16 * 1024;

// A decoded field is cut at a character boundary to at most this many bytes
// of UTF-8 (the ellipsis included), so that thousands of summaries stay small.
inline constexpr std::size_t kMaxFieldTextBytes = 2048;

}  // namespace popmail::decode
