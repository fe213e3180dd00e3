#include "platform/posix/UserSession.h"

#include <pwd.h>
#include <unistd.h>

#include <array>
#include <cstdlib>

namespace vantorel::posix {

namespace {

constexpr std::size_t kPathCapacity = 4096;

}  // namespace

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

std::string RunningExecutable() {
    std::array<char, kPathCapacity> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    return length > 0 ? std::string(buffer.data(), static_cast<std::size_t>(length)) : "";
}

}  // namespace vantorel::posix
