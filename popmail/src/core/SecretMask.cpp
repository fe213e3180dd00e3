#include "core/SecretMask.h"

#include "core/Encoding.h"

namespace popmail {
namespace {

constexpr std::string_view kMask = "***";
constexpr std::size_t kBase64Group = 4;
constexpr std::size_t kBytesPerGroup = 3;

// Characters at the start of Base64(prefix + token) that also carry bits
// of the `prefixBytes` bytes before the token.
constexpr std::size_t SharedLeadingCharacters(std::size_t prefixBytes) {
    return prefixBytes == 0 ? 0 : prefixBytes + 1;
}

bool OccursInAny(std::string_view run, const std::vector<std::string>& forms) {
    for (const std::string& form : forms) {
        if (form.find(run) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> TokenForms(std::string_view token) {
    std::vector<std::string> forms{std::string(token)};
    for (std::size_t prefix = 0; prefix < kBytesPerGroup; ++prefix) {
        std::string encoded = Base64Encode(std::string(prefix, '\0') + std::string(token));
        // The last group may share bits with the bytes after the token.
        const std::size_t keptEnd =
            encoded.size() > kBase64Group ? encoded.size() - kBase64Group : 0;
        const std::size_t keptStart = std::min(SharedLeadingCharacters(prefix), keptEnd);
        forms.push_back(encoded.substr(keptStart, keptEnd - keptStart));
    }
    return forms;
}

std::string MaskForms(std::string_view text, const std::vector<std::string>& forms) {
    std::string masked;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t length = 0;
        if (text.size() - at >= kMinMaskedRun &&
            OccursInAny(text.substr(at, kMinMaskedRun), forms)) {
            length = kMinMaskedRun;
            while (at + length < text.size() && OccursInAny(text.substr(at, length + 1), forms)) {
                ++length;
            }
        }
        if (length > 0) {
            masked += kMask;
            at += length;
        } else {
            masked += text[at++];
        }
    }
    return masked;
}

Failure MaskedFailure(Failure failure, const std::vector<std::string>& forms) {
    failure.detail = MaskForms(failure.detail, forms);
    failure.advice = MaskForms(failure.advice, forms);
    failure.server = MaskForms(failure.server, forms);
    return failure;
}

}  // namespace popmail
