#include "platform/qt/x11/TextCoding.h"

#include "text/Utf8.h"

namespace vantorel::x11 {

namespace {
constexpr char32_t kLatin1Last = 0xFF;
constexpr unsigned char kEscape = 0x1B;
constexpr unsigned char kControlSequenceIntroducer = 0x9B;
constexpr unsigned char kIntermediateFirst = 0x20;
constexpr unsigned char kIntermediateLast = 0x2F;
constexpr unsigned char kParameterFirst = 0x30;
constexpr unsigned char kParameterLast = 0x3F;

unsigned char Byte(char c) {
    return static_cast<unsigned char>(c);
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
        text::AppendUtf8(out, Byte(c));
    }
    return out;
}

std::optional<std::string> Utf8ToLatin1(std::string_view utf8) {
    std::string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto code = text::DecodeUtf8At(utf8, pos);
        if (!code || *code > kLatin1Last) {
            return std::nullopt;
        }
        out += static_cast<char>(*code);
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
