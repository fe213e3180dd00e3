#include "core/SecretForms.h"

#include <algorithm>

#include "core/Encoding.h"

namespace popmail {
namespace {

constexpr std::size_t kBitsPerByte = 8;
constexpr std::size_t kBitsPerBase64Character = 6;
// Byte offsets that give a secret a different Base64 inside a message.
constexpr std::size_t kBase64Alignments = 3;
// Characters percent-encoding keeps besides letters and digits (RFC 3986).
constexpr std::string_view kUnreserved = "-._~";

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string PercentEncoded(std::string_view text, bool keepUnreserved) {
    std::string encoded;
    for (char c : text) {
        if (keepUnreserved && (IsAsciiAlnum(c) || kUnreserved.find(c) != std::string_view::npos)) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += HexEncode(std::string_view(&c, 1));
        }
    }
    return encoded;
}

std::string Base64UrlOf(std::string base64) {
    std::replace(base64.begin(), base64.end(), '+', '-');
    std::replace(base64.begin(), base64.end(), '/', '_');
    return base64;
}

std::string WithoutPadding(std::string base64) {
    base64.erase(base64.find_last_not_of('=') + 1);
    return base64;
}

// The Base64 characters that carry bits of `secret` alone when it starts
// `offset` bytes into an encoded message: the characters before it share
// bits with the bytes before it, the last one may with the bytes after it.
std::string AlignedBase64(std::string_view secret, std::size_t offset) {
    const std::string encoded = Base64Encode(std::string(offset, '\0') + std::string(secret));
    const std::size_t firstBit = offset * kBitsPerByte;
    const std::size_t endBit = (offset + secret.size()) * kBitsPerByte;
    const std::size_t first = (firstBit + kBitsPerBase64Character - 1) / kBitsPerBase64Character;
    const std::size_t end = endBit / kBitsPerBase64Character;
    return first < end ? encoded.substr(first, end - first) : std::string();
}

}  // namespace

std::vector<std::string> SecretForms(std::string_view secret, std::size_t minAligned) {
    const std::string base64 = Base64Encode(secret);
    std::vector<std::string> forms{std::string(secret),
                                   base64,
                                   WithoutPadding(base64),
                                   Base64UrlOf(base64),
                                   WithoutPadding(Base64UrlOf(base64)),
                                   HexEncode(secret),
                                   PercentEncoded(secret, false),
                                   PercentEncoded(secret, true)};
    for (std::size_t offset = 0; offset < kBase64Alignments; ++offset) {
        const std::string aligned = AlignedBase64(secret, offset);
        if (aligned.size() >= minAligned) {
            forms.push_back(aligned);
            forms.push_back(Base64UrlOf(aligned));
        }
    }
    return forms;
}

}  // namespace popmail
