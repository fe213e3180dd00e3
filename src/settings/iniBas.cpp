#include "settings/iniBas.h"

#include "settings/IniPath.h"

namespace vantorel {

namespace {
constexpr std::string_view kSaveFolderName = "save";
}

std::string iniBas::FilePath() {
    // Reads and writes resolve the name alike, so they always meet in one
    // file, whatever the letter case of the executable's name.
    return ResolveSettingsFile(app_.path(), app_.pathSeparator(), app_.exeName());
}

std::string iniBas::ReadIni(std::string_view section, std::string_view key,
                            std::string_view fallback) {
    return profile_.getString(section, key, fallback, FilePath());
}

bool iniBas::WriteIni(std::string_view section, std::string_view key, std::string_view value) {
    return profile_.writeString(section, key, value, FilePath());
}

platform::FileCondition iniBas::PrepareFile() {
    return profile_.prepare(FilePath());
}

std::string iniBas::SaveFolder() {
    return JoinPath(app_.path(), app_.pathSeparator(), kSaveFolderName);
}

}  // namespace vantorel
