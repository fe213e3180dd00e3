#pragma once
// What the program knows of itself on Windows, its folders, and where its
// diagnostics go.

#include "platform/AppInfo.h"

namespace vantorel::win32 {

class Win32AppInfo : public platform::AppInfo {
  public:
    std::string path() override;
    std::string exeName() override;
    std::string title() override;
    // From the executable's version resource; 0.0.0 when it has none.
    platform::VersionInfo version() override;
    char pathSeparator() override { return '\\'; }
};

class Win32FileSystem : public platform::FileSystem {
  public:
    bool exists(const std::string& path) override;
    bool createFolder(const std::string& path) override;
};

// To the debugger (OutputDebugString) and, when the program has one, to
// standard error.
class Win32Diagnostics : public platform::Diagnostics {
  public:
    void warn(const std::string& message) override;
};

// The running executable's full path, with long folder names.
std::wstring ExecutablePath();

}  // namespace vantorel::win32
