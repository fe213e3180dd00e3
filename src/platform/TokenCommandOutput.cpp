#include "platform/TokenCommandOutput.h"

#include <algorithm>

#include "text/Utf8.h"

namespace vantorel::platform {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";
constexpr std::string_view kMasked = "***";
constexpr char kInvalidByte = '?';
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
// Shorter first lines are no token worth hiding, and masking them would
// garble the message.
constexpr std::size_t kMinMaskedLine = 8;

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view FirstLine(std::string_view output) {
    return Trimmed(output.substr(0, output.find('\n')));
}

// A command that fails after printing a token may still name it on
// standard error: it is masked there.
std::string Masked(std::string text, std::string_view token) {
    if (token.size() < kMinMaskedLine) {
        return text;
    }
    for (auto at = text.find(token); at != std::string::npos; at = text.find(token, at)) {
        text.replace(at, token.size(), kMasked);
        at += kMasked.size();
    }
    return text;
}

}  // namespace

void WipeBytes(char* data, std::size_t size) {
    volatile char* bytes = data;
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = '\0';
    }
}

BoundedOutput::~BoundedOutput() {
    kept_.resize(kept_.capacity());
    WipeBytes(kept_.data(), kept_.size());
}

void BoundedOutput::Append(std::string_view bytes) {
    const std::size_t room = limit_ - kept_.size();
    kept_.append(bytes.substr(0, room));
    truncated_ = truncated_ || bytes.size() > room;
}

TokenCommandOutcome OutcomeOf(const CommandEnd& end, const BoundedOutput& standardOutput,
                              const std::string& standardError) {
    TokenCommandOutcome outcome;
    const std::string_view line = FirstLine(standardOutput.Kept());
    const bool lineComplete =
        standardOutput.Kept().find('\n') != std::string::npos || !standardOutput.Truncated();
    outcome.errorOutput = Masked(CleanErrorOutput(standardError), line);
    switch (end.kind) {
        case CommandEnd::Kind::TimedOut:
            outcome.kind = TokenCommandOutcome::Kind::TimedOut;
            return outcome;
        case CommandEnd::Kind::Signalled:
        case CommandEnd::Kind::Exited:
            break;
    }
    if (end.kind == CommandEnd::Kind::Signalled || end.status != 0) {
        outcome.kind = TokenCommandOutcome::Kind::Failed;
        outcome.exitStatus = end.status;
        outcome.signalled = end.kind == CommandEnd::Kind::Signalled;
        return outcome;
    }
    if (!lineComplete) {
        outcome.kind = TokenCommandOutcome::Kind::TooLong;
        return outcome;
    }
    if (line.empty()) {
        outcome.kind = TokenCommandOutcome::Kind::NoOutput;
        return outcome;
    }
    outcome.kind = TokenCommandOutcome::Kind::Token;
    outcome.token = std::string(line);
    outcome.errorOutput.clear();
    return outcome;
}

std::string CleanErrorOutput(std::string_view bytes) {
    std::string clean;
    while (!bytes.empty()) {
        const std::size_t length = text::Utf8CharacterLength(bytes);
        if (length == 0) {
            clean += kInvalidByte;
            bytes.remove_prefix(1);
            continue;
        }
        const auto byte = static_cast<unsigned char>(bytes[0]);
        if (length == 1 && byte == '\r') {
            // CR LF and a lone CR both end a line.
        } else if (length == 1 && byte != '\n' && (byte < kFirstPrintable || byte == kDelete)) {
            clean += ' ';
        } else {
            clean.append(bytes.substr(0, length));
        }
        bytes.remove_prefix(length);
    }
    // Blank lines go; lines keep their order.
    std::string lines;
    std::size_t at = 0;
    while (at <= clean.size()) {
        const std::size_t end = std::min(clean.find('\n', at), clean.size());
        const std::string_view line = Trimmed(std::string_view(clean).substr(at, end - at));
        if (!line.empty()) {
            lines += lines.empty() ? "" : "\n";
            lines += line;
        }
        at = end + 1;
    }
    return lines;
}

std::string TokenCommandFailureDetail(const TokenCommandOutcome& outcome) {
    using Kind = TokenCommandOutcome::Kind;
    const std::string& error = outcome.errorOutput;
    const auto withError = [&error](std::string text) {
        return error.empty() ? text : text + "（" + error + "）";
    };
    switch (outcome.kind) {
        case Kind::Token:
            return {};
        case Kind::NotStarted:
            return withError("コマンドを起動できません");
        case Kind::Failed:
            if (!error.empty()) {
                return error;
            }
            return outcome.signalled ? "コマンドがシグナル " + std::to_string(outcome.exitStatus) +
                                           " で終了しました"
                                     : "コマンドが終了コード " +
                                           std::to_string(outcome.exitStatus) + " で終了しました";
        case Kind::TimedOut:
            return withError("コマンドが制限時間内に終わらなかったため、終了させました");
        case Kind::NoOutput:
            return withError("コマンドが何も出力しませんでした");
        case Kind::TooLong:
            return "コマンドの出力の 1 行目が長すぎます";
    }
    return {};
}

}  // namespace vantorel::platform
