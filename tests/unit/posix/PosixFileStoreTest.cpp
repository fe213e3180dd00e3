// The settings file's store on POSIX: private from the first byte, whole
// replacements, and what a read finds in place of a plain file.

#include "platform/posix/PosixFileStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace vantorel::posix {
namespace {

namespace fs = std::filesystem;
using platform::AsideOutcome;
using platform::ReadOutcome;

class PosixFileStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("vantorel-store-" + std::to_string(getpid()) + "-" +
                                               std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
        file_ = (folder_ / "vantorel.ini").string();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    static mode_t ModeOf(const std::string& path) {
        struct stat info {};
        EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
        return info.st_mode & 07777;
    }
    static std::string BytesOf(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
    std::string file_;
};

// Restores the process's umask at the end of a test.
class Umask {
  public:
    explicit Umask(mode_t mask) : old_(umask(mask)) {}
    ~Umask() { umask(old_); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

  private:
    mode_t old_;
};

TEST_F(PosixFileStoreTest, TheNewFileIsPrivateFromItsCreationWhateverTheUmask) {
    const Umask openToAll(0);
    std::string seen;
    mode_t modeAtCreation = 0;
    PosixFileStore store([&](const std::string& temporary) {
        seen = temporary;
        modeAtCreation = ModeOf(temporary);
    });
    ASSERT_TRUE(store.replaceWhole(file_, "[USERINFO]\r\nPASSWORD=secret\r\n"));
    EXPECT_EQ(fs::path(seen).parent_path(), folder_) << "written beside the file";
    EXPECT_EQ(modeAtCreation, 0600u) << "before a byte of the password went in";
    EXPECT_EQ(ModeOf(file_), 0600u);
    EXPECT_FALSE(fs::exists(seen));
    EXPECT_EQ(BytesOf(file_), "[USERINFO]\r\nPASSWORD=secret\r\n");
}

TEST_F(PosixFileStoreTest, AFailedReplacementLeavesTheOldFileAndNoTemporaryFile) {
    PosixFileStore store;
    std::ofstream(file_) << "old";
    fs::permissions(file_, fs::perms::owner_read);
    EXPECT_FALSE(store.replaceWhole(file_, "new")) << "the user protected the file";
    EXPECT_EQ(BytesOf(file_), "old");

    fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directory(file_ + ".d");
    EXPECT_FALSE(store.replaceWhole(file_ + ".d", "new")) << "a folder is not replaced";
    EXPECT_FALSE(store.replaceWhole((folder_ / "missing" / "x.ini").string(), "new"));
    EXPECT_EQ(EntryCount(), 2u);
}

TEST_F(PosixFileStoreTest, ReadsTellWhatIsThereInsteadOfAPlainFile) {
    PosixFileStore store;
    EXPECT_EQ(store.readWhole(file_, 100).condition.outcome, ReadOutcome::Missing);
    EXPECT_EQ(store.readWhole(file_ + "/below", 100).condition.outcome, ReadOutcome::Missing);

    fs::create_directory(file_);
    EXPECT_EQ(store.readWhole(file_, 100).condition.outcome, ReadOutcome::NotAFile);
    fs::remove(file_);

    // A pipe with no writer would block a plain open for ever.
    ASSERT_EQ(mkfifo(file_.c_str(), 0600), 0);
    EXPECT_EQ(store.readWhole(file_, 100).condition.outcome, ReadOutcome::NotAFile);
    fs::remove(file_);

    std::ofstream(file_) << "0123456789";
    EXPECT_EQ(store.readWhole(file_, 9).condition.outcome, ReadOutcome::TooLarge);
    const platform::FileBytes whole = store.readWhole(file_, 10);
    EXPECT_EQ(whole.condition.outcome, ReadOutcome::Read);
    EXPECT_EQ(whole.bytes, "0123456789");
}

TEST_F(PosixFileStoreTest, KeepingAsideNeverReplacesAnEarlierCopyNorMovesAFolder) {
    PosixFileStore store;
    const std::string aside = file_ + ".unreadable";
    std::ofstream(file_) << "first";
    ASSERT_EQ(store.keepAside(file_, aside), AsideOutcome::Kept);
    ASSERT_TRUE(store.replaceWhole(file_, "second"));
    EXPECT_EQ(BytesOf(aside), "first") << "the kept file is not the replaced one";

    EXPECT_EQ(store.keepAside(file_, aside), AsideOutcome::NameTaken);
    EXPECT_EQ(BytesOf(aside), "first");

    fs::remove(file_);
    fs::create_directory(file_);
    EXPECT_EQ(store.keepAside(file_, file_ + ".folder"), AsideOutcome::Failed);
    EXPECT_TRUE(fs::is_directory(file_));
    EXPECT_FALSE(fs::exists(file_ + ".folder"));
}

}  // namespace
}  // namespace vantorel::posix
