#include "platform/posix/DlLibraryLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>

namespace vantorel::posix {

namespace {
constexpr std::size_t kPathCapacity = 4096;

std::string DlErrorText() {
    const char* error = dlerror();
    return error != nullptr ? error : "unknown error";
}
}  // namespace

std::string ExecutableFolder() {
    std::array<char, kPathCapacity> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return {};
    }
    std::string path(buffer.data(), static_cast<std::size_t>(length));
    const auto slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

void* DlLibraryLoader::load(const std::string& baseName) {
    const std::string fileName = "lib" + baseName + ".so";
    const std::string folder = ExecutableFolder();
    if (!folder.empty()) {
        const std::string beside = folder + (folder == "/" ? "" : "/") + fileName;
        if (void* library = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            return library;
        }
    }
    void* library = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        lastError_ = DlErrorText();
    }
    return library;
}

void* DlLibraryLoader::symbol(void* library, const char* name) {
    dlerror();
    void* address = dlsym(library, name);
    if (address == nullptr) {
        lastError_ = DlErrorText();
    }
    return address;
}

}  // namespace vantorel::posix
