#pragma once
// Every time-out and size bound of the library in one place. The C entry
// point uses these values; tests shorten the time-outs through ClientOptions.

#include <chrono>
#include <cstddef>

namespace popmail {

using namespace std::chrono_literals;

// Time allowed to open the TCP connection (each address tried shares it).
inline constexpr std::chrono::milliseconds kConnectTimeout = 15s;
// Time allowed for one complete reply (or one TLS handshake) to arrive,
// measured from the moment the client starts waiting for it to its last
// line: a multi-line reply (CAPA, TOP, RETR) gets no more time per line. A
// server that trickles a byte or a line at a time still ends within it.
inline constexpr std::chrono::milliseconds kReplyTimeout = 30s;
// One whole call of RcvMail, whatever it asks: the program's window thread
// waits for it, so neither a slow server nor a large mailbox may hold it
// longer.
inline constexpr std::chrono::milliseconds kCallTimeout = 60s;
// How long an authenticated session stays open after a STAT, so that the
// LIST of the same check reuses it instead of logging in again.
inline constexpr std::chrono::milliseconds kSessionKeepAlive = 5s;
// QUIT at the end of a session (or at unload) waits no longer than this.
inline constexpr std::chrono::milliseconds kQuitTimeout = 2s;

// Ports a bare host name uses: implicit TLS first, then STLS on the plain port.
inline constexpr int kImplicitTlsPort = 995;
inline constexpr int kPlainPort = 110;

// Largest N that "LIST 1-N" accepts: the program counts messages in 16 bits,
// so it never asks for more. Memory stays bounded by N summaries of at most
// 3 * kMaxSummaryFieldBytes each.
inline constexpr std::size_t kMaxListCount = 32767;

// A single-line reply (greeting, +OK/-ERR status). RFC 2449 allows 512
// octets; servers that add long texts still fit.
inline constexpr std::size_t kMaxStatusLineBytes = 4096;
// One line inside a multi-line reply (CAPA, TOP, RETR headers). RFC 5322
// allows 998 octets; anything far beyond is hostile and ends the session.
inline constexpr std::size_t kMaxDataLineBytes = 64 * 1024;
// Lines of a CAPA reply.
inline constexpr std::size_t kMaxCapaLines = 256;
// Header bytes kept per message; further header lines are read and dropped.
inline constexpr std::size_t kMaxHeaderBytes = 256 * 1024;
// Bytes kept per field (subject, sender, date) of one summary, so that a
// mailbox of huge headers cannot make the reply grow without bound.
inline constexpr std::size_t kMaxSummaryFieldBytes = 1024;
// The server's own text quoted in a failure text.
inline constexpr std::size_t kMaxQuotedServerText = 200;
// Pipelined commands sent ahead of their replies. Socket buffers always
// absorb this much, so a write never waits on a server that is itself
// waiting for us to read its replies.
inline constexpr std::size_t kMaxPipelinedBytes = 4 * 1024;
// RFC 5034: an initial response that makes the AUTH line longer than this
// is sent after the server's continuation instead.
inline constexpr std::size_t kMaxAuthLineBytes = 255;

}  // namespace popmail
