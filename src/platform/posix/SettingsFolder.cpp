#include "platform/posix/SettingsFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/TemporaryName.h"

namespace vantorel::posix {

namespace {
constexpr const char* kProgramFolder = "vantorel";
constexpr mode_t kPrivateFolderMode = 0700;  // settings hold a password
constexpr mode_t kProbeMode = 0600;
constexpr std::string_view kProbeName = "/.vantorel-probe";

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
    if (facts.exeFolderWritable) {
        return facts.exeFolder;
    }
    return XdgConfigFolder(facts.xdgConfigHome, facts.home) + "/" + kProgramFolder;
}

bool CanCreateFileIn(const std::string& folder) {
    // A hidden name with a random part: never a file that is already there.
    const std::string probe = platform::TemporaryNameFor(folder + std::string(kProbeName),
                                                         platform::RandomTemporaryNumber());
    const int fd =
        open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kProbeMode);
    if (fd < 0) {
        return false;
    }
    close(fd);
    unlink(probe.c_str());
    return true;
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
