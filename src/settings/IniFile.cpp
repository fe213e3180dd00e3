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

std::optional<KeptFile> KeepUnreadableFile(platform::FileStore& store, const std::string& path) {
    for (int number = 1; number <= kMaxAsideNumber; ++number) {
        const std::string aside = AsideName(path, number);
        switch (store.keepAside(path, aside)) {
            case platform::AsideOutcome::Kept:
                return KeptFile{aside, false};
            case platform::AsideOutcome::Moved:
                return KeptFile{aside, true};
            case platform::AsideOutcome::NameTaken:
                break;
            case platform::AsideOutcome::Failed:
                return std::nullopt;
        }
    }
    return std::nullopt;
}

void UndoKeep(const KeptFile& kept, const std::string& path) {
    std::error_code ignored;
    if (kept.moved) {
        fs::rename(PathFromUtf8(kept.asidePath), PathFromUtf8(path), ignored);
    } else {
        fs::remove(PathFromUtf8(kept.asidePath), ignored);
    }
}

}  // namespace vantorel::ini
