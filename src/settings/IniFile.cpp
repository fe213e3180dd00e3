#include "settings/IniFile.h"

#include <system_error>

#include "platform/TemporaryName.h"

namespace vantorel::ini {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kAsideSuffix = ".unreadable";
// Far more than anyone keeps; the bound only ends the search in a folder
// that refuses every name.
constexpr int kMaxAsideNumber = 1000;

std::string Utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace

fs::path PathFromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

int RemoveStaleTemporaries(const std::string& path) {
    const fs::path file = PathFromUtf8(path);
    const std::string fileName = Utf8Of(file.filename());
    fs::path folder = file.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    int removed = 0;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (platform::IsTemporaryNameOf(Utf8Of(it->path().filename()), fileName) &&
            it->is_regular_file(ignored) && fs::remove(it->path(), ignored)) {
            ++removed;
        }
    }
    return removed;
}

std::string AsideName(const std::string& path, int number) {
    std::string name = path + std::string(kAsideSuffix);
    if (number > 1) {
        name += "-" + std::to_string(number);
    }
    return name;
}

bool KeepUnreadableFile(platform::FileStore& store, const std::string& path) {
    for (int number = 1; number <= kMaxAsideNumber; ++number) {
        switch (store.keepAside(path, AsideName(path, number))) {
            case platform::AsideOutcome::Kept:
                return true;
            case platform::AsideOutcome::NameTaken:
                break;
            case platform::AsideOutcome::Failed:
                return false;
        }
    }
    return false;
}

}  // namespace vantorel::ini
