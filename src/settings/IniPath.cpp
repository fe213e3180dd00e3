#include "settings/IniPath.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "text/AsciiCase.h"

namespace vantorel {

namespace {

constexpr std::string_view kIniExtension = ".ini";

std::filesystem::path Utf8Path(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Name(const std::filesystem::path& path) {
    const std::u8string name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

// File names in `folder` that equal `wanted` without regard to ASCII case.
std::vector<std::string> CaseVariants(std::string_view folder, std::string_view wanted) {
    std::vector<std::string> found;
    const std::string wantedLower = text::AsciiLower(wanted);
    std::error_code error;
    std::filesystem::directory_iterator it(Utf8Path(folder), error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::string name = Utf8Name(it->path());
        if (name.size() == wanted.size() && text::AsciiLower(name) == wantedLower) {
            found.push_back(name);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

std::string JoinPath(std::string_view folder, char separator, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != separator) {
        path += separator;
    }
    path += name;
    return path;
}

std::string ResolveSettingsFile(std::string_view folder, char separator,
                                std::string_view baseName) {
    const std::string exact = std::string(baseName) + std::string(kIniExtension);
    const std::string lower = text::AsciiLower(exact);
    const std::vector<std::string> variants = CaseVariants(folder, exact);
    auto has = [&](const std::string& name) {
        return std::find(variants.begin(), variants.end(), name) != variants.end();
    };
    std::string chosen = lower;
    if (!has(lower)) {
        if (has(exact)) {
            chosen = exact;
        } else if (!variants.empty()) {
            chosen = variants.front();
        }
    }
    return JoinPath(folder, separator, chosen);
}

}  // namespace vantorel
