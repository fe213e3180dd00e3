#include "platform/posix/XdgAutostart.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "fake/UniqueFolder.h"

namespace vantorel::posix {
namespace {

namespace fs = std::filesystem;

TEST(XdgAutostartText, TheEntryLivesInTheAutostartFolderOfTheConfigurationFolder) {
    EXPECT_EQ(AutostartEntryPath("/tmp/cfg", "/home/hana"), "/tmp/cfg/autostart/vantorel.desktop");
    EXPECT_EQ(AutostartEntryPath("", "/home/hana"),
              "/home/hana/.config/autostart/vantorel.desktop");
    // A relative $XDG_CONFIG_HOME is ignored, as the XDG rule says.
    EXPECT_EQ(AutostartEntryPath("cfg", "/home/hana"),
              "/home/hana/.config/autostart/vantorel.desktop");
}

TEST(XdgAutostartText, APlainPathStandsAsItIsAndOthersAreQuotedAndEscaped) {
    EXPECT_EQ(DesktopExecValue("/usr/local/bin/vantorel"), "/usr/local/bin/vantorel");
    EXPECT_EQ(DesktopExecValue("/home/hana/My Apps/vantorel"), "\"/home/hana/My Apps/vantorel\"");
    // "%" is doubled (field codes); "$" and the quote take a backslash inside
    // the quotes, and every backslash is then escaped once more for the file.
    EXPECT_EQ(DesktopExecValue("/opt/100%/vantorel"), "/opt/100%%/vantorel");
    EXPECT_EQ(DesktopExecValue("/opt/$HOME/\"v\""), "\"/opt/\\\\$HOME/\\\\\"v\\\\\"\"");
    EXPECT_EQ(DesktopExecValue("/opt/a\\b"), "\"/opt/a\\\\\\\\b\"");
}

TEST(XdgAutostartText, EveryPathComesBackFromItsOwnEntryAndNoOtherPathDoes) {
    const char* paths[] = {
        "/usr/bin/vantorel",
        "/home/hana/My Apps/vantorel",
        "/opt/100%/v",
        "/opt/a\\b/v",
        "/opt/$x/`y`/\"z\"",
        "/opt/tab\there/v",
        "/opt/new\nline/v",
        "/opt/semi;colon&(x)/v",
        "/opt/日本語 フォルダ/vantorel",
        "/opt/%%u/v",
        "/opt/'single'/v",
    };
    for (const char* path : paths) {
        const std::string entry = AutostartEntryText(path);
        EXPECT_TRUE(EntryStarts(entry, path)) << path << "\n" << entry;
        EXPECT_FALSE(EntryStarts(entry, std::string(path) + "x")) << path;
        EXPECT_FALSE(EntryStarts(entry, "/usr/bin/other")) << path;
        // One line per key: a new line in the path must not split the entry.
        std::istringstream lines(entry);
        std::string line;
        int execLines = 0;
        while (std::getline(lines, line)) {
            execLines += line.rfind("Exec=", 0) == 0 ? 1 : 0;
            EXPECT_TRUE(line.empty() || line.front() == '[' || line.find('=') != std::string::npos)
                << path << ": " << line;
        }
        EXPECT_EQ(execLines, 1) << path;
    }
}

TEST(XdgAutostartText, AnEntryThatIsSwitchedOffOrNamesAnotherProgramDoesNotStartUs) {
    const std::string exe = "/usr/bin/vantorel";
    const std::string head = "[Desktop Entry]\nType=Application\n";
    EXPECT_TRUE(EntryStarts(head + "Exec=/usr/bin/vantorel --quiet\n", exe));
    EXPECT_TRUE(EntryStarts(head + "Exec = \"/usr/bin/vantorel\"\r\n", exe));
    EXPECT_FALSE(EntryStarts(head + "Exec=/usr/bin/vantorel\nHidden=true\n", exe));
    EXPECT_FALSE(
        EntryStarts(head + "Exec=/usr/bin/vantorel\nX-GNOME-Autostart-enabled=false\n", exe));
    EXPECT_FALSE(EntryStarts(head + "Exec=vantorel\n", exe));
    EXPECT_FALSE(EntryStarts(head + "Exec=\"/usr/bin/vantorel\n", exe));  // quote left open
    EXPECT_FALSE(EntryStarts(head, exe));
    // Only the "Desktop Entry" group counts.
    EXPECT_FALSE(EntryStarts(
        "[Desktop Action x]\nExec=/usr/bin/vantorel\n[Desktop Entry]\nExec=/usr/bin/other\n", exe));
    EXPECT_FALSE(EntryStarts("", ""));
}

class XdgAutostartFile : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = vantorel::testing::MakeUniqueFolder("vantorel-autostart");
        folder_ = root_ / "config" / "autostart";
        entry_ = folder_ / "vantorel.desktop";
    }
    void TearDown() override { fs::remove_all(root_); }

    XdgAutostart autostart(const std::string& exe = kExe) {
        return XdgAutostart(AutostartEntryPath((root_ / "config").string(), "/nonexistent"), exe);
    }
    static std::string Read(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    static void Write(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    static constexpr const char* kExe = "/opt/My Tools/vantorel";
    fs::path root_;
    fs::path folder_;
    fs::path entry_;
};

TEST_F(XdgAutostartFile, AddWritesTheEntryCreatingTheFoldersAndRemoveTakesItAway) {
    auto session = autostart();
    EXPECT_FALSE(session.registered());
    ASSERT_TRUE(session.add().done);
    EXPECT_EQ(Read(entry_),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Vantorel\n"
              "Comment=POP3 着信通知\n"
              "Exec=\"/opt/My Tools/vantorel\"\n"
              "Icon=vantorel\n"
              "Terminal=false\n"
              "X-GNOME-Autostart-enabled=true\n");
    EXPECT_TRUE(session.registered());
    // Adding again rewrites the same entry; no temporary file stays behind.
    ASSERT_TRUE(session.add().done);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);

    ASSERT_TRUE(session.remove().done);
    EXPECT_FALSE(fs::exists(entry_));
    EXPECT_FALSE(session.registered());
    // Nothing left to remove is no failure.
    EXPECT_TRUE(session.remove().done);
}

TEST_F(XdgAutostartFile, OtherProgramsEntriesAreLeftAlone) {
    const std::string mailer = "[Desktop Entry]\nType=Application\nExec=/usr/bin/mailer\n";
    Write(folder_ / "mailer.desktop", mailer);
    auto session = autostart();
    ASSERT_TRUE(session.add().done);
    ASSERT_TRUE(session.remove().done);
    EXPECT_EQ(Read(folder_ / "mailer.desktop"), mailer);
}

TEST_F(XdgAutostartFile, AnEntryOfAnotherCopyIsNotOursToRemoveButAddReplacesIt) {
    const std::string other = "[Desktop Entry]\nType=Application\nExec=/usr/bin/vantorel\n";
    Write(entry_, other);
    auto session = autostart();
    EXPECT_FALSE(session.registered());
    ASSERT_TRUE(session.remove().done);
    EXPECT_EQ(Read(entry_), other);
    ASSERT_TRUE(session.add().done);
    EXPECT_TRUE(session.registered());
    EXPECT_FALSE(autostart("/usr/bin/vantorel").registered());
}

TEST_F(XdgAutostartFile, AnEntrySwitchedOffByTheDesktopIsUnmarkedAndAddSwitchesItOn) {
    Write(entry_, AutostartEntryText(kExe) + "Hidden=true\n");
    auto session = autostart();
    EXPECT_FALSE(session.registered());
    ASSERT_TRUE(session.add().done);
    EXPECT_TRUE(session.registered());
}

TEST_F(XdgAutostartFile, AFailedAddSaysWhereAndLeavesTheOldEntryWhole) {
    // A folder where the entry should be: the rename over it fails, for root too.
    fs::create_directories(entry_ / "inside");
    auto session = autostart();
    const auto outcome = session.add();
    EXPECT_FALSE(outcome.done);
    EXPECT_NE(outcome.problem.find(entry_.string()), std::string::npos) << outcome.problem;
    EXPECT_TRUE(fs::is_directory(entry_ / "inside"));
    // The temporary file went again.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(XdgAutostartFile, AnAutostartFolderThatCannotBeMadeIsAFailureNamingIt) {
    Write(root_ / "config" / "autostart", "a file, not a folder");
    const auto outcome = autostart().add();
    EXPECT_FALSE(outcome.done);
    EXPECT_NE(outcome.problem.find(folder_.string()), std::string::npos) << outcome.problem;
}

TEST_F(XdgAutostartFile, TheRunningProgramsEntryFollowsXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string before = saved != nullptr ? saved : "";
    ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    auto session = XdgAutostart::ForThisProgram();
    if (saved != nullptr) {
        ::setenv("XDG_CONFIG_HOME", before.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
    EXPECT_EQ(session.entryPath(), entry_.string());
    ASSERT_TRUE(session.add().done);
    // The Exec line names this very test program by its absolute path.
    EXPECT_TRUE(EntryStarts(Read(entry_), fs::canonical("/proc/self/exe").string()));
}

}  // namespace
}  // namespace vantorel::posix
