// popmail::decode turns raw mail header bytes into the one-line UTF-8 texts
// the program shows: RFC 5322 unfolding, RFC 2047 encoded words, and a fixed
// allow-list of character sets (Japanese ones read with the Windows
// extensions, since that is what Japanese mailers actually send).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace popmail::decode {

// What the program announces of one message, decoded to UTF-8.
struct MessageSummary {
    std::string subject;
    std::string sender;
    std::string date;

    bool operator==(const MessageSummary&) const = default;
};

// One message's raw header block (as "TOP n 0" returns it, already
// dot-unstuffed; CRLF or LF line ends; the blank line may be missing) ->
// its Subject, From and Date fields, decoded. The first field of each name
// counts (names without regard to case); a missing field gives an empty
// text. No field holds a TAB, CR, LF or other control character.
MessageSummary SummarizeHeaders(std::string_view headerBlock);

// One header field's raw value (may be folded) -> decoded UTF-8 text, trimmed.
// Every control character, CR, LF and TAB becomes one space; invalid bytes
// become U+FFFD. Encoded words that are malformed or name a character set
// outside the allow-list stay as their raw text.
std::string DecodeHeaderValue(std::string_view rawValue);

// Bytes in an allow-listed character set (name without regard to case,
// common aliases accepted) -> UTF-8, invalid sequences as U+FFFD.
// nullopt when the name is not on the allow-list or no converter is available.
std::optional<std::string> CharsetToUtf8(std::string_view charsetName, std::string_view bytes);

}  // namespace popmail::decode
