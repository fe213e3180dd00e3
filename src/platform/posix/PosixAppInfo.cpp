#include "platform/posix/PosixAppInfo.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/Version.h"
#include "platform/posix/DlLibraryLoader.h"
#include "platform/posix/SettingsFolder.h"
#include "platform/posix/UserSession.h"

namespace vantorel::posix {

namespace {

constexpr mode_t kFolderMode = 0755;

// The running executable's file name ("vantorel").
std::string ExecutableFileName() {
    const std::string path = RunningExecutable();
    const std::string_view view(path);
    return std::string(view.substr(view.rfind('/') + 1));
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
        const std::string found = ExecutableFolder();
        const std::string exeFolder = found.empty() ? std::string(".") : found;
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
