#include "platform/win32/RunKeyAutostart.h"

#include <windows.h>

#include <vector>

#include "platform/win32/WideText.h"

namespace vantorel::win32 {

namespace {

// The longest command line a Run value may hold that we read.
constexpr DWORD kLargestValueBytes = 64 * 1024;
constexpr DWORD kFirstPathCapacity = MAX_PATH;
constexpr DWORD kLargestPath = 32768;  // the longest path Windows knows

std::string SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length != 0 ? std::wstring(text, length) : std::wstring();
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                                message.back() == L' ' || message.back() == L'.')) {
        message.pop_back();
    }
    return message.empty() ? "error " + std::to_string(error) : Narrow(message);
}

std::wstring ModulePath() {
    for (DWORD capacity = kFirstPathCapacity; capacity <= kLargestPath; capacity *= 2) {
        std::wstring path(capacity, L'\0');
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), capacity);
        if (length == 0) {
            return {};
        }
        if (length < capacity) {
            path.resize(length);
            return path;
        }
    }
    return {};
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    // Windows file names are compared without regard to case.
    return !a.empty() && CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

class OpenKey {
  public:
    OpenKey() = default;
    ~OpenKey() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

}  // namespace

std::wstring RunCommandProgram(const std::wstring& commandLine) {
    const std::size_t start = commandLine.find_first_not_of(L" \t");
    if (start == std::wstring::npos) {
        return {};
    }
    if (commandLine[start] == L'"') {
        const std::size_t close = commandLine.find(L'"', start + 1);
        return close == std::wstring::npos ? std::wstring()
                                           : commandLine.substr(start + 1, close - start - 1);
    }
    const std::size_t end = commandLine.find_first_of(L" \t", start);
    return commandLine.substr(start, end == std::wstring::npos ? end : end - start);
}

RunKeyAutostart RunKeyAutostart::ForThisProgram() {
    return RunKeyAutostart(kRunKeyPath, kRunValueName, ModulePath());
}

bool RunKeyAutostart::readValue(std::wstring& commandLine) const {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, keyPath_.c_str(), valueName_.c_str(), RRF_RT_REG_SZ,
                     nullptr, nullptr, &bytes) != ERROR_SUCCESS ||
        bytes == 0 || bytes > kLargestValueBytes) {
        return false;
    }
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, keyPath_.c_str(), valueName_.c_str(), RRF_RT_REG_SZ,
                     nullptr, buffer.data(), &bytes) != ERROR_SUCCESS) {
        return false;  // changed between the two reads: taken as none
    }
    commandLine.assign(buffer.data());
    return true;
}

bool RunKeyAutostart::namesThisProgram(const std::wstring& commandLine) const {
    // An unquoted path with blanks is what the user may have typed by hand:
    // the whole line naming this program counts too.
    return SamePath(executable_, RunCommandProgram(commandLine)) ||
           SamePath(executable_, commandLine);
}

std::string RunKeyAutostart::problem(long error) const {
    return "HKEY_CURRENT_USER\\" + Narrow(keyPath_) + " (" + Narrow(valueName_) +
           "): " + SystemMessage(static_cast<DWORD>(error));
}

bool RunKeyAutostart::registered() {
    std::wstring commandLine;
    return readValue(commandLine) && namesThisProgram(commandLine);
}

platform::AutostartOutcome RunKeyAutostart::add() {
    if (executable_.empty()) {
        return platform::AutostartOutcome::Failed("the program's own path is unknown");
    }
    OpenKey key;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0,
                                     KEY_SET_VALUE, nullptr, key.out(), nullptr);
    if (status != ERROR_SUCCESS) {
        return platform::AutostartOutcome::Failed(problem(status));
    }
    const std::wstring commandLine = L"\"" + executable_ + L"\"";
    const auto bytes = static_cast<DWORD>((commandLine.size() + 1) * sizeof(wchar_t));
    status = RegSetValueExW(key.get(), valueName_.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(commandLine.c_str()), bytes);
    if (status != ERROR_SUCCESS) {
        return platform::AutostartOutcome::Failed(problem(status));
    }
    return platform::AutostartOutcome::Done();
}

platform::AutostartOutcome RunKeyAutostart::remove() {
    std::wstring commandLine;
    if (!readValue(commandLine) || !namesThisProgram(commandLine)) {
        return platform::AutostartOutcome::Done();  // none, or another program's
    }
    OpenKey key;
    LSTATUS status =
        RegOpenKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_SET_VALUE, key.out());
    if (status == ERROR_SUCCESS) {
        status = RegDeleteValueW(key.get(), valueName_.c_str());
    }
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        return platform::AutostartOutcome::Failed(problem(status));
    }
    return platform::AutostartOutcome::Done();
}

}  // namespace vantorel::win32
