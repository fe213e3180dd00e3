#pragma once
// The program's knowledge of itself on a POSIX system, its file-system
// needs and its messages on standard error.

#include <optional>
#include <string>

#include "platform/AppInfo.h"
#include "platform/posix/SettingsFolder.h"

namespace vantorel::posix {

class PosixAppInfo : public platform::AppInfo {
  public:
    // The folder is chosen at the first call and kept for the whole run, so
    // that every read and write of the settings file meets the same file.
    std::string path() override;
    std::string exeName() override;
    std::string title() override;
    platform::VersionInfo version() override;
    char pathSeparator() override { return '/'; }

  private:
    std::optional<std::string> folder_;
};

// The facts the settings-folder rule needs, read from the running system.
SettingsFolderFacts GatherSettingsFolderFacts(const std::string& exeFolder);

class PosixFileSystem : public platform::FileSystem {
  public:
    bool exists(const std::string& path) override;
    bool createFolder(const std::string& path) override;
};

class StderrDiagnostics : public platform::Diagnostics {
  public:
    void warn(const std::string& message) override;
};

}  // namespace vantorel::posix
