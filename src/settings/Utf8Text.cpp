#include "settings/Utf8Text.h"

namespace vantorel {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuationTag = 0x80;
constexpr char32_t kMaxCodePoint = 0x10FFFF;
constexpr char32_t kSurrogateFirst = 0xD800;
constexpr char32_t kSurrogateLast = 0xDFFF;
constexpr int kBitsPerContinuation = 6;
constexpr unsigned char kPayloadMask = 0x3F;

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

// The length of the valid UTF-8 character at the start of `bytes`, or 0.
std::size_t ValidCharacterLength(std::string_view bytes) {
    const LeadByte lead = DecodeLead(static_cast<unsigned char>(bytes.front()));
    const auto length = static_cast<std::size_t>(lead.length);
    if (length == 0 || bytes.size() < length) {
        return 0;
    }
    char32_t codePoint = lead.payload;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if ((byte & kContinuationMask) != kContinuationTag) {
            return 0;
        }
        codePoint = (codePoint << kBitsPerContinuation) | (byte & kPayloadMask);
    }
    const bool surrogate = codePoint >= kSurrogateFirst && codePoint <= kSurrogateLast;
    if (codePoint < lead.minimum || codePoint > kMaxCodePoint || surrogate) {
        return 0;
    }
    return length;
}

}  // namespace

std::string SanitizeUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t length = ValidCharacterLength(bytes);
        if (length == 0) {
            text += kReplacement;
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
        const std::size_t length = ValidCharacterLength(bytes);
        if (length == 0) {
            return false;
        }
        bytes.remove_prefix(length);
    }
    return true;
}

bool HasReplacementCharacter(std::string_view text) {
    return text.find(kReplacement) != std::string_view::npos;
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

}  // namespace vantorel
