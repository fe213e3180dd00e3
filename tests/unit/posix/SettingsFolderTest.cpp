#include "platform/posix/SettingsFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "fake/UniqueFolder.h"
#include "platform/posix/PosixAppInfo.h"

namespace vantorel::posix {
namespace {

namespace fs = std::filesystem;

SettingsFolderFacts Facts(bool folderWritable) {
    SettingsFolderFacts facts;
    facts.exeFolder = "/usr/local/bin";
    facts.exeFolderWritable = folderWritable;
    facts.xdgConfigHome = "";
    facts.home = "/home/hana";
    return facts;
}

TEST(SettingsFolder, StaysBesideTheExecutableWhenItCanCreateFilesThere) {
    EXPECT_EQ(ChooseSettingsFolder(Facts(true)), "/usr/local/bin");
}

TEST(SettingsFolder, MovesToTheConfigurationFolderWhenTheExecutableFolderIsReadOnly) {
    auto facts = Facts(false);
    EXPECT_EQ(ChooseSettingsFolder(facts), "/home/hana/.config/vantorel");
    facts.xdgConfigHome = "/tmp/cfg";
    EXPECT_EQ(ChooseSettingsFolder(facts), "/tmp/cfg/vantorel");
}

TEST(SettingsFolder, IgnoresARelativeXdgConfigHome) {
    EXPECT_EQ(XdgConfigFolder("relative/cfg", "/home/hana"), "/home/hana/.config");
    EXPECT_EQ(XdgConfigFolder("", "/"), "/.config");
    EXPECT_EQ(XdgConfigFolder("/x", "/home/hana"), "/x");
}

class TempFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = vantorel::testing::MakeUniqueFolder(
            std::string("vantorel-posix-") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override {
        fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(root_);
    }
    fs::path root_;
};

TEST_F(TempFolder, MakeFoldersCreatesMissingParentsPrivately) {
    const fs::path target = root_ / "a" / "b" / "vantorel";
    ASSERT_TRUE(MakeFolders(target.string()));
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_TRUE(MakeFolders(target.string())) << "an existing folder is fine";
}

TEST_F(TempFolder, MakeFoldersFailsOnAFileInTheWay) {
    std::ofstream(root_ / "file") << "x";
    EXPECT_FALSE(MakeFolders((root_ / "file").string()));
    EXPECT_FALSE(MakeFolders((root_ / "file" / "below").string()));
}

TEST_F(TempFolder, TheProbeCreatesAFileAndLeavesNothingBehind) {
    EXPECT_TRUE(GatherSettingsFolderFacts(root_.string()).exeFolderWritable);
    EXPECT_TRUE(fs::is_empty(root_)) << "the probe file is removed again";
    EXPECT_FALSE(CanCreateFileIn((root_ / "missing").string()));
    std::ofstream(root_ / "file") << "x";
    EXPECT_FALSE(CanCreateFileIn((root_ / "file").string())) << "a file is no folder";
}

// A writable settings file in a folder where no new file can be created
// (every save needs one) does not keep the settings there.
TEST_F(TempFolder, AWritableSettingsFileInAReadOnlyFolderIsNotEnough) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root creates files everywhere";
    }
    std::ofstream(root_ / "vantorel.ini") << "[USERINFO]\r\n";
    fs::permissions(root_, fs::perms::owner_read | fs::perms::owner_exec,
                    fs::perm_options::replace);
    const SettingsFolderFacts facts = GatherSettingsFolderFacts(root_.string());
    EXPECT_FALSE(facts.exeFolderWritable);
    EXPECT_NE(ChooseSettingsFolder(facts), root_.string());
}

TEST_F(TempFolder, FileSystemCreatesOneFolderAndSeesWhatExists) {
    PosixFileSystem files;
    const std::string save = (root_ / "save").string();
    EXPECT_FALSE(files.exists(save));
    EXPECT_TRUE(files.createFolder(save));
    EXPECT_TRUE(files.exists(save));
    EXPECT_FALSE(files.createFolder(save)) << "already there";
    EXPECT_FALSE(files.createFolder((root_ / "no" / "save").string())) << "missing parent";
}

TEST(PosixAppInfo, NamesTheProgramAndItsVersion) {
    PosixAppInfo app;
    EXPECT_EQ(app.title(), "Vantorel");
    EXPECT_EQ(app.version().major, 1);
    EXPECT_EQ(app.version().minor, 3);
    EXPECT_EQ(app.version().revision, 5);
    EXPECT_EQ(app.pathSeparator(), '/');
    EXPECT_EQ(app.exeName(), "vantorel_tests");
    EXPECT_EQ(app.path(), app.path()) << "chosen once";
}

}  // namespace
}  // namespace vantorel::posix
