// On Windows, argv and the console use the ANSI or OEM code page, which
// cannot hold every character of a mail summary: the arguments come from
// the wide command line, and a console is read and written in UTF-16.
// Pipes and files carry UTF-8 bytes unchanged, with LF line ends as on
// Linux (tests read them so).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// clang-format off
#include <shellapi.h>
// clang-format on

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>

#include "popcheck/Console.h"

namespace popcheck {
namespace {

constexpr DWORD kReadChunk = 256;

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

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

void StripLineEnd(std::string& line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
}

}  // namespace

std::vector<std::string> Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        arguments.push_back(ToUtf8(wide[i]));
    }
    LocalFree(wide);
    return arguments;
}

std::string ReadLine() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (!IsConsole(input)) {
        std::string line;
        std::getline(std::cin, line);
        StripLineEnd(line);
        return line;
    }
    std::wstring line;
    wchar_t chunk[kReadChunk];
    DWORD got = 0;
    while (line.find(L'\n') == std::wstring::npos &&
           ReadConsoleW(input, chunk, kReadChunk, &got, nullptr) != 0 && got > 0) {
        line.append(chunk, got);
    }
    std::string utf8 = ToUtf8(line.substr(0, line.find(L'\n')));
    StripLineEnd(utf8);
    return utf8;
}

void Write(std::string_view text) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!IsConsole(output)) {
        static const bool binary = _setmode(_fileno(stdout), _O_BINARY) != -1;
        static_cast<void>(binary);
        std::cout << text;
        return;
    }
    std::cout.flush();
    const std::wstring wide = ToWide(text);
    DWORD written = 0;
    WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

}  // namespace popcheck
