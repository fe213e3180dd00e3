#include "net/win32/SystemText.h"

#include <cstdio>

#include "net/win32/WindowsHeaders.h"

namespace popmail::net::win32 {
namespace {

// Codes with the top bit set (HRESULT, SECURITY_STATUS) read best in hex,
// Win32 and Winsock codes in decimal.
constexpr unsigned long kSeverityBit = 0x80000000UL;
constexpr std::size_t kCodeTextSize = 32;

std::wstring FormatSystemMessage(unsigned long code, DWORD language) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, language, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length > 0 ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.')) {
        message.pop_back();
    }
    return message;
}

std::string CodeText(unsigned long code) {
    char text[kCodeTextSize] = {};
    if ((code & kSeverityBit) != 0) {
        std::snprintf(text, sizeof text, "0x%08lX", code);
    } else {
        std::snprintf(text, sizeof text, "error %lu", code);
    }
    return text;
}

}  // namespace

std::string SystemErrorText(unsigned long code) {
    std::wstring message = FormatSystemMessage(code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (message.empty()) {
        message = FormatSystemMessage(code, 0);
    }
    if (message.empty()) {
        return CodeText(code);
    }
    return ToUtf8(message) + " (" + CodeText(code) + ")";
}

std::wstring ToWide(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int inLength = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, wide.data(), length);
    }
    return wide;
}

std::string ToUtf8(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int inLength = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), inLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), inLength, utf8.data(), length, nullptr,
                            nullptr);
    }
    return utf8;
}

}  // namespace popmail::net::win32
