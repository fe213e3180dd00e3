#pragma once
// A new, empty folder under the system's temporary folder with a name no
// other process holds: creating it is what claims the name, so two runs of
// one test program (even with one random seed) never share a folder.

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vantorel::testing {

inline std::filesystem::path MakeUniqueFolder(std::string_view prefix) {
    // Random names collide only by chance; a few more draws settle that.
    constexpr int kAttempts = 100;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device random;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::filesystem::path candidate =
            base /
            (std::string(prefix) + "-" + std::to_string(random()) + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            return candidate;
        }
    }
    throw std::runtime_error("cannot make a folder of its own in " + base.string());
}

}  // namespace vantorel::testing
