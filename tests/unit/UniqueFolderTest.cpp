#include "fake/UniqueFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace vantorel::testing {
namespace {

// Two test runs asking with one prefix (one test, one seed) must still get
// folders of their own, each new and empty.
TEST(UniqueFolder, EveryCallWithOnePrefixGetsANewEmptyFolder) {
    constexpr int kFolders = 20;
    std::set<std::filesystem::path> folders;
    for (int i = 0; i < kFolders; ++i) {
        const std::filesystem::path folder = MakeUniqueFolder("vantorel-unique-check");
        EXPECT_TRUE(std::filesystem::is_directory(folder));
        EXPECT_TRUE(std::filesystem::is_empty(folder));
        EXPECT_TRUE(folders.insert(folder).second) << folder << " was given twice";
        std::filesystem::create_directory(folder / "used");
    }
    for (const auto& folder : folders) {
        std::filesystem::remove_all(folder);
    }
}

}  // namespace
}  // namespace vantorel::testing
