#include "core/Encoding.h"

#include <array>
#include <cstdint>

namespace popmail {
namespace {

constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view kHexDigits = "0123456789abcdef";

// RFC 1321: per-round shift amounts and the sine-derived constants.
constexpr std::array<std::uint32_t, 64> kShifts = {
    7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 7,  12, 17, 22, 5,  9,  14, 20, 5,  9,
    14, 20, 5,  9,  14, 20, 5,  9,  14, 20, 4,  11, 16, 23, 4,  11, 16, 23, 4,  11, 16, 23,
    4,  11, 16, 23, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21, 6,  10, 15, 21};
constexpr std::array<std::uint32_t, 64> kSines = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
constexpr std::array<std::uint32_t, 4> kInitialState = {0x67452301, 0xefcdab89, 0x98badcfe,
                                                        0x10325476};
constexpr std::size_t kBlockBytes = 64;
constexpr std::size_t kLengthBytes = 8;

std::uint32_t RotateLeft(std::uint32_t value, std::uint32_t shift) {
    return (value << shift) | (value >> (32 - shift));
}

void Md5Block(std::array<std::uint32_t, 4>& state, const unsigned char* block) {
    std::array<std::uint32_t, 16> words{};
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i] = static_cast<std::uint32_t>(block[i * 4]) |
                   static_cast<std::uint32_t>(block[i * 4 + 1]) << 8 |
                   static_cast<std::uint32_t>(block[i * 4 + 2]) << 16 |
                   static_cast<std::uint32_t>(block[i * 4 + 3]) << 24;
    }
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (std::uint32_t i = 0; i < 64; ++i) {
        std::uint32_t mix = 0;
        std::uint32_t index = 0;
        if (i < 16) {
            mix = (b & c) | (~b & d);
            index = i;
        } else if (i < 32) {
            mix = (d & b) | (~d & c);
            index = (5 * i + 1) % 16;
        } else if (i < 48) {
            mix = b ^ c ^ d;
            index = (3 * i + 5) % 16;
        } else {
            mix = c ^ (b | ~d);
            index = (7 * i) % 16;
        }
        const std::uint32_t rotated = RotateLeft(a + mix + kSines[i] + words[index], kShifts[i]);
        a = d;
        d = c;
        c = b;
        b = b + rotated;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

}  // namespace

std::string Base64Encode(std::string_view data) {
    std::string encoded;
    encoded.reserve((data.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= data.size(); i += 3) {
        const std::uint32_t triple =
            static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << 16 |
            static_cast<std::uint32_t>(static_cast<unsigned char>(data[i + 1])) << 8 |
            static_cast<unsigned char>(data[i + 2]);
        encoded += kBase64Alphabet[triple >> 18 & 0x3F];
        encoded += kBase64Alphabet[triple >> 12 & 0x3F];
        encoded += kBase64Alphabet[triple >> 6 & 0x3F];
        encoded += kBase64Alphabet[triple & 0x3F];
    }
    const std::size_t rest = data.size() - i;
    if (rest > 0) {
        std::uint32_t triple = static_cast<std::uint32_t>(static_cast<unsigned char>(data[i]))
                               << 16;
        if (rest == 2) {
            triple |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i + 1])) << 8;
        }
        encoded += kBase64Alphabet[triple >> 18 & 0x3F];
        encoded += kBase64Alphabet[triple >> 12 & 0x3F];
        encoded += rest == 2 ? kBase64Alphabet[triple >> 6 & 0x3F] : '=';
        encoded += '=';
    }
    return encoded;
}

std::optional<std::string> Base64Decode(std::string_view text) {
    constexpr std::size_t kGroup = 4;
    constexpr std::size_t kMaxPadding = 2;
    if (text.size() % kGroup != 0) {
        return std::nullopt;
    }
    std::size_t padding = 0;
    while (padding < kMaxPadding && padding < text.size() &&
           text[text.size() - 1 - padding] == '=') {
        ++padding;
    }
    std::string decoded;
    std::uint32_t bits = 0;
    int bitCount = 0;
    for (char c : text.substr(0, text.size() - padding)) {
        const auto value = kBase64Alphabet.find(c);
        if (value == std::string_view::npos) {
            return std::nullopt;
        }
        // Only the bits not yet written out are kept (at most 14).
        bits = ((bits << 6) | static_cast<std::uint32_t>(value)) & 0x3FFF;
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            decoded += static_cast<char>(bits >> bitCount & 0xFF);
        }
    }
    return decoded;
}

std::string Md5Hex(std::string_view data) {
    std::array<std::uint32_t, 4> state = kInitialState;
    std::string message(data);
    const std::uint64_t bitLength = static_cast<std::uint64_t>(data.size()) * 8;
    message += '\x80';
    while (message.size() % kBlockBytes != kBlockBytes - kLengthBytes) {
        message += '\0';
    }
    for (std::size_t i = 0; i < kLengthBytes; ++i) {
        message += static_cast<char>(bitLength >> (8 * i) & 0xFF);
    }
    for (std::size_t at = 0; at < message.size(); at += kBlockBytes) {
        Md5Block(state, reinterpret_cast<const unsigned char*>(message.data() + at));
    }
    std::string digest;
    for (std::uint32_t word : state) {
        for (int byte = 0; byte < 4; ++byte) {
            digest += static_cast<char>(word >> (8 * byte) & 0xFF);
        }
    }
    return HexEncode(digest);
}

std::string HexEncode(std::string_view data) {
    std::string hex;
    hex.reserve(data.size() * 2);
    for (char c : data) {
        const auto value = static_cast<unsigned char>(c);
        hex += kHexDigits[value >> 4];
        hex += kHexDigits[value & 0xF];
    }
    return hex;
}

}  // namespace popmail
