#include "platform/posix/PosixAppInfo.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>

#include "app/Version.h"
#include "platform/posix/DlLibraryLoader.h"
#include "platform/posix/SettingsFolder.h"

namespace vantorel::posix {

namespace {

constexpr mode_t kFolderMode = 0755;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string HomeFolder() {
    std::string home = Environment("HOME");
    if (home.empty()) {
        if (const passwd* entry = getpwuid(getuid())) {
            home = entry->pw_dir != nullptr ? entry->pw_dir : "";
        }
    }
    return home.empty() ? "/" : home;
}

constexpr std::size_t kPathCapacity = 4096;

// The running executable's file name ("vantorel").
std::string ExecutableFileName() {
    std::array<char, kPathCapacity> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return {};
    }
    const std::string path(buffer.data(), static_cast<std::size_t>(length));
    return path.substr(path.rfind('/') + 1);
}

}  // namespace

SettingsFolderFacts GatherSettingsFolderFacts(const std::string& exeFolder) {
    SettingsFolderFacts facts;
    facts.exeFolder = exeFolder;
    facts.exeFolderWritable = CanCreateFileIn(exeFolder);
    facts.xdgConfigHome = Environment("XDG_CONFIG_HOME");
    facts.home = HomeFolder();
    return facts;
}

std::string PosixAppInfo::path() {
    if (!folder_) {
        std::string exeFolder = ExecutableFolder();
        if (exeFolder.empty()) {
            exeFolder = ".";
        }
        std::string chosen = ChooseSettingsFolder(GatherSettingsFolderFacts(exeFolder));
        if (chosen != exeFolder && !MakeFolders(chosen)) {
            std::fprintf(stderr, "vantorel: cannot create the settings folder %s\n",
                         chosen.c_str());
        }
        folder_ = chosen;
    }
    return *folder_;
}

std::string PosixAppInfo::exeName() {
    const std::string file = ExecutableFileName();
    const auto dot = file.rfind('.');
    const std::string base = dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
    return base.empty() ? std::string(kProductName) : base;
}

std::string PosixAppInfo::title() {
    return kProductName;
}

platform::VersionInfo PosixAppInfo::version() {
    return {kVersionMajor, kVersionMinor, kVersionRevision};
}

bool PosixFileSystem::exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

bool PosixFileSystem::createFolder(const std::string& path) {
    return mkdir(path.c_str(), kFolderMode) == 0;
}

void StderrDiagnostics::warn(const std::string& message) {
    std::fprintf(stderr, "vantorel: %s\n", message.c_str());
    std::fflush(stderr);
}

}  // namespace vantorel::posix
