#include "settings/IniPath.h"

#include <gtest/gtest.h>

#include "fake/UniqueFolder.h"

#include <filesystem>
#include <fstream>

namespace vantorel {
namespace {

TEST(JoinPath, PutsOneSeparatorBetweenFolderAndName) {
    EXPECT_EQ(JoinPath("C:\\Tools", '\\', "Pollwick.ini"), "C:\\Tools\\Pollwick.ini");
    EXPECT_EQ(JoinPath("C:\\", '\\', "pollwick.ini"), "C:\\pollwick.ini");
    EXPECT_EQ(JoinPath("/opt/vantorel", '/', "vantorel.ini"), "/opt/vantorel/vantorel.ini");
    EXPECT_EQ(JoinPath("/", '/', "save"), "/save");
    EXPECT_EQ(JoinPath("C:\\Tools", '\\', "save"), "C:\\Tools\\save");
}

class SettingsFileLookup : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = vantorel::testing::MakeUniqueFolder(
            std::string("vantorel-inipath-") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    void touch(const std::string& name) { std::ofstream(folder_ / name) << "[x]\r\n"; }
    std::string resolve(const std::string& base) {
        return ResolveSettingsFile(folder_.string(), kSeparator, base);
    }
    std::string at(const std::string& name) { return (folder_ / name).string(); }

    // True where "A" and "a" name one file (Windows): there a second
    // spelling of an existing name reaches the first file.
    bool caseInsensitiveFileNames() {
        touch("case-probe");
        return std::filesystem::exists(folder_ / "CASE-PROBE");
    }

    static constexpr char kSeparator =
        static_cast<char>(std::filesystem::path::preferred_separator);
    std::filesystem::path folder_;
};

TEST_F(SettingsFileLookup, ANewFileGetsTheLowerCaseName) {
    EXPECT_EQ(resolve("Pollwick"), at("pollwick.ini"));
}

TEST_F(SettingsFileLookup, FindsAnExistingFileWhateverItsLetterCase) {
    touch("POLLWICK.INI");
    EXPECT_EQ(resolve("Pollwick"), at("POLLWICK.INI"));
}

TEST_F(SettingsFileLookup, PrefersTheLowerCaseNameThenTheExactName) {
    if (caseInsensitiveFileNames()) {
        GTEST_SKIP() << "one file answers to every spelling of its name here";
    }
    touch("POLLWICK.INI");
    touch("Pollwick.ini");
    EXPECT_EQ(resolve("Pollwick"), at("Pollwick.ini"));
    touch("pollwick.ini");
    EXPECT_EQ(resolve("Pollwick"), at("pollwick.ini"));
}

TEST_F(SettingsFileLookup, AnotherExecutableNameHasItsOwnFile) {
    touch("pollwick.ini");
    EXPECT_EQ(resolve("Renamed"), at("renamed.ini"));
}

}  // namespace
}  // namespace vantorel
