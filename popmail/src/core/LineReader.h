#pragma once
// Reads lines from a connection with a bounded buffer. A line longer than
// its cap is an overflow: the reader refuses further use, and the caller
// drops the connection.

#include <cstddef>
#include <string>

#include "core/Failure.h"
#include "net/Transport.h"

namespace popmail {

class LineReader {
  public:
    explicit LineReader(net::Connection& connection) : connection_(connection) {}

    // The next line without its CR LF (a bare LF ends a line too).
    // Failures: ReplyTooLarge when no line end comes within `cap` bytes,
    // ConnectionClosed, and whatever the connection reports.
    Result<std::string> ReadLine(std::size_t cap, net::Deadline deadline);

    // Reads past the next line without keeping it, however long it is.
    // Returns whether the line was the end marker ".".
    Result<bool> SkipLine(net::Deadline deadline);

    // Forgets everything received and not yet read. After STLS, bytes that
    // arrived before the handshake must not be taken as replies.
    void DiscardBuffered();

  private:
    Status Fill(net::Deadline deadline);

    static constexpr std::size_t kChunkBytes = 16 * 1024;

    net::Connection& connection_;
    std::string buffer_;
    std::size_t start_ = 0;    // first unread byte
    std::size_t scanned_ = 0;  // bytes after start_ known to hold no LF
    bool broken_ = false;
};

}  // namespace popmail
