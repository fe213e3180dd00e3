#include "text/Utf8.h"

namespace vantorel::text {

namespace {

constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuationTag = 0x80;
constexpr char32_t kMaxCodePoint = 0x10FFFF;
constexpr char32_t kSurrogateFirst = 0xD800;
constexpr char32_t kSurrogateLast = 0xDFFF;
constexpr int kBitsPerContinuation = 6;
constexpr unsigned char kPayloadMask = 0x3F;

// The largest code point each sequence length holds, and the tag bits of a
// lead byte of that length.
constexpr char32_t kMaxOneByte = 0x7F;
constexpr char32_t kMaxTwoBytes = 0x7FF;
constexpr char32_t kMaxThreeBytes = 0xFFFF;
constexpr unsigned char kTwoByteTag = 0xC0;
constexpr unsigned char kThreeByteTag = 0xE0;
constexpr unsigned char kFourByteTag = 0xF0;

struct LeadByte {
    int length;        // bytes of the whole sequence, 0 when not a lead byte
    char32_t payload;  // the code point bits the lead byte carries
    char32_t minimum;  // smallest code point this length may encode
};

LeadByte DecodeLead(unsigned char byte) {
    if (byte < 0x80) {
        return {1, byte, 0};
    }
    if ((byte & 0xE0) == 0xC0) {
        return {2, static_cast<char32_t>(byte & 0x1F), 0x80};
    }
    if ((byte & 0xF0) == 0xE0) {
        return {3, static_cast<char32_t>(byte & 0x0F), 0x800};
    }
    if ((byte & 0xF8) == 0xF0) {
        return {4, static_cast<char32_t>(byte & 0x07), 0x10000};
    }
    return {0, 0, 0};
}

struct Decoded {
    std::size_t length = 0;  // 0 when the bytes are not a character
    char32_t codePoint = 0;
};

Decoded DecodeFront(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const LeadByte lead = DecodeLead(static_cast<unsigned char>(bytes.front()));
    const auto length = static_cast<std::size_t>(lead.length);
    if (length == 0 || bytes.size() < length) {
        return {};
    }
    char32_t codePoint = lead.payload;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if ((byte & kContinuationMask) != kContinuationTag) {
            return {};
        }
        codePoint = (codePoint << kBitsPerContinuation) | (byte & kPayloadMask);
    }
    const bool surrogate = codePoint >= kSurrogateFirst && codePoint <= kSurrogateLast;
    if (codePoint < lead.minimum || codePoint > kMaxCodePoint || surrogate) {
        return {};
    }
    return {length, codePoint};
}

char ContinuationByte(char32_t codePoint, int shift) {
    return static_cast<char>(kContinuationTag | ((codePoint >> shift) & kPayloadMask));
}

}  // namespace

std::size_t Utf8CharacterLength(std::string_view bytes) {
    return DecodeFront(bytes).length;
}

std::optional<char32_t> DecodeUtf8At(std::string_view bytes, std::size_t& pos) {
    const Decoded decoded = DecodeFront(bytes.substr(pos));
    if (decoded.length == 0) {
        return std::nullopt;
    }
    pos += decoded.length;
    return decoded.codePoint;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    constexpr int kOne = kBitsPerContinuation;
    constexpr int kTwo = 2 * kBitsPerContinuation;
    constexpr int kThree = 3 * kBitsPerContinuation;
    if (codePoint <= kMaxOneByte) {
        out += static_cast<char>(codePoint);
    } else if (codePoint <= kMaxTwoBytes) {
        out += static_cast<char>(kTwoByteTag | (codePoint >> kOne));
        out += ContinuationByte(codePoint, 0);
    } else if (codePoint <= kMaxThreeBytes) {
        out += static_cast<char>(kThreeByteTag | (codePoint >> kTwo));
        out += ContinuationByte(codePoint, kOne);
        out += ContinuationByte(codePoint, 0);
    } else {
        out += static_cast<char>(kFourByteTag | (codePoint >> kThree));
        out += ContinuationByte(codePoint, kTwo);
        out += ContinuationByte(codePoint, kOne);
        out += ContinuationByte(codePoint, 0);
    }
}

std::string SanitizeUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t length = Utf8CharacterLength(bytes);
        if (length == 0) {
            text += kReplacementCharacter;
            bytes.remove_prefix(1);
        } else {
            text += bytes.substr(0, length);
            bytes.remove_prefix(length);
        }
    }
    return text;
}

bool IsValidUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t length = Utf8CharacterLength(bytes);
        if (length == 0) {
            return false;
        }
        bytes.remove_prefix(length);
    }
    return true;
}

bool HasReplacementCharacter(std::string_view text) {
    return text.find(kReplacementCharacter) != std::string_view::npos;
}

std::string_view CutAtCharacter(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t end = maxBytes;
    while (end > 0 &&
           (static_cast<unsigned char>(text[end]) & kContinuationMask) == kContinuationTag) {
        --end;
    }
    return text.substr(0, end);
}

}  // namespace vantorel::text
