#pragma once
// Starting with the session on Windows: a value in the user's "Run" key
// (HKCU\Software\Microsoft\Windows\CurrentVersion\Run) named "Vantorel",
// holding this program's executable path in quotes, so that a path with
// spaces starts the right file.

#include <string>
#include <utility>

#include "platform/SessionAutostart.h"

namespace vantorel::win32 {

inline constexpr const wchar_t* kRunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const wchar_t* kRunValueName = L"Vantorel";

// The program that a Run value's command line starts: the text inside its
// leading quotes, or up to its first blank when it has none.
std::wstring RunCommandProgram(const std::wstring& commandLine);

class RunKeyAutostart : public platform::SessionAutostart {
  public:
    // `keyPath` under HKEY_CURRENT_USER, the value's name and this program's
    // full path.
    RunKeyAutostart(std::wstring keyPath, std::wstring valueName, std::wstring executable)
        : keyPath_(std::move(keyPath)),
          valueName_(std::move(valueName)),
          executable_(std::move(executable)) {}

    // The "Vantorel" value of the user's Run key, for the running executable.
    static RunKeyAutostart ForThisProgram();

    bool registered() override;
    platform::AutostartOutcome add() override;
    platform::AutostartOutcome remove() override;

  private:
    // The value's command line, when there is one of text type.
    bool readValue(std::wstring& commandLine) const;
    bool namesThisProgram(const std::wstring& commandLine) const;
    std::string problem(long error) const;

    std::wstring keyPath_;
    std::wstring valueName_;
    std::wstring executable_;
};

}  // namespace vantorel::win32
