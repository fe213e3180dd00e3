#include "decode/Utf8.h"

#include <cstdint>
#include <optional>

namespace popmail::decode {
namespace {

constexpr char32_t kMaxCodePoint = 0x10FFFF;
constexpr char32_t kSurrogateFirst = 0xD800;
constexpr char32_t kSurrogateLast = 0xDFFF;
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kLastC0Control = 0x1F;
constexpr char32_t kFirstC1Control = 0x80;
constexpr char32_t kLastC1Control = 0x9F;
constexpr std::string_view kEllipsis = "\u2026";

struct DecodedChar {
    char32_t codePoint;
    std::size_t length;
};

constexpr bool IsContinuation(std::uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the sequence a lead byte announces and the smallest code point
// that length may carry (anything below is an overlong form).
struct LeadInfo {
    std::size_t length;
    char32_t payload;
    char32_t minimum;
};

std::optional<LeadInfo> ReadLead(std::uint8_t lead) {
    if (lead < 0x80) {
        return LeadInfo{1, lead, 0};
    }
    if ((lead & 0xE0) == 0xC0) {
        return LeadInfo{2, static_cast<char32_t>(lead & 0x1F), 0x80};
    }
    if ((lead & 0xF0) == 0xE0) {
        return LeadInfo{3, static_cast<char32_t>(lead & 0x0F), 0x800};
    }
    if ((lead & 0xF8) == 0xF0) {
        return LeadInfo{4, static_cast<char32_t>(lead & 0x07), 0x10000};
    }
    return std::nullopt;
}

// The well-formed character starting at `pos`, or nullopt.
std::optional<DecodedChar> DecodeAt(std::string_view bytes, std::size_t pos) {
    const auto lead = ReadLead(static_cast<std::uint8_t>(bytes[pos]));
    if (!lead || bytes.size() - pos < lead->length) {
        return std::nullopt;
    }
    char32_t codePoint = lead->payload;
    for (std::size_t i = 1; i < lead->length; ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes[pos + i]);
        if (!IsContinuation(byte)) {
            return std::nullopt;
        }
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    const bool surrogate = codePoint >= kSurrogateFirst && codePoint <= kSurrogateLast;
    if (codePoint < lead->minimum || codePoint > kMaxCodePoint || surrogate) {
        return std::nullopt;
    }
    return DecodedChar{codePoint, lead->length};
}

bool IsControl(char32_t codePoint) {
    return codePoint <= kLastC0Control || codePoint == kDelete ||
           (codePoint >= kFirstC1Control && codePoint <= kLastC1Control);
}

}  // namespace

void AppendUtf8(std::string& out, char32_t codePoint) {
    const auto put = [&out](char32_t bits) { out.push_back(static_cast<char>(bits)); };
    if (codePoint > kMaxCodePoint ||
        (codePoint >= kSurrogateFirst && codePoint <= kSurrogateLast)) {
        codePoint = kReplacementCharacter;
    }
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | (codePoint >> 6));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        put(0xE0 | (codePoint >> 12));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | (codePoint >> 18));
        put(0x80 | ((codePoint >> 12) & 0x3F));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        const auto decoded = DecodeAt(bytes, pos);
        if (!decoded) {
            return false;
        }
        pos += decoded->length;
    }
    return true;
}

std::string RepairUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        if (const auto decoded = DecodeAt(bytes, pos)) {
            out.append(bytes.substr(pos, decoded->length));
            pos += decoded->length;
        } else {
            AppendUtf8(out, kReplacementCharacter);
            ++pos;
        }
    }
    return out;
}

std::string ControlsToSpaces(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto decoded = DecodeAt(utf8, pos);
        if (!decoded) {
            AppendUtf8(out, kReplacementCharacter);
            ++pos;
            continue;
        }
        if (IsControl(decoded->codePoint)) {
            out.push_back(' ');
        } else {
            out.append(utf8.substr(pos, decoded->length));
        }
        pos += decoded->length;
    }
    return out;
}

std::string TruncateUtf8(std::string_view utf8, std::size_t maxBytes) {
    if (utf8.size() <= maxBytes) {
        return std::string(utf8);
    }
    std::size_t cut = maxBytes > kEllipsis.size() ? maxBytes - kEllipsis.size() : 0;
    while (cut > 0 && IsContinuation(static_cast<std::uint8_t>(utf8[cut]))) {
        --cut;
    }
    std::string out(utf8.substr(0, cut));
    out.append(kEllipsis);
    return out;
}

}  // namespace popmail::decode
