#include "core/SecretMask.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "core/Encoding.h"
#include "core/SecretForms.h"

namespace popmail {
namespace {

constexpr std::string_view kMasked = "***";
// Commands whose lines hold nothing secret, in lower case.
constexpr std::array<std::string_view, 12> kPlainCommands = {
    "capa", "stls", "user", "stat", "list", "top", "retr", "quit", "noop", "rset", "uidl", "dele"};
constexpr std::string_view kUserCommand = "user";
constexpr std::string_view kPassCommand = "pass";
constexpr std::string_view kApopCommand = "apop";
constexpr std::string_view kAuthCommand = "auth";
// Commands whose arguments a server's text must never show, in lower case.
constexpr std::array<std::string_view, 4> kLoginCommands = {kUserCommand, kPassCommand,
                                                            kApopCommand, kAuthCommand};
// A SASL response that cancels the exchange (RFC 5034).
constexpr std::string_view kCancel = "*";
// The answer to an OAUTHBEARER error challenge: the Base64 of a lone ^A
// (RFC 7628 section 3.2.3), sent after the server refused the token.
constexpr std::string_view kErrorChallengeAnswer = "AQ==";

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
    return lower;
}

bool IsAlnum(char c) {
    return (c >= '0' && c <= '9') || (LowerAscii(c) >= 'a' && LowerAscii(c) <= 'z');
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The last word of `text`.
std::string_view LastWord(std::string_view text) {
    text = TrimBlanks(text);
    const auto blank = std::find_if(text.rbegin(), text.rend(), IsBlank);
    return text.substr(static_cast<std::size_t>(text.rend() - blank));
}

// The first word of `text` and what follows it, blanks removed.
std::pair<std::string_view, std::string_view> FirstWord(std::string_view text) {
    text = TrimBlanks(text);
    const auto blank = std::find_if(text.begin(), text.end(), IsBlank);
    const auto length = static_cast<std::size_t>(blank - text.begin());
    return {text.substr(0, length), TrimBlanks(text.substr(length))};
}

// SASL responses that carry nothing secret.
bool IsPublicResponse(std::string_view response) {
    return response == kCancel || response == kErrorChallengeAnswer;
}

void Mark(std::vector<bool>& marked, std::size_t begin, std::size_t end) {
    std::fill(marked.begin() + static_cast<std::ptrdiff_t>(begin),
              marked.begin() + static_cast<std::ptrdiff_t>(end), true);
}

// The argument of USER (one word), or all that follows PASS, APOP or AUTH on
// the line (a password may hold blanks).
void MarkLoginArguments(std::string_view lower, std::vector<bool>& marked) {
    for (std::size_t at = 0; at < lower.size(); ++at) {
        const auto command = std::find_if(
            kLoginCommands.begin(), kLoginCommands.end(),
            [&](std::string_view name) { return lower.substr(at, name.size()) == name; });
        if (command == kLoginCommands.end() || (at > 0 && IsAlnum(lower[at - 1]))) {
            continue;
        }
        std::size_t begin = at + command->size();
        if (begin >= lower.size() || !IsBlank(lower[begin])) {
            continue;
        }
        while (begin < lower.size() && IsBlank(lower[begin])) {
            ++begin;
        }
        std::size_t end = begin;
        const bool oneWord = *command == kUserCommand;
        while (end < lower.size() && !IsLineEnd(lower[end]) && !(oneWord && IsBlank(lower[end]))) {
            ++end;
        }
        Mark(marked, begin, end);
    }
}

void MarkSecret(std::string_view lower, std::string_view secret, std::vector<bool>& marked) {
    constexpr std::size_t kPiece = SecretMask::kMinPieceBytes;
    if (secret.size() < kPiece) {
        for (auto at = lower.find(secret); at != std::string_view::npos;
             at = lower.find(secret, at + 1)) {
            Mark(marked, at, at + secret.size());
        }
        return;
    }
    std::unordered_set<std::string_view> pieces;
    for (std::size_t at = 0; at + kPiece <= secret.size(); ++at) {
        pieces.insert(secret.substr(at, kPiece));
    }
    for (std::size_t at = 0; at + kPiece <= lower.size(); ++at) {
        if (pieces.count(lower.substr(at, kPiece)) > 0) {
            Mark(marked, at, at + kPiece);
        }
    }
}

std::string Rendered(std::string_view text, const std::vector<bool>& marked) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (!marked[at]) {
            out += text[at];
        } else if (at == 0 || !marked[at - 1]) {
            out += kMasked;
        }
    }
    return out;
}

}  // namespace

void SecretMask::Add(std::string_view secret) {
    std::string lower = Lower(secret);
    if (!lower.empty() && std::find(secrets_.begin(), secrets_.end(), lower) == secrets_.end()) {
        secrets_.push_back(std::move(lower));
    }
}

void SecretMask::AddForms(std::string_view secret) {
    if (secret.empty()) {
        return;
    }
    for (const std::string& form : SecretForms(secret, kMinPieceBytes)) {
        Add(form);
    }
}

void SecretMask::AddPassword(std::string_view user, std::string_view password) {
    if (password.empty()) {
        return;
    }
    AddForms(password);
    // RFC 4616: authorization id (empty), user, password.
    Add(Base64Encode(std::string(1, '\0') + std::string(user) + '\0' + std::string(password)));
}

void SecretMask::AddAccessToken(std::string_view token) {
    AddForms(token);
}

void SecretMask::AddSentLine(std::string_view line) {
    while (!line.empty() && IsLineEnd(line.back())) {
        line.remove_suffix(1);
    }
    const auto [command, arguments] = FirstWord(line);
    const std::string name = Lower(command);
    if (name == kPassCommand) {
        Add(arguments);
    } else if (name == kApopCommand) {
        Add(LastWord(arguments));  // the digest after the user name
    } else if (name == kAuthCommand) {
        Add(FirstWord(arguments).second);  // the initial response after the mechanism
    } else if (std::find(kPlainCommands.begin(), kPlainCommands.end(), name) ==
                   kPlainCommands.end() &&
               !IsPublicResponse(TrimBlanks(line))) {
        Add(TrimBlanks(line));
    }
}

std::string SecretMask::Apply(std::string_view text) const {
    const std::string lower = Lower(text);
    std::vector<bool> marked(text.size(), false);
    MarkLoginArguments(lower, marked);
    for (const std::string& secret : secrets_) {
        MarkSecret(lower, secret, marked);
    }
    return Rendered(text, marked);
}

}  // namespace popmail
