#include "core/Response.h"

#include <algorithm>
#include <cctype>

namespace popmail {
namespace {

constexpr std::string_view kOk = "+OK";
constexpr std::string_view kErr = "-ERR";
constexpr std::string_view kContinuation = "+";
constexpr std::size_t kMaxResponseCode = 64;
constexpr std::size_t kMaxDigits = 19;  // fits in uint64

std::string Upper(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && Upper(text.substr(0, prefix.size())) == prefix;
}

// "+OK" or "+OK text" (the keyword must end at a space or the line's end).
bool HasKeyword(std::string_view line, std::string_view keyword, std::string_view& rest) {
    if (!StartsWithNoCase(line, keyword)) {
        return false;
    }
    rest = line.substr(keyword.size());
    if (!rest.empty() && rest.front() != ' ') {
        return false;
    }
    if (!rest.empty()) {
        rest.remove_prefix(1);
    }
    return true;
}

std::string ResponseCodeOf(std::string_view text) {
    if (text.empty() || text.front() != '[') {
        return {};
    }
    const auto close = text.find(']');
    if (close == std::string_view::npos || close - 1 > kMaxResponseCode) {
        return {};
    }
    return Upper(text.substr(1, close - 1));
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && line[at] == ' ') {
            ++at;
        }
        const std::size_t end = std::min(line.find(' ', at), line.size());
        if (end > at) {
            words.push_back(line.substr(at, end - at));
        }
        at = end;
    }
    return words;
}

std::optional<std::uint64_t> Decimal(std::string_view digits) {
    if (digits.empty() || digits.size() > kMaxDigits) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

}  // namespace

StatusLine ParseStatusLine(std::string_view line) {
    StatusLine status;
    std::string_view rest;
    if (HasKeyword(line, kOk, rest)) {
        status.kind = StatusLine::Kind::Ok;
    } else if (HasKeyword(line, kErr, rest)) {
        status.kind = StatusLine::Kind::Err;
    } else if (HasKeyword(line, kContinuation, rest)) {
        status.kind = StatusLine::Kind::Continuation;
    } else {
        return status;
    }
    status.text = std::string(rest);
    if (status.kind == StatusLine::Kind::Err) {
        status.code = ResponseCodeOf(rest);
    }
    return status;
}

Capabilities ParseCapabilities(const std::vector<std::string>& lines) {
    Capabilities capabilities;
    capabilities.known = true;
    for (const std::string& line : lines) {
        const auto words = Words(line);
        if (words.empty()) {
            continue;
        }
        const std::string name = Upper(words.front());
        if (name == "TOP") {
            capabilities.top = true;
        } else if (name == "USER") {
            capabilities.user = true;
        } else if (name == "PIPELINING") {
            capabilities.pipelining = true;
        } else if (name == "STLS") {
            capabilities.stls = true;
        } else if (name == "SASL") {
            for (std::size_t i = 1; i < words.size(); ++i) {
                capabilities.sasl.insert(Upper(words[i]));
            }
        }
    }
    return capabilities;
}

std::optional<std::string> ApopTimestamp(std::string_view greeting) {
    const auto open = greeting.find('<');
    if (open == std::string_view::npos) {
        return std::nullopt;
    }
    const auto close = greeting.find('>', open);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    const auto stamp = greeting.substr(open, close - open + 1);
    // RFC 1939: a msg-id, which always holds an "@".
    if (stamp.find('@') == std::string_view::npos || stamp.find(' ') != std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(stamp);
}

std::optional<MailboxStatus> ParseStatReply(std::string_view text) {
    const auto words = Words(text);
    if (words.size() < 2) {
        return std::nullopt;
    }
    const auto count = Decimal(words[0]);
    const auto size = Decimal(words[1]);
    if (!count || !size || *count > kMaxStatCount) {
        return std::nullopt;
    }
    return MailboxStatus{*count, *size};
}

DataLine ClassifyDataLine(std::string_view line) {
    if (line == ".") {
        return {true, {}};
    }
    if (!line.empty() && line.front() == '.') {
        line.remove_prefix(1);
    }
    return {false, line};
}

}  // namespace popmail
