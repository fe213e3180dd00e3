#include "decode/TransferDecode.h"

#include <cstdint>

namespace popmail::decode {
namespace {

constexpr int kBase64BitsPerChar = 6;
constexpr int kBitsPerByte = 8;
constexpr std::size_t kBase64Quantum = 4;  // characters per three bytes
constexpr std::size_t kMaxPadding = 2;
constexpr int kHexDigitBits = 4;

std::optional<int> Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+') {
        return 62;
    }
    if (c == '/') {
        return 63;
    }
    return std::nullopt;
}

std::optional<int> HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> DecodeBase64(std::string_view text) {
    std::size_t padding = 0;
    while (padding < kMaxPadding && text.size() > padding &&
           text[text.size() - 1 - padding] == '=') {
        ++padding;
    }
    const std::string_view data = text.substr(0, text.size() - padding);
    // One leftover character cannot make a byte; padding must fill a quantum.
    if (data.size() % kBase64Quantum == 1 ||
        (padding > 0 && (data.size() + padding) % kBase64Quantum != 0)) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(data.size() * 3 / kBase64Quantum);
    std::uint32_t bits = 0;
    int bitCount = 0;
    for (const char c : data) {
        const auto value = Base64Value(c);
        if (!value) {
            return std::nullopt;
        }
        bits = (bits << kBase64BitsPerChar) | static_cast<std::uint32_t>(*value);
        bitCount += kBase64BitsPerChar;
        if (bitCount >= kBitsPerByte) {
            bitCount -= kBitsPerByte;
            out.push_back(static_cast<char>((bits >> bitCount) & 0xFF));
        }
    }
    return out;
}

std::optional<std::string> DecodeQ(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '_') {
            out.push_back(' ');
        } else if (c != '=') {
            out.push_back(c);
        } else {
            const auto high = pos + 1 < text.size() ? HexValue(text[pos + 1]) : std::nullopt;
            const auto low = pos + 2 < text.size() ? HexValue(text[pos + 2]) : std::nullopt;
            if (!high || !low) {
                return std::nullopt;
            }
            out.push_back(static_cast<char>((*high << kHexDigitBits) | *low));
            pos += 2;
        }
    }
    return out;
}

}  // namespace popmail::decode
