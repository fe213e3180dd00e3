// Around the reads and writes of the settings file: a file that cannot be
// read is never lost to a save, and the temporary files of interrupted
// writes are cleared away at start-up.

#include <gtest/gtest.h>

#include "IniTestFolder.h"
#include "platform/TemporaryName.h"
#include "settings/IniFile.h"

namespace vantorel::testing {
namespace {

namespace fs = std::filesystem;
using platform::ReadOutcome;

class IniFileCare : public IniTestFolder {
  protected:
    // Larger than the store reads; sparse where the file system allows.
    void putOversizedFile() {
        putFile("[USERINFO]\r\nUSERNAME=old\r\n");
        fs::resize_file(file_, IniProfile::kMaxFileBytes + 1);
    }
    void touch(const std::string& name) { std::ofstream(folder_ / name) << "x"; }
    bool has(const std::string& name) const { return fs::exists(folder_ / name); }
};

TEST_F(IniFileCare, ASaveKeepsAnUnreadableFileBesideTheNewOneAndNeverOverwritesACopy) {
    putOversizedFile();
    EXPECT_EQ(read("USERINFO", "USERNAME"), "<default>");
    ASSERT_TRUE(write("USERINFO", "INTERVAL", "5"));
    EXPECT_EQ(read("USERINFO", "INTERVAL"), "5");
    EXPECT_EQ(fs::file_size(file_ + ".unreadable"), IniProfile::kMaxFileBytes + 1);

    // Once replaced, the file reads again: the next save keeps no copy.
    ASSERT_TRUE(write("USERINFO", "TIMER", "2"));
    EXPECT_FALSE(has("vantorel.ini.unreadable-2"));

    // Broken again on a later run: a copy of its own, the first one kept.
    putOversizedFile();
    ASSERT_TRUE(write("USERINFO", "TIMER", "3"));
    EXPECT_EQ(fs::file_size(file_ + ".unreadable-2"), IniProfile::kMaxFileBytes + 1);
    EXPECT_EQ(fs::file_size(file_ + ".unreadable"), IniProfile::kMaxFileBytes + 1);
    EXPECT_EQ(read("USERINFO", "INTERVAL"), "<default>") << "the new file holds the one key";
    EXPECT_EQ(read("USERINFO", "TIMER"), "3");
}

TEST_F(IniFileCare, SavesThatFailAnywayLeaveNoCopiesBehind) {
    putOversizedFile();
    fs::permissions(file_, fs::perms::owner_read);  // the user protected it
    EXPECT_FALSE(write("USERINFO", "INTERVAL", "5"));
    EXPECT_FALSE(write("USERINFO", "INTERVAL", "6"));
    EXPECT_FALSE(has("vantorel.ini.unreadable"));
    EXPECT_FALSE(has("vantorel.ini.unreadable-2"));
    EXPECT_EQ(fs::file_size(file_), IniProfile::kMaxFileBytes + 1);
    fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(IniFileCare, AFolderInThePlaceOfTheFileStaysAndNothingIsSaved) {
    fs::create_directory(file_);
    EXPECT_FALSE(write("USERINFO", "INTERVAL", "5"));
    EXPECT_TRUE(fs::is_directory(file_));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(IniFileCare, PrepareTellsWhetherTheFileCanBeRead) {
    EXPECT_EQ(profile_.prepare(file_).outcome, ReadOutcome::Missing);
    putFile("[A]\r\nk=v\r\n");
    EXPECT_EQ(profile_.prepare(file_).outcome, ReadOutcome::Read);
    putOversizedFile();
    EXPECT_EQ(profile_.prepare(file_).outcome, ReadOutcome::TooLarge);
    fs::remove(file_);
    fs::create_directory(file_);
    EXPECT_EQ(profile_.prepare(file_).outcome, ReadOutcome::NotAFile);
}

TEST_F(IniFileCare, PrepareRemovesOnlyTheTemporaryFilesOfInterruptedWrites) {
    putFile("[A]\r\nk=v\r\n");
    const std::string ours = platform::TemporaryNameFor("vantorel.ini", 0x0123456789abcdefULL);
    touch(ours);
    touch("vantorel.ini.tmp-0");
    touch("VANTOREL.INI.tmp-ff");  // the same file by its other spelling
    for (const char* other :
         {"vantorel.ini.tmp-", "vantorel.ini.tmp-xyz", "vantorel.ini.tmp-00000000000000000",
          "vantorel.ini.tmp-ABC", "other.ini.tmp-12", "vantorel.ini.unreadable"}) {
        touch(other);
    }
    fs::create_directory(folder_ / "vantorel.ini.tmp-1");

    EXPECT_EQ(profile_.prepare(file_).outcome, ReadOutcome::Read);
    EXPECT_FALSE(has(ours));
    EXPECT_FALSE(has("vantorel.ini.tmp-0"));
    EXPECT_FALSE(has("VANTOREL.INI.tmp-ff"));
    for (const char* other :
         {"vantorel.ini.tmp-", "vantorel.ini.tmp-xyz", "vantorel.ini.tmp-00000000000000000",
          "vantorel.ini.tmp-ABC", "other.ini.tmp-12", "vantorel.ini.unreadable",
          "vantorel.ini.tmp-1"}) {
        EXPECT_TRUE(has(other)) << other;
    }
    EXPECT_EQ(read("A", "k"), "v");
}

}  // namespace
}  // namespace vantorel::testing
