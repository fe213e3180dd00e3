#pragma once
// Parsing what a POP3 server sends: status lines, response codes, CAPA,
// the APOP time stamp, STAT. Pure functions, also fed by the fuzzer.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace popmail {

struct StatusLine {
    enum class Kind { Ok, Err, Continuation, Invalid };
    Kind kind = Kind::Invalid;
    std::string code;  // RFC 2449 response code without brackets, upper case
    std::string text;  // after "+OK " / "-ERR " / "+ ", code included
};

StatusLine ParseStatusLine(std::string_view line);

struct Capabilities {
    bool known = false;  // the server answered CAPA
    bool top = false;
    bool user = false;
    bool pipelining = false;
    bool stls = false;
    std::set<std::string> sasl;  // mechanisms, upper case
};

// The lines of a +OK CAPA reply, end marker removed.
Capabilities ParseCapabilities(const std::vector<std::string>& lines);

// The <...> time stamp of an APOP-capable greeting (RFC 1939 section 7).
std::optional<std::string> ApopTimestamp(std::string_view greeting);

// What a STAT reply says: the number of messages and their size in octets.
struct MailboxStatus {
    std::uint64_t count = 0;
    std::uint64_t size = 0;

    bool operator==(const MailboxStatus&) const = default;
};

// A STAT reply's text after "+OK " ("nn mm"): its first two words, both
// plain decimal, the count at most kMaxStatCount. Blanks before and between
// them and words after them are allowed (RFC 1939 lets a server add text).
// Anything else is not a STAT reply the program could use.
std::optional<MailboxStatus> ParseStatReply(std::string_view text);
inline constexpr std::uint64_t kMaxStatCount = 2'147'483'647;

// A line of a multi-line reply: the end marker, or the line with its
// byte-stuffing dot removed (RFC 1939 section 3).
struct DataLine {
    bool end = false;
    std::string_view text;
};
DataLine ClassifyDataLine(std::string_view line);

}  // namespace popmail
