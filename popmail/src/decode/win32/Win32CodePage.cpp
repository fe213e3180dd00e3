// ConvertCodePage through the Windows code page tables. Only the fixed code
// page numbers below ever reach MultiByteToWideChar.
#include <windows.h>

#include <array>
#include <climits>

#include "decode/CodePage.h"

namespace popmail::decode {
namespace {

constexpr std::size_t kCodePageCount = static_cast<std::size_t>(CodePage::Koi8R) + 1;

// Windows has no table for ISO-8859-10 and ISO-8859-14.
constexpr UINT kNoCodePage = 0;

// Windows code page numbers, in CodePage order. ISO-8859-11 is read through
// its superset 874; its C1 bytes never get there (see CodePageText.cpp).
constexpr std::array<UINT, kCodePageCount> kWindowsCodePages{
    932,   28591,       28592, 28593, 28594,       28595, 28596, 28597, 28598,
    28599, kNoCodePage, 874,   28603, kNoCodePage, 28605, 1250,  1251,  1252,
    1253,  1254,        1255,  1256,  1257,        1258,  20866,
};

UINT WindowsCodePage(CodePage page) {
    return kWindowsCodePages[static_cast<std::size_t>(page)];
}

std::optional<std::wstring> ToUtf16(UINT codePage, std::string_view bytes) {
    const int inLength = static_cast<int>(bytes.size());
    const int length =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), inLength, wide.data(),
                            length) != length) {
        return std::nullopt;
    }
    return wide;
}

std::optional<std::string> ToUtf8(const std::wstring& wide) {
    const int inLength = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), inLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return std::nullopt;
    }
    std::string out(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, wide.data(), inLength, out.data(), length, nullptr,
                            nullptr) != length) {
        return std::nullopt;
    }
    return out;
}

}  // namespace

bool CodePageAvailable(CodePage page) {
    const UINT codePage = WindowsCodePage(page);
    return codePage != kNoCodePage && IsValidCodePage(codePage) != 0;
}

std::optional<std::string> ConvertCodePage(CodePage page, std::string_view bytes) {
    if (bytes.empty()) {
        return std::string();
    }
    if (!CodePageAvailable(page) || bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        return std::nullopt;
    }
    const auto wide = ToUtf16(WindowsCodePage(page), bytes);
    return wide ? ToUtf8(*wide) : std::nullopt;
}

}  // namespace popmail::decode
