#include "platform/win32/Cp932Codec.h"

#include <windows.h>

#include "platform/win32/WideText.h"
#include "text/Utf8.h"

namespace vantorel::win32 {

namespace {

constexpr UINT kCodePage932 = 932;
constexpr wchar_t kReplacement = 0xFFFD;

// Single bytes that code page 932 has no character for, although the
// system's table passes them through as U+0080, U+F8F0 and U+F8F1-U+F8F3.
bool IsUnassignedSingleByte(BYTE byte) {
    return byte == 0x80 || byte == 0xA0 || byte >= 0xFD;
}

// The length of the CP932 character starting at `at`: 2 for a lead byte
// followed by another byte, else 1.
std::size_t CharLength(std::string_view bytes, std::size_t at) {
    const auto lead = static_cast<BYTE>(bytes[at]);
    return (IsDBCSLeadByteEx(kCodePage932, lead) && at + 1 < bytes.size()) ? 2 : 1;
}

bool HasUnassignedByte(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = CharLength(bytes, at);
        if (length == 1 && IsUnassignedSingleByte(static_cast<BYTE>(bytes[at]))) {
            return true;
        }
        at += length;
    }
    return false;
}

// UTF-16 of CP932 bytes, or nothing when a sequence is not CP932.
std::optional<std::wstring> StrictDecode(std::string_view bytes) {
    if (bytes.empty()) {
        return std::wstring();
    }
    if (HasUnassignedByte(bytes)) {
        return std::nullopt;
    }
    const int size = static_cast<int>(bytes.size());
    const int length =
        MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(),
                        length);
    return wide;
}

// Decodes one character at a time, so that only the bad ones are replaced.
std::wstring LenientDecode(std::string_view bytes) {
    std::wstring wide;
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t length = CharLength(bytes, at);
        auto decoded = StrictDecode(bytes.substr(at, length));
        if (!decoded && length == 2) {
            // A lead byte with a byte that cannot follow it: the lead byte
            // alone is bad, and the next byte starts afresh.
            length = 1;
        }
        wide += decoded ? *decoded : std::wstring(1, kReplacement);
        at += length;
    }
    return wide;
}

}  // namespace

std::optional<std::string> Cp932Codec::utf8ToCp932(std::string_view utf8) {
    if (utf8.empty()) {
        return std::string();
    }
    if (!text::IsValidUtf8(utf8)) {
        return std::nullopt;
    }
    const std::wstring wide = Widen(utf8);
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                           nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), length,
                        nullptr, &usedDefault);
    // Whatever the tables would turn into another character on the way
    // back is refused: a stored value must read back as written.
    const auto back = StrictDecode(bytes);
    if (usedDefault || !back || *back != wide) {
        return std::nullopt;
    }
    return bytes;
}

std::string Cp932Codec::cp932ToUtf8(std::string_view cp932) {
    if (auto wide = StrictDecode(cp932)) {
        return Narrow(*wide);
    }
    return Narrow(LenientDecode(cp932));
}

}  // namespace vantorel::win32
