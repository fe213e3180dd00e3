// The settings file our store writes is the file the Windows profile
// functions read, and the other way round, with Japanese values: the two
// are byte-compatible in code page 932.

#include <windows.h>

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "platform/FileStore.h"
#include "platform/win32/Cp932Codec.h"
#include "settings/IniProfile.h"

namespace vantorel::win32 {
namespace {

constexpr DWORD kProfileBuffer = 4096;

struct Entry {
    std::string section;
    std::string key;
    std::string value;  // UTF-8
};

const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries{
        {"USERINFO", "REMOTEHOST", "pop.example.jp"},
        {"USERINFO", "PASSWORD", "p@ss;word=1 #x"},
        {"USERINFO", "INTERVAL", "3"},
        {"USERINFO", "TIMER", ""},
        {"TITLEBAR", "FROM", "差出人："},
        {"TITLEBAR", "SUBJECT", "件名 ﾊﾞｰｼﾞｮﾝ"},
        {"SOUND", "WAVEPATH", "C:\\サウンド\\表示.wav"},
        {"OPTION", "TitleCallBack", "True"},
    };
    return entries;
}

class IniDifferential : public ::testing::Test {
  protected:
    // CP932 bytes of a UTF-8 text, for the ANSI calls.
    std::string ansi(const std::string& utf8) { return codec_.utf8ToCp932(utf8).value(); }

    std::string readWithWindows(const Entry& entry, const std::string& path) {
        char buffer[kProfileBuffer] = {};
        GetPrivateProfileStringA(ansi(entry.section).c_str(), ansi(entry.key).c_str(), "<missing>",
                                 buffer, kProfileBuffer, ansi(path).c_str());
        return codec_.cp932ToUtf8(buffer);
    }

    bool writeWithWindows(const Entry& entry, const std::string& path) {
        return WritePrivateProfileStringA(ansi(entry.section).c_str(), ansi(entry.key).c_str(),
                                          ansi(entry.value).c_str(), ansi(path).c_str()) != FALSE;
    }

    Cp932Codec codec_;
    std::unique_ptr<platform::FileStore> files_ = platform::MakeFileStore();
    IniProfile store_{codec_, *files_};
    test::TempFolder folder_;
};

TEST_F(IniDifferential, WhatOurStoreWritesReadsTheSameThroughTheProfileFunctions) {
    const std::string path = folder_.file("vantorel.ini");
    for (const Entry& entry : Entries()) {
        ASSERT_TRUE(store_.writeString(entry.section, entry.key, entry.value, path)) << entry.key;
    }
    for (const Entry& entry : Entries()) {
        EXPECT_EQ(readWithWindows(entry, path), entry.value) << entry.key;
    }
    // Section and key names in another letter case reach the same entries.
    EXPECT_EQ(readWithWindows({"titlebar", "From", ""}, path), "差出人：");
}

TEST_F(IniDifferential, WhatTheProfileFunctionsWriteReadsTheSameThroughOurStore) {
    const std::string path = folder_.file("VANTOREL.INI");
    for (const Entry& entry : Entries()) {
        ASSERT_TRUE(writeWithWindows(entry, path)) << entry.key;
    }
    for (const Entry& entry : Entries()) {
        EXPECT_EQ(store_.getString(entry.section, entry.key, "<missing>", path), entry.value)
            << entry.key;
    }
    EXPECT_EQ(store_.getString("Titlebar", "from", "<missing>", path), "差出人：");
    EXPECT_EQ(store_.getString("TITLEBAR", "DATE", "Date:", path), "Date:");
}

TEST_F(IniDifferential, AFileChangedByBothSidesKeepsEveryValue) {
    const std::string path = folder_.file("vantorel.ini");
    const auto& entries = Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        if (i % 2 == 0) {
            ASSERT_TRUE(store_.writeString(entry.section, entry.key, entry.value, path));
        } else {
            ASSERT_TRUE(writeWithWindows(entry, path));
        }
    }
    for (const Entry& entry : entries) {
        EXPECT_EQ(readWithWindows(entry, path), entry.value) << entry.key;
        EXPECT_EQ(store_.getString(entry.section, entry.key, "<missing>", path), entry.value)
            << entry.key;
    }
}

}  // namespace
}  // namespace vantorel::win32
