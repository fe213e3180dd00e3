#include "platform/win32/Win32AppInfo.h"

#include <windows.h>

#include <vector>

#include "platform/Version.h"
#include "platform/win32/WideText.h"

namespace vantorel::win32 {

namespace {

constexpr DWORD kFirstPathBuffer = MAX_PATH;
constexpr DWORD kLongestPath = 32768;  // the longest path Windows knows

// Calls `get(buffer, size)` with a growing buffer until the text fits.
template <typename Get>
std::wstring GrowingBuffer(Get get) {
    for (DWORD size = kFirstPathBuffer; size <= kLongestPath; size *= 2) {
        std::wstring buffer(size, L'\0');
        const DWORD length = get(buffer.data(), size);
        if (length == 0) {
            return {};
        }
        if (length < size) {
            buffer.resize(length);
            return buffer;
        }
    }
    return {};
}

std::wstring::size_type LastSeparator(const std::wstring& path) {
    return path.find_last_of(L"\\/");
}

}  // namespace

std::wstring ExecutablePath() {
    const std::wstring path = GrowingBuffer(
        [](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
    // A folder given in its short 8.3 form is given its long names, so that
    // the settings file is found under one name whichever way we started.
    const std::wstring longPath = GrowingBuffer(
        [&](wchar_t* buffer, DWORD size) { return GetLongPathNameW(path.c_str(), buffer, size); });
    return longPath.empty() ? path : longPath;
}

std::string Win32AppInfo::path() {
    const std::wstring exe = ExecutablePath();
    const auto separator = LastSeparator(exe);
    if (separator == std::wstring::npos) {
        return ".";
    }
    std::wstring folder = exe.substr(0, separator);
    // A drive root keeps its backslash ("C:\"), so that it stays a root.
    if (folder.size() == 2 && folder[1] == L':') {
        folder += L'\\';
    }
    return Narrow(folder);
}

std::string Win32AppInfo::exeName() {
    const std::wstring exe = ExecutablePath();
    const auto separator = LastSeparator(exe);
    std::wstring name = separator == std::wstring::npos ? exe : exe.substr(separator + 1);
    const auto dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0) {
        name.resize(dot);
    }
    return Narrow(name);
}

std::string Win32AppInfo::title() {
    return kProductName;
}

platform::VersionInfo Win32AppInfo::version() {
    const std::wstring exe = ExecutablePath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    if (size == 0) {
        return {};
    }
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(exe.c_str(), 0, size, data.data())) {
        return {};
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) ||
        fixed == nullptr || fixedSize < sizeof(VS_FIXEDFILEINFO)) {
        return {};
    }
    return {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
            HIWORD(fixed->dwFileVersionLS)};
}

bool Win32FileSystem::exists(const std::string& path) {
    return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::createFolder(const std::string& path) {
    return CreateDirectoryW(Widen(path).c_str(), nullptr) != FALSE;
}

void Win32Diagnostics::warn(const std::string& message) {
    const std::wstring line = Widen("Vantorel: " + message + "\n");
    OutputDebugStringW(line.c_str());

    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) {
        return;  // no console and nothing redirected: a plain GUI start
    }
    DWORD written = 0;
    DWORD mode = 0;
    if (GetConsoleMode(error, &mode)) {
        WriteConsoleW(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    const std::string utf8 = "Vantorel: " + message + "\n";
    WriteFile(error, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace vantorel::win32
