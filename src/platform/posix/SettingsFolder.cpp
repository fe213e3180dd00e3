#include "platform/posix/SettingsFolder.h"

#include <sys/stat.h>

#include <cerrno>

namespace vantorel::posix {

namespace {
constexpr const char* kProgramFolder = "vantorel";
constexpr mode_t kPrivateFolderMode = 0700;  // settings hold a password

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
}  // namespace

std::string XdgConfigFolder(const std::string& xdgConfigHome, const std::string& home) {
    if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') {
        return xdgConfigHome;
    }
    return (home == "/" ? std::string() : home) + "/.config";
}

std::string ChooseSettingsFolder(const SettingsFolderFacts& facts) {
    if (facts.settingsFileWritable || facts.exeFolderWritable) {
        return facts.exeFolder;
    }
    return XdgConfigFolder(facts.xdgConfigHome, facts.home) + "/" + kProgramFolder;
}

bool MakeFolders(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string parent = path.substr(0, slash);
        if (mkdir(parent.c_str(), kPrivateFolderMode) != 0 && errno != EEXIST) {
            return false;
        }
    }
    if (mkdir(path.c_str(), kPrivateFolderMode) != 0 && errno != EEXIST) {
        return false;
    }
    return IsFolder(path);
}

}  // namespace vantorel::posix
