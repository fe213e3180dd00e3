// Writing the settings file: exact bytes on disk, values that read back as
// written, and a file that is never left half-written.

#include "IniTestFolder.h"

namespace vantorel::testing {
namespace {

namespace fs = std::filesystem;
using IniProfileWrite = IniTestFolder;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

TEST_F(IniProfileWrite, JapaneseLabelIsStoredAsShiftJisWithCrLf) {
    const std::string label = "\xE5\xB7\xAE\xE5\x87\xBA\xE4\xBA\xBA\xEF\xBC\x9A";  // 差出人：
    ASSERT_TRUE(write("TITLEBAR", "FROM", label));
    EXPECT_EQ(fileBytes(), "[TITLEBAR]\r\nFROM=\x8D\xB7\x8F\x6F\x90\x6C\x81\x46\r\n");
    EXPECT_EQ(read("titlebar", "From"), label);
}

TEST_F(IniProfileWrite, ValuesReadBackExactlyAsWritten) {
    const std::vector<std::string> values = {" pass ",
                                             "\tlead",
                                             "trail ",
                                             "\"x\"",
                                             "'y'",
                                             "\"",
                                             "'",
                                             "\"half",
                                             "a = b ; c # d",
                                             "",
                                             "  ",
                                             std::string(300, 'p'),
                                             "C:\\Windows\\Media\\chimes.wav"};
    for (const std::string& value : values) {
        ASSERT_TRUE(write("USERINFO", "PASSWORD", value)) << value;
        EXPECT_EQ(read("USERINFO", "PASSWORD"), value);
    }
    ASSERT_TRUE(write("USERINFO", "PASSWORD", " pass "));
    EXPECT_EQ(fileBytes(), "[USERINFO]\r\nPASSWORD=\" pass \"\r\n");
}

TEST_F(IniProfileWrite, RefusesWhatCannotBeStoredAndLeavesTheFileAlone) {
    putFile("[A]\r\nk=old\r\n");
    const std::string before = fileBytes();
    EXPECT_FALSE(write("A", "k", "line\r\nINJECTED=1"));
    EXPECT_FALSE(write("A", "k", "cr\r"));
    EXPECT_FALSE(write("A", "k", "lf\n"));
    EXPECT_FALSE(write("A", "k", std::string("nul\0x", 5)));
    EXPECT_FALSE(write("A", "k", "bad utf-8 \xC3"));
    EXPECT_FALSE(write("A", "k", std::string(IniProfile::kMaxValueBytes + 1, 'v')));
    EXPECT_FALSE(write("", "k", "v"));
    EXPECT_FALSE(write("A]", "k", "v"));
    EXPECT_FALSE(write("A", "", "v"));
    EXPECT_FALSE(write("A", " \t", "v"));
    EXPECT_FALSE(write("A", "k=1", "v"));
    EXPECT_FALSE(write("A", ";k", "v"));
    EXPECT_FALSE(write("A", "[k", "v"));
    EXPECT_FALSE(write("A\nB", "k", "v"));
    EXPECT_EQ(fileBytes(), before);
    EXPECT_TRUE(write("A", "k", std::string(IniProfile::kMaxValueBytes, 'v')));
    EXPECT_EQ(read("A", "k").size(), IniProfile::kMaxValueBytes);
}

TEST_F(IniProfileWrite, NewKeysJoinTheEndOfTheirSectionAndOtherLinesKeepTheirBytes) {
    putFile(
        "; Vantorel settings\r\n"
        "[USERINFO]\r\n"
        "  REMOTEHOST = pop.example.org  \r\n"
        "# the account below\n"
        "USERNAME=me\r\n"
        "odd line without equals\r\n"
        "\r\n"
        "\r\n"
        "[OPTION]\r\n"
        "ZEROCHECK=False");
    ASSERT_TRUE(write("userinfo", "PASSWORD", "secret"));
    ASSERT_TRUE(write("Option", "ONMOUSE", "True"));
    ASSERT_TRUE(write("userinfo", "remotehost", "mail.example.org"));
    ASSERT_TRUE(write("SOUND", "ENABLE", "TRUE"));
    EXPECT_EQ(fileBytes(),
              "; Vantorel settings\r\n"
              "[USERINFO]\r\n"
              "  REMOTEHOST = mail.example.org\r\n"
              "# the account below\n"
              "USERNAME=me\r\n"
              "PASSWORD=secret\r\n"
              "odd line without equals\r\n"
              "\r\n"
              "\r\n"
              "[OPTION]\r\n"
              "ZEROCHECK=False\r\n"
              "ONMOUSE=True\r\n"
              "\r\n"
              "[SOUND]\r\n"
              "ENABLE=TRUE\r\n");
}

TEST_F(IniProfileWrite, DuplicatesAreLeftAsTheyAreAndTheFirstIsChanged) {
    putFile("[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\nonlyLater=4\r\n");
    ASSERT_TRUE(write("A", "k", "new"));
    ASSERT_TRUE(write("A", "onlyLater", "5"));
    EXPECT_EQ(fileBytes(), "[A]\r\nk=new\r\nk=2\r\nonlyLater=5\r\n[a]\r\nk=3\r\nonlyLater=4\r\n");
}

TEST_F(IniProfileWrite, TextShiftJisCannotHoldTurnsTheFileIntoUtf8) {
    putFile("[TITLEBAR]\r\nFROM=\x8D\xB7\x8F\x6F\x90\x6C\r\nbad=\x80\x80\r\n");
    const std::string wave = "/home/jos\xC3\xA9/m\xC3\xBAsica.wav";
    ASSERT_TRUE(write("SOUND", "WAVEPATH", wave));
    EXPECT_EQ(fileBytes(), std::string(kBom) +
                               "[TITLEBAR]\r\nFROM=\xE5\xB7\xAE\xE5\x87\xBA\xE4\xBA\xBA\r\n"
                               "bad=\x80\x80\r\n\r\n[SOUND]\r\nWAVEPATH=" +
                               wave + "\r\n");
    EXPECT_EQ(read("SOUND", "WAVEPATH"), wave);
    EXPECT_EQ(read("TITLEBAR", "FROM"), "\xE5\xB7\xAE\xE5\x87\xBA\xE4\xBA\xBA");
    // Once UTF-8, always UTF-8, even for text Shift-JIS could hold.
    ASSERT_TRUE(write("TITLEBAR", "DATE", "\xE6\x97\xA5\xE4\xBB\x98"));
    EXPECT_TRUE(fileBytes().starts_with(kBom));
    EXPECT_NE(fileBytes().find("\nDATE=\xE6\x97\xA5\xE4\xBB\x98\r\n"), std::string::npos);
    EXPECT_TRUE(write("USERINFO", "USERNAME", "Jos\xC3\xA9"));
    EXPECT_EQ(read("USERINFO", "USERNAME"), "Jos\xC3\xA9");
}

TEST_F(IniProfileWrite, TurningUtf8KeepsAValueWhoseLineHasBytesPastANul) {
    // The value is read up to the NUL; what follows it is not CP932.
    putFile(std::string("[SOUND]\r\nWAVEPATH=C:\\\x8D\xB7.wav\0\xFF\xFFrr\r\n", 34));
    const std::string before = read("SOUND", "WAVEPATH");
    ASSERT_EQ(before, "C:\\\xE5\xB7\xAE.wav");
    ASSERT_TRUE(write("USERINFO", "USERNAME", "Jos\xC3\xA9"));
    EXPECT_TRUE(fileBytes().starts_with(kBom));
    EXPECT_EQ(read("SOUND", "WAVEPATH"), before);
    EXPECT_NE(fileBytes().find(std::string("\0\xFF\xFFrr\r\n", 7)), std::string::npos);
}

TEST_F(IniProfileWrite, AWriteIntoAGarbageFileKeepsEveryByteOfIt) {
    std::string garbage;
    std::mt19937 random(11);
    for (int i = 0; i < 4096; ++i) {
        garbage += static_cast<char>(random());
    }
    garbage += "\r\n" + std::string(100 * 1024, 'x') + "\r\n";
    putFile(garbage);
    ASSERT_TRUE(write("USERINFO", "INTERVAL", "5"));
    EXPECT_EQ(read("USERINFO", "INTERVAL"), "5");
    EXPECT_EQ(fileBytes().substr(0, garbage.size()), garbage);
}

TEST_F(IniProfileWrite, ReplacesTheFileThroughARenameAndLeavesNoTemporaryFile) {
    putFile("[A]\r\nk=1\r\n");
    // A second name for the old file: a write in place would change it too.
    const fs::path witness = folder_ / "witness";
    fs::create_hard_link(file_, witness);
    ASSERT_TRUE(write("A", "k", "2"));
    EXPECT_EQ(profile_.getString("A", "k", "", witness.string()), "1");
    EXPECT_EQ(read("A", "k"), "2");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

TEST_F(IniProfileWrite, ANewFileIsForItsOwnerOnlyAndAnOldFileKeepsItsPermissions) {
    const fs::path probe = folder_ / "probe";
    std::ofstream(probe) << "";
    fs::permissions(probe, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    if (fs::status(probe).permissions() !=
        (fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)) {
        GTEST_SKIP() << "no owner and group permissions on this system (Windows: ACLs)";
    }
    fs::remove(probe);
    ASSERT_TRUE(write("USERINFO", "PASSWORD", "secret"));
    EXPECT_EQ(fs::status(file_).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    const fs::perms shared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file_, shared);
    ASSERT_TRUE(write("USERINFO", "PASSWORD", "other"));
    EXPECT_EQ(fs::status(file_).permissions(), shared);
}

TEST_F(IniProfileWrite, ASymbolicLinkStaysALinkToTheChangedFile) {
    const fs::path real = folder_ / "real.ini";
    std::ofstream(real) << "[A]\r\nk=1\r\n";
    std::error_code error;
    fs::create_symlink(real, file_, error);
    if (error) {
        GTEST_SKIP() << "no symbolic links here: " << error.message();
    }
    ASSERT_TRUE(write("A", "k", "2"));
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(read("A", "k"), "2");
}

TEST_F(IniProfileWrite, FailsWhereTheFileCannotBeWrittenAndChangesNothing) {
    putFile("[A]\r\nk=1\r\n");
    fs::permissions(file_, fs::perms::owner_read);
    EXPECT_FALSE(write("A", "k", "2"));
    EXPECT_EQ(read("A", "k"), "1");

    const std::string inMissingFolder = (folder_ / "missing" / "vantorel.ini").string();
    EXPECT_FALSE(profile_.writeString("A", "k", "v", inMissingFolder));
    const std::string underAFile = file_ + "/vantorel.ini";
    EXPECT_FALSE(profile_.writeString("A", "k", "v", underAFile));
    const std::string aFolder = folder_.string();
    EXPECT_FALSE(profile_.writeString("A", "k", "v", aFolder));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(IniProfileWrite, PathsAreUtf8) {
    const fs::path japanese = folder_ / fs::path(u8"\u8A2D\u5B9A");  // 設定
    fs::create_directory(japanese);
    const std::string path = (folder_.string() + "/\xE8\xA8\xAD\xE5\xAE\x9A/vantorel.ini");
    ASSERT_TRUE(profile_.writeString("A", "k", "v", path));
    EXPECT_TRUE(fs::exists(japanese / "vantorel.ini"));
    EXPECT_EQ(profile_.getString("A", "k", "", path), "v");
}

}  // namespace
}  // namespace vantorel::testing
