#include "settings/SettingsStore.h"

#include "settings/IniPath.h"

namespace vantorel {

namespace {
constexpr std::string_view kSaveFolderName = "save";
}

std::string SettingsStore::filePath() {
    // Reads and writes resolve the name alike, so they always meet in one
    // file, whatever the letter case of the executable's name.
    return ResolveSettingsFile(app_.path(), app_.pathSeparator(), app_.exeName());
}

std::string SettingsStore::read(std::string_view section, std::string_view key,
                                std::string_view fallback) {
    return profile_.getString(section, key, fallback, filePath());
}

bool SettingsStore::write(std::string_view section, std::string_view key, std::string_view value) {
    return profile_.writeString(section, key, value, filePath());
}

platform::FileCondition SettingsStore::prepareFile() {
    return profile_.prepare(filePath());
}

std::string SettingsStore::saveFolder() {
    return JoinPath(app_.path(), app_.pathSeparator(), kSaveFolderName);
}

}  // namespace vantorel
