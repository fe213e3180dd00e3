#include "platform/win32/Win32LibraryLoader.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace vantorel::win32 {

std::string SystemErrorText(unsigned long code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length > 0 ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.')) {
        message.pop_back();
    }
    if (message.empty()) {
        return "error " + std::to_string(code);
    }
    return Narrow(message);
}

void* Win32LibraryLoader::load(const std::string& baseName) {
    const std::string fileName = baseName + ".dll";
    std::string folder = app_.path();
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    const std::string besideExe = folder + fileName;
    // Altered search path: the DLL's own imports are looked for in its folder.
    HMODULE module =
        LoadLibraryExW(Widen(besideExe).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module != nullptr) {
        return module;
    }
    const DWORD besideError = GetLastError();
    module = LoadLibraryW(Widen(fileName).c_str());
    if (module != nullptr) {
        return module;
    }
    lastError_ = besideExe + ": " + SystemErrorText(besideError) + "; " + fileName + ": " +
                 SystemErrorText(GetLastError());
    return nullptr;
}

void* Win32LibraryLoader::symbol(void* library, const char* symbol) {
    FARPROC address = GetProcAddress(static_cast<HMODULE>(library), symbol);
    if (address == nullptr) {
        lastError_ = std::string(symbol) + ": " + SystemErrorText(GetLastError());
        return nullptr;
    }
    return reinterpret_cast<void*>(address);
}

}  // namespace vantorel::win32
