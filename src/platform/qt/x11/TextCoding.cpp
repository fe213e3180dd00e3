#include "platform/qt/x11/TextCoding.h"

namespace vantorel::x11 {

namespace {
constexpr char32_t kLatin1Last = 0xFF;
constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kSurrogateFirst = 0xD800;
constexpr char32_t kSurrogateLast = 0xDFFF;
constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr unsigned char kEscape = 0x1B;
constexpr unsigned char kControlSequenceIntroducer = 0x9B;
constexpr unsigned char kIntermediateFirst = 0x20;
constexpr unsigned char kIntermediateLast = 0x2F;
constexpr unsigned char kParameterFirst = 0x30;
constexpr unsigned char kParameterLast = 0x3F;

// The smallest code point that needs a sequence of each length; anything
// below is an overlong encoding.
constexpr char32_t kMinimumForLength[] = {0, 0, 0x80, 0x800, 0x10000};

unsigned char Byte(char c) {
    return static_cast<unsigned char>(c);
}

int SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        return 4;
    }
    return 0;
}

// Decodes the code point at `pos`; on success advances `pos` past it.
// An invalid sequence leaves `pos` where it was.
std::optional<char32_t> DecodeAt(std::string_view text, std::size_t& pos) {
    const int length = SequenceLength(Byte(text[pos]));
    if (length == 0 || pos + static_cast<std::size_t>(length) > text.size()) {
        return std::nullopt;
    }
    if (length == 1) {
        return static_cast<char32_t>(Byte(text[pos++]));
    }
    constexpr unsigned char kLeadMasks[] = {0, 0, 0x1F, 0x0F, 0x07};
    char32_t code = Byte(text[pos]) & kLeadMasks[length];
    for (int i = 1; i < length; ++i) {
        const unsigned char next = Byte(text[pos + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < kMinimumForLength[length] || code > kLastCodePoint ||
        (code >= kSurrogateFirst && code <= kSurrogateLast)) {
        return std::nullopt;
    }
    pos += static_cast<std::size_t>(length);
    return code;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The length of the escape or control sequence starting at `pos`.
std::size_t SequenceToSkip(std::string_view text, std::size_t pos) {
    std::size_t end = pos + 1;
    if (Byte(text[pos]) == kControlSequenceIntroducer) {
        while (end < text.size() && Byte(text[end]) >= kParameterFirst &&
               Byte(text[end]) <= kParameterLast) {
            ++end;
        }
    }
    while (end < text.size() && Byte(text[end]) >= kIntermediateFirst &&
           Byte(text[end]) <= kIntermediateLast) {
        ++end;
    }
    return end < text.size() ? end + 1 - pos : text.size() - pos;  // the final byte
}
}  // namespace

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (const char c : latin1) {
        AppendUtf8(out, Byte(c));
    }
    return out;
}

std::optional<std::string> Utf8ToLatin1(std::string_view utf8) {
    std::string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto code = DecodeAt(utf8, pos);
        if (!code || *code > kLatin1Last) {
            return std::nullopt;
        }
        out += static_cast<char>(*code);
    }
    return out;
}

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        if (DecodeAt(text, pos)) {
            out.append(text.substr(start, pos - start));
        } else {
            AppendUtf8(out, kReplacement);
            ++pos;
        }
    }
    return out;
}

std::string CompoundTextAsLatin1(std::string_view compound) {
    std::string latin1;
    std::size_t pos = 0;
    while (pos < compound.size()) {
        const unsigned char c = Byte(compound[pos]);
        if (c == kEscape || c == kControlSequenceIntroducer) {
            pos += SequenceToSkip(compound, pos);
        } else {
            latin1 += compound[pos++];
        }
    }
    return Latin1ToUtf8(latin1);
}

}  // namespace vantorel::x11
