#include "decode/CodePageText.h"

#include <array>
#include <cstdint>

#include "decode/Utf8.h"

namespace popmail::decode {
namespace {

enum class UnitKind {
    Character,  // handed to the platform converter
    Invalid,    // becomes U+FFFD
    C1Control,  // an ISO-8859 byte 0x80-0x9F: the C1 control of the same number
};

struct Unit {
    std::size_t length;
    UnitKind kind;
};

constexpr std::size_t kCodePageCount = static_cast<std::size_t>(CodePage::Koi8R) + 1;

// Bytes each single-byte code page leaves unassigned. Windows maps some of
// them to C1 controls or private-use characters where iconv refuses them, so
// they are replaced here, before either sees them. In CodePage order.
constexpr std::array<std::string_view, kCodePageCount> kUnassignedBytes{
    "",  // CP932 is split into characters by its own rules
    "",
    "",
    "\xA5\xAE\xBE\xC3\xD0\xE3\xF0",
    "",
    "",
    "\xA1\xA2\xA3\xA5\xA6\xA7\xA8\xA9\xAA\xAB\xAE\xAF\xB0\xB1\xB2\xB3\xB4\xB5\xB6\xB7\xB8\xB9"
    "\xBA\xBC\xBD\xBE\xC0\xDB\xDC\xDD\xDE\xDF\xF3\xF4\xF5\xF6\xF7\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xFF",
    "\xAE\xD2\xFF",
    "\xA1\xBF\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3"
    "\xD4\xD5\xD6\xD7\xD8\xD9\xDA\xDB\xDC\xDD\xDE\xFB\xFC\xFF",
    "",
    "",
    "\xDB\xDC\xDD\xDE\xFC\xFD\xFE\xFF",
    "",
    "",
    "",
    "\x81\x83\x88\x90\x98",
    "\x98",
    "\x81\x8D\x8F\x90\x9D",
    "\x81\x88\x8A\x8C\x8D\x8E\x8F\x90\x98\x9A\x9C\x9D\x9E\x9F\xAA\xD2\xFF",
    "\x81\x8D\x8E\x8F\x90\x9D\x9E",
    "\x81\x8A\x8C\x8D\x8E\x8F\x90\x9A\x9C\x9D\x9E\x9F\xCA\xD9\xDA\xDB\xDC\xDD\xDE\xDF\xFB\xFC\xFF",
    "",
    "\x81\x83\x88\x8A\x8C\x90\x98\x9A\x9C\x9F\xA1\xA5",
    "\x81\x8A\x8D\x8E\x8F\x90\x9A\x9D\x9E",
    "",
};

constexpr std::uint8_t kFirstHighByte = 0x80;
constexpr std::uint8_t kLastC1Byte = 0x9F;

// CP932: ASCII and half-width katakana are one byte; a lead byte takes one
// trail byte.
constexpr bool IsCp932SingleByte(std::uint8_t byte) {
    return byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF);
}
constexpr bool IsCp932Lead(std::uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
constexpr bool IsCp932Trail(std::uint8_t byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

bool IsIso8859(CodePage page) {
    return page >= CodePage::Iso8859_1 && page <= CodePage::Iso8859_15;
}

std::uint8_t ByteAt(std::string_view bytes, std::size_t pos) {
    return static_cast<std::uint8_t>(bytes[pos]);
}

Unit NextCp932Unit(std::string_view bytes, std::size_t pos) {
    const std::uint8_t byte = ByteAt(bytes, pos);
    if (IsCp932SingleByte(byte)) {
        return {1, UnitKind::Character};
    }
    if (IsCp932Lead(byte) && pos + 1 < bytes.size() && IsCp932Trail(ByteAt(bytes, pos + 1))) {
        return {2, UnitKind::Character};
    }
    return {1, UnitKind::Invalid};
}

Unit NextSingleByteUnit(CodePage page, std::string_view bytes, std::size_t pos) {
    const std::uint8_t byte = ByteAt(bytes, pos);
    if (kUnassignedBytes[static_cast<std::size_t>(page)].find(static_cast<char>(byte)) !=
        std::string_view::npos) {
        return {1, UnitKind::Invalid};
    }
    if (IsIso8859(page) && byte >= kFirstHighByte && byte <= kLastC1Byte) {
        return {1, UnitKind::C1Control};
    }
    return {1, UnitKind::Character};
}

Unit NextUnit(CodePage page, std::string_view bytes, std::size_t pos) {
    return page == CodePage::Cp932 ? NextCp932Unit(bytes, pos)
                                   : NextSingleByteUnit(page, bytes, pos);
}

// Converts a run of well-formed characters. Should the platform refuse the
// run (a well-formed but unassigned CP932 code), it goes character by
// character so that only the unassigned ones become U+FFFD.
void AppendRun(CodePage page, std::string_view run, std::string& out) {
    if (run.empty()) {
        return;
    }
    if (const auto converted = ConvertCodePage(page, run)) {
        out.append(*converted);
        return;
    }
    for (std::size_t pos = 0; pos < run.size();) {
        const Unit unit = NextUnit(page, run, pos);
        const auto converted = ConvertCodePage(page, run.substr(pos, unit.length));
        if (converted) {
            out.append(*converted);
        } else {
            AppendUtf8(out, kReplacementCharacter);
        }
        pos += unit.length;
    }
}

}  // namespace

std::optional<std::string> CodePageToUtf8(CodePage page, std::string_view bytes) {
    if (!CodePageAvailable(page)) {
        return std::nullopt;
    }
    std::string out;
    std::size_t runStart = 0;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const Unit unit = NextUnit(page, bytes, pos);
        if (unit.kind == UnitKind::Character) {
            pos += unit.length;
            continue;
        }
        AppendRun(page, bytes.substr(runStart, pos - runStart), out);
        if (unit.kind == UnitKind::Invalid) {
            AppendUtf8(out, kReplacementCharacter);
        } else {
            AppendUtf8(out, ByteAt(bytes, pos));
        }
        pos += unit.length;
        runStart = pos;
    }
    AppendRun(page, bytes.substr(runStart), out);
    return out;
}

}  // namespace popmail::decode
