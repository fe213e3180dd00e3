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

#include "net/win32/SystemText.h"
#include "popcheck/Console.h"

namespace popcheck {
namespace {

using popmail::net::win32::ToUtf8;
using popmail::net::win32::ToWide;

constexpr DWORD kReadChunk = 256;

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
